#include "solver_app.h"

#include "solver_frame.h"

BOOL CSolverApp::InitInstance()
{
    // The window owns the frame from here on and deletes it when it is destroyed.
    auto* frame = new CSolverFrame;
    m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return 1;
}
