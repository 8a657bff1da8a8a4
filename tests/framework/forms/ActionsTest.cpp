#include <gtest/gtest.h>

#include "framework/forms/ActnList.h"
#include "framework/forms/MenuItem.h"

namespace emr {
namespace {

struct ActionFixture : ::testing::Test {
    TComponent form{nullptr};
    TActionList* list = new TActionList(&form);
    TAction* NewAction(const std::string& caption) {
        auto* a = new TAction(&form);
        a->SetCaption(caption);
        a->SetActionList(list);
        return a;
    }
};

TEST_F(ActionFixture, MenuItemFollowsItsActionUntilItDiverges) {
    TAction* action = NewAction("Open");
    action->SetHint("Open a file");
    action->SetImageIndex(3);
    auto* item = new TMenuItem(&form);
    item->SetAction(action);
    EXPECT_EQ(item->Caption(), "Open");
    EXPECT_EQ(item->Hint(), "Open a file");
    EXPECT_EQ(item->ImageIndex(), 3);

    action->SetEnabled(false);
    action->SetChecked(true);
    action->SetCaption("Open...");
    EXPECT_FALSE(item->Enabled());
    EXPECT_TRUE(item->Checked());
    EXPECT_EQ(item->Caption(), "Open...");

    // Once the item shows its own caption, the link no longer overrides it on a caption change.
    item->SetCaption("Mine");
    EXPECT_FALSE(item->ActionLink()->IsCaptionLinked());

    // Freeing the action leaves the item unlinked and whole.
    TObject::Free(action);
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 0);
}

TEST_F(ActionFixture, ExecuteRunsListHandlerThenOwnHandlerAndSkipsWhenDisabled) {
    TAction* action = NewAction("Go");
    std::vector<std::string> calls;
    int listCalls = 0;
    // The list handles the first execution itself and lets the second through.
    list->OnExecute = [&](TBasicAction*, bool& handled) {
        calls.push_back("list");
        handled = ++listCalls == 1;
    };
    action->OnExecute = [&](TObject* sender) {
        EXPECT_EQ(sender, action);
        calls.push_back("action");
    };
    action->OnUpdate = [&](TObject*) { calls.push_back("update"); };
    EXPECT_TRUE(action->Execute());
    EXPECT_TRUE(action->Execute());
    EXPECT_EQ(calls, (std::vector<std::string>{"update", "list", "update", "list", "action"}));
    calls.clear();
    action->SetEnabled(false);
    EXPECT_FALSE(action->Execute());
    EXPECT_EQ(calls, std::vector<std::string>{"update"});
}

TEST_F(ActionFixture, ItemClickExecutesActionWithItemAsActionComponent) {
    TAction* action = NewAction("Go");
    auto* item = new TMenuItem(&form);
    item->SetAction(action);
    TComponent* seen = nullptr;
    action->OnExecute = [&](TObject*) { seen = action->ActionComponent(); };
    item->Click();
    EXPECT_EQ(seen, item);
    EXPECT_EQ(action->ActionComponent(), nullptr);
}

TEST_F(ActionFixture, GroupedAutoCheckActionsBehaveLikeRadioButtons) {
    TAction* left = NewAction("Left");
    TAction* right = NewAction("Right");
    TAction* other = NewAction("Other");
    for (TAction* a : {left, right}) {
        a->SetGroupIndex(1);
        a->SetAutoCheck(true);
        a->OnExecute = [](TObject*) {};
    }
    other->SetChecked(true);
    left->Execute();
    EXPECT_TRUE(left->Checked());
    right->Execute();
    EXPECT_FALSE(left->Checked());
    EXPECT_TRUE(right->Checked());
    right->Execute();
    EXPECT_TRUE(right->Checked()) << "a grouped auto-check action stays checked";
    EXPECT_TRUE(other->Checked()) << "group 0 is no group";
    // An ungrouped auto-check action toggles.
    other->SetAutoCheck(true);
    other->OnExecute = [](TObject*) {};
    other->Execute();
    EXPECT_FALSE(other->Checked());
}

TEST_F(ActionFixture, ExecuteHandlerMayFreeTheAction) {
    TAction* action = NewAction("Close");
    auto* item = new TMenuItem(&form);
    item->SetAction(action);
    action->OnExecute = [&](TObject* sender) { TObject::Free(static_cast<TAction*>(sender)); };
    item->Click();
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 0);
}

TEST_F(ActionFixture, FreeingTheListDetachesItsActions) {
    TAction* action = NewAction("x");
    EXPECT_EQ(action->GetParentComponent(), list);
    EXPECT_EQ(action->Index(), 0);
    TObject::Free(list);
    EXPECT_EQ(action->ActionList(), nullptr);
    EXPECT_EQ(action->Index(), -1);
}

} // namespace
} // namespace emr
