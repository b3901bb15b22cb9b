// The main window driven through real events: states, texts, menu, mouse, paint.
#include "solver_window_fixture.h"

#include "block_checker.h"
#include "board_colours.h"
#include "raster_dc.h"

namespace {

enum class State { SearchIdle, SearchRunning, SolutionIdle, SolutionRunning };
enum class Event { Start, ShowSolution, Stop, Step, Left, Right, MenuNotification, Tick, Reset };

const char* Name(State s)
{
    switch (s) {
    case State::SearchIdle: return "search idle";
    case State::SearchRunning: return "search running";
    case State::SolutionIdle: return "solution idle";
    case State::SolutionRunning: return "solution running";
    }
    return "?";
}

const char* Name(Event e)
{
    const char* names[] = {"Start", "Show Solution", "Stop", "Step", "left button", "right button",
                           "menu notification", "tick", "Reset"};
    return names[static_cast<int>(e)];
}

struct Transition {
    State from;
    Event event;
    const char* statusText; // written at (400, 300) by the event; null: none
    State to;
};

class StateTableTest : public SolverWindowTest {
protected:
    void Enter(State state)
    {
        if (state == State::SolutionIdle || state == State::SolutionRunning)
            FinishSearch();
        if (state == State::SearchRunning || state == State::SolutionRunning)
            frame->OnCommand(ID_FILE_START);
    }
    void Fire(Event event)
    {
        switch (event) {
        case Event::Start: frame->OnCommand(ID_FILE_START); break;
        case Event::ShowSolution: frame->OnCommand(ID_FILE_SHOWSOLUTION); break;
        case Event::Stop: frame->OnCommand(ID_FILE_STOP); break;
        case Event::Step: frame->OnCommand(ID_FILE_STEP); break;
        case Event::Left: PressLeft(); break;
        case Event::Right: PressRight(); break;
        case Event::MenuNotification: frame->Dispatch(MessageKind::MenuSelect, {}); break;
        case Event::Tick: {
            MessageArgs tick;
            tick.id = Search().IsDone() ? ID_TIMER_REPLAY : ID_TIMER_SEARCH;
            frame->Dispatch(MessageKind::Timer, tick);
            break;
        }
        case Event::Reset: frame->OnCommand(ID_FILE_RESET); break;
        }
    }
    State Now()
    {
        const bool running = Access::TimerActive(*frame) != 0;
        if (Search().IsDone())
            return running ? State::SolutionRunning : State::SolutionIdle;
        return running ? State::SearchRunning : State::SearchIdle;
    }
};

TEST_F(StateTableTest, EveryTransitionLeadsWhereItShouldWithItsText)
{
    const Transition table[] = {
        {State::SearchIdle, Event::Start, kTextSolving, State::SearchRunning},
        {State::SearchIdle, Event::Left, nullptr, State::SearchRunning},
        {State::SearchIdle, Event::Step, nullptr, State::SearchIdle},
        {State::SearchIdle, Event::Right, nullptr, State::SearchIdle},
        {State::SearchIdle, Event::Stop, kTextSearchStopped, State::SearchIdle},
        {State::SearchIdle, Event::MenuNotification, kTextSearchStopped, State::SearchIdle},
        {State::SearchIdle, Event::Reset, nullptr, State::SearchIdle},
        {State::SearchRunning, Event::Tick, nullptr, State::SearchRunning},
        {State::SearchRunning, Event::Left, nullptr, State::SearchIdle},
        {State::SearchRunning, Event::Right, nullptr, State::SearchIdle},
        {State::SearchRunning, Event::MenuNotification, kTextSearchStopped, State::SearchIdle},
        {State::SearchRunning, Event::Start, nullptr, State::SearchRunning},
        {State::SearchRunning, Event::Reset, nullptr, State::SearchIdle},
        {State::SolutionIdle, Event::Start, kTextShowingSolution, State::SolutionRunning},
        {State::SolutionIdle, Event::ShowSolution, kTextShowingSolution, State::SolutionRunning},
        {State::SolutionIdle, Event::Step, nullptr, State::SolutionIdle},
        {State::SolutionIdle, Event::Right, nullptr, State::SolutionIdle},
        {State::SolutionIdle, Event::Left, nullptr, State::SolutionIdle},
        {State::SolutionIdle, Event::Stop, kTextDisplayStopped, State::SolutionIdle},
        {State::SolutionIdle, Event::MenuNotification, kTextDisplayStopped, State::SolutionIdle},
        {State::SolutionIdle, Event::Reset, nullptr, State::SearchIdle},
        {State::SolutionRunning, Event::Tick, nullptr, State::SolutionRunning},
        {State::SolutionRunning, Event::Left, nullptr, State::SolutionIdle},
        {State::SolutionRunning, Event::Right, nullptr, State::SolutionIdle},
        {State::SolutionRunning, Event::MenuNotification, kTextDisplayStopped, State::SolutionIdle},
        {State::SolutionRunning, Event::Reset, nullptr, State::SearchIdle},
    };
    for (const Transition& t : table) {
        SCOPED_TRACE(std::string(Name(t.from)) + " + " + Name(t.event));
        frame->OnCommand(ID_FILE_RESET);
        Enter(t.from);
        ASSERT_EQ(Now(), t.from);
        texts.clear();
        Fire(t.event);
        EXPECT_EQ(Now(), t.to) << "now " << Name(Now());
        const auto status = TextsAt(kStatusX, kStatusY);
        if (t.statusText == nullptr) {
            EXPECT_TRUE(status.empty()) << status.front();
        } else {
            ASSERT_EQ(status.size(), 1u);
            EXPECT_EQ(status[0].text, t.statusText);
        }
        // Buttons that stop a timer, and Reset, write nothing at all.
        const bool silent = t.event == Event::Reset ||
                            ((t.event == Event::Left || t.event == Event::Right) &&
                             (t.from == State::SearchRunning || t.from == State::SolutionRunning)) ||
                            (t.event == Event::Left && t.from == State::SearchIdle);
        if (silent) {
            EXPECT_TRUE(texts.empty()) << texts.front();
        }
    }
}

// In the run a user sees (window opens, Start from the menu, the search ends, Show
// Solution from the menu, the replay ends, Show Solution again), every status text
// written at (400, 300) must leave exactly the pixels it would leave on a blank window:
// no tail of the text before it stays visible.
TEST(StatusTextTest, EachStatusTextWipesOutTheOneBefore)
{
    const char* run[] = {kTextContinueSolving, kTextSearchStopped, kTextSolving,         kTextSolved,
                         kTextDisplayStopped,  kTextShowingSolution, kTextChooseShowSolution,
                         kTextDisplayStopped,  kTextShowingSolution, kTextDisplayStopped, kTextChooseShowSolution};
    QImage window(1000, 340, QImage::Format_RGB32); // wide enough that nothing is clipped
    window.fill(Qt::white);
    for (std::size_t i = 0; i < std::size(run); ++i) {
        {
            CRasterDC dc(window);
            dc.TextOut(kStatusX, kStatusY, run[i]);
        }
        QImage alone(window.size(), QImage::Format_RGB32);
        alone.fill(Qt::white);
        {
            CRasterDC dc(alone);
            dc.TextOut(kStatusX, kStatusY, run[i]);
        }
        EXPECT_EQ(window, alone) << "\"" << run[i] << "\" written over \"" << (i ? run[i - 1] : "") << "\"";
    }
}

TEST_F(SolverWindowTest, StartsShowingOnlyThePaintText)
{
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], (WrittenText{400, 300, kTextContinueSolving}));
    const QImage pixels = Pixels();
    // Nothing but white outside the text's line.
    for (int y = 0; y < pixels.height(); y += 3)
        for (int x = 0; x < pixels.width(); x += 3)
            if (y < 300 || y > 320) {
                ASSERT_EQ(pixels.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
            }
}

