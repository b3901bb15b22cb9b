// The move generator: which positions it stores, in which slots, in which order.
#include "engine_test_access.h"

#include "block_checker.h"
#include "recording_dc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <vector>

namespace {

struct ExpectedChild {
    int slot;
    std::int32_t serial;
    Board board;
};

void ExpectChildren(const BoardNode* node, const std::vector<ExpectedChild>& expected)
{
    std::set<int> filled;
    for (const ExpectedChild& child : expected) {
        const BoardNode* got = node->children[static_cast<std::size_t>(child.slot)];
        ASSERT_NE(got, nullptr) << "slot " << child.slot;
        EXPECT_EQ(got->serial, child.serial) << "slot " << child.slot;
        EXPECT_EQ(got->cells, child.board) << "slot " << child.slot;
        EXPECT_EQ(got->parent, node);
        filled.insert(child.slot);
    }
    for (int slot = 0; slot < kChildSlots; ++slot)
        if (!filled.count(slot)) {
            EXPECT_EQ(node->children[static_cast<std::size_t>(slot)], nullptr) << "slot " << slot;
        }
}

TEST(MoveGeneratorTest, StartLayoutGivesFourNodesInSlotsZeroTwoFourSeven)
{
    auto search = MakeEngine();
    CRecordingDC discard(false);
    search->Step(&discard);
    EXPECT_EQ(search->Last(), 4);
    ExpectChildren(search->Node(0), {
                                        {0, 1, MakeBoard("2452", "3553", "2672", "3013", "1101")},
                                        {2, 2, MakeBoard("2452", "3553", "2672", "3113", "0101")},
                                        {4, 3, MakeBoard("2452", "3553", "2672", "3103", "1011")},
                                        {7, 4, MakeBoard("2452", "3553", "2672", "3113", "1010")},
                                    });
}

TEST(MoveGeneratorTest, NodeOneStoresNoRepeatOfTheStart)
{
    auto search = MakeEngine();
    CRecordingDC discard(false);
    search->Step(&discard);
    search->Step(&discard);
    EXPECT_EQ(search->Last(), 8);
    const BoardNode* node1 = search->Node(1);
    // Empty cells (3,1) then (4,2): from (3,1) only the 1x1 on its right moves left
    // (slot 3); from (4,2) down from above, and from the left and the right.
    ExpectChildren(node1, {
                              {3, 5, MakeBoard("2452", "3553", "2672", "3103", "1101")},
                              {4, 6, MakeBoard("2452", "3553", "2672", "3003", "1111")},
                              {6, 7, MakeBoard("2452", "3553", "2672", "3013", "1011")},
                              {7, 8, MakeBoard("2452", "3553", "2672", "3013", "1110")},
                          });
}

// The slot rule, checked from the two Boards alone: slot g*4+s holds the move of a block
// into the g-th empty cell (in element order) from its side s (above, below, left,
// right), and a move into both empty cells is found from the first.
void ExpectSlotRule(const Board& parent, const Board& child, int slot)
{
    std::vector<int> empties;
    for (int at = 0; at < kCells; ++at)
        if (parent[static_cast<std::size_t>(at)] == '0')
            empties.push_back(at);
    ASSERT_EQ(empties.size(), 2u);
    int filled = 0;
    for (int at : empties)
        filled += child[static_cast<std::size_t>(at)] != '0' ? 1 : 0;
    const int group = slot / 4, side = slot % 4;
    const int target = empties[static_cast<std::size_t>(group)];
    EXPECT_NE(child[static_cast<std::size_t>(target)], '0') << "slot " << slot << " moved into the other empty cell";
    if (filled == 2) {
        EXPECT_EQ(group, 0) << "a move into both empty cells belongs to the first";
    }
    // The block comes from the side: above moves down, below up, left right, right left.
    static constexpr int kRowShift[] = {1, -1, 0, 0}, kColumnShift[] = {0, 0, 1, -1};
    const auto before = ParseBlocks(parent), after = ParseBlocks(child);
    ASSERT_TRUE(before && after);
    std::vector<Block> gone, come;
    std::set_difference(before->begin(), before->end(), after->begin(), after->end(), std::back_inserter(gone));
    std::set_difference(after->begin(), after->end(), before->begin(), before->end(), std::back_inserter(come));
    ASSERT_EQ(gone.size(), 1u);
    ASSERT_EQ(come.size(), 1u);
    EXPECT_EQ(come[0].row - gone[0].row, kRowShift[side]) << "slot " << slot;
    EXPECT_EQ(come[0].column - gone[0].column, kColumnShift[side]) << "slot " << slot;
}

// Every reachable position, expanded in turn: the generator must agree with a
// block-by-block enumeration of moves, and never store a Board twice.
TEST(MoveGeneratorTest, ExhaustiveExpansionReachesEveryPositionOnce)
{
    auto search = MakeEngine();
    for (std::int32_t head = 0; head <= search->Last(); ++head) {
        BoardNode* node = CBoardSearchTestAccess::MutableNode(*search, head);
        const std::int32_t before = search->Last();
        search->ExpandNode(node);
        // New children appear in slot order with consecutive serials.
        std::int32_t serial = before;
        for (int slot = 0; slot < kChildSlots; ++slot) {
            const BoardNode* child = node->children[static_cast<std::size_t>(slot)];
            if (child == nullptr)
                continue;
            ASSERT_EQ(child->serial, ++serial);
            ASSERT_EQ(child->parent, node);
            ExpectSlotRule(node->cells, child->cells, slot);
            if (HasFailure())
                FAIL() << "node " << head << ", slot " << slot;
        }
        ASSERT_EQ(serial, search->Last());
        // Every neighbour of the node is now stored, and nothing else was added.
        for (const Board& neighbour : NeighboursByBlocks(node->cells))
            ASSERT_EQ(search->FindBoard(neighbour), 1) << "missing a move from node " << head;
        for (std::int32_t added = before + 1; added <= search->Last(); ++added)
            ASSERT_TRUE(IsOneLegalMove(node->cells, search->Node(added)->cells)) << "node " << added;
    }
    EXPECT_EQ(search->Last() + 1, 25955);
    for (std::int32_t i = 0; i <= search->Last(); ++i)
        ASSERT_EQ(CountEmpty(search->Node(i)->cells), 2) << "node " << i;
    for (std::int32_t i = 1; i <= search->Last(); ++i)
        ASSERT_EQ(CBoardSearch::CompareBoards(search->SortedNode(i - 1)->cells, search->SortedNode(i)->cells), -1);
}

// Positions chosen for the blocks that need two empty cells.
TEST(MoveGeneratorTest, TwoCellMovesNeedBothCellsEmpty)
{
    struct Case {
        const char* name;
        Board board;
        std::set<Board> expected;
    };
    const Case cases[] = {
        {"2x2 with one cell free below it stays",
         MakeBoard("1451", "2552", "3013", "2112", "3673"),
         {MakeBoard("1451", "2552", "3113", "2012", "3673"), MakeBoard("1451", "2552", "3103", "2112", "3673")}},
        {"2x2 moves down once, from the left cell of the pair",
         MakeBoard("1451", "2552", "3003", "2112", "3673"),
         {MakeBoard("1001", "2452", "3553", "2112", "3673"), MakeBoard("1451", "2552", "3103", "2012", "3673"),
          MakeBoard("1451", "2552", "3013", "2102", "3673")}},
        {"2x2 moves right into a free column pair",
         MakeBoard("2450", "3550", "2112", "3113", "6711"),
         {MakeBoard("2045", "3055", "2112", "3113", "6711"), MakeBoard("2450", "3552", "2113", "3110", "6711")}},
        {"wide block with one cell free below it stays; no rule reads past column 3",
         MakeBoard("6745", "0155", "2110", "3112", "1113"),
         {MakeBoard("6745", "2155", "3110", "0112", "1113"), MakeBoard("6745", "1055", "2110", "3112", "1113"),
          MakeBoard("6745", "0155", "2112", "3113", "1110"), MakeBoard("6745", "0155", "2101", "3112", "1113")}},
    };
    for (const Case& c : cases) {
        const auto blocks = ParseBlocks(c.board);
        if (!blocks) { // fixtures that are not well formed would test nothing
            ADD_FAILURE() << c.name << ": fixture is not well formed";
            continue;
        }
        auto search = MakeEngine();
        CBoardSearchTestAccess::SetRootBoard(*search, c.board);
        BoardNode* root = CBoardSearchTestAccess::MutableNode(*search, 0);
        search->ExpandNode(root);
        EXPECT_EQ(search->FindBoard(c.board), 1) << c.name;
        std::set<Board> got;
        for (std::int32_t i = 1; i <= search->Last(); ++i)
            got.insert(search->Node(i)->cells);
        EXPECT_EQ(got, NeighboursByBlocks(c.board)) << c.name;
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

} // namespace
