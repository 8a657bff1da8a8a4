#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "framework/platform/Backend.h"
#include "framework/platform/x11/ClickTracker.h"
#include "framework/platform/x11/ScaleDiscovery.h"
#include "framework/platform/x11/StopSignals.h"

struct _XDisplay;
union _XEvent;
struct _XIM;
struct _XIC;

namespace emr::platform {

/// Opens `display` (nullptr: the one `DISPLAY` names) and returns a backend on
/// it, or nullptr when no X server can be reached there. Never throws and
/// never ends the process.
std::unique_ptr<Backend> CreateX11Backend(const char* display = nullptr);

/// What a program says when `CreateX11Backend` found no display: that no X
/// display is reachable and that `DISPLAY` must name one.
std::string NoDisplayMessage(const char* display = nullptr);

namespace atspi {
class TAtspiBridge;
}

namespace x11 {

class X11Surface;

/// The backend on a real X server through Xlib.
///
/// Window ids are the X window ids. Bounds are the client area in screen
/// coordinates, also for framed windows: they are created with static window
/// gravity, so a window manager puts its frame around the requested client
/// area instead of moving the client by the frame's size. A form that keeps
/// its outer top-left (its stored Left and Top) asks `FrameExtents` after
/// creating the window and before showing it, and offsets the client area by
/// the frame's left and top thickness; before the window is mapped the
/// extents are the window manager's estimate (`_NET_REQUEST_FRAME_EXTENTS`),
/// without a window manager they are zero.
///
/// Window kinds:
/// - Framed: managed, titled (`_NET_WM_NAME` and `WM_NAME`), `WM_NORMAL_HINTS`
///   with the position as user-specified and minimum = maximum size when not
///   resizable, `_MOTIF_WM_HINTS` without the minimise or maximise function
///   when they are off, `WM_TRANSIENT_FOR` its owner.
/// - Borderless (floating toolbars): managed but undecorated, utility type,
///   `_NET_WM_STATE_ABOVE` when stay-on-top; the program moves it freely.
/// - Popup (menus, option windows): override-redirect, so it lands exactly where
///   asked, takes no focus and is kept above the program's other windows.
class X11Backend final : public Backend {
public:
    /// Takes over an open connection (closed by the destructor).
    explicit X11Backend(_XDisplay* display);
    ~X11Backend() override;

    /// Until a program names itself, its windows go by the executable's name
    /// (class: the same, capitalised) and have no icon of their own.
    void SetIdentity(const TProgramIdentity& identity) override;
    const TProgramIdentity& Identity() const { return identity_; }

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
    /// Each monitor's scale as ScaleDiscovery finds it, read afresh.
    std::vector<double> MonitorScales() override;
    /// The scale the window was last told about: it follows the desktop's density
    /// settings and the monitor the window lies on mostly (ScaleChanged, whose Rect
    /// keeps the top-left and the client's size in device-independent pixels).
    double WindowScale(WindowId window) override;

    std::int64_t NowMs() override;
    std::optional<TEvent> NextEvent(std::optional<std::int64_t> deadlineMs) override;
    void Wake() override;

    /// Assistive technology reads the tree over AT-SPI, and only once the desktop
    /// has an accessibility bus; without one nothing is loaded or connected.
    void SetAccessibleSource(AccessibleSource* source) override;
    void NotifyAccessible(TAccessibleEvent event, AccessibleId id) override;
    /// True while the program is connected to the accessibility bus.
    bool AccessibilityConnected() const;

    /// The connection, for tests and diagnostics.
    _XDisplay* Display() const { return display_; }
    /// Number of X protocol errors recorded on this connection.
    std::uint64_t ErrorCount() const;
    /// Whether presenting may use MIT-SHM (on by default when the server is local).
    void SetUseSharedMemory(bool use) { useShm_ = use; }
    bool UsesSharedMemory(WindowId window) const;
    /// The window that holds the pointer grab, 0 when none.
    WindowId GrabWindow() const { return grab_; }

private:
    struct TWindow;
    enum AtomIndex : int;

    TWindow* Find(WindowId window);
    const TWindow* Find(WindowId window) const;
    void FocusNow(TWindow& w);
    unsigned long A(AtomIndex atom) const { return atoms_[atom]; }
    void SetWmHints(TWindow& w);
    void ApplyIdentity(unsigned long window);
    void SetSizeHints(TWindow& w);
    void KeepOnTop();
    void Translate(_XEvent& event);
    void TranslateButton(_XEvent& event);
    void TranslateKey(_XEvent& event);
    void TranslateConfigure(_XEvent& event);
    void EnsureInputMethod();
    _XIC* InputContext(TWindow& w);
    void ReportFirstFrame();
    std::vector<long> ReadCardinals(unsigned long window, unsigned long property, unsigned long type);
    std::optional<TRect> ReadFrameExtents(WindowId window);
    /// The root window's AT_SPI_BUS property, which the bus launcher sets.
    std::optional<std::string> ReadAccessibilityBusProperty();
    /// The accessibility bus's socket, or -1.
    int AccessibilityFd() const;
    void DispatchAccessibility();

    // Scale discovery and its run-time changes (X11BackendScale.cpp).
    std::vector<TMonitorGeometry> ReadMonitors();
    TScaleSources ReadScaleSources();
    void WatchScaleSources();
    void WatchXSettingsOwner();
    void EnsureScales();
    void RefreshScales();
    void UpdateWindowScale(TWindow& w);
    bool TranslateScaleEvent(const _XEvent& event);

    _XDisplay* display_;
    int screen_ = 0;
    unsigned long root_ = 0;
    void* visual_ = nullptr;
    int depth_ = 24;
    unsigned long colormap_ = 0;
    std::vector<unsigned long> atoms_;
    TProgramIdentity identity_;
    int wakePipe_[2] = {-1, -1};
    std::unique_ptr<x11::TStopSignals> stopSignals_;
    bool useShm_ = false;
    std::map<WindowId, std::unique_ptr<TWindow>> windows_;
    std::map<TCursorShape, unsigned long> cursors_;
    std::deque<TEvent> pending_;
    WindowId grab_ = 0;
    WindowId focused_ = 0;
    ClickTracker clicks_;
    bool imTried_ = false;
    _XIM* im_ = nullptr;
    bool firstFrameReported_ = false;
    bool wmFrameRequests_ = false; // the window manager estimates frames before mapping
    bool scalesKnown_ = false;
    int randrEventBase_ = -1;
    unsigned long xsettingsSelection_ = 0;
    unsigned long xsettingsOwner_ = 0;
    TGlobalScale globalScale_;
    std::vector<TMonitorGeometry> monitors_;
    std::vector<double> monitorScales_;
    AccessibleSource* accessibleSource_ = nullptr;
    std::unique_ptr<atspi::TAtspiBridge> atspi_;
};

} // namespace x11
} // namespace emr::platform
