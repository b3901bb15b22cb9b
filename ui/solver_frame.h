// The main window: embeds the search engine, routes the menu, the mouse and the two
// timers to the handlers that run the search and replay its solution.
#pragma once

#include "board_search.h"
#include "client_dc.h"
#include "window.h"

class CSolverFrame : public CFrameWnd {
public:
    CSolverFrame();
    ~CSolverFrame() override = default;

protected:
    const MessageMap& GetMessageMap() const override;

    void OnMenuSelect(UINT itemId, UINT flags, HMENU menu);
    void OnPaint();
    void OnFileStop();
    void OnFileStart();
    void OnFileStep();
    void OnFileSave();
    void OnFileOpen();
    void OnFileReset();
    void OnFileShowsolution();
    void OnUpdateFileShowsolution(CCmdUI* cmdUI);
    void OnUpdateFileSave(CCmdUI* cmdUI);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnTimer(UINT_PTR timerId);

private:
    // The fields as a new window has them, and as Reset leaves them.
    void SetInitialFields();
    // The status text a repaint writes, also written when a replay ends.
    void WritePaintText(CDC& dc);
    // One search step with its counter; ends the search when the engine is done.
    void SearchStep(CDC& dc);
    void FinishSearch(CDC& dc);
    void StopModeTimer();
    void ShowStepWithNumber(CDC& dc);

    std::int32_t m_bTimerActive = 0;
    CBoardSearch m_search;
    std::int32_t m_nSolutionSteps = 0;
    std::int32_t m_nExpanded = 0;
    std::int32_t m_nShownStep = -1;
    std::int32_t m_nSearchInterval = 1;
    std::int32_t m_nReplayInterval = 200;

    friend class CSolverFrameTestAccess;
};
