#include "framework/platform/x11/X11Backend.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrandr.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "framework/platform/atspi/AtspiBridge.h"
#include "framework/platform/x11/X11BackendInternals.h"
#include "framework/platform/x11/X11ErrorTrap.h"
#include "framework/platform/x11/X11Keys.h"
#include "framework/platform/x11/X11Surface.h"

namespace emr::platform {

std::unique_ptr<Backend> CreateX11Backend(const char* display) {
    x11::X11ErrorTrap::Install();
    _XDisplay* dpy = XOpenDisplay(display);
    if (!dpy) return nullptr;
    return std::make_unique<x11::X11Backend>(dpy);
}

std::string NoDisplayMessage(const char* display) {
    const char* name = display ? display : std::getenv("DISPLAY");
    std::string where = name && *name ? "the display \"" + std::string(name) + "\" cannot be opened"
                                      : "the DISPLAY environment variable is not set";
    return "No X display is reachable (" + where +
           "). Set DISPLAY to name a running X server, for example DISPLAY=:0, or start one with Xvfb.";
}

namespace x11 {

namespace {

const char* const kAtomNames[] = {
    "WM_PROTOCOLS",
    "WM_DELETE_WINDOW",
    "_NET_WM_PING",
    "_NET_WM_NAME",
    "_NET_WM_ICON_NAME",
    "UTF8_STRING",
    "_NET_WM_PID",
    "_MOTIF_WM_HINTS",
    "_NET_WM_STATE",
    "_NET_WM_STATE_ABOVE",
    "_NET_WM_STATE_SKIP_TASKBAR",
    "_NET_WM_STATE_SKIP_PAGER",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_NORMAL",
    "_NET_WM_WINDOW_TYPE_DIALOG",
    "_NET_WM_WINDOW_TYPE_UTILITY",
    "_NET_WM_WINDOW_TYPE_POPUP_MENU",
    "_NET_FRAME_EXTENTS",
    "_NET_REQUEST_FRAME_EXTENTS",
    "_NET_WORKAREA",
    "_NET_CURRENT_DESKTOP",
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_SUPPORTED",
    "_NET_ACTIVE_WINDOW",
    "_NET_WM_ICON",
    "_XSETTINGS_SETTINGS",
    "MANAGER",
};
static_assert(sizeof kAtomNames / sizeof kAtomNames[0] == 27);

// Bits of _MOTIF_WM_HINTS.
constexpr long kMwmHintsFunctions = 1L << 0;
constexpr long kMwmHintsDecorations = 1L << 1;
constexpr long kMwmFuncResize = 1L << 1;
constexpr long kMwmFuncMove = 1L << 2;
constexpr long kMwmFuncMinimize = 1L << 3;
constexpr long kMwmFuncMaximize = 1L << 4;
constexpr long kMwmFuncClose = 1L << 5;
constexpr long kMwmDecorBorder = 1L << 1;
constexpr long kMwmDecorResizeH = 1L << 2;
constexpr long kMwmDecorTitle = 1L << 3;
constexpr long kMwmDecorMenu = 1L << 4;
constexpr long kMwmDecorMinimize = 1L << 5;
constexpr long kMwmDecorMaximize = 1L << 6;

constexpr unsigned kGrabEvents =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

// Whether the server runs on this machine, where a shared-memory segment can
// reach it.
bool IsLocalDisplay(Display* dpy) {
    const char* name = DisplayString(dpy);
    return name && (name[0] == ':' || std::strncmp(name, "unix:", 5) == 0);
}

unsigned CursorGlyph(TCursorShape shape) {
    switch (shape) {
    case TCursorShape::Move:
        return XC_fleur;
    case TCursorShape::SizeWE:
        return XC_sb_h_double_arrow;
    case TCursorShape::SizeNS:
        return XC_sb_v_double_arrow;
    case TCursorShape::HandPoint:
        return XC_hand2;
    case TCursorShape::IBeam:
        return XC_xterm;
    case TCursorShape::Wait:
        return XC_watch;
    case TCursorShape::Arrow:
        break;
    }
    return XC_left_ptr;
}

} // namespace

X11Backend::X11Backend(_XDisplay* display) : display_(display), atoms_(AtomCount) {
    X11ErrorTrap::Install();
    screen_ = DefaultScreen(display_);
    root_ = RootWindow(display_, screen_);
    visual_ = DefaultVisual(display_, screen_);
    depth_ = DefaultDepth(display_, screen_);
    colormap_ = DefaultColormap(display_, screen_);
    if (static_cast<Visual*>(visual_)->c_class != TrueColor) {
        // The buffers are true colour; look for a visual that shows them as such.
        XVisualInfo info;
        if (XMatchVisualInfo(display_, screen_, 24, TrueColor, &info) ||
            XMatchVisualInfo(display_, screen_, 32, TrueColor, &info)) {
            visual_ = info.visual;
            depth_ = info.depth;
            colormap_ = XCreateColormap(display_, root_, info.visual, AllocNone);
        }
    }
    XInternAtoms(display_, const_cast<char**>(kAtomNames), AtomCount, False, atoms_.data());
    // Holding a key down repeats presses only, as the framework's key handling expects.
    XkbSetDetectableAutoRepeat(display_, True, nullptr);
    useShm_ = IsLocalDisplay(display_) && XShmQueryExtension(display_);
    if (pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe_[0] = wakePipe_[1] = -1;
    stopSignals_ = std::make_unique<x11::TStopSignals>(wakePipe_[1]);
    SetIdentity({});
}

X11Backend::~X11Backend() {
    atspi_.reset();
    stopSignals_.reset();
    for (auto& [id, w] : windows_) {
        if (w->Ic) XDestroyIC(w->Ic);
        w->Surface.reset();
        XDestroyWindow(display_, id);
    }
    windows_.clear();
    for (auto& [shape, cursor] : cursors_)
        XFreeCursor(display_, cursor);
    if (im_) XCloseIM(im_);
    if (colormap_ != DefaultColormap(display_, screen_)) XFreeColormap(display_, colormap_);
    XCloseDisplay(display_);
    X11ErrorTrap::Forget(display_);
    for (int fd : wakePipe_)
        if (fd >= 0) close(fd);
}

std::uint64_t X11Backend::ErrorCount() const {
    return X11ErrorTrap::Count(display_);
}

X11Backend::TWindow* X11Backend::Find(WindowId window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

const X11Backend::TWindow* X11Backend::Find(WindowId window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second.get();
}

bool X11Backend::UsesSharedMemory(WindowId window) const {
    const TWindow* w = Find(window);
    return w && w->Surface && w->Surface->UsesSharedMemory();
}

// ---------------------------------------------------------------- windows

WindowId X11Backend::CreateWindow(const TWindowStyle& style, const TRect& bounds, const std::string& title) {
    const bool popup = style.Kind == TWindowKind::Popup;
    XSetWindowAttributes attrs{};
    attrs.background_pixmap = None; // presenting covers every pixel; no flash of a background
    attrs.border_pixel = 0;
    attrs.bit_gravity = NorthWestGravity;
    attrs.colormap = colormap_;
    attrs.event_mask = kWindowEvents;
    attrs.override_redirect = popup ? True : False;
    attrs.save_under = popup ? True : False;
    const unsigned long mask = CWBackPixmap | CWBorderPixel | CWBitGravity | CWColormap | CWEventMask |
                               CWOverrideRedirect | CWSaveUnder;
    const Window id = XCreateWindow(display_, root_, bounds.Left, bounds.Top,
                                    static_cast<unsigned>(std::max(1, bounds.Width())),
                                    static_cast<unsigned>(std::max(1, bounds.Height())), 0, depth_,
                                    InputOutput, static_cast<Visual*>(visual_), mask, &attrs);
    auto record = std::make_unique<TWindow>();
    record->Id = id;
    record->Style = style;
    record->Bounds = bounds;
    TWindow& w = *record;
    windows_[id] = std::move(record);
    EnsureScales();
    // Created at its scale: nothing changed that the program must hear of.
    w.Scale = ScaleDiscovery::WindowScale(bounds, monitors_, monitorScales_, globalScale_.Scale);

    ApplyIdentity(id);
    const long pid = getpid();
    XChangeProperty(display_, id, A(NET_WM_PID), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0) {
        XTextProperty machine;
        char* list[] = {host};
        if (XStringListToTextProperty(list, 1, &machine)) {
            XSetWMClientMachine(display_, id, &machine);
            XFree(machine.value);
        }
    }
    Atom protocols[] = {A(WM_DELETE_WINDOW), A(NET_WM_PING)};
    XSetWMProtocols(display_, id, protocols, 2);
    if (style.Owner) XSetTransientForHint(display_, id, style.Owner);
    SetWmHints(w);
    SetSizeHints(w);

    // Decorations and functions the window manager offers.
    long motif[5] = {kMwmHintsFunctions | kMwmHintsDecorations, 0, 0, 0, 0};
    if (style.Kind == TWindowKind::Framed) {
        motif[1] = kMwmFuncMove;
        motif[2] = kMwmDecorBorder | kMwmDecorTitle;
        if (style.SystemMenu) motif[1] |= kMwmFuncClose, motif[2] |= kMwmDecorMenu;
        if (style.Resizable) motif[1] |= kMwmFuncResize, motif[2] |= kMwmDecorResizeH;
        if (style.MinimizeBox) motif[1] |= kMwmFuncMinimize, motif[2] |= kMwmDecorMinimize;
        if (style.MaximizeBox && style.Resizable) motif[1] |= kMwmFuncMaximize, motif[2] |= kMwmDecorMaximize;
    } else {
        motif[1] = kMwmFuncMove;
    }
    XChangeProperty(display_, id, A(MOTIF_WM_HINTS), A(MOTIF_WM_HINTS), 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(motif), 5);

    Atom type = A(NET_WM_WINDOW_TYPE_NORMAL);
    if (popup)
        type = A(NET_WM_WINDOW_TYPE_POPUP_MENU);
    else if (style.Kind == TWindowKind::Borderless)
        type = A(NET_WM_WINDOW_TYPE_UTILITY);
    else if (style.Owner)
        type = A(NET_WM_WINDOW_TYPE_DIALOG);
    XChangeProperty(display_, id, A(NET_WM_WINDOW_TYPE), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&type), 1);

    std::vector<Atom> states;
    if (style.StayOnTop) states.push_back(A(NET_WM_STATE_ABOVE));
    if (style.Kind != TWindowKind::Framed) {
        states.push_back(A(NET_WM_STATE_SKIP_TASKBAR));
        states.push_back(A(NET_WM_STATE_SKIP_PAGER));
    }
    if (!states.empty())
        XChangeProperty(display_, id, A(NET_WM_STATE), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(states.data()), static_cast<int>(states.size()));
    SetTitle(id, title);
    return id;
}

void X11Backend::SetWmHints(TWindow& w) {
    XWMHints* hints = XAllocWMHints();
    if (!hints) return;
    hints->flags = InputHint | StateHint;
    hints->input = w.Style.Kind == TWindowKind::Popup ? False : True;
    hints->initial_state = NormalState;
    XSetWMHints(display_, w.Id, hints);
    XFree(hints);
}

void X11Backend::SetSizeHints(TWindow& w) {
    XSizeHints* hints = XAllocSizeHints();
    if (!hints) return;
    const int width = std::max(1, w.Bounds.Width());
    const int height = std::max(1, w.Bounds.Height());
    // The program chose the position: the window manager keeps it, and with
    // static gravity it is the client area's, not the frame's.
    hints->flags = PPosition | USPosition | PSize | USSize | PWinGravity;
    hints->x = w.Bounds.Left;
    hints->y = w.Bounds.Top;
    hints->width = width;
    hints->height = height;
    hints->win_gravity = StaticGravity;
    if (!w.Style.Resizable) {
        hints->flags |= PMinSize | PMaxSize;
        hints->min_width = hints->max_width = width;
        hints->min_height = hints->max_height = height;
    }
    XSetWMNormalHints(display_, w.Id, hints);
    XFree(hints);
}

void X11Backend::DestroyWindow(WindowId window) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    TWindow& w = *it->second;
    if (grab_ == window) UngrabPointer();
    if (focused_ == window) focused_ = 0;
    if (w.Ic) XDestroyIC(w.Ic);
    w.Surface.reset();
    XDestroyWindow(display_, window);
    XFlush(display_);
    windows_.erase(it);
    clicks_.Reset();
    // Events already taken for it would reach a window the framework forgot.
    std::erase_if(pending_, [window](const TEvent& e) { return e.Window == window; });
}

void X11Backend::SetTitle(WindowId window, const std::string& title) {
    if (!Find(window)) return;
    const auto* text = reinterpret_cast<const unsigned char*>(title.data());
    const int length = static_cast<int>(title.size());
    XChangeProperty(display_, window, A(NET_WM_NAME), A(UTF8_STRING), 8, PropModeReplace, text, length);
    XChangeProperty(display_, window, A(NET_WM_ICON_NAME), A(UTF8_STRING), 8, PropModeReplace, text, length);
    // The legacy name: plain ASCII as STRING; anything else as UTF8_STRING,
    // which Xlib's text-property readers decode. Converting to COMPOUND_TEXT
    // instead would load the locale converters, a few million instructions
    // at start-up for window managers that read _NET_WM_NAME anyway.
    const bool ascii = std::all_of(title.begin(), title.end(), [](char c) { return (c & 0x80) == 0; });
    XChangeProperty(display_, window, XA_WM_NAME, ascii ? XA_STRING : A(UTF8_STRING), 8, PropModeReplace,
                    text, length);
    XFlush(display_);
}

void X11Backend::SetBounds(WindowId window, const TRect& bounds) {
    TWindow* w = Find(window);
    if (!w) return;
    w->Bounds = bounds;
    // Moved mostly onto a monitor of another scale by the program itself: the
    // ConfigureNotify that follows brings no news of bounds.
    UpdateWindowScale(*w);
    // A fixed-size window's hints would forbid the new size.
    SetSizeHints(*w);
    XMoveResizeWindow(display_, window, bounds.Left, bounds.Top,
                      static_cast<unsigned>(std::max(1, bounds.Width())),
                      static_cast<unsigned>(std::max(1, bounds.Height())));
    XFlush(display_);
}

void X11Backend::SetVisible(WindowId window, bool visible) {
    TWindow* w = Find(window);
    if (!w || w->Visible == visible) return;
    w->Visible = visible;
    if (visible) {
        if (w->Style.Kind == TWindowKind::Popup) {
            XMapRaised(display_, window);
        } else {
            SetSizeHints(*w);
            XMapWindow(display_, window);
        }
        KeepOnTop();
    } else if (w->Style.Kind == TWindowKind::Popup) {
        XUnmapWindow(display_, window);
    } else {
        // Tells the window manager too, which then forgets the frame.
        XWithdrawWindow(display_, window, screen_);
    }
    XFlush(display_);
}

void X11Backend::TakeFocus(WindowId window) {
    TWindow* w = Find(window);
    if (!w || w->Style.Kind == TWindowKind::Popup) return;
    // A window manager hands the focus over when asked; without one the window
    // takes it itself as soon as it is viewable (at once, or at its MapNotify).
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = A(NET_ACTIVE_WINDOW);
    request.xclient.format = 32;
    request.xclient.data.l[0] = 1; // from an application
    request.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    w->WantsFocus = true;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable)
        FocusNow(*w);
    XFlush(display_);
}

void X11Backend::FocusNow(TWindow& w) {
    w.WantsFocus = false;
    // A window gone unviewable since makes this fail; the error is only recorded.
    XSetInputFocus(display_, w.Id, RevertToParent, CurrentTime);
}

void X11Backend::Raise(WindowId window) {
    if (!Find(window)) return;
    XRaiseWindow(display_, window);
    KeepOnTop();
    XFlush(display_);
}

// Stay-on-top windows above the others and popups above everything. A window
// manager does this itself for _NET_WM_STATE_ABOVE; without one the program's
// own stacking is all there is.
void X11Backend::KeepOnTop() {
    for (auto& [id, w] : windows_)
        if (w->Visible && w->Style.StayOnTop && w->Style.Kind != TWindowKind::Popup)
            XRaiseWindow(display_, id);
    for (auto& [id, w] : windows_)
        if (w->Visible && w->Style.Kind == TWindowKind::Popup) XRaiseWindow(display_, id);
}

std::vector<long> X11Backend::ReadCardinals(unsigned long window, unsigned long property,
                                            unsigned long type) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(display_, window, property, 0, 1024, False, type, &actual, &format, &count, &after,
                           &data) == Success &&
        actual == type && format == 32)
        values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
    if (data) XFree(data);
    return values;
}

