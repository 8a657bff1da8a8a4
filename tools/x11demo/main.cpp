// Opens one fixed-size framed window on the X display, with its frame's
// top-left at (389, 175) and a 382 x 198 client area, paints a command-bar
// band and a face colour, and runs until the window is closed or Esc is
// pressed. Exits with status 1 and a message when no display is reachable.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/platform/x11/X11Backend.h"

using namespace emr;
using namespace emr::platform;

namespace {

constexpr int kWidth = 382;
constexpr int kHeight = 198;
constexpr int kBand = 47;

std::vector<std::uint32_t> Paint() {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight, 0xF0F0F0);
    // A vertical gradient for the command bar, from (255, 255, 255) to (200, 215, 235).
    for (int y = 0; y < kBand; ++y) {
        const int r = 255 - (55 * y) / (kBand - 1);
        const int g = 255 - (40 * y) / (kBand - 1);
        const int b = 255 - (20 * y) / (kBand - 1);
        const std::uint32_t c = static_cast<std::uint32_t>(r << 16 | g << 8 | b);
        for (int x = 0; x < kWidth; ++x)
            pixels[static_cast<std::size_t>(y) * kWidth + x] = c;
    }
    // The sunken panel's edge below it.
    for (int x = 0; x < kWidth; ++x)
        pixels[static_cast<std::size_t>(kBand) * kWidth + x] = 0xA0A0A0;
    return pixels;
}

} // namespace

int main() {
    std::unique_ptr<Backend> backend = CreateX11Backend();
    if (!backend) {
        std::fprintf(stderr, "%s\n", NoDisplayMessage().c_str());
        return 1;
    }
    TWindowStyle style;
    style.Resizable = false;
    style.MinimizeBox = false;
    style.MaximizeBox = false;
    TRect client = TRect::FromBounds(389, 175, kWidth, kHeight);
    const WindowId window = backend->CreateWindow(style, client, "电子病历补丁");
    // The stored position is the frame's top-left.
    const TRect frame = backend->FrameExtents(window);
    if (frame.Left || frame.Top) backend->SetBounds(window, client.Offset(frame.Left, frame.Top));
    backend->SetVisible(window, true);

    const std::vector<std::uint32_t> pixels = Paint();
    const TRect all{0, 0, kWidth, kHeight};
    for (;;) {
        const auto event = backend->NextEvent(std::nullopt);
        if (!event) continue;
        switch (event->Type) {
        case TEventType::Expose:
            backend->Present(window, pixels.data(), kWidth, kHeight, kWidth, all);
            break;
        case TEventType::CloseRequest:
            return 0;
        case TEventType::KeyDown:
            if (event->Key == VK_ESCAPE) return 0;
            break;
        default:
            break;
        }
    }
}
