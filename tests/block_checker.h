// An independent check of moves, written from the blocks' shapes rather than from
// the generator's per-side rules: a Board is parsed into blocks, and two Boards are
// one move apart when exactly one block differs and it stands one cell away.
#pragma once

#include "board.h"

#include <optional>
#include <set>
#include <tuple>

struct Block {
    char shape; // code of its top-left cell: '1', '2', '4' or '6'
    int row;
    int column;
    auto operator<=>(const Block&) const = default;
};

// The blocks of a well-formed Board, or nothing when a cell does not belong to a
// complete block of its shape.
std::optional<std::multiset<Block>> ParseBlocks(const Board& board);

bool IsOneLegalMove(const Board& from, const Board& to);

int CountEmpty(const Board& board);

// Every Board one move away, worked out block by block.
std::set<Board> NeighboursByBlocks(const Board& board);
