#include "X11Fixture.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#undef Expose // Xlib's event number; the tests mean the framework's event

using namespace emr;
using namespace emr::testing;

namespace {

const std::string kTitle = "电子病历补丁";

// A window property as a list of 32-bit items (longs in Xlib's API).
std::vector<long> Property32(Display* dpy, Window window, const char* name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> out;
    if (XGetWindowProperty(dpy, window, XInternAtom(dpy, name, False), 0, 1024, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        format == 32)
        out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
    if (data) XFree(data);
    return out;
}

bool HasAtom(Display* dpy, const std::vector<long>& atoms, const char* name) {
    const long atom = static_cast<long>(XInternAtom(dpy, name, False));
    return std::find(atoms.begin(), atoms.end(), atom) != atoms.end();
}

// Top-level windows from bottom to top.
std::vector<Window> Stacking(Display* dpy) {
    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count);
    std::vector<Window> out(children, children + count);
    if (children) XFree(children);
    return out;
}

std::ptrdiff_t StackIndex(Display* dpy, WindowId window) {
    const auto order = Stacking(dpy);
    return std::find(order.begin(), order.end(), static_cast<Window>(window)) - order.begin();
}

TWindowStyle FixedFrame() {
    TWindowStyle style;
    style.Kind = TWindowKind::Framed;
    style.Resizable = false;
    style.MinimizeBox = false;
    style.MaximizeBox = false;
    return style;
}

} // namespace

TEST(X11Connection, NoDisplayGivesNullAndAMessageNamingDisplay) {
    EXPECT_EQ(platform::CreateX11Backend(":4917"), nullptr);
    const char* saved = std::getenv("DISPLAY");
    const std::string keep = saved ? saved : "";
    unsetenv("DISPLAY");
    EXPECT_EQ(platform::CreateX11Backend(), nullptr);
    const std::string unset = platform::NoDisplayMessage();
    if (saved) setenv("DISPLAY", keep.c_str(), 1);

    EXPECT_NE(unset.find("No X display is reachable"), std::string::npos) << unset;
    EXPECT_NE(unset.find("DISPLAY"), std::string::npos) << unset;
    EXPECT_NE(platform::NoDisplayMessage(":4917").find("\":4917\""), std::string::npos);
}

TEST_F(X11Test, FixedFramedWindowCarriesTitleSizeAndWindowManagerHints) {
    B().SetIdentity({"emrpatch", "EmrPatch", {}}); // as the program names itself
    const WindowId id = Show(FixedFrame(), TRect::FromBounds(397, 206, 382, 198), kTitle);
    EXPECT_EQ(Shell("xdotool getwindowname " + std::to_string(id)), kTitle);
    EXPECT_EQ(Geometry(id), "397 206 382 198");

    // The legacy name decodes to the same title.
    XTextProperty name{};
    ASSERT_TRUE(XGetWMName(Probe(), id, &name));
    char** list = nullptr;
    int count = 0;
    ASSERT_EQ(Xutf8TextPropertyToTextList(Probe(), &name, &list, &count), Success);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(std::string(list[0]), kTitle);
    XFreeStringList(list);
    XFree(name.value);

    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(Probe(), id, &hints, &supplied));
    EXPECT_TRUE(hints.flags & USPosition);
    EXPECT_TRUE((hints.flags & PMinSize) && (hints.flags & PMaxSize));
    EXPECT_EQ(hints.min_width, 382);
    EXPECT_EQ(hints.max_width, 382);
    EXPECT_EQ(hints.min_height, 198);
    EXPECT_EQ(hints.max_height, 198);
    EXPECT_EQ(hints.win_gravity, StaticGravity);

    // Move and close, no resize, minimise or maximise.
    const auto motif = Property32(Probe(), id, "_MOTIF_WM_HINTS");
    ASSERT_EQ(motif.size(), 5u);
    EXPECT_EQ(motif[1], (1L << 2) | (1L << 5));
    EXPECT_EQ(motif[2] & ((1L << 2) | (1L << 5) | (1L << 6)), 0);

    EXPECT_EQ(Property32(Probe(), id, "_NET_WM_PID"), std::vector<long>{getpid()});
    Atom* protocols = nullptr;
    int protocolCount = 0;
    ASSERT_TRUE(XGetWMProtocols(Probe(), id, &protocols, &protocolCount));
    std::vector<long> protocolList(protocols, protocols + protocolCount);
    XFree(protocols);
    EXPECT_TRUE(HasAtom(Probe(), protocolList, "WM_DELETE_WINDOW"));
    XClassHint classHint{};
    ASSERT_TRUE(XGetClassHint(Probe(), id, &classHint));
    EXPECT_STREQ(classHint.res_name, "emrpatch");
    XFree(classHint.res_name);
    XFree(classHint.res_class);

    // No window manager frames it here.
    EXPECT_EQ(B().FrameExtents(id), TRect{});

    // A window manager that frames it later publishes the frame (left, right,
    // top, bottom); the form hears of it as a configure of the same client area.
    long frame[4] = {4, 5, 22, 6};
    XChangeProperty(Probe(), id, XInternAtom(Probe(), "_NET_FRAME_EXTENTS", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(frame), 4);
    XFlush(Probe());
    const auto configured = Await(TEventType::Configure);
    ASSERT_TRUE(configured.has_value());
    EXPECT_EQ(configured->Rect, TRect::FromBounds(397, 206, 382, 198));
    EXPECT_EQ(B().FrameExtents(id), (TRect{4, 22, 5, 6}));
}

