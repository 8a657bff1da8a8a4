#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>

#include "app/AppEnvironment.h"
#include "app/Program.h"
#include "app/RecordingLocalePlatform.h"
#include "app/Unit1.h"
#include "framework/forms/Application.h"
#include "framework/forms/Edit.h"
#include "framework/forms/GroupBox.h"
#include "framework/forms/Label.h"
#include "framework/forms/Panel.h"
#include "framework/forms/Screen.h"
#include "framework/graphics/Font.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"

namespace emr {
namespace {

using TCallKind = TRecordingLocalePlatform::TCallKind;

/// The program on the headless backend, started the way main starts it, with a
/// recording locale platform and a fixed clock.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) oldTz_ = tz;
        ::setenv("TZ", "UTC", 1);
        ::tzset();

        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));

        TAppEnvironment& environment = AppEnvironment();
        environment.Platform = &platform_;
        environment.Formats = {"yyyy/M/d", "tt h:mm:ss", "上午", "下午"};
        // 2026-12-06 15:04:05 UTC
        environment.Clock = [] { return std::time_t{1796569445}; };

        form_ = StartApplication();
    }

    void TearDown() override {
        ShutDownApplication();
        platform::Backend::Uninstall();
        AppEnvironment() = TAppEnvironment{};
        if (oldTz_)
            ::setenv("TZ", oldTz_->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

    /// Shows the window and handles everything pending, as the loop does.
    void RunLoop() { Application->Run(); }

    /// Presses and releases the mouse over the middle of a control, as the user does.
    void ClickOn(const TControl* control) {
        const TPoint p = control->ClientToScreen({control->Width() / 2, control->Height() / 2});
        backend_->MoveMouse(p.X, p.Y);
        Application->ProcessMessages();
        backend_->Press(p.X, p.Y);
        Application->ProcessMessages();
        backend_->Release(p.X, p.Y);
        Application->ProcessMessages();
    }

    bool WindowShown() const {
        const auto* window = backend_->FindWindow(form_->NativeWindow());
        return window && window->Visible;
    }

    platform::HeadlessBackend* backend_ = nullptr;
    TRecordingLocalePlatform platform_;
    TForm1* form_ = nullptr;
    std::optional<std::string> oldTz_;
};

TEST_F(MainWindowTest, StartsFromTheStoredLayout) {
    ASSERT_NE(form_, nullptr);
    EXPECT_EQ(Application->MainForm(), form_);
    EXPECT_EQ(form_->Name(), "Form1");
    EXPECT_EQ(form_->Caption(), "电子病历补丁");
    EXPECT_EQ(form_->Color(), clBtnFace);
    EXPECT_EQ(form_->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(form_->Font()->Height(), -11);
    EXPECT_EQ(form_->Font()->Charset(), DEFAULT_CHARSET);
    EXPECT_EQ(form_->Font()->Color(), clWindowText);
    EXPECT_EQ(form_->Font()->Style(), TFontStyles{});

    // FormCreate fixed the frame.
    EXPECT_EQ(form_->BorderStyle(), bsSingle);
    EXPECT_EQ(form_->BorderIcons(), TBorderIcons{biSystemMenu});
    EXPECT_EQ(form_->WindowState(), wsNormal);
    EXPECT_EQ(form_->Position(), poMainFormCenter);

    ASSERT_NE(form_->Panel1, nullptr);
    EXPECT_EQ(form_->Panel1->Parent(), form_);
    EXPECT_EQ(form_->Panel1->BevelInner(), bvLowered);
    EXPECT_EQ(form_->Panel1->BevelOuter(), bvRaised);
    EXPECT_EQ(form_->Panel1->BevelWidth(), 1);
    EXPECT_EQ(form_->Panel1->Caption(), "");
    EXPECT_FALSE(form_->Panel1->ParentFont());
    EXPECT_EQ(form_->Panel1->Font()->Name(), "宋体");
    EXPECT_EQ(form_->Panel1->Font()->Height(), -13);
    EXPECT_EQ(form_->Panel1->Font()->Charset(), ANSI_CHARSET);

    ASSERT_NE(form_->GroupBox2, nullptr);
    EXPECT_EQ(form_->GroupBox2->Parent(), form_->Panel1);
    EXPECT_EQ(form_->GroupBox2->Caption(), "原时间格式");
    EXPECT_FALSE(form_->GroupBox2->Visible());

    struct TExpected {
        TControl* Control;
        TRect Bounds;
        const char* Caption;
    };
    const TExpected children[] = {
        {form_->GroupBox2, TRect::FromBounds(69, 16, 233, 113), "原时间格式"},
        {form_->Label4, TRect::FromBounds(8, 32, 52, 13), "时间格式"},
        {form_->Label2, TRect::FromBounds(22, 64, 40, 13), "Am符号"},
        {form_->Label3, TRect::FromBounds(128, 64, 40, 13), "Pm符号"},
        {form_->Edit4, TRect::FromBounds(64, 24, 161, 21), "Edit4"},
        {form_->Edit3, TRect::FromBounds(64, 64, 49, 21), "Edit3"},
        {form_->Edit1, TRect::FromBounds(176, 64, 49, 21), "Edit1"},
    };
    for (const TExpected& child : children) {
        ASSERT_NE(child.Control, nullptr);
        SCOPED_TRACE(child.Control->Name());
        // Labels size themselves to their text in this machine's fonts; their place is stored.
        if (child.Control->Is<TLabel>()) {
            EXPECT_EQ(child.Control->Left(), child.Bounds.Left);
            EXPECT_EQ(child.Control->Top(), child.Bounds.Top);
        } else {
            EXPECT_EQ(child.Control->BoundsRect(), child.Bounds);
        }
        EXPECT_EQ(child.Control->Caption(), child.Caption);
        if (child.Control != form_->GroupBox2) {
            EXPECT_EQ(child.Control->Parent(), form_->GroupBox2);
        }
    }
    int tabOrder = 2;
    for (TEdit* edit : {form_->Edit4, form_->Edit3, form_->Edit1}) {
        SCOPED_TRACE(edit->Name());
        EXPECT_TRUE(edit->ReadOnly());
        EXPECT_EQ(edit->TabOrder(), tabOrder--);
        EXPECT_NE(edit->ImeName().find("五笔"), std::string::npos);
    }
}

TEST_F(MainWindowTest, OpensAtItsStoredPlaceWithAnEmptySunkenPanel) {
    RunLoop();
    ASSERT_TRUE(WindowShown());
    const auto* window = backend_->FindWindow(form_->NativeWindow());
    EXPECT_EQ(window->Title, "电子病历补丁");
    // Fixed size, close box only.
    EXPECT_FALSE(window->Style.Resizable);
    EXPECT_FALSE(window->Style.MinimizeBox);
    EXPECT_FALSE(window->Style.MaximizeBox);
    EXPECT_TRUE(window->Style.SystemMenu);
    EXPECT_EQ(form_->BoundsRect(), TRect::FromBounds(389, 175, 398, 237));
    EXPECT_EQ(form_->ClientWidth(), 382);
    EXPECT_EQ(form_->ClientHeight(), 198);
    EXPECT_EQ(form_->AdvDockPanel1->BoundsRect(), TRect::FromBounds(0, 0, 382, 47));
    EXPECT_EQ(form_->Panel1->BoundsRect(), TRect::FromBounds(0, 47, 382, 151));
    EXPECT_FALSE(form_->GroupBox2->Showing());

    // The panel's raised outer bevel, lowered inner bevel, and nothing inside them.
    const platform::WindowId id = form_->NativeWindow();
    constexpr std::uint32_t highlight = 0xFFFFFF, shadow = 0xA0A0A0, face = 0xF0F0F0;
    EXPECT_EQ(backend_->PixelAt(id, 0, 47), highlight);
    EXPECT_EQ(backend_->PixelAt(id, 0, 197), shadow);
    EXPECT_EQ(backend_->PixelAt(id, 381, 100), shadow);
    EXPECT_EQ(backend_->PixelAt(id, 381, 47), shadow);
    EXPECT_EQ(backend_->PixelAt(id, 1, 48), shadow);
    EXPECT_EQ(backend_->PixelAt(id, 380, 100), highlight);
    EXPECT_EQ(backend_->PixelAt(id, 100, 196), highlight);
    int notFace = 0;
    for (int y = 49; y < 196; ++y)
        for (int x = 2; x < 380; ++x)
            notFace += backend_->PixelAt(id, x, y) != face;
    EXPECT_EQ(notFace, 0) << "the panel is empty";
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(platform_.Calls().empty());
}

TEST_F(MainWindowTest, FormShowFillsTheHiddenFieldsWithTheStartupFormats) {
    RunLoop();
    EXPECT_EQ(form_->Edit4->Text(), "2026/12/6 下午 3:04:05");
    EXPECT_EQ(form_->Edit3->Text(), "上午");
    EXPECT_EQ(form_->Edit1->Text(), "下午");
}

TEST_F(MainWindowTest, ApplyButtonPatchesReportsAndEndsTheProgram) {
    RunLoop();
    std::size_t callsWhenClosing = 0;
    form_->OnClose = [&](TObject*, TCloseAction&) { callsWhenClosing = platform_.Calls().size(); };

    ClickOn(form_->AdvToolBarButton1);
    // The exact bytes are the patch's own tests; here: the whole sequence, from the window.
    ASSERT_EQ(platform_.Calls().size(), 7u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(platform_.Calls()[i].Kind, TCallKind::SetLocaleInfo);
    EXPECT_EQ(platform_.Calls()[5].Kind, TCallKind::SendMessageTimeout);
    const auto& box = platform_.Calls()[6];
    EXPECT_EQ(box.Kind, TCallKind::MessageBox);
    EXPECT_EQ(box.Text, "\xB2\xB9\xB6\xA1\xD3\xA6\xD3\xC3\xB3\xC9\xB9\xA6\xA3\xA1");
    EXPECT_EQ(box.Owner, static_cast<HWND>(form_->NativeWindow()));
    EXPECT_EQ(callsWhenClosing, 7u) << "the window closes after the success box";

    RunLoop();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainWindowTest, RefusedWriteKeepsTheWindowOpenForAnotherTry) {
    RunLoop();
    platform_.RefuseItem(LOCALE_STIMEFORMAT);
    ClickOn(form_->AdvToolBarButton1);
    ASSERT_EQ(platform_.CallsOf(TCallKind::SetLocaleInfo).size(), 5u);
    ASSERT_EQ(platform_.CallsOf(TCallKind::SendMessageTimeout).size(), 1u);
    const auto boxes = platform_.CallsOf(TCallKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "\xB2\xB9\xB6\xA1\xD3\xA6\xD3\xC3\xCA\xA7\xB0\xDC\xA3\xA1");
    RunLoop();
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(WindowShown());

    // Once the system takes the writes, the same button succeeds and ends the program.
    platform_.AcceptAllItems();
    platform_.Clear();
    ClickOn(form_->AdvToolBarButton1);
    EXPECT_EQ(platform_.CallsOf(TCallKind::MessageBox).at(0).Text,
              "\xB2\xB9\xB6\xA1\xD3\xA6\xD3\xC3\xB3\xC9\xB9\xA6\xA3\xA1");
    RunLoop();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainWindowTest, ThrowingStepShowsOneFailureBoxAndTheWindowStays) {
    RunLoop();
    platform_.ThrowAtCall(5); // the broadcast
    ClickOn(form_->AdvToolBarButton1);
    const auto boxes = platform_.CallsOf(TCallKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "\xB2\xB9\xB6\xA1\xD3\xA6\xD3\xC3\xCA\xA7\xB0\xDC\xA3\xA1");
    RunLoop();
    EXPECT_FALSE(Application->Terminated());
    EXPECT_TRUE(WindowShown());

    // The next try goes through.
    platform_.Clear();
    ClickOn(form_->AdvToolBarButton1);
    EXPECT_EQ(platform_.Calls().size(), 7u);
    RunLoop();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainWindowTest, ExitButtonEndsTheLoopWithoutBoxOrWrite) {
    RunLoop();
    ClickOn(form_->AdvToolBarButton2);
    RunLoop();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(platform_.Calls().empty());
}

TEST_F(MainWindowTest, TabThenEnterAppliesThePatchWithoutTheMouse) {
    RunLoop();
    backend_->Key(platform::VK_TAB);
    Application->ProcessMessages();
    ASSERT_TRUE(form_->AdvToolBar1->Focused()) << "Tab did not reach the command bar";
    backend_->Key(platform::VK_RETURN);
    Application->ProcessMessages();
    ASSERT_EQ(platform_.Calls().size(), 7u);
    EXPECT_EQ(platform_.Calls()[6].Kind, TCallKind::MessageBox);
    RunLoop();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainWindowTest, TabRightEnterQuitsWithoutBoxOrWrite) {
    RunLoop();
    for (int key : {platform::VK_TAB, platform::VK_RIGHT, platform::VK_RETURN})
        backend_->Key(key);
    RunLoop();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(platform_.Calls().empty());
}

TEST_F(MainWindowTest, ClosingTheWindowEndsTheProgramAndWritesNothing) {
    RunLoop();
    backend_->RequestClose(form_->NativeWindow());
    RunLoop();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(platform_.Calls().empty());
}

// With its bar floating the command panel has no rows and is as thin as an empty
// panel is (its minimum size, 3); the panel below takes the room. Dropped back
// anywhere on that strip, the bar takes its old place and the panel its old height.
TEST_F(MainWindowTest, CommandBarFloatedAndDockedAgainTakesItsPlaceBack) {
    RunLoop();
    TAdvDockPanel* dock = form_->AdvDockPanel1;
    TAdvToolBar* bar = form_->AdvToolBar1;
    const TPoint grip = bar->ClientToScreen({4, bar->Height() / 2});
    backend_->Press(grip.X, grip.Y);
    for (int y = grip.Y; y <= grip.Y + 160; y += 10)
        backend_->MoveMouse(grip.X + 40, y);
    backend_->Release(grip.X + 40, grip.Y + 160);
    Application->ProcessMessages();
    ASSERT_TRUE(bar->Floating());
    EXPECT_EQ(dock->BoundsRect(), TRect::FromBounds(0, 0, 382, 3));
    EXPECT_EQ(form_->Panel1->BoundsRect(), TRect::FromBounds(0, 3, 382, 195));

    const TPoint caption = bar->ClientToScreen({bar->Width() / 2, 4});
    const TPoint drop = dock->ClientToScreen({250, 2});
    backend_->Press(caption.X, caption.Y);
    constexpr int steps = 10;
    for (int i = 1; i <= steps; ++i)
        backend_->MoveMouse(caption.X + (drop.X - caption.X) * i / steps,
                            caption.Y + (drop.Y - caption.Y) * i / steps);
    backend_->Release(drop.X, drop.Y);
    Application->ProcessMessages();
    ASSERT_TRUE(bar->Docked());
    EXPECT_EQ(bar->BoundsRect(), TRect::FromBounds(3, 1, 91, 45));
    EXPECT_EQ(dock->BoundsRect(), TRect::FromBounds(0, 0, 382, 47));
    EXPECT_EQ(form_->Panel1->BoundsRect(), TRect::FromBounds(0, 47, 382, 151));
}

} // namespace
} // namespace emr
