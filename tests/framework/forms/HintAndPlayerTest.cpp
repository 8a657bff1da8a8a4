#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "FormsHarness.h"
#include "formplay/FormPlayer.h"
#include "framework/forms/Button.h"
#include "framework/forms/HintManager.h"
#include "framework/forms/HintWindow.h"
#include "framework/forms/LayoutSaving.h"
#include "framework/forms/MessageDialog.h"
#include "framework/forms/Panel.h"

namespace emr::testing {
namespace {

struct HintFixture : ::testing::Test {
    FormsHarness h;
    TForm* form = h.NewForm(100, 100, 300, 200);
    TButton* hinted = Place<TButton>(form, 10, 10, 80, 30);
    TButton* plain = Place<TButton>(form, 10, 60, 80, 30);
    TButton* second = Place<TButton>(form, 10, 110, 80, 30);

    void SetUp() override {
        hinted->SetHint("Apply the patch|Rewrites the regional settings");
        hinted->SetShowHint(true);
        second->SetHint("Second");
        second->SetShowHint(true);
        plain->SetShowHint(true);
        form->Show();
        h.App().ProcessMessages();
        THintManager::Instance().Install(&h.App());
    }
    void TearDown() override { THintManager::Instance().Uninstall(); }
    void MoveTo(const TControl* c) {
        const TPoint p = c->ClientToScreen({c->Width() / 2, c->Height() / 2});
        h.Backend().MoveMouse(p.X, p.Y);
        h.App().ProcessMessages();
    }
    THintWindow* Shown() { return THintManager::Instance().ShownWindow(); }
};

TEST_F(HintFixture, ShowsTheShortHintAfterThePauseBelowThePointerAndHidesOnLeave) {
    MoveTo(hinted);
    h.Backend().AdvanceTime(499);
    EXPECT_EQ(Shown(), nullptr);
    h.Backend().AdvanceTime(1);
    THintWindow* w = Shown();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Visible());
    EXPECT_EQ(w->Caption(), "Apply the patch");
    const TPoint pointer = hinted->ClientToScreen({40, 15});
    EXPECT_EQ(w->Left(), pointer.X);
    EXPECT_EQ(w->Top(), pointer.Y + 20);
    h.App().PaintPending();
    EXPECT_EQ(h.Pixel(w, w->Width() - 2, w->Height() - 2), 0xFFFFE1u) << "clInfoBk inside";
    EXPECT_EQ(h.Pixel(w, 0, 0), 0x646464u) << "clWindowFrame border";

    MoveTo(plain); // no hint there
    EXPECT_EQ(Shown(), nullptr);
    EXPECT_FALSE(w->Visible());
}

TEST_F(HintFixture, MovingBetweenHintedControlsSwitchesQuicklyAndHidesAfterTheHidePause) {
    MoveTo(hinted);
    h.Backend().AdvanceTime(500);
    ASSERT_NE(Shown(), nullptr);
    MoveTo(second);
    EXPECT_EQ(Shown(), nullptr);
    h.Backend().AdvanceTime(50);
    ASSERT_NE(Shown(), nullptr);
    EXPECT_EQ(Shown()->Caption(), "Second");
    h.Backend().AdvanceTime(2499);
    EXPECT_NE(Shown(), nullptr);
    h.Backend().AdvanceTime(1);
    EXPECT_EQ(Shown(), nullptr) << "hidden after the hide pause";
    h.Backend().AdvanceTime(5000);
    EXPECT_EQ(Shown(), nullptr) << "and not shown again while the pointer stays";
}

TEST_F(HintFixture, APressHidesTheHintUntilThePointerLeavesTheControl) {
    MoveTo(hinted);
    h.Backend().AdvanceTime(500);
    ASSERT_NE(Shown(), nullptr);
    const TPoint p = hinted->ClientToScreen({40, 15});
    h.Backend().Press(p.X, p.Y);
    h.Backend().Release(p.X, p.Y);
    h.App().ProcessMessages();
    EXPECT_EQ(Shown(), nullptr);
    h.Backend().MoveMouse(p.X + 1, p.Y);
    h.Backend().AdvanceTime(1000);
    EXPECT_EQ(Shown(), nullptr);
    MoveTo(plain);
    MoveTo(hinted);
    h.Backend().AdvanceTime(500);
    EXPECT_NE(Shown(), nullptr);
}

TEST_F(HintFixture, ShowHintOffMeansNoHint) {
    hinted->SetShowHint(false);
    MoveTo(hinted);
    h.Backend().AdvanceTime(1000);
    EXPECT_EQ(Shown(), nullptr);
}

constexpr const char* kSmallLayout = R"(object Form1: TForm
  Left = 100
  Top = 80
  Width = 300
  Height = 200
  Caption = 'Small'
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 284
    Height = 161
    Align = alClient
    BevelInner = bvLowered
    TabOrder = 0
    object Button1: TButton
      Left = 20
      Top = 10
      Width = 75
      Height = 25
      Caption = 'Go'
      TabOrder = 0
    end
    object Box: TGroupBox
      Left = 20
      Top = 50
      Width = 100
      Height = 40
      Visible = False
    end
  end
end
)";

