#include <gtest/gtest.h>

#include "FormsHarness.h"
#include "framework/forms/Button.h"
#include "framework/forms/ContextMenu.h"
#include "framework/forms/PopupMenu.h"
#include "framework/forms/PopupMenuWindow.h"

namespace emr::testing {
namespace {

struct PopupFixture : ::testing::Test {
    FormsHarness h;
    TForm* form = h.NewForm(100, 100, 400, 300);
    TButton* button = Place<TButton>(form, 300, 250, 80, 30);
    TPopupMenu* menu = new TPopupMenu(form);
    std::vector<std::string> clicked;
    TMenuItem* open = Item("&Open", menu->Items());
    TMenuItem* recent = Item("&Recent", menu->Items());
    TMenuItem* first = Item("First", recent);
    TMenuItem* line = Item("-", menu->Items());
    TMenuItem* greyed = Item("Greyed", menu->Items());
    TMenuItem* quit = Item("&Quit", menu->Items());
    int buttonClicks = 0;

    TMenuItem* Item(const std::string& caption, TMenuItem* parent) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        item->OnClick = [this, caption](TObject*) { clicked.push_back(caption); };
        parent->Add(item);
        return item;
    }
    void SetUp() override {
        greyed->SetEnabled(false);
        button->OnClick = [this](TObject*) { ++buttonClicks; };
        h.App().SetMainForm(form);
        form->Show();
        h.App().ProcessMessages();
    }
    /// The open menu window showing `items`' sub-items, or null.
    TPopupMenuWindow* Window(TMenuItem* items) {
        for (TCustomForm* f : Screen().FormList())
            if (auto* w = dynamic_cast<TPopupMenuWindow*>(f); w && w->Visible() && w->Items() == items)
                return w;
        return nullptr;
    }
    TPoint ItemCentre(TPopupMenuWindow* w, TMenuItem* item) {
        const auto& shown = w->ShownItems();
        const int i = static_cast<int>(std::find(shown.begin(), shown.end(), item) - shown.begin());
        const TRect r = w->ItemRect(i);
        return w->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
    /// Runs the popup with a script of steps, one per idle moment; true when every step ran.
    bool Run(std::vector<std::function<void()>> steps, TPoint at = {150, 150}) {
        std::size_t next = 0;
        h.OnIdle([&] {
            if (!Window(menu->Items()) || next >= steps.size()) return false;
            steps[next++]();
            return true;
        });
        menu->Popup(at.X, at.Y);
        h.App().OnIdle = nullptr;
        return next == steps.size();
    }
    int MenuWindows() {
        int n = 0;
        for (TCustomForm* f : Screen().FormList())
            if (dynamic_cast<TPopupMenuWindow*>(f)) ++n;
        return n;
    }
};

TEST_F(PopupFixture, ClickOnAnItemRunsItsOnClickAfterTheMenuClosed) {
    int windowsWhenClicked = -1;
    open->OnClick = [&](TObject*) { windowsWhenClicked = MenuWindows(); };
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    EXPECT_TRUE(Run({[&] {
        TPopupMenuWindow* w = Window(menu->Items());
        EXPECT_EQ(w->Left(), 150);
        EXPECT_EQ(w->Top(), 150);
        EXPECT_EQ(w->ShownItems().size(), 5u);
        const TPoint p = ItemCentre(w, open);
        h.Backend().MoveMouse(p.X, p.Y);
        h.Backend().Click(p.X, p.Y);
    }}));
    EXPECT_EQ(windowsWhenClicked, 0);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupPoint(), (TPoint{150, 150}));
    EXPECT_FALSE(menu->Tracking());
}

TEST_F(PopupFixture, EscClosesAndAClickElsewhereClosesWithoutReachingTheControlThere) {
    EXPECT_TRUE(Run({[&] { h.Backend().Key(platform::VK_ESCAPE); }}));
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(MenuWindows(), 0);

    EXPECT_TRUE(Run({[&] { h.ClickOn(button); }}));
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(buttonClicks, 0) << "the press that closed the menu is eaten";
    h.ClickOn(button);
    h.App().ProcessMessages();
    EXPECT_EQ(buttonClicks, 1);
}

TEST_F(PopupFixture, DisabledItemsSeparatorsAndSubMenuParentsAreNotChosen) {
    EXPECT_TRUE(Run({
        [&] {
            const TPoint p = ItemCentre(Window(menu->Items()), greyed);
            h.Backend().Click(p.X, p.Y);
        },
        [&] {
            const TPoint p = ItemCentre(Window(menu->Items()), line);
            h.Backend().Click(p.X, p.Y);
        },
        [&] { h.Backend().Key(platform::VK_ESCAPE); },
    }));
    EXPECT_TRUE(clicked.empty());
}

TEST_F(PopupFixture, HoveringOpensTheSubMenuWhoseItemsCanBeClicked) {
    EXPECT_TRUE(Run({
        [&] {
            const TPoint p = ItemCentre(Window(menu->Items()), recent);
            h.Backend().MoveMouse(p.X, p.Y);
        },
        [&] {
            TPopupMenuWindow* root = Window(menu->Items());
            TPopupMenuWindow* sub = Window(recent);
            ASSERT_NE(sub, nullptr);
            EXPECT_EQ(root->HotItem(), recent);
            EXPECT_GE(sub->Left(), root->Left() + root->Width() - 4) << "opens beside its parent";
            // The highlighted item is painted in the highlight colour.
            h.App().PaintPending();
            const TRect r = root->ItemRect(1);
            EXPECT_EQ(h.Pixel(root, r.Left + 4, r.Top + 2), 0x3399FFu);
            EXPECT_EQ(h.Pixel(root, root->ItemRect(0).Left + 4, root->ItemRect(0).Top + 2), kFace);
            h.Backend().RenderScreenToPng(::testing::TempDir() + "popupmenu.png");
            const TPoint p = ItemCentre(sub, first);
            h.Backend().MoveMouse(p.X, p.Y);
            h.Backend().Click(p.X, p.Y);
        },
    }));
    EXPECT_EQ(clicked, std::vector<std::string>{"First"});
    EXPECT_EQ(MenuWindows(), 0);
}

TEST_F(PopupFixture, KeyboardMovesSkipsSeparatorsOpensSubMenusAndChooses) {
    EXPECT_TRUE(Run({
        [&] { h.Backend().Key(platform::VK_DOWN); },  // Open
        [&] { h.Backend().Key(platform::VK_DOWN); },  // Recent
        [&] { h.Backend().Key(platform::VK_RIGHT); }, // its sub-menu, First hot
        [&] {
            EXPECT_EQ(Window(recent)->HotItem(), first);
            h.Backend().Key(platform::VK_LEFT); // back to the root
        },
        [&] {
            EXPECT_EQ(Window(recent), nullptr);
            h.Backend().Key(platform::VK_DOWN); // over the separator to Greyed
        },
        [&] {
            EXPECT_EQ(Window(menu->Items())->HotItem(), greyed);
            h.Backend().Key(platform::VK_RETURN); // disabled: nothing
        },
        [&] { h.Backend().Key(platform::VK_UP); },
        [&] { h.Backend().Key(platform::VK_UP); },
        [&] { h.Backend().Key(platform::VK_RETURN); },
    }));
    EXPECT_EQ(clicked, std::vector<std::string>{"&Open"});
}

TEST_F(PopupFixture, AcceleratorCharacterChoosesItsItem) {
    EXPECT_TRUE(Run({[&] { h.Backend().TypeText("q"); }}));
    EXPECT_EQ(clicked, std::vector<std::string>{"&Quit"});
}

TEST_F(PopupFixture, PopupNearTheScreenEdgeFlipsToStayOnTheWorkArea) {
    const TRect work = platform::Backend::Current().WorkArea();
    TRect placed;
    std::size_t steps = 0;
    h.OnIdle([&] {
        if (TPopupMenuWindow* w = Window(menu->Items()); w && steps++ == 0) {
            placed = w->BoundsRect();
            h.Backend().Key(platform::VK_ESCAPE);
        }
        return true;
    });
    menu->Popup(work.Right - 5, work.Bottom - 5);
    EXPECT_EQ(placed.Right, work.Right - 5) << "left of the point";
    EXPECT_EQ(placed.Bottom, work.Bottom - 5) << "above the point";
}

TEST_F(PopupFixture, InARightToLeftMenuLeftOpensTheSubMenuAndRightComesBack) {
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_TRUE(
        Run({
                [&] { h.Backend().Key(platform::VK_DOWN); },  // Open
                [&] { h.Backend().Key(platform::VK_DOWN); },  // Recent
                [&] { h.Backend().Key(platform::VK_RIGHT); }, // away from the sub-menu's side: nothing
                [&] {
                    EXPECT_EQ(Window(recent), nullptr);
                    h.Backend().Key(platform::VK_LEFT); // towards it: opens, First hot
                },
                [&] {
                    ASSERT_NE(Window(recent), nullptr);
                    EXPECT_EQ(Window(recent)->HotItem(), first);
                    h.Backend().Key(platform::VK_RIGHT); // back to the root
                },
                [&] {
                    EXPECT_EQ(Window(recent), nullptr);
                    h.Backend().Key(platform::VK_ESCAPE);
                },
            },
            {300, 150}));
}

TEST_F(PopupFixture, ARightToLeftMenuOpensLeftwardsAndFlipsAtTheLeftEdge) {
    // The menu follows the direction of the form that owns it.
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_EQ(menu->BiDiMode(), TBiDiMode::bdRightToLeft);
    EXPECT_TRUE(Run({
                        [&] {
                            TPopupMenuWindow* root = Window(menu->Items());
                            EXPECT_EQ(root->BoundsRect().Right, 300);
                            EXPECT_EQ(root->Top(), 150);
                            const TPoint p = ItemCentre(root, recent);
                            h.Backend().MoveMouse(p.X, p.Y);
                        },
                        [&] {
                            TPopupMenuWindow* root = Window(menu->Items());
                            TPopupMenuWindow* sub = Window(recent);
                            ASSERT_NE(sub, nullptr);
                            EXPECT_EQ(root->HotItem(), recent);
                            EXPECT_LE(sub->BoundsRect().Right, root->Left() + 4)
                                << "opens beside its parent, on the left";
                            EXPECT_GT(sub->BoundsRect().Right, root->Left());
                            const TPoint p = ItemCentre(sub, first);
                            h.Backend().Click(p.X, p.Y);
                        },
                    },
                    {300, 150})); // room on the left for the menu and its sub-menu
    EXPECT_EQ(clicked, std::vector<std::string>{"First"});

    const TRect work = platform::Backend::Current().WorkArea();
    TRect placed;
    std::size_t steps = 0;
    h.OnIdle([&] {
        if (TPopupMenuWindow* w = Window(menu->Items()); w && steps++ == 0) {
            placed = w->BoundsRect();
            h.Backend().Key(platform::VK_ESCAPE);
        }
        return true;
    });
    menu->Popup(work.Left + 5, 150);
    EXPECT_EQ(placed.Left, work.Left + 5) << "right of the point when there is no room on its left";
}

TEST_F(PopupFixture, FreeingTheMenuFromAnItemHandlerIsSafe) {
    quit->OnClick = [&](TObject*) { TObject::Free(menu); };
    EXPECT_TRUE(Run({[&] { h.Backend().TypeText("q"); }}));
    EXPECT_EQ(MenuWindows(), 0);
}

/// A menu of `count` items, far taller than the work area.
struct LongPopupFixture : PopupFixture {
    static constexpr int count = 200;
    std::vector<TMenuItem*> items;
    void SetUp() override {
        PopupFixture::SetUp();
        menu->Items()->Clear();
        for (int i = 0; i < count; ++i)
            items.push_back(Item("Item " + std::to_string(i), menu->Items()));
    }
    TPopupMenuWindow* Root() { return Window(menu->Items()); }
    /// Whether the whole of the item lies on the screen, between the window's arrows.
    bool Reachable(TPopupMenuWindow* w, int index) {
        const TRect r = w->ItemRect(index);
        const TRect work = platform::Backend::Current().WorkArea();
        const TPoint top = w->ClientToScreen({r.Left, r.Top});
        const TPoint bottom = w->ClientToScreen({r.Right, r.Bottom});
        return top.Y >= work.Top && bottom.Y <= work.Bottom && w->ItemAt({r.Left, r.Top}) == index &&
               w->ItemAt({r.Left, r.Bottom - 1}) == index;
    }
    TPoint ArrowCentre(TPopupMenuWindow* w, int direction) {
        const int border = menu->BorderWidth();
        const int y = direction == TPopupMenuWindow::ScrollUp
                          ? border + TPopupMenuWindow::ScrollArrowHeight / 2
                          : w->Height() - border - TPopupMenuWindow::ScrollArrowHeight / 2;
        return w->ClientToScreen({w->Width() / 2, y});
    }
};

// A menu taller than the screen ran off its bottom edge: the items below it
// could be reached neither by the pointer nor by the keyboard.
TEST_F(LongPopupFixture, MenuTallerThanTheScreenScrollsItsItemsIntoReach) {
    const TRect work = platform::Backend::Current().WorkArea();
    EXPECT_TRUE(Run({
        [&] {
            TPopupMenuWindow* w = Root();
            EXPECT_TRUE(w->Scrolls());
            EXPECT_GE(w->Top(), work.Top);
            EXPECT_LE(w->Top() + w->Height(), work.Bottom);
            EXPECT_TRUE(Reachable(w, 0));
            EXPECT_FALSE(w->CanScroll(TPopupMenuWindow::ScrollUp));
            h.Backend().Key(platform::VK_UP); // wraps to the last item
        },
        [&] {
            TPopupMenuWindow* w = Root();
            EXPECT_EQ(w->HotItem(), items.back());
            EXPECT_TRUE(Reachable(w, count - 1)) << "scrolled into view";
            EXPECT_FALSE(w->CanScroll(TPopupMenuWindow::ScrollDown));
            h.Backend().Key(platform::VK_DOWN); // wraps to the first
        },
        [&] {
            EXPECT_TRUE(Reachable(Root(), 0));
            EXPECT_EQ(Root()->ScrollOffset(), 0);
            const TPoint p = ArrowCentre(Root(), TPopupMenuWindow::ScrollDown);
            h.Backend().MoveMouse(p.X, p.Y);
        },
        [&] {
            TPopupMenuWindow* w = Root();
            EXPECT_EQ(w->ScrollOffset(), w->ItemRect(1).Top - w->ItemRect(0).Top) << "one item on";
            EXPECT_EQ(w->ItemAt(w->ScreenToClient(ArrowCentre(w, TPopupMenuWindow::ScrollDown))), -1);
            const TPoint p = ArrowCentre(w, TPopupMenuWindow::ScrollDown);
            h.Backend().Click(p.X, p.Y);
        },
        [&] {
            TPopupMenuWindow* w = Root();
            ASSERT_NE(w, nullptr) << "a click on an arrow keeps the menu open";
            EXPECT_EQ(w->ScrollOffset(), w->ItemRect(2).Top - w->ItemRect(0).Top) << "another item on";
            EXPECT_FALSE(Reachable(w, 1));
            int last = 0;
            for (int i = 0; i < count; ++i)
                if (Reachable(w, i)) last = i;
            EXPECT_LT(last, count - 1);
            const TPoint p = ItemCentre(w, items[static_cast<std::size_t>(last)]);
            h.Backend().Click(p.X, p.Y);
        },
    }));
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_NE(clicked[0], "Item 0");
    EXPECT_NE(clicked[0], "Item 1");
}

// Resting on an arrow scrolls on, item by item, until the end or until the
// pointer leaves it; a sub-menu beside a scrolled item closes.
TEST_F(LongPopupFixture, PointerRestingOnAnArrowKeepsScrolling) {
    Item("Sub", items[1]);
    int offsets[3] = {};
    EXPECT_TRUE(Run({
        [&] {
            const TPoint p = ItemCentre(Root(), items[1]);
            h.Backend().MoveMouse(p.X, p.Y);
        },
        [&] {
            EXPECT_NE(Window(items[1]), nullptr);
            const TPoint p = ArrowCentre(Root(), TPopupMenuWindow::ScrollDown);
            h.Backend().MoveMouse(p.X, p.Y);
        },
        [&] {
            offsets[0] = Root()->ScrollOffset();
            EXPECT_EQ(Window(items[1]), nullptr);
            h.Backend().AdvanceTime(TPopupMenuWindow::ScrollIntervalMs);
            // Still resting there: the loop goes on with the next input.
            const TPoint p = ArrowCentre(Root(), TPopupMenuWindow::ScrollDown);
            h.Backend().MoveMouse(p.X, p.Y);
        },
        [&] {
            offsets[1] = Root()->ScrollOffset();
            const TPoint p = ItemCentre(Root(), items[20]);
            h.Backend().MoveMouse(p.X, p.Y);
        },
        [&] {
            h.Backend().AdvanceTime(TPopupMenuWindow::ScrollIntervalMs * 3);
            const TPoint p = ItemCentre(Root(), items[20]);
            h.Backend().MoveMouse(p.X, p.Y);
        },
        [&] {
            offsets[2] = Root()->ScrollOffset();
            h.Backend().Key(platform::VK_ESCAPE);
        },
    }));
    EXPECT_GT(offsets[0], 0);
    EXPECT_GT(offsets[1], offsets[0]);
    EXPECT_EQ(offsets[2], offsets[1]) << "stops when the pointer leaves the arrow";
}

} // namespace
} // namespace emr::testing

