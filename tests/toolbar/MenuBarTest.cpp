// The toolbar as a menu bar: generated buttons, dropped menus and their
// switching, the keyboard menu mode and accelerators.

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <stdexcept>

#include "ToolBarFixture.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/MenuTracker.h"
#include "framework/forms/PopupMenuWindow.h"
#include "framework/forms/Screen.h"
#include "framework/streaming/LayoutReader.h"
#include "menus/AdvMainMenu.h"
#include "menus/AdvPopupMenu.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBarMenuButton.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/ToolBarKeyboardMode.h"
#include "toolbar/ToolBarMenuBar.h"
#include "toolbar/ToolbarClasses.h"

namespace emr::testing {
namespace {

using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_F10;
using platform::VK_LEFT;
using platform::VK_MENU;
using platform::VK_RETURN;
using platform::VK_RIGHT;

class MenuBarTest : public ToolBarFixture {
protected:
    void SetUp() override {
        ToolBarFixture::SetUp();
        app->SetMainForm(form);
        menu = new TAdvMainMenu(form);
        file = Item("&File", menu->Items());
        newItem = Item("&New", file);
        Item("&Open", file);
        Item("-", file);
        recent = Item("&Recent", file);
        Item("One", recent);
        Item("E&xit", file);
        edit = Item("&Edit", menu->Items());
        undo = Item("&Undo", edit);
        Item("Cu&t", edit)->SetEnabled(false);
        Item("&Paste", edit);
        view = Item("&View", menu->Items());
        Item("&Toolbar", view)->SetChecked(true);
        Item("&Status bar", view);
        toolBar->SetMenu(menu);
        form->Show();
        Pump();
    }

    TMenuItem* Item(const std::string& caption, TMenuItem* parent) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        if (caption != "-") item->OnClick = [this, caption](TObject*) { clicked.push_back(caption); };
        parent->Add(item);
        return item;
    }

    TAdvCustomToolBarButton* Button(int i) {
        return dynamic_cast<TAdvCustomToolBarButton*>(
            toolBar->PositionList().at(static_cast<std::size_t>(i)));
    }

    /// The visible popup window of the dropped menu, or null.
    TPopupMenuWindow* OpenWindow() {
        for (TCustomForm* f : Screen().FormList())
            if (auto* w = dynamic_cast<TPopupMenuWindow*>(f); w && w->Visible()) return w;
        return nullptr;
    }
    /// Caption of the first item shown in the open popup, or "" without one.
    std::string OpenMenu() {
        TPopupMenuWindow* w = OpenWindow();
        return w && !w->ShownItems().empty() ? w->ShownItems().front()->Caption() : "";
    }
    int OpenWindows() {
        int n = 0;
        for (TCustomForm* f : Screen().FormList())
            if (auto* w = dynamic_cast<TPopupMenuWindow*>(f); w && w->Visible()) ++n;
        return n;
    }

    /// Runs `start` with the steps fed one per idle moment of whatever loop runs
    /// (popup, keyboard mode) once the input of the step before is used up. Each
    /// step must leave input or a message behind; once
    /// the steps are used up, Esc is pressed until every loop has ended.
    bool Run(std::function<void()> start, std::vector<std::function<void()>> steps) {
        std::size_t next = 0;
        escapes = 0;
        app->OnIdle = [&](TObject*) {
            // Idle also comes between the events of one key press: wait until they are all in.
            if (backend_->PendingEvents() > 0) return;
            if (next < steps.size()) {
                steps[next++]();
                return;
            }
            if (++escapes < 20) backend_->Key(VK_ESCAPE);
        };
        start();
        Pump();
        app->OnIdle = nullptr;
        Pump();
        return next == steps.size();
    }
    /// A step that only looks: it leaves an empty message so the loop goes on.
    std::function<void()> Check(std::function<void()> f) {
        return [this, f] {
            f();
            app->PostMessage(form, WM_NULL);
        };
    }
    void ClickButton(int i) {
        TAdvCustomToolBarButton* b = Button(i);
        TPoint p = At(b, b->Width() / 2, b->Height() / 2);
        backend_->MoveMouse(p.X, p.Y);
        backend_->Click(p.X, p.Y);
    }
    void HoverButton(int i) {
        TAdvCustomToolBarButton* b = Button(i);
        TPoint p = At(b, b->Width() / 2, b->Height() / 2);
        backend_->MoveMouse(p.X, p.Y);
    }
    std::function<void()> Key(int key) {
        return [this, key] { backend_->Key(key); };
    }

