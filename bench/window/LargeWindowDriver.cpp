// One opening and one closing of the large window, for counting instructions:
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='*MeasuredOpen*' large_window_driver 300
// (and '*MeasuredClose*' for the closing).
#include <cstdio>
#include <cstdlib>

#include "LargeWindow.h"

namespace {

// Kept out of line so that a profiler can collect exactly what they run.
[[gnu::noinline]] void MeasuredOpen(emr::bench::TLargeWindow& window) {
    window.Open();
}

[[gnu::noinline]] void MeasuredClose(emr::bench::TLargeWindow& window) {
    window.Close();
}

} // namespace

int main(int argc, char** argv) {
    const int toolBars = argc > 1 ? std::atoi(argv[1]) : 0;
    if (toolBars <= 0) {
        std::fprintf(stderr, "usage: large_window_driver TOOLBARS\n");
        return 2;
    }
    emr::bench::TLargeWindow window(toolBars);
    MeasuredOpen(window);
    MeasuredClose(window);
    return 0;
}
