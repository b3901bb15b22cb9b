// Reaches into the engine's arrays where a test must set up states that the
// built-in layout never reaches (a nearly full store, an empty queue).
#pragma once

#include "board_search.h"

#include <memory>

class CBoardSearchTestAccess {
public:
    static void SetHead(CBoardSearch& s, std::int32_t head) { s.m_nHead = head; }
    static BoardNode* MutableNode(CBoardSearch& s, std::int32_t i) { return s.m_nodes[static_cast<std::size_t>(i)]; }
    // Makes the root hold another Board, as if the search had started from it.
    static void SetRootBoard(CBoardSearch& s, const Board& board)
    {
        s.m_nodes[0]->cells = board;
        s.StoreKey(s.m_nodes[0]);
        s.m_hashed.fill(nullptr);
        s.HashInsert(s.m_nodes[0]);
    }
    static std::int32_t RawPathSteps(const CBoardSearch& s) { return s.m_nPathSteps; }
};

// The engine is large (two 40100-entry arrays): tests keep it on the heap.
inline std::unique_ptr<CBoardSearch> MakeEngine() { return std::make_unique<CBoardSearch>(); }

// Runs Step until the engine reports done; returns the last Step's result.
std::int32_t RunSearchToEnd(CBoardSearch& search);

// Board from five row strings, for readable fixtures.
Board MakeBoard(const char* row0, const char* row1, const char* row2, const char* row3, const char* row4);

extern const Board kStart;

// A Board that no move reaches and that sorts after every reachable one ('7' can never
// stand in column 0), distinct for each n below 8^19.
Board FillerBoard(std::int32_t n);
