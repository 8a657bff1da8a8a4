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

    captionFont_ = std::make_unique<TFont>();
    captionFont_->OnChange = [this](TObject*) { Invalidate(); };
    Constraints()->SetMaxWidth(MinLength);
    SetShowHint(true);

    optionPicture_ = std::make_unique<TPicture>();
    optionPicture_->OnChange = [this](TObject*) { Invalidate(); };
    optionDisabledPicture_ = std::make_unique<TPicture>();
    optionDisabledPicture_->OnChange = [this](TObject*) { Invalidate(); };
    compactPicture_ = std::make_unique<TPicture>();
    officeHint_ = std::make_unique<TAdvHintInfo>();
    persistence_ = std::make_unique<TPersistence>();
    persistence_->SetSection("UnDockedAdvToolBars");
    layoutPersistence_ = std::make_unique<TToolBarLayoutPersistence>(this);
    overflow_ = std::make_unique<TToolBarOverflow>(*this, positionList_, priorityList_, overflowList_);
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
    if (persistence_->Enabled() && !Designing()) layoutPersistence_->SaveOnDestroy();
    // A freed toolbar leaves the rows of its panel while both are whole.
    if (dockPanel_ && lastDockPanelRef_.Get()) {
        TToolBarDockSite* panel = dockPanel_;
        dockPanel_ = nullptr;
        panel->RemoveToolBar(this);
    }
    Destroying();
    menuBar_->Release();
    if (toolBarStyler_) toolBarStyler_->RemoveControl(this);
    toolBarStyler_ = nullptr;
    currentStyler_ = internalStyler_;
    for (TControl* c : positionList_)
        if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(c)) tc->SetToolBarLink(nullptr);
    positionList_.clear();
    priorityList_.clear();
    overflowList_.clear();
    hotButton_ = nullptr;
    TCustomControl::BeforeDestruction();
}

// ---- Simple properties ----------------------------------------------------------------------

void TAdvCustomToolBar::SetAllowFloating(bool value) {
    if (!value && Floating()) return;
    allowFloating_ = value;
}

void TAdvCustomToolBar::SetAntiAlias(TAntiAlias value) {
    antiAlias_ = value;
    Invalidate();
}

void TAdvCustomToolBar::SetAutoArrangeButtons(bool value) {
    autoArrangeButtons_ = value;
    if (!value && !Loading()) priorityList_ = positionList_;
}

void TAdvCustomToolBar::SetLocked(bool value) {
    if (value && Floating()) return;
    locked_ = value;
}

void TAdvCustomToolBar::SetCaption(const std::string& value) {
    if (caption_ == value) return;
    caption_ = value;
    Invalidate();
    SetText(value);
}

void TAdvCustomToolBar::SetCaptionFont(const TFont* value) {
    captionFont_->Assign(value);
    Invalidate();
}

void TAdvCustomToolBar::SetCaptionHeight(int value) {
    if (captionHeight_ == value) return;
    captionHeight_ = value;
    if (showCaption_) {
        ArrangeControls(false);
        Invalidate();
    }
}

void TAdvCustomToolBar::SetCaptionPosition(TCaptionPosition value) {
    if (captionPosition_ == value) return;
    captionPosition_ = value;
    if (showCaption_) {
        ArrangeControls(false);
        Invalidate();
    }
}

void TAdvCustomToolBar::SetCaptionAlignment(TAlignment value) {
    if (captionAlignment_ == value) return;
    captionAlignment_ = value;
    Invalidate();
}

void TAdvCustomToolBar::SetShowCaption(bool value) {
    if (showCaption_ == value) return;
    showCaption_ = value;
    ArrangeControls(true);
    Invalidate();
}

void TAdvCustomToolBar::SetShowRightHandle(bool value) {
    if (showRightHandle_ == value) return;
    showRightHandle_ = value;
    ArrangeControls(true);
    if (Docked() && dockPanel_) dockPanel_->ArrangeRows();
    Invalidate();
}

