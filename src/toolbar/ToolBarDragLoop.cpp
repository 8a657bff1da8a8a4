#include "toolbar/ToolBarDragLoop.h"

#include "framework/controls/Mouse.h"
#include "framework/forms/Application.h"
#include "framework/forms/Screen.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvDockPanel.h"
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
    toolBar_->dragInProgress_ = true;

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
    if (TAdvCustomToolBar* t = toolBar_.Get()) {
        t->dragInProgress_ = false;
        if (GetCaptureControl() == t) ReleaseCapture();
    }
    sites_.clear();
}

// ---- dock sites -----------------------------------------------------------------------------------------

bool TToolBarDragLoop::CanDockTo(TAdvCustomToolBar* toolBar, TAdvDockPanel* panel) {
    if (!(toolBar->DockableTo() & (1u << static_cast<unsigned>(panel->Align())))) return false;
    if (panel->LockHeight() && panel->LayoutLoaded() && panel->FindRowFor(toolBar) == -1) return false;
    return true;
}

TRect TToolBarDragLoop::DropRectOf(const TAdvDockPanel* panel) {
    TPoint origin = panel->ClientToScreen({0, 0});
    TRect r = TRect::FromBounds(origin.X, origin.Y, panel->Width(), panel->Height());
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
    auto* panel = dynamic_cast<TControl*>(t->DockPanel());
    if (!panel) return false;
    // Along the row and across it: Left and Top on a horizontal toolbar, swapped on a vertical one.
    const bool h = t->Horizontal();
    auto start = [&] { return h ? t->Left() : t->Top(); };
    auto cross = [&] { return h ? t->Top() : t->Left(); };
    auto length = [&] { return h ? t->Width() : t->Height(); };
    auto thickness = [&] { return h ? t->Height() : t->Width(); };
    auto setStart = [&](int v) { h ? t->SetLeft(v) : t->SetTop(v); };
    auto setCross = [&](int v) { h ? t->SetTop(v) : t->SetLeft(v); };
    const int along = h ? x : y;
    const int across = h ? y : x;
    const int panelLength = h ? panel->Width() : panel->Height();
    const int panelThickness = h ? panel->Height() : panel->Width();

    const int row = t->RowIndex();
    const int start0 = start();
    const int q = along - (h ? grab_.X : grab_.Y) + start0;
    setStart(q);
    if (across > thickness())
        setCross(cross() + across - thickness());
    else if (across < 0)
        setCross(cross() + across);

    // Leaving across the rows: only a step that did not change the row counts.
    bool leave = false;
    if (across != cross()) {
        if (across > thickness() && t->RowIndex() == row && cross() + across > panelThickness + LeaveDistance)
            leave = true;
        if (across < 0 && t->RowIndex() == row && across + cross() < -LeaveDistance) leave = true;
    }
    // Leaving along the row: only when the panel did not grant the move.
    if (start() != q && !leave) {
        if (q > length())
            leave = q > panelLength + LeaveDistance;
        else if (h && along < 0)
            leave = start0 + along < -LeaveDistance;
        else if (!h && q < 0)
            leave = q < -LeaveDistance;
    }

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
    TPoint p = window->ClientToScreen({x - grab_.X + t->Left(), y - grab_.Y + t->Top()});
    window->SetBounds(p.X, p.Y, window->Width(), window->Height());
}

bool TToolBarDragLoop::DockAt(TPoint screen) {
    for (std::size_t i = 0; i < sites_.size(); ++i) {
        TAdvCustomToolBar* t = toolBar_.Get();
        if (!t) return true;
        TAdvDockPanel* panel = sites_[i].Panel.Get();
        if (!panel || !sites_[i].DropRect.Contains(screen) || t->Parent() == panel) continue;
        TFloatingWindow* window = TFloatingWindow::Of(t);
        TComponentRef<TWinControl> previous(t->Parent());
        t->SetParent(panel);
        if (!toolBar_) return true;
        if (t->DockPanel() != static_cast<TToolBarDockSite*>(panel)) {
            // The panel refused it after all: it goes back where it was rather
            // than staying a child of a panel that holds it in no row.
            t->SetParent(previous.Get());
            if (!toolBar_) return true;
            if (window && TFloatingWindow::Of(t) == window) {
                window->FitToToolBar();
                window->StartFollowing(window->OwnerForm());
            }
            continue;
        }
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
