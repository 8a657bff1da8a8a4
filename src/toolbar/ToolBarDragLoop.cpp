#include "toolbar/ToolBarDragLoop.h"

#include "framework/controls/Mouse.h"
#include "framework/forms/Application.h"
#include "framework/forms/Screen.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/DockLayout.h"
#include "toolbar/FloatingWindow.h"

namespace emr {

// ---- running a drag ---------------------------------------------------------------------------------

void TToolBarDragLoop::DragToolBar(TAdvCustomToolBar* toolBar, int x, int y) {
    if (!toolBar || !Application) return;
    TToolBarDragLoop loop(toolBar);
    loop.Run(x, y);
}

TToolBarDragLoop::TToolBarDragLoop(TAdvCustomToolBar* toolBar) : toolBar_(toolBar) {}

void TToolBarDragLoop::Run(int x, int y) {
    CollectDockSites();
    grab_ = {x, y};
    SetCaptureControl(toolBar_.Get());
    dragging_ = true;

    bool released = false;
    // Only this loop's own messages are taken; a loop nested inside it (a message
    // box opened by a handler) keeps its pointer input.
    const int depth = Application->LoopDepth() + 1;
    THookId filter = Application->AddMessageFilter([this, &released, depth](TMsg& msg) {
        if (Application->LoopDepth() != depth || !msg.FromInput || !toolBar_) return false;
        if (msg.Message.Msg == WM_MOUSEMOVE) {
            TMouse::Instance().SetCursorPos(msg.ScreenPos);
            TPoint p = toolBar_->ScreenToClient(msg.ScreenPos);
            DragStep(p.X, p.Y);
            return true;
        }
        if (msg.Message.Msg == WM_LBUTTONUP) {
            released = true;
            return true;
        }
        return false;
    });
    // The drag ends however the loop is left, also by an exception out of a handler.
    struct TEnd {
        TToolBarDragLoop& loop;
        THookId filter;
        ~TEnd() {
            if (Application) Application->RemoveMessageFilter(filter);
            loop.EndToolBarDrag();
        }
    } end{*this, filter};

    Application->RunNestedLoop(
        [this, &released] { return released || !toolBar_ || GetCaptureControl() != toolBar_.Get(); });
}

void TToolBarDragLoop::EndToolBarDrag() {
    if (Screen().Cursor() == crSizeAll) Screen().SetCursor(crDefault);
    dragging_ = false;
    if (TAdvCustomToolBar* t = toolBar_.Get())
        if (GetCaptureControl() == t) ReleaseCapture();
    sites_.clear();
}

// ---- dock sites -----------------------------------------------------------------------------------------

bool TToolBarDragLoop::CanDockTo(TAdvCustomToolBar* toolBar, TAdvDockPanel* panel) {
    if (!(toolBar->DockableTo() & (1u << static_cast<unsigned>(panel->Align())))) return false;
    if (panel->LockHeight() && panel->LayoutLoaded() && panel->FindRowFor(toolBar) == -1) return false;
    return true;
}

TRect TToolBarDragLoop::DropRectOf(const TAdvDockPanel* panel) {
    TRect r = panel->ClientToScreenRect(TRect::FromBounds(0, 0, panel->Width(), panel->Height()));
    switch (panel->Align()) {
    case TDockAlign::daTop:
        r.Bottom += DropMargin;
        break;
    case TDockAlign::daBottom:
        r.Top -= DropMargin;
        break;
    case TDockAlign::daLeft:
        r.Right += DropMargin;
        break;
    case TDockAlign::daRight:
        r.Left -= DropMargin;
        break;
    }
    return r;
}

void TToolBarDragLoop::CollectDockSites() {
    sites_.clear();
    TAdvCustomToolBar* t = toolBar_.Get();
    if (!t) return;
    auto* last = dynamic_cast<TAdvDockPanel*>(t->LastDockPanel());
    if (last && t->DockMode() == TDockMode::dmParentDockPanelOnly) {
        Visit(last, false);
    } else if (last && t->DockMode() == TDockMode::dmAllParentDockPanels) {
        if (last->Parent()) Visit(last->Parent(), true);
    } else {
        Visit(TFloatingWindow::OwnerFormOf(t), false);
    }
}

void TToolBarDragLoop::Visit(TWinControl* control, bool panelsOnly) {
    TAdvCustomToolBar* t = toolBar_.Get();
    if (!control || control->IsInside(t) || !control->Showing()) return;
    if (auto* panel = dynamic_cast<TAdvDockPanel*>(control)) {
        for (const TDockSiteRecord& site : sites_)
            if (site.Panel.Get() == panel) return;
        if (CanDockTo(t, panel)) sites_.push_back({TComponentRef<TAdvDockPanel>(panel), DropRectOf(panel)});
        return;
    }
    for (TControl* child : control->ControlList()) {
        auto* w = dynamic_cast<TWinControl*>(child);
        if (!w || (panelsOnly && !dynamic_cast<TAdvDockPanel*>(w))) continue;
        Visit(w, panelsOnly);
    }
}

void TToolBarDragLoop::RefreshDockSites() {
    for (TDockSiteRecord& site : sites_)
        if (TAdvDockPanel* panel = site.Panel.Get()) site.DropRect = DropRectOf(panel);
}

// ---- one pointer move ------------------------------------------------------------------------------------

void TToolBarDragLoop::DragStep(int x, int y) {
    TAdvCustomToolBar* t = toolBar_.Get();
    if (!dragging_ || !t) return;
    // Where the pointer is, taken before the toolbar or its window moves under it.
    const TPoint screen = t->ClientToScreen({x, y});
    bool leave = false;
    if (t->Docked() && t->DockPanel()) leave = StepDocked(x, y);
    if (!toolBar_) return;
    if (t->Floating()) FollowPointer(x, y);
    if (!t->AllowFloating()) leave = false;
    if (!leave && !t->Floating()) return;
    if (DockAt(screen) || !toolBar_) return;
    if (!t->Floating()) Float();
}

bool TToolBarDragLoop::StepDocked(int x, int y) {
    TAdvCustomToolBar* t = toolBar_.Get();
    auto* panel = dynamic_cast<TAdvDockPanel*>(t->DockPanel());
    if (!panel) return false;
    // The step is worked out on a copy of the panel's layout and applied once.
    TDockLayout layout = panel->Layout();
    if (!layout.HasItem(t)) return false;
    const TDockItem& item = layout.Item(t);
    // Along the row and across it: Left and Top on a horizontal panel, swapped on a vertical one.
    const bool h = !layout.Vertical();
    auto request = [&](int start, int cross) {
        const TRect now = layout.BoundsOf(t);
        layout.RequestBounds(
            t, TRect::FromBounds(h ? start : cross, h ? cross : start, now.Width(), now.Height()));
    };
    const int along = h ? x : y;
    const int across = h ? y : x;
    const int panelLength = h ? panel->Width() : panel->Height();
    const int panelThickness = h ? panel->Height() : panel->Width();

    const int row = item.RowIndex;
    const int start0 = item.Start;
    const int q = along - (h ? grab_.X : grab_.Y) + start0;
    request(q, item.Cross);
    if (across > item.Thickness)
        request(item.Start, item.Cross + across - item.Thickness);
    else if (across < 0)
        request(item.Start, item.Cross + across);

    // Leaving across the rows: only a step that did not change the row counts.
    bool leave = false;
    if (across != item.Cross) {
        if (across > item.Thickness && item.RowIndex == row &&
            item.Cross + across > panelThickness + LeaveDistance)
            leave = true;
        if (across < 0 && item.RowIndex == row && across + item.Cross < -LeaveDistance) leave = true;
    }
    // Leaving along the row: only when the rows did not grant the move.
    if (item.Start != q && !leave) {
        if (q > item.Length)
            leave = q > panelLength + LeaveDistance;
        else if (h && along < 0)
            leave = start0 + along < -LeaveDistance;
        else if (!h && q < 0)
            leave = q < -LeaveDistance;
    }
    panel->CommitLayout(layout);
    if (!toolBar_) return false;

    // The far corners copy the panel's pixels, so they are painted again where the toolbar now is.
    const int w = t->Width(), ht = t->Height();
    if (h) {
        t->InvalidateRect({w - 2, 0, w, 2});
        t->InvalidateRect({w - 2, ht - 2, w, ht});
    } else {
        t->InvalidateRect({0, ht - 3, 3, ht});
        t->InvalidateRect({w - 3, ht - 3, w, ht});
    }
    return leave;
}

void TToolBarDragLoop::FollowPointer(int x, int y) {
    TAdvCustomToolBar* t = toolBar_.Get();
    TFloatingWindow* window = TFloatingWindow::Of(t);
    if (!window) return;
    // The pointer's travel from the grab point is measured on the screen, and the
    // toolbar's offset in its window counts from the side its start is on, so a
    // mirrored window moves as the mirror image of a plain one.
    const TPoint pointer = t->ClientToScreen({x, y});
    const TPoint grabbed = t->ClientToScreen(grab_);
    const TPoint o = window->ClientOrigin();
    const int offset = t->UseRightToLeftLayout() ? -t->Left() : t->Left();
    window->SetBounds(o.X + offset + pointer.X - grabbed.X, o.Y + t->Top() + pointer.Y - grabbed.Y,
                      window->Width(), window->Height());
}

bool TToolBarDragLoop::DockAt(TPoint screen) {
    for (std::size_t i = 0; i < sites_.size(); ++i) {
        TAdvCustomToolBar* t = toolBar_.Get();
        if (!t) return true;
        TAdvDockPanel* panel = sites_[i].Panel.Get();
        if (!panel || !sites_[i].DropRect.Contains(screen) || t->Parent() == panel) continue;
        TFloatingWindow* window = TFloatingWindow::Of(t);
        // A panel whose rows cannot take it is passed over; it stays where it is.
        if (!panel->Plug(t)) continue;
        if (!toolBar_) return true;
        grab_.X = 1;
        if (window) window->Release();
        return true;
    }
    return false;
}

void TToolBarDragLoop::Float() {
    TAdvCustomToolBar* t = toolBar_.Get();
    bool allow = true;
    if (t->OnCanFloat) {
        t->OnCanFloat(t, allow);
        if (!toolBar_) return;
    }
    if (!allow) return;
    TFloatingWindow::FloatToolBar(t, 0, 0, false);
    if (!toolBar_) return;
    RefreshDockSites();
}

} // namespace emr
