#include "styling/RibbonAppearances.h"

#include <string>

#include "styling/SystemFont.h"

namespace emr {

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
    changed |= CopyChangedFields<TTabAppearance>(*this, *o);
    CopyFontFrom(*o);
    if (changed) Changed();
}

bool TVistaPageBackground::CopyBackground(const TVistaPageBackground& o) {
    bool changed = false;
    changed |= CopyChangedFields<TVistaPageBackground>(*this, o);
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
    changed |= CopyChangedFields<TVistaTextBackground>(*this, *o);
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
    changed |= CopyChangedFields<TGroupAppearance>(*this, *o);
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
    changed |= CopyChangedFields<TQATAppearance>(*this, *o);
    if (changed) Changed();
}

} // namespace emr
