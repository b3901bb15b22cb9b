// A drawing surface that paints into an image: the window's client area and
// the pixel tests draw through the same code.
#pragma once

#include "gdi.h"

#include <memory>

class QImage;
class QPainter;

class CRasterDC : public CDC {
public:
    // The image must be 32-bit RGB and outlive the surface.
    explicit CRasterDC(QImage& image);
    ~CRasterDC() override;

    // Union of everything drawn so far, clipped to the image; empty when nothing was.
    CRect DirtyRect() const { return m_dirty; }

protected:
    void DrawRectangle(const CRect& rect, COLORREF outline, COLORREF fill) override;
    void DrawText(int x, int y, std::string_view text) override;

private:
    void FillPixels(CRect rect, COLORREF colour);
    void MarkDirty(const CRect& rect);

    QImage& m_image;
    std::unique_ptr<QPainter> m_textPainter; // made on the first text only
    CRect m_dirty;
};
