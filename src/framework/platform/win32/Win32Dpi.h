#pragma once

#include <cstdint>

#include "framework/core/Geometry.h"
#include "framework/platform/Backend.h"

namespace emr::platform::win32 {

/// The system's DPI calls. Each is looked up at run time: per-monitor DPI came
/// with Windows 8.1 (shcore) and 10 (user32), and the program must still start
/// on Windows 7, where the screen's one DPI is all there is.
class Win32Dpi {
public:
    static constexpr unsigned kBaseDpi = 96;

    /// Makes the process per-monitor DPI aware (version 2, else 1, else system
    /// aware) when nothing has made it aware yet: the program's manifest says so
    /// before the process starts, but a program built on the toolkit may have none,
    /// and the backend's coordinates are device pixels only in an aware process.
    static void DeclareAwareness();

    /// The DPI a window is drawn at.
    static unsigned WindowDpi(WindowId window);
    /// The DPI of a display monitor (an HMONITOR).
    static unsigned MonitorDpi(void* monitor);
    /// The DPI of the monitor that holds most of `bounds`.
    static unsigned DpiAt(const TRect& bounds);
    /// The screen's one DPI (LOGPIXELSX).
    static unsigned SystemDpi();
    static double ScaleOf(unsigned dpi) { return static_cast<double>(dpi) / kBaseDpi; }

    /// The window rectangle whose client area is `client` for a window with these
    /// styles at `dpi` (the frame grows with the DPI).
    static TRect OuterRect(std::uint32_t style, std::uint32_t exStyle, const TRect& client, unsigned dpi);

    /// The client size at `newDpi` for a client of `size` device pixels at
    /// `oldDpi`: the same size in device-independent pixels, rounded up, so that
    /// what was laid out to fit (a floating toolbar's rows) still fits.
    static TPoint ScaledClientSize(TPoint size, unsigned oldDpi, unsigned newDpi);
};

} // namespace emr::platform::win32
