// Engine speed and memory: the whole search, one step with its drawings, and the
// heap the engine holds once the search has stored every position it needs.
#include "board_search.h"

#include "raster_dc.h"
#include "recording_dc.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <malloc.h>

#include <memory>

namespace {

void WholeSearchDiscardingDrawings(benchmark::State& state)
{
    for (auto _ : state) {
        auto search = std::make_unique<CBoardSearch>();
        CRecordingDC discard(false);
        std::int32_t last = 0;
        while (search->IsDone() == 0)
            last = search->Step(&discard);
        benchmark::DoNotOptimize(last);
    }
}
BENCHMARK(WholeSearchDiscardingDrawings)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Every step of the whole search drawn into a window-sized image; reports the mean step.
void StepWithRasterDrawings(benchmark::State& state)
{
    QImage image(604, 410, QImage::Format_RGB32);
    std::int64_t steps = 0;
    for (auto _ : state) {
        auto search = std::make_unique<CBoardSearch>();
        while (search->IsDone() == 0) {
            CRasterDC dc(image); // one surface per step, as a timer tick gets
            search->Step(&dc);
            ++steps;
        }
    }
    state.SetItemsProcessed(steps);
    state.counters["us_per_step"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                           benchmark::Counter::kIs1000);
}
BENCHMARK(StepWithRasterDrawings)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Heap in use with the whole search stored, above what was in use before the engine.
void EngineHeapAfterWholeSearch(benchmark::State& state)
{
    double megabytes = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks + mallinfo2().hblkhd;
        auto search = std::make_unique<CBoardSearch>();
        CRecordingDC discard(false);
        while (search->IsDone() == 0)
            search->Step(&discard);
        const std::size_t after = mallinfo2().uordblks + mallinfo2().hblkhd;
        megabytes = static_cast<double>(after - before) / (1024.0 * 1024.0);
    }
    state.counters["heap_MB"] = megabytes;
}
BENCHMARK(EngineHeapAfterWholeSearch)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