TEST(FormPlayer, DumpsEveryWindowAndItsTreeWithExtensionsAfterInput) {
    FormsHarness h;
    std::ostringstream out;
    TFormPlayer player(h.Backend(), h.App(), out);
    TCustomForm* form = player.LoadForm(kSmallLayout);
    const int id = AddDumpExtension([](const TControl& c, int depth, std::vector<std::string>& lines) {
        if (c.Name() == "Panel1") lines.push_back(DumpIndent(depth + 2) + "row 0");
    });
    const TPoint button = form->FindComponentAs<TControl>("Button1")->ClientToScreen({5, 5});
    player.Play(ParsePlayScript("dump\n"
                                "resize 320 220\n"
                                "click " +
                                std::to_string(button.X) + " " + std::to_string(button.Y) +
                                "\n"
                                "wait 10\n"
                                "dump\n"));
    RemoveDumpExtension(id);
    const std::string first = "Form1: TForm 100,80,300,200\n"
                              "  Panel1: TPanel 0,0,284,161\n"
                              "    Button1: TButton 20,10,75,25\n"
                              "    Box: TGroupBox 20,50,100,40 hidden\n"
                              "      row 0\n";
    const std::string second = "Form1: TForm 100,80,320,220\n"
                               "  Panel1: TPanel 0,0,304,181\n"
                               "    Button1: TButton 20,10,75,25\n"
                               "    Box: TGroupBox 20,50,100,40 hidden\n"
                               "      row 0\n";
    EXPECT_EQ(out.str(), first + second);
}

TEST(FormPlayer, ScriptInputReachesAModalBoxOpenedByAnEarlierCommand) {
    FormsHarness h;
    std::ostringstream out;
    TFormPlayer player(h.Backend(), h.App(), out);
    TCustomForm* form = player.LoadForm(kSmallLayout);
    auto* button = form->FindComponentAs<TButton>("Button1");
    int answer = 0;
    bool after = false;
    button->OnClick = [&](TObject*) {
        answer = ShowMessageDialog("done", "note", MB_OKCANCEL);
        after = true;
    };
    const TPoint p = button->ClientToScreen({5, 5});
    player.Play(ParsePlayScript("click " + std::to_string(p.X) + " " + std::to_string(p.Y) + "\nkey esc\n"));
    EXPECT_TRUE(after);
    EXPECT_EQ(answer, IDCANCEL) << "Esc reached the box, which the click had opened";
}

TEST(FormPlayer, AQuitRequestFromInsideTheScriptEndsThePlayerAndTheApplication) {
    FormsHarness h;
    std::ostringstream out;
    TFormPlayer player(h.Backend(), h.App(), out);
    TCustomForm* form = player.LoadForm(kSmallLayout);
    auto* button = form->FindComponentAs<TButton>("Button1");
    button->OnClick = [&](TObject*) { h.App().Terminate(); };
    const TPoint p = button->ClientToScreen({5, 5});
    const std::string click = "click " + std::to_string(p.X) + " " + std::to_string(p.Y) + "\n";
    // Once spun for ever: the quit came back to the player's loop each time it
    // was re-posted. Now it ends the application, and the rest of the script.
    player.Play(ParsePlayScript(click + "wait 10\ndump\n" + click));
    EXPECT_TRUE(h.App().Terminated());
    EXPECT_EQ(out.str(), "") << "commands after the quit ran";
}