TEST_F(SolverWindowTest, WindowHasTitleSizeAndMenu)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Puzzle Solver"));
    EXPECT_EQ(window->frameGeometry().size(), QSize(620, 450));
    QStringList popups;
    for (QAction* popup : window->menuBar()->actions())
        popups << popup->text();
    EXPECT_EQ(popups, (QStringList{"File", "Options", "About"}));
    QStringList file;
    for (QAction* item : MenuAction("File")->menu()->actions())
        file << item->text();
    EXPECT_EQ(file, (QStringList{"Start", "Stop", "Step", "Show Solution", "Save", "Open", "Reset", "E&xit"}));
    QStringList options;
    for (QAction* item : MenuAction("Options")->menu()->actions())
        options << (item->isSeparator() ? QStringLiteral("-") : item->text());
    EXPECT_EQ(options, (QStringList{"Show Current Board", "Show Previous Baord", "Show Possable Boards",
                                    "Show Board Numbering", "Set Solving Speed", "Set Solution Speed", "-"}));
    QStringList about;
    for (QAction* item : MenuAction("About")->menu()->actions())
        about << item->text();
    EXPECT_EQ(about, (QStringList{"Tarnbok", "Puzzle", "Method", "Author"}));
}

// The separator that ends the Options pop-up is drawn, not collapsed away.
TEST_F(SolverWindowTest, OptionsPopupShowsItsTrailingSeparator)
{
    QMenu* options = OpenMenu("Options");
    QAction* last = options->actions().back();
    ASSERT_TRUE(last->isSeparator());
    EXPECT_GT(options->actionGeometry(last).height(), 0);
    options->hide();
}

