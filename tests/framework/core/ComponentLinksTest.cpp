#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Exception.h"

using namespace emr;

namespace {

/// Holds a reference to another component and drops it when told it goes.
class TUser : public TComponent {
    EMR_CLASS(TUser)
public:
    using TComponent::TComponent;
    void Use(TComponent* target) {
        target_ = target;
        if (target) target->FreeNotification(this);
    }
    TComponent* Target() const { return target_; }
    int removals = 0;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component == target_) {
            target_ = nullptr;
            ++removals;
        }
    }

private:
    TComponent* target_ = nullptr;
};

} // namespace

// A component freed with its owner must leave the lists of components outside
// that owner; otherwise their later destruction calls into freed memory.
TEST(ComponentLinks, LinksToOutsideComponentsDieWithTheOwner) {
    auto* outside = new TComponent(nullptr);
    auto* watcherOutside = new TUser(nullptr);
    auto* form = new TComponent(nullptr);
    auto* user = new TUser(form);
    user->Use(outside);
    auto* watched = new TComponent(form);
    watcherOutside->Use(watched);

    TObject::Free(form);
    EXPECT_EQ(watcherOutside->Target(), nullptr);
    EXPECT_EQ(watcherOutside->removals, 1);
    TObject::Free(outside); // must not reach the freed user
    TObject::Free(watcherOutside);
}

TEST(ComponentLinks, ANameClashKeepsTheComponentWithItsOwner) {
    TComponent first(nullptr);
    TComponent second(nullptr);
    auto* moving = new TComponent(&first);
    moving->SetName("Button1");
    auto* resident = new TComponent(&second);
    resident->SetName("button1");

    EXPECT_THROW(second.InsertComponent(moving), Exception);
    EXPECT_EQ(moving->Owner(), &first);
    EXPECT_EQ(first.FindComponent("Button1"), moving);
    EXPECT_EQ(second.ComponentCount(), 1);

    moving->SetName("Button2");
    second.InsertComponent(moving);
    EXPECT_EQ(moving->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(second.FindComponent("BUTTON2"), moving);
}

namespace {

/// Frees a sibling when it hears that a certain component goes.
class TSiblingKiller : public TComponent {
    EMR_CLASS(TSiblingKiller)
public:
    using TComponent::TComponent;
    TComponent* trigger = nullptr;
    TComponent* victim = nullptr;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove && component == trigger && victim) {
            TComponent* doomed = victim;
            victim = nullptr;
            TObject::Free(doomed);
        }
    }
};

} // namespace

// The owner forwards a removal to everything it owns; a handler that frees one of
// those on the way must not make the owner call into the freed component.
TEST(ComponentLinks, HandlerFreeingASiblingDuringANotification) {
    TComponent form(nullptr);
    auto* trigger = new TComponent(&form);
    auto* killer = new TSiblingKiller(&form);
    auto* victim = new TUser(&form);
    auto* bystander = new TUser(&form);
    bystander->Use(victim);
    killer->trigger = trigger;
    killer->victim = victim;

    TObject::Free(trigger);
    EXPECT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(form.Component(0), killer);
    EXPECT_EQ(form.Component(1), bystander);
    EXPECT_EQ(bystander->Target(), nullptr);
}
