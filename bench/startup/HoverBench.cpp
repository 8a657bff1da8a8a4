// The pointer going onto "确定" and off it again, as a user moves it, through
// the whole program: the server's motion and crossing events, the event loop,
// the hover repaint and the present. What counts is the program's own CPU time
// (all its threads) per change, read from the kernel's scheduler statistics;
// the benchmark moves the pointer from a connection of its own.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "ProgramLauncher.h"

namespace {

using emr::bench::TProgramLauncher;

/// Nanoseconds the process has run on a processor, summed over its threads.
long long ProcessCpuNs(pid_t pid) {
    long long total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir) return 0;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
        long long ns = 0;
        if (stat >> ns) total += ns;
    }
    closedir(dir);
    return total;
}

/// The top-level window whose _NET_WM_PID is `pid`, or 0.
Window WindowOf(Display* display, pid_t pid) {
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                               &items, &after, &data) == Success &&
            data && items == 1 && *reinterpret_cast<unsigned long*>(data) == static_cast<unsigned long>(pid))
            found = children[i];
        if (data) XFree(data);
    }
    if (children) XFree(children);
    return found;
}

std::uint32_t ScreenPixel(Display* display, int x, int y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    const auto pixel = static_cast<std::uint32_t>(XGetPixel(image, 0, 0));
    XDestroyImage(image);
    return pixel;
}

/// Moves the pointer to (x, y) of the screen and gives the program time to
/// answer, as the gaps between a user's pointer events do.
void MovePointer(Display* display, int x, int y) {
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
    XSync(display, False);
    usleep(2000);
}

void PointerOverButtonThroughEventLoop(benchmark::State& state) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        state.SkipWithError("no X display");
        return;
    }
    TProgramLauncher program(emr::bench::ProgramCommand());
    Window window = 0;
    if (program.AwaitFirstFrame(10000) != 0) window = WindowOf(display, program.Pid());
    int left = 0, top = 0;
    Window child;
    if (!window ||
        !XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &left, &top, &child)) {
        state.SkipWithError("the program showed no window");
        XCloseDisplay(display);
        return;
    }
    // "确定" spans (12, 3) to (46, 44) of the client area; the panel below the
    // command bar is hovered by nothing.
    const int onX = left + 29, onY = top + 20, offX = left + 200, offY = top + 100;
    MovePointer(display, offX, offY);
    const std::uint32_t plain = ScreenPixel(display, left + 14, top + 5);
    MovePointer(display, onX, onY);
    usleep(50000);
    if (ScreenPixel(display, left + 14, top + 5) == plain) {
        state.SkipWithError("the button did not change under the pointer");
        XCloseDisplay(display);
        return;
    }
    constexpr int kChanges = 200;
    for (auto _ : state) {
        const long long before = ProcessCpuNs(program.Pid());
        for (int i = 0; i < kChanges / 2; ++i) {
            MovePointer(display, offX, offY);
            MovePointer(display, onX, onY);
        }
        usleep(20000); // the last change settles
        const long long spent = ProcessCpuNs(program.Pid()) - before;
        state.SetIterationTime(static_cast<double>(spent) / 1e9 / kChanges);
    }
    XCloseDisplay(display);
}

BENCHMARK(PointerOverButtonThroughEventLoop)
    ->Iterations(10)
    ->Repetitions(5)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->ReportAggregatesOnly(true);

} // namespace
