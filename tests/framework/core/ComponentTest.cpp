#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "framework/core/ClassRegistry.h"
#include "framework/core/Collection.h"
#include "framework/core/Component.h"
#include "framework/core/Exception.h"

using namespace emr;

namespace {

// Records removals it hears about and drops its reference like real users do.
class TWatcher : public TComponent {
    EMR_CLASS(TWatcher)
public:
    using TComponent::TComponent;
    TComponent* Watched = nullptr;
    std::vector<std::string> Heard;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove) {
            Heard.push_back(component->Name());
            if (component == Watched) Watched = nullptr;
        }
    }
};

// Counts every notification it hears; optionally runs a reaction to removals.
class TCounter : public TComponent {
    EMR_CLASS(TCounter)
public:
    using TComponent::TComponent;
    int Inserts = 0;
    std::vector<TComponent*> Removed;
    std::function<void(TComponent*)> OnRemoval;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opInsert) {
            ++Inserts;
            return;
        }
        Removed.push_back(component);
        if (OnRemoval) OnRemoval(component);
    }
};

// Holds a sibling and reads it when told of its removal, as a toolbar reads the
// controls it lists when it saves its layout.
class THolder : public TComponent {
    EMR_CLASS(THolder)
public:
    using TComponent::TComponent;
    TComponent* Held = nullptr;
    std::string* Seen = nullptr; // outlives the holder

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component == Held) {
            if (Seen) *Seen = Held->Name();
            Held = nullptr;
        }
    }
};

class TDestroyLog : public TComponent {
    EMR_CLASS(TDestroyLog)
public:
    TDestroyLog(TComponent* owner, std::vector<std::string>* log) : TComponent(owner), log_(log) {}
    ~TDestroyLog() override { log_->push_back(Name()); }

private:
    std::vector<std::string>* log_;
};

} // namespace

TEST(Component, OwnerDestroysOwnedNewestFirst) {
    std::vector<std::string> log;
    auto* owner = new TComponent(nullptr);
    auto* a = new TDestroyLog(owner, &log);
    a->SetName("A");
    auto* b = new TDestroyLog(owner, &log);
    b->SetName("B");
    auto* c = new TDestroyLog(b, &log);
    c->SetName("C");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent("b"), b);
    TObject::Free(owner);
    EXPECT_EQ(log, (std::vector<std::string>{"C", "B", "A"}));
}

TEST(Component, FreeNotificationClearsReferencesEitherWay) {
    auto* styler = new TComponent(nullptr);
    styler->SetName("Styler");
    auto* user = new TWatcher(nullptr);
    user->Watched = styler;
    styler->FreeNotification(user);
    TObject::Free(styler);
    EXPECT_EQ(user->Watched, nullptr);
    EXPECT_EQ(user->Heard, (std::vector<std::string>{"Styler"}));

    // Removing the link means no notification afterwards.
    auto* other = new TComponent(nullptr);
    other->FreeNotification(user);
    other->RemoveFreeNotification(user);
    TObject::Free(other);
    EXPECT_EQ(user->Heard.size(), 1u);
    TObject::Free(user);
}

TEST(Component, SiblingsHearOfRemovalsInTheirOwner) {
    auto* form = new TComponent(nullptr);
    auto* watcher = new TWatcher(form);
    auto* styler = new TComponent(form);
    styler->SetName("Styler");
    watcher->Watched = styler;
    TObject::Free(styler);
    EXPECT_EQ(watcher->Watched, nullptr);
    EXPECT_EQ(form->ComponentCount(), 1);
    TObject::Free(form);
}

TEST(Component, ClosingAnOwnerTellsEachRemovalOnlyToTheOwnerAndWhoAskedFor) {
    // The owner's teardown told every removal to every sibling: quadratic in the
    // number of components. Now the siblings that hold references ask for it.
    constexpr int kComponents = 50;
    auto* form = new TCounter(nullptr);
    std::vector<TCounter*> counters;
    auto* holder = new THolder(form);
    for (int i = 0; i < kComponents; ++i)
        counters.push_back(new TCounter(form));
    auto* held = new TComponent(form);
    held->SetName("Held");
    holder->Held = held;
    std::string seen;
    holder->Seen = &seen;
    held->FreeNotification(holder);
    int heardBySiblings = 0;
    for (TCounter* c : counters)
        c->OnRemoval = [&heardBySiblings](TComponent*) { ++heardBySiblings; };
    int heardByOwner = 0;
    form->OnRemoval = [&heardByOwner](TComponent*) { ++heardByOwner; };
    TObject::Free(form);
    EXPECT_EQ(heardBySiblings, 0);
    EXPECT_EQ(heardByOwner, kComponents + 2);
    // Told while what it holds was still whole.
    EXPECT_EQ(seen, "Held");
}