void TAdvCustomToolBar::SetShowOptionIndicator(bool value) {
    if (showOptionIndicator_ == value) return;
    showOptionIndicator_ = value;
    Invalidate();
}

void TAdvCustomToolBar::SetAutoSize(bool value) {
    if (autoSize_ == value) return;
    if (!value && !Standalone()) return;
    autoSize_ = value;
    ArrangeControls(true);
    if (!value) {
        Constraints()->SetMinWidth(0);
        Constraints()->SetMaxWidth(0);
        Constraints()->SetMinHeight(0);
        Constraints()->SetMaxHeight(0);
    }
}

void TAdvCustomToolBar::SetAutoPositionControls(bool value) {
    if (autoPositionControls_ == value) return;
    if (!value && !Standalone()) return;
    autoPositionControls_ = value;
    if (value)
        ArrangeControls(true);
    else
        SetAutoSize(false);
}

void TAdvCustomToolBar::SetAutoMDIButtons(bool value) {
    // A stored value is checked once everything it depends on is loaded.
    if (Loading() || Designing()) {
        autoMDIButtons_ = value;
        return;
    }
    autoMDIButtons_ = value && fullSize_ && Menu() && dynamic_cast<TCustomForm*>(TopLevel());
    Invalidate();
}

void TAdvCustomToolBar::SetFullSize(bool value) {
    if (fullSize_ == value) return;
    fullSize_ = value;
    if (!Docked() || !dockPanel_) return;
    if (value) {
        SetParentStyler(true);
        dockPanel_->GiveFullRow(this);
        UpdateOverflow();
        ArrangeControls(false);
    } else {
        UpdateSize();
    }
}

void TAdvCustomToolBar::SetImages(TCustomImageList* value) {
    if (images_ == value) return;
    TCustomImageList* old = images_;
    if (old) old->RemoveFreeNotification(this);
    images_ = value;
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
        if (Floating()) dockedThickness_ += delta;
    }
    {
        TFlagGuard guard(arranging_, true);
        EachToolBarControl([](TAdvCustomToolBarControl* c) { c->UpdateControlSize(); });
    }
    ArrangeControls(true);
    EachToolBarControl([](TAdvCustomToolBarControl* c) {
        if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(c); b && b->Shaded()) b->BuildShade();
    });
    if (Floating()) {
        dockedThickness_ = FloatingThickness();
        ArrangeControls(true);
    }
    Invalidate();
}

void TAdvCustomToolBar::SetDisabledImages(TCustomImageList* value) {
    if (disabledImages_ == value) return;
    if (disabledImages_) disabledImages_->RemoveFreeNotification(this);
    disabledImages_ = value;
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
    if (optionMenu_ == value) return;
    if (optionMenu_) optionMenu_->RemoveFreeNotification(this);
    optionMenu_ = value;
    if (value) value->FreeNotification(this);
}

void TAdvCustomToolBar::SetFloatingRows(int value) {
    if (value < 1 || value > MaxFloatingRows() || value == floatingRows_) return;
    floatingRows_ = value;
    if (!Loading()) {
        ArrangeControls(true);
        if (TToolBarFloatingSite* site = FloatingSite()) site->FitToToolBar();
    }
}

// ---- Styler attachment ----------------------------------------------------------------------

void TAdvCustomToolBar::SetToolBarStyler(TCustomAdvToolBarStyler* value) {
    if (value && value == toolBarStyler_) return;
    if (toolBarStyler_) {
        toolBarStyler_->RemoveControl(this);
        toolBarStyler_->RemoveFreeNotification(this);
    }
    toolBarStyler_ = value;
    if (parentStyler_ && lastDockPanel_ && lastDockPanelRef_) {
        TCustomAdvToolBarStyler* panelStyler = lastDockPanel_->DockStyler();
        if (panelStyler && !panelStyler->HasState(csDestroying)) toolBarStyler_ = panelStyler;
    }
    if (toolBarStyler_) {
        currentStyler_ = toolBarStyler_;
        toolBarStyler_->AddControl(this);
        toolBarStyler_->FreeNotification(this);
    } else {
        currentStyler_ = internalStyler_;
    }
    if (Parent()) ButtonsReadStyler();
    Invalidate();
}

