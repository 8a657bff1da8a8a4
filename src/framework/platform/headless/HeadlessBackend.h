#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "framework/platform/Backend.h"

namespace emr::platform {

/// A backend without a display, for tests: windows live in memory, input is
/// injected at screen coordinates and, when it is delivered, routed to the
/// topmost visible window under the point (or to the grabbing window; keys to
/// the active window), and time is a virtual clock that only AdvanceTime moves.
///
/// Time and the loop cooperate like this: AdvanceTime(ms) runs the pump (which
/// handles everything due now and answers the next timer deadline), moves the
/// clock to that deadline while it lies within the ms, and pumps again; finally
/// the clock stands at now + ms. Timers therefore fire in deadline order with the
/// messages they cause handled in between. NextEvent never blocks: with no event
/// queued it returns nullopt at once, after moving the clock to the deadline
/// asked for when that lies within what AdvanceTime allows (so nested loops
/// that wait for a timer see it fire).
class HeadlessBackend : public Backend {
public:
    struct Window {
        WindowId Id = 0;
        TWindowStyle Style;
        TRect Bounds;
        std::string Title;
        bool Visible = false;
        TCursorShape Cursor = TCursorShape::Arrow;
        /// The presented pixels (0x00RRGGBB, Bounds' width x height).
        std::vector<std::uint32_t> Pixels;
        int PresentCount = 0;
        /// The scale the window was last told of (ScaleChanged is queued when it differs).
        double Scale = 1.0;
    };

    explicit HeadlessBackend(TRect screen = {0, 0, 1024, 768});

    // Screen configuration.
    void SetScreen(const TRect& screen);
    void SetWorkArea(const TRect& workArea);
    /// Monitors in device pixels, each at the scale of the same index (1.0 where
    /// `scales` names none).
    void SetMonitors(std::vector<TRect> monitors, std::vector<double> scales = {});
    /// The desktop's scale setting of one monitor changes at run time: every window
    /// whose scale this changes hears ScaleChanged.
    void SetMonitorScale(std::size_t index, double scale);
    /// Whether ScaleChanged carries a suggested client rectangle (the top-left kept,
    /// the size scaled by new / old scale, as Windows suggests one), or none.
    void SetSuggestsScaledRect(bool value) { suggestsRect_ = value; }
    /// The window manager moves or resizes a window: Configure is queued, and
    /// ScaleChanged when the window now lies mostly on a monitor of another scale.
    void MoveFromOutside(WindowId id, const TRect& bounds);
    void SetThemeScheme(int scheme) { themeScheme_ = scheme; }
    /// The desktop changes its visual style or colours: ThemeScheme answers `scheme`
    /// from now on and a ThemeChanged event is queued, as a real desktop does (new
    /// system colours, if any, are installed with SetSystemColorScheme first).
    void ChangeTheme(int scheme);
    /// Frame thickness used for framed windows (left, top, right, bottom).
    void SetFrame(const TRect& frame) { frame_ = frame; }

    // Windows as the tests see them.
    const Window* FindWindow(WindowId id) const;
    /// Visible windows, bottom first.
    std::vector<WindowId> ZOrder() const;
    /// The topmost visible window at a screen point, or 0.
    WindowId WindowAt(TPoint screen) const;
    WindowId ActiveWindow() const { return active_; }
    WindowId GrabWindow() const { return grab_; }
    /// The presented pixel at a client position of a window (0x00RRGGBB).
    std::uint32_t PixelAt(WindowId id, int x, int y) const;

    // Input at screen coordinates.
    void MoveMouse(int x, int y, TShiftState shift = 0);
    void Press(int x, int y, TMouseButton button = TMouseButton::Left, TShiftState shift = 0);
    void Release(int x, int y, TMouseButton button = TMouseButton::Left, TShiftState shift = 0);
    void Click(int x, int y, TMouseButton button = TMouseButton::Left, TShiftState shift = 0);
    void DoubleClick(int x, int y, TMouseButton button = TMouseButton::Left, TShiftState shift = 0);
    /// Key events go to the active window.
    void KeyDown(int key, TShiftState shift = 0);
    void KeyUp(int key, TShiftState shift = 0);
    /// KeyDown, then KeyUp.
    void Key(int key, TShiftState shift = 0);
    /// Char events for UTF-8 text, one per character.
    void TypeText(const std::string& text);
    /// Asks the window to close, as the close box would.
    void RequestClose(WindowId id);
    /// Destroys the window as another program could, behind the framework's back.
    void DestroyFromOutside(WindowId id);
    /// Makes `id` the active window (Deactivate / Activate events).
    void Activate(WindowId id);
    void TakeFocus(WindowId window) override { Activate(window); }
    /// Queues any event as it is.
    void Inject(TEvent event);
    std::size_t PendingEvents() const { return events_.size(); }

