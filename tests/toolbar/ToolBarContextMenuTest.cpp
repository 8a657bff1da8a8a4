#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/ClassRegistry.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/MenuItem.h"
#include "framework/forms/Panel.h"
#include "framework/forms/PopupMenuWindow.h"
#include "framework/forms/Screen.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/streaming/LayoutReader.h"
#include "framework/streaming/LayoutWriter.h"
#include "menus/AdvPopupMenu.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/ToolBarContextMenu.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {
namespace {

using platform::VK_APPS;
using platform::VK_ESCAPE;
using platform::VK_F10;

/// A shown form (client 400 x 300) with a dock panel along its top edge holding
/// toolbars "Standard" and "Format" in one row, and a third toolbar without a
/// caption docked along the bottom. Input is injected; the popup's loop runs
/// inside the pump and the steps of Run are fed to it one per idle moment.
class ToolBarContextMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(100, 100, 100, 100);
        form->SetClientWidth(400);
        form->SetClientHeight(300);
        app->SetMainForm(form);
        top = new TAdvDockPanel(form);
        top->SetName("Top");
        top->SetParent(form);
        bottom = new TAdvDockPanel(form);
        bottom->SetName("Bottom");
        bottom->SetAlign(TDockAlign::daBottom);
        bottom->SetParent(form);
        standard = MakeToolBar("StandardBar", "Standard", top);
        format = MakeToolBar("FormatBar", "Format", top);
        untitled = MakeToolBar("Untitled", "", bottom);
        form->Show();
        Pump();
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }

    TAdvToolBar* MakeToolBar(const std::string& name, const std::string& caption, TWinControl* parent) {
        auto* t = new TAdvToolBar(form);
        t->SetName(name);
        t->SetCaption(caption);
        auto* content = new TPanel(form);
        content->SetBounds(1, 1, 60, 22);
        content->SetParent(t);
        t->SetParent(parent);
        return t;
    }

    void Pump() { app->ProcessMessages(); }

    static TPopupMenuWindow* OpenWindow() {
        for (TCustomForm* f : Screen().FormList())
            if (auto* w = dynamic_cast<TPopupMenuWindow*>(f); w && w->Visible()) return w;
        return nullptr;
    }
    /// The open menu's items, a checked one marked with a trailing " +".
    static std::vector<std::string> Shown() {
        std::vector<std::string> items;
        if (TPopupMenuWindow* w = OpenWindow())
            for (const TMenuItem* item : w->ShownItems())
                items.push_back(item->Caption() + (item->Checked() ? " +" : ""));
        return items;
    }

    /// Runs `start` and feeds each step to the loop once the input before it is
    /// used up; afterwards presses Esc until every loop ended. Returns how many
    /// times a menu was found open when a step was due.
    int Run(const std::function<void()>& start, std::vector<std::function<void()>> steps = {}) {
        std::size_t next = 0;
        int opened = 0;
        int escapes = 0;
        app->OnIdle = [&](TObject*) {
            if (backend_->PendingEvents() > 0) return;
            if (OpenWindow() && next < steps.size()) {
                ++opened;
                steps[next++]();
            } else if (OpenWindow() && ++escapes < 5) {
                ++opened;
                backend_->Key(VK_ESCAPE);
            }
        };
        start();
        Pump();
        app->OnIdle = nullptr;
        Pump();
        return opened;
    }
    void RightClick(const TControl* c, int x, int y) {
        const TPoint p = c->ClientToScreen({x, y});
        backend_->MoveMouse(p.X, p.Y);
        backend_->Click(p.X, p.Y, platform::TMouseButton::Right);
    }
    /// Clicks the open menu's item with that caption.
    void Choose(const std::string& caption) {
        TPopupMenuWindow* w = OpenWindow();
        ASSERT_NE(w, nullptr);
        const auto& shown = w->ShownItems();
        for (std::size_t i = 0; i < shown.size(); ++i)
            if (shown[i]->Caption() == caption) {
                const TRect r = w->ItemRect(static_cast<int>(i));
                const TPoint p = w->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
                backend_->MoveMouse(p.X, p.Y);
                backend_->Click(p.X, p.Y);
                return;
            }
        ADD_FAILURE() << "no item " << caption;
    }
    static TPoint TopLeft(const TControl* c) { return {c->Left(), c->Top()}; }
    /// A point of the top panel right of its toolbars.
    TPoint PanelSpot() const { return {top->Width() - 20, top->Height() / 2}; }

    platform::HeadlessBackend* backend_ = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvDockPanel* top = nullptr;
    TAdvDockPanel* bottom = nullptr;
    TAdvToolBar* standard = nullptr;
    TAdvToolBar* format = nullptr;
    TAdvToolBar* untitled = nullptr;
};

