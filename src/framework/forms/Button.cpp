#include "framework/forms/Button.h"

#include "framework/forms/Frame3D.h"
#include "framework/forms/Hotkey.h"
#include "framework/graphics/Canvas.h"

namespace emr {

namespace {

/// How far inside the button's edge its focus rectangle runs.
constexpr int kFocusInset = 4;

TCustomForm* FormOf(TControl* control) {
    for (TControl* c = control; c; c = c->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
    return nullptr;
}

} // namespace

TButton::TButton(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks | csOpaque);
    SetColor(clBtnFace);
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::BeforeDestruction() {
    SetAction(nullptr);
    TCustomControl::BeforeDestruction();
}

void TButton::SetDefault(bool value) {
    if (value == default_) return;
    default_ = value;
    Invalidate();
}

void TButton::SetDown(bool value) {
    if (value == down_) return;
    down_ = value;
    Invalidate();
}

void TButton::SetAction(TBasicAction* action) {
    if (action == Action()) return;
    if (TBasicAction* old = Action()) RemoveFreeNotification(old);
    if (!action) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) {
        actionLink_ = std::make_unique<TControlActionLink>(this);
        actionLink_->OnActionChange = [this](TBasicAction* a, bool checkDefaults) {
            ActionChange(a, checkDefaults);
        };
    }
    actionLink_->SetAction(action);
    FreeNotification(action);
    ActionChange(action, HasState(csLoading));
}

void TButton::ActionChange(TBasicAction* sender, bool checkDefaults) {
    ApplyActionToControl(this, sender, checkDefaults);
}

void TButton::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && actionLink_ && component == actionLink_->Action())
        actionLink_.reset();
}

void TButton::DescribeAccessible(platform::TAccessibleNode& node) const {
    node.Role = platform::TAccessibleRole::PushButton;
    if (default_) node.States |= platform::asDefault;
    if (down_) node.States |= platform::asPressed;
    node.Actions = {platform::kClickAction};
}

bool TButton::DoAccessibleAction(TComponent* part, int index) {
    if (part || index != 0 || !Enabled()) return false;
    Click();
    return true;
}

void TButton::Click() {
    if (!Enabled()) return;
    TComponentRef<TButton> self(this);
    if (TCustomForm* form = FormOf(this); form && modalResult_ != mrNone) form->SetModalResult(modalResult_);
    if (OnClick)
        OnClick(this);
    else if (actionLink_)
        actionLink_->Execute(this);
}

void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled()) {
        if (CanFocus() && !Focused()) SetFocus();
        tracking_ = true;
        SetDown(true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
    if (tracking_) SetDown(ClientRect().Contains({x, y}));
    TCustomControl::MouseMove(shift, x, y);
}

void TButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        tracking_ = false;
        SetDown(false);
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TButton::KeyDown(int& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    // A focused push button stands in for the default one, so Enter answers with
    // the button the user moved to.
    if (key == platform::VK_RETURN && !(shift & (ssCtrl | ssAlt))) {
        key = 0;
        Click();
        return;
    }
    if (key == platform::VK_SPACE && !spaceDown_) {
        spaceDown_ = true;
        SetDown(true);
        key = 0;
    }
}

void TButton::KeyUp(int& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    if (key == platform::VK_SPACE && spaceDown_) {
        spaceDown_ = false;
        SetDown(false);
        key = 0;
        Click();
    }
}

void TButton::KeyPress(char32_t& key) {
    TCustomControl::KeyPress(key);
    // A button takes no typing: a letter is an accelerator of some control on the
    // window, as in a dialog, with or without Alt.
    if (key == 0 || key < U' ') return;
    TWinControl* top = TopLevel();
    if (top && top->Perform(CM_DIALOGCHAR, static_cast<std::intptr_t>(key), 0)) key = 0;
}

void TButton::DoEnter() {
    TCustomControl::DoEnter();
    Invalidate();
}

void TButton::DoExit() {
    TCustomControl::DoExit();
    spaceDown_ = false;
    if (!tracking_) SetDown(false);
    Invalidate();
}

void TButton::TextChanged() {
    TCustomControl::TextChanged();
    Invalidate();
}

void TButton::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGKEY && Enabled() && Showing()) {
        const auto key = static_cast<int>(message.WParam);
        if ((key == platform::VK_RETURN && default_) || (key == platform::VK_ESCAPE && cancel_)) {
            message.Result = 1;
            Click();
            return;
        }
    }
    if (message.Msg == CM_DIALOGCHAR && Enabled() && Showing() &&
        IsAccel(static_cast<char32_t>(message.WParam), Caption())) {
        message.Result = 1;
        if (CanFocus()) SetFocus();
        Click();
        return;
    }
    TCustomControl::WndProc(message);
}

void TButton::Paint() {
    TCanvas& canvas = *Canvas();
    TRect rect = ClientRect();
    const bool focused = Focused();
    // The default button (or a focused one) carries a dark outline.
    if (default_ || focused) Frame3D(canvas, rect, cl3DDkShadow, cl3DDkShadow, 1);
    if (down_) {
        Frame3D(canvas, rect, clBtnShadow, clBtnShadow, 1);
    } else {
        Frame3D(canvas, rect, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(canvas, rect, cl3DLight, clBtnShadow, 1);
    }
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(rect);

    canvas.SetFont(Font());
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    TRect text = ClientRect();
    if (down_) text = text.Offset(1, 1);
    const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (!Enabled()) {
        TRect shifted = text.Offset(1, 1);
        canvas.Font()->SetColor(clBtnHighlight);
        canvas.DrawText(Caption(), shifted, flags);
        canvas.Font()->SetColor(clBtnShadow);
    }
    canvas.DrawText(Caption(), text, flags);
    if (ShowsFocusRect()) canvas.DrawFocusRect(ClientRect().Inflate(-kFocusInset, -kFocusInset));
}

} // namespace emr
