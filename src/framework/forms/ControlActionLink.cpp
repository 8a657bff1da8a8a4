#include "framework/forms/ControlActionLink.h"

namespace emr {

bool TControlActionLink::IsCaptionLinked() const {
    return TActionLink::IsCaptionLinked() && client_->Caption() == CustomAction()->Caption();
}
bool TControlActionLink::IsEnabledLinked() const {
    return TActionLink::IsEnabledLinked() && client_->Enabled() == CustomAction()->Enabled();
}
bool TControlActionLink::IsHintLinked() const {
    return TActionLink::IsHintLinked() && client_->Hint() == CustomAction()->Hint();
}
bool TControlActionLink::IsVisibleLinked() const {
    return TActionLink::IsVisibleLinked() && client_->Visible() == CustomAction()->Visible();
}

void TControlActionLink::SetCaption(const std::string& value) {
    if (IsCaptionLinked()) client_->SetCaption(value);
}
void TControlActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) client_->SetEnabled(value);
}
void TControlActionLink::SetHint(const std::string& value) {
    if (IsHintLinked()) client_->SetHint(value);
}
void TControlActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) client_->SetVisible(value);
}

void TControlActionLink::Change() {
    TActionLink::Change();
    if (OnActionChange) OnActionChange(Action(), false);
}

void ApplyActionToControl(TControl* control, TBasicAction* action, bool checkDefaults) {
    auto* a = dynamic_cast<TCustomAction*>(action);
    if (!control || !a) return;
    if (!checkDefaults || control->Caption().empty()) control->SetCaption(a->Caption());
    if (!checkDefaults || control->Enabled()) control->SetEnabled(a->Enabled());
    if (!checkDefaults || control->Hint().empty()) control->SetHint(a->Hint());
    if (!checkDefaults || control->Visible()) control->SetVisible(a->Visible());
}

} // namespace emr
