// The renderer's eight brush colours, in the order the engine declares its brushes,
// and which cell code paints with which.
#pragma once

#include "gdi.h"

#include <array>

inline constexpr std::array<COLORREF, 8> kBrushColours = {
    RGB(255, 255, 0), // '1' 1x1 block: yellow
    RGB(150, 0, 0),   // '4' 2x2 block, upper-left: red
    RGB(0, 150, 0),   // '2' tall block, upper: green
    RGB(100, 100, 100), // '6' wide block, left: grey
    RGB(0, 0, 0),     // '0' empty: black
    RGB(100, 0, 0),   // '5' 2x2 block, other cells: dark red
    RGB(0, 100, 0),   // '3' tall block, lower: dark green
    RGB(50, 50, 50),  // '7' wide block, right: dark grey
};

// Brush index for cell codes '0' to '7'.
inline constexpr std::array<int, 8> kBrushForCode = {4, 0, 2, 6, 1, 5, 3, 7};
