// The Windows backend's DPI handling on real windows (under Wine in Xvfb in the
// tests). Wine gives every monitor the one DPI of its prefix, so a change of DPI
// is played by sending the messages the system sends when a window moves to a
// monitor of another DPI.
#include <gtest/gtest.h>

#include <optional>

#include "framework/platform/win32/Win32Backend.h"

// Last: the system headers' macros must not rename the framework's names.
#include "framework/platform/win32/Win32Api.h"

namespace emr::platform {
namespace {

constexpr UINT kWmDpiChanged = 0x02E0;
constexpr UINT kWmGetDpiScaledSize = 0x02E4;

HWND Handle(WindowId id) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(id));
}

TRect ClientOnScreen(WindowId id) {
    RECT client;
    GetClientRect(Handle(id), &client);
    POINT origin{0, 0};
    ClientToScreen(Handle(id), &origin);
    return TRect::FromBounds(static_cast<int>(origin.x), static_cast<int>(origin.y),
                             static_cast<int>(client.right), static_cast<int>(client.bottom));
}

class Win32DpiTest : public ::testing::Test {
protected:
    win32::Win32Backend backend;

    WindowId Create(TWindowKind kind, const TRect& bounds) {
        TWindowStyle style;
        style.Kind = kind;
        const WindowId id = backend.CreateWindow(style, bounds, "dpi");
        backend.SetVisible(id, true);
        return id;
    }

    /// Every event that arrives within a fifth of a second.
    std::vector<TEvent> Drain() {
        std::vector<TEvent> events;
        const std::int64_t deadline = backend.NowMs() + 200;
        while (auto e = backend.NextEvent(deadline))
            events.push_back(*e);
        return events;
    }
};

TEST_F(Win32DpiTest, AtTheDefaultDpiEveryMonitorAndWindowHasScaleOne) {
    const WindowId id = Create(TWindowKind::Framed, TRect::FromBounds(100, 100, 300, 200));
    EXPECT_EQ(backend.WindowScale(id), 1.0);
    const std::vector<double> scales = backend.MonitorScales();
    EXPECT_EQ(scales.size(), backend.Monitors().size());
    EXPECT_EQ(scales, std::vector<double>(scales.size(), 1.0));
}

TEST_F(Win32DpiTest, DpiChangedTakesTheSuggestedRectangleAndIsOneScaleChange) {
    const WindowId id = Create(TWindowKind::Framed, TRect::FromBounds(100, 100, 300, 200));
    Drain();
    RECT suggested{150, 160, 150 + 470, 160 + 340};
    SendMessageW(Handle(id), kWmDpiChanged, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

    RECT outer;
    GetWindowRect(Handle(id), &outer);
    EXPECT_EQ((TRect{static_cast<int>(outer.left), static_cast<int>(outer.top), static_cast<int>(outer.right),
                     static_cast<int>(outer.bottom)}),
              (TRect{150, 160, 620, 500}))
        << "the window ignored the suggested rectangle";
    EXPECT_EQ(backend.WindowScale(id), 1.5);

    const std::vector<TEvent> events = Drain();
    int changes = 0, configures = 0;
    for (const TEvent& e : events) {
        if (e.Window != id) continue;
        if (e.Type == TEventType::Configure) ++configures;
        if (e.Type != TEventType::ScaleChanged) continue;
        ++changes;
        EXPECT_EQ(e.Rect, ClientOnScreen(id)) << "the event carries the new client bounds";
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(configures, 0) << "the new bounds come with the scale change, not as an event of their own";

    // A message without a DPI changes nothing: a scale of 0 is none.
    SendMessageW(Handle(id), kWmDpiChanged, 0, reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(backend.WindowScale(id), 1.5);
}

TEST_F(Win32DpiTest, DpiScaledSizeKeepsTheClientSizeInDeviceIndependentPixels) {
    // A floating toolbar of 301 × 45: at 150 % its rows need 451.5 × 67.5 pixels,
    // so 452 × 68; a pixel less would wrap its last button onto another row.
    const WindowId toolbar = Create(TWindowKind::Borderless, TRect::FromBounds(100, 100, 301, 45));
    SIZE size{0, 0};
    const LRESULT answered =
        SendMessageW(Handle(toolbar), kWmGetDpiScaledSize, 144, reinterpret_cast<LPARAM>(&size));
    EXPECT_TRUE(answered);
    EXPECT_EQ(size.cx, 452);
    EXPECT_EQ(size.cy, 68);

    SendMessageW(Handle(toolbar), kWmGetDpiScaledSize, 192, reinterpret_cast<LPARAM>(&size));
    EXPECT_EQ(size.cx, 602);
    EXPECT_EQ(size.cy, 90);

    // A framed window: the client keeps its proportion and the frame is added around it.
    const WindowId framed = Create(TWindowKind::Framed, TRect::FromBounds(100, 300, 382, 198));
    SendMessageW(Handle(framed), kWmGetDpiScaledSize, 192, reinterpret_cast<LPARAM>(&size));
    const TRect frame = backend.FrameExtents(framed);
    EXPECT_GE(size.cx, 764 + frame.Left + frame.Right);
    EXPECT_GE(size.cy, 396 + frame.Top + frame.Bottom);
}

} // namespace
} // namespace emr::platform
