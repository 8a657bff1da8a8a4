#include "framework/forms/Panel.h"

#include <algorithm>

#include "framework/forms/Frame3D.h"
#include "framework/graphics/Canvas.h"

namespace emr {

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque |
                    csDoubleClicks | csReplicatable);
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::BevelColors(TBevelCut bevel, TColor& topColor, TColor& bottomColor) {
    topColor = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    bottomColor = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
    if (value == bevelInner_) return;
    bevelInner_ = value;
    FrameChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
    if (value == bevelOuter_) return;
    bevelOuter_ = value;
    FrameChanged();
}

void TCustomPanel::SetBevelWidth(int value) {
    value = std::max(value, 1);
    if (value == bevelWidth_) return;
    bevelWidth_ = value;
    FrameChanged();
}

void TCustomPanel::SetBorderWidth(int value) {
    value = std::max(value, 0);
    if (value == borderWidth_) return;
    borderWidth_ = value;
    FrameChanged();
}

void TCustomPanel::SetBorderStyle(TFormBorderStyle value) {
    if (value != bsSingle) value = bsNone;
    if (value == borderStyle_) return;
    borderStyle_ = value;
    FrameChanged();
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Invalidate();
}

void TCustomPanel::FrameChanged() {
    Invalidate();
    Realign();
}

void TCustomPanel::TextChanged() {
    TCustomControl::TextChanged();
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
    int inset = borderWidth_;
    if (borderStyle_ == bsSingle) inset += 2;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    rect = rect.Inflate(-inset, -inset);
}

void TCustomPanel::Paint() {
    TCanvas& canvas = *Canvas();
    TRect rect = ClientRect();
    TColor top;
    TColor bottom;
    if (borderStyle_ == bsSingle) {
        Frame3D(canvas, rect, clBtnShadow, clBtnHighlight, 1);
        Frame3D(canvas, rect, cl3DDkShadow, cl3DLight, 1);
    }
    if (bevelOuter_ != bvNone) {
        BevelColors(bevelOuter_, top, bottom);
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    }
    Frame3D(canvas, rect, Color(), Color(), borderWidth_);
    if (bevelInner_ != bvNone) {
        BevelColors(bevelInner_, top, bottom);
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    }
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(rect);

    if (Caption().empty()) return;
    canvas.SetFont(Font());
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    unsigned flags = DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE;
    flags |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    canvas.DrawText(Caption(), rect, flags);
}

} // namespace emr
