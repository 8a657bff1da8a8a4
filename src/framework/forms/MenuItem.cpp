#include "framework/forms/MenuItem.h"

#include <algorithm>

#include "framework/controls/AccessibleChanges.h"
#include "framework/core/Exception.h"
#include "framework/forms/Menu.h"
#include "framework/graphics/Canvas.h"

namespace emr {

namespace {

int NextCommand() {
    static int next = 0;
    return ++next;
}

} // namespace

// ---------------------------------------------------------------- action link

bool TMenuActionLink::IsCaptionLinked() const {
    return TActionLink::IsCaptionLinked() && client_->Caption() == CustomAction()->Caption();
}
bool TMenuActionLink::IsCheckedLinked() const {
    return TActionLink::IsCheckedLinked() && client_->Checked() == CustomAction()->Checked();
}
bool TMenuActionLink::IsEnabledLinked() const {
    return TActionLink::IsEnabledLinked() && client_->Enabled() == CustomAction()->Enabled();
}
bool TMenuActionLink::IsGroupIndexLinked() const {
    return TActionLink::IsGroupIndexLinked() && client_->GroupIndex() == CustomAction()->GroupIndex();
}
bool TMenuActionLink::IsHintLinked() const {
    return TActionLink::IsHintLinked() && client_->Hint() == CustomAction()->Hint();
}
bool TMenuActionLink::IsImageIndexLinked() const {
    return TActionLink::IsImageIndexLinked() && client_->ImageIndex() == CustomAction()->ImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() const {
    return TActionLink::IsShortCutLinked() && client_->ShortCut() == CustomAction()->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() const {
    return TActionLink::IsVisibleLinked() && client_->Visible() == CustomAction()->Visible();
}

void TMenuActionLink::SetCaption(const std::string& value) {
    if (IsCaptionLinked()) client_->SetCaption(value);
}
void TMenuActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) client_->SetChecked(value);
}
void TMenuActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) client_->SetEnabled(value);
}
void TMenuActionLink::SetGroupIndex(int value) {
    if (IsGroupIndexLinked()) client_->SetGroupIndex(value);
}
void TMenuActionLink::SetHint(const std::string& value) {
    if (IsHintLinked()) client_->SetHint(value);
}
void TMenuActionLink::SetImageIndex(int value) {
    if (IsImageIndexLinked()) client_->SetImageIndex(value);
}
void TMenuActionLink::SetShortCut(TShortCut value) {
    if (IsShortCutLinked()) client_->SetShortCut(value);
}
void TMenuActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) client_->SetVisible(value);
}

void TMenuActionLink::Change() {
    TActionLink::Change();
    client_->ActionChange(Action(), false);
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {}

TMenuItem::~TMenuItem() {
    TMenuItem::BeforeDestruction();
}

void TMenuItem::BeforeDestruction() {
    if (tornDown_) return;
    tornDown_ = true;
    // Leave the parent first so that nobody walks a half-destroyed item.
    if (parent_) parent_->Remove(this);
    while (!items_.empty()) {
        TMenuItem* child = items_.back();
        items_.pop_back();
        child->parent_ = nullptr;
        TObject::Free(child);
    }
    if (actionLink_) {
        if (TBasicAction* action = actionLink_->Action()) RemoveFreeNotification(action);
        actionLink_.reset();
    }
    TComponent::BeforeDestruction();
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    MenuChanged(false);
    TAccessibleChanges::Report(platform::TAccessibleEvent::NameChanged, this);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == shortCut_) return;
    shortCut_ = shortCut;
    MenuChanged(false);
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (checked && radioItem_) TurnSiblingsOff();
    MenuChanged(false);
    TAccessibleChanges::Report(platform::TAccessibleEvent::StateChanged, this);
}

void TMenuItem::TurnSiblingsOff() {
    if (!parent_) return;
    for (TMenuItem* sibling : parent_->items_)
        if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_ &&
            sibling->checked_) {
            sibling->checked_ = false;
            sibling->MenuChanged(false);
        }
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    MenuChanged(false);
    TAccessibleChanges::Report(platform::TAccessibleEvent::StateChanged, this);
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    MenuChanged(true);
}

