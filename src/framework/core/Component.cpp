#include "framework/core/Component.h"

#include <algorithm>
#include <strings.h>

#include "framework/core/Exception.h"

namespace emr {

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool IsValidIdent(const std::string& name) {
    if (name.empty()) return false;
    auto isAlpha = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (!isAlpha(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin(), name.end(), [&](char ch) {
        auto c = static_cast<unsigned char>(ch);
        return isAlpha(c) || (c >= '0' && c <= '9');
    });
}

void EraseOne(std::vector<TComponent*>& list, TComponent* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}

} // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    // Objects deleted without Free still leave the tree cleanly.
    if (!torndown_) TComponent::BeforeDestruction();
}

void TComponent::BeforeDestruction() {
    if (torndown_) return;
    torndown_ = true;
    Destroying();
    NotifyFreeListeners();
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::Destroying() {
    if (state_ & csDestroying) return;
    state_ |= csDestroying;
    for (TComponent* c : components_)
        c->Destroying();
}

void TComponent::NotifyFreeListeners() {
    while (!freeNotifies_.empty()) {
        TComponent* listener = freeNotifies_.back();
        freeNotifies_.pop_back();
        EraseOne(listener->freeNotifies_, this);
        listener->Notification(this, TOperation::opRemove);
    }
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* child = components_.back();
        components_.pop_back();
        ++ownedChanges_;
        child->owner_ = nullptr;
        Notification(child, TOperation::opRemove);
        TObject::Free(child);
    }
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name)) throw Exception("'" + name + "' is not a valid component name");
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this) throw Exception("A component named " + name + " already exists");
    }
    name_ = name;
    NameChanged();
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameName(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this) return;
    if (!component->name_.empty() && FindComponent(component->name_))
        throw Exception("A component named " + component->name_ + " already exists");
    if (component->owner_) component->owner_->RemoveComponent(component);
    components_.push_back(component);
    ++ownedChanges_;
    component->owner_ = this;
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    Notification(component, TOperation::opRemove);
    EraseOne(components_, component);
    ++ownedChanges_;
    component->owner_ = nullptr;
}

void TComponent::SetDesigning(bool designing) {
    if (designing)
        state_ |= csDesigning;
    else
        state_ &= ~static_cast<TComponentState>(csDesigning);
    for (TComponent* c : components_)
        c->SetDesigning(designing);
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    EraseOne(freeNotifies_, component);
    EraseOne(component->freeNotifies_, this);
}

void TComponent::Loaded() {
    state_ &= ~static_cast<TComponentState>(csLoading | csReading);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
    // Owned components hear about removals in the owner tree too; copy first since
    // a handler may change the list.
    if (components_.empty()) return;
    // While no handler changed the list, every copied entry is still owned, and the
    // search (which would make a notification cost quadratic) is not needed.
    std::vector<TComponent*> owned = components_;
    const std::uint64_t changes = ownedChanges_;
    for (TComponent* c : owned)
        if (c != component && (ownedChanges_ == changes ||
                               std::find(components_.begin(), components_.end(), c) != components_.end()))
            c->Notification(component, operation);
}

} // namespace emr
