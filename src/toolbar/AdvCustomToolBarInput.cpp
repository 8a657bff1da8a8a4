// Pointer handling and hints of toolbars: grip cursor, right handle, floating
// caption buttons and the caption-bar option indicator.

#include "framework/controls/Mouse.h"
#include "framework/forms/Screen.h"
#include "toolbar/AdvCustomToolBar.h"

namespace emr {

void TAdvCustomToolBar::MouseMove(TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomControl::MouseMove(shift, x, y);
    if (alive.expired() || dragInProgress_) return;
    TPoint p{x, y};
    if (!(shift & ssLeft) && !locked_) {
        if (GripHitRect().Contains(p))
            SetCursor(crSizeAll);
        else if (Cursor() == crSizeAll)
            SetCursor(savedCursor_);
    }
    if (Designing()) return;
    bool overHandle = RightHandleHitRect().Contains(p);
    if (overHandle != rightHandleHot_) {
        rightHandleHot_ = overHandle;
        InvalidateRightHandle();
    }
    if (Floating()) {
        bool overOption = OptionButtonRect().Contains(p);
        if (overOption != optionButtonHot_) {
            optionButtonHot_ = overOption;
            InvalidateRect(OptionButtonRect().Inflate(1, 1));
        }
        bool overClose = CloseButtonRect().Contains(p);
        if (overClose != closeButtonHot_) {
            closeButtonHot_ = overClose;
            InvalidateRect(CloseButtonRect().Inflate(1, 1));
        }
    }
    TRect indicator = CaptionOptionIndicatorRect();
    bool overIndicator = indicator.Left >= 0 && indicator.Contains(p);
    if (overIndicator && !indicatorHot_) {
        indicatorHot_ = true;
        StartFade(+20);
    } else if (!overIndicator && indicatorHot_ && fadeStep_ > 0) {
        StartFade(-20);
    }
}

void TAdvCustomToolBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomControl::MouseDown(button, shift, x, y);
    if (alive.expired() || dragInProgress_ || button != mbLeft) return;
    TPoint p{x, y};
    TRect indicator = CaptionOptionIndicatorRect();
    if (indicator.Left >= 0 && indicator.Contains(p)) {
        indicatorDown_ = true;
        StartFade(+20);
        if (OnOptionClick && Parent()) {
            TPoint anchor = Parent()->ClientToScreen({Left() + Width() - 12, Top() + Height() + 1});
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
            rightHandleDown_ = true;
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
            if (!optionButtonDown_) {
                optionButtonDown_ = true;
                InvalidateRect(OptionButtonRect().Inflate(1, 1));
                DoOptionClick();
            }
        } else if (CloseButtonRect().Contains(p)) {
            if (!closeButtonDown_) {
                closeButtonDown_ = true;
                InvalidateRect(CloseButtonRect().Inflate(1, 1));
            }
        }
    }
}

void TAdvCustomToolBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = LifeToken();
    TCustomControl::MouseUp(button, shift, x, y);
    if (alive.expired() || dragInProgress_) return;
    if (rightHandleDown_) {
        rightHandleDown_ = false;
        InvalidateRightHandle();
    }
    if (indicatorDown_) {
        indicatorDown_ = false;
        StartFade(-20);
    }
    if (!Floating()) return;
    if (optionButtonDown_) {
        optionButtonDown_ = false;
        InvalidateRect(OptionButtonRect().Inflate(1, 1));
    }
    if (closeButtonDown_) {
        closeButtonDown_ = false;
        closeButtonHot_ = false;
        InvalidateRect(CloseButtonRect().Inflate(1, 1));
        CloseFloating();
    }
}

void TAdvCustomToolBar::ClearHotFlags() {
    if (rightHandleHot_ || rightHandleDown_) InvalidateRightHandle();
    if (optionButtonHot_ || optionButtonDown_) InvalidateRect(OptionButtonRect().Inflate(1, 1));
    if (closeButtonHot_ || closeButtonDown_) InvalidateRect(CloseButtonRect().Inflate(1, 1));
    rightHandleHot_ = rightHandleDown_ = false;
    optionButtonHot_ = optionButtonDown_ = false;
    closeButtonHot_ = closeButtonDown_ = false;
    indicatorDown_ = false;
    if (indicatorHot_) StartFade(-20);
}

void TAdvCustomToolBar::MouseLeave() {
    TCustomControl::MouseLeave();
    if (dragInProgress_) return;
    if (Cursor() == crSizeAll) SetCursor(savedCursor_);
    // While a press is held the release still belongs to this toolbar (a close
    // button pressed and released elsewhere closes it), so only hot flags go.
    if (GetCaptureControl() == this) {
        if (rightHandleHot_) InvalidateRightHandle();
        rightHandleHot_ = optionButtonHot_ = closeButtonHot_ = false;
        return;
    }
    ClearHotFlags();
}

void TAdvCustomToolBar::WndProc(TMessage& message) {
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
