// The main window: creation, command table, menu item states and repaint.
#include "solver_frame.h"

#include "main_frame_menu.h"
#include "resource.h"
#include "status_texts.h"

CSolverFrame::CSolverFrame()
{
    Create(nullptr, "Puzzle Solver", WS_OVERLAPPEDWINDOW, CRect(20, 30, 640, 480), nullptr, MainFrameMenu());
    CenterWindow();
    SetInitialFields();
}

void CSolverFrame::SetInitialFields()
{
    m_nSolutionSteps = 0;
    m_nExpanded = 0;
    m_nShownStep = -1;
    m_bTimerActive = 0;
    m_nSearchInterval = 1;
    m_nReplayInterval = 200;
}

const MessageMap& CSolverFrame::GetMessageMap() const
{
    static const MessageMap map{
        &CFrameWnd::GetMessageMap(),
        {
            on::MenuSelect(&CSolverFrame::OnMenuSelect),
            on::Paint(&CSolverFrame::OnPaint),
            on::Command(ID_FILE_STOP, &CSolverFrame::OnFileStop),
            on::Command(ID_FILE_START, &CSolverFrame::OnFileStart),
            on::Command(ID_FILE_STEP, &CSolverFrame::OnFileStep),
            on::Command(ID_FILE_SAVE, &CSolverFrame::OnFileSave),
            on::Command(ID_FILE_OPEN, &CSolverFrame::OnFileOpen),
            on::Command(ID_FILE_RESET, &CSolverFrame::OnFileReset),
            on::Command(ID_FILE_SHOWSOLUTION, &CSolverFrame::OnFileShowsolution),
            on::UpdateCommandUI(ID_FILE_SHOWSOLUTION, &CSolverFrame::OnUpdateFileShowsolution),
            on::UpdateCommandUI(ID_FILE_SAVE, &CSolverFrame::OnUpdateFileSave),
            on::LButtonDown(&CSolverFrame::OnLButtonDown),
            on::RButtonDown(&CSolverFrame::OnRButtonDown),
            on::Timer(&CSolverFrame::OnTimer),
        }};
    return map;
}

void CSolverFrame::OnPaint()
{
    CPaintDC dc(this);
    WritePaintText(dc);
}

void CSolverFrame::WritePaintText(CDC& dc)
{
    dc.TextOut(kStatusX, kStatusY, m_search.IsDone() ? kTextChooseShowSolution : kTextContinueSolving);
}

void CSolverFrame::OnUpdateFileShowsolution(CCmdUI* cmdUI) { cmdUI->Enable(m_search.IsDone()); }

void CSolverFrame::OnUpdateFileSave(CCmdUI* cmdUI) { cmdUI->Enable(m_search.IsDone()); }