TEST(FormPlayer, SaveRunsTheLayoutSaversOnTheFormAndReloadMakesItAnew) {
    FormsHarness h;
    std::ostringstream out;
    TFormPlayer player(h.Backend(), h.App(), out);
    TCustomForm* form = player.LoadForm(kSmallLayout);
    std::vector<std::string> saved;
    const int id = AddLayoutSaver([&](TComponent& root) { saved.push_back(root.Name()); });
    form->FindComponentAs<TControl>("Button1")->SetLeft(40);
    form->SetBounds(form->Left(), form->Top(), 320, 220);
    player.Play(ParsePlayScript("save\nreload\ndump\n"));
    RemoveLayoutSaver(id);
    EXPECT_EQ(saved, std::vector<std::string>{"Form1"});
    // Made again from its stored layout: what was changed and not saved anywhere is gone.
    ASSERT_NE(h.App().MainForm(), nullptr);
    EXPECT_EQ(out.str(), "Form1: TForm 100,80,300,200\n"
                         "  Panel1: TPanel 0,0,284,161\n"
                         "    Button1: TButton 20,10,75,25\n"
                         "    Box: TGroupBox 20,50,100,40 hidden\n");
}

TEST(FormPlayer, FailingCommandsAndBadLayoutsNameTheirLine) {
    FormsHarness h;
    std::ostringstream out;
    TFormPlayer player(h.Backend(), h.App(), out);
    EXPECT_THROW(
        {
            try {
                player.LoadForm("object Form1: TForm\n  Left = 1\n  Bogus = 2\nend\n");
            } catch (const Exception& e) {
                EXPECT_NE(e.Message().find("line 3"), std::string::npos) << e.Message();
                throw;
            }
        },
        Exception);
    player.LoadForm(kSmallLayout);
    try {
        player.Play(ParsePlayScript("dump\n\npng /nonexistent-folder/x.png\ndump\n"));
        ADD_FAILURE() << "a png that cannot be written must fail";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message().rfind("line 3: ", 0), 0u) << e.Message();
    }
}

TEST(FormPlayer, MainReportsLayoutAndScriptErrorsWithNonZeroStatus) {
    const std::string dir = ::testing::TempDir();
    const std::string good = dir + "formplay-good.dfm";
    const std::string bad = dir + "formplay-bad.dfm";
    std::ofstream(good) << kSmallLayout;
    std::ofstream(bad) << "object Form1: TForm\n  object X: TNoSuchClass\n  end\nend\n";
    std::istringstream noInput;
    {
        std::ostringstream out, err;
        EXPECT_EQ(FormPlayMain({bad}, noInput, out, err), 1);
        EXPECT_NE(err.str().find("formplay-bad.dfm: line 2"), std::string::npos) << err.str();
    }
    {
        std::istringstream script("dump\njump 1 2\n");
        std::ostringstream out, err;
        EXPECT_EQ(FormPlayMain({good}, script, out, err), 1);
        EXPECT_EQ(err.str(), "formplay: <stdin>: line 2: unknown command 'jump'\n");
        EXPECT_EQ(out.str(), "") << "nothing runs when the script does not parse";
    }
    {
        std::istringstream script("# just look\ndump\n");
        std::ostringstream out, err;
        EXPECT_EQ(FormPlayMain({good}, script, out, err), 0) << err.str();
        EXPECT_EQ(out.str().substr(0, 28), "Form1: TForm 100,80,300,200\n");
    }
    std::ostringstream out, err;
    EXPECT_EQ(FormPlayMain({}, noInput, out, err), 2);
}

} // namespace
} // namespace emr::testing

namespace emr::testing {
namespace {

TEST(HintSetUp, AnInitializedApplicationShowsHintsAndTakesTheirWatchAlongWhenFreed) {
    {
        FormsHarness h;
        TForm* form = h.NewForm(100, 100, 300, 200);
        TButton* hinted = Place<TButton>(form, 10, 10, 80, 30);
        hinted->SetHint("Bold");
        hinted->SetShowHint(true);
        form->Show();
        h.App().Initialize();
        ASSERT_TRUE(THintManager::Instance().InstalledOn(&h.App()));
        const TPoint p = hinted->ClientToScreen({40, 15});
        h.Backend().MoveMouse(p.X, p.Y);
        h.App().ProcessMessages();
        h.Backend().AdvanceTime(THintManager::Instance().HintPause());
        ASSERT_NE(THintManager::Instance().ShownWindow(), nullptr);
        EXPECT_EQ(THintManager::Instance().ShownWindow()->Caption(), "Bold");
        // The application is freed here with the watch still on it.
    }
    EXPECT_FALSE(THintManager::Instance().Installed()) << "the watch would name a freed application";
    FormsHarness next;
    THintManager::Instance().Install(&next.App());
    EXPECT_TRUE(THintManager::Instance().InstalledOn(&next.App()));
    THintManager::Instance().Uninstall();
}

} // namespace
} // namespace emr::testing
