// The keyboard alone: focus rectangles that show only once keys were used in a
// window, push buttons answering the keys on them, and the message box's keys.

#include <gtest/gtest.h>

#include "FormsHarness.h"
#include "ScopedEnvironment.h"
#include "framework/forms/Button.h"
#include "framework/forms/MessageDialog.h"

namespace emr::testing {
namespace {

constexpr int kFocusInset = 4;

/// True when a dotted focus rectangle runs along the top edge `kFocusInset`
/// inside the button: two neighbouring pixels there, one of them inverted.
bool ShowsFocusRect(FormsHarness& h, const TControl* button) {
    const int y = kFocusInset;
    const std::uint32_t a = h.Pixel(button, button->Width() / 2, y);
    const std::uint32_t b = h.Pixel(button, button->Width() / 2 + 1, y);
    return (a == (kFace ^ 0xFFFFFF)) != (b == (kFace ^ 0xFFFFFF));
}

/// Alt held while `text` is typed into `form`, as a keyboard sends it.
void TypeWithAlt(FormsHarness& h, const TCustomForm* form, const std::string& text) {
    h.Backend().KeyDown(platform::VK_MENU, ssAlt);
    platform::TEvent e;
    e.Type = platform::TEventType::Char;
    e.Window = form->NativeWindow();
    e.Text = text;
    e.Shift = ssAlt;
    h.Backend().Inject(e);
    h.Backend().KeyUp(platform::VK_MENU);
}

struct FocusCueFixture : ::testing::Test {
    FormsHarness h;
    TForm* form = h.NewForm(100, 100, 300, 150);
    TButton* first = Place<TButton>(form, 20, 20, 100, 30);
    TButton* second = Place<TButton>(form, 140, 20, 100, 30);
    std::vector<std::string> clicks;

    void SetUp() override {
        first->SetCaption("First");
        second->SetCaption("&Second");
        first->OnClick = [this](TObject*) { clicks.push_back("first"); };
        second->OnClick = [this](TObject*) { clicks.push_back("second"); };
        form->Show();
        h.App().ProcessMessages();
    }
};

TEST_F(FocusCueFixture, MouseOnlyUseNeverShowsTheFocusRectangleTheKeyboardDoes) {
    h.ClickOn(first);
    h.App().ProcessMessages();
    ASSERT_TRUE(first->Focused()) << "a click focuses a push button";
    EXPECT_FALSE(form->KeyboardCues());
    EXPECT_FALSE(ShowsFocusRect(h, first)) << "the mouse alone drew a focus rectangle";

    // Shift held for a click is not keyboard use either.
    h.Backend().KeyDown(platform::VK_SHIFT, ssShift);
    h.App().ProcessMessages();
    EXPECT_FALSE(ShowsFocusRect(h, first));
    h.Backend().KeyUp(platform::VK_SHIFT, 0);

    h.Backend().Key(platform::VK_TAB);
    h.App().ProcessMessages();
    ASSERT_TRUE(second->Focused());
    EXPECT_TRUE(form->KeyboardCues());
    EXPECT_TRUE(ShowsFocusRect(h, second));
    EXPECT_FALSE(ShowsFocusRect(h, first)) << "only the focused button shows it";

    // Once shown, the cues stay for the window, also after a click.
    h.ClickOn(first);
    h.App().ProcessMessages();
    EXPECT_TRUE(ShowsFocusRect(h, first));
}

TEST_F(FocusCueFixture, EnterPressesTheFocusedButtonRatherThanTheDefaultOne) {
    first->SetDefault(true);
    second->SetFocus();
    h.Backend().Key(platform::VK_RETURN);
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, (std::vector<std::string>{"second"}));

    // The accelerator works with Alt, and without it while a button has the focus.
    first->SetFocus();
    TypeWithAlt(h, form, "s");
    h.App().ProcessMessages();
    first->SetFocus();
    h.Backend().TypeText("s");
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, (std::vector<std::string>{"second", "second", "second"}));
    EXPECT_TRUE(second->Focused()) << "the accelerator moves the focus to its button";
}

