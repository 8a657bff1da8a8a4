// Pointer handling, hot tracking, groups, menus and loading of toolbar buttons.

#include <memory>

#include "framework/controls/AccessibleChanges.h"
#include "framework/controls/Mouse.h"
#include "framework/controls/WinControl.h"
#include "framework/forms/ActnList.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/Timer.h"
#include "framework/graphics/ImageList.h"
#include "menus/AdvPopupMenu.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/AdvCustomToolBarButton.h"
#include "toolbar/AdvToolBarButtonActionLink.h"

namespace emr {

namespace {

bool InsideClient(const TControl* c, int x, int y) {
    return x >= 0 && x < c->ClientWidth() && y >= 0 && y <= c->ClientHeight();
}

} // namespace

void TAdvCustomToolBarButton::SetHot(bool value) {
    bool old = hot_;
    hot_ = value && state_ == TToolButtonState::tbsUp;
    if (TAdvCustomToolBar* tb = ToolBar())
        tb->HotChanged(this);
    else
        hot_ = false;
    if (old != hot_) Invalidate();
}

void TAdvCustomToolBarButton::ResetButtonState() {
    mousePressed_ = false;
    mouseInControl_ = false;
    state_ = TToolButtonState::tbsUp;
    Invalidate();
}

void TAdvCustomToolBarButton::OpenButtonMenu() {
    if (!IsMenuButton()) return;
    state_ = TToolButtonState::tbsDropped;
    Invalidate();
    TAdvCustomToolBar* tb = ToolBar();
    bool hasMenu = menuItem_ || (dropDownMenu_ && dropDownMenu_->AutoPopup());
    if (!Designing() && hasMenu && tb) tb->TrackMenu(this);
}

void TAdvCustomToolBarButton::LinkMenuItem(TMenuItem* item) {
    if (item && item != menuItem_) {
        item->FreeNotification(this);
        SetAction(item->Action());
        SetCaption(item->Caption());
        SetDown(item->Checked());
        SetEnabled(item->Enabled());
        SetHint(item->Hint());
        SetImageIndex(item->ImageIndex());
        SetVisible(item->Visible());
    }
    if (menuItem_ && menuItem_ != item) menuItem_->RemoveFreeNotification(this);
    menuItem_ = item;
}

int TAdvCustomToolBarButton::PositionInToolBar() const {
    TAdvCustomToolBar* tb = ToolBar();
    if (!tb) return -1;
    const auto& list = tb->PositionList();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == this) return static_cast<int>(i);
    return -1;
}

// ---- Hot tracking -------------------------------------------------------------------------

void TAdvCustomToolBarButton::MouseEnter() {
    if (Designing()) return;
    mouseInControl_ = true;
    if (Enabled()) {
        if (ToolBar()) SetHot(true);
        Invalidate();
    }
    leaveTimer_->SetEnabled(true);
    TAdvCustomToolBarControl::MouseEnter();
}

void TAdvCustomToolBarButton::MouseLeave() {
    if (Designing()) return;
    leaveTimer_->SetEnabled(false);
    mouseInControl_ = false;
    SetHot(false);
    if (Enabled()) Invalidate();
    TAdvCustomToolBarControl::MouseLeave();
}

void TAdvCustomToolBarButton::LeaveTimerTick() {
    TPoint p = ScreenToClient(TMouse::Instance().CursorPos());
    bool inside = ClientRect().Contains(p);
    if (inside && IsMenuButton() && dropDownButton_ && menuShown_ && (dropDownMenu_ || menuItem_))
        inside = false;
    if (inside) return;
    leaveTimer_->SetEnabled(false);
    mouseInControl_ = false;
    SetHot(false);
    if (Enabled()) Invalidate();
}

/// Catches an enter or leave that the pointer notifications missed.
void TAdvCustomToolBarButton::ReCheckTracking() {
    if (!flat_ || !Enabled()) return;
    TMouse& mouse = TMouse::Instance();
    TControl* under = nullptr;
    if (mouse.FindControlAt)
        under = mouse.FindControlAt(mouse.CursorPos());
    else if (ClientRect().Contains(ScreenToClient(mouse.CursorPos())))
        under = this;
    mouseInControl_ = under != this;
    if (mouseInControl_)
        MouseLeave();
    else
        MouseEnter();
}

// ---- Presses ------------------------------------------------------------------------------

void TAdvCustomToolBarButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TAdvCustomToolBarControl::MouseDown(button, shift, x, y);
    if (alive.expired() || button != mbLeft || !Enabled() || Designing()) return;

    mousePressed_ = true;
    bool dropDownHit = Rotated() ? y > Height() - 14 : x > Width() - 14;
    TAdvCustomToolBar* tb = ToolBar();

    if (IsMenuButton() && !dropDownButton_ && (dropDownMenu_ || menuItem_)) {
        Invalidate();
        // The press that closed this button's own menu must not open it again;
        // a press the menu tracking made on purpose always opens.
        const bool sideways = tb && tb->MenuSideways();
        if ((!sideways && !menuBeingClosed_ && !menuDisplayed_) || internalClick_) {
            internalClick_ = false;
            OpenButtonMenu();
        } else if (menuBeingClosed_) {
            menuBeingClosed_ = false;
        }
        return;
    }

    if (!dropDownButton_ || (dropDownSplit_ && !dropDownHit)) {
        if (!down_) {
            state_ = TToolButtonState::tbsDown;
            Invalidate();
        }
        if (style_ == TAdvToolButtonStyle::tasCheck) {
            state_ = TToolButtonState::tbsDown;
            Repaint();
        }
        dragging_ = true;
        return;
    }

    // A press on the drop-down part: the menu opens now and no click follows.
    mouseInControl_ = false;
    mousePressed_ = false;
    ShowDropDownMenu();
}

void TAdvCustomToolBarButton::ShowDropDownMenu() {
    auto alive = LifeToken();
    TAdvCustomToolBar* tb = ToolBar();
    state_ = TToolButtonState::tbsUp;
    Invalidate();
    if (OnDropDown) {
        OnDropDown(this);
        if (alive.expired()) return;
    }
    if (dropDownMenu_) {
        if (style_ == TAdvToolButtonStyle::tasButton) down_ = false;
        menuShown_ = true;
        Repaint();
        TPoint anchor = Parent() ? Parent()->ClientToScreen({Left(), Top() + Height()}) : TPoint{};
        if (tb && tb->CurrentStyler()) dropDownMenu_->SetMenuStyler(tb->CurrentStyler()->CurrentMenuStyler());
        // The popup tracks the pointer itself; the button's press is over.
        ReleaseCapture();
        dropDownMenu_->Popup(anchor.X, anchor.Y);
        if (alive.expired()) return;
        menuShown_ = false;
        Repaint();
    }
    Invalidate();
}

bool TAdvCustomToolBarButton::OpenMenuByKeyboard() {
    if (!Enabled() || Designing()) return false;
    if (IsMenuButton() && !dropDownButton_ && (dropDownMenu_ || menuItem_)) {
        OpenButtonMenu();
        return true;
    }
    if (!dropDownButton_ || (!dropDownMenu_ && !OnDropDown)) return false;
    ShowDropDownMenu();
    return true;
}

void TAdvCustomToolBarButton::PressByKeyboard() {
    if (!Enabled() || Designing()) return;
    const bool menuOnly = (IsMenuButton() && !dropDownButton_) || (dropDownButton_ && !dropDownSplit_);
    if (menuOnly && OpenMenuByKeyboard()) return;
    if (groupIndex_ != 0 || style_ == TAdvToolButtonStyle::tasCheck) SetDown(!down_);
    state_ = TToolButtonState::tbsUp;
    Invalidate();
    Click();
}

void TAdvCustomToolBarButton::MouseMove(TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TAdvCustomToolBarControl::MouseMove(shift, x, y);
    if (alive.expired() || Designing()) return;
    if (dragging_) {
        TToolButtonState next = down_ ? TToolButtonState::tbsExclusive : TToolButtonState::tbsUp;
        if (InsideClient(this, x, y))
            next = down_ ? TToolButtonState::tbsExclusive : TToolButtonState::tbsDown;
        if (style_ == TAdvToolButtonStyle::tasCheck && down_) next = TToolButtonState::tbsDown;
        if (next != state_) {
            state_ = next;
            Invalidate();
        }
    } else if (!mouseInControl_) {
        ReCheckTracking();
    }
}

void TAdvCustomToolBarButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TAdvCustomToolBarControl::MouseUp(button, shift, x, y);
    if (alive.expired()) return;
    menuBeingClosed_ = false;
    menuDisplayed_ = false;
    if (Designing()) return;
    mousePressed_ = false;
    Invalidate();
    if ((IsMenuButton() && !dropDownButton_ && (dropDownMenu_ || menuItem_)) || !dragging_) return;
    dragging_ = false;
    bool inside = InsideClient(this, x, y);
    if (groupIndex_ != 0) {
        if (inside) {
            SetDown(!down_);
            if (down_) Repaint();
        } else {
            if (down_) state_ = TToolButtonState::tbsExclusive;
            Repaint();
        }
    } else {
        state_ = TToolButtonState::tbsUp;
        mouseInControl_ = false;
        if (style_ == TAdvToolButtonStyle::tasCheck && inside) {
            SetDown(!down_);
            state_ = TToolButtonState::tbsUp;
        }
        if (inside) Invalidate();
    }
    if (inside) {
        Click();
        if (alive.expired()) return;
    }
    ReCheckTracking();
}

void TAdvCustomToolBarButton::Click() {
    auto alive = LifeToken();
    if (TAdvCustomToolBar* tb = ToolBar(); tb && tb->OptionWindowVisible()) tb->CloseOptionWindow();
    if (OnClick)
        OnClick(this);
    else if (actionLink_ && actionLink_->Action() && !Designing())
        actionLink_->Execute(this);
    if (alive.expired()) return;
    if (TAdvCustomToolBar* tb = ToolBar()) {
        tb->ControlUsed(this);
        tb->ArrangeControls(false);
        tb->UpdateOverflow();
    }
}

// ---- Groups -------------------------------------------------------------------------------

void TAdvCustomToolBarButton::NotifyGroup() {
    if (groupIndex_ == 0 || !Parent()) return;
    auto sendTo = [this](TWinControl* container) {
        std::vector<TControl*> children = container->ControlList();
        for (TControl* child : children)
            child->Perform(CM_BUTTONPRESSED, groupIndex_,
                           reinterpret_cast<std::intptr_t>(static_cast<TControl*>(this)));
    };
    sendTo(Parent());
    if (TAdvCustomToolBar* tb = ToolBar()) {
        if (!dynamic_cast<TAdvCustomToolBar*>(Parent()))
            sendTo(tb);
        else if (Parent() == tb && tb->OptionControlPanel())
            sendTo(tb->OptionControlPanel());
    }
}

void TAdvCustomToolBarButton::WndProc(TMessage& message) {
    if (message.Msg == CM_BUTTONPRESSED) {
        auto* sender = dynamic_cast<TAdvCustomToolBarButton*>(reinterpret_cast<TControl*>(message.LParam));
        if (message.WParam == groupIndex_ && sender && sender != this) {
            if (sender->Down() && down_) {
                down_ = false;
                state_ = TToolButtonState::tbsUp;
                if (auto* action = dynamic_cast<TCustomAction*>(Action())) action->SetChecked(false);
                Invalidate();
                TAccessibleChanges::Report(platform::TAccessibleEvent::StateChanged, this);
            }
            allowAllUp_ = sender->AllowAllUp();
        }
        message.Result = 0;
        return;
    }
    TAdvCustomToolBarControl::WndProc(message);
}

// ---- Notifications and loading ------------------------------------------------------------

void TAdvCustomToolBarButton::TextChanged() {
    UpdateControlSize();
    Invalidate();
}

void TAdvCustomToolBarButton::EnabledChanged() {
    Invalidate();
}

void TAdvCustomToolBarButton::FontChanged() {
    TAdvCustomToolBarControl::FontChanged();
    UpdateControlSize();
    Invalidate();
}

void TAdvCustomToolBarButton::Loaded() {
    TAdvCustomToolBarControl::Loaded();
    if (initialDown_ != down_) SetDown(initialDown_);
    if (shaded_) BuildShade();
    UpdateControlSize();
}

void TAdvCustomToolBarButton::Notification(TComponent* component, TOperation operation) {
    TAdvCustomToolBarControl::Notification(component, operation);
    if (operation != TOperation::opRemove || HasState(csDestroying)) return;
    if (component == dropDownMenu_) dropDownMenu_ = nullptr;
    if (component == menuItem_) LinkMenuItem(nullptr);
    if (actionLink_ && component == actionLink_->Action()) actionLink_.reset();
    if (TAdvCustomToolBar* tb = ToolBar(); tb && component == tb->Images()) SetImageIndex(-1);
}

} // namespace emr
