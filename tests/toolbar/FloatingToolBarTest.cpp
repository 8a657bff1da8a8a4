#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/Mouse.h"
#include "framework/core/ClassRegistry.h"
#include "framework/forms/Application.h"
#include "framework/forms/Form.h"
#include "framework/forms/Panel.h"
#include "framework/forms/Screen.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "framework/streaming/LayoutReader.h"
#include "framework/streaming/LayoutWriter.h"
#include "styling/CustomAdvToolBarStyler.h"
#include "toolbar/AdvDockPanel.h"
#include "toolbar/AdvToolBar.h"
#include "toolbar/FloatingWindow.h"
#include "toolbar/ToolBarDragLoop.h"
#include "toolbar/ToolbarClasses.h"

namespace emr {
namespace {

/// A shown form (client 400 x 300 at screen (108, 131)) with a dock panel along
/// its top edge holding toolbar "A" (91 x 45 at (3, 1), panel 47 high), and an
/// empty dock panel along its bottom edge. Input is injected and the drag loop
/// runs inside the pump.
class FloatingToolBarTest : public ::testing::Test {
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
        top = new TAdvDockPanel(form);
        top->SetName("Top");
        top->SetParent(form);
        bottom = new TAdvDockPanel(form);
        bottom->SetName("Bottom");
        bottom->SetAlign(TDockAlign::daBottom);
        bottom->SetParent(form);
        toolBar = MakeToolBar("A", 68, 41, top);
        toolBar->OnDocked = [this](TObject*, TWinControl* panel) { docked.push_back(panel); };
        toolBar->OnUnDocked = [this](TObject*) { ++undocked; };
        form->Show();
        Pump();
    }
    void TearDown() override {
        TObject::Free(app);
        platform::Backend::Uninstall();
    }

    /// A toolbar holding one panel `content` x `thickness`.
    TAdvToolBar* MakeToolBar(const std::string& name, int content, int thickness, TWinControl* parent) {
        auto* t = new TAdvToolBar(form);
        t->SetName(name);
        AddContent(t, content, thickness);
        t->SetParent(parent);
        return t;
    }
    TPanel* AddContent(TAdvToolBar* t, int width, int height) {
        auto* p = new TPanel(form);
        p->SetBounds(t->ControlCount() * 100 + 1, 1, width, height);
        p->SetParent(t);
        return p;
    }

    void Pump() { app->ProcessMessages(); }
    TPoint At(const TControl* c, int x, int y) const { return c->ClientToScreen({x, y}); }
    /// Presses at a client point of `c`, moves through the screen points and
    /// releases at the last one (unless told not to), then lets the loop run.
    void Drag(const TControl* c, TPoint from, const std::vector<TPoint>& path, bool release = true) {
        TPoint p = At(c, from.X, from.Y);
        backend_->MoveMouse(p.X, p.Y);
        backend_->Press(p.X, p.Y);
        for (TPoint s : path) {
            backend_->MoveMouse(s.X, s.Y, platform::ssLeft);
            p = s;
        }
        if (release) backend_->Release(p.X, p.Y);
        Pump();
    }
    /// The grip of a docked toolbar, the caption of a floating one.
    static TPoint Handle(const TAdvCustomToolBar* t) { return t->Floating() ? TPoint{10, 8} : TPoint{3, 20}; }

    int FloatingWindowCount() const {
        int n = 0;
        for (TCustomForm* f : Screen().FormList())
            if (dynamic_cast<TFloatingWindow*>(f)) ++n;
        return n;
    }

