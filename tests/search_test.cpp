// The search engine: the whole search from the built-in layout, its path, its
// invariants, Reset, the drawing of a step and the node limits.
#include "engine_test_access.h"

#include "block_checker.h"
#include "board_colours.h"
#include "recording_dc.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class SolvedSearchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        search = MakeEngine().release();
        lastStep = RunSearchToEnd(*search);
    }
    static void TearDownTestSuite() { delete search; }

    static CBoardSearch* search;
    static std::int32_t lastStep;
};

CBoardSearch* SolvedSearchTest::search = nullptr;
std::int32_t SolvedSearchTest::lastStep = 0;

TEST_F(SolvedSearchTest, EndsAtTheGoalNodeWithTheKnownCounts)
{
    EXPECT_EQ(lastStep, 24004);
    EXPECT_EQ(search->Head(), 24004);
    EXPECT_EQ(search->Last(), 24075);
    EXPECT_EQ(search->IsDone(), 1);
    EXPECT_EQ(search->GetPathSteps(), 116);
    EXPECT_EQ(search->Node(24004)->cells[kGoalCell], '4');
}

TEST_F(SolvedSearchTest, PathRunsFromStartToGoalOneLegalMoveAtATime)
{
    ASSERT_EQ(search->GetPathSteps(), 116);
    EXPECT_EQ(search->PathBoard(0), kStart);
    EXPECT_EQ(search->PathBoard(116)[13], '4');
    for (int k = 0; k < 116; ++k)
        EXPECT_TRUE(IsOneLegalMove(search->PathBoard(k), search->PathBoard(k + 1))) << "move " << k;
    // Shortest: no earlier path position is the goal.
    for (int k = 0; k < 116; ++k)
        EXPECT_NE(search->PathBoard(k)[13], '4');
}

TEST_F(SolvedSearchTest, StoreHoldsEveryBoardOnceInBothOrders)
{
    std::set<const BoardNode*> created;
    for (std::int32_t i = 0; i <= search->Last(); ++i) {
        EXPECT_EQ(search->Node(i)->serial, i);
        created.insert(search->Node(i));
    }
    std::set<const BoardNode*> sorted;
    for (std::int32_t i = 0; i <= search->Last(); ++i) {
        sorted.insert(search->SortedNode(i));
        if (i > 0) {
            ASSERT_EQ(CBoardSearch::CompareBoards(search->SortedNode(i - 1)->cells, search->SortedNode(i)->cells), -1)
                << "entry " << i;
        }
    }
    EXPECT_EQ(created.size(), static_cast<std::size_t>(search->Last() + 1));
    EXPECT_EQ(sorted, created);
}

TEST_F(SolvedSearchTest, ShowPathStepDrawsOnlyStepsOfThePath)
{
    struct Case {
        std::int32_t step;
        std::int32_t result;
    };
    for (const Case c : {Case{-1, -1}, Case{0, 0}, Case{116, 116}, Case{117, -1}}) {
        CRecordingDC dc;
        EXPECT_EQ(search->ShowPathStep(c.step, &dc), c.result) << "step " << c.step;
        const auto squares = dc.Rectangles();
        if (c.result < 0) {
            EXPECT_TRUE(dc.Calls().empty());
            continue;
        }
        ASSERT_EQ(squares.size(), 20u);
        EXPECT_EQ(squares.front().rect, CRect(10, 250, 40, 280));
        EXPECT_EQ(squares.back().rect, CRect(130, 340, 160, 370));
        // Square (row 0, column 0) of the picture is Board element 0.
        const char code = search->PathBoard(c.step)[0];
        EXPECT_EQ(squares.front().fill, kBrushColours[static_cast<std::size_t>(kBrushForCode[static_cast<std::size_t>(code - '0')])]);
    }
}

TEST(SearchTest, FirstStepExpandsTheRootWithoutAPredecessor)
{
    auto search = MakeEngine();
    CRecordingDC dc;
    EXPECT_EQ(search->Step(&dc), 1);
    // Each square: its code's brush selected, then the rectangle. Element 0 is a tall
    // block's upper cell: green.
    ASSERT_GE(dc.Calls().size(), 2u);
    EXPECT_EQ(dc.Calls()[0].kind, CRecordingDC::Call::SelectBrush);
    EXPECT_EQ(dc.Calls()[0].colour, RGB(0, 150, 0));
    EXPECT_EQ(dc.Calls()[1].kind, CRecordingDC::Call::Rectangle);
    EXPECT_EQ(dc.Calls().size(), 5u * 20u * 2u);
    // The node at (25, 55) with 35-pixel cells, then children in slots 0, 2, 4, 7.
    const auto squares = dc.Rectangles();
    ASSERT_EQ(squares.size(), 5u * 20u);
    EXPECT_EQ(squares[0].rect, CRect(25, 55, 60, 90));
    const int childX[] = {3, 133, 263, 458};
    for (int picture = 0; picture < 4; ++picture) {
        const auto& first = squares[static_cast<std::size_t>(20 * (picture + 1))];
        EXPECT_EQ(first.rect, CRect(childX[picture], 200, childX[picture] + 10, 210)) << "child " << picture;
    }
}