// F10 and a lone Alt open File from the keyboard; opening it is a use of the menu, so a
// running search halts with its stop text. Escape closes it again.
TEST_F(SolverWindowTest, KeyboardOpensTheFileMenuAndHaltsTheSearch)
{
    QMenu* file = MenuAction("File")->menu();
    const auto press = [this](bool f10) {
        if (f10) {
            QTest::keyClick(window, Qt::Key_F10);
        } else {
            QTest::keyPress(window, Qt::Key_Alt, Qt::AltModifier);
            QTest::keyRelease(window, Qt::Key_Alt);
        }
    };
    for (bool f10 : {true, false}) {
        SCOPED_TRACE(f10 ? "F10" : "Alt");
        PressLeft(); // starts the search timer
        ASSERT_EQ(Access::TimerActive(*frame), 1);
        texts.clear();
        press(f10);
        ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }, 2000));
        EXPECT_EQ(Access::TimerActive(*frame), 0);
        EXPECT_TRUE(Wrote(kTextSearchStopped, kStatusX, kStatusY));
        QTest::keyClick(file, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([file] { return !file->isVisible(); }, 2000));
    }
    // Alt with another key is a shortcut, not the menu.
    QTest::keyPress(window, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(window, Qt::Key_X, Qt::AltModifier);
    QTest::keyRelease(window, Qt::Key_Alt);
    QTest::qWait(50);
    EXPECT_FALSE(file->isVisible());
}