    // Time.
    /// AdvanceTime runs the pump at every deadline it passes.
    void SetPump(TPump pump) override { pump_ = std::move(pump); }
    bool NeverBlocks() const override { return true; }
    /// Moves the virtual clock forward by `ms`, firing what falls due on the way.
    void AdvanceTime(std::int64_t ms);

    // Assistive technology.
    /// One change the framework reported, as a bridge would have received it.
    struct TAccessibleNotice {
        TAccessibleEvent Event = TAccessibleEvent::StateChanged;
        AccessibleId Id = 0;
        bool operator==(const TAccessibleNotice&) const = default;
    };
    void SetAccessibleSource(AccessibleSource* source) override { accessibleSource_ = source; }
    AccessibleSource* AccessibleSourceInUse() const { return accessibleSource_; }
    void NotifyAccessible(TAccessibleEvent event, AccessibleId id) override {
        accessibleNotices_.push_back({event, id});
    }
    const std::vector<TAccessibleNotice>& AccessibleNotices() const { return accessibleNotices_; }
    void ClearAccessibleNotices() { accessibleNotices_.clear(); }

    // Pictures.
    /// Writes one window's presented pixels, or the composited screen, as PNG.
    void RenderWindowToPng(WindowId id, const std::string& path) const;
    void RenderScreenToPng(const std::string& path) const;
    /// The composited screen (desktop colour under the visible windows in z-order).
    std::vector<std::uint32_t> ComposeScreen() const;

    // Backend.
    WindowId CreateWindow(const TWindowStyle& style, const TRect& bounds, const std::string& title) override;
    void DestroyWindow(WindowId window) override;
    void SetTitle(WindowId window, const std::string& title) override;
    void SetBounds(WindowId window, const TRect& bounds) override;
    void SetVisible(WindowId window, bool visible) override;
    void Raise(WindowId window) override;
    TRect FrameExtents(WindowId window) override;
    void Present(WindowId window, const std::uint32_t* pixels, int width, int height, int stride,
                 const TRect& dirty) override;
    void SetCursor(WindowId window, TCursorShape shape) override;
    void GrabPointer(WindowId window) override;
    void UngrabPointer() override;
    TPoint PointerPosition() override { return pointer_; }
    TRect ScreenRect() override { return screen_; }
    TRect WorkArea() override { return workArea_; }
    std::vector<TRect> Monitors() override { return monitors_; }
    std::vector<double> MonitorScales() override { return scales_; }
    double WindowScale(WindowId window) override;
    int ThemeScheme() override { return themeScheme_; }
    std::int64_t NowMs() override { return now_; }
    std::optional<TEvent> NextEvent(std::optional<std::int64_t> deadlineMs) override;

private:
    TEvent PointerEvent(TEventType type, int x, int y, TMouseButton button, TShiftState shift);
    /// Decides the window of queued input; false when no window takes it.
    bool Route(TEvent& e);
    void Restack(WindowId id);
    /// The scale of the monitor holding most of `bounds` (the first one when none does).
    double ScaleAt(const TRect& bounds) const;
    /// Queues ScaleChanged for each window whose monitor scale is no longer the one
    /// it was told of; `oldScales` of windows are replaced by the new ones.
    void NoticeScaleChanges();

    TRect screen_;
    TRect workArea_;
    std::vector<TRect> monitors_;
    std::vector<double> scales_;
    bool suggestsRect_ = false;
    TRect frame_{8, 31, 8, 8};
    int themeScheme_ = 0;
    std::map<WindowId, Window> windows_;
    std::vector<WindowId> stack_; // bottom first
    WindowId nextId_ = 1;
    WindowId active_ = 0;
    WindowId grab_ = 0;
    WindowId pointerWindow_ = 0;
    TPoint pointer_;
    /// Where the pointer will be once the queued input is delivered.
    TPoint queuedPointer_{-1, -1};
    std::deque<TEvent> events_;
    std::int64_t now_ = 0;
    std::int64_t limit_ = 0;
    std::function<std::optional<std::int64_t>()> pump_;
    AccessibleSource* accessibleSource_ = nullptr;
    std::vector<TAccessibleNotice> accessibleNotices_;
};

} // namespace emr::platform
