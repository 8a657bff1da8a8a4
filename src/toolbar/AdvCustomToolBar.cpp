#include "toolbar/AdvCustomToolBar.h"

#include <algorithm>

#include "framework/forms/Form.h"
#include "framework/forms/Menu.h"
#include "framework/forms/PopupMenu.h"
#include "framework/forms/Screen.h"
#include "framework/forms/Timer.h"
#include "framework/graphics/ImageList.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "toolbar/AdvToolBarSeparator.h"
#include "toolbar/ToolBarChrome.h"
#include "toolbar/ToolBarFocus.h"
#include "toolbar/ToolBarKeyboardMode.h"
#include "toolbar/ToolBarLayoutPersistence.h"
#include "toolbar/ToolBarListHelpers.h"
#include "toolbar/ToolBarMDIButtons.h"
#include "toolbar/ToolBarMenuBar.h"
#include "toolbar/ToolBarOptionWindow.h"
#include "toolbar/ToolBarOverflow.h"

namespace emr {

using namespace toolbar_detail;

TAdvCustomToolBar::TAdvCustomToolBar(TComponent* owner) : TCustomControl(owner) {
    controlStyle_ |= csAcceptsControls;
    controlStyle_ &= ~csOpaque;
    SetDoubleBuffered(true);
    SetBounds(Left(), Top(), Width(), DefaultThickness);
    Constraints()->SetMinWidth(MinLength);

    internalStyler_ = new TCustomAdvToolBarStyler(this);
    internalStyler_->SetName("InternalStyler");
    internalStyler_->AddControl(this);
    currentStyler_ = internalStyler_;

    published_.CaptionFont = std::make_unique<TFont>();
    published_.CaptionFont->OnChange = [this](TObject*) { Invalidate(); };
    Constraints()->SetMaxWidth(MinLength);
    SetShowHint(true);

    published_.OptionPicture = std::make_unique<TPicture>();
    published_.OptionPicture->OnChange = [this](TObject*) { Invalidate(); };
    published_.OptionDisabledPicture = std::make_unique<TPicture>();
    published_.OptionDisabledPicture->OnChange = [this](TObject*) { Invalidate(); };
    inert_.CompactPicture = std::make_unique<TPicture>();
    inert_.OfficeHint = std::make_unique<TAdvHintInfo>();
    published_.Persistence = std::make_unique<TPersistence>();
    published_.Persistence->SetSection("UnDockedAdvToolBars");
    layoutPersistence_ = std::make_unique<TToolBarLayoutPersistence>(this);
    overflow_ = std::make_unique<TToolBarOverflow>(*this, lists_.Position, lists_.Priority, lists_.Overflow);
    optionWindow_ = std::make_unique<TToolBarOptionWindow>(*this);
    menuBar_ = std::make_unique<TToolBarMenuBar>(this);
    keyboard_ = std::make_unique<TToolBarKeyboardMode>(this);
    mdiButtons_ = std::make_unique<TToolBarMDIButtons>(this);
    focus_ = std::make_unique<TToolBarFocus>(*this);
    // One Tab stop for the whole bar; the arrow keys move among its items.
    SetTabStop(true);
}

TAdvCustomToolBar::~TAdvCustomToolBar() = default;

void TAdvCustomToolBar::BeforeDestruction() {
    if (published_.Persistence->Enabled() && !Designing()) layoutPersistence_->SaveOnDestroy();
    // A freed toolbar leaves the rows of its panel while both are whole.
    if (docking_.Panel && docking_.LastPanelRef.Get()) {
        TToolBarDockSite* panel = docking_.Panel;
        docking_.Panel = nullptr;
        panel->RemoveToolBar(this);
    }
    Destroying();
    menuBar_->Release();
    if (published_.ToolBarStyler) published_.ToolBarStyler->RemoveControl(this);
    published_.ToolBarStyler = nullptr;
    currentStyler_ = internalStyler_;
    for (TControl* c : lists_.Position)
        if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(c)) tc->SetToolBarLink(nullptr);
    lists_.Position.clear();
    lists_.Priority.clear();
    lists_.Overflow.clear();
    hotButton_ = nullptr;
    TCustomControl::BeforeDestruction();
}

