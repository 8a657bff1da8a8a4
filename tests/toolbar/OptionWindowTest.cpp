#include "ToolBarFixture.h"

#include <cstdlib>
#include <string>
#include <utility>

#include "framework/forms/MenuItem.h"
#include "menus/AdvPopupMenu.h"
#include "toolbar/ATBPopupWindow.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBarSeparator.h"
#include "toolbar/ControlSelectorPanel.h"
#include "toolbar/OptionSelectorWindow.h"
#include "toolbar/ToolBarOptionWindow.h"

namespace emr::testing {
namespace {

/// The fixture's toolbar docked on a top panel of a shown form; buttons are 34
/// long, separators 10, grip 9, right handle 14.
class OptionWindow : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        form->SetClientWidth(600);
        dock = new TAdvDockPanel(form);
        dock->SetParent(form);
        toolBar->SetParent(dock);
    }

    TAdvToolBarButton* Button(const std::string& name, const std::string& caption = "确定") {
        auto* b = AddButton(caption);
        b->SetName(name);
        return b;
    }
    TAdvToolBarSeparator* Separator(const std::string& name) {
        auto* s = new TAdvToolBarSeparator(form);
        s->SetName(name);
        s->AttachToToolBar(toolBar);
        return s;
    }
    void SetLength(int length) {
        toolBar->SetBoundsAdjustmentSuppressed(true);
        toolBar->SetBounds(toolBar->Left(), toolBar->Top(), length, toolBar->Height());
        toolBar->SetBoundsAdjustmentSuppressed(false);
    }
    void ShowForm() {
        form->Show();
        Pump();
    }
    /// Presses and releases on the option indicator of the right handle.
    void ClickRightHandle() {
        Press(toolBar, toolBar->Width() - 7, 10);
        Release(toolBar, toolBar->Width() - 7, 10);
    }
    void Click(const TControl* c, int x, int y) {
        Press(c, x, y);
        Release(c, x, y);
    }
    /// Lets the deferred hides run (their 1 ms timers tick at the timer minimum).
    void Tick() {
        backend_->AdvanceTime(12);
        Pump();
    }
    TOptionSelectorWindow* Window() const { return toolBar->OptionWindow()->Window(); }
    TControlSelectorPanel* Panel() const { return toolBar->OptionWindow()->Panel(); }
    std::string Listed() const {
        std::string out;
        for (const TControl* c : Panel()->ListedControls()) {
            std::string name =
                dynamic_cast<const TAdvToolBarSeparator*>(c) && c->Name().empty() ? "|" : c->Name();
            out += (out.empty() ? "" : " ") + name;
        }
        return out;
    }
    static std::string Names(const std::vector<TControl*>& list) {
        std::string out;
        for (const TControl* c : list)
            out += (out.empty() ? "" : " ") + c->Name();
        return out;
    }
    static std::string Captions(const TATBPopupPanel* p) {
        std::string out;
        for (int i = 0; i < p->ItemCount(); ++i) {
            const TATBMenuItem* item = p->RootItem()->Items(i);
            out += (out.empty() ? "" : " ") + item->Caption + (item->AutoCheck && item->Checked ? "+" : "");
        }
        return out;
    }

    TAdvDockPanel* dock = nullptr;
};

// ---- What the window lists ------------------------------------------------------------------

TEST_F(OptionWindow, NothingIsShownWhenEverythingFitsAndNoItemIsOffered) {
    Button("B1");
    ShowForm();
    ClickRightHandle();
    ASSERT_NE(Window(), nullptr) << "the window is built";
    EXPECT_FALSE(Window()->Visible());
    EXPECT_FALSE(toolBar->OptionWindowVisible());
}