TEST(SearchTest, StepDrawsPredecessorThenNodeThenChildrenBySlot)
{
    auto search = MakeEngine();
    CRecordingDC dc;
    search->Step(&dc);
    dc.Clear();
    search->Step(&dc); // node 1: children in slots 3, 4, 6, 7
    const auto squares = dc.Rectangles();
    ASSERT_EQ(squares.size(), 6u * 20u);
    const CRect expectedFirst[] = {
        {110, 5, 120, 15},   // predecessor
        {25, 55, 60, 90},    // node
        {198, 200, 208, 210}, // slot 3
        {263, 200, 273, 210}, // slot 4
        {393, 200, 403, 210}, // slot 6
        {458, 200, 468, 210}, // slot 7
    };
    for (std::size_t picture = 0; picture < 6; ++picture)
        EXPECT_EQ(squares[20 * picture].rect, expectedFirst[picture]) << "picture " << picture;
    // The last square of a picture is Board element 19, at the bottom right.
    EXPECT_EQ(squares[20 * 1 + 19].rect, CRect(165, 160, 200, 195));
}

TEST(SearchTest, ResetStartsOverAndHidesTheOldPath)
{
    auto search = MakeEngine();
    RunSearchToEnd(*search);
    ASSERT_EQ(search->GetPathSteps(), 116);
    search->Reset();
    EXPECT_EQ(search->IsDone(), 0);
    EXPECT_EQ(search->GetPathSteps(), -1);
    EXPECT_EQ(search->Last(), 0);
    EXPECT_EQ(search->Head(), 0);
    EXPECT_EQ(search->Node(0)->cells, kStart);
    EXPECT_EQ(search->SortedNode(0), search->Node(0));
    EXPECT_EQ(CBoardSearchTestAccess::RawPathSteps(*search), 116); // kept, but out of reach
    CRecordingDC dc;
    EXPECT_EQ(search->ShowPathStep(0, &dc), -1);
    EXPECT_TRUE(dc.Calls().empty());
    EXPECT_EQ(search->Step(&dc), 1);
    // And the next search ends exactly as the first.
    EXPECT_EQ(RunSearchToEnd(*search), 24004);
    EXPECT_EQ(search->GetPathSteps(), 116);
}

// Fills the store with Boards that sort after every real position and never match a
// move, until `last` is the highest entry in use.
void FillStoreTo(CBoardSearch& search, std::int32_t last)
{
    for (std::int32_t n = search.Last() + 1; n <= last; ++n) {
        auto* filler = new BoardNode{};
        filler->cells = FillerBoard(n);
        ASSERT_TRUE(search.AddNode(filler));
    }
    ASSERT_EQ(search.Last(), last);
    for (std::int32_t i = 1; i <= last; i += 997) {
        ASSERT_EQ(CBoardSearch::CompareBoards(search.SortedNode(i - 1)->cells, search.SortedNode(i)->cells), -1);
    }
}

TEST(SearchLimitTest, StepBeyondTheSoftLimitStoresOnlyWhatFitsAndEnds)
{
    auto search = MakeEngine();
    FillStoreTo(*search, 40097); // the root's four children need entries 40098 to 40101
    CRecordingDC dc;
    EXPECT_EQ(search->Step(&dc), 0);
    EXPECT_EQ(search->Last(), 40099);
    EXPECT_EQ(search->IsDone(), 1);
    EXPECT_EQ(search->GetPathSteps(), 0); // path from the start to the node expanded, the root
    const BoardNode* root = search->Node(0);
    EXPECT_NE(root->children[0], nullptr);
    EXPECT_NE(root->children[2], nullptr);
    EXPECT_EQ(root->children[4], nullptr);
    EXPECT_EQ(root->children[7], nullptr);
}

TEST(SearchLimitTest, SoftLimitEndsTheSearchEvenWithRoomLeft)
{
    auto search = MakeEngine();
    FillStoreTo(*search, kSoftNodeLimit + 1);
    CRecordingDC dc;
    search->Step(&dc);
    EXPECT_EQ(search->IsDone(), 1);
    EXPECT_EQ(search->Last(), kSoftNodeLimit + 5);
}

TEST(SearchLimitTest, AddNodeRefusesWhenFull)
{
    auto search = MakeEngine();
    FillStoreTo(*search, kNodeCapacity - 1);
    BoardNode extra;
    extra.cells = kStart;
    extra.cells[0] = '0';
    EXPECT_FALSE(search->AddNode(&extra));
    EXPECT_EQ(search->Last(), kNodeCapacity - 1);
    EXPECT_EQ(search->FindBoard(extra.cells), 0);
}

TEST(SearchLimitTest, EmptyQueueEndsTheSearchAtTheLastNode)
{
    auto search = MakeEngine();
    CRecordingDC dc;
    search->Step(&dc); // root expanded: nodes 1 to 4 wait
    CBoardSearchTestAccess::SetHead(*search, search->Last() + 1);
    EXPECT_EQ(search->Step(&dc), 4);
    EXPECT_EQ(search->Last(), 4);
    EXPECT_EQ(search->IsDone(), 1);
    EXPECT_EQ(search->GetPathSteps(), 1);
    EXPECT_EQ(search->PathBoard(0), kStart);
    EXPECT_EQ(search->PathBoard(1), search->Node(4)->cells);
}

TEST(SearchLimitTest, LongChainIsCutToTheLast199Moves)
{
    auto search = MakeEngine();
    // A chain of 250 nodes hung off the root by hand: each the parent of the next.
    BoardNode* parent = CBoardSearchTestAccess::MutableNode(*search, 0);
    for (int n = 1; n <= 250; ++n) {
        auto* node = new BoardNode{};
        node->cells = FillerBoard(n);
        node->parent = parent;
        ASSERT_TRUE(search->AddNode(node));
        parent = node;
    }
    CBoardSearchTestAccess::SetHead(*search, 250);
    EXPECT_EQ(search->BuildPath(), 199);
    EXPECT_EQ(search->PathBoard(199), search->Node(250)->cells);
    EXPECT_EQ(search->PathBoard(0), search->Node(51)->cells);
}

} // namespace
