#include <gtest/gtest.h>

#include "XServer.h"
#include "framework/platform/x11/X11Backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <functional>

#undef Expose // Xlib's event number; the tests mean the framework's event

using namespace emr;
using namespace emr::testing;
using namespace emr::platform;

namespace {

// The same backend calls as X11Test, on the server that runs openbox.
class X11WindowManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        XServer& server = XServer::WithWindowManager();
        ASSERT_TRUE(server.Running()) << server.Error();
        auto backend = CreateX11Backend(server.Name().c_str());
        ASSERT_NE(backend, nullptr);
        backend_.reset(static_cast<x11::X11Backend*>(backend.release()));
        probe_ = XOpenDisplay(server.Name().c_str());
        ASSERT_NE(probe_, nullptr);
    }
    void TearDown() override {
        backend_.reset();
        if (probe_) XCloseDisplay(probe_);
    }

    std::optional<TEvent> Await(const std::function<bool(const TEvent&)>& match, int timeoutMs = 3000) {
        const std::int64_t deadline = backend_->NowMs() + timeoutMs;
        while (auto e = backend_->NextEvent(deadline))
            if (match(*e)) return e;
        return std::nullopt;
    }
    void Show(WindowId id) {
        backend_->SetVisible(id, true);
        ASSERT_TRUE(Await([id](const TEvent& e) { return e.Type == TEventType::Expose && e.Window == id; }));
        // Let the window manager finish placing and decorating it.
        Await([](const TEvent&) { return false; }, 200);
    }
    TPoint RootPosition(Window window) {
        XSync(backend_->Display(), False);
        int x = 0, y = 0;
        Window child = None;
        XTranslateCoordinates(probe_, window, DefaultRootWindow(probe_), 0, 0, &x, &y, &child);
        return {x, y};
    }
    Window FrameOf(Window window) {
        Window root = None, parent = None, *children = nullptr;
        unsigned count = 0;
        XQueryTree(probe_, window, &root, &parent, &children, &count);
        if (children) XFree(children);
        return parent;
    }
    std::vector<long> Atoms(Window window, const char* property) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<long> out;
        if (XGetWindowProperty(probe_, window, XInternAtom(probe_, property, False), 0, 1024, False,
                               AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
            format == 32)
            out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
        if (data) XFree(data);
        return out;
    }
    bool Has(const std::vector<long>& atoms, const char* name) {
        return std::find(atoms.begin(), atoms.end(), static_cast<long>(XInternAtom(probe_, name, False))) !=
               atoms.end();
    }

    std::unique_ptr<x11::X11Backend> backend_;
    Display* probe_ = nullptr;
};

TWindowStyle FixedFrame() {
    TWindowStyle style;
    style.Resizable = false;
    style.MinimizeBox = false;
    style.MaximizeBox = false;
    return style;
}

} // namespace

