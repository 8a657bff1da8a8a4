#include <gtest/gtest.h>

#include <vector>

#include "framework/core/Collection.h"
#include "framework/core/Exception.h"

using namespace emr;

namespace {

class TValueItem : public TCollectionItem {
    EMR_CLASS(TValueItem)
public:
    using TCollectionItem::TCollectionItem;
    int Value() const { return value_; }
    void SetValue(int value) {
        value_ = value;
        Changed(false);
    }
    void Assign(const TPersistent* source) override {
        if (auto* other = dynamic_cast<const TValueItem*>(source)) {
            SetValue(other->value_);
            return;
        }
        TCollectionItem::Assign(source);
    }

private:
    int value_ = 0;
};

/// Records what it is told: null for "everything changed", else the item.
class TRecordingCollection : public TCollection {
    EMR_CLASS(TRecordingCollection)
public:
    TRecordingCollection() : TCollection([](TCollection* c) { return new TValueItem(c); }) {}
    std::vector<TCollectionItem*> updates;
    std::vector<std::pair<TCollectionItem*, bool>> notified;

protected:
    void Update(TCollectionItem* item) override { updates.push_back(item); }
    void Notify(TCollectionItem* item, bool added) override { notified.emplace_back(item, added); }
};

TValueItem* AddValue(TCollection& list, int value) {
    auto* item = static_cast<TValueItem*>(list.Add());
    item->SetValue(value);
    return item;
}

std::vector<int> Values(const TCollection& list) {
    std::vector<int> values;
    for (int i = 0; i < list.Count(); ++i)
        values.push_back(list.ItemAs<TValueItem>(i)->Value());
    return values;
}

} // namespace

TEST(Collection, AssignCopiesItemsAndSelfAssignKeepsThem) {
    TRecordingCollection source;
    AddValue(source, 1);
    AddValue(source, 2);
    TRecordingCollection copy;
    AddValue(copy, 9);
    copy.updates.clear();
    copy.Assign(&source);
    EXPECT_EQ(Values(copy), (std::vector<int>{1, 2}));
    // The whole copy is announced once, as one change of everything.
    EXPECT_EQ(copy.updates, std::vector<TCollectionItem*>{nullptr});

    source.Assign(&source);
    EXPECT_EQ(Values(source), (std::vector<int>{1, 2}));
}

TEST(Collection, FailedAssignDoesNotLeaveAnUpdateOpen) {
    // Plain items cannot copy themselves; the failure must not leave the list
    // stuck in an update that swallows every later change.
    TCollection plainSource;
    plainSource.Add();
    TRecordingCollection list;
    AddValue(list, 1);
    EXPECT_THROW(list.Assign(&plainSource), Exception);
    EXPECT_EQ(list.UpdateCount(), 0);
    list.updates.clear();
    AddValue(list, 5);
    EXPECT_FALSE(list.updates.empty());
}

TEST(Collection, UpdatesAreBatchedAndNameTheChangedItem) {
    TRecordingCollection list;
    auto* a = AddValue(list, 1);
    list.updates.clear();
    a->SetValue(2);
    EXPECT_EQ(list.updates, std::vector<TCollectionItem*>{a});

    list.updates.clear();
    list.BeginUpdate();
    AddValue(list, 3);
    a->SetValue(4);
    list.Delete(0);
    EXPECT_TRUE(list.updates.empty());
    list.EndUpdate();
    EXPECT_EQ(list.updates, std::vector<TCollectionItem*>{nullptr});
    EXPECT_EQ(Values(list), std::vector<int>{3});
}

TEST(Collection, ItemsMoveBetweenCollectionsAndTellBoth) {
    TRecordingCollection from;
    TRecordingCollection to;
    auto* item = AddValue(from, 7);
    from.notified.clear();
    item->SetCollection(&to);
    EXPECT_EQ(from.Count(), 0);
    ASSERT_EQ(to.Count(), 1);
    EXPECT_EQ(item->Collection(), &to);
    EXPECT_EQ(item->Index(), 0);
    EXPECT_EQ(from.notified, (std::vector<std::pair<TCollectionItem*, bool>>{{item, false}}));
    EXPECT_EQ(to.notified, (std::vector<std::pair<TCollectionItem*, bool>>{{item, true}}));

    // Deleting an item through its own destructor leaves the collection consistent.
    delete item;
    EXPECT_EQ(to.Count(), 0);
}
