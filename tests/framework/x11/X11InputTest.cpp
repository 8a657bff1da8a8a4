#include "X11Fixture.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <thread>

#undef Expose // Xlib's event number; the tests mean the framework's event

using namespace emr;
using namespace emr::testing;
using platform::TMouseButton;

namespace {

std::string Id(WindowId w) {
    return std::to_string(w);
}

bool IsPointer(const TEvent& e) {
    return e.Type == TEventType::MouseDown || e.Type == TEventType::MouseUp ||
           e.Type == TEventType::MouseDoubleClick;
}

std::vector<TEvent> Only(const std::vector<TEvent>& events, bool (*keep)(const TEvent&)) {
    std::vector<TEvent> out;
    for (const TEvent& e : events)
        if (keep(e)) out.push_back(e);
    return out;
}

bool IsKeyboard(const TEvent& e) {
    return e.Type == TEventType::KeyDown || e.Type == TEventType::KeyUp || e.Type == TEventType::Char;
}

} // namespace

TEST_F(X11Test, ClickReachesTheWindowWithClientAndScreenCoordinates) {
    const WindowId id = Show(TWindowStyle{}, TRect::FromBounds(200, 150, 100, 80));
    Shell("xdotool mousemove 230 170 click 1 mousemove 250 190 click 3");
    const auto clicks = Only(Drain(), IsPointer);
    ASSERT_EQ(clicks.size(), 4u);
    EXPECT_EQ(clicks[0].Type, TEventType::MouseDown);
    EXPECT_EQ(clicks[0].Window, id);
    EXPECT_EQ(clicks[0].Button, TMouseButton::Left);
    EXPECT_EQ(std::tuple(clicks[0].X, clicks[0].Y, clicks[0].ScreenX, clicks[0].ScreenY),
              std::tuple(30, 20, 230, 170));
    EXPECT_TRUE(clicks[0].Shift & platform::ssLeft) << "the pressed button is held after the press";
    EXPECT_EQ(clicks[1].Type, TEventType::MouseUp);
    EXPECT_FALSE(clicks[1].Shift & platform::ssLeft) << "and released after the release";
    EXPECT_EQ(clicks[2].Button, TMouseButton::Right);
    EXPECT_EQ(std::tuple(clicks[2].X, clicks[2].Y), std::tuple(50, 40));
    EXPECT_EQ(clicks[3].Type, TEventType::MouseUp);
}

TEST_F(X11Test, DoubleClickNeedsTheSameSpotWithinHalfASecond) {
    Show(TWindowStyle{}, TRect::FromBounds(200, 150, 100, 80));
    auto kinds = [this] {
        std::vector<TEventType> out;
        for (const TEvent& e : Only(Drain(), IsPointer))
            out.push_back(e.Type);
        return out;
    };
    using enum TEventType;

    // Two quick presses, then a third: the third starts a new click.
    Shell("xdotool mousemove 230 170 click --repeat 3 --delay 80 1");
    EXPECT_EQ(kinds(), (std::vector{MouseDown, MouseUp, MouseDoubleClick, MouseUp, MouseDown, MouseUp}));

    // 6 pixels apart is too far.
    Shell("xdotool mousemove 240 170 click 1 mousemove 246 170 click 1");
    EXPECT_EQ(kinds(), (std::vector{MouseDown, MouseUp, MouseDown, MouseUp}));
    // 4 pixels apart is near enough.
    Shell("xdotool mousemove 260 170 click 1 mousemove 264 174 click 1");
    EXPECT_EQ(kinds(), (std::vector{MouseDown, MouseUp, MouseDoubleClick, MouseUp}));

    // Too slow.
    Shell("xdotool mousemove 270 180 click 1 sleep 0.6 click 1");
    EXPECT_EQ(kinds(), (std::vector{MouseDown, MouseUp, MouseDown, MouseUp}));
}

