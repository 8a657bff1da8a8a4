#include <gtest/gtest.h>

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
