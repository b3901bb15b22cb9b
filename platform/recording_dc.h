// A drawing surface that keeps a log of what was drawn instead of pixels:
// tests read the log, benchmarks use it with logging off as a surface that discards.
#pragma once

#include "gdi.h"

#include <string>
#include <vector>

class CRecordingDC : public CDC {
public:
    struct DrawnRectangle {
        CRect rect;
        COLORREF fill;
    };
    struct DrawnText {
        int x;
        int y;
        std::string text;
    };
    struct Call {
        enum Kind { SelectBrush, Rectangle, Text } kind;
        COLORREF colour = 0;
        CRect rect;
        int x = 0;
        int y = 0;
        std::string text;
    };

    explicit CRecordingDC(bool keepLog = true) : m_keepLog(keepLog) {}

    const std::vector<Call>& Calls() const { return m_calls; }
    std::vector<DrawnRectangle> Rectangles() const;
    std::vector<DrawnText> Texts() const;
    void Clear() { m_calls.clear(); }

protected:
    void DrawRectangle(const CRect& rect, COLORREF outline, COLORREF fill) override;
    void DrawText(int x, int y, std::string_view text) override;
    void BrushSelected(COLORREF colour) override;

private:
    bool m_keepLog;
    std::vector<Call> m_calls;
};
