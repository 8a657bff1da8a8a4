// What presenting asks of the server: a completion event only when the next
// frame will have to wait for one.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "XServer.h"
#include "framework/platform/x11/X11Surface.h"

// After the test framework: Xlib defines None.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace emr::testing {
namespace {

class X11SurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        XServer& server = XServer::Shared();
        ASSERT_TRUE(server.Running()) << server.Error();
        display_ = XOpenDisplay(server.Name().c_str());
        ASSERT_NE(display_, nullptr);
        ASSERT_TRUE(XShmQueryExtension(display_)) << "Xvfb on this machine offers MIT-SHM";
        // A window that selects no events: anything queued is a completion event.
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, kWidth, kHeight, 0, 0, 0);
        XMapWindow(display_, window_);
        XSync(display_, False);
        const int screen = DefaultScreen(display_);
        surface_ = std::make_unique<platform::x11::X11Surface>(
            display_, window_, DefaultVisual(display_, screen), DefaultDepth(display_, screen), true);
    }
    void TearDown() override {
        surface_.reset();
        if (display_) XCloseDisplay(display_);
    }

    void Present(std::uint32_t color, const TRect& area) {
        std::fill(pixels_.begin(), pixels_.end(), color);
        surface_->Present(pixels_.data(), kWidth, kHeight, kWidth, area);
    }
    /// Completion events the server has sent so far.
    int CompletionEvents() {
        XSync(display_, False);
        return XPending(display_);
    }

    static constexpr int kWidth = 60, kHeight = 40;
    Display* display_ = nullptr;
    Window window_ = 0;
    std::unique_ptr<platform::x11::X11Surface> surface_;
    std::vector<std::uint32_t> pixels_ = std::vector<std::uint32_t>(kWidth * kHeight);
};

TEST_F(X11SurfaceTest, FramesToAServerThatKeepsUpSoonAskForNoCompletionEvents) {
    // Once frames keep finding the image written last read already (the sync
    // in between tells so), an idle program is no longer woken just to learn it.
    Present(0x102030, {0, 0, kWidth, kHeight});
    ASSERT_TRUE(surface_->UsesSharedMemory());
    for (int i = 0; i < 2; ++i) {
        CompletionEvents();
        Present(0x203040 + i, {0, 0, 10, 10});
    }
    const int settled = CompletionEvents();
    EXPECT_LE(settled, 3);
    for (int i = 0; i < 5; ++i) {
        Present(0x405060 + i, {i, i, 20 + i, 10 + i});
        EXPECT_EQ(CompletionEvents(), settled) << "frame " << i;
    }
}

TEST_F(X11SurfaceTest, FramesFasterThanTheServerReadsWaitForCompletionEventsAndAllArrive) {
    // Without anything read in between, the second image is written while the
    // first may still be read; from then on a frame asks to be told.
    const std::uint32_t last = 0x00A0B0;
    for (int i = 0; i < 40; ++i)
        Present(i + 1 == 40 ? last : 0x010101 * static_cast<std::uint32_t>(i), {0, 0, kWidth, kHeight});
    EXPECT_GT(CompletionEvents(), 0);
    XImage* shown = XGetImage(display_, window_, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    ASSERT_NE(shown, nullptr);
    for (int y = 0; y < kHeight; y += 7)
        for (int x = 0; x < kWidth; x += 7)
            ASSERT_EQ(XGetPixel(shown, x, y) & 0xFFFFFF, last) << x << "," << y;
    XDestroyImage(shown);
}

} // namespace
} // namespace emr::testing