TEST_F(X11Test, StayOnTopBorderlessAndPopupLandWhereAskedAndStayAbove) {
    const WindowId main = Show(FixedFrame(), TRect::FromBounds(100, 100, 300, 200), "main");
    TWindowStyle floating;
    floating.Kind = TWindowKind::Borderless;
    floating.StayOnTop = true;
    floating.Owner = main;
    const WindowId toolbar = Show(floating, TRect::FromBounds(600, 300, 120, 50), "toolbar");
    TWindowStyle popupStyle;
    popupStyle.Kind = TWindowKind::Popup;
    popupStyle.Owner = main;
    const WindowId popup = Show(popupStyle, TRect::FromBounds(700, 400, 80, 90), "menu");

    EXPECT_EQ(Geometry(toolbar), "600 300 120 50");
    EXPECT_EQ(Geometry(popup), "700 400 80 90");

    XWindowAttributes attrs{};
    XGetWindowAttributes(Probe(), popup, &attrs);
    EXPECT_TRUE(attrs.override_redirect) << "a popup must bypass the window manager";
    XGetWindowAttributes(Probe(), toolbar, &attrs);
    EXPECT_FALSE(attrs.override_redirect) << "a floating toolbar stays managed";
    EXPECT_TRUE(HasAtom(Probe(), Property32(Probe(), toolbar, "_NET_WM_STATE"), "_NET_WM_STATE_ABOVE"));
    EXPECT_EQ(Property32(Probe(), toolbar, "_MOTIF_WM_HINTS").at(2), 0) << "no decorations";
    Window owner = None;
    ASSERT_TRUE(XGetTransientForHint(Probe(), toolbar, &owner));
    EXPECT_EQ(owner, main);
    XWMHints* wmHints = XGetWMHints(Probe(), popup);
    ASSERT_NE(wmHints, nullptr);
    EXPECT_FALSE(wmHints->input) << "a popup takes no focus";
    XFree(wmHints);

    // Raising the main window keeps the stay-on-top window and the popup above it.
    B().Raise(main);
    Sync();
    EXPECT_LT(StackIndex(Probe(), main), StackIndex(Probe(), toolbar));
    EXPECT_LT(StackIndex(Probe(), toolbar), StackIndex(Probe(), popup));

    // Moving and hiding.
    B().SetBounds(toolbar, TRect::FromBounds(620, 310, 140, 60));
    EXPECT_EQ(Geometry(toolbar), "620 310 140 60");
    B().SetVisible(popup, false);
    Sync();
    XGetWindowAttributes(Probe(), popup, &attrs);
    EXPECT_EQ(attrs.map_state, IsUnmapped);
    B().DestroyWindow(popup);
    Sync();
    EXPECT_EQ(StackIndex(Probe(), popup), static_cast<std::ptrdiff_t>(Stacking(Probe()).size()));
}

