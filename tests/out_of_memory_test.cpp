// Memory that runs out during the search and during Save: the handler in progress ends,
// the user is told once, the program goes on, and works again once memory is back.
#include "failing_allocator.h"
#include "scoped_working_directory.h"
#include "solver_window_fixture.h"

#include <QMessageBox>

namespace {

class OutOfMemoryTest : public SolverWindowTest {
protected:
    ScopedWorkingDirectory directory;
};

TEST_F(OutOfMemoryTest, SearchThatRunsOutIsReportedOnceAndStartsAgainLater)
{
    frame->OnCommand(ID_FILE_START);
    ASSERT_TRUE(WaitFor([this] { return Access::Expanded(*frame) > 300; }, 10000));
    const int failuresBefore = ReportedFailureCount();
    std::int32_t stoppedAt = 0;
    {
        // The next allocation of a node's size fails: mostly a new node, sometimes the
        // painter for the counter's text when a tick finds no new position first.
        failing_allocator::Scope noNode(sizeof(BoardNode));
        ASSERT_TRUE(WaitFor([&] { return ReportedFailureCount() > failuresBefore; }, 5000));
        stoppedAt = Search().Head();
        WaitFor([] { return false; }, 100);
        // The timer stopped with the failure: no failure every millisecond.
        EXPECT_EQ(ReportedFailureCount(), failuresBefore + 1);
        EXPECT_EQ(Search().Head(), stoppedAt);
    }
    EXPECT_NE(LastReportedFailure().find("ran out of memory"), std::string::npos) << LastReportedFailure();
    EXPECT_EQ(VisibleFailureBoxes(), 1);

    // Memory is back: the window answers the menu, and a new search reaches the goal.
    ChooseFromMenu("File", "Reset");
    EXPECT_EQ(Search().Head(), 0);
    FinishSearch();
    EXPECT_EQ(Search().GetPathSteps(), 116);
    EXPECT_EQ(Search().Head(), 24004);
}

TEST_F(OutOfMemoryTest, SaveThatRunsOutKeepsTheOldFileAndWorksLater)
{
    FinishSearch();
    QAction* save = MenuAction("File", "Save");
    save->trigger(); // Qt's own bookkeeping for a triggered item is made once, here
    const std::string old(60, '1');
    WriteWholeFile("solfile.puz", old);
    const int failuresBefore = ReportedFailureCount();
    {
        // Nothing at all can be allocated, not even the report: it goes to standard error.
        failing_allocator::Scope nothing;
        save->trigger();
    }
    EXPECT_EQ(ReportedFailureCount(), failuresBefore + 1);
    EXPECT_EQ(ReadWholeFile("solfile.puz"), old);
    EXPECT_EQ(directory.Entries(), std::vector<std::string>{"solfile.puz"});

    save->trigger();
    EXPECT_EQ(ReadWholeFile("solfile.puz").size(), 2340u);
    EXPECT_EQ(texts.back().text, kTextFileSaved);
}

} // namespace