TEST_F(ToolBarContextMenuTest, RightClicksOnThePanelAndOnAToolBarGripListTheWindowsToolBarsWithCheckMarks) {
    format->SetVisible(false);
    Pump();
    std::vector<std::string> fromPanel, fromGrip;
    TPoint shownAt;
    EXPECT_EQ(Run([&] { RightClick(top, PanelSpot().X, PanelSpot().Y); }, {[&] {
                      fromPanel = Shown();
                      shownAt = TopLeft(OpenWindow());
                      backend_->Key(VK_ESCAPE);
                  }}),
              1);
    const std::vector<std::string> expected{"Standard +", "Format", "Untitled +"};
    EXPECT_EQ(fromPanel, expected) << "creation order; a toolbar without a caption goes by its name";
    EXPECT_EQ(shownAt, top->ClientToScreen(PanelSpot()));
    EXPECT_EQ(Run([&] { RightClick(standard, 3, standard->Height() / 2); }, {[&] {
                      fromGrip = Shown();
                      backend_->Key(VK_ESCAPE);
                  }}),
              1);
    EXPECT_EQ(fromGrip, expected);
    EXPECT_TRUE(standard->Visible()) << "Esc chooses nothing";
    EXPECT_FALSE(format->Visible());
}

TEST_F(ToolBarContextMenuTest, ChoosingAnItemHidesAShownToolBarAndShowsAHiddenOne) {
    const int formatLeft = format->Left();
    Run([&] { RightClick(top, PanelSpot().X, PanelSpot().Y); }, {[&] { Choose("Format"); }});
    EXPECT_FALSE(format->Visible());
    EXPECT_TRUE(standard->Visible());
    EXPECT_EQ(top->InvisibleToolBars().size(), 1u) << "the panel took it out of its row";

    std::vector<std::string> items;
    Run([&] { RightClick(standard, standard->Width() - 8, 3); }, {[&] {
            items = Shown();
            Choose("Format");
        }});
    EXPECT_EQ(items, (std::vector<std::string>{"Standard +", "Format", "Untitled +"}));
    EXPECT_TRUE(format->Visible());
    EXPECT_EQ(format->Left(), formatLeft) << "back where it was";
    EXPECT_TRUE(top->InvisibleToolBars().empty());
}

TEST_F(ToolBarContextMenuTest, AFloatingToolBarClosedByItsCrossComesBackInItsWindow) {
    ASSERT_NE(TFloatingWindow::FloatToolBar(standard, 200, 200, true), nullptr);
    Pump();
    TFloatingWindow* window = TFloatingWindow::Of(standard);
    ASSERT_NE(window, nullptr);
    const TRect x = standard->CloseButtonRect();
    const TPoint cross = standard->ClientToScreen({(x.Left + x.Right) / 2, (x.Top + x.Bottom) / 2});
    backend_->MoveMouse(cross.X, cross.Y);
    backend_->Click(cross.X, cross.Y);
    Pump();
    ASSERT_FALSE(window->Visible());
    ASSERT_FALSE(standard->Visible());

    std::vector<std::string> items;
    Run([&] { RightClick(top, PanelSpot().X, PanelSpot().Y); }, {[&] {
            items = Shown();
            Choose("Standard");
        }});
    EXPECT_EQ(items, (std::vector<std::string>{"Standard", "Format +", "Untitled +"}));
    ASSERT_EQ(TFloatingWindow::Of(standard), window);
    EXPECT_TRUE(standard->Visible());
    EXPECT_TRUE(window->Visible());
    EXPECT_TRUE(standard->Floating());
    EXPECT_EQ(window->Width(), standard->Width() + 2 * window->BorderWidth() + 2);

    // Its caption opens the menu too, and hiding it from there takes the window along.
    const TRect caption = standard->FloatingCaptionDragRect();
    Run([&] { RightClick(standard, caption.Left + 4, (caption.Top + caption.Bottom) / 2); }, {[&] {
            items = Shown();
            Choose("Standard");
        }});
    EXPECT_EQ(items, (std::vector<std::string>{"Standard +", "Format +", "Untitled +"}));
    EXPECT_FALSE(standard->Visible());
    EXPECT_FALSE(window->Visible());
}

