// A toolbar by keyboard alone: one Tab stop, the arrow keys among its items,
// Enter and Space pressing them, and the focus rectangle that only keys show.
#include <gtest/gtest.h>

#include <algorithm>

#include "ToolBarFixture.h"
#include "framework/forms/Edit.h"
#include "framework/forms/Screen.h"
#include "toolbar/ATBPopupWindow.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/ControlSelectorPanel.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/OptionWindowKeys.h"
#include "toolbar/ToolBarFocus.h"
#include "toolbar/ToolBarOptionWindow.h"

namespace emr::testing {
namespace {

using platform::VK_DOWN;
using platform::VK_END;
using platform::VK_HOME;
using platform::VK_LEFT;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_SPACE;
using platform::VK_TAB;
using platform::VK_UP;

class ToolBarKeyboardTest : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        toolBar->SetShowOptionIndicator(false);
        a = AddButton("A");
        b = AddButton("B");
        c = AddButton("C");
        d = AddButton("D");
        e = AddButton("E");
        b->SetEnabled(false);
        d->SetVisible(false);
        for (TAdvToolBarButton* button : {a, b, c, d, e})
            button->OnClick = [this, button](TObject*) { clicks.push_back(button->Caption()); };
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 150, 100, 21);
        form->Show();
        Pump();
    }
    void Key(int key, platform::TShiftState shift = 0) {
        backend_->Key(key, shift);
        Pump();
    }
    TControl* Focused() const { return toolBar->KeyboardFocus()->Item(); }

    TAdvToolBarButton *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr, *e = nullptr;
    TEdit* edit = nullptr;
    std::vector<std::string> clicks;
};

TEST_F(ToolBarKeyboardTest, TheToolBarIsOneTabStopAndTheArrowsWalkItsEnabledVisibleButtons) {
    Key(VK_TAB);
    ASSERT_TRUE(toolBar->Focused()) << "the toolbar takes the first Tab";
    EXPECT_EQ(Focused(), a);
    Key(VK_RIGHT);
    EXPECT_EQ(Focused(), c) << "the disabled button is passed over";
    Key(VK_RIGHT);
    EXPECT_EQ(Focused(), e) << "the hidden button is passed over";
    Key(VK_RIGHT);
    EXPECT_EQ(Focused(), a) << "the arrows wrap around";
    Key(VK_LEFT);
    EXPECT_EQ(Focused(), e);
    Key(VK_HOME);
    EXPECT_EQ(Focused(), a);
    Key(VK_END);
    EXPECT_EQ(Focused(), e);

    // One Tab leaves the whole bar; Shift+Tab comes back to the button it left.
    Key(VK_TAB);
    EXPECT_TRUE(edit->Focused());
    Key(VK_TAB, platform::ssShift);
    EXPECT_TRUE(toolBar->Focused());
    EXPECT_EQ(Focused(), e) << "the toolbar remembers its last focused button";

    // A button that became disabled while the focus was away is not taken again.
    Key(VK_TAB);
    e->SetEnabled(false);
    Key(VK_TAB, platform::ssShift);
    EXPECT_EQ(Focused(), a);
    EXPECT_TRUE(clicks.empty()) << "moving the focus pressed nothing";
}

TEST_F(ToolBarKeyboardTest, EnterAndSpacePressTheFocusedButtonACheckButtonToggles) {
    c->SetStyle(TAdvToolButtonStyle::tasCheck);
    Key(VK_TAB);
    Key(VK_RETURN);
    EXPECT_EQ(clicks, (std::vector<std::string>{"A"}));
    Key(VK_RIGHT);
    Key(VK_SPACE);
    EXPECT_TRUE(c->Down()) << "Space checks a check button";
    Key(VK_RETURN);
    EXPECT_FALSE(c->Down()) << "Enter unchecks it";
    EXPECT_EQ(clicks, (std::vector<std::string>{"A", "C", "C"}));

    // The form's default handling never sees a key the bar used.
    int formKeys = 0;
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TObject*, int& key, platform::TShiftState) { formKeys += key == VK_RETURN; };
    Key(VK_RETURN);
    EXPECT_EQ(formKeys, 1) << "key preview still sees it first";
    EXPECT_EQ(clicks.size(), 4u);
}

