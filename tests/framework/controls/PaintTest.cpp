#include <gtest/gtest.h>

#include "Harness.h"

namespace emr::testing {
namespace {

constexpr std::uint32_t kBtnFace = 0xF0F0F0; // (240, 240, 240)
constexpr std::uint32_t kWindow = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kLime = 0x00FF00;

class Painting : public ::testing::Test {
protected:
    void SetUp() override {
        form = h.NewForm(50, 50, 100, 60);
        form->Show();
    }
    std::uint32_t Pixel(int x, int y) { return h.Backend().PixelAt(form->NativeWindow(), x, y); }
    Harness h;
    TForm* form = nullptr;
};

TEST_F(Painting, ChildrenPaintInZOrderClippedToTheirParents) {
    auto* red = Place<Probe>(form, 10, 10, 30, 20, clRed);
    auto* blue = Place<Probe>(red, 20, 5, 30, 30, clBlue);
    auto* swatch = Place<Swatch>(form, 35, 12, 20, 5, clLime);
    h.App().ProcessMessages();
    EXPECT_EQ(Pixel(0, 0), kBtnFace);
    EXPECT_EQ(Pixel(10, 10), kRed);
    EXPECT_EQ(Pixel(29, 29), kRed);
    EXPECT_EQ(Pixel(30, 15), kBlue);
    EXPECT_EQ(Pixel(39, 29), kBlue);
    // The blue child is cut off at its parent's edge.
    EXPECT_EQ(Pixel(40, 15), kLime);
    EXPECT_EQ(Pixel(45, 20), kBtnFace);
    EXPECT_EQ(Pixel(39, 30), kBtnFace);
    // A windowless control lies below its windowed siblings.
    EXPECT_EQ(Pixel(36, 12), kRed);
    EXPECT_EQ(Pixel(54, 16), kLime);
    (void)blue;
    (void)swatch;
}

TEST_F(Painting, InvalidationIsCollectedAndPaintedOnceLater) {
    auto* probe = Place<Probe>(form, 10, 10, 30, 20, clRed);
    h.App().ProcessMessages();
    int before = probe->Paints;
    probe->Invalidate();
    probe->Invalidate();
    probe->InvalidateRect({0, 0, 5, 5});
    EXPECT_EQ(probe->Paints, before);
    h.App().ProcessMessages();
    EXPECT_EQ(probe->Paints, before + 1);
    // Nothing invalid: nothing painted.
    h.App().ProcessMessages();
    EXPECT_EQ(probe->Paints, before + 1);
    // Update paints at once.
    probe->Invalidate();
    probe->Update();
    EXPECT_EQ(probe->Paints, before + 2);
}

TEST_F(Painting, HidingAndMovingRepaintTheUncoveredArea) {
    auto* probe = Place<Probe>(form, 10, 10, 30, 20, clRed);
    h.App().ProcessMessages();
    probe->SetLeft(50);
    h.App().ProcessMessages();
    EXPECT_EQ(Pixel(10, 10), kBtnFace);
    EXPECT_EQ(Pixel(50, 10), kRed);
    probe->Hide();
    h.App().ProcessMessages();
    EXPECT_EQ(Pixel(50, 10), kBtnFace);
}

TEST_F(Painting, BackgroundEraseCanBeSuppressed) {
    auto* plain = Place<Probe>(form, 0, 0, 10, 10);
    auto* noErase = Place<Probe>(form, 20, 0, 10, 10);
    noErase->EraseHandled = true;
    h.App().ProcessMessages();
    EXPECT_EQ(Pixel(5, 5), kWindow);
    EXPECT_EQ(Pixel(25, 5), kBtnFace);
    (void)plain;
}

TEST_F(Painting, ControlCanvasIsTranslatedAndClipped) {
    struct Corner : Probe {
        using Probe::Probe;
        TRect Clip;
        void Paint() override {
            Clip = Canvas()->ClipRect();
            Canvas()->Brush()->SetColor(clBlue);
            Canvas()->FillRect({-100, -100, 200, 200});
        }
    };
    auto* c = Place<Corner>(form, 80, 50, 40, 40);
    h.App().ProcessMessages();
    EXPECT_EQ(c->Clip, (TRect{0, 0, 20, 10}));
    EXPECT_EQ(Pixel(79, 49), kBtnFace);
    EXPECT_EQ(Pixel(80, 50), kBlue);
    EXPECT_EQ(Pixel(99, 59), kBlue);
}

} // namespace
} // namespace emr::testing
