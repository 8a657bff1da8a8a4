#include "framework/graphics/Brush.h"

namespace emr {

void TBrush::SetColor(TColor color) {
    if (color_ == color && style_ == TBrushStyle::bsSolid) return;
    color_ = color;
    style_ = TBrushStyle::bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style_ == style) return;
    style_ = style;
    Changed();
}

void TBrush::Assign(const TPersistent* source) {
    if (auto* brush = dynamic_cast<const TBrush*>(source)) {
        if (brush == this) return;
        color_ = brush->color_;
        style_ = brush->style_;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TBrush::Changed() {
    if (OnChange) OnChange(this);
}

} // namespace emr