TEST_F(X11WindowManagerTest, FixedWindowIsFramedAroundItsOuterPositionAndOffersOnlyMoveAndClose) {
    // As a form does it: create, learn the frame, put the frame's top-left at
    // the stored position (389, 175), then show.
    const TRect client = TRect::FromBounds(389, 175, 382, 198);
    const WindowId id = backend_->CreateWindow(FixedFrame(), client, "电子病历补丁");
    const TRect frame = backend_->FrameExtents(id);
    EXPECT_GT(frame.Top, 0) << "the window manager estimates its frame before the window is shown";
    backend_->SetBounds(id, client.Offset(frame.Left, frame.Top));
    Show(id);

    EXPECT_EQ(backend_->FrameExtents(id), frame) << "the estimate was the real frame";
    EXPECT_EQ(RootPosition(id), (TPoint{389 + frame.Left, 175 + frame.Top})) << "client area where asked";
    EXPECT_EQ(RootPosition(FrameOf(id)), (TPoint{389, 175})) << "frame's top-left at the stored position";
    XWindowAttributes attrs{};
    XGetWindowAttributes(probe_, id, &attrs);
    EXPECT_EQ(std::pair(attrs.width, attrs.height), std::pair(382, 198));

    const auto allowed = Atoms(id, "_NET_WM_ALLOWED_ACTIONS");
    EXPECT_TRUE(Has(allowed, "_NET_WM_ACTION_MOVE"));
    EXPECT_TRUE(Has(allowed, "_NET_WM_ACTION_CLOSE"));
    EXPECT_FALSE(Has(allowed, "_NET_WM_ACTION_RESIZE"));
    // Openbox keeps minimising whatever the hints say (its own policy), so
    // only maximising and resizing are checked.
    EXPECT_FALSE(Has(allowed, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
    EXPECT_FALSE(Has(allowed, "_NET_WM_ACTION_MAXIMIZE_VERT"));
}

TEST_F(X11WindowManagerTest, BorderlessAndPopupLandExactlyAndStayAboveTheMainWindow) {
    const WindowId main = backend_->CreateWindow(FixedFrame(), TRect::FromBounds(100, 120, 300, 200), "main");
    Show(main);
    TWindowStyle floating;
    floating.Kind = TWindowKind::Borderless;
    floating.StayOnTop = true;
    floating.Owner = main;
    const WindowId toolbar =
        backend_->CreateWindow(floating, TRect::FromBounds(250, 200, 120, 50), "toolbar");
    Show(toolbar);
    TWindowStyle popupStyle;
    popupStyle.Kind = TWindowKind::Popup;
    const WindowId popup = backend_->CreateWindow(popupStyle, TRect::FromBounds(700, 400, 80, 90), "menu");
    Show(popup);

    EXPECT_EQ(backend_->FrameExtents(toolbar), TRect{}) << "undecorated";
    EXPECT_EQ(RootPosition(toolbar), (TPoint{250, 200}));
    EXPECT_EQ(RootPosition(popup), (TPoint{700, 400}));
    EXPECT_TRUE(Has(Atoms(toolbar, "_NET_WM_STATE"), "_NET_WM_STATE_ABOVE"));

    // The program moves the floating window where it likes.
    backend_->SetBounds(toolbar, TRect::FromBounds(500, 260, 120, 50));
    Await([](const TEvent&) { return false; }, 200);
    EXPECT_EQ(RootPosition(toolbar), (TPoint{500, 260}));

    // Clicking the main window raises it, yet the toolbar stays above.
    XServer::WithWindowManager().Run("xdotool mousemove 150 250 click 1");
    EXPECT_TRUE(Await([main](const TEvent& e) { return e.Type == TEventType::MouseUp && e.Window == main; }));
    Await([](const TEvent&) { return false; }, 200);
    const auto stacking = Atoms(DefaultRootWindow(probe_), "_NET_CLIENT_LIST_STACKING");
    const auto index = [&](WindowId w) {
        return std::find(stacking.begin(), stacking.end(), long(w)) - stacking.begin();
    };
    ASSERT_LT(index(main), static_cast<long>(stacking.size()));
    EXPECT_LT(index(main), index(toolbar));
}

TEST_F(X11WindowManagerTest, ClosingThroughTheWindowManagerIsACloseRequest) {
    const WindowId id =
        backend_->CreateWindow(FixedFrame(), TRect::FromBounds(200, 200, 200, 100), "close me");
    Show(id);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = id;
    request.xclient.message_type = XInternAtom(probe_, "_NET_CLOSE_WINDOW", False);
    request.xclient.format = 32;
    request.xclient.data.l[1] = 2; // from a pager or taskbar
    XSendEvent(probe_, DefaultRootWindow(probe_), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &request);
    XFlush(probe_);
    const auto close = Await([](const TEvent& e) { return e.Type == TEventType::CloseRequest; });
    ASSERT_TRUE(close.has_value());
    EXPECT_EQ(close->Window, id);
    // The window manager sees the program answer its pings and leaves it open.
    XWindowAttributes attrs{};
    XGetWindowAttributes(probe_, id, &attrs);
    EXPECT_EQ(attrs.map_state, IsViewable);
}
