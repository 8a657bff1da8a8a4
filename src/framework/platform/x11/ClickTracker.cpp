#include "framework/platform/x11/ClickTracker.h"

#include <cstdlib>

namespace emr::platform::x11 {

bool ClickTracker::Press(WindowId window, TMouseButton button, int x, int y, std::int64_t timeMs) {
    // Server timestamps are 32-bit milliseconds that wrap; a negative gap is
    // a wrap or a clock from another source, never a quick second press.
    const std::int64_t gap = timeMs - time_;
    const bool isDouble = armed_ && window == window_ && button == button_ && gap >= 0 &&
                          gap <= kIntervalMs && std::abs(x - x_) <= kDistance &&
                          std::abs(y - y_) <= kDistance;
    if (isDouble) {
        armed_ = false;
        return true;
    }
    armed_ = true;
    window_ = window;
    button_ = button;
    x_ = x;
    y_ = y;
    time_ = timeMs;
    return false;
}

} // namespace emr::platform::x11