TEST(Component, SiblingsHearOfARemovalOnceAndOfNoInsert) {
    TComponent form(nullptr);
    auto* first = new TCounter(&form);
    auto* second = new TCounter(&form);
    auto* third = new TCounter(&form);
    new TComponent(&form);
    EXPECT_EQ(first->Inserts + second->Inserts + third->Inserts, 0);

    // The first sibling told frees the third and adds a component: the third is
    // not touched after it went, and every other sibling hears exactly once.
    auto* gone = new TComponent(&form);
    bool freedThird = false;
    first->OnRemoval = [&](TComponent* c) {
        if (c != gone || freedThird) return;
        freedThird = true;
        TObject::Free(third);
        new TCounter(&form);
    };
    TObject::Free(gone);
    EXPECT_TRUE(freedThird);
    EXPECT_EQ(std::count(first->Removed.begin(), first->Removed.end(), gone), 1);
    EXPECT_EQ(std::count(second->Removed.begin(), second->Removed.end(), gone), 1);
    EXPECT_EQ(form.ComponentCount(), 4);
}

TEST(Component, NamesIndexFollowsRenamesOwnersAndFrees) {
    TComponent owner(nullptr);
    TComponent other(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName("Button1");
    EXPECT_EQ(owner.FindComponent("BUTTON1"), a);
    a->SetName("Save");
    EXPECT_EQ(owner.FindComponent("button1"), nullptr);
    EXPECT_EQ(owner.FindComponent("sAVE"), a);
    // The old name is free for another component.
    auto* b = new TComponent(&owner);
    b->SetName("Button1");
    EXPECT_EQ(owner.FindComponent("Button1"), b);
    // A component taken by another owner is found there only.
    other.InsertComponent(a);
    EXPECT_EQ(owner.FindComponent("Save"), nullptr);
    EXPECT_EQ(other.FindComponent("save"), a);
    a->SetName("");
    EXPECT_EQ(other.FindComponent("save"), nullptr);
    TObject::Free(b);
    EXPECT_EQ(owner.FindComponent("Button1"), nullptr);
    auto* c = new TComponent(&owner);
    c->SetName("button1");
    EXPECT_EQ(owner.FindComponent("Button1"), c);
    TObject::Free(a);
}

TEST(Component, NamesAreUniqueWithinOwnerAndValid) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName("Button1");
    auto* b = new TComponent(&owner);
    EXPECT_THROW(b->SetName("button1"), Exception);
    EXPECT_THROW(b->SetName("1abc"), Exception);
    b->SetName("Button2");
    EXPECT_EQ(b->Name(), "Button2");
}

TEST(Component, LifeTokenExpiresWhenFreed) {
    auto* c = new TComponent(nullptr);
    TComponentRef<TComponent> ref(c);
    EXPECT_EQ(ref.Get(), c);
    TObject::Free(c);
    EXPECT_EQ(ref.Get(), nullptr);
}

TEST(Persistent, DefaultAssignNamesBothClasses) {
    TComponent a(nullptr);
    TCollection b;
    try {
        a.Assign(&b);
        FAIL() << "assign should fail";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TCollection to a TComponent");
    }
}

TEST(Collection, AddMoveDeleteKeepsOrderAndIds) {
    TCollection list;
    auto* first = list.Add();
    auto* second = list.Add();
    auto* third = list.Add();
    EXPECT_EQ(third->ID(), 2);
    third->SetIndex(0);
    EXPECT_EQ(list.Item(0), third);
    EXPECT_EQ(first->Index(), 1);
    list.Delete(1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1), second);
    EXPECT_THROW(list.Item(5), Exception);
}

TEST(ClassRegistry, CreatesByNameAndFindsInheritedProperties) {
    RegisterCoreClasses();
    const TClassInfo* info = TClassRegistry::Instance().Find("tcomponent");
    ASSERT_NE(info, nullptr);
    TComponent owner(nullptr);
    TComponent* made = info->Create(&owner);
    const TPropInfo* name = info->FindProperty("NAME");
    ASSERT_NE(name, nullptr);
    name->Set(made, std::string("Made"));
    EXPECT_EQ(owner.FindComponent("Made"), made);
    EXPECT_EQ(std::get<std::string>(name->Get(made)), "Made");
}
