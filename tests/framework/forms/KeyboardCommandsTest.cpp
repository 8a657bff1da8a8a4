// Key presses that are commands: menu shortcuts, offered to the form before its
// focused control, and the end of the session, which closes the main form.
#include <gtest/gtest.h>

#include "FormsHarness.h"
#include "framework/forms/Edit.h"
#include "framework/forms/Menu.h"
#include "framework/forms/PopupMenu.h"
#include "framework/forms/ShortCut.h"

namespace emr::testing {
namespace {

using platform::ssCtrl;

struct ShortCutFixture : ::testing::Test {
    FormsHarness h;
    TForm* form = h.NewForm(100, 100, 300, 150);
    TEdit* edit = Place<TEdit>(form, 20, 80, 100, 21);
    TMainMenu* menu = new TMainMenu(form);
    TPopupMenu* popup = new TPopupMenu(form);
    std::vector<std::string> ran;
    std::vector<int> keysSeenByTheEdit;

    TMenuItem* Item(TMenu* owner, const std::string& caption, const char* shortCut) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        item->SetShortCut(TextToShortCut(shortCut));
        item->OnClick = [this, caption](TObject*) { ran.push_back(caption); };
        owner->Items()->Add(item);
        return item;
    }
    void SetUp() override {
        form->SetMenu(menu);
        edit->OnKeyDown = [this](TObject*, int& key, platform::TShiftState) {
            keysSeenByTheEdit.push_back(key);
        };
        form->Show();
        edit->SetFocus();
        h.App().ProcessMessages();
    }
    void Press(int key, platform::TShiftState shift) {
        h.Backend().KeyDown(platform::VK_CONTROL, shift);
        h.Backend().Key(key, shift);
        h.Backend().KeyUp(platform::VK_CONTROL, 0);
        h.App().ProcessMessages();
    }
};

TEST_F(ShortCutFixture, MenuShortcutsRunTheirItemOnceBeforeTheFocusedControlSeesTheKey) {
    Item(menu, "New", "Ctrl+N");
    Item(popup, "Paste", "Ctrl+P");
    TMenuItem* hidden = Item(menu, "Hidden", "Ctrl+H");
    hidden->SetVisible(false);
    TMenuItem* disabled = Item(popup, "Disabled", "Ctrl+D");
    disabled->SetEnabled(false);

    Press('N', ssCtrl);
    Press('P', ssCtrl);
    EXPECT_EQ(ran, (std::vector<std::string>{"New", "Paste"}));
    EXPECT_EQ(std::count(keysSeenByTheEdit.begin(), keysSeenByTheEdit.end(), 'N'), 0)
        << "the focused control saw a key a shortcut took";

    // Items that cannot be chosen leave the key to the control.
    Press('H', ssCtrl);
    Press('D', ssCtrl);
    EXPECT_EQ(ran.size(), 2u);
    EXPECT_EQ(std::count(keysSeenByTheEdit.begin(), keysSeenByTheEdit.end(), 'H'), 1);
    EXPECT_EQ(std::count(keysSeenByTheEdit.begin(), keysSeenByTheEdit.end(), 'D'), 1);
}

TEST_F(ShortCutFixture, AShortcutMayFreeTheFormThatOffersIt) {
    TMenuItem* close = Item(menu, "Close", "Ctrl+W");
    close->OnClick = [this](TObject*) { TObject::Free(form); };
    TComponentRef<TForm> alive(form);
    Press('W', ssCtrl);
    EXPECT_FALSE(alive);
}

TEST(SessionEnd, ClosesTheMainFormAsTheUserWouldAndEndsTheLoop) {
    FormsHarness h;
    TForm* form = h.NewForm(100, 100, 200, 100);
    h.App().SetMainForm(form);
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    form->Show();
    h.App().ProcessMessages();
    platform::TEvent end;
    end.Type = platform::TEventType::SessionEnd;
    h.Backend().Inject(end);
    h.App().Run();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(h.App().Terminated());
}

} // namespace
} // namespace emr::testing
