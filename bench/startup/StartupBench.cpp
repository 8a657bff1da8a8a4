// Measures a program's start-up on the X display in DISPLAY: the time from
// exec to its first presented frame and its peak resident set size by then.
// The program's X11 backend writes the monotonic time of its first frame to
// the file descriptor named by EMR_FIRST_FRAME_FD; the launcher takes the
// time before it forks, waits for that line, then ends the program.
//
//   startup_bench [benchmark flags]      the program in EMR_STARTUP_PROGRAM,
//                                        10 repetitions after 3 warm-ups
//   startup_bench --once PROGRAM [ARGS]  one run (PROGRAM may be a wrapper
//                                        such as valgrind); prints the figures
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ProgramLauncher.h"

namespace {

struct TRun {
    bool Ok = false;
    double FirstFrameMs = 0;
    long PeakRssKiB = 0;
    double CpuMs = 0; // user + system time of the program: steadier than the wall clock on a busy machine
    std::string Error;
};

TRun RunOnce(const std::vector<std::string>& command, int timeoutMs) {
    TRun run;
    emr::bench::TProgramLauncher program(command);
    const long long frameNs = program.AwaitFirstFrame(timeoutMs);
    int status = 0;
    program.Finish(run.CpuMs, run.PeakRssKiB, status);
    if (frameNs == 0) {
        run.Error = "no frame was presented (exit status " + std::to_string(status) + ")";
        return run;
    }
    run.FirstFrameMs = static_cast<double>(frameNs - program.StartNs()) / 1e6;
    run.Ok = true;
    return run;
}

void StartupToFirstFrame(benchmark::State& state) {
    static bool warmedUp = false;
    const auto command = emr::bench::ProgramCommand();
    if (!warmedUp) {
        for (int i = 0; i < 3; ++i)
            RunOnce(command, 10000);
        warmedUp = true;
    }
    for (auto _ : state) {
        // Each run starts on a settled machine, as when a user opens the program:
        // right after the previous instance is killed, the kernel and the X server
        // are still tearing it down on the other processor, which added about 12 ms.
        usleep(300 * 1000);
        const TRun run = RunOnce(command, 10000);
        if (!run.Ok) {
            state.SkipWithError(run.Error.c_str());
            break;
        }
        state.SetIterationTime(run.FirstFrameMs / 1000.0);
        state.counters["peak_rss_MiB"] = static_cast<double>(run.PeakRssKiB) / 1024.0;
        state.counters["cpu_ms"] = run.CpuMs;
    }
}

BENCHMARK(StartupToFirstFrame)
    ->Iterations(1)
    ->Repetitions(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--once") == 0) {
        const TRun run = RunOnce(std::vector<std::string>(argv + 2, argv + argc), 120000);
        if (!run.Ok) {
            std::fprintf(stderr, "startup_bench: %s\n", run.Error.c_str());
            return 1;
        }
        std::printf("first_frame_ms=%.3f cpu_ms=%.3f peak_rss_kib=%ld\n", run.FirstFrameMs, run.CpuMs,
                    run.PeakRssKiB);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