std::optional<TRect> X11Backend::ReadFrameExtents(WindowId window) {
    const std::vector<long> v = ReadCardinals(window, A(NET_FRAME_EXTENTS), XA_CARDINAL);
    if (v.size() != 4) return std::nullopt;
    // The property is left, right, top, bottom.
    return TRect{static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                 static_cast<int>(v[3])};
}

TRect X11Backend::FrameExtents(WindowId window) {
    TWindow* w = Find(window);
    if (!w || w->Style.Kind == TWindowKind::Popup) return {};
    // Forms ask often; the answer changes only with a property change, which
    // the event loop follows.
    if (w->Frame) return *w->Frame;
    w->Frame = ReadFrameExtents(window);
    if (w->Frame) return *w->Frame;
    w->Frame = TRect{};
    if (!wmFrameRequests_) {
        // Whether a window manager runs that estimates frames before mapping.
        // Only a yes is kept: a window manager may start, or finish starting, later.
        const bool haveWm = ReadCardinals(root_, A(NET_SUPPORTING_WM_CHECK), XA_WINDOW).size() == 1;
        const std::vector<long> supported =
            haveWm ? ReadCardinals(root_, A(NET_SUPPORTED), XA_ATOM) : std::vector<long>{};
        wmFrameRequests_ = std::find(supported.begin(), supported.end(),
                                     static_cast<long>(A(NET_REQUEST_FRAME_EXTENTS))) != supported.end();
    }
    if (!wmFrameRequests_) return *w->Frame;
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = A(NET_REQUEST_FRAME_EXTENTS);
    request.xclient.format = 32;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    const std::int64_t until = NowMs() + 200;
    while (NowMs() < until) {
        XSync(display_, False);
        if (auto extents = ReadFrameExtents(window)) return *(w->Frame = extents);
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, 10);
    }
    return *w->Frame;
}