// ---- Simple properties ----------------------------------------------------------------------

void TAdvCustomToolBar::SetAllowFloating(bool value) {
    if (!value && Floating()) return;
    published_.AllowFloating = value;
}

void TAdvCustomToolBar::SetAutoArrangeButtons(bool value) {
    published_.AutoArrangeButtons = value;
    if (!value && !Loading()) lists_.Priority = lists_.Position;
}

void TAdvCustomToolBar::SetLocked(bool value) {
    if (value && Floating()) return;
    published_.Locked = value;
}

void TAdvCustomToolBar::SetCaption(const std::string& value) {
    if (published_.Caption == value) return;
    published_.Caption = value;
    Invalidate();
    SetText(value);
}

void TAdvCustomToolBar::SetCaptionFont(const TFont* value) {
    published_.CaptionFont->Assign(value);
    Invalidate();
}

void TAdvCustomToolBar::SetCaptionHeight(int value) {
    if (published_.CaptionHeight == value) return;
    published_.CaptionHeight = value;
    if (published_.ShowCaption) {
        ArrangeControls(false);
        Invalidate();
    }
}

void TAdvCustomToolBar::SetCaptionPosition(TCaptionPosition value) {
    if (published_.CaptionPosition == value) return;
    published_.CaptionPosition = value;
    if (published_.ShowCaption) {
        ArrangeControls(false);
        Invalidate();
    }
}

void TAdvCustomToolBar::SetCaptionAlignment(TAlignment value) {
    if (published_.CaptionAlignment == value) return;
    published_.CaptionAlignment = value;
    Invalidate();
}

void TAdvCustomToolBar::SetShowCaption(bool value) {
    if (published_.ShowCaption == value) return;
    published_.ShowCaption = value;
    ArrangeControls(true);
    Invalidate();
}

void TAdvCustomToolBar::SetShowRightHandle(bool value) {
    if (published_.ShowRightHandle == value) return;
    published_.ShowRightHandle = value;
    ArrangeControls(true);
    if (Docked() && docking_.Panel) docking_.Panel->ArrangeRows();
    Invalidate();
}

void TAdvCustomToolBar::SetShowOptionIndicator(bool value) {
    if (published_.ShowOptionIndicator == value) return;
    published_.ShowOptionIndicator = value;
    Invalidate();
}

void TAdvCustomToolBar::SetAutoSize(bool value) {
    if (published_.AutoSize == value) return;
    if (!value && !Standalone()) return;
    published_.AutoSize = value;
    ArrangeControls(true);
    if (!value) {
        Constraints()->SetMinWidth(0);
        Constraints()->SetMaxWidth(0);
        Constraints()->SetMinHeight(0);
        Constraints()->SetMaxHeight(0);
    }
}

void TAdvCustomToolBar::SetAutoPositionControls(bool value) {
    if (published_.AutoPositionControls == value) return;
    if (!value && !Standalone()) return;
    published_.AutoPositionControls = value;
    if (value)
        ArrangeControls(true);
    else
        SetAutoSize(false);
}

void TAdvCustomToolBar::SetAutoMDIButtons(bool value) {
    // A stored value is checked once everything it depends on is loaded.
    if (Loading() || Designing()) {
        published_.AutoMDIButtons = value;
        return;
    }
    published_.AutoMDIButtons =
        value && published_.FullSize && Menu() && dynamic_cast<TCustomForm*>(TopLevel());
    Invalidate();
}

void TAdvCustomToolBar::SetFullSize(bool value) {
    if (published_.FullSize == value) return;
    published_.FullSize = value;
    if (!Docked() || !docking_.Panel) return;
    if (value) {
        SetParentStyler(true);
        docking_.Panel->GiveFullRow(this);
        UpdateOverflow();
        ArrangeControls(false);
    } else {
        UpdateSize();
    }
}

