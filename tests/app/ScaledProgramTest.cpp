// The program on a monitor drawn at 150 % and 200 %.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>

#include "app/AppEnvironment.h"
#include "app/Program.h"
#include "app/RecordingLocalePlatform.h"
#include "app/Unit1.h"
#include "framework/forms/Application.h"
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

INSTANTIATE_TEST_SUITE_P(Scales, ScaledProgramTest, ::testing::Values(1.0, 1.5, 2.0));

} // namespace
} // namespace emr
