// File > Save and File > Open: the solution path to and from "solfile.puz".
#include "solver_frame.h"

#include "status_texts.h"

void CSolverFrame::OnFileOpen()
{
    CClientDC dc(this);
    m_nSolutionSteps = m_search.LoadSolution(&dc);
    if (m_nSolutionSteps >= 1) {
        dc.TextOut(kStatusX, kStatusY, kTextFileRetrieved);
        m_nShownStep = -1; // the replay starts again from the start position
    } else {
        dc.TextOut(kStatusX, kStatusY, kTextFileNotRetrieved);
    }
}

void CSolverFrame::OnFileSave()
{
    CClientDC dc(this);
    const bool saved = m_search.SaveSolution(&dc) >= 1;
    dc.TextOut(kStatusX, kStatusY, saved ? kTextFileSaved : kTextFileNotSaved);
}
