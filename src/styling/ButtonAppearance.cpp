#include "styling/ButtonAppearance.h"

#include <string>

#include "styling/SystemFont.h"

namespace emr {

TButtonAppearance::TButtonAppearance() {
    captionFont_.SetName(std::string(SystemUIFontName()));
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
    AssignFields(*this, *other);
}

} // namespace emr
