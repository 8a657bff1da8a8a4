#include <gtest/gtest.h>

#include "Harness.h"

namespace emr::testing {
namespace {

TEST(AlignPass, MainWindowShapeStacksTopStripAboveClientPanel) {
    Harness h;
    TForm* form = h.NewForm(389, 175, 382, 198);
    auto* strip = Place<Probe>(form, 0, 0, 10, 47);
    strip->SetAlign(alTop);
    auto* panel = Place<Probe>(form, 5, 5, 10, 10);
    panel->SetAlign(alClient);
    EXPECT_EQ(strip->BoundsRect(), TRect::FromBounds(0, 0, 382, 47));
    EXPECT_EQ(panel->BoundsRect(), TRect::FromBounds(0, 47, 382, 151));
    // The outer size follows from the client size and the frame.
    EXPECT_EQ(form->Width(), 398);
    EXPECT_EQ(form->Height(), 237);

    form->SetClientHeight(250);
    EXPECT_EQ(panel->BoundsRect(), TRect::FromBounds(0, 47, 382, 203));
    strip->SetHeight(60);
    EXPECT_EQ(panel->BoundsRect(), TRect::FromBounds(0, 60, 382, 190));
    strip->Hide();
    EXPECT_EQ(panel->BoundsRect(), TRect::FromBounds(0, 0, 382, 250));
}

TEST(AlignPass, EdgesAreTakenInOrderTopBottomLeftRightClient) {
    Harness h;
    TForm* form = h.NewForm(0, 0, 200, 100);
    auto* client = Place<Probe>(form, 0, 0, 1, 1);
    client->SetAlign(alClient);
    auto* right = Place<Probe>(form, 0, 0, 30, 1);
    right->SetAlign(alRight);
    auto* left = Place<Probe>(form, 0, 0, 20, 1);
    left->SetAlign(alLeft);
    auto* bottom = Place<Probe>(form, 0, 0, 1, 10);
    bottom->SetAlign(alBottom);
    auto* top = Place<Probe>(form, 0, 0, 1, 15);
    top->SetAlign(alTop);
    EXPECT_EQ(top->BoundsRect(), TRect::FromBounds(0, 0, 200, 15));
    EXPECT_EQ(bottom->BoundsRect(), TRect::FromBounds(0, 90, 200, 10));
    EXPECT_EQ(left->BoundsRect(), TRect::FromBounds(0, 15, 20, 75));
    EXPECT_EQ(right->BoundsRect(), TRect::FromBounds(170, 15, 30, 75));
    EXPECT_EQ(client->BoundsRect(), TRect::FromBounds(20, 15, 150, 75));

    // Two top-aligned controls keep their order by Top; moving one above the other swaps them.
    auto* top2 = Place<Probe>(form, 0, 50, 1, 5);
    top2->SetAlign(alTop);
    EXPECT_EQ(top2->Top(), 15);
    top2->SetTop(0);
    EXPECT_EQ(top2->Top(), 0);
    EXPECT_EQ(top->Top(), 5);
}

TEST(AlignPass, DisabledAlignRunsOnceWhenEnabledAgain) {
    Harness h;
    TForm* form = h.NewForm(0, 0, 100, 100);
    auto* a = Place<Probe>(form, 0, 0, 10, 10);
    form->DisableAlign();
    a->SetAlign(alClient);
    EXPECT_EQ(a->Width(), 10);
    form->EnableAlign();
    EXPECT_EQ(a->BoundsRect(), TRect::FromBounds(0, 0, 100, 100));
}

TEST(AlignPass, AnchorsKeepDistancesToRightAndBottomEdges) {
    Harness h;
    TForm* form = h.NewForm(0, 0, 100, 100);
    auto* pinned = Place<Probe>(form, 70, 80, 20, 10);
    pinned->SetAnchors(akRight | akBottom);
    auto* stretched = Place<Probe>(form, 10, 10, 50, 10);
    stretched->SetAnchors(akLeft | akTop | akRight);
    form->SetClientWidth(150);
    form->SetClientHeight(120);
    EXPECT_EQ(pinned->BoundsRect(), TRect::FromBounds(120, 100, 20, 10));
    EXPECT_EQ(stretched->BoundsRect(), TRect::FromBounds(10, 10, 100, 10));
}

TEST(SizeConstraints, EveryBoundsChangeIsLimited) {
    Harness h;
    TForm* form = h.NewForm(0, 0, 300, 200);
    auto* c = Place<Probe>(form, 0, 0, 50, 50);
    c->Constraints()->SetMinWidth(20);
    c->Constraints()->SetMaxWidth(80);
    c->Constraints()->SetMaxHeight(30);
    // Setting a constraint applies it to the current size at once.
    EXPECT_EQ(c->Height(), 30);
    c->SetWidth(5);
    EXPECT_EQ(c->Width(), 20);
    c->SetBounds(1, 2, 500, 500);
    EXPECT_EQ(c->BoundsRect(), TRect::FromBounds(1, 2, 80, 30));
    // The align pass respects them too, and later controls get what is left.
    c->SetAlign(alTop);
    auto* rest = Place<Probe>(form, 0, 0, 1, 1);
    rest->SetAlign(alClient);
    EXPECT_EQ(c->BoundsRect(), TRect::FromBounds(0, 0, 80, 30));
    EXPECT_EQ(rest->BoundsRect(), TRect::FromBounds(0, 30, 300, 170));
    // A maximum below the minimum loses.
    c->Constraints()->SetMaxWidth(10);
    EXPECT_EQ(c->Width(), 20);
}

TEST(SizeConstraints, ResizeFiresOnlyForRealSizeChanges) {
    Harness h;
    TForm* form = h.NewForm(0, 0, 300, 200);
    auto* c = Place<Probe>(form, 0, 0, 50, 50);
    int resizes = 0;
    c->OnResize = [&](TObject*) { ++resizes; };
    c->SetLeft(10);
    c->SetBounds(10, 0, 50, 50);
    EXPECT_EQ(resizes, 0);
    c->SetWidth(60);
    EXPECT_EQ(resizes, 1);
}

} // namespace
} // namespace emr::testing
