// The whole search driven by the real 1 ms timer, from Start to "Puzzle Solved!",
// in the real window: wall time, ticks per second and the slowest ticks' handler time.
#include "solver_app.h"
#include "solver_frame.h"
#include "test_support.h"
#include "resource.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The main window as the program opens it.
CSolverFrame* OpenMainWindow(CSolverApp& app)
{
    auto* frame = new CSolverFrame;
    app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return frame;
}

void CloseMainWindow(CSolverFrame* frame)
{
    frame->SendCloseRequest();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void SearchByTimerInTheWindow(benchmark::State& state)
{
    for (auto _ : state) {
        CSolverApp app;
        CSolverFrame* frame = OpenMainWindow(app);

        bool solved = false;
        SetTextHook(frame, [&solved](int, int, std::string_view text) {
            solved = solved || text.rfind("Puzzle Solved!", 0) == 0;
        });
        std::vector<std::int64_t> tickNs;
        tickNs.reserve(30000);
        SetHandlerTimingHook([&tickNs](MessageKind kind, std::int64_t ns) {
            if (kind == MessageKind::Timer)
                tickNs.push_back(ns);
        });

        QElapsedTimer clock;
        clock.start();
        frame->OnCommand(ID_FILE_START);
        while (!solved && clock.elapsed() < 120000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        SetHandlerTimingHook({});

        std::sort(tickNs.begin(), tickNs.end());
        const auto percentile = [&tickNs](double p) {
            return tickNs.empty() ? 0.0 : static_cast<double>(tickNs[static_cast<std::size_t>(p * static_cast<double>(tickNs.size() - 1))]) / 1000.0;
        };
        state.counters["solved"] = solved ? 1 : 0;
        state.counters["seconds"] = seconds;
        state.counters["ticks"] = static_cast<double>(tickNs.size());
        state.counters["ticks_per_s"] = static_cast<double>(tickNs.size()) / seconds;
        state.counters["tick_p50_us"] = percentile(0.50);
        state.counters["tick_p99_us"] = percentile(0.99);
        CloseMainWindow(frame);
    }
}
BENCHMARK(SearchByTimerInTheWindow)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

// A mouse press posted while the search runs: how long until its handler has run.
void PressDuringTheSearch(benchmark::State& state)
{
    for (auto _ : state) {
        CSolverApp app;
        CSolverFrame* frame = OpenMainWindow(app);
        frame->OnCommand(ID_FILE_START);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 2000) // well into the search
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

        std::int64_t handledAtNs = -1;
        SetHandlerTimingHook([&](MessageKind kind, std::int64_t) {
            if (kind == MessageKind::LButtonDown && handledAtNs < 0)
                handledAtNs = clock.nsecsElapsed();
        });
        QWidget* client = ClientWidgetOf(frame);
        const QPointF at(300, 200);
        const std::int64_t postedAtNs = clock.nsecsElapsed();
        QCoreApplication::postEvent(client, new QMouseEvent(QEvent::MouseButtonPress, at, client->mapToGlobal(at),
                                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        while (handledAtNs < 0 && clock.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        SetHandlerTimingHook({});
        const double latencyUs = static_cast<double>(handledAtNs - postedAtNs) / 1000.0;
        state.SetIterationTime(latencyUs / 1e6);
        state.counters["press_to_handled_us"] = latencyUs;
        CloseMainWindow(frame);
    }
}
BENCHMARK(PressDuringTheSearch)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    int qtArgc = 1;
    char name[] = "window_bench";
    char* qtArgv[] = {name, nullptr};
    QApplication toolkit(qtArgc, qtArgv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
