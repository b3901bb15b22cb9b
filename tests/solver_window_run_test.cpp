// Whole runs on the real timers: the search at 1 ms a tick, the replay at 200 ms.
#include "solver_window_fixture.h"

#include "block_checker.h"

namespace {

TEST_F(SolverWindowTest, WholeSearchOnTheTimerEndsSolved)
{
    frame->OnCommand(ID_FILE_START);
    ASSERT_TRUE(WaitFor([this] { return Search().IsDone() == 1; }, 120000));
    EXPECT_EQ(Access::TimerActive(*frame), 0);
    EXPECT_EQ(Access::Expanded(*frame), 24004);
    EXPECT_EQ(Access::SolutionSteps(*frame), 116);
    const auto status = TextsAt(kStatusX, kStatusY);
    EXPECT_EQ(status.back().text, kTextSolved);
    EXPECT_TRUE(Wrote("Number of steps = 116", kResultX, kResultY));
    const auto counters = TextsAt(kCounterX, kCounterY);
    // One counter per tick: nodes 0 to 24004 are expanded, and the goal's own step
    // leaves the head on it, so 24004 is written twice.
    ASSERT_EQ(counters.size(), 24005u);
    EXPECT_EQ(counters.front().text, "Num = 1     ");
    EXPECT_EQ(counters[24003].text, "Num = 24004     ");
    EXPECT_EQ(counters.back().text, "Num = 24004     ");
    // The timer is stopped: nothing more is written.
    const std::size_t written = texts.size();
    QTest::qWait(30);
    EXPECT_EQ(texts.size(), written);
}

TEST_F(SolverWindowTest, WholeReplayShowsEveryBoardThenThePaintText)
{
    AdvanceSearchToLastStep();
    PressRight(); // the search ends by a step
    std::vector<Board> shown;
    std::vector<std::string> numbers;
    SetTextHook(frame, [&](int x, int y, std::string_view text) {
        texts.push_back({x, y, std::string(text)});
        if (x == kStepNumberX && y == kStepNumberY) {
            numbers.emplace_back(text);
            shown.push_back(Search().PathBoard(Access::ShownStep(*frame)));
        }
    });
    ChooseFromMenu("File", "Show Solution");
    EXPECT_EQ(TextsAt(kStatusX, kStatusY).back().text, kTextShowingSolution);
    ASSERT_TRUE(WaitFor([this] { return Access::TimerActive(*frame) == 0; }, 60000));
    ASSERT_EQ(numbers.size(), 117u);
    for (int step = 0; step <= 116; ++step)
        EXPECT_EQ(numbers[static_cast<std::size_t>(step)], StepNumberText(step));
    for (std::size_t k = 0; k + 1 < shown.size(); ++k)
        EXPECT_TRUE(IsOneLegalMove(shown[k], shown[k + 1])) << "board " << k;
    EXPECT_EQ(TextsAt(kStatusX, kStatusY).back().text, kTextChooseShowSolution);
    EXPECT_EQ(Access::ShownStep(*frame), 0);
    // The goal board stays on the window.
    EXPECT_EQ(Pixels().pixel(10 + 3 * 30 + 15, 250 + 1 * 30 + 15), qRgb(150, 0, 0));

    // A second replay starts again from board 0.
    numbers.clear();
    frame->OnCommand(ID_FILE_SHOWSOLUTION);
    ASSERT_TRUE(WaitFor([&] { return numbers.size() >= 2; }, 5000));
    EXPECT_EQ(numbers[0], StepNumberText(0));
    PressRight(); // stops where it is
    EXPECT_EQ(Access::TimerActive(*frame), 0);
}

} // namespace
