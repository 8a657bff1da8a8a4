#include "framework/forms/ActnList.h"

#include <algorithm>

#include "framework/graphics/ImageList.h"

namespace emr {

// ---------------------------------------------------------------- links

TBasicActionLink::~TBasicActionLink() {
    SetAction(nullptr);
}

void TBasicActionLink::SetAction(TBasicAction* action) {
    if (action == action_) return;
    if (action_) action_->UnRegisterChanges(this);
    action_ = action;
    if (action_) action_->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* component) {
    if (!action_) return false;
    TComponentRef<TBasicAction> action(action_);
    action_->SetActionComponent(component);
    bool result = action_->Execute();
    // The handler may have freed the action.
    if (action) action->SetActionComponent(nullptr);
    return result;
}

bool TBasicActionLink::Update() {
    return action_ && action_->Update();
}

void TBasicActionLink::Change() {
    if (OnChange) OnChange(action_);
}

bool TActionLink::IsCustomAction() const {
    return dynamic_cast<TCustomAction*>(Action()) != nullptr;
}

TCustomAction* TActionLink::CustomAction() const {
    return dynamic_cast<TCustomAction*>(Action());
}

// ---------------------------------------------------------------- TBasicAction

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
    TBasicAction::BeforeDestruction();
}

void TBasicAction::BeforeDestruction() {
    // Links outlive the action only as empty links.
    while (!links_.empty()) {
        TBasicActionLink* link = links_.back();
        links_.pop_back();
        link->action_ = nullptr;
    }
    TComponent::BeforeDestruction();
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
    if (link && std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
    auto it = std::find(links_.begin(), links_.end(), link);
    if (it != links_.end()) links_.erase(it);
}

void TBasicAction::Change() {
    // A client may drop its link while reacting; walk a copy and skip the departed.
    std::vector<TBasicActionLink*> links = links_;
    for (TBasicActionLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
}

// ---------------------------------------------------------------- TContainedAction

TContainedAction::TContainedAction(TComponent* owner) : TBasicAction(owner) {}

void TContainedAction::BeforeDestruction() {
    SetActionList(nullptr);
    TBasicAction::BeforeDestruction();
}

void TContainedAction::SetActionList(TActionList* list) {
    if (list == actionList_) return;
    if (actionList_) actionList_->RemoveAction(this);
    if (list) list->AddAction(this);
}

int TContainedAction::Index() const {
    if (!actionList_) return -1;
    const auto& list = actionList_->Actions();
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TContainedAction::SetCategory(const std::string& category) {
    if (category == category_) return;
    category_ = category;
    Change();
}

bool TContainedAction::Execute() {
    if (actionList_ && actionList_->OnExecute) {
        bool handled = false;
        TComponentRef<TContainedAction> self(this);
        actionList_->OnExecute(this, handled);
        if (handled) return true;
        if (!self) return false;
    }
    return TBasicAction::Execute();
}

bool TContainedAction::Update() {
    if (actionList_ && actionList_->OnUpdate) {
        bool handled = false;
        TComponentRef<TContainedAction> self(this);
        actionList_->OnUpdate(this, handled);
        if (handled) return true;
        if (!self) return false;
    }
    return TBasicAction::Update();
}

TComponent* TContainedAction::GetParentComponent() const {
    return actionList_;
}

void TContainedAction::SetParentComponent(TComponent* parent) {
    if (auto* list = dynamic_cast<TActionList*>(parent)) SetActionList(list);
}

// ---------------------------------------------------------------- TCustomAction

TCustomAction::TCustomAction(TComponent* owner) : TContainedAction(owner) {}

template <class F> void TCustomAction::ForEachLink(F f) {
    std::vector<TBasicActionLink*> links = Links();
    for (TBasicActionLink* link : links)
        if (auto* l = dynamic_cast<TActionLink*>(link)) f(*l);
}

void TCustomAction::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    ForEachLink([&](TActionLink& l) { l.SetCaption(caption); });
    caption_ = caption;
    Change();
}

void TCustomAction::SetChecked(bool checked) {
    if (checking_ || checked == checked_) return;
    checking_ = true;
    ForEachLink([&](TActionLink& l) { l.SetChecked(checked); });
    checked_ = checked;
    if (checked && groupIndex_ > 0 && ActionList()) {
        for (TContainedAction* other : ActionList()->Actions()) {
            auto* peer = dynamic_cast<TCustomAction*>(other);
            if (peer && peer != this && peer->groupIndex_ == groupIndex_) peer->SetChecked(false);
        }
    }
    checking_ = false;
    Change();
}

void TCustomAction::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    ForEachLink([&](TActionLink& l) { l.SetEnabled(enabled); });
    enabled_ = enabled;
    Change();
}

void TCustomAction::SetGroupIndex(int groupIndex) {
    if (groupIndex == groupIndex_) return;
    ForEachLink([&](TActionLink& l) { l.SetGroupIndex(groupIndex); });
    groupIndex_ = groupIndex;
    // Joining a group with another checked member keeps only one checked.
    if (checked_ && groupIndex_ > 0 && ActionList()) {
        for (TContainedAction* other : ActionList()->Actions()) {
            auto* peer = dynamic_cast<TCustomAction*>(other);
            if (peer && peer != this && peer->groupIndex_ == groupIndex_) peer->SetChecked(false);
        }
    }
    Change();
}

void TCustomAction::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    ForEachLink([&](TActionLink& l) { l.SetHint(hint); });
    hint_ = hint;
    Change();
}

