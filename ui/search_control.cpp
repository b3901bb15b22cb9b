// Running the search and the replay: Start, Stop, Step, Show Solution, Reset, the
// mouse buttons, the timer tick, and the halt on any use of the menu.
#include "solver_frame.h"

#include "resource.h"
#include "status_texts.h"

namespace {

CString Formatted(const char* format, int value)
{
    CString text;
    text.Format(format, value);
    return text;
}

} // namespace

void CSolverFrame::SearchStep(CDC& dc)
{
    m_nExpanded = m_search.Step(&dc);
    dc.TextOut(kCounterX, kCounterY, Formatted(kFormatExpanded, m_nExpanded));
    if (m_search.IsDone())
        FinishSearch(dc);
}

void CSolverFrame::FinishSearch(CDC& dc)
{
    KillTimer(ID_TIMER_SEARCH);
    m_bTimerActive = 0;
    dc.TextOut(kStatusX, kStatusY, kTextSolved);
    m_nSolutionSteps = m_search.GetPathSteps();
    dc.TextOut(kResultX, kResultY, Formatted(kFormatSteps, m_nSolutionSteps));
}

void CSolverFrame::ShowStepWithNumber(CDC& dc)
{
    m_search.ShowPathStep(m_nShownStep, &dc);
    dc.TextOut(kStepNumberX, kStepNumberY, Formatted(kFormatStepNumber, m_nShownStep));
}

void CSolverFrame::StopModeTimer()
{
    KillTimer(m_search.IsDone() ? ID_TIMER_REPLAY : ID_TIMER_SEARCH);
    m_bTimerActive = 0;
}

void CSolverFrame::OnFileStart()
{
    if (m_bTimerActive)
        return;
    CClientDC dc(this);
    if (!m_search.IsDone()) {
        SetTimer(ID_TIMER_SEARCH, static_cast<UINT>(m_nSearchInterval), nullptr);
        m_bTimerActive = 1;
        dc.TextOut(kStatusX, kStatusY, kTextSolving);
    } else {
        SetTimer(ID_TIMER_REPLAY, static_cast<UINT>(m_nReplayInterval), nullptr);
        m_bTimerActive = 1;
        dc.TextOut(kStatusX, kStatusY, kTextShowingSolution);
    }
}

void CSolverFrame::OnFileShowsolution() { OnFileStart(); }

void CSolverFrame::OnFileStop()
{
    CClientDC dc(this);
    StopModeTimer();
    dc.TextOut(kStatusX, kStatusY, m_search.IsDone() ? kTextDisplayStopped : kTextSearchStopped);
}

void CSolverFrame::OnMenuSelect(UINT, UINT, HMENU) { OnFileStop(); }

void CSolverFrame::OnFileStep()
{
    CClientDC dc(this);
    if (!m_search.IsDone()) {
        SearchStep(dc);
        return;
    }
    // After the last board the cursor wraps to board 0.
    m_nShownStep = m_nShownStep < m_nSolutionSteps ? m_nShownStep + 1 : 0;
    ShowStepWithNumber(dc);
}

void CSolverFrame::OnTimer(UINT_PTR)
{
    CClientDC dc(this);
    if (!m_search.IsDone()) {
        SearchStep(dc);
        return;
    }
    if (m_nShownStep > m_nSolutionSteps) {
        // The tick after the last board ends the replay; that board stays on the window.
        KillTimer(ID_TIMER_REPLAY);
        m_bTimerActive = 0;
        WritePaintText(dc);
        m_nShownStep = 0;
        return;
    }
    if (m_nShownStep < 0)
        m_nShownStep = 0;
    ShowStepWithNumber(dc);
    ++m_nShownStep;
}

void CSolverFrame::OnLButtonDown(UINT, CPoint)
{
    if (m_bTimerActive) {
        StopModeTimer();
        return;
    }
    if (!m_search.IsDone()) {
        SetTimer(ID_TIMER_SEARCH, static_cast<UINT>(m_nSearchInterval), nullptr);
        m_bTimerActive = 1;
        return;
    }
    // One board back, never below board 0.
    m_nShownStep = m_nShownStep > 0 ? m_nShownStep - 1 : 0;
    CClientDC dc(this);
    ShowStepWithNumber(dc);
}

void CSolverFrame::OnRButtonDown(UINT, CPoint)
{
    if (m_bTimerActive) {
        StopModeTimer();
        return;
    }
    OnFileStep();
}

void CSolverFrame::OnFileReset()
{
    m_search.Reset();
    SetInitialFields();
    KillTimer(ID_TIMER_SEARCH);
    KillTimer(ID_TIMER_REPLAY);
}