void TAdvCustomToolBar::SetImages(TCustomImageList* value) {
    if (published_.Images == value) return;
    TCustomImageList* old = published_.Images;
    if (old) old->RemoveFreeNotification(this);
    published_.Images = value;
    if (value) value->FreeNotification(this);
    bool horizontal = Horizontal() || Floating();
    int oldExtent = old ? (horizontal ? old->Height() : old->Width()) : 0;
    int newExtent = value ? (horizontal ? value->Height() : value->Width()) : 0;
    // A stored thickness already holds the images: the reference is resolved
    // while loading, after the stored Height, and must not add them a second time.
    if ((old || value) && !Loading()) {
        int delta = newExtent - oldExtent;
        if (horizontal)
            SetHeight(Height() + delta);
        else
            SetWidth(Width() + delta);
        if (Floating()) docking_.DockedThickness += delta;
    }
    {
        TFlagGuard guard(busy_.Arranging, true);
        EachToolBarControl([](TAdvCustomToolBarControl* c) { c->UpdateControlSize(); });
    }
    ArrangeControls(true);
    EachToolBarControl([](TAdvCustomToolBarControl* c) {
        if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(c); b && b->Shaded()) b->BuildShade();
    });
    if (Floating()) {
        docking_.DockedThickness = FloatingThickness();
        ArrangeControls(true);
    }
    Invalidate();
}

void TAdvCustomToolBar::SetDisabledImages(TCustomImageList* value) {
    if (published_.DisabledImages == value) return;
    if (published_.DisabledImages) published_.DisabledImages->RemoveFreeNotification(this);
    published_.DisabledImages = value;
    if (value) value->FreeNotification(this);
    EachToolBarControl([](TAdvCustomToolBarControl* c) { c->UpdateControlSize(); });
    Invalidate();
}

TMainMenu* TAdvCustomToolBar::Menu() const {
    return menuBar_ ? menuBar_->Menu() : nullptr;
}

void TAdvCustomToolBar::SetMenu(TMainMenu* value) {
    menuBar_->SetMenu(value);
}

bool TAdvCustomToolBar::MenuSideways() const {
    return menuBar_ && menuBar_->Sideways();
}

void TAdvCustomToolBar::SetOptionMenu(TPopupMenu* value) {
    if (published_.OptionMenu == value) return;
    if (published_.OptionMenu) published_.OptionMenu->RemoveFreeNotification(this);
    published_.OptionMenu = value;
    if (value) value->FreeNotification(this);
}

void TAdvCustomToolBar::SetFloatingRows(int value) {
    if (value < 1 || value > MaxFloatingRows() || value == published_.FloatingRows) return;
    published_.FloatingRows = value;
    if (!Loading()) {
        ArrangeControls(true);
        if (TToolBarFloatingSite* site = FloatingSite()) site->FitToToolBar();
    }
}

// ---- Styler attachment ----------------------------------------------------------------------

void TAdvCustomToolBar::SetToolBarStyler(TCustomAdvToolBarStyler* value) {
    if (value && value == published_.ToolBarStyler) return;
    if (published_.ToolBarStyler) {
        published_.ToolBarStyler->RemoveControl(this);
        published_.ToolBarStyler->RemoveFreeNotification(this);
    }
    published_.ToolBarStyler = value;
    if (published_.ParentStyler && docking_.LastPanel && docking_.LastPanelRef) {
        TCustomAdvToolBarStyler* panelStyler = docking_.LastPanel->DockStyler();
        if (panelStyler && !panelStyler->HasState(csDestroying)) published_.ToolBarStyler = panelStyler;
    }
    if (published_.ToolBarStyler) {
        currentStyler_ = published_.ToolBarStyler;
        published_.ToolBarStyler->AddControl(this);
        published_.ToolBarStyler->FreeNotification(this);
    } else {
        currentStyler_ = internalStyler_;
    }
    if (Parent()) ButtonsReadStyler();
    Invalidate();
}

void TAdvCustomToolBar::SetParentStyler(bool value) {
    bool was = published_.ParentStyler;
    published_.ParentStyler = value;
    if (value || was) ResolveStyler();
}

void TAdvCustomToolBar::ResolveStyler() {
    SetToolBarStyler(nullptr);
}

void TAdvCustomToolBar::ButtonsReadStyler() {
    EachToolBarControl([](TAdvCustomToolBarControl* c) { c->Invalidate(); });
}

