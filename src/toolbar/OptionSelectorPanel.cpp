#include "toolbar/OptionSelectorPanel.h"

#include "framework/graphics/Canvas.h"
#include "styling/GradientPainting.h"
#include "toolbar/AdvCustomToolBar.h"

namespace emr {

TOptionSelectorPanel::TOptionSelectorPanel(TComponent* owner) : TCustomPanel(owner) {
    SetBevelOuter(bvNone);
    SetBevelWidth(1);
    SetColor(static_cast<TColor>(0xF7F8F9));
}

TAdvCustomToolBar* TOptionSelectorPanel::AdvToolBar() const {
    return toolBar_.Get();
}

void TOptionSelectorPanel::SetAdvToolBar(TAdvCustomToolBar* value) {
    toolBar_.Reset(value);
}

void TOptionSelectorPanel::Paint() {
    TCustomPanel::Paint();
    TCanvas& c = *Canvas();
    const int w = Width(), h = Height();
    if (colorTo_ != clNone)
        DrawGradient(c, Color(), colorTo_, 40, {0, 0, w, h}, gradientDirection_ == gdHorizontal);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.Pen()->SetColor(windowBorderColor_);
    c.MoveTo(0, 0);
    c.LineTo(0, h);
    c.MoveTo(0, 0);
    c.LineTo(w - 1, 0);
    c.MoveTo(0, h - 1);
    c.LineTo(w - 1, h - 1);
    c.MoveTo(w - 1, h);
    c.LineTo(w - 1, -1);
}

} // namespace emr
