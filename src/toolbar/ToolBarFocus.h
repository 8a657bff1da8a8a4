#pragma once

#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Geometry.h"
#include "framework/platform/Backend.h"
#include "toolbar/OptionWindowKeys.h"

namespace emr {

class TAdvCustomToolBar;
class TControl;

/// The keyboard focus inside a toolbar. The toolbar is one Tab stop; while it has
/// the focus one item is focused: a visible, enabled button on the bar or, last,
/// the option indicator. The arrow keys along the bar move between items
/// (wrapping), Home and End go to the ends, Enter and Space press the item, Down
/// (Right on a vertical bar) opens a drop-down or the option window, whose own
/// keys then go to it until Esc closes it again. The item is remembered when the focus leaves,
/// and taken again when it comes back.
class TToolBarFocus {
public:
    explicit TToolBarFocus(TAdvCustomToolBar& toolBar);
    TToolBarFocus(const TToolBarFocus&) = delete;
    TToolBarFocus& operator=(const TToolBarFocus&) = delete;

    /// The focused (or remembered) button; null when the indicator has it or none does.
    TControl* Item() const { return item_.Get(); }
    bool OnIndicator() const { return onIndicator_; }
    /// Moves the focus to `control` (a button of the bar) or, with null, to the indicator.
    void Focus(TControl* control);

    /// The toolbar got or lost the window's focus.
    void Entered();
    void Exited();
    /// A key on the focused toolbar; true when it was used.
    bool KeyDown(int key, platform::TShiftState shift);

    /// The keys of the option window while it is open.
    TOptionWindowKeys& OptionKeys() { return optionKeys_; }

    /// True when a focus rectangle belongs on `control` now.
    bool ShowsRectOn(const TControl* control) const;
    /// True when a focus rectangle belongs on the option indicator now.
    bool ShowsRectOnIndicator() const;
    /// Where the indicator's focus rectangle goes, in toolbar client coordinates.
    TRect IndicatorRect() const;

private:
    /// The items in order; null stands for the option indicator.
    std::vector<TControl*> Items() const;
    bool IndicatorReachable() const;
    int CurrentIndex(const std::vector<TControl*>& items) const;
    void MoveBy(int step);
    void MoveToEnd(bool last);
    void SetCurrent(TControl* control, bool indicator);
    void InvalidateCurrent() const;
    bool Press(bool menuKey);

    TAdvCustomToolBar& toolBar_;
    TComponentRef<TControl> item_;
    bool onIndicator_ = false;
    TOptionWindowKeys optionKeys_;
};

} // namespace emr