class X11PresentTest : public X11Test, public ::testing::WithParamInterface<bool> {};

TEST_P(X11PresentTest, PresentedPixelsReachTheScreenExactly) {
    B().SetUseSharedMemory(GetParam());
    const int w = 64, h = 48, stride = 80;
    const WindowId id = Show(TWindowStyle{}, TRect::FromBounds(150, 120, w, h));
    auto pattern = [](int x, int y) {
        return static_cast<std::uint32_t>((x * 4) << 16 | (y * 5) << 8 | 0x5A);
    };
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(stride) * h, 0xFF00FF);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[y * stride + x] = pattern(x, y);
    B().Present(id, pixels.data(), w, h, stride, TRect{0, 0, w, h});
    EXPECT_EQ(B().UsesSharedMemory(id), GetParam()) << "Xvfb on this machine accepts MIT-SHM";

    for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 47}, {63, 47}, {17, 29}, {40, 3}})
        EXPECT_EQ(ScreenPixel(150 + x, 120 + y), pattern(x, y)) << x << "," << y;

    // Only the dirty part of a later frame is copied.
    std::fill(pixels.begin(), pixels.end(), 0x123456);
    B().Present(id, pixels.data(), w, h, stride, TRect{10, 10, 20, 30});
    EXPECT_EQ(ScreenPixel(150 + 10, 120 + 10), 0x123456u);
    EXPECT_EQ(ScreenPixel(150 + 19, 120 + 29), 0x123456u);
    EXPECT_EQ(ScreenPixel(150 + 20, 120 + 10), pattern(20, 10));
    EXPECT_EQ(ScreenPixel(150 + 9, 120 + 29), pattern(9, 29));
    EXPECT_EQ(ScreenPixel(150 + 10, 120 + 30), pattern(10, 30));

    // A dirty rectangle reaching outside the buffer is clipped to it.
    B().Present(id, pixels.data(), w, h, stride, TRect{-50, -50, 500, 500});
    EXPECT_EQ(ScreenPixel(150 + 63, 120 + 47), 0x123456u);
    EXPECT_EQ(B().ErrorCount(), 0u);
}

