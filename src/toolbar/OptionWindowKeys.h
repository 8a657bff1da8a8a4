#pragma once

#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Geometry.h"

namespace emr {

class TAdvCustomToolBar;
class TATBPopupPanel;
class TControl;
class TControlSelectorPanel;

/// The keys of an open option window. The window never takes the focus, so the
/// toolbar hands them on. The first level holds the hidden buttons, flowed in
/// rows, and the "Add or Remove Buttons" item; each cascade level below it is a
/// column. The highlighted item wears the hover look the pointer gives it.
class TOptionWindowKeys {
public:
    explicit TOptionWindowKeys(TAdvCustomToolBar& toolBar);
    TOptionWindowKeys(const TOptionWindowKeys&) = delete;
    TOptionWindowKeys& operator=(const TOptionWindowKeys&) = delete;

    /// The window was just opened by a key: its first item is highlighted.
    void Opened();
    /// A key while the window is open; true when it was used.
    bool KeyDown(int key);

    /// The highlighted button of the first level; null when none or the add-remove item is.
    TControl* HighlightedButton() const { return button_.Get(); }
    bool AddRemoveHighlighted() const { return onAddRemove_; }

private:
    TControlSelectorPanel* Panel() const;
    /// The first level's items in order; null stands for the add-remove item.
    std::vector<TControl*> Items() const;
    int CurrentIndex(const std::vector<TControl*>& items) const;
    TRect ItemRect(const TControl* item) const;
    void Highlight(TControl* item, bool addRemove);
    void MoveAlong(int step);
    void MoveAcross(int step);
    bool RunHighlighted();
    bool FirstLevelKey(int key);

    TAdvCustomToolBar& toolBar_;
    TComponentRef<TControl> button_;
    bool onAddRemove_ = false;
};

} // namespace emr
