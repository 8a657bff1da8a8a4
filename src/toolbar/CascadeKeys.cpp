#include "toolbar/CascadeKeys.h"

#include "framework/platform/Backend.h"
#include "styling/AdvMenuStyler.h"
#include "toolbar/ATBPopupWindow.h"
#include "toolbar/ControlSelectorPanel.h"

namespace emr {

using namespace platform;

TATBPopupPanel* TCascadeKeys::DeepestLevel(const TControlSelectorPanel& selector) {
    TATBPopupWindow* window = selector.AddRemoveWindow();
    if (!window || !window->Visible()) return nullptr;
    TATBPopupPanel* level = window->PopupPanel();
    while (level->ChildWindow() && level->ChildWindow()->Visible())
        level = level->ChildWindow()->PopupPanel();
    return level;
}

void TCascadeKeys::Open(TControlSelectorPanel& selector) {
    selector.OpenAddRemoveByKey();
    TATBPopupWindow* window = selector.AddRemoveWindow();
    if (window && window->Visible() && window->PopupPanel()->ItemCount() > 0)
        window->PopupPanel()->SetHotIndex(0);
}

void TCascadeKeys::Move(TATBPopupPanel& level, int step) {
    const int n = level.ItemCount();
    if (n == 0) return;
    const int at = level.HotIndex();
    level.SetHotIndex(at < 0 ? (step > 0 ? 0 : n - 1) : ((at + step) % n + n) % n);
}

void TCascadeKeys::Enter(TATBPopupPanel& level, bool toggles) {
    const int at = level.HotIndex();
    if (at < 0 || at >= level.ItemCount()) return;
    const TATBMenuItem* item = level.RootItem()->Items(at);
    if (item->Count() > 0) {
        level.OpenSubMenu();
        TATBPopupWindow* child = level.ChildWindow();
        if (child && child->Visible() && child->PopupPanel()->ItemCount() > 0)
            child->PopupPanel()->SetHotIndex(0);
        return;
    }
    if (toggles && item->AutoCheck && item->Enabled) level.ToggleMenuItem(at);
}

void TCascadeKeys::Back(TControlSelectorPanel& selector, TATBPopupPanel& level) {
    auto* window = dynamic_cast<TATBPopupWindow*>(level.Parent());
    if (auto* opener = window ? dynamic_cast<TATBPopupPanel*>(window->OwnerControl()) : nullptr)
        opener->CloseSubMenu();
    else
        selector.CloseAddRemoveMenu();
}

bool TCascadeKeys::KeyDown(TControlSelectorPanel& selector, TATBPopupPanel& level, int key) {
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        Move(level, key == VK_DOWN ? 1 : -1);
        return true;
    case VK_RETURN:
    case VK_SPACE:
    case VK_RIGHT:
        Enter(level, key != VK_RIGHT);
        return true;
    case VK_LEFT:
    case VK_ESCAPE:
        Back(selector, level);
        return true;
    default:
        return false;
    }
}

} // namespace emr
