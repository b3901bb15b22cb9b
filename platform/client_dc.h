// Surfaces that draw on a window's client area. Implemented on Qt; this header holds no Qt.
#pragma once

#include "raster_dc.h"
#include "window.h"

// Draws on a window's client area for the length of one handler; what was drawn
// shows on the screen at the screen's pace.
class CClientDC : public CRasterDC {
public:
    explicit CClientDC(CWnd* window);
    ~CClientDC() override;

protected:
    void DrawText(int x, int y, std::string_view text) override;

private:
    CWnd* m_window;
};

// The surface a paint handler draws on; the area was erased to the window colour.
class CPaintDC : public CClientDC {
public:
    explicit CPaintDC(CWnd* window) : CClientDC(window) {}
};
