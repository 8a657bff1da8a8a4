#include <gtest/gtest.h>

#include "framework/core/Exception.h"
#include "framework/forms/ActnList.h"
#include "framework/forms/Menu.h"
#include "framework/forms/ShortCut.h"
#include "framework/platform/Backend.h"

namespace emr {
namespace {

using platform::ssAlt;
using platform::ssCtrl;
using platform::ssShift;

TEST(ShortCutText, RoundTripsModifiersAndNamedKeys) {
    EXPECT_EQ(ShortCutToText(ShortCut('S', ssCtrl)), "Ctrl+S");
    EXPECT_EQ(ShortCutToText(ShortCut(0x70, ssShift | ssCtrl)), "Shift+Ctrl+F1");
    EXPECT_EQ(ShortCutToText(ShortCut(0x0D, ssAlt)), "Alt+Enter");
    EXPECT_EQ(ShortCutToText(ShortCut(0x2E, 0)), "Del");
    EXPECT_EQ(ShortCutToText(0), "");
    for (TShortCut sc :
         {ShortCut('A', ssCtrl), ShortCut(0x7B, ssAlt | ssShift), ShortCut('7', 0), ShortCut(0x21, ssCtrl)})
        EXPECT_EQ(TextToShortCut(ShortCutToText(sc)), sc) << ShortCutToText(sc);
    EXPECT_EQ(TextToShortCut("ctrl+shift+x"), ShortCut('X', ssCtrl | ssShift));
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut("Hyper+Q"), 0);
    int key = 0;
    std::uint32_t shift = 0;
    ShortCutToKey(ShortCut('Q', ssAlt | ssCtrl), key, shift);
    EXPECT_EQ(key, 'Q');
    EXPECT_EQ(shift, ssAlt | ssCtrl);
}

TEST(Hotkeys, FindAcceleratorsSkippingEscapedAmpersands) {
    EXPECT_EQ(GetHotkey("Save && &exit"), U'E');
    EXPECT_EQ(GetHotkey("A && B"), 0u);
    EXPECT_EQ(GetHotkey("trailing&"), 0u);
    EXPECT_EQ(GetHotkey("确定(&确)"), U'确');
}

struct MenuFixture : ::testing::Test {
    TComponent form{nullptr};
    TMenuItem* NewItem(const std::string& caption, TMenuItem* parent) {
        auto* item = new TMenuItem(&form);
        item->SetCaption(caption);
        if (parent) parent->Add(item);
        return item;
    }
};

TEST_F(MenuFixture, ItemsInsertMoveRemoveAndDelete) {
    auto* menu = new TMainMenu(&form);
    TMenuItem* file = NewItem("&File", menu->Items());
    TMenuItem* open = NewItem("Open", file);
    TMenuItem* save = NewItem("Save", file);
    TMenuItem* quit = new TMenuItem(&form);
    file->Insert(1, quit);
    ASSERT_EQ(file->Count(), 3);
    EXPECT_EQ(file->Item(0), open);
    EXPECT_EQ(file->Item(1), quit);
    EXPECT_EQ(quit->Parent(), file);
    EXPECT_EQ(quit->GetParentMenu(), menu);
    EXPECT_EQ(file->GetParentComponent(), menu);
    EXPECT_EQ(open->GetParentComponent(), file);
    // Moving an item within its parent keeps it once.
    file->Insert(3, open);
    EXPECT_EQ(file->Count(), 3);
    EXPECT_EQ(file->IndexOf(open), 2);
    EXPECT_THROW(file->Insert(7, NewItem("x", nullptr)), Exception);
    EXPECT_THROW(open->Add(file), Exception) << "a cycle";
    // Remove keeps the item alive; Delete frees it (and its owner forgets it).
    file->Remove(save);
    EXPECT_EQ(save->Parent(), nullptr);
    EXPECT_EQ(form.FindComponent(""), nullptr);
    int before = form.ComponentCount();
    file->Delete(file->IndexOf(quit));
    EXPECT_EQ(form.ComponentCount(), before - 1);
    EXPECT_EQ(file->Find("open"), nullptr);
    EXPECT_EQ(file->Find("Open"), open);
    // Freeing the menu frees the items it still holds, and leaves the detached one.
    TObject::Free(menu);
    EXPECT_EQ(form.ComponentCount(), 2) << "the unparented 'x' and 'Save' remain";
}

TEST_F(MenuFixture, RadioItemsOfOneGroupExcludeEachOther) {
    TMenuItem root(nullptr);
    TMenuItem* a = NewItem("a", &root);
    TMenuItem* b = NewItem("b", &root);
    TMenuItem* c = NewItem("c", &root);
    for (TMenuItem* i : {a, b, c})
        i->SetRadioItem(true);
    c->SetGroupIndex(2);
    a->SetChecked(true);
    c->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(c->Checked()) << "another group";
    root.Clear();
    EXPECT_EQ(root.Count(), 0);
}

TEST_F(MenuFixture, ClickRunsHandlerAutoChecksAndIgnoresDisabledItems) {
    TMenuItem* item = NewItem("x", nullptr);
    int clicks = 0;
    item->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, item);
        ++clicks;
    };
    item->SetAutoCheck(true);
    item->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(item->Checked());
    item->SetEnabled(false);
    item->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(item->Checked());
}

TEST_F(MenuFixture, ClickHandlerMayFreeItsItem) {
    TMenuItem root(nullptr);
    TMenuItem* item = NewItem("x", &root);
    item->OnClick = [&](TObject* sender) { TObject::Free(static_cast<TMenuItem*>(sender)); };
    item->Click();
    EXPECT_EQ(root.Count(), 0);
}

TEST_F(MenuFixture, ShortCutsFindReachableItemsAndChangesAreAnnounced) {
    auto* menu = new TMainMenu(&form);
    TMenuItem* edit = NewItem("Edit", menu->Items());
    TMenuItem* copy = NewItem("Copy", edit);
    copy->SetShortCut(ShortCut('C', ssCtrl));
    int copies = 0;
    copy->OnClick = [&](TObject*) { ++copies; };
    std::vector<std::pair<TMenuItem*, bool>> changes;
    menu->OnChange = [&](TObject*, TMenuItem* source, bool rebuild) {
        changes.emplace_back(source, rebuild);
    };

    EXPECT_TRUE(menu->IsShortCut(ShortCut('C', ssCtrl)));
    EXPECT_FALSE(menu->IsShortCut(ShortCut('C', ssAlt)));
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(menu->FindItemByCommand(copy->Command()), copy);
    EXPECT_NE(copy->Command(), edit->Command());

    edit->SetEnabled(false); // a disabled parent hides the shortcut
    EXPECT_FALSE(menu->IsShortCut(ShortCut('C', ssCtrl)));
    EXPECT_EQ(copies, 1);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], std::make_pair(edit, false));
    NewItem("Paste", edit);
    EXPECT_EQ(changes.back(), std::make_pair(edit, true));
}

} // namespace
} // namespace emr