    platform::HeadlessBackend* backend_ = nullptr;
    TApplication* app = nullptr;
    TForm* form = nullptr;
    TAdvDockPanel* top = nullptr;
    TAdvDockPanel* bottom = nullptr;
    TAdvToolBar* toolBar = nullptr;
    std::vector<TWinControl*> docked;
    int undocked = 0;
};

// ---- tearing off ------------------------------------------------------------------------------------

TEST_F(FloatingToolBarTest, DraggedDownItFloatsOnlyBeyondTwentySixPixelsBelowThePanel) {
    ASSERT_EQ(top->Height(), 47);
    // The grip is at toolbar y 20; the panel ends 46 below the toolbar's top, so the
    // leave test T.Top + y > 47 + 26 first holds 73 pixels below the toolbar's top.
    TPoint grip = At(toolBar, 3, 20);
    TPoint origin = At(toolBar, 0, 0);
    Drag(toolBar, {3, 20}, {{grip.X, grip.Y + 20}, {grip.X, origin.Y + 72}}, false);
    EXPECT_TRUE(toolBar->Docked()) << "72 pixels below its top is not yet beyond the leave distance";
    EXPECT_EQ(toolBar->Parent(), top);
    EXPECT_EQ(GetCaptureControl(), nullptr) << "the headless loop ends when input runs out";

    Drag(toolBar, {3, 20}, {{origin.X + 3, origin.Y + 74}});
    ASSERT_TRUE(toolBar->Floating());
    TFloatingWindow* window = TFloatingWindow::Of(toolBar);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(undocked, 1);
    EXPECT_EQ(top->RowCount(), 0);
    EXPECT_EQ(top->Height(), 3) << "the panel gives up the toolbar's row";
    EXPECT_EQ(window->AdvCustomToolBar(), toolBar);
    EXPECT_EQ(toolBar->Height(), 45 + toolBar->CaptionHeight());
    EXPECT_FALSE(GetCaptureControl());
    EXPECT_EQ(Screen().Cursor(), crDefault);
}

TEST_F(FloatingToolBarTest, AVerticalToolBarFloatsBeyondTwentySixPixelsRightOfItsPanel) {
    auto* left = new TAdvDockPanel(form);
    left->SetAlign(TDockAlign::daLeft);
    left->SetParent(form);
    toolBar->SetParent(left);
    Pump();
    ASSERT_FALSE(toolBar->Horizontal());
    ASSERT_EQ(toolBar->Left(), 1);
    TPoint origin = At(toolBar, 0, 0);
    const int gripY = 3;
    // Leave when T.Left + x > panel width + 26.
    const int x = left->Width() + 26 - toolBar->Left();
    Drag(toolBar, {20, gripY}, {{origin.X + x, origin.Y + gripY}});
    EXPECT_TRUE(toolBar->Docked());
    EXPECT_EQ(toolBar->Parent(), left);
    Drag(toolBar, {20, gripY}, {{origin.X + x + 1, origin.Y + gripY}});
    EXPECT_TRUE(toolBar->Floating());
    EXPECT_TRUE(toolBar->Horizontal()) << "a floating toolbar is horizontal";
}

TEST_F(FloatingToolBarTest, AToolBarDraggedAlongPastThePanelEndFloats) {
    // Along the row the panel stops the toolbar at the row start; beyond the
    // panel's left edge by more than 26 pixels it leaves.
    TPoint origin = At(toolBar, 0, 0);
    Drag(toolBar, {3, 20}, {{origin.X - 20, origin.Y + 20}});
    EXPECT_TRUE(toolBar->Docked());
    Drag(toolBar, {3, 20}, {{origin.X - 30, origin.Y + 20}});
    EXPECT_TRUE(toolBar->Floating()) << "l0 + x = 3 - 30 < -26";
}

// ---- docking -------------------------------------------------------------------------------------------

// A step that moved a toolbar along its row and into another row asked the panel
// twice, and the panel laid out and applied its rows for each.
TEST_F(FloatingToolBarTest, EachDragStepCostsThePanelOneLayoutPass) {
    TAdvToolBar* b = MakeToolBar("B", 40, 41, top);
    Pump();
    ASSERT_EQ(b->RowIndex(), 1);
    const TPoint grip = At(b, 3, 20);
    const std::uint64_t before = top->LayoutPasses();
    // Up into the first row and along it, then along it and a little across.
    Drag(b, {3, 20}, {{grip.X + 120, grip.Y - 40}, {grip.X + 150, grip.Y - 40}, {grip.X + 170, grip.Y - 38}});
    EXPECT_LE(top->LayoutPasses() - before, 3u);
    EXPECT_EQ(b->Parent(), top);
    EXPECT_EQ(b->RowIndex(), 0);
    EXPECT_EQ(top->CheckInvariants(), "");
}

TEST_F(FloatingToolBarTest, AFloatingToolBarDocksIntoThePanelItIsDraggedOver) {
    TPoint origin = At(toolBar, 0, 0);
    Drag(toolBar, {3, 20}, {{origin.X + 3, origin.Y + 120}});
    ASSERT_TRUE(toolBar->Floating());
    TComponentRef<TFloatingWindow> window(TFloatingWindow::Of(toolBar));
    docked.clear();

    // Over the bottom panel's drop rectangle (its top edge less 15 pixels).
    TPoint over = bottom->ClientToScreen({50, -10});
    Drag(toolBar, Handle(toolBar), {{over.X - 30, over.Y - 60}, over});
    EXPECT_EQ(Screen().Cursor(), crDefault) << "the caption's move cursor goes with the drag";
    ASSERT_TRUE(toolBar->Docked());
    EXPECT_EQ(toolBar->Parent(), bottom);
    ASSERT_EQ(docked.size(), 1u);
    EXPECT_EQ(docked[0], bottom);
    EXPECT_EQ(toolBar->Position(), TDockAlign::daBottom);
    EXPECT_EQ(toolBar->Height(), 45) << "the caption goes with the window";
    EXPECT_FALSE(window) << "the floating window is freed once the toolbar docks";
    EXPECT_EQ(FloatingWindowCount(), 0);
}

TEST_F(FloatingToolBarTest, AFloatingToolBarKeepsItsOldRowIndex) {
    TAdvToolBar* second = MakeToolBar("B", 68, 41, top);
    ASSERT_EQ(second->RowIndex(), 1);
    ASSERT_NE(TFloatingWindow::FloatToolBar(second, 200, 150, true), nullptr);
    EXPECT_EQ(second->RowIndex(), -1) << "a floating toolbar is in no row";
    EXPECT_EQ(top->RowCount(), 1);

    second->SetParent(bottom);
    EXPECT_EQ(second->RowIndex(), 0) << "docked again, it has the row it was given";
    second->SetParent(form);
    EXPECT_TRUE(second->Standalone());
    EXPECT_EQ(second->RowIndex(), -1) << "nor is a standalone one in a row";
}

TEST_F(FloatingToolBarTest, OneDragTearsItOffAndDocksItBackWhileHoldingTheCapture) {
    TPoint origin = At(toolBar, 0, 0);
    TPoint home = top->ClientToScreen({40, 10});
    Drag(toolBar, {3, 20}, {{origin.X + 3, origin.Y + 120}, {origin.X + 60, origin.Y + 150}, home}, false);
    EXPECT_EQ(undocked, 1);
    EXPECT_EQ(toolBar->Parent(), top);
    EXPECT_EQ(docked.size(), 1u);
    EXPECT_EQ(FloatingWindowCount(), 0) << "the window it floated in is gone again";
}

TEST_F(FloatingToolBarTest, ItDocksIntoTheFirstAcceptingOfOverlappingDropRectangles) {
    // A left panel under the top one: near the corner both drop rectangles hold the pointer.
    auto* left = new TAdvDockPanel(form);
    left->SetName("Left");
    left->SetAlign(TDockAlign::daLeft);
    left->SetParent(form);
    TFloatingWindow::FloatToolBar(toolBar, 300, 300, true);
    Pump();
    ASSERT_TRUE(toolBar->Floating());
    TPoint corner = form->ClientToScreen({2, 10});
    ASSERT_TRUE(TToolBarDragLoop::DropRectOf(top).Contains(corner));
    ASSERT_TRUE(TToolBarDragLoop::DropRectOf(left).Contains(corner));

    toolBar->SetDockableTo(1u << static_cast<int>(TDockAlign::daLeft));
    Drag(toolBar, Handle(toolBar), {corner});
    EXPECT_EQ(toolBar->Parent(), left) << "the top panel's edge is not in DockableTo";

    TFloatingWindow::FloatToolBar(toolBar, 300, 300, true);
    Pump();
    toolBar->SetDockableTo(DockableToAll);
    Drag(toolBar, Handle(toolBar), {corner});
    EXPECT_EQ(toolBar->Parent(), top) << "the top panel comes first in the list";
}

TEST_F(FloatingToolBarTest, ItDocksStraightFromOnePanelIntoAnother) {
    TPoint over = bottom->ClientToScreen({60, 0});
    Drag(toolBar, {3, 20}, {over});
    EXPECT_EQ(toolBar->Parent(), bottom);
    EXPECT_TRUE(toolBar->Docked());
    EXPECT_EQ(undocked, 0) << "it never floated";
    EXPECT_EQ(FloatingWindowCount(), 0);
    EXPECT_EQ(top->RowCount(), 0);
    EXPECT_EQ(bottom->RowCount(), 1);
}

TEST_F(FloatingToolBarTest, AfterDockingTheToolBarStartFollowsThePointer) {
    TFloatingWindow::FloatToolBar(toolBar, 300, 200, true);
    Pump();
    // Dock, then go on to the right within the same drag: the grab offset is 1.
    TPoint over = top->ClientToScreen({10, 5});
    Drag(toolBar, Handle(toolBar), {over, {over.X + 100, over.Y}});
    ASSERT_EQ(toolBar->Parent(), top);
    EXPECT_EQ(toolBar->ClientToScreen({0, 0}).X, over.X + 100 - 1);
}

// ---- refusals -------------------------------------------------------------------------------------------

TEST_F(FloatingToolBarTest, WithoutAllowFloatingItNeverLeavesItsPanel) {
    toolBar->SetAllowFloating(false);
    TPoint origin = At(toolBar, 0, 0);
    Drag(toolBar, {3, 20}, {{origin.X + 3, origin.Y + 200}, {origin.X + 300, origin.Y + 400}});
    EXPECT_EQ(toolBar->Parent(), top);
    EXPECT_EQ(FloatingWindowCount(), 0);
}

TEST_F(FloatingToolBarTest, OnCanFloatCanKeepItDocked) {
    int asked = 0;
    toolBar->OnCanFloat = [&](TObject* sender, bool& allow) {
        EXPECT_EQ(sender, toolBar);
        ++asked;
        allow = false;
    };
    TPoint origin = At(toolBar, 0, 0);
    Drag(toolBar, {3, 20}, {{origin.X + 3, origin.Y + 120}, {origin.X + 40, origin.Y + 120}});
    EXPECT_EQ(toolBar->Parent(), top);
    EXPECT_GE(asked, 1);
    EXPECT_EQ(FloatingWindowCount(), 0);
}

TEST_F(FloatingToolBarTest, APanelLockedWithoutAFreeRowIsNoDockSite) {
    bottom->SetLockHeight(true);
    bottom->Loaded();
    ASSERT_TRUE(bottom->LayoutLoaded());
    EXPECT_FALSE(TToolBarDragLoop::CanDockTo(toolBar, bottom));
    EXPECT_TRUE(TToolBarDragLoop::CanDockTo(toolBar, top));

    TPoint over = bottom->ClientToScreen({60, 0});
    Drag(toolBar, {3, 20}, {over});
    EXPECT_TRUE(toolBar->Floating()) << "with no panel to take it, it tears off";
    EXPECT_EQ(bottom->RowCount(), 0);
}

TEST_F(FloatingToolBarTest, DockModeLimitsTheDockSites) {
    auto* side = new TPanel(form);
    side->SetBounds(250, 100, 140, 100);
    side->SetParent(form);
    auto* inner = new TAdvDockPanel(form);
    inner->SetParent(side);
    Pump();

    auto sites = [&] {
        TToolBarDragLoop loop(toolBar);
        loop.CollectDockSites();
        std::vector<TAdvDockPanel*> out;
        for (const TDockSiteRecord& r : loop.DockSites())
            out.push_back(r.Panel.Get());
        return out;
    };
    EXPECT_EQ(sites(), (std::vector<TAdvDockPanel*>{top, bottom, inner}));
    toolBar->SetDockMode(TDockMode::dmAllParentDockPanels);
    EXPECT_EQ(sites(), (std::vector<TAdvDockPanel*>{top, bottom})) << "only panels placed on the form itself";
    toolBar->SetDockMode(TDockMode::dmParentDockPanelOnly);
    EXPECT_EQ(sites(), (std::vector<TAdvDockPanel*>{top}));
    side->SetVisible(false);
    toolBar->SetDockMode(TDockMode::dmAll);
    EXPECT_EQ(sites(), (std::vector<TAdvDockPanel*>{top, bottom})) << "hidden panels are skipped";

    // A floating toolbar in that mode only goes home.
    toolBar->SetDockMode(TDockMode::dmParentDockPanelOnly);
    TFloatingWindow::FloatToolBar(toolBar, 300, 300, true);
    Pump();
    Drag(toolBar, Handle(toolBar), {bottom->ClientToScreen({60, 0})});
    EXPECT_TRUE(toolBar->Floating());
    Drag(toolBar, Handle(toolBar), {top->ClientToScreen({60, 1})});
    EXPECT_EQ(toolBar->Parent(), top);
}

TEST_F(FloatingToolBarTest, DropRectanglesReachFifteenPixelsIntoTheWindow) {
    TPoint o = top->ClientToScreen({0, 0});
    TRect r = TToolBarDragLoop::DropRectOf(top);
    EXPECT_EQ(r.Left, o.X);
    EXPECT_EQ(r.Top, o.Y);
    EXPECT_EQ(r.Right, o.X + top->Width());
    EXPECT_EQ(r.Bottom, o.Y + top->Height() + 15);
    TRect b = TToolBarDragLoop::DropRectOf(bottom);
    EXPECT_EQ(b.Top, bottom->ClientToScreen({0, 0}).Y - 15);
    EXPECT_EQ(b.Bottom, bottom->ClientToScreen({0, 0}).Y + bottom->Height());
}

// ---- the loop -----------------------------------------------------------------------------------------

TEST_F(FloatingToolBarTest, AQuitRequestEndsTheDragAndIsPostedAgain) {
    bool seenDuringDrag = false;
    TTimerId timer = app->StartTimer(10, [&] {
        seenDuringDrag = GetCaptureControl() == toolBar;
        app->PostQuitMessage(7);
    });
    TPoint p = At(toolBar, 3, 20);
    backend_->MoveMouse(p.X, p.Y);
    backend_->Press(p.X, p.Y);
    backend_->MoveMouse(p.X + 5, p.Y, platform::ssLeft);
    backend_->AdvanceTime(15);
    app->StopTimer(timer);
    EXPECT_TRUE(seenDuringDrag);
    EXPECT_EQ(GetCaptureControl(), nullptr) << "the drag ended";
    EXPECT_TRUE(app->Terminated()) << "the outer loop saw the quit request again";
    EXPECT_EQ(app->ExitCode(), 7);
}

TEST_F(FloatingToolBarTest, LosingTheCaptureEndsTheDrag) {
    TPoint p = At(toolBar, 3, 20);
    // Something else takes the pointer; a move that follows no longer drags.
    TTimerId timer = app->StartTimer(10, [&] {
        if (GetCaptureControl() != toolBar) return;
        ReleaseCapture();
        backend_->MoveMouse(p.X, p.Y + 150, platform::ssLeft);
    });
    backend_->MoveMouse(p.X, p.Y);
    backend_->Press(p.X, p.Y);
    backend_->AdvanceTime(15);
    app->StopTimer(timer);
    EXPECT_EQ(toolBar->Parent(), top);
    EXPECT_EQ(FloatingWindowCount(), 0);
}

TEST_F(FloatingToolBarTest, TimersAndPaintingGoOnDuringADrag) {
    int ticksDuringDrag = 0;
    TTimerId timer = app->StartTimer(10, [&] {
        if (GetCaptureControl() == toolBar) ++ticksDuringDrag;
    });
    TPoint p = At(toolBar, 3, 20);
    backend_->MoveMouse(p.X, p.Y);
    backend_->Press(p.X, p.Y);
    backend_->MoveMouse(p.X + 5, p.Y + 150, platform::ssLeft);
    backend_->AdvanceTime(100);
    app->StopTimer(timer);
    EXPECT_GE(ticksDuringDrag, 9);
    TFloatingWindow* window = nullptr;
    for (TCustomForm* f : Screen().FormList())
        if (auto* w = dynamic_cast<TFloatingWindow*>(f)) window = w;
    ASSERT_NE(window, nullptr);
    EXPECT_GT(backend_->FindWindow(window->NativeWindow())->PresentCount, 0)
        << "the new floating window was painted while the drag ran";
}

TEST_F(FloatingToolBarTest, AToolBarFreedDuringADragEndsItCleanly) {
    TTimerId timer = app->StartTimer(10, [&] {
        if (GetCaptureControl() == toolBar) TObject::Free(toolBar);
    });
    TPoint p = At(toolBar, 3, 20);
    backend_->MoveMouse(p.X, p.Y);
    backend_->Press(p.X, p.Y);
    backend_->MoveMouse(p.X, p.Y + 150, platform::ssLeft);
    backend_->MoveMouse(p.X + 10, p.Y + 150, platform::ssLeft);
    backend_->AdvanceTime(15);
    backend_->MoveMouse(p.X + 20, p.Y + 160, platform::ssLeft);
    backend_->Release(p.X + 20, p.Y + 160);
    backend_->AdvanceTime(15);
    app->StopTimer(timer);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(top->ToolBarCount(), 0);
    for (TCustomForm* f : Screen().FormList())
        if (dynamic_cast<TFloatingWindow*>(f)) {
            EXPECT_FALSE(f->Visible()) << "no empty window is left showing";
        }
}

// ---- the floating window ---------------------------------------------------------------------------------

TEST_F(FloatingToolBarTest, FloatToolBarTakesTheStylersBorderAndColour) {
    TCustomAdvToolBarStyler* s = toolBar->CurrentStyler();
    s->SetFloatingWindowBorderWidth(3);
    s->SetFloatingWindowBorderColor(0x123456);
    s->Color()->SetColor(0x111111);
    s->Color()->SetColorTo(0x222222);
    TFloatingWindow* window = TFloatingWindow::FloatToolBar(toolBar, 200, 150, true);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->BorderWidth(), 3);
    EXPECT_EQ(window->BorderColor(), 0x123456u);
    EXPECT_EQ(window->Color(), 0x222222u);
    EXPECT_EQ(window->BorderStyle(), bsNone);
    EXPECT_EQ(window->FormStyle(), fsStayOnTop);
    EXPECT_EQ(window->Owner(), toolBar->Owner());
    EXPECT_EQ(window->Left(), 200);
    EXPECT_EQ(window->Top(), 150);
    // 2 x BorderWidth + 2 larger, the toolbar at BorderWidth + 1.
    EXPECT_EQ(window->Width(), toolBar->Width() + 8);
    EXPECT_EQ(window->Height(), toolBar->Height() + 8);
    EXPECT_EQ(toolBar->Left(), 4);
    EXPECT_EQ(toolBar->Top(), 4);
    window->SetBorderWidth(1);
    EXPECT_EQ(window->Width(), toolBar->Width() + 4);
    EXPECT_EQ(toolBar->Left(), 2);
    EXPECT_EQ(TFloatingWindow::FloatToolBar(toolBar, 0, 0, true), nullptr) << "it floats already";