struct MessageBoxKeysFixture : ::testing::Test {
    FormsHarness h;
    TForm* owner = h.NewForm(300, 200, 300, 150);
    TScopedEnvironment locale{"LC_ALL", "zh_CN.UTF-8"};

    void SetUp() override {
        h.App().SetMainForm(owner);
        owner->Show();
        h.App().ProcessMessages();
    }
    TCustomForm* Box() { return h.FindFormByClass("TMessageForm"); }

    /// Shows a box and plays `keys` (one batch per idle step) into it.
    int Answer(unsigned flags, std::vector<std::function<void()>> keys) {
        std::size_t step = 0;
        h.OnIdle([&] {
            if (!Box() || step >= keys.size()) return false;
            keys[step++]();
            return true;
        });
        const int result = ShowMessageDialog("text", "提示", flags);
        h.App().OnIdle = nullptr;
        return result;
    }
    std::function<void()> Key(int key, TShiftState shift = 0) {
        return [this, key, shift] { h.Backend().Key(key, shift); };
    }
};

TEST_F(MessageBoxKeysFixture, TabArrowsAcceleratorsAndEscChooseTheAnswer) {
    using platform::VK_ESCAPE;
    using platform::VK_RETURN;
    using platform::VK_RIGHT;
    using platform::VK_SPACE;
    using platform::VK_TAB;
    EXPECT_EQ(Answer(MB_YESNO, {Key(VK_TAB), Key(VK_RETURN)}), IDNO);
    EXPECT_EQ(Answer(MB_YESNOCANCEL, {Key(VK_RIGHT), Key(VK_RIGHT), Key(VK_SPACE)}), IDCANCEL);
    EXPECT_EQ(Answer(MB_YESNOCANCEL, {Key(VK_TAB, ssShift), Key(VK_RETURN)}), IDCANCEL)
        << "Shift+Tab wraps to the last button";
    EXPECT_EQ(Answer(MB_YESNO, {[this] { h.Backend().TypeText("n"); }}), IDNO) << "否(&N) by its letter";
    EXPECT_EQ(Answer(MB_YESNOCANCEL, {[this] { TypeWithAlt(h, Box(), "y"); }}), IDYES);
    EXPECT_EQ(Answer(MB_ABORTRETRYIGNORE, {[this] { h.Backend().TypeText("i"); }}), IDIGNORE);
    EXPECT_EQ(Answer(MB_YESNOCANCEL, {Key(VK_ESCAPE)}), IDCANCEL);
}

TEST_F(MessageBoxKeysFixture, ABoxOpenedByTheKeyboardShowsItsFocusOneOpenedByTheMouseDoesNot) {
    auto* opener = Place<TButton>(owner, 20, 20, 100, 30);
    bool cuesShown = false;
    bool focusDrawn = false;
    int opened = 0;
    opener->OnClick = [&](TObject*) {
        h.OnIdle([&] {
            TCustomForm* box = Box();
            if (!box) return false;
            cuesShown = box->KeyboardCues();
            focusDrawn = ShowsFocusRect(h, box->ActiveControl());
            h.Backend().Key(platform::VK_ESCAPE);
            return true;
        });
        ++opened;
        ShowMessageDialog("text", "提示", MB_OK);
        h.App().OnIdle = nullptr;
    };
    h.ClickOn(opener);
    h.App().ProcessMessages();
    EXPECT_FALSE(cuesShown);
    EXPECT_FALSE(focusDrawn);

    EXPECT_EQ(opened, 1);

    // Back on the owner, the keyboard opens the box again.
    const TPoint empty = owner->ClientToScreen({owner->ClientWidth() - 5, owner->ClientHeight() - 5});
    h.Backend().Click(empty.X, empty.Y);
    opener->SetFocus();
    h.Backend().Key(platform::VK_SPACE);
    h.App().ProcessMessages();
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(cuesShown);
    EXPECT_TRUE(focusDrawn);
}

} // namespace
} // namespace emr::testing