void TCustomAction::SetImageIndex(int imageIndex) {
    if (imageIndex == imageIndex_) return;
    ForEachLink([&](TActionLink& l) { l.SetImageIndex(imageIndex); });
    imageIndex_ = imageIndex;
    Change();
}

void TCustomAction::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortCut_) return;
    ForEachLink([&](TActionLink& l) { l.SetShortCut(shortCut); });
    shortCut_ = shortCut;
    Change();
}

void TCustomAction::SetVisible(bool visible) {
    if (visible == visible_) return;
    ForEachLink([&](TActionLink& l) { l.SetVisible(visible); });
    visible_ = visible;
    Change();
}

void TCustomAction::SetAutoCheck(bool autoCheck) {
    if (autoCheck == autoCheck_) return;
    autoCheck_ = autoCheck;
    Change();
}

TCustomImageList* TCustomAction::Images() const {
    return ActionList() ? ActionList()->Images() : nullptr;
}

bool TCustomAction::Execute() {
    TComponentRef<TCustomAction> self(this);
    Update();
    if (!self || !enabled_) return false;
    if (autoCheck_) SetChecked(groupIndex_ > 0 ? true : !checked_);
    return TContainedAction::Execute();
}

// ---------------------------------------------------------------- TActionList

TActionList::TActionList(TComponent* owner) : TComponent(owner) {}

void TActionList::BeforeDestruction() {
    while (!actions_.empty())
        RemoveAction(actions_.back());
    SetImages(nullptr);
    TComponent::BeforeDestruction();
}

void TActionList::SetImages(TCustomImageList* images) {
    if (images == images_) return;
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images_) FreeNotification(images_);
    Changed();
}

void TActionList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == images_) {
        images_ = nullptr;
        Changed();
    }
    if (auto* action = dynamic_cast<TContainedAction*>(component); action && action->actionList_ == this)
        RemoveAction(action);
}

void TActionList::AddAction(TContainedAction* action) {
    actions_.push_back(action);
    action->actionList_ = this;
    FreeNotification(action);
    Changed();
}

void TActionList::RemoveAction(TContainedAction* action) {
    auto it = std::find(actions_.begin(), actions_.end(), action);
    if (it == actions_.end()) return;
    actions_.erase(it);
    action->actionList_ = nullptr;
    RemoveFreeNotification(action);
    Changed();
}

void TActionList::Changed() {
    if (OnChange && !HasState(csDestroying)) OnChange(this);
}

} // namespace emr
