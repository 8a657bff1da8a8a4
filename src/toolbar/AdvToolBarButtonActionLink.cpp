#include "toolbar/AdvToolBarButtonActionLink.h"

#include "toolbar/AdvCustomToolBarButton.h"

namespace emr {

bool TAdvToolBarButtonActionLink::IsCaptionLinked() const {
    return TActionLink::IsCaptionLinked() && client_->Caption() == CustomAction()->Caption();
}

bool TAdvToolBarButtonActionLink::IsCheckedLinked() const {
    return TActionLink::IsCheckedLinked() && CustomAction()->Checked() == client_->Down();
}

bool TAdvToolBarButtonActionLink::IsEnabledLinked() const {
    return TActionLink::IsEnabledLinked() && client_->Enabled() == CustomAction()->Enabled();
}

bool TAdvToolBarButtonActionLink::IsGroupIndexLinked() const {
    return client_ && IsCustomAction() && CustomAction()->GroupIndex() == client_->GroupIndex();
}

bool TAdvToolBarButtonActionLink::IsHintLinked() const {
    return TActionLink::IsHintLinked() && client_->Hint() == CustomAction()->Hint();
}

bool TAdvToolBarButtonActionLink::IsImageIndexLinked() const {
    return TActionLink::IsImageIndexLinked() && client_->ImageIndex() == CustomAction()->ImageIndex();
}

bool TAdvToolBarButtonActionLink::IsVisibleLinked() const {
    return TActionLink::IsVisibleLinked() && client_->Visible() == CustomAction()->Visible();
}

void TAdvToolBarButtonActionLink::SetCaption(const std::string& value) {
    if (IsCaptionLinked()) client_->SetCaption(value);
}

void TAdvToolBarButtonActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) client_->SetDown(value);
}

void TAdvToolBarButtonActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) client_->SetEnabled(value);
}

void TAdvToolBarButtonActionLink::SetGroupIndex(int value) {
    if (IsGroupIndexLinked()) client_->SetGroupIndex(value);
}

void TAdvToolBarButtonActionLink::SetHint(const std::string& value) {
    if (IsHintLinked()) client_->SetHint(value);
}

void TAdvToolBarButtonActionLink::SetImageIndex(int value) {
    if (IsImageIndexLinked()) client_->SetImageIndex(value);
}

void TAdvToolBarButtonActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) client_->SetVisible(value);
}

void TAdvToolBarButtonActionLink::Change() {
    TActionLink::Change();
    client_->ActionChanged(false);
}

} // namespace emr
