// Pointer handling and hints of toolbars: grip cursor, right handle, floating
// caption buttons and the caption-bar option indicator.

#include "framework/controls/Mouse.h"
#include "framework/forms/Screen.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolBarChrome.h"
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
    if (!(shift & ssLeft) && !locked_) {
        if (GripHitRect().Contains(p))
            SetCursor(crSizeAll);
        else if (Cursor() == crSizeAll)
            SetCursor(savedCursor_);
    }
    if (Designing()) return;
    if (RightHandleHitRect().Contains(p))
        SetHotPart(TToolBarPart::RightHandle);
    else if (Floating() && OptionButtonRect().Contains(p))
        SetHotPart(TToolBarPart::OptionButton);
    else if (Floating() && CloseButtonRect().Contains(p))
        SetHotPart(TToolBarPart::CloseButton);
    else
        SetHotPart(TToolBarPart::None);
    TRect indicator = CaptionOptionIndicatorRect();
    bool overIndicator = indicator.Left >= 0 && indicator.Contains(p);
    if (overIndicator && !indicatorLit_) {
        indicatorLit_ = true;
        StartFade(+TToolBarChrome::FadeStep);
    } else if (!overIndicator && indicatorLit_ && fadeStep_ > 0) {
        StartFade(-TToolBarChrome::FadeStep);
    }
}

void TAdvCustomToolBar::SetHotPart(TToolBarPart part) {
    if (part == hotPart_) return;
    InvalidatePart(hotPart_);
    hotPart_ = part;
    InvalidatePart(hotPart_);
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
        downPart_ = TToolBarPart::Indicator;
        StartFade(+TToolBarChrome::FadeStep);
        if (OnOptionClick && Parent()) {
            TPoint anchor = Parent()->ClientToScreen({Left() + Width() - TToolBarChrome::OptionAnchorInset,
                                                      Top() + Height() + TToolBarChrome::OptionAnchorDrop});
            OnOptionClick(this, anchor, anchor);
        }
        return;
    }
    if (Docked()) {
        if (GripHitRect().Contains(p)) {
            if (!locked_) BeginDrag(p);
            return;
        }
        if (!Designing() && RightHandleHitRect().Contains(p)) {
            downPart_ = TToolBarPart::RightHandle;
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
            if (downPart_ != TToolBarPart::OptionButton) {
                downPart_ = TToolBarPart::OptionButton;
                InvalidatePart(downPart_);
                DoOptionClick();
            }
        } else if (CloseButtonRect().Contains(p)) {
            if (downPart_ != TToolBarPart::CloseButton) {
                downPart_ = TToolBarPart::CloseButton;
                InvalidatePart(downPart_);
            }
        }
    }
}

void TAdvCustomToolBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomControl::MouseUp(button, shift, x, y);
    if (alive.expired() || dragInProgress_) return;
    if (mdiButtons_ && mdiButtons_->MouseUp({x, y})) return;
    const TToolBarPart released = downPart_;
    switch (released) {
    case TToolBarPart::None:
        break;
    case TToolBarPart::RightHandle:
        downPart_ = TToolBarPart::None;
        InvalidateRightHandle();
        break;
    case TToolBarPart::Indicator:
        downPart_ = TToolBarPart::None;
        StartFade(-TToolBarChrome::FadeStep);
        break;
    case TToolBarPart::OptionButton:
    case TToolBarPart::CloseButton:
        // The floating caption's buttons act only while the toolbar floats.
        if (!Floating()) break;
        downPart_ = TToolBarPart::None;
        if (released == TToolBarPart::CloseButton && hotPart_ == released) hotPart_ = TToolBarPart::None;
        InvalidatePart(released);
        if (released == TToolBarPart::CloseButton) CloseFloating();
        break;
    }
}

void TAdvCustomToolBar::ClearHotFlags() {
    // The indicator repaints through its fade, not here.
    if (hotPart_ != TToolBarPart::Indicator) InvalidatePart(hotPart_);
    if (downPart_ != TToolBarPart::Indicator) InvalidatePart(downPart_);
    hotPart_ = downPart_ = TToolBarPart::None;
    if (indicatorLit_) StartFade(-TToolBarChrome::FadeStep);
}

void TAdvCustomToolBar::MouseLeave() {
    TCustomControl::MouseLeave();
    if (dragInProgress_) return;
    if (mdiButtons_) mdiButtons_->MouseLeave();
    if (Cursor() == crSizeAll) SetCursor(savedCursor_);
    // While a press is held the release still belongs to this toolbar (a close
    // button pressed and released elsewhere closes it), so only hot flags go.
    if (GetCaptureControl() == this) {
        if (hotPart_ == TToolBarPart::RightHandle) InvalidateRightHandle();
        hotPart_ = TToolBarPart::None;
        return;
    }
    ClearHotFlags();
}

void TAdvCustomToolBar::KeyDown(int& key, TShiftState shift) {
    auto alive = LifeToken();
    TCustomControl::KeyDown(key, shift);
    if (alive.expired() || key == 0 || Designing()) return;
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
        if (Floating() && showClose_ && ShowHint() && !hintCloseButton_.empty() &&
            CloseButtonRect().Contains(p))
            info->HintStr = hintCloseButton_;
        else if (Floating() && showOptionIndicator_ && ShowHint() && !hintOptionButton_.empty() &&
                 OptionButtonRect().Contains(p))
            info->HintStr = hintOptionButton_;
        else if (!Floating() && showOptionIndicator_ && ShowHint() && !hintOptionButton_.empty() &&
                 RightHandleHitRect().Contains(p))
            info->HintStr = hintOptionButton_;
        return;
    }
    default:
        TCustomControl::WndProc(message);
    }
}

} // namespace emr