void TAdvCustomToolBar::SetParentStyler(bool value) {
    bool was = parentStyler_;
    parentStyler_ = value;
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
    return Contains(overflowList_, control);
}

int TAdvCustomToolBar::InsertionIndex(TControl* control) const {
    bool horizontal = Horizontal() || Floating();
    auto self = std::find(positionList_.begin(), positionList_.end(), control);
    if (self != positionList_.end() && positionList_.size() <= 1)
        return static_cast<int>(self - positionList_.begin());
    if (control->Left() == 0 || control->Top() == 0) return static_cast<int>(positionList_.size());
    int start = StartOf(control, horizontal);
    for (std::size_t i = 0; i < positionList_.size(); ++i) {
        if (positionList_[i] == control) continue;
        if (StartOf(positionList_[i], horizontal) >= start) return static_cast<int>(i);
    }
    return static_cast<int>(positionList_.size());
}

void TAdvCustomToolBar::RegisterControl(TAdvCustomToolBarControl* control) {
    control->SetToolBarLink(this);
    control->SetPosition(Floating() ? TDockAlign::daTop : position_);
    if (!Loading() && !Designing()) control->UpdateControlSize();
    if (control->Parent() == this && !Contains(positionList_, control) && !Loading()) {
        int index = InsertionIndex(control);
        positionList_.insert(positionList_.begin() + std::min<std::size_t>(index, positionList_.size()),
                             control);
        if (!Contains(priorityList_, control)) priorityList_.push_back(control);
        ArrangeControls(true);
    }
}

void TAdvCustomToolBar::UnregisterControl(TAdvCustomToolBarControl* control) {
    Remove(positionList_, control);
    Remove(priorityList_, control);
    Remove(overflowList_, control);
    if (control->ToolBar() == this) control->SetToolBarLink(nullptr);
    if (hotButton_ == control) hotButton_ = nullptr;
    if (!HasState(csDestroying)) ArrangeControls(true);
}

void TAdvCustomToolBar::ControlChange(TControl* control, bool inserting) {
    TCustomControl::ControlChange(control, inserting);
    if (reparenting_ || HasState(csDestroying)) return;
    if (inserting) {
        if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(control)) {
            tc->SetToolBarLink(this);
            tc->SetPosition(Floating() ? TDockAlign::daTop : position_);
            if (!Loading() && !Designing()) tc->UpdateControlSize();
        }
        if (Loading()) return;
        int index = InsertionIndex(control);
        Remove(positionList_, control);
        positionList_.insert(positionList_.begin() + std::min<std::size_t>(index, positionList_.size()),
                             control);
        if (!Contains(priorityList_, control)) priorityList_.push_back(control);
        ArrangeControls(true);
    } else {
        Remove(positionList_, control);
        Remove(priorityList_, control);
        Remove(overflowList_, control);
        if (auto* tc = dynamic_cast<TAdvCustomToolBarControl*>(control); tc && tc->ToolBar() == this)
            tc->SetToolBarLink(nullptr);
        if (hotButton_ == control) hotButton_ = nullptr;
        ArrangeControls(true);
    }
}

void TAdvCustomToolBar::BuildPositionList() {
    bool horizontal = Horizontal() || Floating();
    positionList_.clear();
    for (TControl* c : ControlList()) {
        auto at = positionList_.end();
        for (auto it = positionList_.end(); it != positionList_.begin();) {
            --it;
            if (StartOf(*it, horizontal) <= StartOf(c, horizontal)) {
                at = it + 1;
                break;
            }
            at = it;
        }
        positionList_.insert(at, c);
    }
    priorityList_ = positionList_;
}

