#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/platform/Backend.h"

namespace emr::platform {

/// A backend on the Windows user interface of the running session. Never null:
/// a Windows program always has its desktop.
std::unique_ptr<Backend> CreateWin32Backend();

namespace win32 {

class TMsaaBridge;

/// The backend over real top-level windows (HWND). Window ids are the window
/// handles. Bounds are the client area in screen coordinates; the frame is
/// worked out from the window's styles.
///
/// Window kinds:
/// - Framed: caption, system menu, minimise and maximise boxes as asked, a
///   sizing border only when resizable; owned by its owner when it has one.
/// - Borderless (floating toolbars): a tool window without frame.
/// - Popup (menus, option windows, hints): a topmost tool window that never
///   activates, even when clicked.
///
/// Every presented picture is kept, so that the system's repaint requests are
/// answered at once without asking the framework.
///
/// The end of the session (WM_ENDSESSION) is one SessionEnd event, handled before
/// the system is answered: the system may end the process as soon as it is.
///
/// The desktop's colour and theme changes (WM_SYSCOLORCHANGE, WM_THEMECHANGED, and
/// WM_SETTINGCHANGE when it brings other colours) reload the system colours and
/// become one ThemeChanged event.
///
/// Assistive technology asks each window for its client area's accessible object
/// (WM_GETOBJECT), answered from the framework's accessible tree (TMsaaBridge).
class Win32Backend final : public Backend {
public:
    Win32Backend();
    ~Win32Backend() override;

    WindowId CreateWindow(const TWindowStyle& style, const TRect& bounds, const std::string& title) override;
    void DestroyWindow(WindowId window) override;
    void SetTitle(WindowId window, const std::string& title) override;
    void SetBounds(WindowId window, const TRect& bounds) override;
    void SetVisible(WindowId window, bool visible) override;
    void Raise(WindowId window) override;
    void TakeFocus(WindowId window) override;
    TRect FrameExtents(WindowId window) override;
    void Present(WindowId window, const std::uint32_t* pixels, int width, int height, int stride,
                 const TRect& dirty) override;

    void SetCursor(WindowId window, TCursorShape shape) override;
    void GrabPointer(WindowId window) override;
    void UngrabPointer() override;
    TPoint PointerPosition() override;

    TRect ScreenRect() override;
    TRect WorkArea() override;
    std::vector<TRect> Monitors() override;
    /// Each monitor's DPI over 96 (GetDpiForMonitor; the screen's one DPI before Windows 8.1).
    std::vector<double> MonitorScales() override;
    /// The window's DPI over 96 (GetDpiForWindow where there is one). It changes
    /// with WM_DPICHANGED, which becomes ScaleChanged with the client bounds of
    /// the rectangle the system suggests, and the window takes that rectangle.
    double WindowScale(WindowId window) override;
    /// The colour name of the active visual style as a scheme number (ThemeSchemeOfColorName).
    int ThemeScheme() override;

    std::int64_t NowMs() override;
    std::optional<TEvent> NextEvent(std::optional<std::int64_t> deadlineMs) override;
    void Wake() override;
    /// Kept for the end of the session, which must be handled before the window
    /// procedure returns (see EndSession).
    void SetPump(TPump pump) override { pump_ = std::move(pump); }

    void SetAccessibleSource(AccessibleSource* source) override;
    void NotifyAccessible(TAccessibleEvent event, AccessibleId id) override;

    /// The window that holds the pointer, 0 when none.
    WindowId GrabWindow() const { return grab_; }

    /// Handles one window message for a window of this backend; false when the
    /// system's default handling should follow. Used by the window procedure.
    bool HandleMessage(WindowId window, unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                       std::intptr_t& result);

private:
    struct TWindow;

    TWindow* Find(WindowId window);
    TEvent PointerEvent(TEventType type, WindowId window, std::intptr_t lParam, std::uintptr_t wParam);
    void PushKey(WindowId window, bool pressed, int key);
    /// `extra`: shift flags the message itself says are held (Alt for WM_SYSCHAR).
    void PushChar(WindowId window, unsigned unit, TShiftState extra);
    void Configured(TWindow& w);
    /// WM_DPICHANGED: takes the suggested window rectangle and tells the framework.
    void DpiChanged(TWindow& w, unsigned dpi, const TRect& suggested);
    /// WM_GETDPISCALEDSIZE: the window size at `dpi` that keeps the client's
    /// size in device-independent pixels.
    TPoint DpiScaledSize(const TWindow& w, unsigned dpi) const;
    void Paint(TWindow& w);
    /// Reads the system colours into the framework's scheme; true when they changed.
    bool LoadSystemColors();
    /// Queues one ThemeChanged event, unless one is still waiting.
    void QueueThemeChange();
    /// Queues the SessionEnd event once and lets the framework handle it at once.
    void EndSession();

    std::map<WindowId, std::unique_ptr<TWindow>> windows_;
    std::deque<TEvent> pending_;
    WindowId grab_ = 0;
    WindowId tracking_ = 0; // the window whose leaving is watched
    unsigned long threadId_ = 0;
    bool woken_ = false;
    bool sessionEnded_ = false;
    TPump pump_;
    unsigned highSurrogate_ = 0;
    std::int64_t frequency_ = 1;
    std::unique_ptr<TMsaaBridge> accessibility_;
};

} // namespace win32
} // namespace emr::platform
