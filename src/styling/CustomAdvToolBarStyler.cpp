#include "styling/CustomAdvToolBarStyler.h"

#include <algorithm>
#include <string>

#include "styling/SystemFont.h"

namespace emr {

TCustomAdvToolBarStyler::TCustomAdvToolBarStyler(TComponent* owner) : TComponent(owner) {
    auto notify = [this](int code) { return [this, code](TObject*) { NotifyControls(code); }; };
    captionAppearance_.OnChange = notify(scColors);
    color_.OnChange = notify(scColors);
    dockColor_.OnChange = notify(scColors);

    internalMenuStyler_ = new TAdvMenuStyler(this);
    internalMenuStyler_->SetName("InternalMenuStyler");

    colorHot_.SetColor(clNone);
    colorHot_.SetColorTo(clNone);

    containerAppearance_.OnChange = notify(scContainer);
    glowButtonAppearance_.OnChange = notify(scGlowButtons);
    compactGlowButtonAppearance_.OnChange = notify(scGlowButtons);
    pagerCaption_.OnChange = notify(scPagerCaption);
    tabAppearance_.OnChange = notify(scRibbonTabs);
    pageAppearance_.OnChange = notify(scRibbonTabs);
    groupAppearance_.OnChange = notify(scRibbonTabs);
    qatAppearance_.OnChange = notify(scQuickAccess);
    ApplySystemFontName();
}

TCustomAdvToolBarStyler::~TCustomAdvToolBarStyler() {
    // Owned components (the internal menu styler) are gone by now; make sure no
    // record callback can reach this half-destroyed styler.
    captionAppearance_.OnChange = nullptr;
    color_.OnChange = nullptr;
    dockColor_.OnChange = nullptr;
    containerAppearance_.OnChange = nullptr;
    glowButtonAppearance_.OnChange = nullptr;
    compactGlowButtonAppearance_.OnChange = nullptr;
    pagerCaption_.OnChange = nullptr;
    tabAppearance_.OnChange = nullptr;
    pageAppearance_.OnChange = nullptr;
    groupAppearance_.OnChange = nullptr;
    qatAppearance_.OnChange = nullptr;
}

void TCustomAdvToolBarStyler::ApplySystemFontName() {
    font_.SetName(std::string(SystemUIFontName()));
    captionFont_.SetName(std::string(SystemUIFontName()));
}

void TCustomAdvToolBarStyler::AddControl(TComponent* control) {
    if (!control) return;
    controls_.push_back(control);
    FreeNotification(control);
}

void TCustomAdvToolBarStyler::RemoveControl(TComponent* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it != controls_.end()) controls_.erase(it);
}

void TCustomAdvToolBarStyler::NotifyControls(int code) {
    if (controls_.empty()) return;
    // A control may leave the list (or be destroyed) while it handles the change,
    // so walk a copy and skip entries that are no longer registered.
    std::vector<TComponent*> snapshot = controls_;
    for (TComponent* control : snapshot) {
        if (std::find(controls_.begin(), controls_.end(), control) == controls_.end()) continue;
        auto* client = dynamic_cast<IStylerClient*>(control);
        if (!client) continue;
        if (IStylerClient* compact = client->CompactWindowClient()) compact->StylerChanged(code);
        client->StylerChanged(code);
    }
}

void TCustomAdvToolBarStyler::SetAdvMenuStyler(TCustomAdvMenuStyler* value) {
    if (advMenuStyler_ && advMenuStyler_ != value) advMenuStyler_->RemoveFreeNotification(this);
    advMenuStyler_ = value;
    if (value) value->FreeNotification(this);
    NotifyControls(scMenuStyler);
}

TCustomAdvMenuStyler* TCustomAdvToolBarStyler::CurrentMenuStyler() const {
    return advMenuStyler_ ? advMenuStyler_ : internalMenuStyler_;
}

void TCustomAdvToolBarStyler::SetBackGround(const TBitmap* value) {
    backGround_.Assign(value);
    NotifyControls(scBackground);
}

void TCustomAdvToolBarStyler::SetFont(const TFont* value) {
    font_.Assign(value);
    NotifyControls(scBackground);
}

void TCustomAdvToolBarStyler::SetCaptionFont(const TFont* value) {
    captionFont_.Assign(value);
    NotifyControls(scColors);
}

void TCustomAdvToolBarStyler::SetSystemFont(bool value) {
    if (systemFont_ == value) return;
    systemFont_ = value;
    if (value) ApplySystemFontName();
}

void TCustomAdvToolBarStyler::SetRightHandleImage(const TBitmap* value) {
    rightHandleImage_.Assign(value);
    NotifyControls(scColors);
}

// Copies the toolbar look of another styler: the silent copies first, so that
// the controls the setters and the caption record tell see the whole copy. Not
// copied: ColorHot, CaptionFont, ContainerAppearance, the glow and ribbon
// records, and the values the field list marks Skip.
void TCustomAdvToolBarStyler::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TCustomAdvToolBarStyler*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    if (CurrentMenuStyler() && other->advMenuStyler_) CurrentMenuStyler()->Assign(other->advMenuStyler_);
    color_.Assign(&other->color_);
    dockColor_.Assign(&other->dockColor_);
    backGround_.Assign(&other->backGround_);
    font_.Assign(&other->font_);
    dragGripImage_.Assign(&other->dragGripImage_);
    rightHandleImage_.Assign(&other->rightHandleImage_);
    buttonAppearance_.Assign(&other->buttonAppearance_);
    AssignFields(*this, *other);
    captionAppearance_.Assign(&other->captionAppearance_);
}

void TCustomAdvToolBarStyler::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (HasState(csDestroying) || operation != TOperation::opRemove) return;
    if (component == advMenuStyler_) {
        SetAdvMenuStyler(nullptr);
        return;
    }
    // Every entry goes: a destroyed control registered twice must not leave a
    // dangling second entry behind.
    std::erase(controls_, component);
}

} // namespace emr