TEST_F(ToolBarKeyboardTest, DownOpensTheFocusedDropDownAndEnterOpensOneWithoutASplitPart) {
    int dropped = 0;
    c->SetDropDownButton(true);
    c->OnDropDown = [&](TObject*) { ++dropped; };
    Key(VK_TAB);
    Key(VK_DOWN);
    EXPECT_EQ(dropped, 0) << "a plain button has no menu to open";
    Key(VK_RIGHT);
    Key(VK_DOWN);
    EXPECT_EQ(dropped, 1);
    Key(VK_RETURN);
    EXPECT_EQ(dropped, 1) << "Enter presses the button part of a split drop-down";
    EXPECT_EQ(clicks, (std::vector<std::string>{"C"}));
    c->SetDropDownSplit(false);
    Key(VK_RETURN);
    EXPECT_EQ(dropped, 2);
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(ToolBarKeyboardTest, AClickHandlerMayFreeTheToolBarItsKeyPressed) {
    a->OnClick = [this](TObject*) { TObject::Free(toolBar); };
    TComponentRef<TAdvToolBar> alive(toolBar);
    Key(VK_TAB);
    Key(VK_RETURN);
    EXPECT_FALSE(alive);
}

/// The client pixels of the button `control` as the form shows them.
std::vector<std::uint32_t> PixelsOf(platform::HeadlessBackend* backend, TForm* form,
                                    const TControl* control) {
    std::vector<std::uint32_t> pixels;
    const TPoint origin = control->ClientToControl({0, 0}, form);
    for (int y = 0; y < control->Height(); ++y)
        for (int x = 0; x < control->Width(); ++x)
            pixels.push_back(backend->PixelAt(form->NativeWindow(), origin.X + x, origin.Y + y));
    return pixels;
}

TEST_F(ToolBarKeyboardTest, TheFocusRectangleShowsOnlyAfterKeysInvertingEveryOtherPixelOfItsOutline) {
    // The bar has the focus from the start, and the mouse presses its buttons.
    toolBar->SetFocus();
    Pump();
    form->Invalidate();
    form->PaintWindowNow();
    const std::vector<std::uint32_t> before = PixelsOf(backend_, form, a);
    MoveTo(c, 5, 5);
    Press(c, 5, 5);
    Release(c, 5, 5);
    MoveTo(toolBar, 1, toolBar->Height() + 40);
    form->PaintWindowNow();
    EXPECT_EQ(PixelsOf(backend_, form, a), before) << "mouse use drew on the focused button";
    EXPECT_EQ(clicks, (std::vector<std::string>{"C"}));

    Key(VK_HOME);
    form->PaintWindowNow();
    const std::vector<std::uint32_t> after = PixelsOf(backend_, form, a);
    const int w = a->Width(), h = a->Height();
    const TRect outline = TRect{0, 0, w, h}.Inflate(-TToolBarChrome::FocusInset, -TToolBarChrome::FocusInset);
    const TPoint origin = a->ClientToControl({0, 0}, form);
    int inverted = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * w + x);
            const bool onOutline = outline.Contains({x, y}) && (x == outline.Left || x == outline.Right - 1 ||
                                                                y == outline.Top || y == outline.Bottom - 1);
            // Device pixels of the window alternate, whatever the button's offset.
            const bool dotted = onOutline && ((origin.X + x + origin.Y + y) % 2 == 0);
            const std::uint32_t expected = dotted ? (before[i] ^ 0xFFFFFF) : before[i];
            if (after[i] != expected) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << after[i] << ", not "
                              << expected;
                return;
            }
            inverted += dotted;
        }
    EXPECT_GT(inverted, w) << "no outline was drawn";
    EXPECT_TRUE(toolBar->KeyboardFocus()->ShowsRectOn(a));
    EXPECT_FALSE(toolBar->KeyboardFocus()->ShowsRectOn(c));

    // Losing the focus takes the rectangle away.
    Key(VK_TAB);
    form->PaintWindowNow();
    EXPECT_EQ(PixelsOf(backend_, form, a), before);
}

