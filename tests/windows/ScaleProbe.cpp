// Prints the scales the Windows backend finds: one line "window S" for a window
// it creates on the primary monitor, then "monitor S" for each monitor.
#include <cstdio>

#include "framework/platform/win32/Win32Backend.h"

int main() {
    emr::platform::win32::Win32Backend backend;
    emr::platform::TWindowStyle style;
    const emr::platform::WindowId window =
        backend.CreateWindow(style, emr::TRect::FromBounds(50, 50, 200, 100), "scale probe");
    std::printf("window %g\n", backend.WindowScale(window));
    for (double scale : backend.MonitorScales())
        std::printf("monitor %g\n", scale);
    backend.DestroyWindow(window);
    return window ? 0 : 1;
}
