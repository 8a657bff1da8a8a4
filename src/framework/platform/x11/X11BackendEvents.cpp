#include "framework/platform/x11/X11Backend.h"

#include "framework/core/Utf8.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>

#include "framework/platform/x11/X11BackendInternals.h"
#include "framework/platform/x11/X11Keys.h"

// Xlib names its exposure event like the framework's event type.
constexpr int kXExposeEvent = Expose;
#undef Expose

namespace emr::platform::x11 {

namespace {

// The text a key types when no input method is at hand: Latin-1 keysyms and
// the Unicode keysym range are their own code points; XLookupString has
// already turned control combinations and editing keys into bytes.
std::string TextFromKey(XKeyEvent& key) {
    char bytes[32] = {};
    KeySym keysym = NoSymbol;
    const int n = XLookupString(&key, bytes, sizeof bytes - 1, &keysym, nullptr);
    std::string out;
    if (keysym >= 0x1000100 && keysym <= 0x110FFFF) {
        AppendUtf8(out, static_cast<char32_t>(keysym - 0x1000000));
    } else {
        for (int i = 0; i < n; ++i)
            AppendUtf8(out, static_cast<unsigned char>(bytes[i]));
    }
    return out;
}

TEvent WindowEvent(TEventType type, WindowId window) {
    TEvent e;
    e.Type = type;
    e.Window = window;
    return e;
}

} // namespace

// ---------------------------------------------------------------- events and time

std::int64_t X11Backend::NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void X11Backend::Wake() {
    if (wakePipe_[1] < 0) return;
    const char byte = 1;
    // A full pipe already wakes the loop; nothing is lost by dropping this byte.
    [[maybe_unused]] ssize_t written = write(wakePipe_[1], &byte, 1);
}

std::optional<TEvent> X11Backend::NextEvent(std::optional<std::int64_t> deadlineMs) {
    for (;;) {
        if (!pending_.empty()) {
            TEvent event = std::move(pending_.front());
            pending_.pop_front();
            return event;
        }
        while (pending_.empty() && XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (im_ && XFilterEvent(&event, None)) continue;
            Translate(event);
        }
        if (!pending_.empty()) continue;

        int timeout = -1;
        if (deadlineMs) {
            const std::int64_t remaining = *deadlineMs - NowMs();
            if (remaining <= 0) return std::nullopt;
            timeout = static_cast<int>(std::min<std::int64_t>(remaining, INT_MAX));
        }
        // Flushing may read events in passing; they would wait in the queue
        // while poll watches an empty connection.
        XFlush(display_);
        if (XEventsQueued(display_, QueuedAlready) > 0) continue;
        // Requests the accessibility bus left in the library's buffer would not wake poll.
        DispatchAccessibility();
        pollfd fds[3] = {{ConnectionNumber(display_), POLLIN, 0},
                         {wakePipe_[0], POLLIN, 0},
                         {AccessibilityFd(), POLLIN, 0}};
        const int ready = poll(fds, 3, timeout);
        if (ready < 0 && errno != EINTR) return std::nullopt;
        if (ready > 0 && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) DispatchAccessibility();
        if (ready > 0 && (fds[1].revents & POLLIN)) {
            char drain[64];
            while (read(wakePipe_[0], drain, sizeof drain) > 0) {
            }
            if (stopSignals_ && stopSignals_->Take()) return WindowEvent(TEventType::SessionEnd, 0);
            return std::nullopt;
        }
    }
}

void X11Backend::Translate(_XEvent& event) {
    if (TranslateScaleEvent(event)) return;
    switch (event.type) {
    case MotionNotify: {
        // Only the latest of a run of moves over the same window matters.
        XEvent next;
        while (XEventsQueued(display_, QueuedAlready) > 0) {
            XPeekEvent(display_, &next);
            if (next.type != MotionNotify || next.xmotion.window != event.xmotion.window) break;
            XNextEvent(display_, &event);
        }
        const XMotionEvent& m = event.xmotion;
        if (!Find(m.window)) return;
        TEvent e;
        e.Type = TEventType::MouseMove;
        e.Window = m.window;
        e.X = m.x;
        e.Y = m.y;
        e.ScreenX = m.x_root;
        e.ScreenY = m.y_root;
        e.Shift = ShiftFromXState(m.state);
        pending_.push_back(std::move(e));
        return;
    }
    case ButtonPress:
    case ButtonRelease:
        TranslateButton(event);
        return;
    case LeaveNotify: {
        const XCrossingEvent& c = event.xcrossing;
        // Crossings caused by grabs, and those while the program holds the
        // pointer, are not the pointer leaving.
        if (c.mode != NotifyNormal || c.detail == NotifyInferior || grab_ || !Find(c.window)) return;
        TEvent e;
        e.Type = TEventType::MouseLeaveWindow;
        e.Window = c.window;
        e.X = c.x;
        e.Y = c.y;
        e.ScreenX = c.x_root;
        e.ScreenY = c.y_root;
        e.Shift = ShiftFromXState(c.state);
        pending_.push_back(std::move(e));
        return;
    }
    case KeyPress:
    case KeyRelease:
        TranslateKey(event);
        return;
    case FocusIn:
    case FocusOut: {
        const XFocusChangeEvent& f = event.xfocus;
        if (f.mode == NotifyGrab || f.mode == NotifyUngrab || f.detail == NotifyPointer ||
            f.detail == NotifyInferior)
            return;
        TWindow* w = Find(f.window);
        if (!w) return;
        if (event.type == FocusIn) {
            if (focused_ == f.window) return;
            if (focused_) pending_.push_back(WindowEvent(TEventType::Deactivate, focused_));
            focused_ = f.window;
            if (w->Ic) XSetICFocus(w->Ic);
            pending_.push_back(WindowEvent(TEventType::Activate, f.window));
        } else {
            if (focused_ != f.window) return;
            focused_ = 0;
            if (w->Ic) XUnsetICFocus(w->Ic);
            pending_.push_back(WindowEvent(TEventType::Deactivate, f.window));
        }
        return;
    }
    case kXExposeEvent: {
        const XExposeEvent& x = event.xexpose;
        TWindow* w = Find(x.window);
        if (!w) return;
        w->PendingExpose = w->PendingExpose.Union(TRect::FromBounds(x.x, x.y, x.width, x.height));
        if (x.count > 0) return;
        const TRect area = w->PendingExpose;
        w->PendingExpose = {};
        // The kept picture repaints the window at once; the framework is only
        // asked for what it does not cover.
        if (w->Surface && w->Surface->Repaint(area)) return;
        TEvent e;
        e.Type = TEventType::Expose;
        e.Window = x.window;
        e.Rect = area;
        pending_.push_back(std::move(e));
        return;
    }
    case ConfigureNotify:
        TranslateConfigure(event);
        return;
    case MapNotify: {
        TWindow* w = Find(event.xmap.window);
        if (w && w->WantsFocus && event.xmap.event == event.xmap.window) FocusNow(*w);
        return;
    }
    case PropertyNotify: {
        const XPropertyEvent& p = event.xproperty;
        TWindow* w = Find(p.window);
        if (!w || p.atom != A(NET_FRAME_EXTENTS)) return;
        const TRect frame = ReadFrameExtents(p.window).value_or(TRect{});
        if (w->Frame == frame) return;
        w->Frame = frame;
        // The outer bounds the form keeps changed with the frame: it learns
        // them again from its client area.
        TEvent e = WindowEvent(TEventType::Configure, p.window);
        e.Rect = w->Bounds;
        pending_.push_back(std::move(e));
        return;
    }
    case ClientMessage: {
        const XClientMessageEvent& c = event.xclient;
        if (c.message_type != A(WM_PROTOCOLS) || c.format != 32) return;
        const Atom protocol = static_cast<Atom>(c.data.l[0]);
        if (protocol == A(WM_DELETE_WINDOW) && Find(c.window)) {
            pending_.push_back(WindowEvent(TEventType::CloseRequest, c.window));
        } else if (protocol == A(NET_WM_PING)) {
            XEvent reply = event;
            reply.xclient.window = root_;
            XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &reply);
        }
        return;
    }
    case MappingNotify:
        if (event.xmapping.request == MappingKeyboard || event.xmapping.request == MappingModifier)
            XRefreshKeyboardMapping(&event.xmapping);
        return;
    case DestroyNotify: {
        // Destroyed behind the program's back (by another client). Windows the
        // program destroys itself are forgotten before this arrives.
        const ::Window gone = event.xdestroywindow.window;
        if (gone == grab_) grab_ = 0;
        if (gone == focused_) focused_ = 0;
        auto it = windows_.find(gone);
        if (it == windows_.end() || event.xdestroywindow.event != gone) return;
        if (it->second->Ic) XDestroyIC(it->second->Ic);
        it->second->Surface.reset();
        windows_.erase(it);
        clicks_.Reset();
        std::erase_if(pending_, [gone](const TEvent& e) { return e.Window == gone; });
        pending_.push_back(WindowEvent(TEventType::Destroyed, gone));
        return;
    }
    default:
        return;
    }
}

