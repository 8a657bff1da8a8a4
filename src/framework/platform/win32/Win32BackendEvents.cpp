// The window procedure's half of the backend: system messages become the
// framework's events.
#include "framework/core/Utf8.h"
#include "framework/graphics/Color.h"
#include "framework/platform/win32/MsaaBridge.h"
#include "framework/platform/win32/Win32Backend.h"
#include "framework/platform/win32/Win32Window.h"

// Last: the system headers' macros must not rename the framework's names.
#include "framework/platform/win32/Win32Api.h"

namespace emr::platform::win32 {

namespace {

// The context bit of a key message's lParam: Alt was down when the key was pressed.
constexpr std::intptr_t kAltDownBit = 1 << 29;
// The character that, with Alt, opens a window's system menu.
constexpr std::uintptr_t kSystemMenuChar = L' ';
// The DPI messages, named here because the headers declare them only for newer
// target versions than the program's.
constexpr unsigned kWmDpiChanged = 0x02E0;
constexpr unsigned kWmGetDpiScaledSize = 0x02E4;

HWND Handle(WindowId window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

TShiftState ShiftFromKeys() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState ShiftFromMouse(WPARAM wParam) {
    TShiftState s = 0;
    if (wParam & MK_SHIFT) s |= ssShift;
    if (wParam & MK_CONTROL) s |= ssCtrl;
    if (wParam & MK_LBUTTON) s |= ssLeft;
    if (wParam & MK_RBUTTON) s |= ssRight;
    if (wParam & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

HCURSOR CursorFor(TCursorShape shape) {
    LPCWSTR id = reinterpret_cast<LPCWSTR>(IDC_ARROW);
    switch (shape) {
    case TCursorShape::Arrow:
        break;
    case TCursorShape::Move:
        id = reinterpret_cast<LPCWSTR>(IDC_SIZEALL);
        break;
    case TCursorShape::SizeWE:
        id = reinterpret_cast<LPCWSTR>(IDC_SIZEWE);
        break;
    case TCursorShape::SizeNS:
        id = reinterpret_cast<LPCWSTR>(IDC_SIZENS);
        break;
    case TCursorShape::HandPoint:
        id = reinterpret_cast<LPCWSTR>(IDC_HAND);
        break;
    case TCursorShape::IBeam:
        id = reinterpret_cast<LPCWSTR>(IDC_IBEAM);
        break;
    case TCursorShape::Wait:
        id = reinterpret_cast<LPCWSTR>(IDC_WAIT);
        break;
    }
    return LoadCursorW(nullptr, id);
}

} // namespace

TEvent Win32Backend::PointerEvent(TEventType type, WindowId window, std::intptr_t lParam,
                                  std::uintptr_t wParam) {
    TEvent e;
    e.Type = type;
    e.Window = window;
    e.X = GET_X_LPARAM(lParam);
    e.Y = GET_Y_LPARAM(lParam);
    POINT p{e.X, e.Y};
    ClientToScreen(Handle(window), &p);
    e.ScreenX = p.x;
    e.ScreenY = p.y;
    e.Shift = ShiftFromMouse(wParam);
    return e;
}

void Win32Backend::PushKey(WindowId window, bool pressed, int key) {
    TEvent e;
    e.Type = pressed ? TEventType::KeyDown : TEventType::KeyUp;
    e.Window = window;
    e.Key = key;
    e.Shift = ShiftFromKeys();
    const TPoint p = PointerPosition();
    e.ScreenX = p.X;
    e.ScreenY = p.Y;
    pending_.push_back(std::move(e));
}

void Win32Backend::PushChar(WindowId window, unsigned unit, TShiftState extra) {
    // UTF-16 arrives one unit per message: a high surrogate waits for its partner.
    unsigned cp = unit;
    if (unit >= 0xD800 && unit < 0xDC00) {
        highSurrogate_ = unit;
        return;
    }
    if (unit >= 0xDC00 && unit < 0xE000) {
        if (!highSurrogate_) return;
        cp = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
    }
    highSurrogate_ = 0;
    // Control characters are keys, not typing (the key events carry them).
    if (cp < 0x20 || cp == 0x7F) return;
    TEvent e;
    e.Type = TEventType::Char;
    e.Window = window;
    e.Shift = ShiftFromKeys() | extra;
    AppendUtf8(e.Text, static_cast<char32_t>(cp));
    pending_.push_back(std::move(e));
}

void Win32Backend::EndSession() {
    // Every top-level window hears the end: the framework hears it once.
    if (sessionEnded_) return;
    sessionEnded_ = true;
    TEvent e;
    e.Type = TEventType::SessionEnd;
    pending_.push_back(std::move(e));
    // The process may be ended as soon as the system's message is answered, so the
    // framework takes the event and the close it causes now, in a nested pump, not
    // when its loop comes back here. A copy: the pump may replace the one kept.
    if (TPump pump = pump_) pump();
    // What the pump left in the framework's queue (the quit) is for the loop that
    // waits in NextEvent: it must look there again instead of waiting for input.
    woken_ = true;
}

void Win32Backend::Configured(TWindow& w) {
    if (w.Moving) return;
    RECT client;
    GetClientRect(Handle(w.Id), &client);
    POINT origin{0, 0};
    ClientToScreen(Handle(w.Id), &origin);
    const TRect bounds{static_cast<int>(origin.x), static_cast<int>(origin.y),
                       static_cast<int>(origin.x + client.right), static_cast<int>(origin.y + client.bottom)};
    if (bounds == w.Bounds || IsIconic(Handle(w.Id))) return;
    w.Bounds = bounds;
    TEvent e;
    e.Type = TEventType::Configure;
    e.Window = w.Id;
    e.Rect = bounds;
    pending_.push_back(std::move(e));
}

bool Win32Backend::HandleMessage(WindowId window, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                 std::intptr_t& result) {
    TWindow* w = Find(window);
    if (!w) return false;
    result = 0;
    switch (msg) {
    case WM_MOUSEMOVE: {
        if (tracking_ != window && !grab_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(window), 0};
            if (TrackMouseEvent(&track)) tracking_ = window;
        }
        pending_.push_back(PointerEvent(TEventType::MouseMove, window, lParam, wParam));
        return true;
    }
    case WM_MOUSELEAVE: {
        if (tracking_ == window) tracking_ = 0;
        // While the program holds the pointer it has not left.
        if (grab_) return true;
        const TPoint p = PointerPosition();
        POINT c{p.X, p.Y};
        ScreenToClient(Handle(window), &c);
        TEvent e;
        e.Type = TEventType::MouseLeaveWindow;
        e.Window = window;
        e.X = c.x;
        e.Y = c.y;
        e.ScreenX = p.X;
        e.ScreenY = p.Y;
        e.Shift = ShiftFromKeys();
        pending_.push_back(std::move(e));
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        TEventType type = TEventType::MouseDown;
        TMouseButton button = TMouseButton::Left;
        switch (msg) {
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            type = TEventType::MouseUp;
            break;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            type = TEventType::MouseDoubleClick;
            break;
        default:
            break;
        }
        if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK)
            button = TMouseButton::Right;
        if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK)
            button = TMouseButton::Middle;
        TEvent e = PointerEvent(type, window, lParam, wParam);
        e.Button = button;
        if (type == TEventType::MouseDoubleClick) e.Shift |= ssDouble;
        pending_.push_back(std::move(e));
        return true;
    }
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return true; // the framework has no use for the wheel
    case WM_CAPTURECHANGED:
        // Someone else took the pointer (a system menu, another program).
        if (grab_ == window && reinterpret_cast<HWND>(lParam) != Handle(window)) grab_ = 0;
        return true;
    case WM_MOUSEACTIVATE:
        if (w->Style.Kind == TWindowKind::Popup) {
            result = MA_NOACTIVATE;
            return true;
        }
        return false;
    case WM_KEYDOWN:
    case WM_KEYUP:
        PushKey(window, msg == WM_KEYDOWN, static_cast<int>(wParam & 0xFF));
        return true;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        // Alt+F4 keeps its meaning (a close request); every other system key,
        // Alt and F10 alone included, is the framework's (menu-bar keyboard mode).
        if (msg == WM_SYSKEYDOWN && wParam == VK_F4 && (lParam & kAltDownBit)) return false;
        PushKey(window, msg == WM_SYSKEYDOWN, static_cast<int>(wParam & 0xFF));
        return true;
    case WM_CHAR:
        PushChar(window, static_cast<unsigned>(wParam & 0xFFFF), 0);
        return true;
    case WM_SYSCHAR:
        // Alt+Space opens the window's system menu, which only the system has. Every
        // other Alt character is the framework's: the menu bar and the accelerators
        // of toolbar buttons take it (and the system would only beep at it).
        if (wParam == kSystemMenuChar) return false;
        PushChar(window, static_cast<unsigned>(wParam & 0xFFFF),
                 (lParam & kAltDownBit) ? TShiftState{ssAlt} : TShiftState{0});
        return true;
    case WM_QUERYENDSESSION:
        // Nothing is lost by letting the session end: the main form closes when it does.
        result = TRUE;
        return true;
    case WM_ENDSESSION:
        // The pump may destroy windows, this one among them: nothing of it is used after.
        if (wParam) EndSession();
        return true;
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT) return false;
        ::SetCursor(CursorFor(w->Cursor));
        result = TRUE;
        return true;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
        Paint(*w);
        return true;
    case WM_CLOSE: {
        TEvent e;
        e.Type = TEventType::CloseRequest;
        e.Window = window;
        pending_.push_back(std::move(e));
        return true;
    }
    case WM_ACTIVATE: {
        TEvent e;
        e.Type = LOWORD(wParam) == WA_INACTIVE ? TEventType::Deactivate : TEventType::Activate;
        e.Window = window;
        pending_.push_back(std::move(e));
        return false;
    }
    case WM_MOVE:
    case WM_SIZE:
        Configured(*w);
        return false;
    case kWmDpiChanged: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        // A DPI of 0 would be a scale of 0: the framework divides by it.
        if (!suggested || LOWORD(wParam) == 0) return false;
        DpiChanged(*w, LOWORD(wParam),
                   {static_cast<int>(suggested->left), static_cast<int>(suggested->top),
                    static_cast<int>(suggested->right), static_cast<int>(suggested->bottom)});
        return true;
    }
    case kWmGetDpiScaledSize: {
        SIZE* size = reinterpret_cast<SIZE*>(lParam);
        const unsigned dpi = LOWORD(wParam);
        if (!size || dpi == 0) return false;
        const TPoint scaled = DpiScaledSize(*w, dpi);
        size->cx = scaled.X;
        size->cy = scaled.Y;
        result = TRUE;
        return true;
    }
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        LoadSystemColors();
        QueueThemeChange();
        return false;
    case WM_SETTINGCHANGE:
        // Sent for every kind of setting (the patch's own broadcast of the regional
        // format among them): only one that brings other colours is a theme change.
        if (LoadSystemColors()) QueueThemeChange();
        return false;
    case WM_GETOBJECT:
        return accessibility_->AnswerGetObject(window, wParam, lParam, result);
    case WM_DESTROY:
        if (!w->Destroying) {
            // Destroyed by someone else: forget it and say so.
            if (grab_ == window) grab_ = 0;
            if (tracking_ == window) tracking_ = 0;
            windows_.erase(window);
            TEvent e;
            e.Type = TEventType::Destroyed;
            e.Window = window;
            pending_.push_back(std::move(e));
        }
        return false;
    default:
        return false;
    }
}

} // namespace emr::platform::win32