void TMenuItem::SetImageIndex(int imageIndex) {
    if (imageIndex == imageIndex_) return;
    imageIndex_ = imageIndex;
    MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool radioItem) {
    if (radioItem == radioItem_) return;
    radioItem_ = radioItem;
    if (checked_ && radioItem_) TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetGroupIndex(int groupIndex) {
    if (groupIndex == groupIndex_) return;
    groupIndex_ = groupIndex;
    if (checked_ && radioItem_) TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetDefault(bool value) {
    if (value == default_) return;
    // One default item per level.
    if (value && parent_)
        for (TMenuItem* sibling : parent_->items_)
            sibling->default_ = false;
    default_ = value;
    MenuChanged(false);
}

void TMenuItem::SetHint(const std::string& hint) {
    hint_ = hint;
}

void TMenuItem::SetAutoCheck(bool autoCheck) {
    autoCheck_ = autoCheck;
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) throw Exception("Cannot insert a nil menu item");
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw Exception("A menu item cannot hold itself");
    if (item->parent_) {
        if (item->parent_ == this && IndexOf(item) < index) --index;
        item->parent_->Remove(item);
    }
    if (index < 0 || index > Count()) throw Exception("Menu index out of range");
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    if (item->checked_ && item->radioItem_) item->TurnSiblingsOff();
    MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    MenuChanged(true);
}

void TMenuItem::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception("Menu index out of range");
    TMenuItem* item = items_[static_cast<std::size_t>(index)];
    Remove(item);
    TObject::Free(item);
}

void TMenuItem::Clear() {
    while (!items_.empty())
        Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
    std::string wanted = StripHotkey(caption);
    for (TMenuItem* item : items_)
        if (StripHotkey(item->caption_) == wanted) return item;
    return nullptr;
}

int TMenuItem::VisibleCount() const {
    return static_cast<int>(
        std::count_if(items_.begin(), items_.end(), [](TMenuItem* i) { return i->visible_; }));
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_)
        item = item->parent_;
    return item->menu_;
}

void TMenuItem::SetAction(TBasicAction* action) {
    if (action == Action()) return;
    if (!action) {
        if (TBasicAction* old = Action()) RemoveFreeNotification(old);
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_ = std::make_unique<TMenuActionLink>(this);
    if (TBasicAction* old = Action()) RemoveFreeNotification(old);
    actionLink_->SetAction(action);
    FreeNotification(action);
    ActionChange(action, HasState(csLoading));
}

void TMenuItem::ActionChange(TBasicAction* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || caption_.empty()) SetCaption(action->Caption());
    if (!checkDefaults || !checked_) SetChecked(action->Checked());
    if (!checkDefaults || enabled_) SetEnabled(action->Enabled());
    if (!checkDefaults || groupIndex_ == 0) SetGroupIndex(action->GroupIndex());
    if (!checkDefaults || hint_.empty()) SetHint(action->Hint());
    if (!checkDefaults || imageIndex_ == -1) SetImageIndex(action->ImageIndex());
    if (!checkDefaults || shortCut_ == 0) SetShortCut(action->ShortCut());
    if (!checkDefaults || visible_) SetVisible(action->Visible());
    if (!checkDefaults || !autoCheck_) SetAutoCheck(action->AutoCheck());
}

void TMenuItem::Click() {
    if (!enabled_) return;
    // A linked action does its own auto-check when it runs.
    if (autoCheck_ && !(Action() && !OnClick)) SetChecked(!checked_);
    if (OnClick)
        OnClick(this);
    else if (actionLink_)
        actionLink_->Execute(this);
}

void TMenuItem::MenuChanged(bool rebuild) {
    ++revision_;
    if (HasState(csDestroying)) return;
    if (TMenu* menu = GetParentMenu()) menu->ItemChanged(this, rebuild);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (parent_ && parent_->menu_) return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
    else if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items()->Add(this);
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && actionLink_ && component == actionLink_->Action())
        actionLink_.reset();
}

} // namespace emr
