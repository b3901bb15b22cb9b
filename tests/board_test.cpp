// Board records: start layout, goal test, copies that touch only the cells.
#include "engine_test_access.h"

#include "block_checker.h"
#include "recording_dc.h"

#include <gtest/gtest.h>

namespace {

TEST(BoardTest, StartLayoutHoldsThePieceSetAndIsNotTheGoal)
{
    auto search = MakeEngine();
    const Board& start = search->Node(0)->cells;
    EXPECT_EQ(start, kStart);
    const auto blocks = ParseBlocks(start);
    ASSERT_TRUE(blocks.has_value());
    EXPECT_EQ(blocks->count({'4', 0, 1}), 1u);
    EXPECT_EQ(CountEmpty(start), 2);
    BoardNode probe{start, nullptr, {}, 0};
    EXPECT_EQ(search->IsFinished(&probe), 0);
}

TEST(BoardTest, AnyBoardWithTheBigBlockCornerInRowThreeColumnOneIsTheGoal)
{
    auto search = MakeEngine();
    BoardNode node;
    node.cells.fill('9'); // nothing else is looked at
    node.cells[13] = '4';
    EXPECT_EQ(search->IsFinished(&node), 1);
}

TEST(BoardTest, CopyAndStartLayoutTouchOnlyTheCells)
{
    auto search = MakeEngine();
    BoardNode sentinel;
    BoardNode node;
    node.parent = &sentinel;
    node.children.fill(&sentinel);
    node.serial = 77;
    CBoardSearch::CopyBoard(node.cells, MakeBoard("0000", "1111", "2222", "3333", "4444"));
    EXPECT_EQ(node.cells, MakeBoard("0000", "1111", "2222", "3333", "4444"));
    search->SetStartBoard(&node);
    EXPECT_EQ(node.cells, kStart);
    EXPECT_EQ(node.parent, &sentinel);
    for (BoardNode* child : node.children)
        EXPECT_EQ(child, &sentinel);
    EXPECT_EQ(node.serial, 77);
}

// The 1x1 blocks of row 4 moved inwards, left one first or right one first: both orders
// reach one position, and it is stored once, under the order the search met first.
TEST(BoardTest, TwoMoveOrdersReachingOnePositionStoreOneNode)
{
    auto search = MakeEngine();
    CRecordingDC discard(false);
    for (int step = 0; step < 5; ++step) // the root and its four children
        search->Step(&discard);
    const Board both = MakeBoard("2452", "3553", "2672", "3113", "0110");
    const BoardNode* leftFirst = search->Node(2);  // (4,0) moved right
    const BoardNode* rightFirst = search->Node(4); // (4,3) moved left
    ASSERT_EQ(leftFirst->cells, MakeBoard("2452", "3553", "2672", "3113", "0101"));
    ASSERT_EQ(rightFirst->cells, MakeBoard("2452", "3553", "2672", "3113", "1010"));
    ASSERT_TRUE(IsOneLegalMove(leftFirst->cells, both));
    ASSERT_TRUE(IsOneLegalMove(rightFirst->cells, both));
    int stored = 0;
    const BoardNode* found = nullptr;
    for (std::int32_t i = 0; i <= search->Last(); ++i)
        if (search->Node(i)->cells == both) {
            ++stored;
            found = search->Node(i);
        }
    ASSERT_EQ(stored, 1);
    EXPECT_EQ(found->parent, leftFirst);
    for (const BoardNode* child : rightFirst->children)
        EXPECT_NE(child, found);
}

} // namespace
