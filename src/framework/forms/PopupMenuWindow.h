#pragma once

#include <vector>

#include "framework/controls/CheckedControl.h"
#include "framework/forms/Form.h"

namespace emr {

class TMenuItem;
class TPopupMenu;
class TMenuTracker;

/// The popup window that shows one level of a popup menu: the visible sub-items
/// of one item, stacked top to bottom, painted through the menu's look.
class TPopupMenuWindow : public TCustomForm, public ICheckedControl {
    EMR_CLASS(TPopupMenuWindow)
public:
    TPopupMenuWindow(TPopupMenu* menu, TMenuItem* items);

    TPopupMenu* Menu() const { return menu_; }
    /// The item whose sub-items are shown.
    TMenuItem* Items() const { return items_; }
    /// The highlighted item, or null.
    TMenuItem* HotItem() const;
    int HotIndex() const { return hot_; }
    void SetHotIndex(int index);
    /// Visible items and their rectangles (client coordinates), in order.
    const std::vector<TMenuItem*>& ShownItems() const { return shown_; }
    TRect ItemRect(int index) const { return rects_.at(static_cast<std::size_t>(index)); }
    /// The index of the shown item at a client point, or -1.
    int ItemAt(TPoint client) const;

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

    TPopupMenu* menu_;
    TMenuItem* items_;
    TMenuTracker* tracker_ = nullptr;
    std::vector<TMenuItem*> shown_;
    std::vector<TRect> rects_;
    int hot_ = -1;
};

} // namespace emr