void TAdvCustomToolBar::StylerChanged(int code) {
    SetColor(currentStyler_->Color()->Color());
    if (code == scDragGrip) {
        ArrangeControls(true);
        UpdateOverflow();
    }
    ButtonsReadStyler();
    Invalidate();
}

// ---- Lists and registration -------------------------------------------------------------------

void TAdvCustomToolBar::EachToolBarControl(const std::function<void(TAdvCustomToolBarControl*)>& f) const {
    std::vector<TControl*> controls = ControlList();
    for (TControl* c : controls)
        if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(c)) f(tc);
}

bool TAdvCustomToolBar::InOverflow(const TControl* control) const {
    return Contains(lists_.Overflow, control);
}

int TAdvCustomToolBar::InsertionIndex(TControl* control) const {
    bool horizontal = Horizontal() || Floating();
    auto self = std::find(lists_.Position.begin(), lists_.Position.end(), control);
    if (self != lists_.Position.end() && lists_.Position.size() <= 1)
        return static_cast<int>(self - lists_.Position.begin());
    if (control->Left() == 0 || control->Top() == 0) return static_cast<int>(lists_.Position.size());
    int start = StartOf(control, horizontal);
    for (std::size_t i = 0; i < lists_.Position.size(); ++i) {
        if (lists_.Position[i] == control) continue;
        if (StartOf(lists_.Position[i], horizontal) >= start) return static_cast<int>(i);
    }
    return static_cast<int>(lists_.Position.size());
}

void TAdvCustomToolBar::RegisterControl(TAdvCustomToolBarControl* control) {
    FreeNotification(control);
    control->SetToolBarLink(this);
    control->SetPosition(Floating() ? TDockAlign::daTop : docking_.Position);
    if (!Loading() && !Designing()) control->UpdateControlSize();
    if (control->Parent() == this && !Contains(lists_.Position, control) && !Loading()) {
        int index = InsertionIndex(control);
        lists_.Position.insert(lists_.Position.begin() + std::min<std::size_t>(index, lists_.Position.size()),
                               control);
        if (!Contains(lists_.Priority, control)) lists_.Priority.push_back(control);
        ArrangeControls(true);
    }
}

void TAdvCustomToolBar::UnregisterControl(TAdvCustomToolBarControl* control) {
    Remove(lists_.Position, control);
    Remove(lists_.Priority, control);
    Remove(lists_.Overflow, control);
    if (control->ToolBar() == this) control->SetToolBarLink(nullptr);
    if (hotButton_ == control) hotButton_ = nullptr;
    if (!HasState(csDestroying)) ArrangeControls(true);
}

void TAdvCustomToolBar::ControlChange(TControl* control, bool inserting) {
    TCustomControl::ControlChange(control, inserting);
    // The lists hold every child; a child that is freed, even while the whole
    // window goes, must leave them before its memory does.
    if (inserting) FreeNotification(control);
    if (busy_.Reparenting || HasState(csDestroying)) return;
    if (inserting) {
        if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(control)) {
            tc->SetToolBarLink(this);
            tc->SetPosition(Floating() ? TDockAlign::daTop : docking_.Position);
            if (!Loading() && !Designing()) tc->UpdateControlSize();
        }
        if (Loading()) return;
        int index = InsertionIndex(control);
        Remove(lists_.Position, control);
        lists_.Position.insert(lists_.Position.begin() + std::min<std::size_t>(index, lists_.Position.size()),
                               control);
        if (!Contains(lists_.Priority, control)) lists_.Priority.push_back(control);
        ArrangeControls(true);
    } else {
        Remove(lists_.Position, control);
        Remove(lists_.Priority, control);
        Remove(lists_.Overflow, control);
        if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(control); tc && tc->ToolBar() == this)
            tc->SetToolBarLink(nullptr);
        if (hotButton_ == control) hotButton_ = nullptr;
        ArrangeControls(true);
    }
}

void TAdvCustomToolBar::ForgetImageIndexes() {
    if (HasState(csDestroying)) return;
    // Setting an index may rearrange the lists.
    const std::vector<TControl*> controls = lists_.Position;
    for (TControl* c : controls)
        if (auto* button = dynamic_cast<TAdvCustomToolBarButton*>(c); button && button->ToolBar() == this)
            button->SetImageIndex(-1);
}