// Item states as the opened pop-ups show them.
TEST_F(SolverWindowTest, MenuItemStatesFollowTheEngine)
{
    const auto enabled = [this](const QString& popup, const QString& item) { return MenuAction(popup, item)->isEnabled(); };
    QMenu* file = OpenMenu("File");
    EXPECT_FALSE(enabled("File", "Show Solution"));
    EXPECT_FALSE(enabled("File", "Save"));
    EXPECT_TRUE(enabled("File", "Reset")); // grayed in the resource, enabled once opened
    EXPECT_TRUE(enabled("File", "Start"));
    EXPECT_TRUE(enabled("File", "E&xit"));
    file->hide();

    QMenu* options = OpenMenu("Options");
    for (QAction* item : options->actions()) {
        if (item->isSeparator())
            continue;
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
        const bool shouldCheck = options->actions().indexOf(item) < 4;
        EXPECT_EQ(item->isChecked(), shouldCheck) << item->text().toStdString();
    }
    options->hide();
    QMenu* about = OpenMenu("About");
    for (QAction* item : about->actions())
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    about->hide();

    FinishSearch();
    file = OpenMenu("File");
    EXPECT_TRUE(enabled("File", "Show Solution"));
    EXPECT_TRUE(enabled("File", "Save"));
    file->hide();

    frame->OnCommand(ID_FILE_RESET);
    file = OpenMenu("File");
    EXPECT_FALSE(enabled("File", "Show Solution"));
    EXPECT_FALSE(enabled("File", "Save"));
    file->hide();
}

TEST_F(SolverWindowTest, OpeningTheMenuHaltsTheSearchAndStartResumesIt)
{
    ChooseFromMenu("File", "Start");
    EXPECT_EQ(Access::TimerActive(*frame), 1);
    // The menu use wrote the stop text first, then Start wrote over it.
    const auto status = TextsAt(kStatusX, kStatusY);
    ASSERT_GE(status.size(), 3u);
    EXPECT_EQ(status[1].text, kTextSearchStopped);
    EXPECT_EQ(status.back().text, kTextSolving);
    ASSERT_TRUE(WaitFor([this] { return Access::Expanded(*frame) >= 20; }, 5000));

    QMenu* file = OpenMenu("File");
    EXPECT_EQ(Access::TimerActive(*frame), 0);
    const std::int32_t halted = Access::Expanded(*frame);
    QTest::qWait(50);
    EXPECT_EQ(Access::Expanded(*frame), halted); // no ticks while the menu is open
    ChooseItem(file, "Start");
    EXPECT_EQ(Access::TimerActive(*frame), 1);
    ASSERT_TRUE(WaitFor([&] { return Access::Expanded(*frame) > halted + 20; }, 5000));
}

TEST_F(SolverWindowTest, StepFromTheMenuStepsOnceFromAHaltedSearch)
{
    frame->OnCommand(ID_FILE_START);
    ASSERT_TRUE(WaitFor([this] { return Access::Expanded(*frame) >= 5; }, 5000));
    QMenu* file = OpenMenu("File");
    const std::int32_t halted = Access::Expanded(*frame);
    ChooseItem(file, "Step");
    EXPECT_EQ(Access::Expanded(*frame), halted + 1);
    EXPECT_EQ(Access::TimerActive(*frame), 0);
    QTest::qWait(30);
    EXPECT_EQ(Access::Expanded(*frame), halted + 1);
}

TEST_F(SolverWindowTest, MouseButtonsStartStopAndStep)
{
    PressRight(); // one search step
    EXPECT_EQ(Access::Expanded(*frame), 1);
    EXPECT_TRUE(Wrote("Num = 1     ", kCounterX, kCounterY));
    PressLeft(); // starts the search, silently
    ASSERT_TRUE(WaitFor([this] { return Access::Expanded(*frame) >= 30; }, 5000));
    texts.clear();
    PressLeft(); // stops it, silently
    EXPECT_EQ(Access::TimerActive(*frame), 0);
    EXPECT_TRUE(texts.empty());
    const std::int32_t halted = Access::Expanded(*frame);
    QTest::qWait(30);
    EXPECT_EQ(Access::Expanded(*frame), halted);

    PressLeft();
    ASSERT_TRUE(WaitFor([&] { return Access::Expanded(*frame) > halted; }, 5000));
    PressRight(); // the right button stops a running search too
    EXPECT_EQ(Access::TimerActive(*frame), 0);
}

