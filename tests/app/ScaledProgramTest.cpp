// The program on a monitor drawn at 150 % and 200 %.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <utility>

#include "app/AppEnvironment.h"
#include "app/Program.h"
#include "app/RecordingLocalePlatform.h"
#include "app/Unit1.h"
#include "framework/controls/PaintEngine.h"
#include "framework/forms/Application.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/platform/headless/HeadlessBackend.h"
#include "toolbar/AdvToolBarButton.h"

namespace emr {
namespace {

using TCallKind = TRecordingLocalePlatform::TCallKind;

constexpr TRect kMonitor{0, 0, 2560, 1600};

class ScaledProgramTest : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override {
        auto backend = std::make_unique<platform::HeadlessBackend>();
        backend_ = backend.get();
        backend_->SetScreen(kMonitor);
        backend_->SetMonitors({kMonitor}, {GetParam()});
        platform::Backend::Install(std::move(backend));
        TAppEnvironment& environment = AppEnvironment();
        environment.Platform = &platform_;
        environment.Formats = {"yyyy/M/d", "tt h:mm:ss", "上午", "下午"};
        environment.Clock = [] { return std::time_t{1796569445}; };
        form_ = StartApplication();
        Application->Run();
    }
    void TearDown() override {
        ShutDownApplication();
        platform::Backend::Uninstall();
        AppEnvironment() = TAppEnvironment{};
    }
    int Device(int dip) const { return static_cast<int>(std::lround(dip * GetParam())); }

    platform::HeadlessBackend* backend_ = nullptr;
    TRecordingLocalePlatform platform_;
    TForm1* form_ = nullptr;
};

TEST_P(ScaledProgramTest, TheClientAreaIsScaledAndAClickAtTheScaledCentreOfTheApplyButtonPatches) {
    const auto* window = backend_->FindWindow(form_->NativeWindow());
    ASSERT_TRUE(window && window->Visible);
    EXPECT_EQ(form_->ClientWidth(), 382);
    EXPECT_EQ(form_->ClientHeight(), 198);
    EXPECT_EQ(window->Bounds.Width(), Device(382));
    EXPECT_EQ(window->Bounds.Height(), Device(198));
    EXPECT_EQ(form_->BackBufferWidth(), Device(382));

    if (const char* dir = std::getenv("EMR_SCALED_PNG_DIR"))
        backend_->RenderWindowToPng(
            form_->NativeWindow(),
            (std::filesystem::path(dir) / ("main-window-" + std::to_string(Device(100)) + ".png")).string());

    const TControl* apply = form_->AdvToolBarButton1;
    const TPoint centre = apply->ClientToScreen({apply->Width() / 2, apply->Height() / 2});
    const TPoint device{Device(centre.X), Device(centre.Y)};
    backend_->MoveMouse(device.X, device.Y);
    Application->ProcessMessages();
    backend_->Press(device.X, device.Y);
    Application->ProcessMessages();
    backend_->Release(device.X, device.Y);
    Application->ProcessMessages();
    ASSERT_EQ(platform_.Calls().size(), 7u);
    EXPECT_EQ(platform_.Calls()[0].Kind, TCallKind::SetLocaleInfo);
    EXPECT_EQ(platform_.Calls()[6].Kind, TCallKind::MessageBox);
}

/// The bounding box of the pixels of `bitmap` in `colour`, and how many there are.
std::pair<TRect, int> InkOf(const TBitmap& bitmap, TColor colour) {
    TRect box{1 << 20, 1 << 20, -1, -1};
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Pixel(x, y) == colour) {
                ++count;
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
            }
    return {box, count};
}

TEST_P(ScaledProgramTest, TheCommandButtonsDrawTheGlyphHeldForTheScaleUnscaled) {
    for (TAdvToolBarButton* button : {form_->AdvToolBarButton1, form_->AdvToolBarButton2}) {
        const TBitmap* base = button->Glyph();
        // Each larger glyph keeps the base glyph's proportions and transparent colour.
        for (const TBitmap* larger : {button->GlyphMedium(), button->GlyphLarge()}) {
            ASSERT_FALSE(larger->Empty()) << button->Caption();
            EXPECT_NEAR(larger->Width(), base->Width() * larger->Height() / base->Height(), 1);
            EXPECT_EQ(larger->Pixel(0, larger->Height() - 1), base->Pixel(0, base->Height() - 1));
        }
        EXPECT_EQ(button->GlyphMedium()->Height(), 24);
        EXPECT_EQ(button->GlyphLarge()->Height(), 32);
    }

    // The apply glyph's check mark is the one green in the button: drawn unscaled, the
    // green pixels on screen are exactly those of the glyph chosen for the scale.
    constexpr TColor kCheck = RGB(0, 0x80, 0);
    TAdvToolBarButton* apply = form_->AdvToolBarButton1;
    const TBitmap* chosen = GetParam() == 1.0   ? apply->Glyph()
                            : GetParam() == 1.5 ? apply->GlyphMedium()
                                                : apply->GlyphLarge();
    TBitmap paint(Device(apply->Width()) + 1, Device(apply->Height()) + 1);
    paint.Canvas()->SetScale(GetParam());
    TPaintEngine::PaintTree(apply, *paint.Canvas(), {0, 0}, {0, 0, paint.Width(), paint.Height()});
    const auto [drawn, drawnCount] = InkOf(paint, kCheck);
    const auto [source, sourceCount] = InkOf(*chosen, kCheck);
    ASSERT_GT(sourceCount, 0);
    EXPECT_EQ(drawnCount, sourceCount);
    ASSERT_EQ(drawn.Width(), source.Width());
    ASSERT_EQ(drawn.Height(), source.Height());
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            ASSERT_EQ(paint.Pixel(drawn.Left + x, drawn.Top + y) == kCheck,
                      chosen->Pixel(source.Left + x, source.Top + y) == kCheck)
                << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledProgramTest, ::testing::Values(1.0, 1.5, 2.0));

} // namespace
} // namespace emr
