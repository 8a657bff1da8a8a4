#include "styling/ContainerAppearance.h"

namespace emr {

void TContainerAppearance::Changed() {
    if (OnChange) OnChange(this);
}

void TContainerAppearance::SetLineColor(TColor value) {
    if (lineColor_ == value) return;
    lineColor_ = value;
    Changed();
}

void TContainerAppearance::SetLine3D(bool value) {
    if (line3D_ == value) return;
    line3D_ = value;
    Changed();
}

void TContainerAppearance::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TContainerAppearance*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    SetLineColor(other->lineColor_);
    SetLine3D(other->line3D_);
}

} // namespace emr