void X11Backend::Present(WindowId window, const std::uint32_t* pixels, int width, int height, int stride,
                         const TRect& dirty) {
    TWindow* w = Find(window);
    if (!w) return;
    if (!w->Surface) w->Surface = std::make_unique<X11Surface>(display_, window, visual_, depth_, useShm_);
    w->Surface->Present(pixels, width, height, stride, dirty);
    if (!firstFrameReported_) ReportFirstFrame();
}

// For start-up measurements: when EMR_FIRST_FRAME_FD names an open file
// descriptor, the monotonic time (nanoseconds) at which the first frame
// reached the server is written to it once.
void X11Backend::ReportFirstFrame() {
    firstFrameReported_ = true;
    const char* fdText = std::getenv("EMR_FIRST_FRAME_FD");
    if (!fdText || !*fdText) return;
    char* end = nullptr;
    const long fd = std::strtol(fdText, &end, 10);
    const bool valid = !*end && fd >= 0 && fd <= INT_MAX;
    // Programs this one starts must not write to whatever later takes that number.
    unsetenv("EMR_FIRST_FRAME_FD");
    if (!valid) return;
    XSync(display_, False);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::string line =
        std::to_string(static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec) + "\n";
    [[maybe_unused]] ssize_t written = write(static_cast<int>(fd), line.data(), line.size());
    close(static_cast<int>(fd));
}