TEST_F(OptionWindow, ASeparatorCopyStandsBetweenTwoHiddenButtonsAndGoesWhenTheWindowHides) {
    auto* a1 = Button("A1");
    auto* a2 = Button("A2");
    Separator("S1");
    auto* b1 = Button("B1");
    auto* b2 = Button("B2");
    b1->Click();
    a1->Click(); // priority A1 B1 A2 S1 B2: B2 then A2 go first
    SetLength(9 + 34 + 10 + 34 + 14);
    ASSERT_EQ(toolBar->OverflowList().size(), 2u);
    ShowForm();
    ClickRightHandle();
    ASSERT_TRUE(toolBar->OptionWindowVisible());
    EXPECT_EQ(Listed(), "A2 | B2");
    ASSERT_EQ(Panel()->SeparatorCopies().size(), 1u);
    EXPECT_EQ(a2->Parent(), Panel());
    EXPECT_EQ(b2->Parent(), Panel());
    EXPECT_EQ(b2->Left(), 3 + 34 + 10) << "the controls flow in one row after the margin";
    TComponentRef<TAdvToolBarSeparator> copy(Panel()->SeparatorCopies()[0]);

    toolBar->CloseOptionWindow();
    EXPECT_FALSE(toolBar->OptionWindowVisible());
    EXPECT_FALSE(copy) << "the copy is freed when the window hides";
    EXPECT_TRUE(Panel()->SeparatorCopies().empty());
}

TEST_F(OptionWindow, NoSeparatorCopyStandsBeforeTheFirstListedControl) {
    Button("A1");
    Separator("S1");
    Button("B1");
    Button("B2");
    SetLength(9 + 34 + 14);
    ASSERT_EQ(toolBar->OverflowList().size(), 3u); // B2, B1 and their separator
    ShowForm();
    ClickRightHandle();
    EXPECT_EQ(Listed(), "B1 B2");
    EXPECT_TRUE(Panel()->SeparatorCopies().empty());
}

// ---- Where it appears -----------------------------------------------------------------------

TEST_F(OptionWindow, ItSitsBelowTheRightEndAndStaysOnTheWorkAreaAndMonitor) {
    for (const char* n : {"B1", "B2", "B3"})
        Button(n);
    SetLength(9 + 34 + 14);
    ShowForm();
    ClickRightHandle();
    ASSERT_TRUE(toolBar->OptionWindowVisible());
    const TPoint end = toolBar->ClientToScreen({toolBar->Width(), toolBar->Height()});
    EXPECT_EQ(Window()->Left(), end.X - 12);
    EXPECT_EQ(Window()->Top(), end.Y + 1);
    EXPECT_EQ(Window()->Width(), Panel()->Width());
    EXPECT_EQ(Panel()->Width(), 3 + 130 + 3) << "as wide as the add-or-remove item, shown or not";
    EXPECT_EQ(Panel()->Height(), 3 + 41 + 3) << "two hidden buttons side by side";
    toolBar->CloseOptionWindow();

    backend_->SetWorkArea({0, 0, 1024, end.Y + 20});
    backend_->SetMonitors({{0, 0, end.X + 10, 768}});
    ClickRightHandle();
    ASSERT_TRUE(toolBar->OptionWindowVisible());
    EXPECT_EQ(Window()->Top() + Window()->Height(), end.Y + 20 - 2)
        << "2 pixels above the work area's bottom";
    EXPECT_EQ(Window()->Left() + Window()->Width(), end.X + 10) << "pushed left to the monitor's edge";
}

TEST_F(OptionWindow, InARightToLeftWindowItHangsLeftwardsFromTheToolBarsLeftEnd) {
    for (const char* n : {"B1", "B2", "B3"})
        Button(n);
    SetLength(9 + 34 + 14);
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    ShowForm();
    // The option indicator is at the logical right end, which is now on the left.
    ClickRightHandle();
    ASSERT_TRUE(toolBar->OptionWindowVisible());
    const TRect bar = toolBar->ClientToScreenRect(toolBar->ClientRect());
    EXPECT_TRUE(Window()->UseRightToLeftLayout());
    EXPECT_EQ(Window()->Left() + Window()->Width(), bar.Left + 12);
    EXPECT_EQ(Window()->Top(), bar.Bottom + 1);
    toolBar->CloseOptionWindow();

    backend_->SetMonitors({{bar.Left - 20, 0, 1024, 768}});
    ClickRightHandle();
    ASSERT_TRUE(toolBar->OptionWindowVisible());
    EXPECT_EQ(Window()->Left(), bar.Left - 20) << "pushed right to the monitor's edge";
}

