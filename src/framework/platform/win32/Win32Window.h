#pragma once
// What the backend keeps about each of its windows (private to the backend).
#include <cstdint>
#include <vector>

#include "framework/platform/win32/Win32Backend.h"

namespace emr::platform::win32 {

/// The system's window style and extended style for a framework window style.
struct TStyleBits {
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
};

struct Win32Backend::TWindow {
    WindowId Id = 0;
    TWindowStyle Style;
    TStyleBits Bits;
    TRect Bounds;
    TCursorShape Cursor = TCursorShape::Arrow;
    /// The last presented picture (0x00RRGGBB, Width x Height).
    std::vector<std::uint32_t> Picture;
    int Width = 0;
    int Height = 0;
    bool Moving = false;     // the program itself moves the window
    bool Destroying = false; // the program itself destroys the window
    /// The DPI the window is drawn at (96 is a scale of 1).
    unsigned Dpi = 96;
};

} // namespace emr::platform::win32