    s->Color()->SetColorTo(clNone);
    TFloatingWindow::FloatToolBar(MakeToolBar("B", 30, 20, top), 0, 0, true);
    EXPECT_EQ(TFloatingWindow::Of(static_cast<TAdvCustomToolBar*>(form->FindComponent("B")))->Color(),
              0x111111u);
}

TEST_F(FloatingToolBarTest, ANewWindowHasItsDefaultsAndItsPublishedOnes) {
    auto* window = new TFloatingWindow(form);
    EXPECT_EQ(window->BorderWidth(), 2);
    EXPECT_EQ(window->BorderColor(), 0x6D6D6Du);
    EXPECT_EQ(window->AdvCustomToolBar(), nullptr);
    RegisterToolbarClasses();
    const TClassInfo* info = TClassRegistry::Instance().Find("TFloatingWindow");
    ASSERT_NE(info, nullptr);
    const TPropInfo* color = info->FindProperty("BorderColor");
    ASSERT_NE(color, nullptr);
    EXPECT_EQ(color->Default, std::optional<std::int64_t>(0x6D6D6D))
        << "written unless it is the initial colour";
    EXPECT_NE(info->FindProperty("AdvCustomToolBar"), nullptr);
}

TEST_F(FloatingToolBarTest, ItsFrameIsPaintedWithSquaredInnerCorners) {
    TFloatingWindow* window = TFloatingWindow::FloatToolBar(toolBar, 200, 150, true);
    ASSERT_NE(window, nullptr);
    window->SetBorderColor(0x0000FF); // red; the backend's pixels are 0x00RRGGBB
    Pump();
    const int w = window->Width(), h = window->Height(), bw = window->BorderWidth();
    auto pixel = [&](int x, int y) { return backend_->PixelAt(window->NativeWindow(), x, y); };
    EXPECT_EQ(pixel(bw, bw), 0xFF0000u);
    EXPECT_EQ(pixel(w - bw - 1, bw), 0xFF0000u);
    EXPECT_EQ(pixel(bw, h - bw - 1), 0xFF0000u);
    EXPECT_EQ(pixel(w - bw - 1, h - bw - 1), 0xFF0000u);
    EXPECT_EQ(pixel(w / 2, 1), 0xFF0000u) << "the frame's top edge";

    window->SetBorderColor(clNone);
    Pump();
    EXPECT_NE(pixel(w / 2, 1), 0xFF0000u) << "clNone draws no frame";
}

