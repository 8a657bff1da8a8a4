// The toolbar's side of its chrome: the values it paints from, the first paint,
// and the caption-bar indicator's fade.

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
    v.Position = docking_.Position;
    v.ShowCaption = published_.ShowCaption;
    v.ShowClose = published_.ShowClose;
    v.ShowOptionIndicator = published_.ShowOptionIndicator;
    v.ShowRightHandle = published_.ShowRightHandle;
    v.FullSize = published_.FullSize;
    v.ParentStyler = published_.ParentStyler;
    v.Chevron = Length() < fullLength_;
    v.CaptionHeight = published_.CaptionHeight;
    v.FloatingRows = published_.FloatingRows;
    v.DockedThickness = docking_.DockedThickness;
    v.CaptionPosition = published_.CaptionPosition;
    v.CaptionAlignment = published_.CaptionAlignment;
    v.Caption = published_.Caption;
    v.CaptionFont = published_.CaptionFont.get();
    v.OptionPicture = published_.OptionPicture.get();
    v.OptionDisabledPicture = published_.OptionDisabledPicture.get();
    v.Styler = currentStyler_;
    v.Panel = docking_.Panel;
    v.Origin = {Left(), Top()};
    TToolBarChrome::TPartLooks& p = v.Parts;
    p.HandleHot = RightHandleHot();
    const TToolBarPart hot = parts_.Hot(), down = parts_.Down();
    p.HandleDown = down == TToolBarPart::RightHandle || OptionWindowVisible();
    p.OptionHot = hot == TToolBarPart::OptionButton;
    p.OptionDown = down == TToolBarPart::OptionButton;
    p.CloseHot = hot == TToolBarPart::CloseButton;
    p.CloseDown = CloseButtonDown();
    p.IndicatorLit = parts_.IndicatorLit();
    p.IndicatorDown = down == TToolBarPart::Indicator;
    p.Fading = parts_.Fading();
    p.FadePercent = parts_.FadePercent();
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
    if (busy_.FirstPaintDone) return;
    busy_.FirstPaintDone = true;
    if (Docked() && docking_.Panel) overflow_->FirstPaint();
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

void TAdvCustomToolBar::RunFadeTimer() {
    if (!fadeTimer_) {
        fadeTimer_ = new TTimer(this);
        fadeTimer_->SetEnabled(false);
        fadeTimer_->SetInterval(M::FadeInterval);
        fadeTimer_->OnTimer = [this](TObject*) { FadeTick(); };
    }
    fadeTimer_->SetEnabled(true);
    InvalidateIndicator();
}

void TAdvCustomToolBar::FadeTick() {
    if (!parts_.FadeTick()) {
        InvalidateIndicator();
        return;
    }
    // The fade is over: the timer stops (it is kept for the next fade).
    fadeTimer_->SetEnabled(false);
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
