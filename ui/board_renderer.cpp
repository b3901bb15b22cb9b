// Draws a Board as a grid of coloured squares, turned on its side: Board row i is
// picture column i, Board column j is picture row j.
#include "board_search.h"

#include "board_colours.h"

void CBoardSearch::DrawBoard(int x, int y, int cellSize, const Board& board, CDC* dc)
{
    for (int j = 0; j < kColumns; ++j) {
        for (int i = 0; i < kRows; ++i) {
            const CRect square(CPoint{x + i * cellSize, y + j * cellSize}, CSize{cellSize, cellSize});
            const char code = board[static_cast<std::size_t>(CellIndex(i, j))];
            // Any other byte keeps whichever brush is selected.
            if (code >= '0' && code <= '7')
                dc->SelectObject(&m_brushes[static_cast<std::size_t>(kBrushForCode[static_cast<std::size_t>(code - '0')])]);
            dc->Rectangle(square);
        }
    }
}
