#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "framework/core/Exception.h"
#include "framework/platform/headless/HeadlessBackend.h"

namespace emr::platform {
namespace {

std::vector<TEvent> Drain(HeadlessBackend& be) {
    std::vector<TEvent> out;
    while (auto e = be.NextEvent(be.NowMs()))
        out.push_back(*e);
    return out;
}

TEST(HeadlessBackend, PointerGoesToTheTopmostVisibleWindowUnderIt) {
    HeadlessBackend be;
    TWindowStyle framed;
    TWindowStyle onTop;
    onTop.StayOnTop = true;
    WindowId low = be.CreateWindow(framed, TRect::FromBounds(0, 0, 200, 200), "low");
    WindowId top = be.CreateWindow(onTop, TRect::FromBounds(100, 100, 200, 200), "top");
    WindowId high = be.CreateWindow(framed, TRect::FromBounds(50, 50, 100, 100), "high");
    for (WindowId w : {low, top, high})
        be.SetVisible(w, true);
    be.Raise(low);
    EXPECT_EQ(be.ZOrder(), (std::vector<WindowId>{high, low, top}));
    EXPECT_EQ(be.WindowAt({120, 120}), top);
    EXPECT_EQ(be.WindowAt({60, 60}), low);
    be.SetVisible(low, false);
    EXPECT_EQ(be.WindowAt({60, 60}), high);
    Drain(be);

    be.MoveMouse(60, 70);
    auto events = Drain(be);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Window, high);
    EXPECT_EQ(events[0].X, 10);
    EXPECT_EQ(events[0].Y, 20);
    EXPECT_EQ(be.PointerPosition(), (TPoint{60, 70}));
    // Moving onto another window tells the first one the pointer left.
    be.MoveMouse(250, 250);
    events = Drain(be);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].Type, TEventType::MouseLeaveWindow);
    EXPECT_EQ(events[0].Window, high);
    EXPECT_EQ(events[1].Window, top);
}

TEST(HeadlessBackend, GrabTakenBeforeDeliverySendsLaterInputToTheGrabbingWindow) {
    HeadlessBackend be;
    WindowId a = be.CreateWindow({}, TRect::FromBounds(0, 0, 100, 100), "a");
    be.SetVisible(a, true);
    Drain(be);
    be.Press(10, 10);
    be.MoveMouse(500, 500); // outside every window
    be.Release(500, 500);
    auto press = be.NextEvent(0);
    ASSERT_TRUE(press);
    EXPECT_EQ(press->Type, TEventType::MouseMove);
    press = be.NextEvent(0);
    ASSERT_TRUE(press && press->Type == TEventType::MouseDown);
    be.GrabPointer(a);
    auto move = be.NextEvent(0);
    ASSERT_TRUE(move);
    EXPECT_EQ(move->Window, a);
    EXPECT_EQ(move->X, 500);
    be.UngrabPointer();
    // Without the grab the release finds no window and is dropped.
    auto rest = Drain(be);
    for (const auto& e : rest)
        EXPECT_NE(e.Type, TEventType::MouseUp);
}

TEST(HeadlessBackend, PressActivatesFramedWindowsButNotPopups) {
    HeadlessBackend be;
    WindowId a = be.CreateWindow({}, TRect::FromBounds(0, 0, 100, 100), "a");
    TWindowStyle popupStyle;
    popupStyle.Kind = TWindowKind::Popup;
    WindowId popup = be.CreateWindow(popupStyle, TRect::FromBounds(200, 0, 50, 50), "p");
    WindowId b = be.CreateWindow({}, TRect::FromBounds(300, 0, 100, 100), "b");
    be.SetVisible(a, true);
    be.SetVisible(popup, true);
    EXPECT_EQ(be.ActiveWindow(), a);
    be.SetVisible(b, true);
    EXPECT_EQ(be.ActiveWindow(), b);
    Drain(be);
    be.Click(210, 10);
    Drain(be);
    EXPECT_EQ(be.ActiveWindow(), b);
    be.Click(10, 10);
    auto events = Drain(be);
    EXPECT_EQ(be.ActiveWindow(), a);
    std::vector<TEventType> types;
    for (auto& e : events)
        types.push_back(e.Type);
    auto down = std::find(types.begin(), types.end(), TEventType::MouseDown);
    auto activate = std::find(types.begin(), types.end(), TEventType::Activate);
    EXPECT_LT(activate - types.begin(), down - types.begin()) << "activation comes before the press";
    be.Key('A');
    events = Drain(be);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].Window, a);
    EXPECT_EQ(events[0].Key, 'A');
}

TEST(HeadlessBackend, ClockMovesOnlyThroughAdvanceTimeAndNeverBlocks) {
    HeadlessBackend be;
    EXPECT_FALSE(be.NextEvent(std::nullopt));
    EXPECT_FALSE(be.NextEvent(1000));
    EXPECT_EQ(be.NowMs(), 0);
    std::vector<std::int64_t> deadlines = {5, 12, 30};
    std::vector<std::int64_t> pumped;
    be.SetPump([&]() -> std::optional<std::int64_t> {
        pumped.push_back(be.NowMs());
        while (!deadlines.empty() && deadlines.front() <= be.NowMs())
            deadlines.erase(deadlines.begin());
        if (deadlines.empty()) return std::nullopt;
        return deadlines.front();
    });
    be.AdvanceTime(20);
    EXPECT_EQ(pumped, (std::vector<std::int64_t>{0, 5, 12, 20}));
    EXPECT_EQ(be.NowMs(), 20);
    // Outside AdvanceTime a wait for a deadline does not move the clock.
    EXPECT_FALSE(be.NextEvent(25));
    EXPECT_EQ(be.NowMs(), 20);
}

