#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "XServer.h"
#include "framework/platform/x11/X11Backend.h"

struct _XDisplay;

namespace emr::testing {

using platform::TEvent;
using platform::TEventType;
using platform::TWindowKind;
using platform::TWindowStyle;
using platform::WindowId;

/// A backend on the private Xvfb server, and a second connection of the
/// test's own (the "probe") to look at what the server really shows.
class X11Test : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Creates a window and shows it; returns once the server has mapped it.
    WindowId Show(const TWindowStyle& style, const TRect& bounds, const std::string& title = "test");
    /// Fills the window with `color` (0x00RRGGBB) and presents it whole.
    void Fill(WindowId window, int width, int height, std::uint32_t color);

    /// Takes events until one satisfies `match` (others are kept in `Seen`);
    /// nullopt after `timeoutMs`.
    std::optional<TEvent> Await(const std::function<bool(const TEvent&)>& match, int timeoutMs = 3000);
    std::optional<TEvent> Await(TEventType type, int timeoutMs = 3000);
    /// Takes every event that arrives within `quietMs` of the previous one.
    std::vector<TEvent> Drain(int quietMs = 150);

    /// A pixel of the root window as the server holds it (0x00RRGGBB).
    std::uint32_t ScreenPixel(int x, int y);
    /// The geometry xdotool reports for a window: "x y width height" (client area).
    std::string Geometry(WindowId window);
    /// Synchronises the probe with the server after the backend's requests.
    void Sync();

    platform::x11::X11Backend& B() { return *backend_; }
    _XDisplay* Probe() { return probe_; }

    std::vector<TEvent> Seen;

private:
    std::unique_ptr<platform::x11::X11Backend> backend_;
    _XDisplay* probe_ = nullptr;
};

} // namespace emr::testing