TEST_F(FloatingToolBarTest, FloatingBringsEveryOverflowedControlBack) {
    TAdvToolBar* wide = MakeToolBar("W", 40, 22, top);
    for (int i = 0; i < 11; ++i)
        AddContent(wide, 40, 22);
    Pump();
    top->ArrangeRows();
    ASSERT_FALSE(wide->OverflowList().empty()) << "the row is too short for twelve controls";
    TFloatingWindow::FloatToolBar(wide, 10, 10, true);
    EXPECT_TRUE(wide->OverflowList().empty());
    for (TControl* c : wide->PositionList())
        EXPECT_LT(c->Top(), wide->Height()) << "every control is laid out in the window";
    EXPECT_EQ(wide->DockedThickness(), 26);
}

// ---- closing
// -----------------------------------------------------------------------------------------------

TEST_F(FloatingToolBarTest, TheCloseButtonHidesTheToolBarAndItsWindow) {
    int closed = 0;
    toolBar->OnClose = [&](TObject*) { ++closed; };
    TFloatingWindow* window = TFloatingWindow::FloatToolBar(toolBar, 200, 150, true);
    Pump();
    TRect x = toolBar->CloseButtonRect();
    TPoint p = At(toolBar, x.Left + 5, x.Top + 5);
    backend_->Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(toolBar->Visible());
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(toolBar->Floating());
}

