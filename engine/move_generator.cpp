// The move generator: from each empty cell, look at its four neighbours and slide the
// block there into it. Slot = (0 for the first empty cell, 4 for the second) + side.
#include "board_search.h"

#include <memory>

namespace {

enum Side { kAbove = 0, kBelow = 1, kLeft = 2, kRight = 3 };

// Reads and rewrites cells by row and column; a cell outside the tray reads as no code,
// so a rule that needs it fails rather than wrapping into another row.
class Cells {
public:
    explicit Cells(Board& board) : m_board(board) {}
    char At(int row, int column) const
    {
        if (row < 0 || row >= kRows || column < 0 || column >= kColumns)
            return '\0';
        return m_board[static_cast<std::size_t>(CellIndex(row, column))];
    }
    void Set(int row, int column, char code)
    {
        if (row >= 0 && row < kRows && column >= 0 && column < kColumns)
            m_board[static_cast<std::size_t>(CellIndex(row, column))] = code;
    }

private:
    Board& m_board;
};

// Applies the rule for the block seen on `side` of the empty cell (i, j) to `board`.
// Returns false when no rule applies or its further cells do not hold what it needs.
bool ApplyMove(Board& board, int i, int j, Side side)
{
    Cells c(board);
    switch (side) {
    case kAbove:
        switch (c.At(i - 1, j)) {
        case kSmall: // 1x1 down
            c.Set(i, j, kSmall), c.Set(i - 1, j, kEmpty);
            return true;
        case kTallBottom: // tall block down
            c.Set(i, j, kTallBottom), c.Set(i - 1, j, kTallTop), c.Set(i - 2, j, kEmpty);
            return true;
        case kBigOther: // 2x2 down, seen from the left cell of the empty pair under it
            if (c.At(i - 1, j + 1) != kBigOther || c.At(i, j + 1) != kEmpty)
                return false;
            c.Set(i, j, kBigOther), c.Set(i, j + 1, kBigOther);
            c.Set(i - 1, j, kBigTopLeft), c.Set(i - 1, j + 1, kBigOther);
            c.Set(i - 2, j, kEmpty), c.Set(i - 2, j + 1, kEmpty);
            return true;
        case kWideLeft: // wide block down
            if (c.At(i - 1, j + 1) != kWideRight || c.At(i, j + 1) != kEmpty)
                return false;
            c.Set(i, j, kWideLeft), c.Set(i, j + 1, kWideRight);
            c.Set(i - 1, j, kEmpty), c.Set(i - 1, j + 1, kEmpty);
            return true;
        default:
            return false;
        }
    case kBelow:
        switch (c.At(i + 1, j)) {
        case kSmall: // 1x1 up
            c.Set(i, j, kSmall), c.Set(i + 1, j, kEmpty);
            return true;
        case kTallTop: // tall block up
            c.Set(i, j, kTallTop), c.Set(i + 1, j, kTallBottom), c.Set(i + 2, j, kEmpty);
            return true;
        case kBigTopLeft: // 2x2 up
            if (c.At(i, j + 1) != kEmpty)
                return false;
            c.Set(i, j, kBigTopLeft), c.Set(i, j + 1, kBigOther);
            c.Set(i + 1, j, kBigOther), c.Set(i + 1, j + 1, kBigOther);
            c.Set(i + 2, j, kEmpty), c.Set(i + 2, j + 1, kEmpty);
            return true;
        case kWideLeft: // wide block up
            if (c.At(i, j + 1) != kEmpty)
                return false;
            c.Set(i, j, kWideLeft), c.Set(i, j + 1, kWideRight);
            c.Set(i + 1, j, kEmpty), c.Set(i + 1, j + 1, kEmpty);
            return true;
        default:
            return false;
        }
    case kLeft:
        switch (c.At(i, j - 1)) {
        case kSmall: // 1x1 right
            c.Set(i, j, kSmall), c.Set(i, j - 1, kEmpty);
            return true;
        case kTallTop: // tall block right
            if (c.At(i + 1, j) != kEmpty)
                return false;
            c.Set(i, j, kTallTop), c.Set(i + 1, j, kTallBottom);
            c.Set(i, j - 1, kEmpty), c.Set(i + 1, j - 1, kEmpty);
            return true;
        case kBigOther: // 2x2 right, seen from the upper cell of the empty pair beside it
            if (c.At(i + 1, j - 1) != kBigOther || c.At(i + 1, j) != kEmpty)
                return false;
            c.Set(i, j, kBigOther), c.Set(i + 1, j, kBigOther);
            c.Set(i, j - 1, kBigTopLeft), c.Set(i + 1, j - 1, kBigOther);
            c.Set(i, j - 2, kEmpty), c.Set(i + 1, j - 2, kEmpty);
            return true;
        case kWideRight: // wide block right
            c.Set(i, j, kWideRight), c.Set(i, j - 1, kWideLeft), c.Set(i, j - 2, kEmpty);
            return true;
        default:
            return false;
        }
    case kRight:
        switch (c.At(i, j + 1)) {
        case kSmall: // 1x1 left
            c.Set(i, j, kSmall), c.Set(i, j + 1, kEmpty);
            return true;
        case kTallTop: // tall block left
            if (c.At(i + 1, j) != kEmpty)
                return false;
            c.Set(i, j, kTallTop), c.Set(i + 1, j, kTallBottom);
            c.Set(i, j + 1, kEmpty), c.Set(i + 1, j + 1, kEmpty);
            return true;
        case kBigTopLeft: // 2x2 left
            if (c.At(i + 1, j) != kEmpty)
                return false;
            c.Set(i, j, kBigTopLeft), c.Set(i + 1, j, kBigOther);
            c.Set(i, j + 1, kBigOther), c.Set(i + 1, j + 1, kBigOther);
            c.Set(i, j + 2, kEmpty), c.Set(i + 1, j + 2, kEmpty);
            return true;
        case kWideLeft: // wide block left
            c.Set(i, j, kWideLeft), c.Set(i, j + 1, kWideRight), c.Set(i, j + 2, kEmpty);
            return true;
        default:
            return false;
        }
    }
    return false;
}

// Which sides of (i, j) lie inside the tray.
bool SideInTray(int i, int j, Side side)
{
    switch (side) {
    case kAbove: return i - 1 >= 0;
    case kBelow: return i + 1 <= kRows - 1;
    case kLeft: return j - 1 >= 0;
    case kRight: return j + 1 <= kColumns - 1;
    }
    return false;
}

} // namespace

void CBoardSearch::ExpandNode(BoardNode* node)
{
    int slotGroup = 0;
    for (int i = 0; i < kRows; ++i) {
        for (int j = 0; j < kColumns; ++j) {
            if (node->cells[static_cast<std::size_t>(CellIndex(i, j))] != kEmpty)
                continue;
            for (Side side : {kAbove, kBelow, kLeft, kRight}) {
                if (!SideInTray(i, j, side))
                    continue;
                Board candidate;
                CopyBoard(candidate, node->cells);
                if (!ApplyMove(candidate, i, j, side) || FindBoard(candidate) == 1)
                    continue;
                auto child = std::make_unique<BoardNode>();
                child->parent = node;
                CopyBoard(child->cells, candidate);
                // Near the end of the store, moves that would not fit are dropped.
                if (!AddNode(child.get()))
                    continue;
                node->children[static_cast<std::size_t>(slotGroup + side)] = child.release();
            }
            slotGroup = 4;
        }
    }
}
