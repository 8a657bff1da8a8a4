#include "toolbar/Persistence.h"

namespace emr {

void TPersistence::SetLocation(TPersistenceLocation value) {
    if (location_ == value) return;
    location_ = value;
    Changed();
}

void TPersistence::SetKey(const std::string& value) {
    if (key_ == value) return;
    key_ = value;
    Changed();
}

void TPersistence::SetSection(const std::string& value) {
    if (section_ == value) return;
    section_ = value;
    Changed();
}

void TPersistence::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Changed();
}

void TPersistence::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TPersistence*>(source);
    if (!other) return;
    location_ = other->location_;
    key_ = other->key_;
    section_ = other->section_;
    enabled_ = other->enabled_;
}

void TPersistence::Changed() {
    if (OnChange) OnChange(this);
}

} // namespace emr