TEST_F(FloatingToolBarTest, WithAutoDockOnCloseTheCloseButtonDocksItBack) {
    int closed = 0;
    toolBar->OnClose = [&](TObject*) { ++closed; };
    toolBar->SetAutoDockOnClose(true);
    TComponentRef<TFloatingWindow> window(TFloatingWindow::FloatToolBar(toolBar, 200, 150, true));
    Pump();
    docked.clear();
    TRect x = toolBar->CloseButtonRect();
    TPoint p = At(toolBar, x.Left + 5, x.Top + 5);
    backend_->Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(toolBar->Parent(), top);
    EXPECT_TRUE(toolBar->Docked());
    EXPECT_TRUE(toolBar->Visible());
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(docked.size(), 1u);
    EXPECT_FALSE(window) << "the window is freed";
}

TEST_F(FloatingToolBarTest, AutoDockOnCloseIntoAFullLockedPanelClosesInstead) {
    int closed = 0;
    toolBar->OnClose = [&](TObject*) { ++closed; };
    toolBar->SetAutoDockOnClose(true);
    TFloatingWindow* window = TFloatingWindow::FloatToolBar(toolBar, 200, 150, true);
    top->SetLockHeight(true);
    top->Loaded();
    ASSERT_EQ(top->RowCount(), 0);
    toolBar->CloseFloating();
    EXPECT_EQ(toolBar->Parent(), window) << "not left behind in a panel that holds it in no row";
    EXPECT_TRUE(toolBar->Floating());
    EXPECT_FALSE(toolBar->Visible());
    EXPECT_FALSE(window->Visible());
    EXPECT_EQ(closed, 1);
}

