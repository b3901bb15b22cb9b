// Board records: start layout, goal test, copies that touch only the cells.
#include "engine_test_access.h"

#include "block_checker.h"

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

TEST(BoardTest, SwappingTwoEqualBlocksGivesTheSameBoard)
{
    // Equal blocks carry equal codes, so exchanging them changes no cell.
    Board swappedSmalls = kStart;
    std::swap(swappedSmalls[13], swappedSmalls[16]);
    EXPECT_EQ(swappedSmalls, kStart);
    EXPECT_EQ(CBoardSearch::CompareBoards(swappedSmalls, kStart), 0);
}

} // namespace