void X11Backend::TranslateButton(_XEvent& event) {
    const XButtonEvent& b = event.xbutton;
    if (!Find(b.window)) return;
    TEvent e;
    TShiftState flag = 0;
    switch (b.button) {
    case Button1:
        e.Button = TMouseButton::Left, flag = ssLeft;
        break;
    case Button2:
        e.Button = TMouseButton::Middle, flag = ssMiddle;
        break;
    case Button3:
        e.Button = TMouseButton::Right, flag = ssRight;
        break;
    default:
        return; // wheel and extra buttons: the framework has no use for them
    }
    e.Window = b.window;
    e.X = b.x;
    e.Y = b.y;
    e.ScreenX = b.x_root;
    e.ScreenY = b.y_root;
    // X reports the buttons held before the event; the framework wants them after it.
    if (event.type == ButtonPress) {
        const bool isDouble =
            clicks_.Press(b.window, e.Button, b.x_root, b.y_root, static_cast<std::int64_t>(b.time));
        e.Type = isDouble ? TEventType::MouseDoubleClick : TEventType::MouseDown;
        e.Shift = ShiftFromXState(b.state) | flag | (isDouble ? TShiftState{ssDouble} : TShiftState{0});
    } else {
        e.Type = TEventType::MouseUp;
        e.Shift = ShiftFromXState(b.state) & ~flag;
    }
    pending_.push_back(std::move(e));
}