// ---------------------------------------------------------------- pointer

void X11Backend::SetCursor(WindowId window, TCursorShape shape) {
    if (!Find(window)) return;
    auto it = cursors_.find(shape);
    if (it == cursors_.end())
        it = cursors_.emplace(shape, XCreateFontCursor(display_, CursorGlyph(shape))).first;
    XDefineCursor(display_, window, it->second);
    XFlush(display_);
}

void X11Backend::GrabPointer(WindowId window) {
    if (!Find(window)) return;
    // Without owner events every pointer event goes to `window`, with
    // coordinates relative to it, wherever the pointer is.
    const int result = XGrabPointer(display_, window, False, kGrabEvents, GrabModeAsync, GrabModeAsync, None,
                                    None, CurrentTime);
    grab_ = result == GrabSuccess ? window : 0;
}

void X11Backend::UngrabPointer() {
    if (!grab_) return;
    grab_ = 0;
    XUngrabPointer(display_, CurrentTime);
    XFlush(display_);
}

TPoint X11Backend::PointerPosition() {
    Window rootReturn = None, child = None;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    XQueryPointer(display_, root_, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask);
    return {rootX, rootY};
}

// ---------------------------------------------------------------- screen

TRect X11Backend::ScreenRect() {
    return {0, 0, DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
}

TRect X11Backend::WorkArea() {
    const TRect screen = ScreenRect();
    const std::vector<long> desktop = ReadCardinals(root_, A(NET_CURRENT_DESKTOP), XA_CARDINAL);
    const std::vector<long> areas = ReadCardinals(root_, A(NET_WORKAREA), XA_CARDINAL);
    // One x, y, width, height per desktop; the current desktop's, else the first.
    std::size_t index = desktop.size() == 1 && desktop[0] >= 0 ? static_cast<std::size_t>(desktop[0]) * 4 : 0;
    if (index + 4 > areas.size()) index = 0;
    if (areas.size() < 4) return screen;
    const TRect published =
        TRect::FromBounds(static_cast<int>(areas[index]), static_cast<int>(areas[index + 1]),
                          static_cast<int>(areas[index + 2]), static_cast<int>(areas[index + 3]));
    const TRect clipped = published.Intersect(screen);
    return clipped.Empty() ? screen : clipped;
}

std::vector<TRect> X11Backend::Monitors() {
    std::vector<TRect> monitors;
    for (const TMonitorGeometry& monitor : ReadMonitors())
        monitors.push_back(monitor.Bounds);
    return monitors;
}

} // namespace x11
} // namespace emr::platform