void TAdvCustomToolBar::BuildPositionList() {
    bool horizontal = Horizontal() || Floating();
    lists_.Position.clear();
    for (TControl* c : ControlList()) {
        auto at = lists_.Position.end();
        for (auto it = lists_.Position.end(); it != lists_.Position.begin();) {
            --it;
            if (StartOf(*it, horizontal) <= StartOf(c, horizontal)) {
                at = it + 1;
                break;
            }
            at = it;
        }
        lists_.Position.insert(at, c);
    }
    lists_.Priority = lists_.Position;
}

void TAdvCustomToolBar::AlignControls(TControl* control, TRect& rect) {
    (void)rect;
    // Moves between the toolbar and the option window are not the child's own changes.
    if (busy_.Reparenting) return;
    ControlBoundsChanged(control);
}

void TAdvCustomToolBar::ControlBoundsChanged(TControl* control) {
    if (!control || busy_.Arranging || control->Parent() != this || HasState(csDestroying)) return;
    ChildBoundsChanged(control);
}

void TAdvCustomToolBar::ChildBoundsChanged(TControl* control) {
    if (Loading() || Designing()) {
        int index = InsertionIndex(control);
        Remove(lists_.Position, control);
        lists_.Position.insert(lists_.Position.begin() + std::min<std::size_t>(index, lists_.Position.size()),
                               control);
    }
    if (Loading()) return;
    // Read with its window, every control of the toolbar takes its size one after
    // the other; its panel builds the rows once they all have.
    if (Docked() && docking_.Panel && docking_.Panel->BuildsRowsLater() && !Designing()) {
        busy_.ArrangePending = true;
        return;
    }
    {
        TFlagGuard guard(busy_.ShrinkFollowsControl, Docked() && !Designing());
        ArrangeControls(true);
        UpdateOverflow();
    }
    if (Docked() && docking_.Panel && docking_.RowIndex >= 0) docking_.Panel->ArrangeRow(docking_.RowIndex);
    optionWindow_->ChildChanged();
}

void TAdvCustomToolBar::FinishPendingArrangement() {
    if (!busy_.ArrangePending) return;
    busy_.ArrangePending = false;
    {
        TFlagGuard guard(busy_.ShrinkFollowsControl, Docked());
        ArrangeControls(true);
        UpdateOverflow();
    }
    optionWindow_->ChildChanged();
}

// ---- Bounds and parent changes ------------------------------------------------------------------

void TAdvCustomToolBar::SetBounds(int left, int top, int width, int height) {
    if (Docked() && docking_.Panel && !busy_.SuppressBoundsAdjustment)
        docking_.Panel->AdjustToolBarBounds(this, left, top, width, height);
    TakeBounds(TRect::FromBounds(left, top, width, height));
}

void TAdvCustomToolBar::TakeBounds(const TRect& bounds) {
    const int oldLength = Length();
    TCustomControl::SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    if (Docked() && docking_.Panel && !Loading() && Length() != oldLength) UpdateOverflow();
}

TToolBarFloatingSite* TAdvCustomToolBar::FloatingSite() const {
    return Floating() ? dynamic_cast<TToolBarFloatingSite*>(Parent()) : nullptr;
}

void TAdvCustomToolBar::ParentChanging(TWinControl* newParent) {
    (void)newParent;
    if (!Designing() && !Loading() && OptionWindowVisible()) CloseOptionWindow();
}

