#include <gtest/gtest.h>

#include "Harness.h"

namespace emr::testing {
namespace {

constexpr std::uint32_t kBtnFace = 0xF0F0F0;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kLime = 0x00FF00;

using Log = std::vector<std::string>;

/// Paints one colour that a test may change without invalidating, and notes how
/// the canvas was aimed at it.
class Tint : public TCustomControl {
    EMR_CLASS(Tint)
public:
    Tint(TComponent* owner, TColor fill) : TCustomControl(owner), Fill(fill) {}
    TColor Fill;
    int SeenMirror = -1;
    TPoint SeenOrigin{-1, -1};
    TRect SeenClip;

protected:
    void Paint() override {
        SeenMirror = Canvas()->MirrorWidth();
        SeenOrigin = Canvas()->Origin();
        SeenClip = Canvas()->ClipRect();
        Canvas()->Brush()->SetColor(Fill);
        Canvas()->FillRect(ClientRect());
    }
};

// A form with a 100 x 60 client area at a known screen place; its controls sit at
// logical positions and the tests check where they appear.
class RightToLeft : public ::testing::Test {
protected:
    void SetUp() override {
        form = h.NewForm(50, 50, kClientWidth, 60);
        form->Show();
    }
    std::uint32_t Pixel(int x, int y) { return h.Backend().PixelAt(form->NativeWindow(), x, y); }
    /// The screen point of a pixel of the form's client area as it appears.
    TPoint Screen(int x, int y) const {
        const TPoint o = form->ClientOrigin();
        return {o.X + x, o.Y + y};
    }
    static constexpr int kClientWidth = 100;
    Harness h;
    TForm* form = nullptr;
};

TEST_F(RightToLeft, DirectionIsInheritedUntilAControlSetsItsOwn) {
    auto* outer = Place<Probe>(form, 0, 0, 50, 50);
    auto* inner = Place<Probe>(outer, 0, 0, 10, 10);
    auto* own = Place<Probe>(outer, 20, 0, 10, 10);
    own->SetBiDiMode(TBiDiMode::bdLeftToRight);
    EXPECT_FALSE(own->ParentBiDiMode());

    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_EQ(outer->BiDiMode(), TBiDiMode::bdRightToLeft);
    EXPECT_EQ(inner->BiDiMode(), TBiDiMode::bdRightToLeft);
    EXPECT_EQ(own->BiDiMode(), TBiDiMode::bdLeftToRight);
    EXPECT_TRUE(inner->UseRightToLeftLayout());

    // A control that joins later takes the direction of its new parent.
    auto* late = new Probe(form);
    late->SetParent(outer);
    EXPECT_EQ(late->BiDiMode(), TBiDiMode::bdRightToLeft);

    own->SetParentBiDiMode(true);
    EXPECT_EQ(own->BiDiMode(), TBiDiMode::bdRightToLeft);

    // The reading-only modes change text, not layout.
    for (TBiDiMode mode : {TBiDiMode::bdRightToLeftNoAlign, TBiDiMode::bdRightToLeftReadingOnly}) {
        form->SetBiDiMode(mode);
        EXPECT_EQ(inner->BiDiMode(), mode);
        EXPECT_FALSE(inner->UseRightToLeftLayout());
        EXPECT_TRUE(inner->UseRightToLeftReading());
    }
    form->SetBiDiMode(TBiDiMode::bdLeftToRight);
    EXPECT_FALSE(inner->UseRightToLeftReading());
}

TEST_F(RightToLeft, ChildrenAppearMirroredWhileTheirBoundsStayLogical) {
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    auto* red = Place<Tint>(form, 10, 10, 30, 20, clRed);
    auto* blue = Place<Tint>(red, 20, 5, 30, 30, clBlue);
    h.App().ProcessMessages();
    EXPECT_EQ(red->Left(), 10);
    // Red spans logical 10..39, so it appears at 100 - 10 - 30 = 60 up to 89.
    EXPECT_EQ(Pixel(59, 15), kBtnFace);
    EXPECT_EQ(Pixel(60, 10), kRed);
    EXPECT_EQ(Pixel(89, 29), kRed);
    EXPECT_EQ(Pixel(90, 15), kBtnFace);
    EXPECT_EQ(Pixel(10, 10), kBtnFace);
    // Blue runs off red's logical right end, which is now its left edge: of its
    // 30 columns the 10 at its own logical start show, at 60 up to 69.
    EXPECT_EQ(Pixel(70, 15), kRed);
    EXPECT_EQ(blue->SeenOrigin, (TPoint{40, 15}));
    EXPECT_EQ(blue->SeenClip, (TRect{0, 0, 10, 15}));
    EXPECT_EQ(red->SeenOrigin, (TPoint{60, 10}));
    // Each right-to-left control's own painting is mirrored across its client width.
    EXPECT_EQ(red->SeenMirror, 30);
    EXPECT_EQ(blue->SeenMirror, 30);

    // A left-to-right island inside the mirrored window keeps its own order.
    auto* island = Place<Tint>(form, 50, 35, 40, 20, clLime);
    island->SetBiDiMode(TBiDiMode::bdLeftToRight);
    auto* dot = Place<Tint>(island, 0, 0, 5, 5, clBlue);
    h.App().ProcessMessages();
    EXPECT_EQ(island->SeenMirror, 0);
    EXPECT_EQ(Pixel(10, 35), kBlue);
    EXPECT_EQ(Pixel(15, 35), kLime);
    (void)dot;

    // Back to left to right: everything returns to its logical place.
    form->SetBiDiMode(TBiDiMode::bdLeftToRight);
    h.App().ProcessMessages();
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(60, 10), kBtnFace);
    EXPECT_EQ(red->SeenMirror, 0);
}

TEST_F(RightToLeft, SideAlignedControlsKeepTheirPhysicalEdge) {
    auto* left = Place<Probe>(form, 0, 0, 20, 10);
    left->SetAlign(alLeft);
    auto* right = Place<Probe>(form, 0, 0, 15, 10);
    right->SetAlign(alRight);
    auto* client = Place<Probe>(form, 0, 0, 10, 10);
    client->SetAlign(alClient);
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_EQ(left->VisualLeft(), 0);
    EXPECT_EQ(left->Left(), kClientWidth - 20) << "which is the logical right end";
    EXPECT_EQ(right->VisualLeft(), kClientWidth - 15);
    EXPECT_EQ(client->VisualBoundsRect(), (TRect{20, 0, kClientWidth - 15, 60}));
    form->SetBiDiMode(TBiDiMode::bdLeftToRight);
    EXPECT_EQ(left->Left(), 0);
    EXPECT_EQ(right->Left(), kClientWidth - 15);
}

TEST_F(RightToLeft, InvalidatingALogicalRectangleRepaintsWhereItAppears) {
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    auto* red = Place<Tint>(form, 10, 10, 30, 20, clRed);
    h.App().ProcessMessages();
    red->InvalidateRect({0, 0, 5, 5});
    h.App().ProcessMessages();
    // Logical 0..4 of a control that appears at 60..89 is its right end, 85..89;
    // the paint that follows sees that area in the control's own coordinates again.
    EXPECT_EQ(red->SeenClip, (TRect{0, 0, 5, 5}));
    EXPECT_EQ(red->SeenOrigin, (TPoint{60, 10}));
}

TEST_F(RightToLeft, PointerInputArrivesInLogicalCoordinates) {
    form->SetBiDiMode(TBiDiMode::bdRightToLeft);
    auto* probe = Place<Probe>(form, 10, 10, 30, 20);
    auto* other = Place<Probe>(form, 60, 10, 30, 20);
    h.App().ProcessMessages();

    // The pixel at 61 is the second from the probe's right end, logical 28.
    const TPoint at = Screen(61, 12);
    h.Backend().Click(at.X, at.Y);
    h.App().ProcessMessages();
    EXPECT_EQ(probe->Log, (Log{"enter", "down 28,2", "capture-lost", "up 28,2"}));
    EXPECT_TRUE(other->Log.empty());

    EXPECT_EQ(probe->ClientToScreen({28, 2}), at);
    EXPECT_EQ(probe->ScreenToClient(at), (TPoint{28, 2}));
    EXPECT_EQ(form->ScreenToClient(at), (TPoint{38, 12}));
    EXPECT_EQ(form->ControlAtPos({38, 12}), probe);
    EXPECT_EQ(probe->ClientToScreenRect({0, 0, 30, 20}),
              TRect(Screen(60, 10).X, at.Y - 2, Screen(90, 0).X, at.Y + 18));
    EXPECT_EQ(probe->ScreenToClientRect(probe->ClientToScreenRect({3, 4, 10, 8})), (TRect{3, 4, 10, 8}));
    EXPECT_EQ(probe->ClientToControl({28, 2}, other), (TPoint{-22, 2}));
}

} // namespace
} // namespace emr::testing
