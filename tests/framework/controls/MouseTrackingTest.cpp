#include <gtest/gtest.h>

#include "Harness.h"

namespace emr::testing {
namespace {

using Log = std::vector<std::string>;

class MouseTracking : public ::testing::Test {
protected:
    void SetUp() override {
        form = h.NewForm(100, 100, 300, 200);
        a = Place<Probe>(form, 10, 10, 50, 50);
        b = Place<Probe>(form, 100, 10, 50, 50);
        form->Show();
        h.App().ProcessMessages();
    }
    void MoveTo(const TControl* c, int x, int y) {
        TPoint p = Harness::At(c, x, y);
        h.Backend().MoveMouse(p.X, p.Y);
        h.App().ProcessMessages();
    }
    Harness h;
    TForm* form = nullptr;
    Probe* a = nullptr;
    Probe* b = nullptr;
};

TEST_F(MouseTracking, EnterAndLeaveOncePerCrossing) {
    MoveTo(a, 5, 5);
    MoveTo(a, 6, 7);
    MoveTo(a, 40, 40);
    EXPECT_EQ(a->Log, (Log{"enter"}));
    MoveTo(b, 1, 1);
    EXPECT_EQ(a->Log, (Log{"enter", "leave"}));
    EXPECT_EQ(b->Log, (Log{"enter"}));
    MoveTo(form, 250, 150);
    EXPECT_EQ(b->Log, (Log{"enter", "leave"}));
    EXPECT_EQ(TMouse::Instance().HotControl(), form);
    EXPECT_FALSE(a->MouseInClient());
}

TEST_F(MouseTracking, DragTargetIsTheDeepestControlInTheTopmostForm) {
    auto* inner = Place<Probe>(b, 5, 5, 10, 10);
    EXPECT_EQ(FindDragTarget(Harness::At(inner, 1, 1)), inner);
    EXPECT_EQ(FindDragTarget(Harness::At(b, 30, 30)), b);
    EXPECT_EQ(FindDragTarget({5, 5}), nullptr);
    TForm* over = h.NewForm(150, 100, 300, 200);
    over->Show();
    EXPECT_EQ(FindDragTarget(Harness::At(inner, 1, 1)), over);
    form->BringToFront();
    EXPECT_EQ(FindDragTarget(Harness::At(inner, 1, 1)), inner);
    b->SetEnabled(false);
    EXPECT_EQ(FindDragTarget(Harness::At(inner, 1, 1)), form);
    EXPECT_EQ(FindDragTarget(Harness::At(inner, 1, 1), true), inner);
}

TEST_F(MouseTracking, LeavingTheWindowEndsTracking) {
    MoveTo(a, 5, 5);
    h.Backend().MoveMouse(900, 700);
    h.App().ProcessMessages();
    EXPECT_EQ(a->Log, (Log{"enter", "leave"}));
    EXPECT_EQ(TMouse::Instance().HotControl(), nullptr);
}

TEST_F(MouseTracking, HidingTheControlUnderThePointerLeavesItOnce) {
    auto* inner = Place<Probe>(a, 5, 5, 20, 20);
    MoveTo(inner, 2, 2);
    inner->Hide();
    EXPECT_EQ(inner->Log, (Log{"enter", "leave"}));
    EXPECT_EQ(TMouse::Instance().HotControl(), a);
    MoveTo(inner, 3, 3);
    EXPECT_EQ(inner->Log, (Log{"enter", "leave"}));
    EXPECT_EQ(a->Log, (Log{"enter"}));
    // Shown again under the still pointer: entered at once, exactly once.
    inner->Show();
    MoveTo(inner, 4, 4);
    EXPECT_EQ(inner->Log, (Log{"enter", "leave", "enter"}));
    EXPECT_EQ(a->Log, (Log{"enter", "leave"}));
}

TEST_F(MouseTracking, DestroyingTheControlUnderThePointerHandsOverToItsParent) {
    auto* doomed = Place<Probe>(a, 5, 5, 20, 20);
    MoveTo(doomed, 2, 2);
    TObject::Free(doomed);
    EXPECT_EQ(TMouse::Instance().HotControl(), a);
    EXPECT_EQ(a->Log, (Log{"enter"}));
    MoveTo(a, 3, 3);
    EXPECT_EQ(a->Log, (Log{"enter"}));
}

TEST_F(MouseTracking, WindowlessControlsAreTrackedToo) {
    auto* swatch = Place<Swatch>(form, 200, 100, 30, 30, clRed);
    MoveTo(swatch, 1, 1);
    MoveTo(form, 5, 190);
    EXPECT_EQ(swatch->Log, (Log{"enter", "leave"}));
}

TEST_F(MouseTracking, CaptureKeepsMovesFlowingOutsideTheControl) {
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    TPoint p = Harness::At(a, 10, 10);
    h.Backend().Press(p.X, p.Y);
    h.App().ProcessMessages();
    EXPECT_EQ(GetCaptureControl(), a);
    a->Moves.clear();
    MoveTo(form, 290, 190);
    h.Backend().MoveMouse(900, 700);
    h.App().ProcessMessages();
    ASSERT_EQ(a->Moves.size(), 2u);
    EXPECT_EQ(a->Moves[0], (TPoint{290 - 10, 190 - 10}));
    EXPECT_EQ(a->Moves[1], a->ScreenToClient({900, 700}));
    EXPECT_TRUE(b->Moves.empty());
    h.Backend().Release(900, 700);
    h.App().ProcessMessages();
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(h.Backend().GrabWindow(), 0u);
    // Released outside: no click.
    EXPECT_EQ(clicks, 0);
}

TEST_F(MouseTracking, CaptureSurvivesReparentingIntoAnotherWindow) {
    TForm* floating = h.NewForm(600, 400, 200, 100);
    floating->SetBorderStyle(bsNone);
    floating->Show();
    h.App().ProcessMessages();
    THandle handle = a->Handle();
    TPoint p = Harness::At(a, 10, 10);
    h.Backend().Press(p.X, p.Y);
    h.App().ProcessMessages();
    ASSERT_EQ(GetCaptureControl(), a);

    a->SetParent(floating);
    a->SetBounds(0, 0, 50, 50);
    EXPECT_EQ(a->Handle(), handle);
    EXPECT_EQ(h.Backend().GrabWindow(), floating->NativeWindow());
    a->Moves.clear();
    h.Backend().MoveMouse(610, 420);
    h.Backend().MoveMouse(100, 100);
    h.App().ProcessMessages();
    ASSERT_EQ(a->Moves.size(), 2u);
    EXPECT_EQ(a->Moves[0], (TPoint{10, 20}));
    EXPECT_EQ(a->Moves[1], (TPoint{-500, -300}));

    h.Backend().Release(605, 405);
    h.App().ProcessMessages();
    EXPECT_EQ(a->Log.back(), "up 5,5");
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(MouseTracking, CaptureChangeIsAnnouncedToTheLoser) {
    SetCaptureControl(a);
    SetCaptureControl(b);
    EXPECT_EQ(a->Log, (Log{"capture-lost"}));
    ReleaseCapture();
    EXPECT_EQ(b->Log, (Log{"capture-lost"}));
}

TEST_F(MouseTracking, ClickNeedsPressAndReleaseInside) {
    int clicks = 0;
    a->OnClick = [&](TObject*) { ++clicks; };
    TPoint in = Harness::At(a, 20, 20);
    h.Backend().Click(in.X, in.Y);
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    h.Backend().Press(in.X, in.Y);
    TPoint out = Harness::At(b, 20, 20);
    h.Backend().Release(out.X, out.Y);
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    // A disabled control lets the press through to its parent.
    a->SetEnabled(false);
    int formDowns = 0;
    form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++formDowns; };
    h.Backend().Click(in.X, in.Y);
    h.App().ProcessMessages();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(formDowns, 1);
}

TEST_F(MouseTracking, ClickHandlerMayFreeItsButton) {
    bool freed = false;
    a->OnClick = [&](TObject* sender) {
        TObject::Free(static_cast<TControl*>(sender));
        freed = true;
    };
    TPoint in = Harness::At(a, 20, 20);
    h.Backend().Click(in.X, in.Y);
    h.Backend().MoveMouse(in.X + 1, in.Y);
    h.App().ProcessMessages();
    EXPECT_TRUE(freed);
    EXPECT_EQ(form->ControlCount(), 1);
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(TMouse::Instance().HotControl(), form);
}

} // namespace
} // namespace emr::testing