void TAdvCustomToolBar::ParentChanged() {
    TCustomControl::ParentChanged();
    if (HasState(csDestroying)) return;
    TWinControl* parent = Parent();
    // A floating window goes before its toolbar when the window closes; the
    // toolbar saves its layout then.
    if (parent) FreeNotification(parent);
    docking_.PreviousState = docking_.State;
    auto* site = dynamic_cast<TToolBarDockSite*>(parent);
    bool docked = false;
    if (site && site != docking_.Panel) {
        if (docking_.Panel) docking_.Panel->RemoveToolBar(this);
        docking_.Panel = nullptr;
        if (docking_.PreviousState == TToolBarState::tsFloating && Horizontal()) {
            Constraints()->SetMinHeight(0);
            Constraints()->SetMaxHeight(0);
            SetHeight(docking_.DockedThickness);
        }
        docking_.State = TToolBarState::tsDocked;
        if (site->AddToolBar(this) < 0) {
            docking_.State = docking_.PreviousState;
        } else {
            docking_.Panel = site;
            docking_.LastPanel = site;
            docking_.LastPanelRef.Reset(dynamic_cast<TComponent*>(site));
            SetToolBarStyler(published_.ToolBarStyler);
            docked = true;
        }
    } else if (dynamic_cast<TToolBarFloatingSite*>(parent)) {
        docking_.State = TToolBarState::tsFloating;
        LeaveDockPanel();
        if (!Horizontal()) SetPosition(TDockAlign::daTop);
        SetHeight(Height() + published_.CaptionHeight);
    } else if (!site) {
        published_.ParentStyler = false;
        ResolveStyler();
        docking_.State = TToolBarState::tsStandalone;
        LeaveDockPanel();
    }
    ArrangeControls(true);
    if (Loading()) return;
    if (docked && OnDocked) OnDocked(this, parent);
    if (Floating() && docking_.PreviousState != TToolBarState::tsFloating && OnUnDocked) OnUnDocked(this);
}

// Only a docked toolbar has a row; a row index kept from the panel it left would
// name a row of that panel that no longer holds it.
void TAdvCustomToolBar::LeaveDockPanel() {
    if (docking_.Panel) docking_.Panel->RemoveToolBar(this);
    docking_.Panel = nullptr;
    docking_.RowIndex = -1;
}

void TAdvCustomToolBar::SetParentComponent(TComponent* parent) {
    TCustomControl::SetParentComponent(parent);
}

void TAdvCustomToolBar::VisibleChanged() {
    TCustomControl::VisibleChanged();
    if (Docked() && docking_.Panel && !Designing()) docking_.Panel->ToolBarVisibilityChanged(this);
}

void TAdvCustomToolBar::Loaded() {
    TCustomControl::Loaded();
    savedCursor_ = Cursor();
    BuildPositionList();
    EachToolBarControl([this](TAdvCustomToolBarControl* c) {
        c->SetToolBarLink(this);
        c->SetPosition(Floating() ? TDockAlign::daTop : docking_.Position);
    });
    ArrangeControls(true);
    ButtonsReadStyler();
    menuBar_->Loaded();
    if (published_.AutoMDIButtons) SetAutoMDIButtons(true);
    // A panel that is still to place its toolbars loads their saved layouts with
    // its own, in one reading: the toolbar leaves its own to it.
    const bool panelLoads = Docked() && docking_.Panel && docking_.Panel->LoadsToolBarLayouts();
    if (published_.Persistence->Enabled() && !Designing() && !panelLoads && !layoutPersistence_->Loaded()) {
        // Floated by its layout, the toolbar may be freed by its OnUnDocked handler.
        auto alive = LifeToken();
        LoadToolBarLayout();
        if (alive.expired()) return;
    }
    ReopenClosedMenuBar();
}

void TAdvCustomToolBar::LoadCompleted() {
    TCustomControl::LoadCompleted();
    // Its panel's load, which ends before this, may have floated it.
    ReopenClosedMenuBar();
}

// Layouts saved while closing a floating menu bar still hid it keep it hidden at
// every start, with no menu left to show it again: it comes back as a close now
// leaves it.
void TAdvCustomToolBar::ReopenClosedMenuBar() {
    if (!Menu() || !Floating() || Visible() || Designing()) return;
    auto alive = LifeToken();
    CloseFloating();
    // No panel took it: it floats, shown, where the layout put it.
    if (!alive.expired() && !Visible()) SetVisible(true);
}

void TAdvCustomToolBar::LoadToolBarLayout() {
    layoutPersistence_->Load();
}

void TAdvCustomToolBar::SaveToolBarLayout() {
    layoutPersistence_->Save();
}

