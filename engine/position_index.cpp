// The index of stored positions: every node again in board order (m_sorted), and a
// hash table of the same nodes that tells at once whether a position is stored.
#include "board_search.h"

#include <algorithm>
#include <cstring>

namespace {

// Board order reads column by column: the k-th cell compared is element (k mod 5)*4 + k/5.
constexpr std::array<int, kCells> kCompareOrder = [] {
    std::array<int, kCells> order{};
    for (int k = 0; k < kCells; ++k)
        order[static_cast<std::size_t>(k)] = (k % kRows) * kColumns + k / kRows;
    return order;
}();

// Board order as an integer: cells in comparison order, the first one most significant.
// Exact for the codes '0' to '7', which are all a stored Board can hold.
std::uint64_t OrderKey(const Board& board)
{
    std::uint64_t key = 0;
    for (int element : kCompareOrder)
        key = (key << 3) | static_cast<std::uint64_t>((board[static_cast<std::size_t>(element)] - '0') & 7);
    return key;
}

std::size_t HashSlot(const Board& board)
{
    std::uint64_t a, b;
    std::uint32_t c;
    std::memcpy(&a, board.data(), 8);
    std::memcpy(&b, board.data() + 8, 8);
    std::memcpy(&c, board.data() + 16, 4);
    std::uint64_t h = (a * 0x9E3779B97F4A7C15ULL) ^ (b * 0xC2B2AE3D27D4EB4FULL) ^ (c * 0x165667B19E3779F9ULL);
    h ^= h >> 29;
    return static_cast<std::size_t>(h * 0xBF58476D1CE4E5B9ULL >> 48) & (kHashSlots - 1);
}

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

// Answers exactly what a binary search of m_sorted would (is an equal Board stored?),
// through the hash table that holds the same nodes.
std::int32_t CBoardSearch::FindBoard(const Board& board) const
{
    for (std::size_t slot = HashSlot(board);; slot = (slot + 1) & (kHashSlots - 1)) {
        const BoardNode* node = m_hashed[slot];
        if (node == nullptr)
            return 0;
        if (node->cells == board)
            return 1;
    }
}

void CBoardSearch::StoreKey(const BoardNode* node)
{
    m_keys[static_cast<std::size_t>(node->serial)] = OrderKey(node->cells);
}

void CBoardSearch::HashInsert(BoardNode* node)
{
    std::size_t slot = HashSlot(node->cells);
    while (m_hashed[slot] != nullptr)
        slot = (slot + 1) & (kHashSlots - 1);
    m_hashed[slot] = node;
}

bool CBoardSearch::AddNode(BoardNode* node)
{
    if (StoreIsFull())
        return false;
    ++m_nLast;
    node->children.fill(nullptr);
    node->serial = m_nLast;
    m_nodes[static_cast<std::size_t>(m_nLast)] = node;
    StoreKey(node);
    InsertSorted(node);
    HashInsert(node);
    return true;
}

// The node goes before the first stored Board that is greater than its own.
// Boards are never equal here, so the first greater one is found by binary search.
void CBoardSearch::InsertSorted(BoardNode* node)
{
    const auto begin = m_sorted.begin();
    const std::uint64_t key = m_keys[static_cast<std::size_t>(node->serial)];
    const auto place = std::upper_bound(begin, begin + m_nLast, key, [this](std::uint64_t k, std::int32_t entry) {
        return k < m_keys[static_cast<std::size_t>(entry)];
    });
    InsertSortedAt(node, static_cast<std::int32_t>(place - begin));
}

void CBoardSearch::InsertSortedAt(BoardNode* node, std::int32_t position)
{
    const auto at = m_sorted.begin() + position;
    std::copy_backward(at, m_sorted.begin() + m_nLast, m_sorted.begin() + m_nLast + 1);
    *at = node->serial;
}