namespace emr::testing {
namespace {

TEST(MouseInput, ReachesTheControlTypedWithAltAndAClickCountAndWithoutSixteenBitLimits) {
    Harness h;
    h.Backend().SetScreen({0, 0, 36000, 400});
    TForm* form = h.NewForm(0, 0, 34000, 150);
    Probe* probe = Place<Probe>(form, 33000, 20, 200, 100);
    std::vector<TShiftState> shifts;
    probe->OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int, int) {
        shifts.push_back(shift);
    };
    form->Show();
    h.App().ProcessMessages();

    // Alt once went missing on the way (modifier bits and back), and a client
    // position past 32767 wrapped in a 16-bit message parameter.
    const TPoint at = Harness::At(probe, 150, 30);
    h.Backend().Press(at.X, at.Y, platform::TMouseButton::Left, ssAlt);
    h.Backend().Release(at.X, at.Y, platform::TMouseButton::Left, ssAlt);
    h.Backend().DoubleClick(at.X, at.Y, platform::TMouseButton::Left, ssShift);
    h.App().ProcessMessages();
    ASSERT_GE(probe->Log.size(), 2u);
    EXPECT_EQ(probe->Log[1], "down 150,30");
    ASSERT_GE(shifts.size(), 3u);
    EXPECT_EQ(shifts[0], ssAlt | ssLeft);
    EXPECT_EQ(shifts.back() & (ssShift | ssDouble), ssShift | ssDouble) << "the double click's second press";
}

} // namespace
} // namespace emr::testing
