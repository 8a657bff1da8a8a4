#pragma once

#include <functional>
#include <vector>

#include "framework/core/Object.h"

namespace emr {

class TCollection;

/// One item of a TCollection; owned by it.
class TCollectionItem : public TPersistent {
    EMR_CLASS(TCollectionItem)
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    /// Moves the item into another collection (or none).
    void SetCollection(TCollection* collection);
    int Index() const;
    /// Moves the item to another position in its collection.
    void SetIndex(int index);
    int ID() const { return id_; }

protected:
    /// Tells the collection that this item changed (AllItems: every item did).
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

/// An owned, ordered list of items of one class.
class TCollection : public TPersistent {
    EMR_CLASS(TCollection)
public:
    using ItemFactory = std::function<TCollectionItem*(TCollection*)>;

    /// Items are made by `factory`; the default makes plain TCollectionItems.
    explicit TCollection(ItemFactory factory = {}, TPersistent* owner = nullptr);
    ~TCollection() override;

    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Item(int index) const;
    template <class T> T* ItemAs(int index) const { return static_cast<T*>(Item(index)); }

    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    /// Exchanges positions (the item at `from` ends up at `to`).
    void Move(int from, int to);

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    TPersistent* Owner() const { return owner_; }
    void Assign(const TPersistent* source) override;

protected:
    /// Called after a change; `item` is null when the whole collection changed.
    virtual void Update(TCollectionItem* item) { (void)item; }
    /// Tells the collection an item was added (opInsert) or removed.
    virtual void Notify(TCollectionItem* item, bool added) { (void)item, (void)added; }

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void Changed();
    void ItemChanged(TCollectionItem* item);

    ItemFactory factory_;
    TPersistent* owner_ = nullptr;
    std::vector<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
    bool clearing_ = false;
};

} // namespace emr
