// What reaches the screen when the pointer moves over the command bar: only
// the buttons that changed, and pixels that equal a whole repaint.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/AppEnvironment.h"
#include "app/Program.h"
#include "app/RecordingLocalePlatform.h"
#include "app/Unit1.h"
#include "framework/forms/Application.h"
#include "framework/platform/headless/HeadlessBackend.h"

namespace emr {
namespace {

/// The headless backend, noting the area of every present.
class TPresentRecorder : public platform::HeadlessBackend {
public:
    std::vector<TRect> Presented;

    void Present(platform::WindowId window, const std::uint32_t* pixels, int width, int height, int stride,
                 const TRect& dirty) override {
        Presented.push_back(dirty);
        HeadlessBackend::Present(window, pixels, width, height, stride, dirty);
    }
};

class PartialPresentTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<TPresentRecorder>();
        backend_ = backend.get();
        platform::Backend::Install(std::move(backend));
        AppEnvironment().Platform = &platform_;
        form_ = StartApplication();
        form_->Show();
        Settle();
    }
    void TearDown() override {
        ShutDownApplication();
        platform::Backend::Uninstall();
        AppEnvironment() = TAppEnvironment{};
    }
    void Settle() {
        Application->ProcessMessages();
        backend_->AdvanceTime(10);
        Application->ProcessMessages();
    }
    void PointAt(const char* button, int x, int y) {
        auto* control = dynamic_cast<TControl*>(form_->FindComponent(button));
        ASSERT_NE(control, nullptr);
        const TPoint p = control->ClientToScreen({x, y});
        backend_->MoveMouse(p.X, p.Y);
        Settle();
    }
    std::vector<std::uint32_t> Pixels() const { return backend_->FindWindow(form_->NativeWindow())->Pixels; }

    TPresentRecorder* backend_ = nullptr;
    TRecordingLocalePlatform platform_;
    TForm1* form_ = nullptr;
};

TEST_F(PartialPresentTest, HoverPresentsOnlyTheButtonsThatChange) {
    // "确定" sits at (12, 3) of the client area, 34 x 41; "退出" right after it.
    const TRect confirm = TRect::FromBounds(12, 3, 34, 41);
    const TRect exit = TRect::FromBounds(46, 3, 34, 41);

    // The window once repainted both buttons after its first paint: painting a
    // glyph marked it transparent, which invalidated its button again.
    backend_->Presented.clear();
    Settle();
    EXPECT_TRUE(backend_->Presented.empty()) << "something repainted with nothing changed";

    PointAt("AdvToolBarButton1", 10, 10);
    ASSERT_EQ(backend_->Presented.size(), 1u);
    EXPECT_EQ(backend_->Presented[0], confirm);

    backend_->Presented.clear();
    PointAt("AdvToolBarButton2", 10, 10);
    ASSERT_EQ(backend_->Presented.size(), 1u);
    EXPECT_EQ(backend_->Presented[0], confirm.Union(exit));
}

TEST_F(PartialPresentTest, AFramePresentedInPartsEqualsAWholeRepaint) {
    PointAt("AdvToolBarButton1", 10, 10);
    PointAt("AdvToolBarButton2", 20, 30);
    PointAt("AdvToolBarButton1", 5, 5);
    const std::vector<std::uint32_t> inParts = Pixels();

    form_->Invalidate();
    Settle();
    ASSERT_FALSE(backend_->Presented.empty());
    EXPECT_EQ(backend_->Presented.back(), form_->ClientRect());
    EXPECT_TRUE(Pixels() == inParts) << "the pieces left a picture a whole repaint does not make";
}

} // namespace
} // namespace emr
