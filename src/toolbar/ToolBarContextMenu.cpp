#include "toolbar/ToolBarContextMenu.h"

#include <algorithm>

#include "framework/forms/Form.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/Screen.h"
#include "menus/AdvPopupMenu.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/FloatingWindow.h"

namespace emr {

namespace {

/// Collects toolbars in first-seen order.
class TToolBarList {
public:
    explicit TToolBarList(const TCustomForm* form) : form_(form) {}

    void Add(TComponent* component) {
        auto* t = dynamic_cast<TAdvCustomToolBar*>(component);
        if (!t || t->HasState(csDesigning) || TFloatingWindow::OwnerFormOf(t) != form_) return;
        if (std::find(list_.begin(), list_.end(), t) == list_.end()) list_.push_back(t);
    }
    void AddOwned(const TComponent* owner) {
        for (TComponent* c : owner->Components()) {
            Add(c);
            AddOwned(c);
        }
    }
    void AddChildren(const TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            Add(c);
            if (auto* w = dynamic_cast<TWinControl*>(c)) AddChildren(w);
        }
    }
    std::vector<TAdvCustomToolBar*> Take() { return std::move(list_); }

private:
    const TCustomForm* form_;
    std::vector<TAdvCustomToolBar*> list_;
};

TAdvDockPanel* FirstPanelIn(const TWinControl* parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (auto* panel = dynamic_cast<TAdvDockPanel*>(c)) return panel;
        if (auto* w = dynamic_cast<TWinControl*>(c))
            if (TAdvDockPanel* panel = FirstPanelIn(w)) return panel;
    }
    return nullptr;
}

} // namespace

std::vector<TAdvCustomToolBar*> TToolBarContextMenu::ToolBarsOf(const TCustomForm* form) {
    if (!form) return {};
    TToolBarList list(form);
    list.AddOwned(form);
    // Toolbars placed on the window by another owner, and floating ones whose
    // window someone else owns, belong to the window all the same.
    list.AddChildren(form);
    for (TCustomForm* f : Screen().FormList())
        if (auto* window = dynamic_cast<TFloatingWindow*>(f)) list.Add(window->AdvCustomToolBar());
    return list.Take();
}

std::string TToolBarContextMenu::ItemCaption(const TAdvCustomToolBar* toolBar) {
    // An empty item could be neither read nor told apart from a separator.
    return toolBar->Caption().empty() ? toolBar->Name() : toolBar->Caption();
}

bool TToolBarContextMenu::Showing(const TAdvCustomToolBar* toolBar) {
    if (!toolBar->Visible()) return false;
    if (!toolBar->Floating()) return true;
    const TFloatingWindow* window = TFloatingWindow::Of(toolBar);
    return window && (window->Visible() || window->ShowPending());
}

void TToolBarContextMenu::Toggle(TAdvCustomToolBar* toolBar) {
    TFloatingWindow* window = toolBar->Floating() ? TFloatingWindow::Of(toolBar) : nullptr;
    if (Showing(toolBar)) {
        // Not CloseFloating: a toolbar that docks when closed should hide here,
        // as the item's check mark promises.
        if (window) window->Hide();
        toolBar->SetVisible(false);
        return;
    }
    TComponentRef<TFloatingWindow> windowAlive(window);
    toolBar->SetVisible(true);
    if (windowAlive && !windowAlive->Visible()) {
        windowAlive->FitToToolBar();
        windowAlive->Show();
    }
}

TAdvDockPanel* TToolBarContextMenu::PanelFor(const TAdvCustomToolBar* toolBar) {
    if (auto* panel = dynamic_cast<TAdvDockPanel*>(toolBar->DockPanel())) return panel;
    if (auto* panel = dynamic_cast<TAdvDockPanel*>(toolBar->LastDockPanel())) return panel;
    const TCustomForm* form = TFloatingWindow::OwnerFormOf(toolBar);
    return form ? FirstPanelIn(form) : nullptr;
}

bool TToolBarContextMenu::Open(TAdvCustomToolBar* toolBar, TPoint at) {
    if (!toolBar || toolBar->HasState(csDesigning) || HasOwnContextMenu(toolBar)) return false;
    const TAdvDockPanel* panel = PanelFor(toolBar);
    if (!panel || !panel->ShowToolBarMenu()) return false;
    return Run(TFloatingWindow::OwnerFormOf(toolBar), toolBar, toolBar->CurrentStyler(), at);
}

bool TToolBarContextMenu::Open(TAdvDockPanel* panel, TPoint at) {
    if (!panel || panel->HasState(csDesigning) || !panel->ShowToolBarMenu() || HasOwnContextMenu(panel))
        return false;
    return Run(dynamic_cast<TCustomForm*>(panel->TopLevel()), panel, panel->CurrentStyler(), at);
}

bool TToolBarContextMenu::HasOwnContextMenu(const TControl* control) {
    for (; control; control = control->Parent())
        if (control->PopupMenu() && control->PopupMenu()->AutoPopup()) return true;
    return false;
}

bool TToolBarContextMenu::Run(TCustomForm* form, TControl* source, const TCustomAdvToolBarStyler* styler,
                              TPoint at) {
    const std::vector<TAdvCustomToolBar*> toolBars = ToolBarsOf(form);
    if (toolBars.empty()) return false;
    // Built afresh each time and owned by nobody: the window's component list and
    // its stored layout stay as they were.
    auto* menu = new TAdvPopupMenu(nullptr);
    if (styler) menu->SetMenuStyler(styler->CurrentMenuStyler());
    for (TAdvCustomToolBar* t : toolBars) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(ItemCaption(t));
        item->SetChecked(Showing(t));
        item->OnClick = [ref = TComponentRef<TAdvCustomToolBar>(t)](TObject*) {
            if (ref) Toggle(ref.Get());
        };
        menu->Items()->Add(item);
    }
    menu->SetPopupComponent(source);
    menu->Popup(at.X, at.Y);
    TObject::Free(menu);
    return true;
}

} // namespace emr
