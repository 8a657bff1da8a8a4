#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/core/Geometry.h"
#include "framework/platform/Accessible.h"
#include "framework/platform/ProgramIdentity.h"

namespace emr::platform {

using emr::TPoint;
using emr::TRect;

/// What kind of native window the framework asks for.
enum class TWindowKind {
    Framed,     // a normal window with a window-manager frame and title
    Borderless, // no frame (floating toolbars)
    Popup,      // menus, option windows, hints: no frame, never takes focus, exact position
};

struct TWindowStyle {
    TWindowKind Kind = TWindowKind::Framed;
    bool Resizable = true;
    bool SystemMenu = true;
    bool MinimizeBox = true;
    bool MaximizeBox = true;
    bool StayOnTop = false;
    /// The window this one belongs to (message boxes, floating toolbars, popups).
    WindowId Owner = 0;
};

enum class TCursorShape { Arrow, Move, SizeWE, SizeNS, HandPoint, IBeam, Wait };

enum class TMouseButton { Left, Right, Middle };

/// Modifier and button state, as the framework's shift state.
enum TShiftFlag : std::uint32_t {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = std::uint32_t;

enum class TEventType {
    MouseMove,
    MouseDown,
    MouseUp,
    MouseDoubleClick, // sent instead of the second MouseDown of a double click
    MouseLeaveWindow, // the pointer left the native window (no capture)
    KeyDown,          // Key holds a virtual-key code (VK_*)
    KeyUp,
    Char,         // Text holds the typed characters (UTF-8)
    Expose,       // Rect needs presenting again
    CloseRequest, // the user asked the window manager to close it
    Activate,     // the window got keyboard focus
    Deactivate,
    Configure, // the window manager moved or resized it (Rect: client area, screen coordinates)
    Destroyed, // someone else destroyed the window; the backend has forgotten it
    /// The desktop's colours or visual style changed (Window is 0). The system colour
    /// scheme already holds the new colours, and ThemeScheme answers for the new style.
    ThemeChanged,
    /// The desktop session is ending, or the process was asked to stop (SIGTERM,
    /// SIGINT, SIGHUP; WM_QUERYENDSESSION): the main form closes as if the user
    /// had closed it, so what it saves on closing is saved (Window is 0).
    SessionEnd,
    /// The window's scale changed (it moved to a monitor of another density, or the
    /// desktop's DPI setting changed). Rect holds the client bounds the system
    /// suggests for the new scale, in screen device pixels, or is empty when the
    /// system suggests none; WindowScale already answers the new scale.
    ScaleChanged,
};

/// One input or window event. X/Y are client coordinates of Window; ScreenX/ScreenY
/// are screen coordinates.
struct TEvent {
    TEventType Type = TEventType::MouseMove;
    WindowId Window = 0;
    int X = 0;
    int Y = 0;
    int ScreenX = 0;
    int ScreenY = 0;
    TMouseButton Button = TMouseButton::Left;
    TShiftState Shift = 0;
    int Key = 0;
    std::string Text;
    TRect Rect;
};

/// Virtual-key codes the framework uses (Windows numbering).
enum TVirtualKey : int {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_DELETE = 0x2E,
    VK_APPS = 0x5D,
    VK_F1 = 0x70,
    VK_F6 = 0x75,
    VK_F10 = 0x79,
};

/// The windowing system as the framework sees it. Only top-level windows are
/// native; everything inside a window is the framework's own. One backend is
/// installed per process (Backend::Install) before the application starts.
class Backend {
public:
    virtual ~Backend() = default;

    /// The installed backend; throws when none is.
    static Backend& Current();
    static bool Installed();
    /// Installs `backend` (replacing and destroying any earlier one).
    static void Install(std::unique_ptr<Backend> backend);
    static void Uninstall();

    /// Names the program to the desktop for every top-level window it creates
    /// from now on (X11: WM_CLASS and _NET_WM_ICON). Called once, before the
    /// first window; a backend without such names ignores it.
    virtual void SetIdentity(const TProgramIdentity& identity) { (void)identity; }

