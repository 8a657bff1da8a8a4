// The form player's `save` and `reload`: a script rearranges a window's toolbars,
// saves their layouts as destroying the window would, destroys and recreates the
// window from its stored layout, and the dump shows the same arrangement again.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "formplay/FormPlayer.h"
#include "formplay/PlayScript.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/ToolBarFixture.h"
#include "toolbar/ToolbarClasses.h"

namespace emr::testing {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class LayoutPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        const auto unique = std::to_string(std::random_device{}()) + std::to_string(std::rand());
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / ("emr-player-" + unique);
        ASSERT_TRUE(std::filesystem::create_directories(folder));
        dir = folder.generic_string();
        ini = dir + "/layout.ini";
        RegisterToolbarClasses();
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));
        app = new TApplication(nullptr);
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }

    /// A window whose dock panel saves to the test's INI file, with four toolbars
    /// of two captioned buttons each, one to a row.
    std::string Layout() const {
        std::string text = "object LayoutForm: TForm\n  Left = 100\n  Top = 80\n  ClientWidth = 400\n"
                           "  ClientHeight = 300\n  object Dock: TAdvDockPanel\n"
                           "    Persistence.Location = plIniFile\n    Persistence.Key = '" +
                           ini + "'\n    Persistence.Section = 'Dock'\n    Persistence.Enabled = True\n";
        text += testing::StoredToolBars(4);
        return text + "  end\nend\n";
    }

    static std::string Point(TPoint p) { return std::to_string(p.X) + " " + std::to_string(p.Y); }
    /// A drag by a docked toolbar's grip to the screen point `to`, in a few steps.
    static std::string DragGrip(const TAdvToolBar* t, TPoint to) {
        const TPoint from = t->ClientToScreen({3, 12});
        std::string script = "press " + Point(from) + "\n";
        for (int step = 1; step <= 4; ++step)
            script += "move " +
                      Point({from.X + (to.X - from.X) * step / 4, from.Y + (to.Y - from.Y) * step / 4}) +
                      "\n";
        return script + "release " + Point(to) + "\n";
    }
    static std::string Rows(const TAdvDockPanel* panel) {
        std::string out;
        for (const std::string& line : panel->DumpRows())
            out += line + "\n";
        return out;
    }
    /// The windows of a dump, each with its tree, in the order of their first lines
    /// (a window made while its form loads comes before the form in the dump).
    static std::vector<std::string> Windows(const std::string& dump) {
        std::vector<std::string> windows;
        std::istringstream in(dump);
        for (std::string line; std::getline(in, line);) {
            if (windows.empty() || line.front() != ' ') windows.emplace_back();
            windows.back() += line + "\n";
        }
        std::sort(windows.begin(), windows.end());
        return windows;
    }
    TCustomForm* Form() const { return app->MainForm(); }
    template <class T> T* Find(const std::string& name) const { return Form()->FindComponentAs<T>(name); }

    std::string dir;
    std::string ini;
    platform::HeadlessBackend* backend_ = nullptr;
    TApplication* app = nullptr;
};

TEST_F(LayoutPlayer, SaveThenReloadShowsTheSameArrangement) {
    std::ostringstream out;
    TFormPlayer player(*backend_, *app, out);
    player.LoadForm(Layout());
    auto* bar1 = Find<TAdvToolBar>("Bar1");
    auto* bar2 = Find<TAdvToolBar>("Bar2");
    auto* bar3 = Find<TAdvToolBar>("Bar3");
    ASSERT_TRUE(bar1 && bar2 && bar3);
    ASSERT_EQ(Find<TAdvDockPanel>("Dock")->RowCount(), 4);

    // Bar3 goes up into the first row, right of Bar1; Bar2 is torn off and floats.
    const TPoint intoFirstRow = bar1->ClientToScreen({bar1->Width() + 40, 12});
    const TPoint belowWindow = bar2->ClientToScreen({3, 250});
    player.Play(ParsePlayScript(DragGrip(bar3, intoFirstRow) + DragGrip(bar2, belowWindow)));
    // And Bar4 is hidden.
    Find<TAdvToolBar>("Bar4")->SetVisible(false);
    ASSERT_EQ(bar3->RowIndex(), 0);
    ASSERT_TRUE(bar2->Floating());
    const TRect windowAt = TFloatingWindow::Of(bar2)->BoundsRect();
    const std::string rows = Rows(Find<TAdvDockPanel>("Dock"));

    player.Play(ParsePlayScript("dump\n"));
    const std::string before = out.str();
    out.str("");
    // The floating window shows once its form does, at the next beat of its follow timer.
    player.Play(ParsePlayScript("save\nreload\nwait 100\ndump\n"));
    EXPECT_EQ(Windows(out.str()), Windows(before)) << before << "--\n" << out.str();
    EXPECT_NE(before.find("Bar4: TAdvToolBar 70,28,65,26 hidden"), std::string::npos) << before;
    EXPECT_NE(before.find("TFloatingWindow 111,377,66,48\n  Bar2: TAdvToolBar"), std::string::npos) << before;

    // The window is a new one, arranged as the old one was.
    ASSERT_NE(Form(), nullptr);
    auto* panel = Find<TAdvDockPanel>("Dock");
    EXPECT_EQ(Rows(panel), rows);
    EXPECT_EQ(Find<TAdvToolBar>("Bar3")->RowIndex(), 0);
    EXPECT_FALSE(Find<TAdvToolBar>("Bar4")->Visible());
    EXPECT_EQ(panel->InvisibleToolBars().size(), 1u);
    auto* floating = Find<TAdvToolBar>("Bar2");
    ASSERT_TRUE(floating->Floating());
    EXPECT_EQ(TFloatingWindow::Of(floating)->BoundsRect(), windowAt);
}

TEST_F(LayoutPlayer, SaveWritesTheLayoutsAsDestructionWouldAndKeepsTheWindow) {
    std::ostringstream out;
    TFormPlayer player(*backend_, *app, out);
    TCustomForm* form = player.LoadForm(Layout());
    auto* bar2 = Find<TAdvToolBar>("Bar2");
    player.Play(ParsePlayScript(DragGrip(bar2, bar2->ClientToScreen({3, 250}))));
    ASSERT_TRUE(bar2->Floating());
    EXPECT_FALSE(std::filesystem::exists(ini));

    player.Play(ParsePlayScript("save\n"));
    EXPECT_EQ(Form(), form) << "the window stays";
    const std::string text = ReadFile(ini);
    EXPECT_NE(text.find("[Dock]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("ToolBarCount=3\n"), std::string::npos)
        << "the floating toolbar is not the panel's: " << text;
    EXPECT_NE(text.find("Name3=Bar4\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[UnDockedAdvToolBars]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Bar2.State=1\n"), std::string::npos)
        << "the floating toolbar saves itself: " << text;
    EXPECT_NE(text.find("Bar1.Button11=1\n"), std::string::npos) << "and each toolbar its buttons: " << text;

    // Saved again after a change, the file follows.
    Find<TAdvToolBar>("Bar4")->SetVisible(false);
    player.Play(ParsePlayScript("save\n"));
    EXPECT_NE(ReadFile(ini).find("Bar4.Visible=0\n"), std::string::npos) << ReadFile(ini);
}

TEST_F(LayoutPlayer, ReloadWhenTheWindowIsGoneFailsWithItsLine) {
    std::ostringstream out;
    TFormPlayer player(*backend_, *app, out);
    player.LoadForm(Layout());
    TObject::Free(Form());
    try {
        player.Play(ParsePlayScript("\nreload\n"));
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "line 2: the form is gone");
    }
}

} // namespace
} // namespace emr::testing
