// The dock panel's and the toolbar's own account of what must hold between
// events: each broken rule is named, a sound layout reports nothing, and in
// builds with checks the next layout operation or input event stops on it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/Mouse.h"
#include "framework/core/Verify.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Panel.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/AdvToolBarButton.h"
#include "toolbar/FloatingWindow.h"

namespace emr {
namespace {

/// A form with a top dock panel holding toolbars A and B in row 0 and C in row 1.
class InvariantsTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));
        app = new TApplication(nullptr);
        form = new TForm(app);
        form->SetBounds(0, 0, 600, 400);
        form->SetClientWidth(400);
        form->SetClientHeight(300);
        dock = new TAdvDockPanel(form);
        dock->SetParent(form);
        a = MakeToolBar("A", 40, 37);
        b = MakeToolBar("B", 40);
        c = MakeToolBar("C", 40);
        dock->MoveToRow(b, 0);
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }
    TAdvToolBar* MakeToolBar(const std::string& name, int content, int thickness = 22) {
        auto* t = new TAdvToolBar(form);
        t->SetName(name);
        auto* p = new TPanel(form);
        p->SetBounds(0, 0, content, thickness);
        p->SetParent(t);
        t->SetParent(dock);
        return t;
    }
    TRowCollectionItem* Row(int i) const { return dock->Rows()->Row(i); }
    static TRect Moved(TRect r, int dy) { return {r.Left, r.Top + dy, r.Right, r.Bottom + dy}; }
    static TRect Thicker(TRect r, int d) { return {r.Left, r.Top, r.Right, r.Bottom + d}; }

    platform::HeadlessBackend* backend_ = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvDockPanel* dock = nullptr;
    TAdvToolBar* a = nullptr;
    TAdvToolBar* b = nullptr;
    TAdvToolBar* c = nullptr;
};

TEST_F(InvariantsTest, EachBrokenRowRuleIsNamed) {
    ASSERT_EQ(dock->DumpRows(),
              (std::vector<std::string>{"row 0: 1,1,399,43: A B", "row 1: 1,43,399,70: C"}));
    EXPECT_EQ(dock->CheckInvariants(), "");

    struct TCase {
        const char* What;
        std::function<void()> Break;
        const char* Reported;
    };
    const std::vector<TCase> cases = {
        {"rows overlap", [&] { Row(1)->SetRect(Moved(Row(1)->Rect(), -1)); },
         "row 0 (1,1,399,43) overlaps row 1"},
        {"a toolbar in two rows", [&] { Row(1)->ToolBars().push_back(a); }, "A is in two places"},
        {"a toolbar listed twice in its row", [&] { Row(0)->ToolBars().push_back(b); }, "B is in two places"},
        {"a wrong row index", [&] { c->SetRowIndex(0); }, "C sits in row 1 (1,43,399,70) but says row 0"},
        {"a row thinner than its toolbar", [&] { Row(0)->SetRect(Thicker(Row(0)->Rect(), -2)); },
         "A (thickness 41 at 1) leaves row 0"},
        {"a row thicker than its toolbars", [&] { Row(1)->SetRect(Thicker(Row(1)->Rect(), 3)); },
         "row 1 is 30 thick for toolbars 26 thick"},
        {"a toolbar before the row's spacing",
         [&] {
             a->SetBoundsAdjustmentSuppressed(true);
             a->SetLeft(2);
             a->SetBoundsAdjustmentSuppressed(false);
         },
         "A starts at 2, before the spacing of row 0"},
        {"a shown docked toolbar in no row", [&] { std::erase(Row(1)->ToolBars(), c); },
         "C is docked and shown but in no row"},
        {"a toolbar of another parent in a row",
         [&] {
             auto* stranger = new TAdvToolBar(form);
             stranger->SetName("Stranger");
             stranger->SetParent(form);
             stranger->SetRowIndex(1);
             stranger->SetBounds(3, 43, 40, 26);
             Row(1)->ToolBars().push_back(stranger);
         },
         "Stranger is in row 1 but not docked in this panel"},
    };
    for (const TCase& k : cases) {
        SCOPED_TRACE(k.What);
        TearDown();
        SetUp();
        ASSERT_EQ(dock->CheckInvariants(), "");
        k.Break();
        EXPECT_NE(dock->CheckInvariants().find(k.Reported), std::string::npos) << dock->CheckInvariants();
    }
    // The stranger was put in the row by hand, past the panel's bookkeeping, so the
    // panel is never told when it goes: it leaves the row by hand too, before the
    // window frees it and the panel lays out its rows once more.
    if (TComponent* stranger = form->FindComponent("Stranger"))
        std::erase(Row(1)->ToolBars(), dynamic_cast<TAdvCustomToolBar*>(stranger));
}

