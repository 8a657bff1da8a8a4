#include "framework/forms/Menu.h"

#include "framework/controls/Control.h"
#include "framework/graphics/ImageList.h"

namespace emr {

namespace {

TMenuItem* FindInTree(TMenuItem* root, const std::function<bool(TMenuItem*)>& match) {
    for (TMenuItem* item : root->Items()) {
        if (match(item)) return item;
        if (TMenuItem* found = FindInTree(item, match)) return found;
    }
    return nullptr;
}

} // namespace

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
    // The root item is private to the menu: not in any owner tree.
    items_ = new TMenuItem(nullptr);
    items_->menu_ = this;
}

TMenu::~TMenu() {
    TMenu::BeforeDestruction();
}

void TMenu::BeforeDestruction() {
    if (items_) {
        TMenuItem* root = items_;
        root->menu_ = nullptr;
        items_ = nullptr;
        TObject::Free(root);
    }
    SetImages(nullptr);
    TComponent::BeforeDestruction();
}

TBiDiMode TMenu::BiDiMode() const {
    if (parentBiDiMode_)
        for (TComponent* c = Owner(); c; c = c->Owner())
            if (auto* control = dynamic_cast<TControl*>(c)) return control->BiDiMode();
    return biDiMode_;
}

void TMenu::SetImages(TCustomImageList* images) {
    if (images == images_) return;
    if (images_) RemoveFreeNotification(images_);
    images_ = images;
    if (images_) FreeNotification(images_);
    ItemChanged(nullptr, false);
}

TMenuItem* TMenu::FindItemByCommand(int command) const {
    if (!items_) return nullptr;
    return FindInTree(items_, [command](TMenuItem* i) { return i->Command() == command; });
}

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortCut) const {
    if (!items_ || shortCut == 0) return nullptr;
    return FindInTree(items_, [shortCut](TMenuItem* i) {
        if (i->ShortCut() != shortCut || !i->Enabled() || !i->Visible()) return false;
        // Items under a disabled or hidden parent cannot be reached.
        for (TMenuItem* p = i->Parent(); p && p->Parent(); p = p->Parent())
            if (!p->Enabled() || !p->Visible()) return false;
        return true;
    });
}

bool TMenu::IsShortCut(TShortCut shortCut) {
    TMenuItem* item = FindItemByShortCut(shortCut);
    if (!item) return false;
    item->Click();
    return true;
}

void TMenu::ItemChanged(TMenuItem* source, bool rebuild) {
    if (HasState(csDestroying) || HasState(csLoading)) return;
    if (OnChange) OnChange(this, source, rebuild);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && images_ && component == images_) images_ = nullptr;
}

} // namespace emr