TEST(HeadlessBackend, PresentedPixelsComposeAndRenderToPng) {
    HeadlessBackend be({0, 0, 40, 30});
    WindowId w = be.CreateWindow({}, TRect::FromBounds(10, 5, 4, 3), "w");
    be.SetVisible(w, true);
    std::vector<std::uint32_t> pixels(4 * 3, 0x112233);
    pixels[5] = 0xABCDEF;
    be.Present(w, pixels.data(), 4, 3, 4, {1, 1, 2, 2});
    EXPECT_EQ(be.PixelAt(w, 1, 1), 0xABCDEFu);
    EXPECT_EQ(be.PixelAt(w, 0, 0), 0u) << "only the dirty part is copied";
    auto screen = be.ComposeScreen();
    EXPECT_EQ(screen[6 * 40 + 11], 0xABCDEFu);
    EXPECT_NE(screen[0], 0xABCDEFu);
    EXPECT_EQ(be.FrameExtents(w), (TRect{8, 31, 8, 8}));
    std::string path = ::testing::TempDir() + "headless-screen.png";
    be.RenderScreenToPng(path);
    std::ifstream in(path, std::ios::binary);
    char sig[8] = {};
    in.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");
    std::remove(path.c_str());
}

TEST(HeadlessBackend, ATestChangesTheThemeAsTheDesktopWould) {
    HeadlessBackend be;
    WindowId w = be.CreateWindow({}, TRect::FromBounds(0, 0, 50, 50), "w");
    be.SetVisible(w, true);
    EXPECT_EQ(be.ThemeScheme(), 0);
    be.ChangeTheme(2);
    EXPECT_EQ(be.ThemeScheme(), 2) << "the new scheme answers at once, before the event is taken";
    be.DestroyWindow(w);
    auto events = Drain(be);
    ASSERT_EQ(events.size(), 1u) << "the event belongs to no window and outlives them";
    EXPECT_EQ(events[0].Type, TEventType::ThemeChanged);
    EXPECT_EQ(events[0].Window, 0u);
}

TEST(HeadlessBackend, DestroyingAWindowDropsItsQueuedEvents) {
    HeadlessBackend be;
    WindowId w = be.CreateWindow({}, TRect::FromBounds(0, 0, 50, 50), "w");
    be.SetVisible(w, true);
    be.RequestClose(w);
    be.GrabPointer(w);
    be.DestroyWindow(w);
    EXPECT_EQ(be.GrabWindow(), 0u);
    EXPECT_TRUE(Drain(be).empty());
    EXPECT_EQ(be.FindWindow(w), nullptr);
}

} // namespace
} // namespace emr::platform

namespace emr::platform {
namespace {

std::vector<TEvent> ScaleEvents(HeadlessBackend& be) {
    std::vector<TEvent> out;
    while (auto e = be.NextEvent(be.NowMs()))
        if (e->Type == TEventType::ScaleChanged) out.push_back(*e);
    return out;
}

TEST(HeadlessBackend, AWindowTakesTheScaleOfTheMonitorHoldingMostOfItAndHearsWhenItChanges) {
    HeadlessBackend be;
    be.SetMonitors({{0, 0, 1000, 800}, {1000, 0, 3000, 1600}}, {1.0, 2.0});
    EXPECT_EQ(be.MonitorScales(), (std::vector<double>{1.0, 2.0}));
    WindowId w = be.CreateWindow({}, TRect::FromBounds(900, 10, 150, 100), "w");
    EXPECT_EQ(be.WindowScale(w), 1.0) << "100 of 150 pixels lie on the first monitor";
    EXPECT_TRUE(ScaleEvents(be).empty());

    be.SetBounds(w, TRect::FromBounds(960, 10, 150, 100));
    EXPECT_EQ(be.WindowScale(w), 2.0);
    auto events = ScaleEvents(be);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Window, w);
    EXPECT_TRUE(events[0].Rect.Empty()) << "no suggestion unless asked for";

    be.SetBounds(w, TRect::FromBounds(1200, 10, 150, 100));
    EXPECT_TRUE(ScaleEvents(be).empty()) << "moving within a monitor changes no scale";

    // The desktop setting of the monitor changes while the program runs.
    be.SetSuggestsScaledRect(true);
    be.SetMonitorScale(1, 1.5);
    EXPECT_EQ(be.WindowScale(w), 1.5);
    events = ScaleEvents(be);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Rect, TRect::FromBounds(1200, 10, 113, 75)) << "the size scaled by 1.5 / 2";
    EXPECT_THROW(be.SetMonitorScale(2, 1.0), Exception);
}

TEST(HeadlessBackend, AWindowMovedByTheWindowManagerHearsConfigureThenItsNewScale) {
    HeadlessBackend be;
    be.SetMonitors({{0, 0, 1000, 800}, {1000, 0, 2500, 1200}}, {1.0, 1.5});
    WindowId w = be.CreateWindow({}, TRect::FromBounds(10, 10, 100, 100), "w");
    be.MoveFromOutside(w, TRect::FromBounds(1100, 10, 100, 100));
    auto configure = be.NextEvent(be.NowMs());
    ASSERT_TRUE(configure);
    EXPECT_EQ(configure->Type, TEventType::Configure);
    EXPECT_EQ(configure->Rect, TRect::FromBounds(1100, 10, 100, 100));
    auto scale = be.NextEvent(be.NowMs());
    ASSERT_TRUE(scale);
    EXPECT_EQ(scale->Type, TEventType::ScaleChanged);
    EXPECT_EQ(be.FindWindow(w)->Bounds, TRect::FromBounds(1100, 10, 100, 100));
}

} // namespace
} // namespace emr::platform
