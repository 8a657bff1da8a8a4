#include "styling/GradientBackground.h"

namespace emr {

void TMirrorGradient::Update(TColor& field, TColor value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(this);
}

void TMirrorGradient::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TMirrorGradient*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    color_ = other->color_;
    colorTo_ = other->colorTo_;
    colorMirror_ = other->colorMirror_;
    colorMirrorTo_ = other->colorMirrorTo_;
}

void TGradientBackground::Changed() {
    if (OnChange) OnChange(this);
}

void TGradientBackground::SetColor(TColor value) {
    color_ = value;
    Changed();
}

void TGradientBackground::SetColorTo(TColor value) {
    colorTo_ = value;
    Changed();
}

void TGradientBackground::SetDirection(TGradientDirection value) {
    direction_ = value;
    Changed();
}

void TGradientBackground::SetSteps(int value) {
    steps_ = value;
    Changed();
}

void TGradientBackground::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TGradientBackground*>(source);
    if (!other) return;
    color_ = other->color_;
    colorTo_ = other->colorTo_;
    direction_ = other->direction_;
    steps_ = other->steps_;
}

void TVistaGradientBackground::Assign(const TPersistent* source) {
    TGradientBackground::Assign(source);
    if (auto* other = dynamic_cast<const TVistaGradientBackground*>(source)) mirror_.Assign(&other->mirror_);
}

} // namespace emr