TEST_F(X11Test, GrabbedDragKeepsReportingToTheGrabbingWindowOutsideIt) {
    const WindowId a = Show(TWindowStyle{}, TRect::FromBounds(100, 100, 100, 100), "a");
    const WindowId b = Show(TWindowStyle{}, TRect::FromBounds(400, 100, 100, 100), "b");
    Shell("xdotool mousemove 150 150 mousedown 1");
    ASSERT_TRUE(Await([&](const TEvent& e) { return e.Type == TEventType::MouseDown && e.Window == a; }));
    B().GrabPointer(a);
    EXPECT_EQ(B().GrabWindow(), a);

    // Over the other window and beyond the left edge: still a's, relative to a.
    Shell("xdotool mousemove 450 160");
    auto move = Await(TEventType::MouseMove);
    ASSERT_TRUE(move.has_value());
    EXPECT_EQ(move->Window, a);
    EXPECT_EQ(std::tuple(move->X, move->Y, move->ScreenX), std::tuple(350, 60, 450));
    EXPECT_TRUE(move->Shift & platform::ssLeft);
    Shell("xdotool mousemove 40 30");
    move = Await([](const TEvent& e) { return e.Type == TEventType::MouseMove && e.ScreenX == 40; });
    ASSERT_TRUE(move.has_value());
    EXPECT_EQ(std::tuple(move->Window, move->X, move->Y), std::tuple(a, -60, -70));
    for (const TEvent& e : Drain())
        EXPECT_NE(e.Type, TEventType::MouseLeaveWindow) << "no leave while grabbed";

    Shell("xdotool mousemove 420 120 mouseup 1");
    const auto up = Await(TEventType::MouseUp);
    ASSERT_TRUE(up.has_value());
    EXPECT_EQ(std::tuple(up->Window, up->X, up->Y), std::tuple(a, 320, 20));
    B().UngrabPointer();
    EXPECT_EQ(B().GrabWindow(), 0u);

    // Released: moves go to the window under the pointer again.
    Shell("xdotool mousemove 460 160");
    move = Await([](const TEvent& e) { return e.Type == TEventType::MouseMove && e.ScreenX == 460; });
    ASSERT_TRUE(move.has_value());
    EXPECT_EQ(std::tuple(move->Window, move->X, move->Y), std::tuple(b, 60, 60));
}

TEST_F(X11Test, MovesAreCompressedAndLeavingReportsMouseLeaveWindow) {
    const WindowId id = Show(TWindowStyle{}, TRect::FromBounds(100, 100, 100, 100));
    Shell("xdotool mousemove 110 110 mousemove 120 120 mousemove 130 130 mousemove 140 140");
    Shell("xdotool mousemove 300 300");
    const auto events = Drain(300);
    ASSERT_FALSE(events.empty());
    int moves = 0;
    for (const TEvent& e : events)
        moves += e.Type == TEventType::MouseMove;
    EXPECT_GE(moves, 1);
    EXPECT_LE(moves, 4);
    const TEvent& last = events.back();
    EXPECT_EQ(last.Type, TEventType::MouseLeaveWindow);
    EXPECT_EQ(last.Window, id);
}

