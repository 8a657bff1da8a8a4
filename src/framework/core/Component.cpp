#include "framework/core/Component.h"

#include <algorithm>

#include "framework/core/AsciiCase.h"
#include "framework/core/Exception.h"

namespace emr {

namespace {

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
    // Every owned component goes too, so only the owner hears of each removal;
    // the siblings that hold references asked for the free notification.
    while (!components_.empty()) {
        TComponent* child = components_.back();
        EraseOwned(components_.size() - 1);
        UnindexName(child);
        child->owner_ = nullptr;
        Notification(child, TOperation::opRemove);
        TObject::Free(child);
    }
}

/// A walk over the owned list that tells of one removal. The list may change
/// under it (a handler frees or adds siblings): erasing an entry moves the walks'
/// positions, so the walk needs no copy of the list, tells every sibling that
/// stays exactly once and never touches one that went. Components added meanwhile
/// lie past its end.
struct TComponent::TRemovalWalk {
    std::size_t Next;
    std::size_t End;
    TRemovalWalk* Outer;
};

void TComponent::NotifyOwnedOfRemoval(TComponent* component) {
    TRemovalWalk walk{0, components_.size(), removalWalks_};
    removalWalks_ = &walk;
    struct TPop {
        TComponent* Owner;
        TRemovalWalk* Outer;
        ~TPop() { Owner->removalWalks_ = Outer; }
    } pop{this, walk.Outer};
    while (walk.Next < walk.End) {
        TComponent* sibling = components_[walk.Next++];
        if (sibling != component) sibling->Notification(component, TOperation::opRemove);
    }
}

void TComponent::EraseOwned(std::size_t index) {
    components_.erase(components_.begin() + static_cast<std::ptrdiff_t>(index));
    for (TRemovalWalk* walk = removalWalks_; walk; walk = walk->Outer) {
        if (index < walk->Next) --walk->Next;
        if (index < walk->End) --walk->End;
    }
}

void TComponent::IndexName(TComponent* component) {
    if (!component->name_.empty()) names_[AsciiLower(component->name_)] = component;
}

void TComponent::UnindexName(TComponent* component) {
    if (component->name_.empty()) return;
    auto it = names_.find(AsciiLower(component->name_));
    if (it != names_.end() && it->second == component) names_.erase(it);
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name)) throw Exception("'" + name + "' is not a valid component name");
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this) throw Exception("A component named " + name + " already exists");
    }
    if (owner_) owner_->UnindexName(this);
    name_ = name;
    if (owner_) owner_->IndexName(this);
    NameChanged();
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    auto it = names_.find(AsciiLower(name));
    return it == names_.end() ? nullptr : it->second;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this) return;
    if (!component->name_.empty() && FindComponent(component->name_))
        throw Exception("A component named " + component->name_ + " already exists");
    if (component->owner_) component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
    IndexName(component);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    Notification(component, TOperation::opRemove);
    if (!HasState(csDestroying)) NotifyOwnedOfRemoval(component);
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end()) EraseOwned(static_cast<std::size_t>(it - components_.begin()));
    UnindexName(component);
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
}

} // namespace emr