// ---- following the owner form
// --------------------------------------------------------------------------------

TEST_F(FloatingToolBarTest, TheWindowHidesWithItsOwnerFormAndComesBack) {
    TFloatingWindow* window = TFloatingWindow::FloatToolBar(toolBar, 200, 150, true);
    ASSERT_TRUE(window->Visible());
    EXPECT_EQ(window->OwnerForm(), form);
    form->Hide();
    backend_->AdvanceTime(40);
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(window->ShowPending());
    form->Show();
    backend_->AdvanceTime(39);
    EXPECT_FALSE(window->Visible()) << "the next tick shows it";
    backend_->AdvanceTime(1);
    EXPECT_TRUE(window->Visible());
    EXPECT_FALSE(window->ShowPending());
}

TEST_F(FloatingToolBarTest, AToolBarFloatedWhileItsFormIsHiddenWaitsForIt) {
    form->Hide();
    TFloatingWindow* window = TFloatingWindow::FloatToolBar(toolBar, 200, 150, true);
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(window->ShowPending());
    form->Show();
    backend_->AdvanceTime(40);
    EXPECT_TRUE(window->Visible());
}

// A stored layout floats its toolbar before the toolbar has laid out its buttons
// and before the form shows; the window shown later fits the toolbar as it is then.
TEST_F(FloatingToolBarTest, AWindowShownLateFitsTheToolBarThatGrewWhileItWaited) {
    form->Hide();
    TFloatingWindow* window = TFloatingWindow::FloatToolBar(toolBar, 200, 150, true);
    const int before = toolBar->Width();
    AddContent(toolBar, 120, 41);
    ASSERT_GT(toolBar->Width(), before) << "the toolbar did not grow";
    form->Show();
    backend_->AdvanceTime(40);
    ASSERT_TRUE(window->Visible());
    const int frame = 2 * window->BorderWidth() + 2;
    EXPECT_EQ(window->Width(), toolBar->Width() + frame);
    EXPECT_EQ(window->Height(), toolBar->Height() + frame);
}

TEST_F(FloatingToolBarTest, TheFollowingStopsWhenTheToolBarDocks) {
    TFloatingWindow* window = TFloatingWindow::FloatToolBar(toolBar, 200, 150, true);
    EXPECT_TRUE(window->Following());
    toolBar->SetParent(top);
    EXPECT_FALSE(window->Following());
    EXPECT_FALSE(window->Visible()) << "an empty window is not left showing";
}

// ---- border resizing
// ------------------------------------------------------------------------------------------

