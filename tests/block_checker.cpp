#include "block_checker.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iterator>
#include <vector>

namespace {

struct Shape {
    char code;
    int height;
    int width;
    std::array<char, 4> cells; // row-major codes of the block's cells
};

constexpr std::array<Shape, 4> kShapes = {{
    {'1', 1, 1, {'1'}},
    {'2', 2, 1, {'2', '3'}},
    {'4', 2, 2, {'4', '5', '5', '5'}},
    {'6', 1, 2, {'6', '7'}},
}};

} // namespace

std::optional<std::multiset<Block>> ParseBlocks(const Board& board)
{
    std::array<bool, kCells> covered{};
    std::multiset<Block> blocks;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const char code = board[static_cast<std::size_t>(r * kColumns + c)];
            for (const Shape& shape : kShapes) {
                if (code != shape.code)
                    continue;
                if (r + shape.height > kRows || c + shape.width > kColumns)
                    return std::nullopt;
                for (int dr = 0; dr < shape.height; ++dr) {
                    for (int dc = 0; dc < shape.width; ++dc) {
                        const int at = (r + dr) * kColumns + (c + dc);
                        if (board[static_cast<std::size_t>(at)] != shape.cells[static_cast<std::size_t>(dr * shape.width + dc)] ||
                            covered[static_cast<std::size_t>(at)])
                            return std::nullopt;
                        covered[static_cast<std::size_t>(at)] = true;
                    }
                }
                blocks.insert({code, r, c});
            }
        }
    }
    for (int at = 0; at < kCells; ++at)
        if (!covered[static_cast<std::size_t>(at)] && board[static_cast<std::size_t>(at)] != '0')
            return std::nullopt;
    return blocks;
}

bool IsOneLegalMove(const Board& from, const Board& to)
{
    const auto before = ParseBlocks(from);
    const auto after = ParseBlocks(to);
    if (!before || !after)
        return false;
    std::vector<Block> gone;
    std::vector<Block> came;
    std::set_difference(before->begin(), before->end(), after->begin(), after->end(), std::back_inserter(gone));
    std::set_difference(after->begin(), after->end(), before->begin(), before->end(), std::back_inserter(came));
    if (gone.size() != 1 || came.size() != 1 || gone[0].shape != came[0].shape)
        return false;
    const int distance = std::abs(gone[0].row - came[0].row) + std::abs(gone[0].column - came[0].column);
    return distance == 1;
}

int CountEmpty(const Board& board)
{
    int empty = 0;
    for (char code : board)
        empty += code == '0' ? 1 : 0;
    return empty;
}

namespace {

const Shape& ShapeOf(char code)
{
    for (const Shape& shape : kShapes)
        if (shape.code == code)
            return shape;
    return kShapes[0];
}

Board Render(const std::multiset<Block>& blocks)
{
    Board board;
    board.fill('0');
    for (const Block& block : blocks) {
        const Shape& shape = ShapeOf(block.shape);
        for (int dr = 0; dr < shape.height; ++dr)
            for (int dc = 0; dc < shape.width; ++dc)
                board[static_cast<std::size_t>((block.row + dr) * kColumns + block.column + dc)] =
                    shape.cells[static_cast<std::size_t>(dr * shape.width + dc)];
    }
    return board;
}

} // namespace

std::set<Board> NeighboursByBlocks(const Board& board)
{
    std::set<Board> out;
    const auto blocks = ParseBlocks(board);
    if (!blocks)
        return out;
    const int directions[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (auto it = blocks->begin(); it != blocks->end(); ++it) {
        const Shape& shape = ShapeOf(it->shape);
        for (const auto& d : directions) {
            const Block moved{it->shape, it->row + d[0], it->column + d[1]};
            if (moved.row < 0 || moved.column < 0 || moved.row + shape.height > kRows ||
                moved.column + shape.width > kColumns)
                continue;
            std::multiset<Block> others = *blocks;
            others.erase(others.find(*it));
            const Board rest = Render(others);
            bool free = true;
            for (int dr = 0; dr < shape.height; ++dr)
                for (int dc = 0; dc < shape.width; ++dc)
                    free = free && rest[static_cast<std::size_t>((moved.row + dr) * kColumns + moved.column + dc)] == '0';
            if (!free)
                continue;
            others.insert(moved);
            out.insert(Render(others));
        }
    }
    return out;
}