// A row is measured when the rows are laid out: once its thickest toolbar has
// left, the row shrinks to the toolbars that stay, also in a vertical panel.
TEST_F(InvariantsTest, ARowShrinksWhenItsThickestToolBarLeaves) {
    a->SetVisible(false);
    EXPECT_EQ(dock->DumpRows(), (std::vector<std::string>{"row 0: 1,1,399,28: B", "row 1: 1,28,399,55: C"}));
    EXPECT_EQ(dock->Height(), 55);
    EXPECT_EQ(dock->CheckInvariants(), "");
    a->SetVisible(true);
    a->SetParent(form);
    EXPECT_EQ(dock->DumpRows(), (std::vector<std::string>{"row 0: 1,1,399,28: B", "row 1: 1,28,399,55: C"}));
    EXPECT_EQ(dock->CheckInvariants(), "");
}

TEST_F(InvariantsTest, AToolBarNamesTwoHotButtonsAndAFloatingRow) {
    EXPECT_EQ(a->CheckInvariants(), "");
    auto* one = new TAdvToolBarButton(form);
    auto* two = new TAdvToolBarButton(form);
    one->AttachToToolBar(b);
    one->SetHot(true);
    two->AttachToToolBar(a);
    two->SetHot(true);
    EXPECT_EQ(b->CheckInvariants(), "");
    // Moved under another toolbar behind its back, a hot button stays hot.
    two->SetParent(b);
    EXPECT_EQ(b->CheckInvariants(), "2 hot buttons");

    TFloatingWindow::FloatToolBar(c, 200, 200, true);
    ASSERT_TRUE(c->Floating());
    EXPECT_EQ(c->CheckInvariants(), "");
    c->SetRowIndex(1);
    EXPECT_EQ(c->CheckInvariants(), "floating but says row 1");
}

TEST_F(InvariantsTest, TheApplicationFindsABrokenControlAndALeftCapture) {
    form->Show();
    app->ProcessMessages();
    EXPECT_EQ(app->CheckInvariants(), "");
    SetCaptureControl(c);
    EXPECT_NE(app->CheckInvariants().find("C (TAdvToolBar 3,43,63,26) keeps the mouse capture"),
              std::string::npos)
        << app->CheckInvariants();
    ReleaseCapture();
    c->SetRowIndex(0);
    EXPECT_NE(app->CheckInvariants().find("C sits in row 1"), std::string::npos) << app->CheckInvariants();
}

TEST_F(InvariantsTest, CheckedBuildsStopAtTheNextLayoutOperationOrInputEvent) {
    if (!kChecksEnabled) GTEST_SKIP() << "built without invariant checks";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            Row(1)->ToolBars().push_back(a);
            dock->ArrangeRow(1);
        },
        "check failed: \\*panel_.CheckInvariants\\(\\): A sits in row 0 .* but says row 1");
    EXPECT_DEATH(
        {
            form->Show();
            app->ProcessMessages();
            SetCaptureControl(c);
            backend_->MoveMouse(20, 20);
            app->ProcessMessages();
        },
        "check failed: \\*this.CheckInvariants\\(\\): C .* keeps the mouse capture");
}

} // namespace
} // namespace emr