void X11Backend::EnsureInputMethod() {
    if (imTried_) return;
    imTried_ = true;
    // Opened on the first key press, not at start-up: it loads the locale's
    // input-method tables, which a window that is only clicked never needs.
    XSetLocaleModifiers("");
    im_ = XOpenIM(display_, nullptr, nullptr, nullptr);
    if (!im_) {
        XSetLocaleModifiers("@im=none");
        im_ = XOpenIM(display_, nullptr, nullptr, nullptr);
    }
}

_XIC* X11Backend::InputContext(TWindow& w) {
    EnsureInputMethod();
    if (!im_ || w.Ic) return w.Ic;
    w.Ic = XCreateIC(im_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, w.Id,
                     XNFocusWindow, w.Id, nullptr);
    if (!w.Ic) return nullptr;
    long filterEvents = 0;
    if (!XGetICValues(w.Ic, XNFilterEvents, &filterEvents, nullptr))
        XSelectInput(display_, w.Id, kWindowEvents | filterEvents);
    XSetICFocus(w.Ic);
    return w.Ic;
}

void X11Backend::TranslateKey(_XEvent& event) {
    XKeyEvent& k = event.xkey;
    TWindow* w = Find(k.window);
    if (!w) return;
    const bool pressed = event.type == KeyPress;
    TEvent e;
    e.Type = pressed ? TEventType::KeyDown : TEventType::KeyUp;
    e.Window = k.window;
    e.X = k.x;
    e.Y = k.y;
    e.ScreenX = k.x_root;
    e.ScreenY = k.y_root;
    e.Key = VirtualKeyFromKeysym(XLookupKeysym(&k, 0));
    e.Shift = ShiftAfterKey(ShiftFromXState(k.state), e.Key, pressed);
    if (e.Key) pending_.push_back(e);
    if (!pressed) return;

    std::string text;
    if (XIC ic = InputContext(*w)) {
        char buffer[64];
        KeySym keysym = NoSymbol;
        Status status = 0;
        int n = Xutf8LookupString(ic, &k, buffer, sizeof buffer, &keysym, &status);
        if (status == XBufferOverflow) {
            std::string big(static_cast<std::size_t>(n), '\0');
            n = Xutf8LookupString(ic, &k, big.data(), n, &keysym, &status);
            text.assign(big.data(), static_cast<std::size_t>(std::max(0, n)));
        } else if (status == XLookupChars || status == XLookupBoth) {
            text.assign(buffer, static_cast<std::size_t>(n));
        }
    }
    if (text.empty()) text = TextFromKey(k);
    // Delete types nothing. An Alt combination still carries its character: the
    // framework makes it a system character, which menu bars and accelerators read.
    if (text.empty() || text == "\x7f") return;
    TEvent c;
    c.Type = TEventType::Char;
    c.Window = k.window;
    c.Shift = e.Shift;
    c.Text = std::move(text);
    pending_.push_back(std::move(c));
}

void X11Backend::TranslateConfigure(_XEvent& event) {
    const Window window = event.xconfigure.window;
    // Only the final shape of a run of changes matters.
    while (XCheckTypedWindowEvent(display_, window, ConfigureNotify, &event)) {
    }
    TWindow* w = Find(window);
    if (!w) return;
    const XConfigureEvent& c = event.xconfigure;
    TRect bounds = TRect::FromBounds(c.x, c.y, c.width, c.height);
    // A real event from inside a window manager's frame is relative to the
    // frame; ask the server where the client area is on the screen.
    if (!c.send_event && w->Style.Kind != TWindowKind::Popup) {
        int x = 0, y = 0;
        Window child = None;
        if (XTranslateCoordinates(display_, window, root_, 0, 0, &x, &y, &child))
            bounds = TRect::FromBounds(x, y, c.width, c.height);
    }
    if (bounds == w->Bounds) return;
    w->Bounds = bounds;
    TEvent e;
    e.Type = TEventType::Configure;
    e.Window = window;
    e.Rect = bounds;
    pending_.push_back(std::move(e));
    UpdateWindowScale(*w);
}

} // namespace emr::platform::x11
