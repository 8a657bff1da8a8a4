#pragma once

#include <cstdint>

#include "framework/platform/Backend.h"

namespace emr::platform::x11 {

/// Decides whether a button press completes a double click: the same button
/// on the same window, at most `kIntervalMs` after the press that started it
/// and at most `kDistance` pixels away from it in each direction. The press
/// that completes a double click starts nothing, so a third quick press is a
/// single click again.
class ClickTracker {
public:
    static constexpr std::int64_t kIntervalMs = 500;
    static constexpr int kDistance = 4;

    /// Records a press at screen position (x, y) at `timeMs`; true when it is
    /// the second press of a double click.
    bool Press(WindowId window, TMouseButton button, int x, int y, std::int64_t timeMs);
    /// Forgets the last press (a window vanished, the pointer was grabbed).
    void Reset() { armed_ = false; }

private:
    bool armed_ = false;
    WindowId window_ = 0;
    TMouseButton button_ = TMouseButton::Left;
    int x_ = 0;
    int y_ = 0;
    std::int64_t time_ = 0;
};

} // namespace emr::platform::x11