class FloatingResizeTest : public FloatingToolBarTest {
protected:
    void SetUp() override {
        FloatingToolBarTest::SetUp();
        for (int i = 0; i < 3; ++i)
            AddContent(toolBar, 68, 41);
        window = TFloatingWindow::FloatToolBar(toolBar, 100, 100, true);
        Pump();
    }
    /// A press at window point (x, y), moves by the offsets, and a release.
    void DragBorder(int x, int y, const std::vector<TPoint>& offsets) {
        TPoint p = window->ClientToScreen({x, y});
        backend_->MoveMouse(p.X, p.Y);
        backend_->Press(p.X, p.Y);
        for (TPoint d : offsets)
            backend_->MoveMouse(p.X + d.X, p.Y + d.Y, platform::ssLeft);
        backend_->Release(p.X + offsets.back().X, p.Y + offsets.back().Y);
        Pump();
    }
    TFloatingWindow* window = nullptr;
};

TEST_F(FloatingResizeTest, DraggingTheBottomBorderDownAddsARow) {
    ASSERT_EQ(toolBar->MaxFloatingRows(), 4);
    const int h = window->Height();
    // The travel counts from the window's edge, 2 pixels below the press.
    DragBorder(window->Width() / 2, h - 2, {{0, 7}});
    EXPECT_EQ(toolBar->FloatingRows(), 1) << "5 pixels are not enough";
    DragBorder(window->Width() / 2, h - 2, {{0, 8}});
    EXPECT_EQ(toolBar->FloatingRows(), 2);
    EXPECT_EQ(toolBar->Height(), 2 * toolBar->DockedThickness() + toolBar->CaptionHeight());
    EXPECT_EQ(window->Height(), toolBar->Height() + 6) << "the window is fitted again";
    EXPECT_EQ(window->Width(), toolBar->Width() + 6);
}

TEST_F(FloatingResizeTest, TheRightBorderRemovesRowsOutwardsAndAddsThemBack) {
    toolBar->SetFloatingRows(4);
    ASSERT_EQ(toolBar->FloatingRows(), 4);
    int w = window->Width();
    const int y = window->Height() / 2;
    // More than 5 pixels outwards: one row less, and the window is wider.
    TPoint p = window->ClientToScreen({w - 2, y});
    backend_->MoveMouse(p.X, p.Y);
    backend_->Press(p.X, p.Y);
    backend_->MoveMouse(p.X + 8, p.Y, platform::ssLeft);
    Pump();
    EXPECT_EQ(toolBar->FloatingRows(), 3);
    EXPECT_GT(window->Width(), w);
    // Then 3 past the new edge removes another.
    int edge = window->ClientToScreen({window->Width(), 0}).X;
    backend_->MoveMouse(edge + 3, p.Y, platform::ssLeft);
    Pump();
    EXPECT_EQ(toolBar->FloatingRows(), 2);
    // Back across the width of three rows adds one again.
    int back = window->ClientToScreen({4 + toolBar->FloatingRowsSize(3).Width, 0}).X;
    backend_->MoveMouse(back, p.Y, platform::ssLeft);
    Pump();
    EXPECT_EQ(toolBar->FloatingRows(), 3);
    backend_->Release(back, p.Y);
    Pump();
    EXPECT_FALSE(window->Resizing());
}

TEST_F(FloatingResizeTest, TheLeftBorderKeepsTheRightEdge) {
    toolBar->SetFloatingRows(2);
    const int right = window->Left() + window->Width();
    DragBorder(1, window->Height() / 2, {{-7, 0}});
    EXPECT_EQ(toolBar->FloatingRows(), 1);
    EXPECT_EQ(window->Left() + window->Width(), right);
}

TEST_F(FloatingResizeTest, TheTopBorderKeepsTheBottomEdge) {
    const int bottomEdge = window->Top() + window->Height();
    DragBorder(window->Width() / 2, 1, {{0, -7}});
    EXPECT_EQ(toolBar->FloatingRows(), 2);
    EXPECT_EQ(window->Top() + window->Height(), bottomEdge);
}

TEST_F(FloatingResizeTest, ARowCountTheToolBarRefusesChangesNothing) {
    const TRect before = window->BoundsRect();
    DragBorder(window->Width() - 2, window->Height() / 2, {{8, 0}});
    EXPECT_EQ(toolBar->FloatingRows(), 1) << "there is no row 0";
    EXPECT_EQ(window->BoundsRect().Width(), before.Width());
}

TEST_F(FloatingResizeTest, TheBordersShowSizingCursors) {
    TPoint p = window->ClientToScreen({1, window->Height() / 2});
    backend_->MoveMouse(p.X, p.Y);
    Pump();
    EXPECT_EQ(window->Cursor(), crSizeWE);
    p = window->ClientToScreen({window->Width() / 2, window->Height() - 1});
    backend_->MoveMouse(p.X, p.Y);
    Pump();
    EXPECT_EQ(window->Cursor(), crSizeNS);
}