void TAdvCustomToolBar::AlignControls(TControl* control, TRect& rect) {
    (void)rect;
    // Moves between the toolbar and the option window are not the child's own changes.
    if (reparenting_) return;
    ControlBoundsChanged(control);
}

void TAdvCustomToolBar::ControlBoundsChanged(TControl* control) {
    if (!control || arranging_ || control->Parent() != this || HasState(csDestroying)) return;
    ChildBoundsChanged(control);
}

void TAdvCustomToolBar::ChildBoundsChanged(TControl* control) {
    if (Loading() || Designing()) {
        int index = InsertionIndex(control);
        Remove(positionList_, control);
        positionList_.insert(positionList_.begin() + std::min<std::size_t>(index, positionList_.size()),
                             control);
    }
    if (Loading()) return;
    {
        TFlagGuard guard(shrinkFollowsControl_, Docked() && !Designing());
        ArrangeControls(true);
        UpdateOverflow();
    }
    if (Docked() && dockPanel_ && !dockPanel_->MovingToolBar(this) && rowIndex_ >= 0)
        dockPanel_->ArrangeRow(rowIndex_);
    optionWindow_->ChildChanged();
}

// ---- Bounds and parent changes ------------------------------------------------------------------

void TAdvCustomToolBar::SetBounds(int left, int top, int width, int height) {
    int oldLength = Length();
    if (Docked() && dockPanel_ && !suppressBoundsAdjustment_)
        dockPanel_->AdjustToolBarBounds(this, left, top, width, height);
    TCustomControl::SetBounds(left, top, width, height);
    if (Docked() && dockPanel_ && !Loading() && Length() != oldLength) UpdateOverflow();
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
    previousState_ = state_;
    auto* site = dynamic_cast<TToolBarDockSite*>(parent);
    bool docked = false;
    if (site && site != dockPanel_) {
        if (dockPanel_) dockPanel_->RemoveToolBar(this);
        dockPanel_ = nullptr;
        if (previousState_ == TToolBarState::tsFloating && Horizontal()) {
            Constraints()->SetMinHeight(0);
            Constraints()->SetMaxHeight(0);
            SetHeight(dockedThickness_);
        }
        state_ = TToolBarState::tsDocked;
        if (site->AddToolBar(this) < 0) {
            state_ = previousState_;
        } else {
            dockPanel_ = site;
            lastDockPanel_ = site;
            lastDockPanelRef_.Reset(dynamic_cast<TComponent*>(site));
            SetToolBarStyler(toolBarStyler_);
            docked = true;
        }
    } else if (dynamic_cast<TToolBarFloatingSite*>(parent)) {
        state_ = TToolBarState::tsFloating;
        LeaveDockPanel();
        if (!Horizontal()) SetPosition(TDockAlign::daTop);
        SetHeight(Height() + captionHeight_);
    } else if (!site) {
        parentStyler_ = false;
        ResolveStyler();
        state_ = TToolBarState::tsStandalone;
        LeaveDockPanel();
    }
    ArrangeControls(true);
    if (Loading()) return;
    if (docked && OnDocked) OnDocked(this, parent);
    if (Floating() && previousState_ != TToolBarState::tsFloating && OnUnDocked) OnUnDocked(this);
}

// Only a docked toolbar has a row; a row index kept from the panel it left would
// name a row of that panel that no longer holds it.
void TAdvCustomToolBar::LeaveDockPanel() {
    if (dockPanel_) dockPanel_->RemoveToolBar(this);
    dockPanel_ = nullptr;
    rowIndex_ = -1;
}

void TAdvCustomToolBar::SetParentComponent(TComponent* parent) {
    TCustomControl::SetParentComponent(parent);
}

