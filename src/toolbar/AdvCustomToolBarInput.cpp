// Pointer handling and hints of toolbars: grip cursor, right handle, floating
// caption buttons and the caption-bar option indicator.

#include "framework/controls/Mouse.h"
#include "framework/forms/Screen.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolBarChrome.h"
#include "toolbar/ToolBarContextMenu.h"
#include "toolbar/ToolBarFocus.h"
#include "toolbar/ToolBarKeyboardMode.h"
#include "toolbar/ToolBarMDIButtons.h"
#include "toolbar/ToolBarMenuBar.h"

namespace emr {

void TAdvCustomToolBar::MouseMove(TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomControl::MouseMove(shift, x, y);
    if (alive.expired() || dragInProgress_) return;
    TPoint p{x, y};
    if (keyboard_) keyboard_->PointerMove(p);
    if (mdiButtons_ && mdiButtons_->MouseMove(p)) return;
    if (!(shift & ssLeft) && !published_.Locked) {
        if (GripHitRect().Contains(p))
            SetCursor(crSizeAll);
        else if (Cursor() == crSizeAll)
            SetCursor(savedCursor_);
    }
    if (Designing()) return;
    const TToolBarPartStates before = parts_;
    parts_.Hover(PartAt(p));
    TRect indicator = CaptionOptionIndicatorRect();
    parts_.HoverIndicator(indicator.Left >= 0 && indicator.Contains(p));
    PartsChanged(before);
}

TToolBarPart TAdvCustomToolBar::PartAt(TPoint p) const {
    if (RightHandleHitRect().Contains(p)) return TToolBarPart::RightHandle;
    if (Floating() && OptionButtonRect().Contains(p)) return TToolBarPart::OptionButton;
    if (Floating() && CloseButtonRect().Contains(p)) return TToolBarPart::CloseButton;
    return TToolBarPart::None;
}

void TAdvCustomToolBar::PartsChanged(const TToolBarPartStates& before) {
    auto repaint = [this](TToolBarPart was, TToolBarPart now) {
        if (was == now) return;
        InvalidatePart(was);
        InvalidatePart(now);
    };
    repaint(before.Hot(), parts_.Hot());
    repaint(before.Down(), parts_.Down());
    const bool fadeStarted = parts_.Fading() && (!before.Fading() || before.FadeStep() != parts_.FadeStep());
    if (fadeStarted) RunFadeTimer();
}

void TAdvCustomToolBar::InvalidatePart(TToolBarPart part) {
    switch (part) {
    case TToolBarPart::None:
        break;
    case TToolBarPart::RightHandle:
        InvalidateRightHandle();
        break;
    case TToolBarPart::OptionButton:
        InvalidateRect(OptionButtonRect().Inflate(1, 1));
        break;
    case TToolBarPart::CloseButton:
        InvalidateRect(CloseButtonRect().Inflate(1, 1));
        break;
    case TToolBarPart::Indicator:
        InvalidateIndicator();
        break;
    }
}

void TAdvCustomToolBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomControl::MouseDown(button, shift, x, y);
    if (alive.expired() || dragInProgress_ || button != mbLeft) return;
    TPoint p{x, y};
    if (keyboard_ && keyboard_->PointerDown(p)) return;
    if (mdiButtons_ && mdiButtons_->MouseDown(p)) return;
    TRect indicator = CaptionOptionIndicatorRect();
    if (indicator.Left >= 0 && indicator.Contains(p)) {
        const TToolBarPartStates before = parts_;
        parts_.Press(TToolBarPart::Indicator);
        PartsChanged(before);
        if (OnOptionClick && Parent()) {
            TPoint anchor = Parent()->ClientToScreen({Left() + Width() - TToolBarChrome::OptionAnchorInset,
                                                      Top() + Height() + TToolBarChrome::OptionAnchorDrop});
            OnOptionClick(this, anchor, anchor);
        }
        return;
    }
    if (Docked()) {
        if (GripHitRect().Contains(p)) {
            if (!published_.Locked) BeginDrag(p);
            return;
        }
        if (!Designing() && RightHandleHitRect().Contains(p)) {
            parts_.Press(TToolBarPart::RightHandle);
            InvalidateRightHandle();
            DoOptionClick();
        }
        return;
    }
    if (Floating()) {
        if (FloatingCaptionDragRect().Contains(p)) {
            if (Screen().Cursor() != crSizeAll) Screen().SetCursor(crSizeAll);
            BeginDrag(p);
        } else if (OptionButtonRect().Contains(p)) {
            if (parts_.Press(TToolBarPart::OptionButton)) {
                InvalidatePart(TToolBarPart::OptionButton);
                DoOptionClick();
            }
        } else if (CloseButtonRect().Contains(p)) {
            if (parts_.Press(TToolBarPart::CloseButton)) InvalidatePart(TToolBarPart::CloseButton);
        }
    }
}

void TAdvCustomToolBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomControl::MouseUp(button, shift, x, y);
    if (alive.expired() || dragInProgress_) return;
    if (button == mbRight) {
        // A right press has no part of its own: the release anywhere on the
        // toolbar's own surface (grip, caption, empty area) lists the toolbars.
        if (!keyboard_ || !keyboard_->MenuMode()) TToolBarContextMenu::Open(this, ClientToScreen({x, y}));
        return;
    }
    if (mdiButtons_ && mdiButtons_->MouseUp({x, y})) return;
    const TToolBarPartStates before = parts_;
    const TToolBarPart released = parts_.Release();
    PartsChanged(before);
    // The floating caption's buttons act only while the toolbar floats; a press
    // that outlived the floating still ends here, so the button is not left down.
    if (released == TToolBarPart::CloseButton && Floating()) CloseFloating();
}

void TAdvCustomToolBar::MouseLeave() {
    TCustomControl::MouseLeave();
    if (dragInProgress_) return;
    if (mdiButtons_) mdiButtons_->MouseLeave();
    if (Cursor() == crSizeAll) SetCursor(savedCursor_);
    // While a press is held the release still belongs to this toolbar (a close
    // button pressed and released elsewhere closes it).
    const TToolBarPartStates before = parts_;
    parts_.Leave(GetCaptureControl() == this);
    PartsChanged(before);
}

void TAdvCustomToolBar::KeyDown(int& key, TShiftState shift) {
    auto alive = LifeToken();
    TCustomControl::KeyDown(key, shift);
    if (alive.expired() || key == 0 || Designing()) return;
    const bool shiftF10 = key == platform::VK_F10 && (shift & (ssShift | ssCtrl | ssAlt)) == ssShift;
    if (shiftF10 || key == platform::VK_APPS) {
        // Opened below the toolbar's top-left corner, where a keyboard user's eyes are.
        if (TToolBarContextMenu::Open(this, ClientToScreen({0, Height()}))) key = 0;
        return;
    }
    // The key is taken before the press runs: the press may free the toolbar.
    const int pressed = key;
    key = 0;
    if (!focus_->KeyDown(pressed, shift) && !alive.expired()) key = pressed;
}

void TAdvCustomToolBar::DoEnter() {
    TCustomControl::DoEnter();
    focus_->Entered();
}

void TAdvCustomToolBar::DoExit() {
    TCustomControl::DoExit();
    focus_->Exited();
}

void TAdvCustomToolBar::WndProc(TMessage& message) {
    // Messages arrive while the constructor still sets the toolbar up.
    if (menuBar_ && (menuBar_->HandleMessage(message) || keyboard_->HandleMessage(message))) return;
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case CM_HINTSHOW: {
        TCustomControl::WndProc(message);
        auto* info = reinterpret_cast<THintInfo*>(message.LParam);
        if (!info) return;
        TPoint p = info->CursorPos;
        if (Floating() && published_.ShowClose && ShowHint() && !published_.HintCloseButton.empty() &&
            CloseButtonRect().Contains(p))
            info->HintStr = published_.HintCloseButton;
        else if (Floating() && published_.ShowOptionIndicator && ShowHint() &&
                 !published_.HintOptionButton.empty() && OptionButtonRect().Contains(p))
            info->HintStr = published_.HintOptionButton;
        else if (!Floating() && published_.ShowOptionIndicator && ShowHint() &&
                 !published_.HintOptionButton.empty() && RightHandleHitRect().Contains(p))
            info->HintStr = published_.HintOptionButton;
        return;
    }
    default:
        TCustomControl::WndProc(message);
    }
}

void TAdvCustomToolBar::DescribeAccessible(platform::TAccessibleNode& node) const {
    node.Role = Menu() ? platform::TAccessibleRole::MenuBar : platform::TAccessibleRole::ToolBar;
}

const TComponent* TAdvCustomToolBar::AccessibleFocus() const {
    // The toolbar is one Tab stop; what a reader follows is the item inside it.
    if (focus_ && focus_->Item()) return focus_->Item();
    return this;
}

} // namespace emr
