#include "styling/GradientBackground.h"

namespace emr {

void TMirrorGradient::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TMirrorGradient*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    AssignFields(*this, *other);
}

void TGradientBackground::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TGradientBackground*>(source);
    if (!other) return;
    AssignFields(*this, *other);
}

void TVistaGradientBackground::Assign(const TPersistent* source) {
    TGradientBackground::Assign(source);
    if (auto* other = dynamic_cast<const TVistaGradientBackground*>(source)) mirror_.Assign(&other->mirror_);
}

} // namespace emr
