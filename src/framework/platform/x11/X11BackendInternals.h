#pragma once

// What the two source files of X11Backend share: atom indexes, the window
// record and the events every window listens to.

#include "framework/platform/x11/ScaleDiscovery.h"
#include "framework/platform/x11/X11Backend.h"
#include "framework/platform/x11/X11Surface.h"

#include <X11/Xlib.h>

#include <memory>
#include <optional>

namespace emr::platform::x11 {

enum X11Backend::AtomIndex : int {
    WM_PROTOCOLS,
    WM_DELETE_WINDOW,
    NET_WM_PING,
    NET_WM_NAME,
    NET_WM_ICON_NAME,
    UTF8_STRING,
    NET_WM_PID,
    MOTIF_WM_HINTS,
    NET_WM_STATE,
    NET_WM_STATE_ABOVE,
    NET_WM_STATE_SKIP_TASKBAR,
    NET_WM_STATE_SKIP_PAGER,
    NET_WM_WINDOW_TYPE,
    NET_WM_WINDOW_TYPE_NORMAL,
    NET_WM_WINDOW_TYPE_DIALOG,
    NET_WM_WINDOW_TYPE_UTILITY,
    NET_WM_WINDOW_TYPE_POPUP_MENU,
    NET_FRAME_EXTENTS,
    NET_REQUEST_FRAME_EXTENTS,
    NET_WORKAREA,
    NET_CURRENT_DESKTOP,
    NET_SUPPORTING_WM_CHECK,
    NET_SUPPORTED,
    NET_ACTIVE_WINDOW,
    NET_WM_ICON,
    XSETTINGS_SETTINGS,
    MANAGER,
    AtomCount
};

struct X11Backend::TWindow {
    WindowId Id = 0;
    TWindowStyle Style;
    TRect Bounds;
    bool Visible = false;
    std::unique_ptr<X11Surface> Surface;
    XIC Ic = nullptr;
    TRect PendingExpose;
    /// The window manager's frame, once known.
    std::optional<TRect> Frame;
    /// Asked for the keyboard focus before it was viewable.
    bool WantsFocus = false;
    /// The scale it was last told about (ScaleChanged).
    double Scale = 1.0;
};

constexpr long kWindowEvents = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                               ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                               LeaveWindowMask | FocusChangeMask | PropertyChangeMask;

} // namespace emr::platform::x11
