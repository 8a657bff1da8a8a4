#pragma once

#include <cstdint>
#include <vector>

#include "framework/controls/CheckedControl.h"
#include "framework/forms/Form.h"

namespace emr {

class TMenuItem;
class TPopupMenu;
class TMenuTracker;

/// The popup window that shows one level of a popup menu: the visible sub-items
/// of one item, stacked top to bottom, painted through the menu's look.
///
/// A level taller than the work area is cut to its height and shows a scroll
/// arrow above and below the items. The items scroll by whole items: while the
/// pointer rests on an arrow, at each click on one, and to bring the item the
/// keyboard makes hot into view.
class TPopupMenuWindow : public TCustomForm, public ICheckedControl {
    EMR_CLASS(TPopupMenuWindow)
public:
    /// Height of each scroll arrow's strip, inside the border.
    static constexpr int ScrollArrowHeight = 16;
    /// Rows of the arrow glyph: its base is 2 * rows - 1 pixels wide.
    static constexpr int ScrollArrowGlyphRows = 4;
    /// Identifier and interval of the timer that scrolls while the pointer rests on an arrow.
    static constexpr std::uintptr_t ScrollTimerId = 1;
    static constexpr unsigned ScrollIntervalMs = 60;
    /// Scroll directions, as ScrollArrowAt reports them.
    static constexpr int ScrollUp = -1;
    static constexpr int ScrollDown = 1;

    TPopupMenuWindow(TPopupMenu* menu, TMenuItem* items);
    ~TPopupMenuWindow() override;

    TPopupMenu* Menu() const { return menu_; }
    /// The item whose sub-items are shown.
    TMenuItem* Items() const { return items_; }
    /// The highlighted item, or null.
    TMenuItem* HotItem() const;
    int HotIndex() const { return hot_; }
    void SetHotIndex(int index);
    /// Visible items and their rectangles (client coordinates, where the items
    /// are scrolled to now), in order.
    const std::vector<TMenuItem*>& ShownItems() const { return shown_; }
    TRect ItemRect(int index) const;
    /// The index of the shown item at a client point, or -1 (also over a scroll arrow).
    int ItemAt(TPoint client) const;

    /// Whether the items are more than the window can show.
    bool Scrolls() const { return scrolls_; }
    /// How far the items are scrolled up, in pixels.
    int ScrollOffset() const { return scroll_; }
    /// ScrollUp or ScrollDown over that arrow, 0 elsewhere (client point).
    int ScrollArrowAt(TPoint client) const;
    bool CanScroll(int direction) const;
    /// Scrolls by one item in `direction`; false when there is nothing more that way.
    bool ScrollStep(int direction);
    /// Scrolls the least that shows the whole of item `index`.
    void ScrollIntoView(int index);
    /// The pointer is at a client point of this window: resting on an arrow, the
    /// items scroll at once and then every ScrollIntervalMs until it leaves.
    void PointerAt(TPoint client);
    /// The pointer is elsewhere.
    void StopScrolling();

    /// Measures the items and places the window with its top-left at screen
    /// `at`, moved to stay on the work area (left of `flipX` when it would run
    /// off the right edge, above `flipY` when it would run off the bottom). A
    /// right-to-left menu opens leftwards instead: `at` is its top-right corner
    /// and it moves right of `flipX` when it would run off the left edge.
    void Place(TPoint at, int flipX, int flipY);

    /// Set by the tracker that runs this window.
    void SetTracker(TMenuTracker* tracker) { tracker_ = tracker; }

    std::string CheckInvariants() const override;
    /// An open menu follows the pointer with no button down until a click or a
    /// key closes it.
    bool KeepsCaptureWithoutButtons() const override { return tracker_ != nullptr; }

    void DescribeAccessible(platform::TAccessibleNode& node) const override;
    std::vector<TComponent*> AccessibleParts() const override;
    void DescribeAccessiblePart(const TComponent* part, platform::TAccessibleNode& node) const override;
    bool DoAccessibleAction(TComponent* part, int index) override;

protected:
    void CreateParams(TCreateParams& params) const override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void WndProc(TMessage& message) override;

private:
    void Measure();
    /// Cuts the window to `available` pixels when its items need more.
    void FitHeight(int available);
    int ArrowHeight() const { return scrolls_ ? ScrollArrowHeight : 0; }
    /// The client rows the items show in, between the arrows.
    int ViewTop() const;
    int ViewBottom() const;
    int MaxScroll() const;
    /// Client y of an item rectangle's content y.
    int ItemShift() const { return ArrowHeight() - scroll_; }
    bool ScrollTo(int offset);
    TRect ArrowRect(int direction) const;
    void PaintArrow(TCanvas& canvas, int direction);

    TPopupMenu* menu_;
    TMenuItem* items_;
    TMenuTracker* tracker_ = nullptr;
    std::vector<TMenuItem*> shown_;
    /// In content coordinates: as they lie with nothing scrolled and no arrows.
    std::vector<TRect> rects_;
    int hot_ = -1;
    bool scrolls_ = false;
    int scroll_ = 0;
    /// The arrow the pointer rests on (ScrollUp, ScrollDown) or 0.
    int restingOn_ = 0;
};

} // namespace emr
