#include "styling/AdvMenuStyler.h"

namespace emr {

TCustomAdvMenuStyler::TCustomAdvMenuStyler(TComponent* owner) : TComponent(owner) {
    auto changed = [this](TObject*) { Changed(); };
    rootItem_.OnChange = changed;
    iconBar_.OnChange = changed;
    selectedItem_.OnChange = changed;
    glyphs_.OnChange = changed;
}

void TCustomAdvMenuStyler::Changed() {
    if (OnChange) OnChange(this);
}

void TCustomAdvMenuStyler::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TCustomAdvMenuStyler*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    AssignFields(*this, *other);
    rootItem_.Assign(&other->rootItem_);
    iconBar_.Assign(&other->iconBar_);
    selectedItem_.Assign(&other->selectedItem_);
    glyphs_.Assign(&other->glyphs_);
}

} // namespace emr
