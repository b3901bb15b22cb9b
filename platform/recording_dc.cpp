// Log-keeping drawing surface.
#include "recording_dc.h"

std::vector<CRecordingDC::DrawnRectangle> CRecordingDC::Rectangles() const
{
    std::vector<DrawnRectangle> out;
    for (const Call& call : m_calls)
        if (call.kind == Call::Rectangle)
            out.push_back({call.rect, call.colour});
    return out;
}

std::vector<CRecordingDC::DrawnText> CRecordingDC::Texts() const
{
    std::vector<DrawnText> out;
    for (const Call& call : m_calls)
        if (call.kind == Call::Text)
            out.push_back({call.x, call.y, call.text});
    return out;
}

void CRecordingDC::DrawRectangle(const CRect& rect, COLORREF, COLORREF fill)
{
    if (m_keepLog)
        m_calls.push_back({Call::Rectangle, fill, rect, 0, 0, {}});
}

void CRecordingDC::DrawText(int x, int y, std::string_view text)
{
    if (m_keepLog)
        m_calls.push_back({Call::Text, 0, {}, x, y, std::string(text)});
}

void CRecordingDC::BrushSelected(COLORREF colour)
{
    if (m_keepLog)
        m_calls.push_back({Call::SelectBrush, colour, {}, 0, 0, {}});
}
