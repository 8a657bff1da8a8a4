#include "styling/RibbonAppearances.h"

#include <string>

#include "styling/SystemFont.h"

namespace emr {

namespace {

template <class T> bool Copy(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}

} // namespace

TRibbonFontRecord::TRibbonFontRecord(int fontHeight) {
    font_.SetName(std::string(SystemUIFontName()));
    font_.SetHeight(fontHeight);
    font_.OnChange = [this](TObject*) { Changed(); };
}

void TRibbonFontRecord::SetFont(const TFont* value) {
    font_.Assign(value);
}

void TRibbonFontRecord::SetSystemFont(bool value) {
    if (systemFont_ == value) return;
    systemFont_ = value;
    if (value) font_.SetName(std::string(SystemUIFontName()));
}

void TRibbonFontRecord::CopyFontFrom(const TRibbonFontRecord& other) {
    systemFont_ = other.systemFont_;
    font_.Assign(&other.font_);
}

void TTabAppearance::Assign(const TPersistent* source) {
    auto* o = dynamic_cast<const TTabAppearance*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    bool changed = false;
    changed |= Copy(color_, o->color_);
    changed |= Copy(colorTo_, o->colorTo_);
    changed |= Copy(colorHot_, o->colorHot_);
    changed |= Copy(colorHotTo_, o->colorHotTo_);
    changed |= Copy(colorSelected_, o->colorSelected_);
    changed |= Copy(colorSelectedTo_, o->colorSelectedTo_);
    changed |= Copy(colorMirrorSelected_, o->colorMirrorSelected_);
    changed |= Copy(colorMirrorSelectedTo_, o->colorMirrorSelectedTo_);
    changed |= Copy(borderColor_, o->borderColor_);
    changed |= Copy(borderColorHot_, o->borderColorHot_);
    changed |= Copy(borderColorSelected_, o->borderColorSelected_);
    changed |= Copy(borderColorDisabled_, o->borderColorDisabled_);
    changed |= Copy(textColor_, o->textColor_);
    changed |= Copy(textColorHot_, o->textColorHot_);
    changed |= Copy(textColorSelected_, o->textColorSelected_);
    changed |= Copy(textColorDisabled_, o->textColorDisabled_);
    changed |= Copy(shadowColor_, o->shadowColor_);
    changed |= Copy(highLightColor_, o->highLightColor_);
    CopyFontFrom(*o);
    if (changed) Changed();
}

bool TVistaPageBackground::CopyBackground(const TVistaPageBackground& o) {
    bool changed = false;
    changed |= Copy(color_, o.color_);
    changed |= Copy(colorTo_, o.colorTo_);
    changed |= Copy(colorMirror_, o.colorMirror_);
    changed |= Copy(colorMirrorTo_, o.colorMirrorTo_);
    changed |= Copy(borderColor_, o.borderColor_);
    changed |= Copy(gradient_, o.gradient_);
    changed |= Copy(gradientMirror_, o.gradientMirror_);
    CopyFontFrom(o);
    return changed;
}

void TVistaPageBackground::Assign(const TPersistent* source) {
    auto* o = dynamic_cast<const TVistaPageBackground*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    if (CopyBackground(*o)) Changed();
}

void TVistaTextBackground::Assign(const TPersistent* source) {
    auto* o = dynamic_cast<const TVistaTextBackground*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    bool changed = CopyBackground(*o);
    changed |= Copy(textColor_, o->textColor_);
    changed |= Copy(textColorExtended_, o->textColorExtended_);
    if (changed) Changed();
}

TGroupAppearance::TGroupAppearance() {
    tab_.OnChange = [this](TObject*) { Changed(); };
}

void TGroupAppearance::Assign(const TPersistent* source) {
    auto* o = dynamic_cast<const TGroupAppearance*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    bool changed = CopyBackground(*o);
    changed |= Copy(textColor_, o->textColor_);
    changed |= Copy(captionColor_, o->captionColor_);
    changed |= Copy(captionColorTo_, o->captionColorTo_);
    tab_.Assign(&o->tab_);
    if (changed) Changed();
}

void TQATAppearance::Assign(const TPersistent* source) {
    auto* o = dynamic_cast<const TQATAppearance*>(source);
    if (!o) {
        TPersistent::Assign(source);
        return;
    }
    bool changed = false;
    changed |= Copy(color_, o->color_);
    changed |= Copy(colorTo_, o->colorTo_);
    changed |= Copy(borderColor_, o->borderColor_);
    changed |= Copy(fullSizeColor_, o->fullSizeColor_);
    changed |= Copy(fullSizeColorTo_, o->fullSizeColorTo_);
    changed |= Copy(fullSizeBorderColor_, o->fullSizeBorderColor_);
    if (changed) Changed();
}

} // namespace emr
