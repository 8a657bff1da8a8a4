// Start to first frame and closing of a window of N toolbars with 20 buttons each
// on four dock panels (see TLargeWindow). Run with N = 1, 10, 30, 100 and 300 to
// see how the cost grows; compare the CPU column on a busy machine.
#include <benchmark/benchmark.h>

#include "LargeWindow.h"

namespace {

using emr::bench::TLargeWindow;

void BM_LargeWindowStartToFirstFrame(benchmark::State& state) {
    TLargeWindow window(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        window.Open();
        state.PauseTiming();
        window.Close();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LargeWindowStartToFirstFrame)
    ->Arg(1)
    ->Arg(10)
    ->Arg(30)
    ->Arg(100)
    ->Arg(300)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_LargeWindowClose(benchmark::State& state) {
    TLargeWindow window(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        window.Open();
        state.ResumeTiming();
        window.Close();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LargeWindowClose)
    ->Arg(1)
    ->Arg(10)
    ->Arg(30)
    ->Arg(100)
    ->Arg(300)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
