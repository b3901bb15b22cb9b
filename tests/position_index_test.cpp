// Board order, lookup and sorted insertion.
#include "engine_test_access.h"

#include "recording_dc.h"

#include <gtest/gtest.h>

namespace {

TEST(PositionIndexTest, BoardOrderReadsColumnByColumn)
{
    const Board base = MakeBoard("0000", "0000", "0000", "0000", "0000");
    struct Case {
        const char* name;
        Board first;
        Board second;
        int expected;
    };
    Board e1 = base, e4 = base, e1and4 = base, e19 = base;
    e1[1] = '1';
    e4[4] = '1';
    e1and4[1] = '7'; // element 1 is compared sixth, element 4 second
    e1and4[4] = '1';
    Board e4high = base;
    e4high[4] = '2';
    e4high[1] = '0';
    e19[19] = '7';
    const Case cases[] = {
        {"equal", kStart, kStart, 0},
        {"element 4 before element 1", e1and4, e4high, -1},
        {"element 1 alone", e1, base, 1},
        {"element 4 alone", base, e4, -1},
        {"only element 19 differs", base, e19, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CBoardSearch::CompareBoards(c.first, c.second), c.expected) << c.name;
        EXPECT_EQ(CBoardSearch::CompareBoards(c.second, c.first), -c.expected) << c.name;
    }
}

TEST(PositionIndexTest, CompareIsAntisymmetricOverStoredBoards)
{
    auto search = MakeEngine();
    CRecordingDC discard(false);
    for (int i = 0; i < 200; ++i)
        search->Step(&discard);
    for (std::int32_t a = 0; a <= search->Last(); a += 7)
        for (std::int32_t b = 0; b <= search->Last(); b += 13)
            EXPECT_EQ(CBoardSearch::CompareBoards(search->Node(a)->cells, search->Node(b)->cells),
                      -CBoardSearch::CompareBoards(search->Node(b)->cells, search->Node(a)->cells));
}

TEST(PositionIndexTest, RootAloneFindsOnlyTheStartLayout)
{
    auto search = MakeEngine();
    EXPECT_EQ(search->FindBoard(kStart), 1);
    Board other = kStart;
    std::swap(other[17], other[13]);
    EXPECT_EQ(search->FindBoard(other), 0);
}

TEST(PositionIndexTest, FirstExpansionSortsNodesAsListed)
{
    auto search = MakeEngine();
    CRecordingDC discard(false);
    search->Step(&discard);
    ASSERT_EQ(search->Last(), 4);
    // m_sorted: node 2, node 1, node 3, root, node 4.
    const std::int32_t expected[] = {2, 1, 3, 0, 4};
    for (std::int32_t entry = 0; entry < 5; ++entry) {
        EXPECT_EQ(search->SortedNode(entry), search->Node(expected[entry])) << "entry " << entry;
        EXPECT_EQ(search->Node(entry)->serial, entry);
    }
    for (std::int32_t entry = 0; entry <= search->Last(); ++entry)
        EXPECT_EQ(search->FindBoard(search->SortedNode(entry)->cells), 1) << "entry " << entry;
}

TEST(PositionIndexTest, FindsFirstMiddleAndLastEntries)
{
    auto search = MakeEngine();
    CRecordingDC discard(false);
    for (int i = 0; i < 500; ++i)
        search->Step(&discard);
    const std::int32_t last = search->Last();
    for (std::int32_t entry : {0, last / 2, last})
        EXPECT_EQ(search->FindBoard(search->SortedNode(entry)->cells), 1) << "entry " << entry;
    Board absent = search->SortedNode(0)->cells;
    absent[0] = '\x01'; // smaller than every stored Board
    EXPECT_EQ(search->FindBoard(absent), 0);
    absent = FillerBoard(1); // greater than every stored Board
    EXPECT_EQ(search->FindBoard(absent), 0);
}

TEST(PositionIndexTest, InsertionAtEitherEndMovesOnlyWhatFollows)
{
    auto search = MakeEngine();
    const BoardNode* root = search->SortedNode(0);

    auto* smallest = new BoardNode{};
    smallest->cells = kStart;
    smallest->cells[0] = '1'; // element 0 is compared first: below the root's '2'
    ASSERT_TRUE(search->AddNode(smallest));
    EXPECT_EQ(search->SortedNode(0), smallest);
    EXPECT_EQ(search->SortedNode(1), root);

    auto* greatest = new BoardNode{};
    greatest->cells = kStart;
    greatest->cells[0] = '7';
    ASSERT_TRUE(search->AddNode(greatest));
    EXPECT_EQ(search->SortedNode(0), smallest);
    EXPECT_EQ(search->SortedNode(1), root);
    EXPECT_EQ(search->SortedNode(2), greatest);
    EXPECT_EQ(greatest->serial, 2);
    EXPECT_EQ(search->Node(2), greatest);
}

} // namespace