TEST_F(SolverWindowTest, DoubleClickDoesNothing)
{
    // A fast second press arrives as a double click: press, release, double click, release.
    QTest::mousePress(Client(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseRelease(Client(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseDClick(Client(), Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_EQ(Access::Expanded(*frame), 1); // only the first press stepped
}

TEST_F(SolverWindowTest, SearchFinishedByStepsReportsLikeTheTimer)
{
    AdvanceSearchToLastStep();
    texts.clear();
    PressRight();
    EXPECT_EQ(Search().IsDone(), 1);
    EXPECT_EQ(Access::SolutionSteps(*frame), 116);
    EXPECT_EQ(texts, (std::vector<WrittenText>{{200, 2, "Num = 24004     "},
                                                {400, 300, kTextSolved},
                                                {200, 300, "Number of steps = 116"}}));
}

TEST_F(SolverWindowTest, SolutionCursorByHand)
{
    FinishSearch();
    EXPECT_EQ(Access::ShownStep(*frame), -1);
    PressLeft(); // before any board: board 0
    EXPECT_EQ(Access::ShownStep(*frame), 0);
    PressLeft(); // not below 0
    EXPECT_EQ(Access::ShownStep(*frame), 0);
    EXPECT_EQ(TextsAt(kStepNumberX, kStepNumberY).back().text, StepNumberText(0));
    PressRight();
    PressRight();
    EXPECT_EQ(Access::ShownStep(*frame), 2);
    // Step after the last board shows board 0, then board 1.
    Access::SetShownStep(*frame, 116);
    frame->OnCommand(ID_FILE_STEP);
    EXPECT_EQ(Access::ShownStep(*frame), 0);
    frame->OnCommand(ID_FILE_STEP);
    EXPECT_EQ(Access::ShownStep(*frame), 1);
    EXPECT_EQ(TextsAt(kStepNumberX, kStepNumberY).back().text, StepNumberText(1));
}

TEST_F(SolverWindowTest, StepNumberGoingDownLeavesNoStaleDigits)
{
    FinishSearch();
    Access::SetShownStep(*frame, 11);
    PressLeft(); // 10
    PressLeft(); // 9
    // The text written last at (15, 370) covers at least as much as the one before it.
    // The text written last at (15, 370) is at least as long as the visible part of
    // the one before it, so no digit of 10 is left beside the 9.
    const auto stepTexts = TextsAt(kStepNumberX, kStepNumberY);
    ASSERT_EQ(stepTexts.size(), 2u);
    const std::string before = stepTexts[0].text.substr(0, stepTexts[0].text.find_last_not_of(' ') + 1);
    EXPECT_EQ(before, "Solution Step Number 10");
    EXPECT_GE(stepTexts[1].text.size(), before.size());
    EXPECT_EQ(stepTexts[1].text.substr(0, before.size()), "Solution Step Number 9 ");
}

TEST_F(SolverWindowTest, PathBoardLandsOnTheClientArea)
{
    FinishSearch();
    PressLeft(); // board 0, the start layout, at (10, 250) with 30-pixel cells
    const QImage pixels = Pixels();
    const QRgb expectedRows[4][5] = {
        {qRgb(0, 150, 0), qRgb(0, 100, 0), qRgb(0, 150, 0), qRgb(0, 100, 0), qRgb(255, 255, 0)},
        {qRgb(150, 0, 0), qRgb(100, 0, 0), qRgb(100, 100, 100), qRgb(255, 255, 0), qRgb(0, 0, 0)},
        {qRgb(100, 0, 0), qRgb(100, 0, 0), qRgb(50, 50, 50), qRgb(255, 255, 0), qRgb(0, 0, 0)},
        {qRgb(0, 150, 0), qRgb(0, 100, 0), qRgb(0, 150, 0), qRgb(0, 100, 0), qRgb(255, 255, 0)},
    };
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 5; ++column)
            EXPECT_EQ(pixels.pixel(10 + column * 30 + 15, 250 + row * 30 + 15), expectedRows[row][column])
                << row << "," << column;
    EXPECT_EQ(pixels.pixel(10, 250), qRgb(0, 0, 0));
    EXPECT_EQ(pixels.pixel(159, 369), qRgb(0, 0, 0));
    EXPECT_EQ(pixels.pixel(160, 300), qRgb(255, 255, 255));
}

TEST_F(SolverWindowTest, SearchStepDrawsItsBoardsOnTheClientArea)
{
    PressRight();
    PressRight(); // node 1 with its predecessor, the root, and four children
    const QImage pixels = Pixels();
    EXPECT_EQ(pixels.pixel(115, 10), qRgb(0, 150, 0));   // predecessor's first square
    EXPECT_EQ(pixels.pixel(40, 70), qRgb(0, 150, 0));    // node's first square
    EXPECT_EQ(pixels.pixel(198 + 5, 205), qRgb(0, 150, 0)); // child in slot 3
    // Node 1 has no child in slot 0: the root's child drawn there a step before stays.
    EXPECT_EQ(pixels.pixel(3 + 5, 205), qRgb(0, 150, 0));
}

TEST_F(SolverWindowTest, RepaintShowsTheModesText)
{
    window->resize(700, 500);
    QCoreApplication::processEvents();
    frame->UpdateWindow();
    EXPECT_EQ(texts.back(), (WrittenText{400, 300, kTextContinueSolving}));

    FinishSearch();
    PressRight();
    texts.clear();
    window->resize(640, 480);
    QCoreApplication::processEvents();
    frame->UpdateWindow();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts.back(), (WrittenText{400, 300, kTextChooseShowSolution}));
    // Boards and counters are gone: the path board's place is white again.
    EXPECT_EQ(Pixels().pixel(25, 265), qRgb(255, 255, 255));
}

TEST_F(SolverWindowTest, ResetDuringASearchStartsAgainFromTheStart)
{
    frame->OnCommand(ID_FILE_START);
    ASSERT_TRUE(WaitFor([this] { return Access::Expanded(*frame) >= 50; }, 5000));
    texts.clear();
    frame->OnCommand(ID_FILE_RESET);
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(Access::TimerActive(*frame), 0);
    EXPECT_EQ(Search().Last(), 0);
    QTest::qWait(30);
    EXPECT_EQ(Access::Expanded(*frame), 0); // the timer is really stopped
    frame->OnCommand(ID_FILE_START);
    ASSERT_TRUE(WaitFor([this] { return !TextsAt(kCounterX, kCounterY).empty(); }, 5000));
    EXPECT_EQ(TextsAt(kCounterX, kCounterY).front().text, "Num = 1     ");
}

TEST_F(SolverWindowTest, ResetDuringAReplayReturnsToSearching)
{
    FinishSearch();
    frame->OnCommand(ID_FILE_SHOWSOLUTION);
    ASSERT_TRUE(WaitFor([this] { return Access::ShownStep(*frame) >= 1; }, 5000));
    texts.clear();
    frame->OnCommand(ID_FILE_RESET);
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(Search().IsDone(), 0);
    EXPECT_EQ(Access::ShownStep(*frame), -1);
    QTest::qWait(450);
    EXPECT_TRUE(texts.empty()); // no replay tick came
}

TEST_F(SolverWindowTest, ExitClosesTheWindowAndFreesTheFrame)
{
    ChooseFromMenu("File", "E&xit");
    ASSERT_TRUE(WaitFor([this] { return window.isNull(); }, 2000));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(SolverWindowTest, CloseBoxClosesTheWindowAndFreesTheFrame)
{
    frame->OnCommand(ID_FILE_START); // a running timer ends with the window
    window->close();
    ASSERT_TRUE(WaitFor([this] { return window.isNull(); }, 2000));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

} // namespace