TEST_F(FloatingToolBarTest, AClosePressThatOutlivesTheFloatingIsNotLeftDown) {
    int closed = 0;
    toolBar->OnClose = [&](TObject*) { ++closed; };
    TFloatingWindow::FloatToolBar(toolBar, 200, 150, true);
    Pump();
    TRect x = toolBar->CloseButtonRect();
    TPoint p = At(toolBar, x.Left + 5, x.Top + 5);
    backend_->MoveMouse(p.X, p.Y);
    backend_->Press(p.X, p.Y);
    Pump();
    ASSERT_TRUE(toolBar->CloseButtonDown());
    toolBar->SetParent(top);
    Pump();
    ASSERT_TRUE(toolBar->Docked());
    p = At(toolBar, 20, 5);
    backend_->Release(p.X, p.Y);
    Pump();
    EXPECT_EQ(toolBar->DownPart(), TToolBarPart::None);
    EXPECT_EQ(closed, 0) << "a docked toolbar has no close button to act";
    EXPECT_TRUE(toolBar->Visible());
}

// ---- a right-to-left window ----------------------------------------------------------------------------

TEST_F(FloatingToolBarTest, InARightToLeftWindowTheToolBarIsTornOffFollowsThePointerAndDocksAtTheRightEdge) {
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    Pump();
    ASSERT_TRUE(toolBar->UseRightToLeftLayout());
    EXPECT_EQ(toolBar->Left(), 3) << "the position stays logical";
    EXPECT_EQ(toolBar->VisualLeft(), 400 - 3 - 91) << "the row fills from the right";

    // The grip, at logical x 3, is now near the toolbar's right end.
    const TPoint grip = At(toolBar, 3, 20);
    EXPECT_EQ(grip.X, form->ClientOrigin().X + 400 - 3 - 1 - 3);
    Drag(toolBar, {3, 20}, {{grip.X, grip.Y + 30}, {grip.X, grip.Y + 70}});
    ASSERT_TRUE(toolBar->Floating());
    TFloatingWindow* window = TFloatingWindow::Of(toolBar);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->UseRightToLeftLayout());
    EXPECT_TRUE(toolBar->UseRightToLeftLayout()) << "the toolbar reads in its window's direction";
    EXPECT_EQ(window->BoundsRect().Right, grip.X) << "the window hangs from the pointer by its right edge";

    // Dragged by its caption, the window moves as the mirror image of a plain one:
    // with the pointer, not against it.
    const auto dragCaption = [&](int dx, int dy) {
        const TPoint caption = At(toolBar, Handle(toolBar).X, Handle(toolBar).Y);
        const TPoint before{window->Left(), window->Top()};
        Drag(toolBar, Handle(toolBar),
             {{caption.X + dx / 2, caption.Y + dy / 2}, {caption.X + dx, caption.Y + dy}}, false);
        return TPoint{window->Left() - before.X, window->Top() - before.Y};
    };
    const TPoint mirrored = dragCaption(-30, 16);
    ASSERT_TRUE(toolBar->Floating());
    window->SetBiDiMode(TBiDiMode::bdLeftToRight);
    const TPoint plain = dragCaption(30, 16);
    window->SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_GT(plain.X, 20);
    EXPECT_EQ(mirrored.X, -plain.X);
    EXPECT_EQ(mirrored.Y, plain.Y);

    // Over the right end of the top panel it docks at the start of the mirrored row.
    const TRect panel = top->ClientToScreenRect(top->ClientRect());
    Drag(toolBar, Handle(toolBar), {{panel.Right - 4, panel.Top + 10}});
    ASSERT_TRUE(toolBar->Docked());
    EXPECT_EQ(toolBar->Parent(), top);
    EXPECT_LE(toolBar->Left(), 10);
    EXPECT_GE(toolBar->VisualBoundsRect().Right, 400 - 10);
}

TEST_F(FloatingToolBarTest, InARightToLeftRowDraggingTheGripLeftwardsMovesTheToolBarAlongTheRow) {
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    Pump();
    const TPoint grip = At(toolBar, 3, 20);
    Drag(toolBar, {3, 20}, {{grip.X - 20, grip.Y}, {grip.X - 50, grip.Y}});
    ASSERT_TRUE(toolBar->Docked());
    EXPECT_EQ(toolBar->Left(), 3 + 50) << "leftwards on the screen is onwards along the row";
    EXPECT_EQ(toolBar->VisualLeft(), 400 - 53 - 91);
}

// A grey border was the declared default, not the colour a window starts with:
// a window given a grey border was written without it and read back darker.
TEST_F(FloatingToolBarTest, BorderColorGreyWasLostByWritingAndReadingBack) {
    RegisterToolbarClasses();
    const auto readBack = [this](const std::string& text) {
        auto* window = dynamic_cast<TFloatingWindow*>(TLayoutReader::CreateFromText(text, app));
        EXPECT_NE(window, nullptr);
        const TColor color = window ? window->BorderColor() : clNone;
        TObject::Free(window);
        return color;
    };
    for (TColor color : {clGray, TFloatingWindow::InitialBorderColor, TColor{0x123456}, clNone}) {
        SCOPED_TRACE(color);
        auto* window = new TFloatingWindow(app);
        window->SetName("Window");
        window->SetBorderColor(color);
        const std::string text = TLayoutWriter::WriteRootToText(window);
        TObject::Free(window);
        EXPECT_EQ(readBack(text), color) << text;
    }
    EXPECT_EQ(readBack("object Window: TFloatingWindow\nend\n"), TFloatingWindow::InitialBorderColor)
        << "a stored window that names no border colour has the one a new window gets";
}

} // namespace
} // namespace emr
