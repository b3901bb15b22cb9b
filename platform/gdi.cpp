// Device-independent half of the drawing surface: brush selection and call routing.
#include "gdi.h"

#include <cstdarg>
#include <cstdio>

namespace {

// The stock brush every fresh surface starts with.
CBrush& WhiteStockBrush()
{
    static CBrush brush;
    if (!brush.HasBrush())
        brush.CreateSolidBrush(kWindowColour);
    return brush;
}

} // namespace

BOOL CBrush::CreateSolidBrush(COLORREF colour)
{
    m_colour = colour;
    m_created = true;
    return 1;
}

BOOL CBrush::DeleteObject()
{
    const bool had = m_created;
    m_created = false;
    return had ? 1 : 0;
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    m_text.assign(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(m_text.data(), m_text.size() + 1, format, args);
    va_end(args);
}

CDC::CDC() : m_selected(&WhiteStockBrush()) {}

BOOL CDC::TextOut(int x, int y, const CString& text)
{
    DrawText(x, y, text.str());
    return 1;
}