TEST_F(ToolBarContextMenuTest, AFloatingToolBarThatDocksWhenClosedIsHiddenByTheMenu) {
    standard->SetAutoDockOnClose(true);
    ASSERT_NE(TFloatingWindow::FloatToolBar(standard, 200, 200, true), nullptr);
    Pump();
    Run([&] { RightClick(top, PanelSpot().X, PanelSpot().Y); }, {[&] { Choose("Standard"); }});
    EXPECT_FALSE(standard->Visible());
    EXPECT_TRUE(standard->Floating());
    EXPECT_FALSE(TFloatingWindow::Of(standard)->Visible());
}

TEST_F(ToolBarContextMenuTest, APanelWithTheMenuOffOrAControlWithItsOwnMenuShowsNoToolBarList) {
    top->SetShowToolBarMenu(false);
    EXPECT_EQ(Run([&] { RightClick(top, PanelSpot().X, PanelSpot().Y); }), 0);
    EXPECT_EQ(Run([&] { RightClick(standard, 3, standard->Height() / 2); }), 0)
        << "its toolbars follow the panel";
    // The other panel still offers it.
    EXPECT_EQ(Run([&] { RightClick(bottom, bottom->Width() - 20, bottom->Height() / 2); }), 1);

    // A floating toolbar follows the panel it came from.
    ASSERT_NE(TFloatingWindow::FloatToolBar(format, 200, 200, true), nullptr);
    Pump();
    const TRect caption = format->FloatingCaptionDragRect();
    EXPECT_EQ(Run([&] { RightClick(format, caption.Left + 4, (caption.Top + caption.Bottom) / 2); }), 0);

    // A menu of the control's own (or of its parents) wins.
    auto* own = new TAdvPopupMenu(form);
    bottom->SetPopupMenu(own);
    EXPECT_EQ(Run([&] { RightClick(untitled, 3, untitled->Height() / 2); }), 0);
}

TEST_F(ToolBarContextMenuTest, ShowToolBarMenuIsReadFromAndWrittenToStoredLayouts) {
    RegisterToolbarClasses();
    const char* text = R"(object Form2: TForm
  object Dock: TAdvDockPanel
    ShowToolBarMenu = False
  end
end
)";
    TComponent* root = TLayoutReader::CreateFromText(text, app);
    auto* dock = dynamic_cast<TAdvDockPanel*>(root->FindComponent("Dock"));
    ASSERT_NE(dock, nullptr);
    EXPECT_FALSE(dock->ShowToolBarMenu());
    EXPECT_NE(TLayoutWriter::WriteRootToText(root).find("ShowToolBarMenu = False"), std::string::npos);
    dock->SetShowToolBarMenu(true);
    EXPECT_EQ(TLayoutWriter::WriteRootToText(root).find("ShowToolBarMenu"), std::string::npos)
        << "the default is not stored";
    EXPECT_TRUE(TAdvDockPanel(nullptr).ShowToolBarMenu());
}

TEST_F(ToolBarContextMenuTest, ShiftF10AndTheMenuKeyOnAToolBarOpenTheListBelowIt) {
    const TPoint below = standard->ClientToScreen({0, standard->Height()});
    std::vector<TPoint> shownAt;
    auto note = [&] {
        shownAt.push_back(TopLeft(OpenWindow()));
        backend_->Key(VK_ESCAPE);
    };
    EXPECT_EQ(Run([&] { standard->Perform(WM_SYSKEYDOWN, VK_F10, ssShift); }, {note}), 1);
    EXPECT_EQ(Run([&] { standard->Perform(WM_KEYDOWN, VK_APPS, 0); }, {note}), 1);
    EXPECT_EQ(shownAt, (std::vector<TPoint>{below, below}));
    EXPECT_EQ(Run([&] { standard->Perform(WM_SYSKEYDOWN, VK_F10, 0); }), 0) << "F10 alone is the menu bar's";
    EXPECT_EQ(Run([&] { standard->Perform(WM_SYSKEYDOWN, VK_F10, ssShift | ssCtrl); }), 0);

    // The key chooses as the mouse does.
    Run([&] { standard->Perform(WM_KEYDOWN, VK_APPS, 0); }, {[&] { Choose("Untitled"); }});
    EXPECT_FALSE(untitled->Visible());

    top->SetShowToolBarMenu(false);
    EXPECT_EQ(Run([&] { standard->Perform(WM_KEYDOWN, VK_APPS, 0); }), 0);
}

} // namespace
} // namespace emr
