#include "X11Fixture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <thread>

#undef Expose // Xlib's event number; the tests mean the framework's event

namespace emr::testing {

void X11Test::SetUp() {
    XServer& server = XServer::Shared();
    ASSERT_TRUE(server.Running()) << server.Error();
    auto backend = platform::CreateX11Backend(server.Name().c_str());
    ASSERT_NE(backend, nullptr) << "cannot open " << server.Name();
    backend_.reset(static_cast<platform::x11::X11Backend*>(backend.release()));
    probe_ = XOpenDisplay(server.Name().c_str());
    ASSERT_NE(probe_, nullptr);
    // Start each test with the pointer in a corner no test window uses.
    Shell("xdotool mousemove 1270 1010");
}

void X11Test::TearDown() {
    backend_.reset();
    if (probe_) XCloseDisplay(probe_);
    probe_ = nullptr;
}

WindowId X11Test::Show(const TWindowStyle& style, const TRect& bounds, const std::string& title) {
    const WindowId id = backend_->CreateWindow(style, bounds, title);
    backend_->SetVisible(id, true);
    // A window is first exposed once the server has mapped it.
    const auto exposed =
        Await([id](const TEvent& e) { return e.Type == TEventType::Expose && e.Window == id; });
    EXPECT_TRUE(exposed.has_value()) << "window never mapped";
    return id;
}

void X11Test::Fill(WindowId window, int width, int height, std::uint32_t color) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, color);
    backend_->Present(window, pixels.data(), width, height, width, TRect{0, 0, width, height});
}

std::optional<TEvent> X11Test::Await(const std::function<bool(const TEvent&)>& match, int timeoutMs) {
    const std::int64_t deadline = backend_->NowMs() + timeoutMs;
    while (auto event = backend_->NextEvent(deadline)) {
        if (match(*event)) return event;
        Seen.push_back(*event);
    }
    return std::nullopt;
}

std::optional<TEvent> X11Test::Await(TEventType type, int timeoutMs) {
    return Await([type](const TEvent& e) { return e.Type == type; }, timeoutMs);
}

std::vector<TEvent> X11Test::Drain(int quietMs) {
    std::vector<TEvent> events;
    while (auto event = backend_->NextEvent(backend_->NowMs() + quietMs))
        events.push_back(*event);
    return events;
}

std::uint32_t X11Test::ScreenPixel(int x, int y) {
    Sync();
    XImage* image = XGetImage(probe_, DefaultRootWindow(probe_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0xFFFFFFFF;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return static_cast<std::uint32_t>(pixel & 0xFFFFFF);
}

std::string X11Test::Geometry(WindowId window) {
    Sync();
    return Shell("xdotool getwindowgeometry --shell " + std::to_string(window) +
                 " | awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ {printf \"%s \", $2}' | sed 's/ $//'");
}

void X11Test::Sync() {
    XSync(backend_->Display(), False);
    XSync(probe_, False);
}

} // namespace emr::testing