// ---- The cascade ------------------------------------------------------------------------------

/// The main window's toolbar (caption "Untitled", buttons 确定 and 退出) with its
/// add-or-remove item turned on.
class OptionCascade : public OptionWindow {
protected:
    void SetUp() override {
        OptionWindow::SetUp();
        toolBar->SetCaption("Untitled");
        toolBar->SetAutoOptionMenu(true);
        ok = Button("AdvToolBarButton1", "确定");
        quit = Button("AdvToolBarButton2", "退出");
        ShowForm();
    }
    /// Opens the option window and hovers its way to the list of buttons.
    TATBPopupPanel* OpenButtonList() {
        ClickRightHandle();
        EXPECT_TRUE(toolBar->OptionWindowVisible());
        const TRect item = Panel()->AddRemoveItem().Rect;
        MoveTo(Panel(), item.Left + 20, item.Top + 10);
        TATBPopupWindow* first = Panel()->AddRemoveWindow();
        if (!first || !first->Visible()) return nullptr;
        TATBPopupPanel* top = first->PopupPanel();
        const TRect entry = top->ItemRect(0);
        MoveTo(top, entry.Left + 20, entry.Top + 10);
        TATBPopupWindow* second = top->ChildWindow();
        return second && second->Visible() ? second->PopupPanel() : nullptr;
    }

    TAdvToolBarButton* ok = nullptr;
    TAdvToolBarButton* quit = nullptr;
};

TEST_F(OptionCascade, ItListsTheToolBarThenItsButtonsWithCheckMarksForTheVisibleOnes) {
    TATBPopupPanel* list = OpenButtonList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Captions(Panel()->AddRemoveWindow()->PopupPanel()), "Untitled");
    EXPECT_EQ(Captions(list), "确定+ 退出+");
    EXPECT_TRUE(Panel()->AddRemoveOpen());
    EXPECT_GE(Panel()->AddRemoveItem().Rect.Width(), 130);
    EXPECT_EQ(Panel()->AddRemoveItem().Rect.Bottom, Panel()->Height() - 3) << "the item sits at the bottom";
}

TEST_F(OptionCascade, ToggleHidesAButtonAtOnceAndKeepsTheCascadeOpen) {
    TATBPopupPanel* list = OpenButtonList();
    ASSERT_NE(list, nullptr);
    const TRect first = list->ItemRect(0);
    Click(list, first.Left + 20, first.Top + 10);
    Tick();
    EXPECT_FALSE(ok->Visible());
    EXPECT_EQ(Captions(list), "确定 退出+");
    EXPECT_EQ(quit->Left(), 9) << "the toolbar re-arranged at once";
    EXPECT_TRUE(list->Parent()->Visible()) << "the cascade stays open";
    EXPECT_TRUE(toolBar->OptionWindowVisible());

    Click(list, first.Left + 20, first.Top + 10);
    Tick();
    EXPECT_TRUE(ok->Visible());
    EXPECT_EQ(Captions(list), "确定+ 退出+");
    EXPECT_EQ(quit->Left(), 43);
}

TEST_F(OptionCascade, APressOutsideClosesTheWholeChain) {
    TATBPopupPanel* list = OpenButtonList();
    ASSERT_NE(list, nullptr);
    TATBPopupWindow* first = Panel()->AddRemoveWindow();
    Press(form, 300, 150);
    Release(form, 300, 150);
    Tick();
    EXPECT_FALSE(list->Parent()->Visible());
    EXPECT_FALSE(first->Visible());
    EXPECT_FALSE(toolBar->OptionWindowVisible());
    EXPECT_FALSE(Panel()->AddRemoveOpen());
}

