#include "toolbar/ToolBarFocus.h"

#include <algorithm>

#include "framework/controls/AccessibleChanges.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvCustomToolBarButton.h"

namespace emr {

using namespace platform;

TToolBarFocus::TToolBarFocus(TAdvCustomToolBar& toolBar) : toolBar_(toolBar), optionKeys_(toolBar) {}

bool TToolBarFocus::IndicatorReachable() const {
    return toolBar_.ShowOptionIndicator() && !IndicatorRect().Empty();
}

TRect TToolBarFocus::IndicatorRect() const {
    return toolBar_.Floating() ? toolBar_.OptionButtonRect() : toolBar_.RightHandleHitRect();
}

std::vector<TControl*> TToolBarFocus::Items() const {
    std::vector<TControl*> items;
    for (TControl* c : toolBar_.PositionList()) {
        // Buttons lent to the option window, overflowed or hidden cannot take the focus here.
        if (!dynamic_cast<TAdvCustomToolBarButton*>(c) || c->Parent() != &toolBar_) continue;
        if (!c->Visible() || !c->Enabled() || toolBar_.InOverflow(c)) continue;
        items.push_back(c);
    }
    if (IndicatorReachable()) items.push_back(nullptr);
    return items;
}

int TToolBarFocus::CurrentIndex(const std::vector<TControl*>& items) const {
    TControl* current = onIndicator_ ? nullptr : item_.Get();
    if (!onIndicator_ && !current) return -1;
    auto it = std::find(items.begin(), items.end(), current);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TToolBarFocus::InvalidateCurrent() const {
    if (onIndicator_)
        toolBar_.InvalidateRect(IndicatorRect());
    else if (TControl* c = item_.Get())
        c->Invalidate();
}

void TToolBarFocus::SetCurrent(TControl* control, bool indicator) {
    if (control == item_.Get() && indicator == onIndicator_) return;
    InvalidateCurrent();
    item_.Reset(control);
    onIndicator_ = indicator;
    InvalidateCurrent();
    if (toolBar_.Focused())
        TAccessibleChanges::Report(platform::TAccessibleEvent::FocusChanged, toolBar_.AccessibleFocus());
}

void TToolBarFocus::Focus(TControl* control) {
    SetCurrent(control, control == nullptr);
}

void TToolBarFocus::Entered() {
    const std::vector<TControl*> items = Items();
    if (items.empty()) {
        SetCurrent(nullptr, false);
        return;
    }
    if (CurrentIndex(items) < 0) SetCurrent(items.front(), items.front() == nullptr);
    InvalidateCurrent();
}

void TToolBarFocus::Exited() {
    InvalidateCurrent();
}

void TToolBarFocus::MoveBy(int step) {
    const std::vector<TControl*> items = Items();
    if (items.empty()) return;
    const int n = static_cast<int>(items.size());
    const int at = CurrentIndex(items);
    const int next = at < 0 ? (step > 0 ? 0 : n - 1) : ((at + step) % n + n) % n;
    TControl* c = items[static_cast<std::size_t>(next)];
    SetCurrent(c, c == nullptr);
}

void TToolBarFocus::MoveToEnd(bool last) {
    const std::vector<TControl*> items = Items();
    if (items.empty()) return;
    TControl* c = last ? items.back() : items.front();
    SetCurrent(c, c == nullptr);
}

bool TToolBarFocus::Press(bool menuKey) {
    const std::vector<TControl*> items = Items();
    if (CurrentIndex(items) < 0) return false;
    if (onIndicator_) {
        auto alive = toolBar_.LifeToken();
        toolBar_.DoOptionClick();
        if (!alive.expired() && toolBar_.OptionWindowVisible()) optionKeys_.Opened();
        return true;
    }
    auto* button = dynamic_cast<TAdvCustomToolBarButton*>(item_.Get());
    if (!button) return false;
    if (menuKey) return button->OpenMenuByKeyboard();
    button->PressByKeyboard();
    return true;
}

bool TToolBarFocus::KeyDown(int key, TShiftState shift) {
    if (shift & (ssCtrl | ssAlt)) return false;
    // The option window never takes the focus: its keys come through the bar.
    if (toolBar_.OptionWindowVisible() && optionKeys_.KeyDown(key)) return true;
    const bool horizontal = toolBar_.Horizontal() || toolBar_.Floating();
    // Along a mirrored bar the start is on the right.
    const bool mirrored = horizontal && toolBar_.UseRightToLeftLayout();
    const int back = horizontal ? (mirrored ? VK_RIGHT : VK_LEFT) : VK_UP;
    const int forward = horizontal ? (mirrored ? VK_LEFT : VK_RIGHT) : VK_DOWN;
    const int open = horizontal ? VK_DOWN : VK_RIGHT;
    if (key == back || key == forward) {
        MoveBy(key == forward ? 1 : -1);
        return true;
    }
    switch (key) {
    case VK_HOME:
    case VK_END:
        MoveToEnd(key == VK_END);
        return true;
    case VK_RETURN:
    case VK_SPACE:
        return Press(false);
    default:
        return key == open && Press(true);
    }
}

bool TToolBarFocus::ShowsRectOn(const TControl* control) const {
    return !onIndicator_ && control && item_.Get() == control && toolBar_.ShowsFocusRect();
}

bool TToolBarFocus::ShowsRectOnIndicator() const {
    return onIndicator_ && IndicatorReachable() && toolBar_.ShowsFocusRect();
}

} // namespace emr
