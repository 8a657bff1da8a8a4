#include "styling/GlowButtonAppearance.h"

namespace emr {

namespace {

template <class T> bool Copy(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}

} // namespace

bool TGlowButtonAppearance::CopyActiveStates(const TGlowButtonAppearance& s) {
    bool changed = false;
    changed |= Copy(colorHot_, s.colorHot_);
    changed |= Copy(colorHotTo_, s.colorHotTo_);
    changed |= Copy(colorMirrorHot_, s.colorMirrorHot_);
    changed |= Copy(colorMirrorHotTo_, s.colorMirrorHotTo_);
    changed |= Copy(borderColorHot_, s.borderColorHot_);
    changed |= Copy(gradientHot_, s.gradientHot_);
    changed |= Copy(gradientMirrorHot_, s.gradientMirrorHot_);
    changed |= Copy(colorDown_, s.colorDown_);
    changed |= Copy(colorDownTo_, s.colorDownTo_);
    changed |= Copy(colorMirrorDown_, s.colorMirrorDown_);
    changed |= Copy(colorMirrorDownTo_, s.colorMirrorDownTo_);
    changed |= Copy(borderColorDown_, s.borderColorDown_);
    changed |= Copy(gradientDown_, s.gradientDown_);
    changed |= Copy(gradientMirrorDown_, s.gradientMirrorDown_);
    changed |= Copy(colorChecked_, s.colorChecked_);
    changed |= Copy(colorCheckedTo_, s.colorCheckedTo_);
    changed |= Copy(colorMirrorChecked_, s.colorMirrorChecked_);
    changed |= Copy(colorMirrorCheckedTo_, s.colorMirrorCheckedTo_);
    changed |= Copy(borderColorChecked_, s.borderColorChecked_);
    changed |= Copy(gradientChecked_, s.gradientChecked_);
    changed |= Copy(gradientMirrorChecked_, s.gradientMirrorChecked_);
    return changed;
}

void TGlowButtonAppearance::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TGlowButtonAppearance*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (CopyChangedFields(*this, *other)) Changed();
}

void TGlowButtonAppearance::AssignActiveStates(const TGlowButtonAppearance& source) {
    if (CopyActiveStates(source)) Changed();
}

} // namespace emr
