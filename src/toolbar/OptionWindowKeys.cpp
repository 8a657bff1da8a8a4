#include "toolbar/OptionWindowKeys.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "framework/platform/Backend.h"
#include "styling/AdvMenuStyler.h"
#include "toolbar/ATBPopupWindow.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvCustomToolBarButton.h"
#include "toolbar/CascadeKeys.h"
#include "toolbar/ControlSelectorPanel.h"
#include "toolbar/ToolBarOptionWindow.h"

namespace emr {

using namespace platform;

namespace {

int CentreX(const TRect& r) {
    return (r.Left + r.Right) / 2;
}

} // namespace

TOptionWindowKeys::TOptionWindowKeys(TAdvCustomToolBar& toolBar) : toolBar_(toolBar) {}

TControlSelectorPanel* TOptionWindowKeys::Panel() const {
    TToolBarOptionWindow* window = toolBar_.OptionWindow();
    return window ? window->Panel() : nullptr;
}

std::vector<TControl*> TOptionWindowKeys::Items() const {
    std::vector<TControl*> items;
    TControlSelectorPanel* panel = Panel();
    if (!panel) return items;
    for (TControl* c : panel->ListedControls())
        if (dynamic_cast<TAdvCustomToolBarButton*>(c) && c->Parent() == panel && c->Visible() && c->Enabled())
            items.push_back(c);
    if (panel->ShowAddRemove() && !panel->AddRemoveItem().Rect.Empty()) items.push_back(nullptr);
    return items;
}

int TOptionWindowKeys::CurrentIndex(const std::vector<TControl*>& items) const {
    TControl* current = onAddRemove_ ? nullptr : button_.Get();
    if (!onAddRemove_ && !current) return -1;
    auto it = std::find(items.begin(), items.end(), current);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

TRect TOptionWindowKeys::ItemRect(const TControl* item) const {
    return item ? item->BoundsRect() : Panel()->AddRemoveItem().Rect;
}

void TOptionWindowKeys::Highlight(TControl* item, bool addRemove) {
    TControlSelectorPanel* panel = Panel();
    if (auto* old = dynamic_cast<TAdvCustomToolBarButton*>(button_.Get()); old && old != item)
        old->SetHot(false);
    // The remembered item may come from an earlier showing whose hide cleared the
    // panel's look, so the look is set whether or not the item changes.
    if (panel) panel->SetAddRemoveHot(addRemove);
    button_.Reset(item);
    onAddRemove_ = addRemove;
    if (auto* button = dynamic_cast<TAdvCustomToolBarButton*>(item)) button->SetHot(true);
}

void TOptionWindowKeys::Opened() {
    button_.Reset(nullptr);
    onAddRemove_ = false;
    const std::vector<TControl*> items = Items();
    if (!items.empty()) Highlight(items.front(), items.front() == nullptr);
}

void TOptionWindowKeys::MoveAlong(int step) {
    const std::vector<TControl*> items = Items();
    if (items.empty()) return;
    const int n = static_cast<int>(items.size());
    const int at = CurrentIndex(items);
    const int next = at < 0 ? (step > 0 ? 0 : n - 1) : ((at + step) % n + n) % n;
    TControl* item = items[static_cast<std::size_t>(next)];
    Highlight(item, item == nullptr);
}

// The hidden buttons flow in rows of one top each, and the add-remove item is a
// row of its own: Up and Down go to the nearest row in that direction (wrapping
// round to the farthest one) and there to the item most nearly above or below.
void TOptionWindowKeys::MoveAcross(int step) {
    const std::vector<TControl*> items = Items();
    const int at = CurrentIndex(items);
    if (at < 0) {
        MoveAlong(step);
        return;
    }
    const TRect from = ItemRect(items[static_cast<std::size_t>(at)]);
    const auto ahead = [&](const TRect& r) { return step > 0 ? r.Top >= from.Bottom : r.Bottom <= from.Top; };
    bool any = false;
    for (const TControl* item : items)
        any = any || ahead(ItemRect(item));
    // With no row ahead the search wraps round to the farthest row the other way.
    const auto candidate = [&](const TRect& r) { return !any || ahead(r); };
    int rowTop = 0;
    bool rowFound = false;
    for (const TControl* item : items) {
        const TRect r = ItemRect(item);
        if (!candidate(r)) continue;
        const bool nearer = step > 0 ? r.Top < rowTop : r.Top > rowTop;
        if (!rowFound || nearer) rowTop = r.Top;
        rowFound = true;
    }
    if (!rowFound) return;
    TControl* best = nullptr;
    bool bestSet = false;
    int bestDistance = std::numeric_limits<int>::max();
    for (TControl* item : items) {
        const TRect r = ItemRect(item);
        if (r.Top != rowTop || !candidate(r)) continue;
        const int distance = std::abs(CentreX(r) - CentreX(from));
        if (distance < bestDistance) {
            best = item;
            bestSet = true;
            bestDistance = distance;
        }
    }
    if (bestSet) Highlight(best, best == nullptr);
}

bool TOptionWindowKeys::RunHighlighted() {
    const std::vector<TControl*> items = Items();
    if (CurrentIndex(items) < 0) return true;
    TControlSelectorPanel* panel = Panel();
    if (onAddRemove_) {
        TCascadeKeys::Open(*panel);
        return true;
    }
    auto* button = dynamic_cast<TAdvCustomToolBarButton*>(button_.Get());
    // The click closes the window and sends the button home, where it must not stay hot.
    button->SetHot(false);
    button_.Reset(nullptr);
    button->PressByKeyboard();
    return true;
}

bool TOptionWindowKeys::FirstLevelKey(int key) {
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        if (key == VK_RIGHT && onAddRemove_) return RunHighlighted();
        MoveAlong(key == VK_RIGHT ? 1 : -1);
        return true;
    case VK_UP:
    case VK_DOWN:
        MoveAcross(key == VK_DOWN ? 1 : -1);
        return true;
    case VK_HOME:
    case VK_END: {
        const std::vector<TControl*> items = Items();
        if (items.empty()) return true;
        TControl* item = key == VK_END ? items.back() : items.front();
        Highlight(item, item == nullptr);
        return true;
    }
    case VK_RETURN:
    case VK_SPACE:
        return RunHighlighted();
    case VK_ESCAPE:
        toolBar_.CloseOptionWindow();
        return true;
    default:
        return false;
    }
}

bool TOptionWindowKeys::KeyDown(int key) {
    TControlSelectorPanel* panel = Panel();
    if (!panel) return false;
    if (TATBPopupPanel* level = TCascadeKeys::DeepestLevel(*panel))
        return TCascadeKeys::KeyDown(*panel, *level, key);
    return FirstLevelKey(key);
}

} // namespace emr