void TAdvCustomToolBar::VisibleChanged() {
    TCustomControl::VisibleChanged();
    if (Docked() && dockPanel_ && !Designing()) dockPanel_->ToolBarVisibilityChanged(this);
}

void TAdvCustomToolBar::Loaded() {
    TCustomControl::Loaded();
    savedCursor_ = Cursor();
    BuildPositionList();
    EachToolBarControl([this](TAdvCustomToolBarControl* c) {
        c->SetToolBarLink(this);
        c->SetPosition(Floating() ? TDockAlign::daTop : position_);
    });
    ArrangeControls(true);
    ButtonsReadStyler();
    menuBar_->Loaded();
    if (autoMDIButtons_) SetAutoMDIButtons(true);
    // The dock panel's own load, which runs first, may have loaded it already.
    if (persistence_->Enabled() && !Designing() && !layoutPersistence_->Loaded()) LoadToolBarLayout();
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
    if (component == images_) {
        images_ = nullptr;
        Invalidate();
    }
    if (component == disabledImages_) {
        disabledImages_ = nullptr;
        Invalidate();
    }
    if (menuBar_) menuBar_->Notification(component, operation);
    if (component == optionMenu_) optionMenu_ = nullptr;
    if (component == toolBarStyler_) {
        if (HasState(csDestroying)) {
            toolBarStyler_ = nullptr;
            currentStyler_ = internalStyler_;
        } else {
            toolBarStyler_ = nullptr;
            SetToolBarStyler(nullptr);
        }
    }
    if (lastDockPanel_ && component == lastDockPanelRef_.Get()) {
        lastDockPanel_ = nullptr;
        lastDockPanelRef_.Reset();
    }
    if (auto* c = dynamic_cast<TControl*>(component)) {
        // The first control or the floating window to go while the whole window
        // goes saves the toolbar's layout, while all of them are still whole.
        if (HasState(csDestroying) && persistence_->Enabled() && !Designing() &&
            (Contains(positionList_, c) || c == Parent()))
            layoutPersistence_->SaveOnDestroy();
        Remove(positionList_, c);
        Remove(priorityList_, c);
        Remove(overflowList_, c);
        if (hotButton_ == c) hotButton_ = nullptr;
    }
}

// ---- Commands -------------------------------------------------------------------------------------

TPoint TAdvCustomToolBar::OptionAnchor() const {
    if (Floating()) {
        using M = TToolBarChrome;
        const int buttons = showClose_ ? 2 : 1;
        TPoint p{Left() + Width() - buttons * M::FloatingAnchorInset,
                 Top() + captionHeight_ - M::FloatingAnchorRaise};
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
    if (OnOptionClick || optionMenu_) {
        if (OnOptionClick) OnOptionClick(this, anchor, anchor);
        if (alive.expired()) return;
    }
    OpenOptionWindow(anchor);
    if (alive.expired()) return;
    if (hotPart_ == TToolBarPart::RightHandle) hotPart_ = TToolBarPart::None;
    if (downPart_ == TToolBarPart::RightHandle) downPart_ = TToolBarPart::None;
    InvalidateRightHandle();
}

void TAdvCustomToolBar::CloseFloating() {
    if (!Floating()) return;
    TToolBarFloatingSite* site = FloatingSite();
    // A hidden menu bar takes every menu of the window with it, and Alt, F10 and the
    // dock panels offer no way back: closing one docks it back instead, and when
    // there is no panel to take it, it stays where it is.
    const bool menuBar = Menu() != nullptr;
    if ((autoDockOnClose_ || menuBar) && lastDockPanel_ && lastDockPanelRef_) {
        auto alive = LifeToken();
        TToolBarDockSite* panel = lastDockPanel_;
        auto* window = dynamic_cast<TWinControl*>(site);
        SetParent(dynamic_cast<TWinControl*>(panel));
        if (alive.expired()) return;
        if (dockPanel_ == panel) {
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
