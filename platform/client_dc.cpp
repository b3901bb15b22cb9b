// The surfaces that draw on a window's client area for the length of one handler.
#include "client_dc.h"

#include "client_area.h"
#include "frame_widget.h"

namespace {

QImage& TargetImage(CWnd* window)
{
    static QImage nowhere; // a window that is gone: drawing lands nowhere
    return window != nullptr && window->Widget() != nullptr ? window->Widget()->Client()->Image() : nowhere;
}

} // namespace

CClientDC::CClientDC(CWnd* window) : CRasterDC(TargetImage(window)), m_window(window) {}

CClientDC::~CClientDC()
{
    if (m_window == nullptr || m_window->Widget() == nullptr)
        return;
    const CRect dirty = DirtyRect();
    // Also on the way out of a handler that ran out of memory, where scheduling the
    // screen update can fail too: the screen then catches up at the next drawing.
    try {
        m_window->Widget()->Client()->MarkDirty(QRect(dirty.left, dirty.top, dirty.Width(), dirty.Height()));
    } catch (...) {
        // Nothing lost but a screen update.
    }
}

void CClientDC::DrawText(int x, int y, std::string_view text)
{
    CRasterDC::DrawText(x, y, text);
    if (m_window != nullptr && m_window->Widget() != nullptr)
        m_window->Widget()->Client()->TextWritten(x, y, text);
}
