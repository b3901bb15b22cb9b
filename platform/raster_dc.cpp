// Image-backed drawing surface with exact device-context pixel rules.
#include "raster_dc.h"

#include "text_font.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

CRasterDC::CRasterDC(QImage& image) : m_image(image) {}

CRasterDC::~CRasterDC() = default;

void CRasterDC::FillPixels(CRect rect, COLORREF colour)
{
    rect.left = std::max(rect.left, 0);
    rect.top = std::max(rect.top, 0);
    rect.right = std::min(rect.right, m_image.width());
    rect.bottom = std::min(rect.bottom, m_image.height());
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return;
    const QRgb pixel = qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
    for (int y = rect.top; y < rect.bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        std::fill(line + rect.left, line + rect.right, pixel);
    }
}

void CRasterDC::MarkDirty(const CRect& rect)
{
    CRect clipped(std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, m_image.width()),
                  std::min(rect.bottom, m_image.height()));
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom)
        return;
    if (m_dirty.Width() <= 0 || m_dirty.Height() <= 0) {
        m_dirty = clipped;
        return;
    }
    m_dirty = CRect(std::min(m_dirty.left, clipped.left), std::min(m_dirty.top, clipped.top),
                    std::max(m_dirty.right, clipped.right), std::max(m_dirty.bottom, clipped.bottom));
}

// A one-pixel pen frame on the rectangle's own edge, the brush inside it: the figure
// covers exactly left..right-1 by top..bottom-1 (a plain QPainter::drawRect would spill
// one pixel further right and down).
void CRasterDC::DrawRectangle(const CRect& rect, COLORREF outline, COLORREF fill)
{
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    FillPixels(rect, outline);
    FillPixels(CRect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1), fill);
    MarkDirty(rect);
}

// Black text on an opaque white box as tall as a line and as wide as the text, every
// blank counted at the font's blank width (Qt widens only the blanks between words).
void CRasterDC::DrawText(int x, int y, std::string_view text)
{
    if (!m_textPainter) {
        m_textPainter = std::make_unique<QPainter>(&m_image);
        m_textPainter->setFont(TextFont());
        m_textPainter->setPen(Qt::black);
    }
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFont& font = m_textPainter->font();
    const QFontMetrics metrics(font);
    qsizetype visible = qtext.size();
    while (visible > 0 && qtext[visible - 1] == QLatin1Char(' '))
        --visible;
    const int blankWidth = metrics.horizontalAdvance(QLatin1Char(' ')) + qRound(font.wordSpacing());
    const int width = metrics.horizontalAdvance(qtext.left(visible)) + static_cast<int>(qtext.size() - visible) * blankWidth;
    const CRect box(x, y, x + width, y + metrics.height());
    FillPixels(box, kWindowColour);
    m_textPainter->drawText(QPoint(x, y + metrics.ascent()), qtext);
    MarkDirty(box);
}
