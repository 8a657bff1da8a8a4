#include "toolbar/AdvToolBarButtonDrawPosition.h"

namespace emr {

void TAdvToolBarButtonDrawPosition::Changed() {
    if (OnChange) OnChange(this);
}

void TAdvToolBarButtonDrawPosition::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Changed();
}

void TAdvToolBarButtonDrawPosition::SetTextX(int value) {
    if (textX_ == value) return;
    textX_ = value;
    Changed();
}

void TAdvToolBarButtonDrawPosition::SetTextY(int value) {
    if (textY_ == value) return;
    textY_ = value;
    Changed();
}

void TAdvToolBarButtonDrawPosition::SetImageX(int value) {
    if (imageX_ == value) return;
    imageX_ = value;
    Changed();
}

void TAdvToolBarButtonDrawPosition::SetImageY(int value) {
    if (imageY_ == value) return;
    imageY_ = value;
    Changed();
}

void TAdvToolBarButtonDrawPosition::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TAdvToolBarButtonDrawPosition*>(source);
    if (!other) return;
    enabled_ = other->enabled_;
    textX_ = other->textX_;
    textY_ = other->textY_;
    imageX_ = other->imageX_;
    imageY_ = other->imageY_;
}

} // namespace emr