// While the option menu is up, moving onto "Add or Remove Buttons" ends the menu;
// the pointer is already on the item then, so no further move will come to open
// the cascade: closing the menu has to hand over by itself.
TEST_F(OptionCascade, MovingFromTheOptionMenuOntoAddOrRemoveClosesTheMenuAndOpensTheCascade) {
    auto* menu = new TAdvPopupMenu(form);
    auto* entry = new TMenuItem(menu);
    entry->SetCaption("Reset Toolbar");
    menu->Items()->Add(entry);
    toolBar->SetOptionMenu(menu);
    ClickRightHandle();
    ASSERT_TRUE(toolBar->OptionWindowVisible());
    const TRect options = Panel()->OptionsItem().Rect;
    const TRect addRemove = Panel()->AddRemoveItem().Rect;
    ASSERT_FALSE(options.Empty());
    const TPoint onOptions = At(Panel(), options.Left + 20, options.Top + 10);
    const TPoint onAddRemove = At(Panel(), addRemove.Left + 20, addRemove.Top + 10);
    // Both moves are queued first: the first opens the menu, whose own loop takes
    // the second and then polls the pointer.
    backend_->MoveMouse(onOptions.X, onOptions.Y);
    backend_->MoveMouse(onAddRemove.X, onAddRemove.Y);
    Pump();
    Tick();
    EXPECT_FALSE(Panel()->OptionsOpen());
    EXPECT_TRUE(toolBar->OptionWindowVisible()) << "the pointer is over the add-or-remove item";
    ASSERT_NE(Panel()->AddRemoveWindow(), nullptr) << "the cascade was never opened";
    EXPECT_TRUE(Panel()->AddRemoveWindow()->Visible());
    EXPECT_TRUE(Panel()->AddRemoveHot());
}

// ---- Closing --------------------------------------------------------------------------------

TEST_F(OptionWindow, APressOutsideClosesItAndHiddenControlsReturnWhereTheyFit) {
    for (const char* n : {"B1", "B2", "B3"})
        Button(n);
    SetLength(9 + 34 + 14);
    ShowForm();
    ClickRightHandle();
    ASSERT_TRUE(toolBar->OptionWindowVisible());
    SetLength(9 + 2 * 34 + 14); // room for one more while the window is open
    Press(form, 300, 150);
    Release(form, 300, 150);
    EXPECT_TRUE(toolBar->OptionWindowVisible()) << "the hide waits for the timer";
    Tick();
    EXPECT_FALSE(toolBar->OptionWindowVisible());
    TControl* b2 = toolBar->PositionList()[1];
    TControl* b3 = toolBar->PositionList()[2];
    EXPECT_EQ(b2->Parent(), toolBar);
    EXPECT_FALSE(toolBar->InOverflow(b2));
    EXPECT_EQ(b2->Left(), 43);
    EXPECT_TRUE(toolBar->InOverflow(b3));
}