/// The keyboard fixture's toolbar docked and cut down so that all but its first
/// button live in the option window: B (disabled), C and E are listed there, D
/// stays hidden, and the window offers "Add or Remove Buttons".
class OptionWindowKeysTest : public ToolBarKeyboardTest {
protected:
    void SetUp() override {
        ToolBarKeyboardTest::SetUp();
        auto* dock = new TAdvDockPanel(form);
        dock->SetParent(form);
        toolBar->SetParent(dock);
        toolBar->SetShowOptionIndicator(true);
        toolBar->SetAutoOptionMenu(true);
        CutDown();
    }
    /// Leaves room on the bar for its first button only.
    void CutDown() {
        toolBar->SetBoundsAdjustmentSuppressed(true);
        toolBar->SetBounds(toolBar->Left(), toolBar->Top(), GripLength + a->Width() + HandleLength,
                           toolBar->Height());
        toolBar->SetBoundsAdjustmentSuppressed(false);
        Pump();
    }
    /// Focus on the toolbar, End to its option indicator, Enter to open the window.
    void OpenByKeyboard() {
        toolBar->SetFocus();
        Pump();
        ASSERT_TRUE(toolBar->Focused());
        Key(VK_END);
        ASSERT_TRUE(toolBar->KeyboardFocus()->OnIndicator());
        Key(VK_RETURN);
        ASSERT_TRUE(toolBar->OptionWindowVisible());
        ASSERT_EQ(Panel()->ListedControls(), (std::vector<TControl*>{b, c, e}));
    }
    TControlSelectorPanel* Panel() const { return toolBar->OptionWindow()->Panel(); }
    TOptionWindowKeys& Keys() const { return toolBar->KeyboardFocus()->OptionKeys(); }
    /// The highlighted item of the option window's first level, by caption.
    std::string Highlighted() const {
        if (Keys().AddRemoveHighlighted()) return "add-remove";
        return Keys().HighlightedButton() ? Keys().HighlightedButton()->Caption() : "none";
    }
    TATBPopupPanel* Level(int depth) const {
        TATBPopupWindow* window = Panel()->AddRemoveWindow();
        for (int i = 1; window && i < depth; ++i)
            window = window->PopupPanel()->ChildWindow();
        return window && window->Visible() ? window->PopupPanel() : nullptr;
    }

    static constexpr int GripLength = 9;
    static constexpr int HandleLength = 14;
};

TEST_F(OptionWindowKeysTest, TheArrowsMoveTheHoverLookAmongTheEnabledItemsOfTheWindow) {
    ASSERT_NO_FATAL_FAILURE(OpenByKeyboard());
    EXPECT_EQ(Highlighted(), "C") << "the disabled button is passed over";
    EXPECT_TRUE(c->Hot()) << "the highlight is the pointer's hover look";
    Key(VK_RIGHT);
    EXPECT_EQ(Highlighted(), "E");
    EXPECT_FALSE(c->Hot());
    EXPECT_TRUE(e->Hot());
    Key(VK_RIGHT);
    EXPECT_EQ(Highlighted(), "add-remove");
    EXPECT_TRUE(Panel()->AddRemoveHot());
    EXPECT_FALSE(e->Hot());
    Key(VK_LEFT);
    EXPECT_EQ(Highlighted(), "E");
    EXPECT_FALSE(Panel()->AddRemoveHot());
    Key(VK_HOME);
    Key(VK_LEFT);
    EXPECT_EQ(Highlighted(), "add-remove") << "Left wraps round";

    // The buttons share one row above the add-remove item: Up and Down change rows.
    ASSERT_EQ(c->Top(), e->Top());
    Key(VK_UP);
    EXPECT_TRUE(Highlighted() == "C" || Highlighted() == "E") << Highlighted();
    Key(VK_DOWN);
    EXPECT_EQ(Highlighted(), "add-remove");
    Key(VK_DOWN);
    EXPECT_NE(Highlighted(), "add-remove") << "Down wraps round to the top row";
    EXPECT_EQ(toolBar->KeyboardFocus()->Item(), nullptr) << "the bar's own focus stays on the indicator";
    EXPECT_TRUE(toolBar->KeyboardFocus()->OnIndicator());
}

TEST_F(OptionWindowKeysTest, UpAndDownGoToTheItemStraightAboveOrBelowInTheNextRow) {
    for (const char* caption : {"F", "G", "H", "I", "J", "K", "L", "M"})
        AddButton(caption);
    CutDown();
    toolBar->SetFocus();
    Pump();
    Key(VK_END);
    Key(VK_RETURN);
    ASSERT_TRUE(toolBar->OptionWindowVisible());
    ASSERT_EQ(Highlighted(), "C");
    const std::vector<TControl*>& listed = Panel()->ListedControls();
    const auto below = std::find_if(listed.begin(), listed.end(), [this](const TControl* x) {
        return x->Left() == c->Left() && x->Top() > c->Top();
    });
    ASSERT_NE(below, listed.end()) << "the hidden buttons fill more than one row";
    Key(VK_DOWN);
    EXPECT_EQ(Highlighted(), (*below)->Caption());
    Key(VK_UP);
    EXPECT_EQ(Highlighted(), "C");
    Key(VK_UP);
    EXPECT_EQ(Highlighted(), "add-remove") << "Up from the top row wraps round to the bottom one";
    Key(VK_DOWN);
    EXPECT_EQ(Keys().HighlightedButton()->Top(), c->Top())
        << "Down from the bottom row wraps round to the top one";
}

