// How many layouts a dock panel computes and applies for one event: at most one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "ToolBarFixture.h"
#include "framework/forms/Panel.h"
#include "framework/streaming/LayoutReader.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/ToolbarClasses.h"

namespace emr::testing {
namespace {

class LayoutPassTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::Backend::Install(std::make_unique<platform::HeadlessBackend>());
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(0, 0, 600, 400);
        form->SetClientWidth(400);
        form->SetClientHeight(300);
        dock = new TAdvDockPanel(form);
        dock->SetParent(form);
        for (const char* name : {"A", "B", "C"}) {
            auto* t = new TAdvToolBar(form);
            t->SetName(name);
            auto* p = new TPanel(form);
            p->SetBounds(0, 0, 60, 22);
            p->SetParent(t);
            content[name] = p;
            t->SetParent(dock);
            bars.push_back(t);
        }
        // Two in the first row, one in the second.
        bars[1]->SetTop(bars[0]->Top() + 2);
        form->Show();
        app->ProcessMessages();
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    /// The passes `event` costs the panel.
    template <class F> std::uint64_t PassesOf(F&& event) {
        const std::uint64_t before = dock->LayoutPasses();
        event();
        app->ProcessMessages();
        return dock->LayoutPasses() - before;
    }

    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvDockPanel* dock = nullptr;
    std::vector<TAdvToolBar*> bars;
    std::map<std::string, TPanel*> content;
};

TEST_F(LayoutPassTest, EachEventCostsTheDockPanelAtMostOneLayoutPass) {
    ASSERT_EQ(dock->RowCount(), 2) << [&] {
        std::string s;
        for (auto& l : dock->DumpRows())
            s += l + "\n";
        return s;
    }();
    EXPECT_LE(PassesOf([&] { form->SetClientWidth(300); }), 1u) << "resize";
    EXPECT_LE(PassesOf([&] { bars[1]->SetLeft(bars[1]->Left() + 10); }), 1u) << "a move within the row";
    EXPECT_LE(PassesOf([&] { bars[2]->SetTop(bars[0]->Top() + 1); }), 1u) << "a move into another row";
    EXPECT_LE(PassesOf([&] { bars[0]->SetVisible(false); }), 1u) << "hidden";
    EXPECT_LE(PassesOf([&] { bars[0]->SetVisible(true); }), 1u) << "shown";
    EXPECT_LE(PassesOf([&] { content["B"]->SetWidth(90); }), 1u) << "a control grows";
    EXPECT_LE(PassesOf([&] { app->ProcessMessages(); }), 0u) << "nothing happened";
}

// A desktop theme change reaches the panel's styler, which tells the panel and
// each of its toolbars of its new look: the panel is laid out once at most.
TEST_F(LayoutPassTest, ThemeChangeCostsThePanelAtMostOneLayoutPass) {
    auto* styler = new TAdvToolBarOfficeStyler(form);
    // Not the desktop's look, so that the theme change brings a new one.
    styler->SetStyle(bsOffice2007Luna);
    styler->SetAutoThemeAdapt(true);
    dock->SetToolBarStyler(styler);
    for (TAdvToolBar* t : bars)
        t->SetToolBarStyler(styler);
    app->ProcessMessages();
    auto& backend = static_cast<platform::HeadlessBackend&>(platform::Backend::Current());
    EXPECT_LE(PassesOf([&] { backend.ChangeTheme(3); }), 1u) << "a new look";
    EXPECT_EQ(styler->Style(), bsOffice2003Silver);
    const std::vector<std::string> rows = dock->DumpRows();
    dock->ArrangeRows();
    EXPECT_EQ(dock->DumpRows(), rows) << "the one pass left nothing to do";
}

/// A window of three dock panels (top, left, bottom) holding toolbars of captioned
/// buttons, stored as the program stores its windows, whose panels keep their
/// layout in one INI file.
class StoredWindowPassTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto unique = std::to_string(std::random_device{}());
        folder = std::filesystem::temp_directory_path() / ("emr-passes-" + unique);
        ASSERT_TRUE(std::filesystem::create_directories(folder));
        platform::Backend::Install(std::make_unique<platform::HeadlessBackend>());
        app = new TApplication(nullptr);
        RegisterToolbarClasses();
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    static std::string Bar(const std::string& name, int left, int top, int buttons) {
        std::string text = "    object " + name + ": TAdvToolBar\n      Left = " + std::to_string(left) +
                           "\n      Top = " + std::to_string(top) + "\n      Width = 91\n      Height = 26\n";
        for (int b = 1; b <= buttons; ++b)
            text += "      object " + name + "Button" + std::to_string(b) +
                    ": TAdvToolBarButton\n        Caption = 'B" + std::to_string(b) +
                    "'\n        ShowCaption = True\n      end\n";
        return text + "    end\n";
    }
    std::string Panel(const std::string& name, const std::string& align, const std::string& bars) const {
        return "  object " + name + ": TAdvDockPanel\n    Align = " + align +
               "\n    Persistence.Location = plIniFile\n    Persistence.Key = '" +
               (folder / "layout.ini").string() + "'\n    Persistence.Section = '" + name +
               "'\n    Persistence.Enabled = True\n" + bars + "  end\n";
    }
    std::string StoredWindow() const {
        return "object Window: TForm\n  ClientWidth = 640\n  ClientHeight = 480\n" +
               Panel("Top", "daTop",
                     Bar("File", 3, 1, 3) + Bar("Edit", 120, 1, 4) + Bar("View", 3, 28, 2) +
                         Bar("Help", 250, 28, 2)) +
               Panel("Left", "daLeft", Bar("Tools", 1, 3, 3) + Bar("Draw", 28, 3, 2)) +
               Panel("Bottom", "daBottom", Bar("Status", 3, 1, 2)) + "end\n";
    }
    TForm* Create() { return static_cast<TForm*>(TLayoutReader::CreateFromText(StoredWindow(), app)); }
    static std::string Rows(const TForm* form) {
        std::string out;
        for (const char* name : {"Top", "Left", "Bottom"})
            for (const std::string& line : form->FindComponentAs<TAdvDockPanel>(name)->DumpRows())
                out += std::string(name) + " " + line + "\n";
        return out;
    }

