// The search engine: every stored position in creation order (the breadth-first
// queue) and in board order (the index of repeats), the limits, one expansion per
// Step, and the rebuilt solution path.
#pragma once

#include "board.h"

#include "gdi.h"

#include <array>
#include <cstdint>

constexpr int kNodeCapacity = 40100;
constexpr int kSoftNodeLimit = 40090;
constexpr int kPathCapacity = 200;
constexpr int kBrushCount = 8;
// Slots of the hash table that answers FindBoard: a power of two well above the node
// capacity, so probe runs stay short even with the store full.
constexpr int kHashSlots = 1 << 16;

class CBoardSearch {
public:
    CBoardSearch();
    ~CBoardSearch();
    CBoardSearch(const CBoardSearch&) = delete;
    CBoardSearch& operator=(const CBoardSearch&) = delete;

    void Reset();
    // One search step: expands the head node, draws it, applies the end test.
    // Returns the head index afterwards.
    std::int32_t Step(CDC* dc);
    std::int32_t IsDone() const { return m_bDone; }
    std::int32_t GetPathSteps() const { return m_bDone == 1 ? m_nPathSteps : -1; }
    std::int32_t ShowPathStep(std::int32_t step, CDC* dc);
    std::int32_t IsFinished(const BoardNode* node);
    std::int32_t BuildPath();

    // Board records.
    void SetStartBoard(BoardNode* node);
    static void CopyBoard(Board& destination, const Board& source);

    // Position index.
    static std::int32_t CompareBoards(const Board& first, const Board& second);
    std::int32_t FindBoard(const Board& board) const;
    // Stores the node at the end of the queue and at its place in board order. Its Board
    // holds only the codes '0' to '7', as every Board from the move generator does.
    // Returns false, storing nothing, when the store is full; the caller keeps the node.
    [[nodiscard]] bool AddNode(BoardNode* node);
    void InsertSorted(BoardNode* node);
    void InsertSortedAt(BoardNode* node, std::int32_t position);

    // Move generator.
    void ExpandNode(BoardNode* node);

    // Solution file.
    std::int32_t SaveSolution(CDC* dc);
    std::int32_t LoadSolution(CDC* dc);

    // Board renderer.
    void DrawBoard(int x, int y, int cellSize, const Board& board, CDC* dc);

    // Read access for the window and for tests.
    std::int32_t Head() const { return m_nHead; }
    std::int32_t Last() const { return m_nLast; }
    const BoardNode* Node(std::int32_t index) const { return m_nodes[static_cast<std::size_t>(index)]; }
    const BoardNode* SortedNode(std::int32_t index) const
    {
        return m_nodes[static_cast<std::size_t>(m_sorted[static_cast<std::size_t>(index)])];
    }
    const Board& PathBoard(std::int32_t index) const { return m_path[static_cast<std::size_t>(index)]; }

private:
    void MakeRoot();
    void HashInsert(BoardNode* node);
    void StoreKey(const BoardNode* node);
    void FreeNodes();
    bool StoreIsFull() const { return m_nLast >= kNodeCapacity - 1; }

    std::int32_t m_nHead = 0;
    std::int32_t m_nLast = 0;
    std::int32_t m_bDone = 0;
    std::array<CBrush, kBrushCount> m_brushes;
    std::array<BoardNode*, kNodeCapacity> m_nodes{};
    // The stored nodes in board order, each named by its entry in m_nodes: half the
    // bytes of a pointer to shift when a node is inserted.
    std::array<std::int32_t, kNodeCapacity> m_sorted{};
    std::int32_t m_nPathSteps = 0;
    std::array<Board, kPathCapacity> m_path{};
    std::uint8_t m_bShowCurrent = 1;
    std::uint8_t m_bShowPrevious = 1;
    std::uint8_t m_bShowPossible = 1;
    // Each stored node's Board packed in board order (3 bits a cell), by entry in m_nodes:
    // insertion compares these integers instead of reading scattered nodes.
    std::array<std::uint64_t, kNodeCapacity> m_keys{};
    // Every stored node again, by hash of its Board: a lookup touches one or two
    // nodes where a binary search of m_sorted misses the cache a dozen times.
    std::array<BoardNode*, kHashSlots> m_hashed{};

    friend class CBoardSearchTestAccess;
};
