#include "framework/core/Collection.h"

#include <algorithm>
#include <string>

#include "framework/core/Exception.h"

namespace emr {

TCollectionItem::TCollectionItem(TCollection* collection) {
    SetCollection(collection);
}

TCollectionItem::~TCollectionItem() {
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection_ == collection) return;
    if (collection_) collection_->RemoveItem(this);
    if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    const auto& items = collection_->items_;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
    int current = Index();
    if (current >= 0 && current != index) collection_->Move(current, index);
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_ && collection_->updateCount_ == 0) {
        if (allItems)
            collection_->Changed();
        else
            collection_->ItemChanged(this);
    }
}

TCollection::TCollection(ItemFactory factory, TPersistent* owner)
    : factory_(std::move(factory)), owner_(owner) {
    if (!factory_) factory_ = [](TCollection* c) { return new TCollectionItem(c); };
}

TCollection::~TCollection() {
    updateCount_ = 1;
    clearing_ = true;
    while (!items_.empty())
        delete items_.back();
}

TCollectionItem* TCollection::Item(int index) const {
    if (index < 0 || index >= Count())
        throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<std::size_t>(index)];
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = factory_(this);
    if (item->collection_ != this) item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) {
    delete Item(index);
}

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    while (!items_.empty())
        delete items_.back();
    EndUpdate();
}

void TCollection::Move(int from, int to) {
    TCollectionItem* item = Item(from);
    to = std::clamp(to, 0, Count() - 1);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, item);
    Changed();
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Assign(const TPersistent* source) {
    auto* other = dynamic_cast<const TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    // Clearing first would empty the source too when it is this collection.
    if (other == this) return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : other->items_)
            Add()->Assign(item);
    } catch (...) {
        // An item that cannot copy must not leave the update open, or no later change is announced.
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Notify(item, true);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    Notify(item, false);
    items_.erase(std::find(items_.begin(), items_.end(), item));
    item->collection_ = nullptr;
    if (!clearing_) Changed();
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::ItemChanged(TCollectionItem* item) {
    if (updateCount_ == 0) Update(item);
}

} // namespace emr
