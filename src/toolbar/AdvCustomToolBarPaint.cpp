// The toolbar's side of its chrome: the values it paints from, the first paint,
// and the caption-bar indicator's fade.

#include <algorithm>

#include "framework/forms/Timer.h"
#include "framework/graphics/Canvas.h"
#include "toolbar/AdvCustomToolBar.h"
#include "toolbar/ToolBarChrome.h"
#include "toolbar/ToolBarFocus.h"
#include "toolbar/ToolBarMDIButtons.h"
#include "toolbar/ToolBarOverflow.h"

namespace emr {

using M = TToolBarChrome;

TToolBarChrome TAdvCustomToolBar::Chrome() const {
    TToolBarChrome::TValues v;
    v.Client = ClientRect();
    v.Width = Width();
    v.Height = Height();
    v.Floating = Floating();
    v.Docked = Docked();
    v.Horizontal = Horizontal();
    v.Enabled = Enabled();
    v.Position = position_;
    v.ShowCaption = showCaption_;
    v.ShowClose = showClose_;
    v.ShowOptionIndicator = showOptionIndicator_;
    v.ShowRightHandle = showRightHandle_;
    v.FullSize = fullSize_;
    v.ParentStyler = parentStyler_;
    v.Chevron = Length() < fullLength_;
    v.CaptionHeight = captionHeight_;
    v.FloatingRows = floatingRows_;
    v.DockedThickness = dockedThickness_;
    v.CaptionPosition = captionPosition_;
    v.CaptionAlignment = captionAlignment_;
    v.Caption = caption_;
    v.CaptionFont = captionFont_.get();
    v.OptionPicture = optionPicture_.get();
    v.OptionDisabledPicture = optionDisabledPicture_.get();
    v.Styler = currentStyler_;
    v.Panel = dockPanel_;
    v.Origin = {Left(), Top()};
    TToolBarChrome::TPartLooks& p = v.Parts;
    p.HandleHot = RightHandleHot();
    p.HandleDown = RightHandleDown() || OptionWindowVisible();
    p.OptionHot = OptionButtonHot();
    p.OptionDown = OptionButtonDown();
    p.CloseHot = CloseButtonHot();
    p.CloseDown = CloseButtonDown();
    p.IndicatorLit = indicatorLit_;
    p.IndicatorDown = IndicatorDown();
    p.Fading = fading_;
    p.FadePercent = fadePercent_;
    return TToolBarChrome(v);
}

TRect TAdvCustomToolBar::CaptionRect() const {
    return Chrome().CaptionRect();
}
TRect TAdvCustomToolBar::ContentRect() const {
    return Chrome().ContentRect();
}
TRect TAdvCustomToolBar::CloseButtonRect() const {
    return Chrome().CloseButtonRect();
}
TRect TAdvCustomToolBar::OptionButtonRect() const {
    return Chrome().OptionButtonRect();
}
TRect TAdvCustomToolBar::CaptionOptionIndicatorRect() const {
    return Chrome().CaptionOptionIndicatorRect();
}
TRect TAdvCustomToolBar::GripHitRect() const {
    return Chrome().GripHitRect();
}
TRect TAdvCustomToolBar::RightHandleHitRect() const {
    return Chrome().RightHandleHitRect();
}
TRect TAdvCustomToolBar::FloatingCaptionDragRect() const {
    return Chrome().FloatingCaptionDragRect();
}

// The overflow's first-frame step changes which controls show, so it runs before
// the frame, not while painting it.
void TAdvCustomToolBar::BeforePaint() {
    if (firstPaintDone_) return;
    firstPaintDone_ = true;
    if (Docked() && dockPanel_) overflow_->FirstPaint();
}

void TAdvCustomToolBar::Paint() {
    PaintToolBar(*Canvas());
}

void TAdvCustomToolBar::PaintToolBar(TCanvas& canvas) {
    Chrome().Paint(canvas);
    if (mdiButtons_) mdiButtons_->Paint(canvas);
    if (focus_->ShowsRectOnIndicator())
        canvas.DrawFocusRect(focus_->IndicatorRect().Inflate(-M::FocusInset, -M::FocusInset));
}

// ---- Caption-bar indicator fade ------------------------------------------------------------------

void TAdvCustomToolBar::StartFade(int step) {
    fadeStep_ = step;
    fadePercent_ = std::clamp(fadePercent_, 0, M::FadeFull);
    if (!fadeTimer_) {
        fadeTimer_ = new TTimer(this);
        fadeTimer_->SetEnabled(false);
        fadeTimer_->SetInterval(M::FadeInterval);
        fadeTimer_->OnTimer = [this](TObject*) { FadeTick(); };
    }
    fading_ = true;
    fadeTimer_->SetEnabled(true);
    InvalidateIndicator();
}

void TAdvCustomToolBar::FadeTick() {
    fadePercent_ += fadeStep_;
    if (fadePercent_ >= 0 && fadePercent_ <= M::FadeFull) {
        InvalidateIndicator();
        return;
    }
    // The fade is over: the timer stops (it is kept for the next fade).
    fadeTimer_->SetEnabled(false);
    fading_ = false;
    if (fadePercent_ < 0) {
        indicatorLit_ = false;
        fadePercent_ = M::FadedOut;
    } else {
        fadePercent_ = M::FadedIn;
    }
    InvalidateRect(CaptionRect());
}

void TAdvCustomToolBar::InvalidateIndicator() {
    TRect r = CaptionOptionIndicatorRect();
    if (r.Left >= 0) InvalidateRect(r);
}

void TAdvCustomToolBar::InvalidateRightHandle() {
    TRect r = RightHandleHitRect();
    if (!r.Empty()) InvalidateRect(r.Inflate(1, 1));
}

} // namespace emr
