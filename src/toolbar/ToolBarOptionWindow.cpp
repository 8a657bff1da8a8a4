#include "toolbar/ToolBarOptionWindow.h"

#include <algorithm>

#include "framework/forms/Screen.h"
#include "menus/AdvPopupMenu.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvToolBarSeparator.h"
#include "toolbar/ControlSelectorPanel.h"
#include "toolbar/OptionSelectorWindow.h"
#include "toolbar/ToolBarListHelpers.h"

namespace emr {

using namespace toolbar_detail;

namespace {

TCustomForm* FormOf(TControl* control) {
    while (control && !dynamic_cast<TCustomForm*>(control))
        control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

} // namespace

TToolBarOptionWindow::TToolBarOptionWindow(TAdvCustomToolBar& toolBar) : toolBar_(toolBar) {}

TToolBarOptionWindow::~TToolBarOptionWindow() {
    // The window outlives this object by a moment (the toolbar frees what it owns
    // last); it must not call back into a toolbar that is going.
    if (TOptionSelectorWindow* w = window_.Get()) w->OnHide = nullptr;
}

bool TToolBarOptionWindow::Visible() const {
    TOptionSelectorWindow* w = window_.Get();
    return w && w->Visible();
}

void TToolBarOptionWindow::Close() {
    if (Visible()) window_->Hide();
}

void TToolBarOptionWindow::ChildChanged() {
    if (toolBar_.AutoOptionMenu() && Visible()) Build();
}

void TToolBarOptionWindow::Build() {
    if (toolBar_.HasState(csDesigning)) return;
    if (!window_) {
        auto* w = new TOptionSelectorWindow(&toolBar_);
        w->SetAdvToolBar(&toolBar_);
        w->SetOwnerControl(&toolBar_);
        w->OnHide = [this](TObject*) {
            toolBar_.UpdateOverflow();
            toolBar_.Invalidate();
        };
        window_.Reset(w);
    }
    TOptionSelectorWindow* window = window_.Get();
    window->SetBiDiMode(toolBar_.BiDiMode());
    if (TCustomForm* form = FormOf(&toolBar_); form && form != window->PopupParent())
        window->SetPopupParent(form);
    if (!panel_) {
        auto* p = new TControlSelectorPanel(window);
        p->SetParent(window);
        panel_.Reset(p);
    }
    TControlSelectorPanel* panel = panel_.Get();
    TCustomAdvToolBarStyler* styler = toolBar_.CurrentStyler();

    panel->SetShowAddRemove(toolBar_.AutoOptionMenu());
    if (auto* styled = dynamic_cast<TAdvPopupMenu*>(toolBar_.OptionMenu()))
        styled->SetMenuStyler(styler->CurrentMenuStyler());
    panel->SetOptionMenu(toolBar_.OptionMenu());
    panel->AddRemoveItem().Caption = toolBar_.TextAutoOptionMenu();
    panel->MeasureOptionItems();
    if (panel->OptionsItem().Caption != toolBar_.TextOptionMenu()) {
        panel->OptionsItem().Caption = toolBar_.TextOptionMenu();
        panel->MeasureOptionItems();
    }
    panel->SetAdvToolBar(&toolBar_);

    TSelectorItemColors colors;
    if (toolBar_.Menu()) {
        const TMenuRootItemAppearance* root = styler->CurrentMenuStyler()->RootItem();
        colors = {root->HoverColor(),       root->HoverColorTo(),  root->SelectedColor(),
                  root->SelectedColorTo(),  root->Font()->Color(), root->HoverTextColor(),
                  root->SelectedTextColor()};
    } else {
        const TButtonAppearance* b = styler->ButtonAppearance();
        colors = {b->ColorHot(),         b->ColorHotTo(),          b->ColorDown(),           b->ColorDownTo(),
                  b->CaptionTextColor(), b->CaptionTextColorHot(), b->CaptionTextColorDown()};
    }
    panel->SetItemColors(colors);

    window->SetOptionsPanel(panel);
    panel->ClearListedControls();
    {
        // The toolbar must keep these controls in its lists while they visit the panel.
        const bool was = toolBar_.Reparenting();
        toolBar_.SetReparenting(true);
        const std::vector<TControl*>& overflow = toolBar_.OverflowList();
        const int hiddenCount = static_cast<int>(overflow.size());
        const TAdvToolBarSeparator* pending = nullptr;
        int n = 1;
        for (TControl* c : std::vector<TControl*>(toolBar_.PositionList())) {
            const auto* separator = dynamic_cast<const TAdvToolBarSeparator*>(c);
            if (separator) pending = separator;
            if (!Contains(overflow, c)) continue;
            if (separator && (n == 1 || n == hiddenCount)) continue;
            if (pending && !separator) {
                if (n > 1) panel->AddSeparatorCopy(pending);
                pending = nullptr;
            }
            panel->AddControl(c);
            ++n;
            if (separator) pending = nullptr;
        }
        toolBar_.SetReparenting(was);
    }
    panel->ArrangeOptionPanel();
    window->FitToPanel();
}

namespace {

/// A logical point of `c`'s client area as a screen point on pixel edges: under a
/// mirrored layout the edge at logical x lies at the mirrored edge, not on the
/// pixel next to it.
TPoint EdgeToScreen(const TControl* c, TPoint p) {
    if (!c) return p;
    const TRect r = c->ClientToScreenRect({p.X, p.Y, p.X, p.Y});
    return {r.Left, r.Top};
}

} // namespace

TPoint TToolBarOptionWindow::DefaultPlace() const {
    TOptionSelectorWindow* window = window_.Get();
    const int w = window->Width(), h = window->Height();
    // A mirrored toolbar's window hangs leftwards from the mirrored anchor.
    const bool leftwards = toolBar_.UseRightToLeftLayout();
    if (toolBar_.Floating()) {
        TPoint p{toolBar_.Left() + toolBar_.Width() - 40 + (toolBar_.ShowClose() ? 0 : 20),
                 toolBar_.Top() + toolBar_.CaptionHeight() - 2};
        TPoint at = EdgeToScreen(&toolBar_, p);
        if (leftwards) at.X -= w;
        return at;
    }
    TWinControl* parent = toolBar_.Parent();
    const TPoint local{toolBar_.Left() + toolBar_.Width() - 12, toolBar_.Top() + toolBar_.Height() + 1};
    TPoint at = EdgeToScreen(parent, local);
    if (leftwards) at.X -= w;
    const TRect work = Screen().WorkAreaRect();
    if (work.Bottom < h + at.Y + 2) at.Y = work.Bottom - h - 2;
    const TRect monitor = Screen().MonitorFor({at.X, at.Y, at.X + 1, at.Y + 1});
    // Beside a side panel the window goes to the toolbar's other side; elsewhere
    // it is pushed back onto the monitor.
    if (leftwards && at.X < monitor.Left) {
        if (toolBar_.Position() == TDockAlign::daLeft)
            at.X = EdgeToScreen(parent, {toolBar_.Left(), 0}).X;
        else
            at.X = monitor.Left;
    } else if (!leftwards && monitor.Right < w + at.X) {
        if (toolBar_.Position() == TDockAlign::daRight) {
            const TPoint left{toolBar_.Left() - w, 0};
            at.X = EdgeToScreen(parent, left).X;
        } else {
            at.X = monitor.Right - w;
        }
    }
    return at;
}

void TToolBarOptionWindow::Show(TPoint at, bool useGivenPoint) {
    if (toolBar_.HasState(csDesigning)) return;
    Build();
    TOptionSelectorWindow* window = window_.Get();
    TControlSelectorPanel* panel = panel_.Get();
    if (!window || !panel) return;
    if (!useGivenPoint) at = DefaultPlace();
    if (panel->Empty()) return;
    window->SetBounds(at.X, at.Y, window->Width(), window->Height());
    window->SetHideOnDeactivate(true);
    window->Show();
}

} // namespace emr
