#include "styling/CaptionAppearance.h"

namespace emr {

void TCaptionAppearance::Update(TColor& field, TColor value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(this);
}

void TCaptionAppearance::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TCaptionAppearance*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    captionColor_ = other->captionColor_;
    captionColorTo_ = other->captionColorTo_;
    captionTextColor_ = other->captionTextColor_;
    captionBorderColor_ = other->captionBorderColor_;
    captionBorderColorHot_ = other->captionBorderColorHot_;
    captionColorHot_ = other->captionColorHot_;
    SetCaptionColorHotTo(other->captionColorHotTo_);
    SetCaptionTextColorHot(other->captionTextColorHot_);
}

} // namespace emr