TEST_P(X11PresentTest, BackToBackFramesWithDifferentDirtyPartsAllArrive) {
    // Frames follow each other without waiting for the server, each naming only
    // what it changed; what the screen and a later exposure show is the last frame.
    B().SetUseSharedMemory(GetParam());
    const int w = 90, h = 60;
    const WindowId id = Show(TWindowStyle{}, TRect::FromBounds(200, 150, w, h));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h, 0x202020);
    B().Present(id, pixels.data(), w, h, w, TRect{0, 0, w, h});
    const TRect parts[] = {{0, 0, 30, 20}, {60, 40, 90, 60}, {20, 10, 70, 50}, {0, 50, 10, 60}, {5, 5, 6, 6}};
    std::uint32_t color = 0x103070;
    for (int round = 0; round < 3; ++round)
        for (const TRect& part : parts) {
            color += 0x0B0705;
            for (int y = part.Top; y < part.Bottom; ++y)
                for (int x = part.Left; x < part.Right; ++x)
                    pixels[static_cast<std::size_t>(y) * w + x] = color;
            B().Present(id, pixels.data(), w, h, w, part);
        }
    for (int y = 0; y < h; y += 3)
        for (int x = 0; x < w; x += 3)
            ASSERT_EQ(ScreenPixel(200 + x, 150 + y), pixels[static_cast<std::size_t>(y) * w + x])
                << x << "," << y;

    // Covered and uncovered again: the kept pixels are the last frame's.
    TWindowStyle popupStyle;
    popupStyle.Kind = TWindowKind::Popup;
    const WindowId popup = Show(popupStyle, TRect::FromBounds(190, 140, 110, 80));
    Fill(popup, 110, 80, 0x00FF00);
    B().DestroyWindow(popup);
    Drain();
    for (int y = 0; y < h; y += 3)
        for (int x = 0; x < w; x += 3)
            ASSERT_EQ(ScreenPixel(200 + x, 150 + y), pixels[static_cast<std::size_t>(y) * w + x])
                << x << "," << y;
    EXPECT_EQ(B().ErrorCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(SharedMemory, X11PresentTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Shm" : "PutImage"; });

TEST_F(X11Test, ExposedPartsRepaintFromKeptPixelsAndGrowthAsksTheProgram) {
    const WindowId id = Show(TWindowStyle{}, TRect::FromBounds(300, 300, 100, 100));
    Fill(id, 100, 100, 0xCC2211);
    TWindowStyle popupStyle;
    popupStyle.Kind = TWindowKind::Popup;
    const WindowId popup = Show(popupStyle, TRect::FromBounds(320, 320, 40, 40));
    Fill(popup, 40, 40, 0x00FF00);
    EXPECT_EQ(ScreenPixel(330, 330), 0x00FF00u);
    B().DestroyWindow(popup);

    // The uncovered part comes back without the program presenting again.
    const auto events = Drain();
    for (const TEvent& e : events)
        EXPECT_NE(e.Type, TEventType::Expose) << "kept pixels cover it";
    EXPECT_EQ(ScreenPixel(330, 330), 0xCC2211u);
    EXPECT_EQ(ScreenPixel(359, 359), 0xCC2211u);

    // Growing exposes pixels that were never presented: the program is asked.
    B().SetBounds(id, TRect::FromBounds(300, 300, 150, 100));
    const auto exposed = Await(TEventType::Expose);
    ASSERT_TRUE(exposed.has_value());
    EXPECT_EQ(exposed->Window, id);
    EXPECT_TRUE(exposed->Rect.Contains({120, 50})) << exposed->Rect.Left << " " << exposed->Rect.Right;
    Fill(id, 150, 100, 0x0000EE);
    EXPECT_EQ(ScreenPixel(440, 390), 0x0000EEu);
}

TEST_F(X11Test, MovesByOthersArriveAsConfigureButOwnMovesDoNotEcho) {
    const WindowId id = Show(TWindowStyle{}, TRect::FromBounds(200, 200, 120, 90));
    B().SetBounds(id, TRect::FromBounds(210, 220, 130, 95));
    for (const TEvent& e : Drain())
        EXPECT_NE(e.Type, TEventType::Configure);
    EXPECT_EQ(Geometry(id), "210 220 130 95");

    Shell("xdotool windowmove " + std::to_string(id) + " 333 222");
    const auto moved = Await(TEventType::Configure);
    ASSERT_TRUE(moved.has_value());
    EXPECT_EQ(moved->Window, id);
    EXPECT_EQ(moved->Rect, TRect::FromBounds(333, 222, 130, 95));
}

TEST_F(X11Test, DeleteWindowMessageBecomesCloseRequest) {
    const WindowId id = Show(FixedFrame(), TRect::FromBounds(50, 50, 100, 60), kTitle);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = id;
    message.xclient.message_type = XInternAtom(Probe(), "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(Probe(), "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(Probe(), id, False, NoEventMask, &message);
    XFlush(Probe());
    const auto close = Await(TEventType::CloseRequest);
    ASSERT_TRUE(close.has_value());
    EXPECT_EQ(close->Window, id);
}

TEST_F(X11Test, ScreenWorkAreaAndMonitors) {
    EXPECT_EQ(B().ScreenRect(), TRect::FromBounds(0, 0, XServer::kWidth, XServer::kHeight));
    EXPECT_EQ(B().WorkArea(), B().ScreenRect()) << "no window manager publishes a work area";
    ASSERT_FALSE(B().Monitors().empty());
    EXPECT_EQ(B().Monitors().front(), B().ScreenRect());

    // A window manager's work area for the current desktop (the second here).
    Display* dpy = Probe();
    const Window root = DefaultRootWindow(dpy);
    const Atom workArea = XInternAtom(dpy, "_NET_WORKAREA", False);
    const Atom desktop = XInternAtom(dpy, "_NET_CURRENT_DESKTOP", False);
    long areas[8] = {0, 0, 1280, 1024, 0, 30, 1280, 960};
    long current = 1;
    XChangeProperty(dpy, root, workArea, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(areas), 8);
    XChangeProperty(dpy, root, desktop, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&current), 1);
    Sync();
    EXPECT_EQ(B().WorkArea(), TRect::FromBounds(0, 30, 1280, 960));
    XDeleteProperty(dpy, root, workArea);
    XDeleteProperty(dpy, root, desktop);
    Sync();
    EXPECT_EQ(B().WorkArea(), B().ScreenRect());
}

TEST_F(X11Test, WindowDestroyedBehindTheProgramsBackRecordsErrorsWithoutCrashing) {
    const WindowId id = Show(TWindowStyle{}, TRect::FromBounds(10, 10, 40, 40));
    Fill(id, 40, 40, 0xABCDEF);
    XDestroyWindow(Probe(), id);
    Sync();
    B().SetTitle(id, "gone");
    B().SetBounds(id, TRect::FromBounds(20, 20, 50, 50));
    B().Raise(id);
    B().SetCursor(id, platform::TCursorShape::Move);
    Fill(id, 50, 50, 0x111111);
    B().GrabPointer(id);
    Drain();
    EXPECT_GT(B().ErrorCount(), 0u);
    EXPECT_EQ(B().GrabWindow(), 0u);
    B().DestroyWindow(id);
    B().DestroyWindow(id); // a second time is a no-op
    Sync();
    // The connection still works.
    const WindowId next = Show(TWindowStyle{}, TRect::FromBounds(10, 10, 40, 40));
    Fill(next, 40, 40, 0x445566);
    EXPECT_EQ(ScreenPixel(20, 20), 0x445566u);
}

TEST(X11SixteenBit, PresentedPixelsAreConvertedToTheScreensFormat) {
    XServer& server = XServer::SixteenBit();
    ASSERT_TRUE(server.Running()) << server.Error();
    auto backend = platform::CreateX11Backend(server.Name().c_str());
    ASSERT_NE(backend, nullptr);
    const std::uint32_t colors[] = {0xFFFFFF, 0x000000, 0xF0F0F0, 0x3399FF, 0x808080, 0x123456};
    const int w = 6, h = 2;
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < h; ++y)
        pixels.insert(pixels.end(), std::begin(colors), std::end(colors));
    const WindowId id = backend->CreateWindow(TWindowStyle{}, TRect::FromBounds(40, 30, w, h), "565");
    backend->SetVisible(id, true);
    while (auto e = backend->NextEvent(backend->NowMs() + 3000))
        if (e->Type == TEventType::Expose) break;
    backend->Present(id, pixels.data(), w, h, w, TRect{0, 0, w, h});

    Display* dpy = XOpenDisplay(server.Name().c_str());
    ASSERT_NE(dpy, nullptr);
    ASSERT_EQ(DefaultDepth(dpy, DefaultScreen(dpy)), 16);
    XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), 40, 31, w, 1, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    for (int x = 0; x < w; ++x) {
        // Each channel keeps its top bits: 5 for red and blue, 6 for green.
        const std::uint32_t c = colors[x];
        const unsigned long expected = ((c >> 19) & 0x1F) << 11 | ((c >> 10) & 0x3F) << 5 | ((c >> 3) & 0x1F);
        EXPECT_EQ(XGetPixel(image, x, 0), expected) << std::hex << c;
    }
    XDestroyImage(image);
    XCloseDisplay(dpy);
}