namespace emr::testing {
namespace {

TEST_F(PopupFixture, RightClickPopsUpTheNearestAutoPopupMenuForItsControl) {
    InstallContextMenus(&h.App());
    auto* panel = Place<TButton>(form, 10, 10, 100, 60);
    form->SetPopupMenu(menu);
    int upsSeen = 0;
    panel->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int, int) { upsSeen += b == mbRight; };
    bool shown = false;
    h.OnIdle([&] {
        if (TPopupMenuWindow* w = Window(menu->Items())) {
            shown = true;
            const TPoint inPanel = panel->ClientToScreen({20, 30});
            EXPECT_EQ(w->Left(), inPanel.X);
            EXPECT_EQ(w->Top(), inPanel.Y);
            EXPECT_EQ(upsSeen, 1) << "the control saw its release first";
            h.Backend().TypeText("o");
        }
        return true;
    });
    const TPoint p = panel->ClientToScreen({20, 30});
    h.Backend().Click(p.X, p.Y, platform::TMouseButton::Right);
    h.App().ProcessMessages();
    EXPECT_TRUE(shown);
    EXPECT_EQ(menu->PopupComponent(), form) << "the control whose menu it is";
    EXPECT_EQ(clicked, std::vector<std::string>{"&Open"});

    // Without AutoPopup nothing pops up.
    menu->SetAutoPopup(false);
    shown = false;
    h.Backend().Click(p.X, p.Y, platform::TMouseButton::Right);
    h.App().ProcessMessages();
    EXPECT_FALSE(shown);
    UninstallContextMenus();
}

} // namespace
} // namespace emr::testing