    // Windows. Bounds are the client area in screen coordinates.
    virtual WindowId CreateWindow(const TWindowStyle& style, const TRect& bounds,
                                  const std::string& title) = 0;
    virtual void DestroyWindow(WindowId window) = 0;
    virtual void SetTitle(WindowId window, const std::string& title) = 0;
    virtual void SetBounds(WindowId window, const TRect& bounds) = 0;
    virtual void SetVisible(WindowId window, bool visible) = 0;
    virtual void Raise(WindowId window) = 0;
    /// Gives the window the keyboard focus (a modal window when it is shown), with
    /// or without a window manager. A backend that focuses every shown window ignores it.
    virtual void TakeFocus(WindowId window) { (void)window; }
    /// Size of the window-manager frame around the client area (left, top, right, bottom thickness).
    virtual TRect FrameExtents(WindowId window) = 0;

    /// Shows the window's pixels: a 32-bit 0x00RRGGBB buffer of width x height with
    /// `stride` pixels per row; only `dirty` (client coordinates) needs copying.
    virtual void Present(WindowId window, const std::uint32_t* pixels, int width, int height, int stride,
                         const TRect& dirty) = 0;

    // Pointer.
    virtual void SetCursor(WindowId window, TCursorShape shape) = 0;
    /// Sends every pointer event to `window` until UngrabPointer, even outside it.
    virtual void GrabPointer(WindowId window) = 0;
    virtual void UngrabPointer() = 0;
    virtual TPoint PointerPosition() = 0;

    // Screen.
    virtual TRect ScreenRect() = 0;
    virtual TRect WorkArea() = 0;
    virtual std::vector<TRect> Monitors() = 0;
    /// Device pixels per device-independent pixel of each monitor, in the order of
    /// Monitors() (1.0 is 96 dpi). Every coordinate the backend takes or gives is in
    /// device pixels; the framework converts at its boundary.
    virtual std::vector<double> MonitorScales() { return std::vector<double>(Monitors().size(), 1.0); }
    /// The scale the window is drawn at: that of the monitor it lies on mostly, or
    /// the desktop's one scale where monitors have none of their own.
    virtual double WindowScale(WindowId window) {
        (void)window;
        return 1.0;
    }
    /// The colour scheme of the desktop's visual style, for the stylers:
    /// 1 blue, 2 olive, 3 silver; 0 without a visual style, for any other scheme and
    /// when none can be read (ThemeSchemeOfColorName).
    virtual int ThemeScheme() { return 0; }

    // Assistive technology.
    /// Hands the backend the framework's accessible tree, which it answers assistive
    /// technology from (Windows: WM_GETOBJECT; Linux: AT-SPI, only when the
    /// desktop's accessibility bus is enabled). Null detaches it.
    virtual void SetAccessibleSource(AccessibleSource* source) { (void)source; }
    /// Tells assistive technology that a node changed.
    virtual void NotifyAccessible(TAccessibleEvent event, AccessibleId id) {
        (void)event;
        (void)id;
    }

    // Events and time.
    /// Milliseconds on a monotonic clock.
    virtual std::int64_t NowMs() = 0;
    /// Takes the next event, waiting until `deadlineMs` (NowMs scale) at the latest;
    /// no deadline waits for as long as it takes. Returns nullopt when the deadline
    /// passed with no event, or (headless) when nothing can ever arrive.
    virtual std::optional<TEvent> NextEvent(std::optional<std::int64_t> deadlineMs) = 0;
    /// Makes a NextEvent that is waiting in another place of the loop return at once.
    virtual void Wake() {}
    /// True when NextEvent never waits (a backend whose input and clock are driven
    /// from outside): with nothing queued, nothing can arrive until someone injects it.
    virtual bool NeverBlocks() const { return false; }
    /// What handles everything pending at the current time and returns the next
    /// timer deadline (the application's pump). A backend that moves its own clock
    /// forward runs it on the way; one on real time runs it only where the framework
    /// must have handled an event before the system is answered (a session's end).
    using TPump = std::function<std::optional<std::int64_t>()>;
    virtual void SetPump(TPump pump) { (void)pump; }
};

} // namespace emr::platform