TEST_F(OptionWindowKeysTest, EnterOnAHiddenButtonRunsItsClickOnceAndLeavesNoHoverLookBehind) {
    ASSERT_NO_FATAL_FAILURE(OpenByKeyboard());
    Key(VK_RIGHT);
    ASSERT_EQ(Highlighted(), "E");
    Key(VK_RETURN);
    EXPECT_EQ(clicks, (std::vector<std::string>{"E"}));
    EXPECT_FALSE(toolBar->OptionWindowVisible());
    EXPECT_FALSE(e->Hot()) << "back on the toolbar the button is not hot";
    EXPECT_TRUE(toolBar->Focused());
    EXPECT_TRUE(toolBar->KeyboardFocus()->OnIndicator());
}

TEST_F(OptionWindowKeysTest, HidingTheWindowClearsTheHoverLookOfTheHighlightedButton) {
    ASSERT_NO_FATAL_FAILURE(OpenByKeyboard());
    ASSERT_TRUE(c->Hot());
    Key(platform::VK_ESCAPE);
    ASSERT_FALSE(toolBar->OptionWindowVisible());
    EXPECT_FALSE(c->Hot());
}

TEST_F(OptionWindowKeysTest, AHighlightLeftFromAnEarlierShowingStillPaintsInAWindowTheMouseOpened) {
    ASSERT_NO_FATAL_FAILURE(OpenByKeyboard());
    Key(VK_END);
    ASSERT_TRUE(Panel()->AddRemoveHot());
    Key(platform::VK_ESCAPE);
    ASSERT_FALSE(Panel()->AddRemoveHot());
    Press(toolBar, toolBar->Width() - 7, 10);
    Release(toolBar, toolBar->Width() - 7, 10);
    ASSERT_TRUE(toolBar->OptionWindowVisible());
    ASSERT_TRUE(toolBar->Focused());
    Key(VK_END);
    EXPECT_TRUE(Panel()->AddRemoveHot());
}

TEST_F(OptionWindowKeysTest, TheCascadeOpensHighlightedTogglesVisibilityAndEscGoesBackALevelAtATime) {
    ASSERT_NO_FATAL_FAILURE(OpenByKeyboard());
    Key(VK_END);
    ASSERT_EQ(Highlighted(), "add-remove");
    Key(VK_RETURN);
    TATBPopupPanel* first = Level(1);
    ASSERT_NE(first, nullptr) << "Enter opens the cascade";
    EXPECT_TRUE(Panel()->AddRemoveOpen());
    EXPECT_EQ(first->HotIndex(), 0) << "with its first entry highlighted";

    Key(VK_RETURN);
    TATBPopupPanel* second = Level(2);
    ASSERT_NE(second, nullptr) << "Enter on the toolbar's entry opens its buttons";
    ASSERT_EQ(second->ItemCount(), 5);
    EXPECT_EQ(second->HotIndex(), 0);
    Key(VK_UP);
    EXPECT_EQ(second->HotIndex(), 4) << "Up wraps round";
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);
    ASSERT_EQ(second->HotIndex(), 3);
    ASSERT_EQ(second->RootItem()->Items(3)->Control(), d);
    Key(VK_SPACE);
    EXPECT_TRUE(d->Visible()) << "Space shows the hidden button";
    EXPECT_TRUE(second->RootItem()->Items(3)->Checked);
    Key(VK_RETURN);
    EXPECT_FALSE(d->Visible()) << "Enter hides it again";
    EXPECT_FALSE(second->RootItem()->Items(3)->Checked);
    EXPECT_TRUE(clicks.empty()) << "toggling runs no button";

    Key(VK_LEFT);
    EXPECT_EQ(Level(2), nullptr) << "Left closes the innermost level";
    ASSERT_EQ(Level(1), first);
    EXPECT_EQ(first->HotIndex(), 0);
    Key(VK_RIGHT);
    ASSERT_NE(Level(2), nullptr) << "Right opens it again";
    Key(platform::VK_ESCAPE);
    EXPECT_EQ(Level(2), nullptr);
    EXPECT_NE(Level(1), nullptr) << "Esc goes back one level, not all the way";
    Key(platform::VK_ESCAPE);
    EXPECT_EQ(Level(1), nullptr);
    EXPECT_TRUE(toolBar->OptionWindowVisible());
    EXPECT_FALSE(Panel()->AddRemoveOpen());
    EXPECT_EQ(Highlighted(), "add-remove");
    Key(platform::VK_ESCAPE);
    EXPECT_FALSE(toolBar->OptionWindowVisible());
    EXPECT_TRUE(toolBar->Focused()) << "the last Esc returns to the toolbar";
    EXPECT_TRUE(toolBar->KeyboardFocus()->OnIndicator());
}