TEST_F(X11Test, KeysArriveAsVirtualKeysWithModifiersAndTypedText) {
    const WindowId id = Show(TWindowStyle{}, TRect::FromBounds(100, 100, 100, 100));
    Shell("xdotool windowfocus --sync " + Id(id));
    ASSERT_TRUE(Await(TEventType::Activate));

    Shell("xdotool key Return Escape F10 a shift+b 7 Left alt+f");
    const auto events = Only(Drain(300), IsKeyboard);
    std::vector<std::string> seen;
    for (const TEvent& e : events) {
        std::string s = e.Type == TEventType::KeyDown ? "down "
                        : e.Type == TEventType::KeyUp ? "up "
                                                      : "char ";
        if (e.Type == TEventType::Char) {
            for (unsigned char c : e.Text)
                s += c < 0x20 ? "^" + std::to_string(c) : std::string(1, c);
        } else {
            s += std::to_string(e.Key);
        }
        if (e.Shift & platform::ssShift) s += "+shift";
        if (e.Shift & platform::ssAlt) s += "+alt";
        seen.push_back(s);
    }
    const std::vector<std::string> expected = {
        "down 13",       "char ^13",      "up 13",                          // Return
        "down 27",       "char ^27",      "up 27",                          // Escape
        "down 121",      "up 121",                                          // F10
        "down 65",       "char a",        "up 65",                          // a
        "down 16+shift", "down 66+shift", "char B+shift", "up 16", "up 66", // shift+b
        "down 55",       "char 7",        "up 55",                          // 7
        "down 37",       "up 37",                                           // Left
        "down 18+alt",   "down 70+alt",   "char f+alt",   "up 18", "up 70", // alt+f: its character, for menus
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(X11Test, TypedTextIsUtf8) {
    const WindowId id = Show(TWindowStyle{}, TRect::FromBounds(100, 100, 100, 100));
    // Put é, € and 确 on spare keys of the server's keyboard, as a keyboard
    // layout would, so that xdotool presses them without remapping keys on the fly.
    Display* dpy = Probe();
    int minCode = 0, maxCode = 0, perCode = 0;
    XDisplayKeycodes(dpy, &minCode, &maxCode);
    KeySym* map = XGetKeyboardMapping(dpy, static_cast<KeyCode>(minCode), maxCode - minCode + 1, &perCode);
    const KeySym wanted[] = {XK_eacute, XK_EuroSign, 0x100786E};
    std::size_t placed = 0;
    for (int code = maxCode; code >= minCode && placed < std::size(wanted); --code) {
        const KeySym* syms = map + (code - minCode) * perCode;
        if (std::all_of(syms, syms + perCode, [](KeySym k) { return k == NoSymbol; })) {
            KeySym sym = wanted[placed++];
            XChangeKeyboardMapping(dpy, code, 1, &sym, 1);
        }
    }
    XFree(map);
    ASSERT_EQ(placed, std::size(wanted)) << "no spare keys on the test server";
    Sync();
    Drain(); // the mapping notices

    Shell("xdotool windowfocus --sync " + Id(id));
    Shell("xdotool key a eacute EuroSign U786E");
    std::string text;
    for (const TEvent& e : Drain(300))
        if (e.Type == TEventType::Char) text += e.Text;
    EXPECT_EQ(text, "aé€确");
}

TEST_F(X11Test, FocusMovesAreActivationAndDeactivation) {
    const WindowId a = Show(TWindowStyle{}, TRect::FromBounds(100, 100, 100, 100), "a");
    const WindowId b = Show(TWindowStyle{}, TRect::FromBounds(300, 100, 100, 100), "b");
    Shell("xdotool windowfocus --sync " + Id(a));
    auto activated = Await(TEventType::Activate);
    ASSERT_TRUE(activated.has_value());
    EXPECT_EQ(activated->Window, a);
    Shell("xdotool windowfocus --sync " + Id(b));
    std::vector<std::pair<TEventType, WindowId>> changes;
    for (const TEvent& e : Drain())
        if (e.Type == TEventType::Activate || e.Type == TEventType::Deactivate)
            changes.emplace_back(e.Type, e.Window);
    EXPECT_EQ(changes, (std::vector<std::pair<TEventType, WindowId>>{{TEventType::Deactivate, a},
                                                                     {TEventType::Activate, b}}));
}

TEST_F(X11Test, CursorShapesAreDefinedWithoutErrors) {
    const WindowId id = Show(TWindowStyle{}, TRect::FromBounds(100, 100, 100, 100));
    using platform::TCursorShape;
    for (TCursorShape shape :
         {TCursorShape::Arrow, TCursorShape::Move, TCursorShape::SizeWE, TCursorShape::SizeNS,
          TCursorShape::HandPoint, TCursorShape::IBeam, TCursorShape::Wait})
        B().SetCursor(id, shape);
    Sync();
    EXPECT_EQ(B().ErrorCount(), 0u);
    Shell("xdotool mousemove 123 145");
    EXPECT_EQ(B().PointerPosition(), (TPoint{123, 145}));
}