TEST_F(OptionWindow, ClickingAListedButtonClosesTheWindowFiresItsClickAndBringsItBack) {
    Button("B1");
    Button("B2");
    auto* b3 = Button("B3");
    int clicks = 0;
    b3->OnClick = [&](TObject*) {
        ++clicks;
        EXPECT_FALSE(toolBar->OptionWindowVisible()) << "the window closes before the click";
    };
    SetLength(9 + 2 * 34 + 14);
    ShowForm();
    ClickRightHandle();
    ASSERT_EQ(Listed(), "B3");
    Click(b3, 10, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(toolBar->OptionWindowVisible());
    EXPECT_EQ(b3->Parent(), toolBar);
    EXPECT_FALSE(toolBar->InOverflow(b3));
    EXPECT_EQ(Names(toolBar->OverflowList()), "B2") << "B3 came back; the least important other button went";
}

// ---- The two items ----------------------------------------------------------------------------

/// A toolbar offering both items, with one button so that the window has a list.
class OptionItems : public OptionWindow {
protected:
    void SetUp() override {
        OptionWindow::SetUp();
        Button("B1");
        auto* menu = new TAdvPopupMenu(form);
        auto* reset = new TMenuItem(form);
        reset->SetCaption("Reset");
        menu->Items()->Add(reset);
        toolBar->SetAutoOptionMenu(true);
        toolBar->SetOptionMenu(menu);
        ShowForm();
    }
    void Open() {
        ClickRightHandle();
        ASSERT_TRUE(toolBar->OptionWindowVisible());
        Window()->Invalidate();
        Window()->PaintWindowNow();
    }
    /// The first and last columns of an item, relative to its rectangle, that hold
    /// ink of its caption: pixels unlike the item's empty corner that are not its arrow.
    std::pair<int, int> CaptionColumns(const TSelectorItem& item, bool addRemove) const {
        const TRect r = item.Rect;
        auto arrow = [&](int x, int y) {
            if (addRemove)
                return (y == r.Bottom - 10 && x >= r.Right - 9 && x < r.Right - 4) ||
                       (y == r.Bottom - 9 && x >= r.Right - 8 && x < r.Right - 5) ||
                       (y == r.Bottom - 8 && x == r.Right - 7);
            return (x == r.Right - 8 && y >= r.Top + 7 && y < r.Top + 12) ||
                   (x == r.Right - 7 && y >= r.Top + 8 && y < r.Top + 11) ||
                   (x == r.Right - 6 && y == r.Top + 9);
        };
        const TPoint at = Panel()->ClientToControl({0, 0}, Window());
        auto pixel = [&](int x, int y) {
            return backend_->PixelAt(Window()->NativeWindow(), at.X + x, at.Y + y);
        };
        const std::uint32_t ground = pixel(r.Left + 1, r.Top + 1);
        int first = -1, last = -1;
        for (int x = r.Left; x < r.Right; ++x)
            for (int y = r.Top; y < r.Bottom; ++y)
                if (pixel(x, y) != ground && !arrow(x, y)) {
                    if (first < 0) first = x - r.Left;
                    last = x - r.Left;
                }
        return {first, last};
    }
    /// Checks that the caption is centred and ends before the arrow's first column.
    void ExpectClearOfItsArrow(const TSelectorItem& item, bool addRemove) const {
        const auto [first, last] = CaptionColumns(item, addRemove);
        const int width = item.Rect.Width();
        const int arrowStart = width - (addRemove ? 9 : 8);
        ASSERT_GE(first, 0) << item.Caption << " is drawn";
        EXPECT_LT(last, arrowStart - 1) << item.Caption << " runs into its arrow";
        EXPECT_LE(std::abs(first - (width - 1 - last)), 2) << item.Caption << " is centred";
    }
};

TEST_F(OptionItems, TheOptionWindowsTextsCollide) {
    Open();
    ExpectClearOfItsArrow(Panel()->AddRemoveItem(), true);
    ExpectClearOfItsArrow(Panel()->OptionsItem(), false);
    EXPECT_GE(Panel()->AddRemoveItem().Rect.Width(), 130);
    EXPECT_EQ(Panel()->OptionsItem().Rect.Width(), Panel()->AddRemoveItem().Rect.Width());

    // The options item is drawn in the panel's own face: it is measured in it too.
    toolBar->CloseOptionWindow();
    toolBar->SetTextOptionMenu("Options for this toolbar");
    Panel()->Font()->SetHeight(-16);
    Open();
    ExpectClearOfItsArrow(Panel()->OptionsItem(), false);
    ExpectClearOfItsArrow(Panel()->AddRemoveItem(), true);
}

} // namespace
} // namespace emr::testing