/// A window with a dock panel at the top holding toolbar A, one at the bottom
/// holding B, an edit in the client area, and toolbar C floating in its own window.
class PaneCycleTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(100, 100, 400, 300);
        auto* top = new TAdvDockPanel(form);
        top->SetParent(form);
        auto* bottom = new TAdvDockPanel(form);
        bottom->SetAlign(TDockAlign::daBottom);
        bottom->SetParent(form);
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 120, 100, 21);
        a = MakeToolBar(top);
        b = MakeToolBar(bottom);
        c = MakeToolBar(top);
        form->Show();
        Pump();
        floating = TFloatingWindow::FloatToolBar(c, 600, 500, true);
        Pump();
        backend_->Activate(form->NativeWindow());
        edit->SetFocus();
        Pump();
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    TAdvToolBar* MakeToolBar(TWinControl* parent) {
        auto* t = new TAdvToolBar(form);
        auto* button = new TAdvToolBarButton(form);
        button->SetCaption("X");
        button->AttachToToolBar(t);
        t->SetParent(parent);
        return t;
    }
    void Pump() { app->ProcessMessages(); }
    void Key(int key, platform::TShiftState shift = 0) {
        backend_->Key(key, shift);
        Pump();
    }
    /// Which of the four holds the focus of the active window.
    std::string Where() const {
        TWinControl* focused = Screen().ActiveForm() ? Screen().ActiveForm()->ActiveControl() : nullptr;
        if (focused == a) return "A";
        if (focused == b) return "B";
        if (focused == c) return "C";
        if (focused == edit) return "edit";
        return "?";
    }

    platform::HeadlessBackend* backend_ = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TAdvToolBar *a = nullptr, *b = nullptr, *c = nullptr;
    TFloatingWindow* floating = nullptr;
};

TEST_F(PaneCycleTest, F6VisitsEachDockPanelTheFloatingToolBarAndTheClientAreaShiftF6GoesBack) {
    ASSERT_NE(floating, nullptr);
    ASSERT_TRUE(c->Floating());
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        Key(platform::VK_F6);
        seen.push_back(Where());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"A", "B", "C", "edit"}));
    seen.clear();
    for (int i = 0; i < 2; ++i) {
        Key(platform::VK_F6, platform::ssShift);
        seen.push_back(Where());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"C", "B"}));

    // Inside the floating window the toolbar's keys work as on the panel.
    Key(platform::VK_F6);
    ASSERT_EQ(Where(), "C");
    int clicks = 0;
    auto* button = dynamic_cast<TAdvToolBarButton*>(c->PositionList().front());
    button->OnClick = [&](TObject*) { ++clicks; };
    Key(platform::VK_RETURN);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(c->KeyboardFocus()->ShowsRectOn(button)) << "the floating window shows keyboard cues";
}

TEST_F(PaneCycleTest, TheOptionIndicatorIsTheLastItemEnterOrDownOpensItsWindowEscClosesIt) {
    a->SetAutoOptionMenu(true);
    Key(platform::VK_F6);
    ASSERT_EQ(Where(), "A");
    Key(platform::VK_END);
    EXPECT_TRUE(a->KeyboardFocus()->OnIndicator());
    EXPECT_TRUE(a->KeyboardFocus()->ShowsRectOnIndicator());
    Key(platform::VK_RETURN);
    EXPECT_TRUE(a->OptionWindowVisible());
    Key(platform::VK_ESCAPE);
    EXPECT_FALSE(a->OptionWindowVisible());
    EXPECT_EQ(Where(), "A") << "Esc goes back to the toolbar";
    EXPECT_TRUE(a->KeyboardFocus()->OnIndicator());
    Key(platform::VK_DOWN);
    EXPECT_TRUE(a->OptionWindowVisible());
    Key(platform::VK_ESCAPE);
    Key(platform::VK_RIGHT);
    EXPECT_EQ(a->KeyboardFocus()->Item(), a->PositionList().front()) << "from the indicator the arrows wrap";
}

} // namespace
} // namespace emr::testing
