#pragma once

#include <ctime>
#include <functional>

#include "app/LocalePlatform.h"
#include "app/StartupFormats.h"

namespace emr {

/// What the main window takes from the program around it: the locale platform the
/// patch writes through, the formats read at start-up, and the clock. The program
/// fills it in before creating the window; tests put their own in.
struct TAppEnvironment {
    TLocalePlatform* Platform = nullptr;
    TStartupFormats Formats;
    /// The current local time; the system clock when empty.
    std::function<std::time_t()> Clock;

    std::time_t Now() const { return Clock ? Clock() : std::time(nullptr); }
};

/// The environment of the running program.
TAppEnvironment& AppEnvironment();

} // namespace emr
