// Drawing surface, brushes, rectangles and strings: the part of the window layer
// that the engine draws through. Plain C++, so the engine builds without Qt.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

using BOOL = int;
using UINT = unsigned int;
using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int red, int green, int blue)
{
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) |
           (static_cast<COLORREF>(blue) << 16);
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr COLORREF kPenColour = RGB(0, 0, 0);
constexpr COLORREF kWindowColour = RGB(255, 255, 255);

struct CPoint {
    int x = 0;
    int y = 0;
};

struct CSize {
    int cx = 0;
    int cy = 0;
};

// Right and bottom lie outside the figure: the rectangle covers left..right-1, top..bottom-1.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    CRect() = default;
    CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    CRect(CPoint topLeft, CSize size)
        : left(topLeft.x), top(topLeft.y), right(topLeft.x + size.cx), bottom(topLeft.y + size.cy) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CRect&) const = default;
};

// A solid brush. Until CreateSolidBrush succeeds it holds no platform brush,
// and selecting it into a surface selects nothing.
class CBrush {
public:
    CBrush() = default;
    ~CBrush() { DeleteObject(); }
    CBrush(const CBrush&) = delete;
    CBrush& operator=(const CBrush&) = delete;

    BOOL CreateSolidBrush(COLORREF colour);
    BOOL DeleteObject();
    bool HasBrush() const { return m_created; }
    COLORREF Colour() const { return m_colour; }

private:
    bool m_created = false;
    COLORREF m_colour = 0;
};

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text) {}
    CString(std::string text) : m_text(std::move(text)) {}

    // printf-style formatting; the text grows to whatever the number needs.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    const std::string& str() const { return m_text; }
    bool operator==(const CString&) const = default;

private:
    std::string m_text;
};

// A drawing surface. Holds what a fresh device context holds: a black one-pixel pen,
// the white stock brush, black text on an opaque white background in the default font.
// Subclasses put pixels somewhere (an image, a log, nowhere).
class CDC {
public:
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Returns the brush selected before, or null when the brush holds no platform
    // brush: then nothing is selected and the current brush stays.
    CBrush* SelectObject(CBrush* brush)
    {
        if (brush == nullptr || !brush->HasBrush())
            return nullptr;
        CBrush* previous = m_selected;
        m_selected = brush;
        BrushSelected(brush->Colour());
        return previous;
    }
    // Outline in the pen, inside in the selected brush.
    BOOL Rectangle(const CRect& rect)
    {
        DrawRectangle(rect, kPenColour, m_selected->Colour());
        return 1;
    }
    BOOL TextOut(int x, int y, const CString& text);

protected:
    CDC();

    virtual void DrawRectangle(const CRect& rect, COLORREF outline, COLORREF fill) = 0;
    virtual void DrawText(int x, int y, std::string_view text) = 0;
    virtual void BrushSelected(COLORREF) {}

private:
    CBrush* m_selected;

    friend class PlatformTestAccess;
};

