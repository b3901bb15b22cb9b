// The one place that catches failures: a handler that fails ends, the user is told
// in plain words, and the program goes on.
#include "application.h"
#include "exceptions.h"
#include "window.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <new>

namespace {

constexpr UINT kFileFails = 1, kMemoryRunsOut = 2, kWorks = 3;

const MenuResource& TestMenu()
{
    static const MenuResource menu{
        1, {{"File", 0, MF_POPUP, {{"Fail", kFileFails, 0, {}}, {"Exhaust", kMemoryRunsOut, 0, {}}, {"Work", kWorks, MF_END, {}}}}}};
    return menu;
}

class FailingFrame : public CFrameWnd {
public:
    FailingFrame() { Create(nullptr, "Test", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, TestMenu()); }
    int worked = 0;
    int ticks = 0;

protected:
    const MessageMap& GetMessageMap() const override
    {
        static const MessageMap map{&CFrameWnd::GetMessageMap(),
                                    {on::Command(kFileFails, &FailingFrame::OnFail),
                                     on::Command(kMemoryRunsOut, &FailingFrame::OnExhaust),
                                     on::Command(kWorks, &FailingFrame::OnWork), on::Timer(&FailingFrame::OnTimer)}};
        return map;
    }
    void OnFail() { throw CFileException("solfile.puz could not be written: No space left on device."); }
    void OnExhaust() { throw std::bad_alloc(); }
    void OnWork() { ++worked; }
    void OnTimer(UINT_PTR)
    {
        ++ticks;
        KillTimer(7);
        throw CFileException("A tick failed.");
    }
};

QAction* Item(FailingFrame* frame, const QString& caption)
{
    for (QAction* item : FrameWindowOf(frame)->menuBar()->actions().front()->menu()->actions())
        if (item->text() == caption)
            return item;
    return nullptr;
}

TEST(PlatformDispatchTest, FailingCommandIsReportedAndTheProgramGoesOn)
{
    auto* frame = new FailingFrame;
    frame->ShowWindow(SW_SHOW);
    ClearReportedFailure();

    Item(frame, "Fail")->trigger();
    EXPECT_EQ(LastReportedFailure(), "solfile.puz could not be written: No space left on device. The program goes on.");
    EXPECT_EQ(VisibleFailureBoxes(), 1); // shown without blocking: we are here

    Item(frame, "Exhaust")->trigger();
    EXPECT_NE(LastReportedFailure().find("ran out of memory"), std::string::npos);
    EXPECT_EQ(VisibleFailureBoxes(), 1); // the box shown already tells the new failure

    Item(frame, "Work")->trigger();
    EXPECT_EQ(frame->worked, 1);
    delete frame; // message boxes go with their window
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(VisibleFailureBoxes(), 0);
}

TEST(PlatformDispatchTest, FailingTickIsReportedAndLaterEventsRun)
{
    auto* frame = new FailingFrame;
    frame->ShowWindow(SW_SHOW);
    ClearReportedFailure();
    frame->SetTimer(7, 1, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([frame] { return frame->ticks > 0; }, 2000));
    EXPECT_EQ(LastReportedFailure(), "A tick failed. The program goes on.");
    QTest::qWait(20);
    EXPECT_EQ(frame->ticks, 1); // stopped by the tick before it failed
    Item(frame, "Work")->trigger();
    EXPECT_EQ(frame->worked, 1);
    delete frame;
}

TEST(PlatformDispatchTest, RestartingATimerReplacesItsPeriod)
{
    auto* frame = new FailingFrame;
    frame->ShowWindow(SW_SHOW);
    EXPECT_EQ(frame->SetTimer(9, 10000, nullptr), 9u);
    EXPECT_EQ(frame->SetTimer(9, 10000, nullptr), 9u);
    EXPECT_EQ(frame->KillTimer(9), 1);
    EXPECT_EQ(frame->KillTimer(9), 0); // stopping a stopped timer is harmless
    delete frame;
}

} // namespace
