#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace emr {

/// What a soak run plays and where it stops.
struct TSoakOptions {
    std::uint64_t Seed = 1;
    std::uint64_t Events = 10000;
    /// Folder for the settings file the patch writes; empty: a fresh temporary one.
    std::string ConfigFolder;
};

/// What a soak run did.
struct TSoakResult {
    std::uint64_t Events = 0;
    std::uint64_t Checks = 0;
    /// How many times the main window ended (a patch, 退出, a close) and was made anew.
    std::uint64_t Restarts = 0;
    /// Empty when every invariant held; else what broke, with the events before it.
    std::string Failure;
};

/// Plays random input against the main window on the headless backend:
/// pointer moves, presses and releases of all three buttons, clicks, double
/// clicks, keys with and without modifiers, typed text, waits and resizes
/// (extreme ones too), and asks the application after each event whether its
/// controls hold their invariants (TApplication::CheckInvariants): at most one
/// hot button per toolbar, no capture once every button is released, and each
/// dock panel's rows holding their toolbars.
/// Modal boxes and menus opened by the input take the events that follow, as
/// they would a user's. The same seed plays the same run.
TSoakResult RunSoak(const TSoakOptions& options, std::ostream& progress);

} // namespace emr