void TAdvCustomToolBar::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == published_.Images) {
        published_.Images = nullptr;
        ForgetImageIndexes();
        Invalidate();
    }
    if (component == published_.DisabledImages) {
        published_.DisabledImages = nullptr;
        Invalidate();
    }
    if (menuBar_) menuBar_->Notification(component, operation);
    if (component == published_.OptionMenu) published_.OptionMenu = nullptr;
    if (component == published_.ToolBarStyler) {
        if (HasState(csDestroying)) {
            published_.ToolBarStyler = nullptr;
            currentStyler_ = internalStyler_;
        } else {
            published_.ToolBarStyler = nullptr;
            SetToolBarStyler(nullptr);
        }
    }
    if (docking_.LastPanel && component == docking_.LastPanelRef.Get()) {
        docking_.LastPanel = nullptr;
        docking_.LastPanelRef.Reset();
    }
    if (auto* c = dynamic_cast<TControl*>(component)) {
        // The first control or the floating window to go while the whole window
        // goes saves the toolbar's layout, while all of them are still whole.
        if (HasState(csDestroying) && published_.Persistence->Enabled() && !Designing() &&
            (Contains(lists_.Position, c) || c == Parent()))
            layoutPersistence_->SaveOnDestroy();
        Remove(lists_.Position, c);
        Remove(lists_.Priority, c);
        Remove(lists_.Overflow, c);
        if (hotButton_ == c) hotButton_ = nullptr;
    }
}

// ---- Commands -------------------------------------------------------------------------------------

TPoint TAdvCustomToolBar::OptionAnchor() const {
    if (Floating()) {
        using M = TToolBarChrome;
        const int buttons = published_.ShowClose ? 2 : 1;
        TPoint p{Left() + Width() - buttons * M::FloatingAnchorInset,
                 Top() + published_.CaptionHeight - M::FloatingAnchorRaise};
        return ClientToScreen(p);
    }
    TPoint p{Left() + Width() - TToolBarChrome::OptionAnchorInset,
             Top() + Height() + TToolBarChrome::OptionAnchorDrop};
    return Parent() ? Parent()->ClientToScreen(p) : p;
}

void TAdvCustomToolBar::DoOptionClick() {
    if (!Parent()) return;
    TPoint anchor = OptionAnchor();
    auto alive = LifeToken();
    if (OnOptionClick || published_.OptionMenu) {
        if (OnOptionClick) OnOptionClick(this, anchor, anchor);
        if (alive.expired()) return;
    }
    OpenOptionWindow(anchor);
    if (alive.expired()) return;
    parts_.Forget(TToolBarPart::RightHandle);
    InvalidateRightHandle();
}

void TAdvCustomToolBar::CloseFloating() {
    if (!Floating()) return;
    TToolBarFloatingSite* site = FloatingSite();
    // A hidden menu bar takes every menu of the window with it, and Alt, F10 and the
    // dock panels offer no way back: closing one docks it back instead, and when
    // there is no panel to take it, it stays where it is.
    const bool menuBar = Menu() != nullptr;
    if ((published_.AutoDockOnClose || menuBar) && docking_.LastPanel && docking_.LastPanelRef) {
        auto alive = LifeToken();
        TToolBarDockSite* panel = docking_.LastPanel;
        auto* window = dynamic_cast<TWinControl*>(site);
        SetParent(dynamic_cast<TWinControl*>(panel));
        if (alive.expired()) return;
        if (docking_.Panel == panel) {
            if (site) site->Release();
            return;
        }
        // A panel without a free row refuses it: it closes as if it could not dock.
        SetParent(window);
        if (alive.expired()) return;
    }
    if (menuBar) return;
    if (site) site->HideWindow();
    SetVisible(false);
    if (OnClose) OnClose(this);
}

void TAdvCustomToolBar::HotChanged(TAdvCustomToolBarButton* button) {
    if (!button) {
        hotButton_ = nullptr;
        return;
    }
    if (button->Hot()) {
        if (hotButton_ && hotButton_ != button) {
            TAdvCustomToolBarButton* old = hotButton_;
            hotButton_ = button;
            old->SetHot(false);
        }
        hotButton_ = button;
    } else if (hotButton_ == button) {
        hotButton_ = nullptr;
    }
}

bool TAdvCustomToolBar::TrackMenu(TAdvCustomToolBarButton* button) {
    return menuBar_->TrackMenu(button);
}

} // namespace emr