    std::filesystem::path folder;
    TApplication* app = nullptr;
};

// Each toolbar of a window started from its stored layout and saved INI used to
// cost its panel a layout pass of its own after the panel had laid out its rows,
// and the saved layout as many more as it placed toolbars.
TEST_F(StoredWindowPassTest, WindowFromItsStoredLayoutAndSavedIniReachesItsFirstFrameInOnePassPerPanel) {
    TForm* first = Create();
    auto* top = first->FindComponentAs<TAdvDockPanel>("Top");
    auto* view = first->FindComponentAs<TAdvToolBar>("View");
    auto* help = first->FindComponentAs<TAdvToolBar>("Help");
    ASSERT_TRUE(top && view && help);
    // Rearranged by the user before the window closes and saves.
    top->MoveToRow(help, 0);
    view->SetVisible(false);
    first->FindComponentAs<TAdvToolBarButton>("EditButton2")->SetVisible(false);
    const std::string rows = Rows(first);
    TObject::Free(first);
    ASSERT_TRUE(std::filesystem::exists(folder / "layout.ini"));

    TForm* window = Create();
    window->Show();
    app->ProcessMessages();
    EXPECT_EQ(Rows(window), rows) << "the saved layout is restored";
    EXPECT_FALSE(window->FindComponentAs<TAdvToolBar>("View")->Visible());
    EXPECT_FALSE(window->FindComponentAs<TAdvToolBarButton>("EditButton2")->Visible());
    for (const char* name : {"Top", "Left", "Bottom"}) {
        const auto* panel = window->FindComponentAs<TAdvDockPanel>(name);
        EXPECT_TRUE(panel->LayoutLoaded()) << name;
        EXPECT_LE(panel->LayoutPasses(), 1u) << name;
    }
    TObject::Free(window);
}

} // namespace
} // namespace emr::testing