    TAdvMainMenu* menu = nullptr;
    TMenuItem* file = nullptr;
    TMenuItem* newItem = nullptr;
    TMenuItem* recent = nullptr;
    TMenuItem* edit = nullptr;
    TMenuItem* undo = nullptr;
    TMenuItem* view = nullptr;
    std::vector<std::string> clicked;
    /// How many Esc presses the last Run needed to end its loops after its steps.
    int escapes = 0;
};

// ---- Setting Menu ---------------------------------------------------------------------------

TEST_F(MenuBarTest, OneGeneratedButtonPerTopLevelItemLinkedInMenuOrder) {
    ASSERT_EQ(toolBar->PositionList().size(), 3u);
    EXPECT_EQ(Button(0)->Caption(), "&File");
    EXPECT_EQ(Button(1)->MenuItem(), edit);
    EXPECT_EQ(Button(2)->MenuItem(), view);
    EXPECT_TRUE(Button(0)->IsMenuButton());
    EXPECT_EQ(Button(0)->InternalTag(), 1);
    EXPECT_EQ(Button(0)->Owner(), toolBar);
}

TEST_F(MenuBarTest, ReplacingOrFreeingTheMenuFreesOnlyTheGeneratedButtons) {
    TAdvToolBarButton* own = AddButton("Own", false);
    auto* other = new TMainMenu(form);
    Item("&Help", other->Items());
    toolBar->SetMenu(other);
    int generated = 0;
    for (TControl* c : toolBar->PositionList())
        if (auto* b = dynamic_cast<TAdvCustomToolBarButton*>(c); b && b->InternalTag() == 1) ++generated;
    EXPECT_EQ(generated, 1);
    TObject::Free(other);
    EXPECT_EQ(toolBar->Menu(), nullptr);
    ASSERT_EQ(toolBar->PositionList().size(), 1u);
    EXPECT_EQ(toolBar->PositionList()[0], own);
}

// ---- Dropping a menu and giving its items back ----------------------------------------------

TEST_F(MenuBarTest, ClickDropsTheSubItemsBelowTheButtonAndGivesThemBackAfterwards) {
    TPoint below = At(Button(0), 0, Button(0)->Height());
    EXPECT_TRUE(Run([&] { ClickButton(0); }, {Check([&] {
                                                  TPopupMenuWindow* w = OpenWindow();
                                                  ASSERT_NE(w, nullptr);
                                                  EXPECT_EQ(w->Left(), below.X);
                                                  EXPECT_EQ(w->Top(), below.Y);
                                                  EXPECT_EQ(file->Count(), 0)
                                                      << "borrowed by the temporary popup";
                                                  EXPECT_TRUE(TToolBarMenuBar::PopupHookInstalled());
                                                  EXPECT_EQ(w->HotItem(), newItem)
                                                      << "the first item is selected";
                                              }),
                                              Key(VK_ESCAPE)}));
    ASSERT_EQ(file->Count(), 5);
    EXPECT_EQ(file->Item(0), newItem);
    EXPECT_EQ(file->Item(3), recent);
    EXPECT_EQ(toolBar->MenuBar()->TemporaryPopup(), nullptr);
    EXPECT_FALSE(TToolBarMenuBar::PopupHookInstalled());
    EXPECT_EQ(Button(0)->State(), TToolButtonState::tbsUp);
}

TEST_F(MenuBarTest, ItemsComeBackWhenTheChosenItemsHandlerThrows) {
    std::string caught;
    app->OnException = [&](const std::exception& e) { caught = e.what(); };
    newItem->OnClick = [](TObject*) { throw std::runtime_error("handler failed"); };
    Run([&] { ClickButton(0); }, {Key(VK_RETURN)});
    EXPECT_EQ(caught, "handler failed");
    EXPECT_EQ(file->Count(), 5);
    EXPECT_EQ(file->Item(0), newItem);
    EXPECT_FALSE(TToolBarMenuBar::PopupHookInstalled());
    EXPECT_FALSE(toolBar->KeyboardModeHandler()->KeyboardMode());
}

TEST_F(MenuBarTest, ChoosingAnItemRunsItsHandler) {
    Run([&] { ClickButton(1); }, {Key(VK_RETURN)});
    EXPECT_EQ(clicked, (std::vector<std::string>{"&Edit", "&Undo"}));
}

TEST_F(MenuBarTest, ToolBarFreedWhileItemsAreBorrowedLeavesThemWithTheMenu) {
    Run([&] { ClickButton(0); }, {[&] {
            TObject::Free(toolBar);
            toolBar = nullptr;
            app->PostMessage(form, WM_NULL);
        }});
    EXPECT_EQ(file->Count(), 5);
    EXPECT_EQ(OpenWindows(), 0);
}

// ---- Switching between open menus -----------------------------------------------------------

TEST_F(MenuBarTest, MovingOntoAnotherMenuButtonSwitchesMenusWithoutAClick) {
    std::vector<std::string> seen;
    Run([&] { ClickButton(0); }, {[&] {
                                      seen.push_back(OpenMenu());
                                      HoverButton(1);
                                  },
                                  Check([&] {
                                      seen.push_back(OpenMenu());
                                      EXPECT_EQ(OpenWindows(), 1);
                                      EXPECT_EQ(file->Count(), 5) << "the first menu's items are back";
                                      EXPECT_EQ(edit->Count(), 0);
                                  })});
    EXPECT_EQ(seen, (std::vector<std::string>{"&New", "&Undo"}));
    EXPECT_EQ(edit->Count(), 3);
}

TEST_F(MenuBarTest, RightAndLeftSwitchToTheNeighboursMenuWithWrapAround) {
    std::vector<std::string> seen;
    auto note = [&] { seen.push_back(OpenMenu()); };
    Run([&] { ClickButton(0); },
        {[&] { note(), backend_->Key(VK_RIGHT); }, [&] { note(), backend_->Key(VK_RIGHT); },
         [&] { note(), backend_->Key(VK_RIGHT); }, [&] { note(), backend_->Key(VK_LEFT); }, Check(note)});
    EXPECT_EQ(seen, (std::vector<std::string>{"&New", "&Undo", "&Toolbar", "&New", "&Toolbar"}));
}

TEST_F(MenuBarTest, RightToLeftMenusSwapLeftAndRight) {
    menu->SetBiDiMode(TBiDiMode::bdRightToLeft);
    std::vector<std::string> seen;
    auto note = [&] { seen.push_back(OpenMenu()); };
    Run([&] { ClickButton(0); }, {[&] { note(), backend_->Key(VK_LEFT); }, Check(note)});
    EXPECT_EQ(seen, (std::vector<std::string>{"&New", "&Undo"}));
}

TEST_F(MenuBarTest, RightOnAnItemWithASubMenuOpensItInsteadOfSwitching) {
    std::string second;
    Run([&] { ClickButton(0); }, {[&] {
                                      OpenWindow()->SetHotIndex(3); // Recent
                                      backend_->Key(VK_RIGHT);
                                  },
                                  Check([&] { second = OpenWindows() == 2 ? "sub-menu" : OpenMenu(); })});
    EXPECT_EQ(second, "sub-menu");
}

TEST_F(MenuBarTest, ClickingTheOpenButtonClosesItsMenuWithoutReopeningIt) {
    int drops = 0;
    file->OnClick = [&](TObject*) { ++drops; };
    Run([&] { ClickButton(0); }, {[&] { ClickButton(0); }});
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(OpenWindows(), 0);
    // The next click opens it again.
    Run([&] { ClickButton(0); }, {Check([&] { EXPECT_EQ(OpenMenu(), "&New"); }), Key(VK_ESCAPE)});
    EXPECT_EQ(drops, 2);
}

TEST_F(MenuBarTest, AMenuLeftByHoverOpensAgainWithOneClick) {
    Run([&] { ClickButton(0); }, {[&] { HoverButton(1); }, Key(VK_ESCAPE)});
    std::string reopened;
    Run([&] { ClickButton(0); }, {Check([&] { reopened = OpenMenu(); }), Key(VK_ESCAPE)});
    EXPECT_EQ(reopened, "&New");
}

// ---- Where the menu appears -------------------------------------------------------------------

TEST_F(MenuBarTest, ABottomDockedMenuToolBarNearTheScreenBottomOpensUpwards) {
    const TRect work = platform::Backend::Current().WorkArea();
    form->SetBounds(form->Left(), work.Bottom - form->Height(), form->Width(), form->Height());
    toolBar->SetPosition(TDockAlign::daBottom);
    toolBar->SetBounds(toolBar->Left(), form->ClientHeight() - toolBar->Height(), toolBar->Width(),
                       toolBar->Height());
    Pump();
    const int buttonTop = Button(0)->ClientToScreen({0, 0}).Y;
    int popupBottom = 0;
    Run([&] { ClickButton(0); },
        {Check([&] { popupBottom = OpenWindow() ? OpenWindow()->BoundsRect().Bottom : 1 << 20; })});
    EXPECT_LE(popupBottom, buttonTop);
}

TEST_F(MenuBarTest, AMenuNearTheRightEdgeIsPulledBackLeft) {
    const TRect monitor = Screen().MonitorFor(form->BoundsRect());
    TPoint p = toolBar->MenuBar()->PopupPoint(Button(0), monitor.Right, 40);
    EXPECT_EQ(p.X, monitor.Right - monitor.Right - 52);
}

// ---- Keyboard menu mode ---------------------------------------------------------------------

TEST_F(MenuBarTest, ReleasingShiftF10DoesNotStartKeyboardMode) {
    auto entersMenuMode = [&](TShiftState shift) {
        bool entered = false;
        Run([&] { backend_->Key(VK_F10, shift); },
            {Check([&] { entered = toolBar->KeyboardModeHandler()->MenuMode(); })});
        return entered;
    };
    EXPECT_FALSE(entersMenuMode(ssShift)) << "Shift+F10 asks for a context menu";
    EXPECT_FALSE(entersMenuMode(ssCtrl));
    EXPECT_TRUE(entersMenuMode(0)) << "F10 alone still does";
}

TEST_F(MenuBarTest, F10HighlightsTheFirstButtonArrowsMoveDownOpensEscLeavesInTwoSteps) {
    TToolBarKeyboardMode* kb = toolBar->KeyboardModeHandler();
    std::vector<std::string> hot;
    auto noteHot = [&] { hot.push_back(toolBar->HotButton() ? toolBar->HotButton()->Caption() : "-"); };
    bool menuModeAfterFirstEsc = false;
    Run([&] { backend_->Key(VK_F10); },
        {[&] { noteHot(), backend_->Key(VK_LEFT); }, [&] { noteHot(), backend_->Key(VK_RIGHT); },
         [&] { noteHot(), backend_->Key(VK_RIGHT); }, [&] { noteHot(), backend_->Key(VK_DOWN); },
         [&] {
             hot.push_back(OpenMenu());
             backend_->Key(VK_ESCAPE);
         },
         [&] {
             noteHot();
             menuModeAfterFirstEsc = kb->MenuMode();
             backend_->Key(VK_ESCAPE);
         }});
    EXPECT_EQ(escapes, 0);
    EXPECT_EQ(hot, (std::vector<std::string>{"&File", "&View", "&File", "&Edit", "&Undo", "&Edit"}));
    EXPECT_EQ(toolBar->HotButton(), nullptr);
    EXPECT_TRUE(menuModeAfterFirstEsc);
    EXPECT_FALSE(kb->MenuMode());
    EXPECT_FALSE(kb->KeyboardMode());
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(MenuBarTest, InARightToLeftWindowTheArrowsFollowTheScreenAndMenusHangFromTheButtonsRightEdge) {
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    Pump();
    ASSERT_EQ(menu->BiDiMode(), TBiDiMode::bdRightToLeft) << "the menu follows its form";
    // File, the first button, is at the bar's right end: Left walks on to Edit.
    EXPECT_GT(Button(0)->ClientOrigin().X, Button(1)->ClientOrigin().X);
    std::vector<std::string> hot;
    auto noteHot = [&] { hot.push_back(toolBar->HotButton() ? toolBar->HotButton()->Caption() : "-"); };
    TRect popup, file;
    Run([&] { backend_->Key(VK_F10); },
        {[&] { noteHot(), backend_->Key(VK_LEFT); }, [&] { noteHot(), backend_->Key(VK_RIGHT); },
         [&] { noteHot(), backend_->Key(VK_DOWN); },
         [&] {
             if (TPopupMenuWindow* w = OpenWindow()) popup = w->BoundsRect();
             file = Button(0)->ClientToScreenRect(Button(0)->ClientRect());
             backend_->Key(VK_ESCAPE);
         },
         [&] { backend_->Key(VK_ESCAPE); }});
    EXPECT_EQ(hot, (std::vector<std::string>{"&File", "&Edit", "&File"}));
    EXPECT_EQ(popup.Right, file.Right) << "the menu opens leftwards from the button's right edge";
    EXPECT_EQ(popup.Top, file.Bottom);
}

TEST_F(MenuBarTest, AltAloneEntersMenuModeAndAltAgainLeavesIt) {
    TToolBarKeyboardMode* kb = toolBar->KeyboardModeHandler();
    bool entered = false;
    Run([&] { backend_->Key(VK_MENU, platform::ssAlt); }, {[&] {
            entered = kb->MenuMode() && toolBar->HotButton() == Button(0);
            backend_->Key(VK_MENU, platform::ssAlt);
        }});
    EXPECT_TRUE(entered);
    EXPECT_EQ(escapes, 0) << "the release of the second Alt must not enter the mode again";
    EXPECT_FALSE(kb->MenuMode());
    EXPECT_EQ(toolBar->HotButton(), nullptr);
}

TEST_F(MenuBarTest, EnterOnAnItemInKeyboardModeRunsItAndLeavesTheMode) {
    Run([&] { backend_->Key(VK_F10); }, {Key(VK_RETURN), Key(VK_RETURN)});
    EXPECT_EQ(clicked, (std::vector<std::string>{"&File", "&New"}));
    EXPECT_FALSE(toolBar->KeyboardModeHandler()->MenuMode());
    EXPECT_FALSE(TToolBarMenuBar::PopupHookInstalled());
}

TEST_F(MenuBarTest, AltWithAnAcceleratorDropsThatMenu) {
    std::string opened;
    Run(
        [&] {
            backend_->KeyDown(VK_MENU, platform::ssAlt);
            platform::TEvent e;
            e.Type = platform::TEventType::Char;
            e.Window = form->NativeWindow();
            e.Text = "e";
            e.Shift = platform::ssAlt;
            backend_->Inject(e);
            backend_->KeyUp(VK_MENU);
        },
        {Check([&] { opened = OpenMenu(); }), Key(VK_ESCAPE)});
    EXPECT_EQ(opened, "&Undo");
    EXPECT_EQ(edit->Count(), 3);
}

TEST_F(MenuBarTest, AltInsideAnOpenMenuClosesItAndLeavesKeyboardMode) {
    Run([&] { backend_->Key(VK_F10); },
        {Key(VK_RETURN), [&] { backend_->Key(VK_MENU, platform::ssAlt); }, Check([] {})});
    EXPECT_EQ(OpenWindows(), 0);
    EXPECT_FALSE(toolBar->KeyboardModeHandler()->MenuMode());
    EXPECT_FALSE(TToolBarMenuBar::PopupHookInstalled());
}

// ---- Right onto a button without a menu ----------------------------------------------------

TEST_F(MenuBarTest, RightOntoAMenuButtonWithoutSubItemsHighlightsItInKeyboardMode) {
    TMenuItem* help = Item("&Help", menu->Items());
    toolBar->SetMenu(nullptr);
    toolBar->SetMenu(menu);
    Pump();
    std::string hot;
    bool mode = false;
    Run([&] { ClickButton(2); }, {Key(VK_RIGHT)}); // from View, opened by the pointer
    EXPECT_EQ(OpenWindows(), 0);
    // The pending-click timer (1 ms, raised to the timer minimum) starts the keyboard mode.
    app->OnIdle = [&](TObject*) {
        if (backend_->PendingEvents() > 0 || !hot.empty()) return;
        hot = toolBar->HotButton() ? toolBar->HotButton()->Caption() : "-";
        mode = toolBar->KeyboardModeHandler()->MenuMode();
        backend_->Key(VK_ESCAPE);
    };
    backend_->AdvanceTime(12);
    Pump();
    app->OnIdle = nullptr;
    EXPECT_EQ(hot, "&Help") << "the pending button is highlighted as keyboard mode starts";
    EXPECT_TRUE(mode);
    EXPECT_EQ(OpenWindows(), 0);
    EXPECT_FALSE(toolBar->KeyboardModeHandler()->MenuMode());
    EXPECT_EQ(help->Count(), 0);
}

// ---- AutoMDIButtons -------------------------------------------------------------------------

TEST_F(MenuBarTest, AutoMDIButtonsNeedsFullSizeAndAMenu) {
    toolBar->SetAutoMDIButtons(true);
    EXPECT_FALSE(toolBar->AutoMDIButtons()) << "not full size";
    toolBar->SetFullSize(true);
    toolBar->SetMenu(nullptr);
    toolBar->SetAutoMDIButtons(true);
    EXPECT_FALSE(toolBar->AutoMDIButtons()) << "no menu";
    toolBar->SetMenu(menu);
    toolBar->SetAutoMDIButtons(true);
    EXPECT_TRUE(toolBar->AutoMDIButtons());
    toolBar->SetAutoMDIButtons(false);
    EXPECT_FALSE(toolBar->AutoMDIButtons());
}

// ---- Closing a floating menu bar -------------------------------------------------------------

TEST_F(MenuBarTest, ClosingAFloatingMenuBarLocksTheUserOutOfEveryMenu) {
    auto* dock = new TAdvDockPanel(form);
    dock->SetParent(form);
    toolBar->SetParent(dock);
    int closed = 0;
    toolBar->OnClose = [&](TObject*) { ++closed; };
    TComponentRef<TFloatingWindow> window(TFloatingWindow::FloatToolBar(toolBar, 200, 150, true));
    ASSERT_TRUE(window);
    Pump();
    const TRect x = toolBar->CloseButtonRect();
    ASSERT_FALSE(x.Empty()) << "it floats with its close button";
    const TPoint p = At(toolBar, x.Left + 5, x.Top + 5);
    backend_->Click(p.X, p.Y);
    Pump();
    EXPECT_TRUE(toolBar->Visible());
    EXPECT_TRUE(toolBar->Docked()) << "closing docks it back where it came from";
    EXPECT_EQ(toolBar->Parent(), dock);
    EXPECT_EQ(closed, 0) << "nothing was closed";
    EXPECT_FALSE(window) << "its window went";

    // A menu bar that never had a panel has nowhere to go: it stays shown.
    auto* other = new TAdvToolBar(form);
    other->SetParent(form);
    other->SetMenu(menu);
    ASSERT_NE(TFloatingWindow::FloatToolBar(other, 200, 150, true), nullptr);
    other->CloseFloating();
    EXPECT_TRUE(other->Visible());
    EXPECT_TRUE(other->Floating());
}

TEST_F(MenuBarTest, AMenuBarSavedHiddenWhileFloatingLocksTheUserOutAtTheNextStart) {
    RegisterToolbarClasses();
    const std::filesystem::path ini = std::filesystem::temp_directory_path() /
                                      ("emr-menubar-" + std::to_string(std::random_device{}()) + ".ini");
    {
        std::ofstream out(ini, std::ios::binary);
        out << "[UnDockedAdvToolBars]\nMenuBar.Name=MenuBar\nMenuBar.State=1\nMenuBar.Left=200\n"
               "MenuBar.Top=150\nMenuBar.Visible=0\n";
    }
    const std::string text = "object MenuForm: TForm\n  ClientWidth = 400\n  ClientHeight = 300\n"
                             "  object Dock: TAdvDockPanel\n    Persistence.Location = plIniFile\n"
                             "    Persistence.Key = '" +
                             ini.generic_string() +
                             "'\n    Persistence.Section = 'Dock'\n    Persistence.Enabled = True\n"
                             "    object MenuBar: TAdvToolBar\n      Left = 3\n      Top = 1\n"
                             "      Menu = StoredMenu\n    end\n  end\n"
                             "  object StoredMenu: TAdvMainMenu\n    object FileMenu: TMenuItem\n"
                             "      Caption = '&File'\n    end\n  end\nend\n";
    TComponent* root = TLayoutReader::CreateFromText(text, app);
    auto* bar = root->FindComponentAs<TAdvToolBar>("MenuBar");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->Visible());
    EXPECT_TRUE(bar->Docked()) << "it comes up as closing it now leaves it";
    EXPECT_EQ(bar->Parent(), root->FindComponent("Dock"));
    TObject::Free(root);
    std::error_code error;
    std::filesystem::remove(ini, error);
}

// ---- Accelerators on any toolbar ------------------------------------------------------------

class PlainToolBarKeys : public ToolBarFixture {};

TEST_F(PlainToolBarKeys, AltWithAnAcceleratorClicksTheMatchingButton) {
    form->Show();
    TAdvToolBarButton* ok = AddButton("&OK", false);
    TAdvToolBarButton* quit = AddButton("&Quit", false);
    int okClicks = 0;
    int quitClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    quit->OnClick = [&](TObject*) { ++quitClicks; };
    Pump();
    platform::TEvent e;
    e.Type = platform::TEventType::Char;
    e.Window = form->NativeWindow();
    e.Text = "q";
    e.Shift = platform::ssAlt;
    backend_->Inject(e);
    Pump();
    EXPECT_EQ(quitClicks, 1);
    EXPECT_EQ(okClicks, 0);
    e.Shift = 0;
    backend_->Inject(e);
    Pump();
    EXPECT_EQ(quitClicks, 1) << "without Alt the letter is not an accelerator";
}

TEST_F(PlainToolBarKeys, F10WithoutAMenuDoesNotEnterMenuMode) {
    form->Show();
    AddButton("&OK", false);
    Pump();
    backend_->Key(VK_F10);
    Pump();
    EXPECT_FALSE(toolBar->KeyboardModeHandler()->MenuMode());
    EXPECT_FALSE(toolBar->KeyboardModeHandler()->KeyboardMode());
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

} // namespace
} // namespace emr::testing
