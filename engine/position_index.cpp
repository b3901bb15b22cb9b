// The index of stored positions: every node again, sorted in board order, so that a
// repeated position is recognised by binary search.
#include "board_search.h"

#include <algorithm>

namespace {

// Board order reads column by column: the k-th cell compared is element (k mod 5)*4 + k/5.
constexpr std::array<int, kCells> kCompareOrder = [] {
    std::array<int, kCells> order{};
    for (int k = 0; k < kCells; ++k)
        order[static_cast<std::size_t>(k)] = (k % kRows) * kColumns + k / kRows;
    return order;
}();

} // namespace

std::int32_t CBoardSearch::CompareBoards(const Board& first, const Board& second)
{
    for (int element : kCompareOrder) {
        const char a = first[static_cast<std::size_t>(element)];
        const char b = second[static_cast<std::size_t>(element)];
        if (a != b)
            return a < b ? -1 : 1;
    }
    return 0;
}

std::int32_t CBoardSearch::FindBoard(const Board& board) const
{
    // Both bounds stay just outside the entries still to look at.
    std::int32_t lower = -1;
    std::int32_t upper = m_nLast + 1;
    while (upper - lower > 1) {
        const std::int32_t middle = lower + (upper - lower) / 2;
        const std::int32_t order = CompareBoards(board, m_sorted[static_cast<std::size_t>(middle)]->cells);
        if (order < 0)
            upper = middle;
        else if (order > 0)
            lower = middle;
        else
            return 1;
    }
    return 0;
}

bool CBoardSearch::AddNode(BoardNode* node)
{
    if (StoreIsFull())
        return false;
    ++m_nLast;
    node->children.fill(nullptr);
    node->serial = m_nLast;
    m_nodes[static_cast<std::size_t>(m_nLast)] = node;
    InsertSorted(node);
    return true;
}

// The node goes before the first stored Board that is greater than its own.
// Boards are never equal here, so the first greater one is found by binary search.
void CBoardSearch::InsertSorted(BoardNode* node)
{
    const auto begin = m_sorted.begin();
    const auto end = begin + m_nLast;
    const auto place = std::upper_bound(begin, end, node, [](const BoardNode* a, const BoardNode* b) {
        return CompareBoards(a->cells, b->cells) < 0;
    });
    InsertSortedAt(node, static_cast<std::int32_t>(place - begin));
}

void CBoardSearch::InsertSortedAt(BoardNode* node, std::int32_t position)
{
    const auto at = m_sorted.begin() + position;
    std::copy_backward(at, m_sorted.begin() + m_nLast, m_sorted.begin() + m_nLast + 1);
    *at = node;
}
