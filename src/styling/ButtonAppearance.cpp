#include "styling/ButtonAppearance.h"

#include <string>

#include "styling/SystemFont.h"

namespace emr {

TButtonAppearance::TButtonAppearance() {
    captionFont_.SetName(std::string(SystemUIFontName()));
}

void TButtonAppearance::Changed() {
    if (OnChange) OnChange(this);
}

void TButtonAppearance::Update(TColor& field, TColor value) {
    if (field == value) return;
    field = value;
    Changed();
}

void TButtonAppearance::SetGradientDirection(TGradientDirection value) {
    if (gradientDirection_ == value) return;
    gradientDirection_ = value;
    Changed();
}

void TButtonAppearance::SetCaptionFont(const TFont* value) {
    captionFont_.Assign(value);
    Changed();
}

void TButtonAppearance::SetSystemFont(bool value) {
    if (systemFont_ == value) return;
    systemFont_ = value;
    if (value) captionFont_.SetName(std::string(SystemUIFontName()));
}

void TButtonAppearance::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TButtonAppearance*>(source);
    if (!other) return;
    color_ = other->color_;
    colorTo_ = other->colorTo_;
    colorHot_ = other->colorHot_;
    colorHotTo_ = other->colorHotTo_;
    colorDown_ = other->colorDown_;
    colorDownTo_ = other->colorDownTo_;
    colorChecked_ = other->colorChecked_;
    colorCheckedTo_ = other->colorCheckedTo_;
    captionTextColor_ = other->captionTextColor_;
    captionTextColorHot_ = other->captionTextColorHot_;
    captionTextColorDown_ = other->captionTextColorDown_;
    captionTextColorChecked_ = other->captionTextColorChecked_;
    gradientDirection_ = other->gradientDirection_;
    borderColor_ = other->borderColor_;
    borderHotColor_ = other->borderHotColor_;
    borderDownColor_ = other->borderDownColor_;
    borderCheckedColor_ = other->borderCheckedColor_;
}

} // namespace emr
