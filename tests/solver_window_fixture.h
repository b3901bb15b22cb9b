// A real main window, shown headless, with every text written on it recorded.
#pragma once

#include "board_search.h"
#include "recording_dc.h"
#include "resource.h"
#include "solver_app.h"
#include "solver_frame.h"
#include "status_texts.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>

#include <string>
#include <vector>

class CSolverFrameTestAccess {
public:
    static CBoardSearch& Search(CSolverFrame& f) { return f.m_search; }
    static std::int32_t TimerActive(const CSolverFrame& f) { return f.m_bTimerActive; }
    static std::int32_t SolutionSteps(const CSolverFrame& f) { return f.m_nSolutionSteps; }
    static std::int32_t Expanded(const CSolverFrame& f) { return f.m_nExpanded; }
    static std::int32_t ShownStep(const CSolverFrame& f) { return f.m_nShownStep; }
    static void SetShownStep(CSolverFrame& f, std::int32_t step) { f.m_nShownStep = step; }
};
using Access = CSolverFrameTestAccess;

struct WrittenText {
    int x;
    int y;
    std::string text;
    bool operator==(const WrittenText&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const WrittenText& t)
{
    return out << "(" << t.x << ", " << t.y << ") \"" << t.text << "\"";
}

class SolverWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CSolverFrame;
        app.m_pMainWnd = frame;
        window = FrameWindowOf(frame);
        SetTextHook(frame, [this](int x, int y, std::string_view text) { texts.push_back({x, y, std::string(text)}); });
        frame->ShowWindow(SW_SHOW);
        frame->UpdateWindow();
    }

    void TearDown() override
    {
        if (window) // not closed by the test itself
            delete frame;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CBoardSearch& Search() { return Access::Search(*frame); }
    QWidget* Client() { return ClientWidgetOf(frame); }
    QImage Pixels() { return ClientImageOf(frame); }

    // Brings the engine to the step before the goal without drawing, so that the next
    // search step (tick, Step or right button) finishes the search.
    void AdvanceSearchToLastStep()
    {
        CRecordingDC discard(false);
        while (Search().Head() < 24004)
            Search().Step(&discard);
        ASSERT_EQ(Search().IsDone(), 0);
    }
    // Finishes the search through the window, by one Step command.
    void FinishSearch()
    {
        AdvanceSearchToLastStep();
        frame->OnCommand(ID_FILE_STEP);
        ASSERT_EQ(Search().IsDone(), 1);
    }

    void PressLeft() { QTest::mousePress(Client(), Qt::LeftButton, {}, QPoint(300, 200)); }
    void PressRight() { QTest::mousePress(Client(), Qt::RightButton, {}, QPoint(300, 200)); }

    QAction* MenuAction(const QString& popupCaption, const QString& itemCaption = {})
    {
        for (QAction* popup : window->menuBar()->actions()) {
            if (popup->text() != popupCaption)
                continue;
            if (itemCaption.isEmpty())
                return popup;
            for (QAction* item : popup->menu()->actions())
                if (item->text() == itemCaption)
                    return item;
        }
        ADD_FAILURE() << "no menu item " << popupCaption.toStdString() << " > " << itemCaption.toStdString();
        return nullptr;
    }
    // Opens a pop-up of the menu bar with a real click and waits until it shows.
    QMenu* OpenMenu(const QString& popupCaption)
    {
        QAction* popup = MenuAction(popupCaption);
        QMenuBar* bar = window->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(popup).center());
        const bool shown = QTest::qWaitFor([popup] { return popup->menu()->isVisible(); }, 2000);
        EXPECT_TRUE(shown) << popupCaption.toStdString();
        return popup->menu();
    }
    // Chooses an item of an open pop-up with a real click.
    void ChooseItem(QMenu* menu, const QString& itemCaption)
    {
        for (QAction* item : menu->actions()) {
            if (item->text() != itemCaption)
                continue;
            QTest::mouseMove(menu, menu->actionGeometry(item).center());
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }, 2000));
            return;
        }
        ADD_FAILURE() << "no item " << itemCaption.toStdString();
    }
    void ChooseFromMenu(const QString& popupCaption, const QString& itemCaption)
    {
        ChooseItem(OpenMenu(popupCaption), itemCaption);
    }

    // Runs the event loop until the condition holds. (QTest::qWaitFor sleeps 10 ms between
    // rounds of events, which would hold a 1 ms timer to a hundred ticks a second.)
    static bool WaitFor(const std::function<bool()>& condition, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        while (!condition() && clock.elapsed() < timeoutMs) {
            QEventLoop slice;
            QTimer::singleShot(5, &slice, &QEventLoop::quit);
            slice.exec();
            // Windows closed from inside an event delete themselves only out here.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        return condition();
    }

    bool Wrote(const std::string& text, int x, int y) const
    {
        for (const WrittenText& t : texts)
            if (t.text == text && t.x == x && t.y == y)
                return true;
        return false;
    }
    std::vector<WrittenText> TextsAt(int x, int y) const
    {
        std::vector<WrittenText> out;
        for (const WrittenText& t : texts)
            if (t.x == x && t.y == y)
                out.push_back(t);
        return out;
    }

    CSolverApp app;
    CSolverFrame* frame = nullptr;
    QPointer<QMainWindow> window;
    std::vector<WrittenText> texts;
};

inline std::string StepNumberText(int step)
{
    CString text;
    text.Format(kFormatStepNumber, step);
    return text.str();
}
