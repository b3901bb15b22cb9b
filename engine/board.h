// One position of the 5x4 tray and the heap record that stores it in the search.
#pragma once

#include <array>
#include <cstdint>

constexpr int kRows = 5;
constexpr int kColumns = 4;
constexpr int kCells = kRows * kColumns;

// Cell codes.
constexpr char kEmpty = '0';
constexpr char kSmall = '1';     // a 1x1 block
constexpr char kTallTop = '2';   // upper cell of a 1-wide, 2-tall block
constexpr char kTallBottom = '3';
constexpr char kBigTopLeft = '4'; // upper-left cell of the 2x2 block
constexpr char kBigOther = '5';   // its other three cells
constexpr char kWideLeft = '6';   // left cell of a 2-wide, 1-tall block
constexpr char kWideRight = '7';

// The 20 cell codes, row after row: row i, column j is element i*4+j. No terminator.
using Board = std::array<char, kCells>;

constexpr int CellIndex(int row, int column) { return row * kColumns + column; }

// The goal: the 2x2 block's upper-left cell in row 3, column 1.
constexpr int kGoalCell = CellIndex(3, 1);

constexpr int kChildSlots = 8;

struct BoardNode {
    Board cells{};
    BoardNode* parent = nullptr;
    std::array<BoardNode*, kChildSlots> children{}; // slot meaning: see the move generator
    std::int32_t serial = 0;                        // index in the creation-order array
};
