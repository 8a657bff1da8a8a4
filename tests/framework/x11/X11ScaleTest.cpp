// The scale discovery on a real X server: RandR monitors made with xrandr, the
// resources set with xrdb, and a settings manager played by the test.

#include <gtest/gtest.h>

#include "framework/platform/x11/X11Backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../forms/ScopedEnvironment.h"
#include "SettingsBlob.h"
#include "XServer.h"

#undef Expose // Xlib's event number; the tests mean the framework's event

namespace emr::testing {
namespace {

using platform::TEvent;
using platform::TEventType;
using platform::TWindowKind;
using platform::TWindowStyle;
using platform::WindowId;

constexpr int kMonitorWidth = XServer::kWidth / 2;
// 640 × 1024 pixels at 96 and at 192 dpi, in the millimetres RandR takes.
constexpr const char* kMonitors = "xrandr --setmonitor Left 640/169x1024/271+0+0 screen >/dev/null && "
                                  "xrandr --setmonitor Right 640/85x1024/135+640+0 none >/dev/null";

class X11Scale : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = XServer::Private();
        ASSERT_TRUE(server_->Running()) << server_->Error();
        ASSERT_EQ(server_->Run("command -v xrandr >/dev/null && command -v xrdb >/dev/null && echo ok"), "ok")
            << "xrandr and xrdb are missing (x11-xserver-utils, installed by scripts/install-deps)";
    }
    void TearDown() override {
        backend_.reset();
        server_.reset();
    }

    void SetXftDpi(int dpi) {
        server_->Run("echo 'Xft.dpi: " + std::to_string(dpi) + "' | xrdb -nocpp -merge");
    }
    void MakeTwoMonitors() { ASSERT_EQ(server_->Run(std::string(kMonitors) + " && echo ok"), "ok"); }

    platform::x11::X11Backend& Open() {
        auto backend = platform::CreateX11Backend(server_->Name().c_str());
        EXPECT_NE(backend, nullptr);
        backend_.reset(static_cast<platform::x11::X11Backend*>(backend.release()));
        return *backend_;
    }

    WindowId Show(const TRect& bounds) {
        TWindowStyle style;
        style.Kind = TWindowKind::Borderless;
        const WindowId id = backend_->CreateWindow(style, bounds, "scale");
        backend_->SetVisible(id, true);
        Await([id](const TEvent& e) { return e.Type == TEventType::Expose && e.Window == id; });
        return id;
    }

    std::optional<TEvent> Await(const std::function<bool(const TEvent&)>& match, int timeoutMs = 3000) {
        const std::int64_t deadline = backend_->NowMs() + timeoutMs;
        while (auto event = backend_->NextEvent(deadline))
            if (match(*event)) return event;
        return std::nullopt;
    }
    bool AwaitScaleChange(WindowId window, int timeoutMs = 3000) {
        return Await(
                   [window](const TEvent& e) {
                       return e.Type == TEventType::ScaleChanged && e.Window == window;
                   },
                   timeoutMs)
            .has_value();
    }

    std::unique_ptr<XServer> server_;
    std::unique_ptr<platform::x11::X11Backend> backend_;
};

// A settings manager on a connection of the test's own: it owns the screen's
// selection and publishes Xft/DPI.
class SettingsManager {
public:
    explicit SettingsManager(const std::string& display) : dpy_(XOpenDisplay(display.c_str())) {
        if (!dpy_) return;
        window_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, 1, 1, 0, 0, 0);
        settings_ = XInternAtom(dpy_, "_XSETTINGS_SETTINGS", False);
    }
    ~SettingsManager() {
        if (dpy_) XCloseDisplay(dpy_);
    }
    bool Open() const { return dpy_ != nullptr; }

    void Publish(int dpi) {
        const std::vector<std::uint8_t> blob =
            SettingsBlob(false).String("Net/ThemeName", "Test").Integer("Xft/DPI", dpi * 1024).Bytes();
        XChangeProperty(dpy_, window_, settings_, settings_, 8, PropModeReplace, blob.data(),
                        static_cast<int>(blob.size()));
        XSync(dpy_, False);
    }
    // Takes the selection and tells the clients, as a manager that starts does.
    void Own() {
        const Window root = DefaultRootWindow(dpy_);
        const Atom selection = XInternAtom(dpy_, "_XSETTINGS_S0", False);
        XSetSelectionOwner(dpy_, selection, window_, CurrentTime);
        XEvent manager{};
        manager.xclient.type = ClientMessage;
        manager.xclient.window = root;
        manager.xclient.message_type = XInternAtom(dpy_, "MANAGER", False);
        manager.xclient.format = 32;
        manager.xclient.data.l[0] = CurrentTime;
        manager.xclient.data.l[1] = static_cast<long>(selection);
        manager.xclient.data.l[2] = static_cast<long>(window_);
        XSendEvent(dpy_, root, False, StructureNotifyMask, &manager);
        XSync(dpy_, False);
    }
    // The manager ends: its window goes with the selection.
    void Quit() {
        XDestroyWindow(dpy_, window_);
        XSync(dpy_, False);
    }

private:
    Display* dpy_ = nullptr;
    Window window_ = 0;
    Atom settings_ = 0;
};

TEST_F(X11Scale, TwoMonitorsOf96And192DpiAndXftDpiGiveEachMonitorItsScale) {
    MakeTwoMonitors();
    SetXftDpi(96);
    auto& backend = Open();
    ASSERT_EQ(backend.Monitors().size(), 2u);
    EXPECT_EQ(backend.Monitors()[1], TRect::FromBounds(kMonitorWidth, 0, kMonitorWidth, XServer::kHeight));
    EXPECT_EQ(backend.MonitorScales(), (std::vector<double>{1.0, 2.0}));

    // The 96-dpi monitor's size says nothing the server could not have made up:
    // it follows the desktop's setting; the measured one keeps its own.
    SetXftDpi(144);
    EXPECT_EQ(backend.MonitorScales(), (std::vector<double>{1.5, 2.0}));

    server_->Run("xrandr --delmonitor Left; xrandr --delmonitor Right");
    EXPECT_EQ(backend.MonitorScales(), std::vector<double>(backend.Monitors().size(), 1.5))
        << "Xvfb's own monitor reports a size worked back from 96 dpi";
}

TEST_F(X11Scale, TheEnvironmentOverrideBeatsEverythingElse) {
    MakeTwoMonitors();
    SetXftDpi(144);
    TScopedEnvironment forced("EMR_SCALE", "1.75");
    auto& backend = Open();
    EXPECT_EQ(backend.MonitorScales(), (std::vector<double>{1.75, 1.75}));
    const WindowId window = Show(TRect::FromBounds(700, 100, 200, 100));
    EXPECT_EQ(backend.WindowScale(window), 1.75);
}

TEST_F(X11Scale, AWindowIsToldWhenXftDpiChangesAndWhenItMovesToAMonitorOfAnotherScale) {
    MakeTwoMonitors();
    SetXftDpi(96);
    auto& backend = Open();
    const WindowId window = Show(TRect::FromBounds(100, 100, 200, 100));
    EXPECT_EQ(backend.WindowScale(window), 1.0);

    SetXftDpi(144);
    const std::optional<TEvent> change =
        Await([window](const TEvent& e) { return e.Type == TEventType::ScaleChanged && e.Window == window; });
    ASSERT_TRUE(change) << "no ScaleChanged after xrdb";
    EXPECT_EQ(backend.WindowScale(window), 1.5);
    EXPECT_EQ(change->Rect, TRect::FromBounds(100, 100, 300, 150))
        << "the suggested bounds keep the top-left and the size in device-independent pixels";

    // Moved by the program: mostly onto the right-hand monitor.
    backend.SetBounds(window, TRect::FromBounds(kMonitorWidth - 50, 100, 200, 100));
    ASSERT_TRUE(AwaitScaleChange(window)) << "no ScaleChanged after moving right";
    EXPECT_EQ(backend.WindowScale(window), 2.0);

    // Moved by someone else: the ConfigureNotify tells.
    server_->Run("xdotool windowmove " + std::to_string(window) + " 40 300");
    ASSERT_TRUE(AwaitScaleChange(window)) << "no ScaleChanged after moving left";
    EXPECT_EQ(backend.WindowScale(window), 1.5);

    // A change that leaves the window's scale as it is says nothing.
    SetXftDpi(150);
    EXPECT_FALSE(AwaitScaleChange(window, 500)) << "150 dpi snaps to 1.5 as 144 does";
}

TEST_F(X11Scale, MonitorsMadeAtRunTimeRescaleTheWindowsOnThem) {
    SetXftDpi(96);
    auto& backend = Open();
    const WindowId window = Show(TRect::FromBounds(kMonitorWidth + 100, 100, 200, 100));
    EXPECT_EQ(backend.WindowScale(window), 1.0);
    MakeTwoMonitors();
    ASSERT_TRUE(AwaitScaleChange(window)) << "no ScaleChanged after the monitors changed";
    EXPECT_EQ(backend.WindowScale(window), 2.0);
}

TEST_F(X11Scale, TheSettingsManagerIsReadBeforeAnyWindowExists) {
    SetXftDpi(96);
    SettingsManager manager(server_->Name());
    ASSERT_TRUE(manager.Open());
    manager.Publish(144);
    manager.Own();
    auto& backend = Open();
    EXPECT_EQ(backend.MonitorScales(), std::vector<double>(backend.Monitors().size(), 1.5));
}

TEST_F(X11Scale, TheSettingsManagerComesBeforeTheResourcesAndIsFollowedAtRunTime) {
    SetXftDpi(96);
    auto& backend = Open();
    const WindowId window = Show(TRect::FromBounds(100, 100, 200, 100));
    EXPECT_EQ(backend.WindowScale(window), 1.0);

    SettingsManager manager(server_->Name());
    ASSERT_TRUE(manager.Open());
    manager.Publish(144);
    manager.Own();
    ASSERT_TRUE(AwaitScaleChange(window)) << "a manager that starts is not heard";
    EXPECT_EQ(backend.WindowScale(window), 1.5);

    manager.Publish(192);
    ASSERT_TRUE(AwaitScaleChange(window)) << "a setting that changes is not heard";
    EXPECT_EQ(backend.WindowScale(window), 2.0);

    manager.Quit();
    ASSERT_TRUE(AwaitScaleChange(window)) << "a manager that ends is not heard";
    EXPECT_EQ(backend.WindowScale(window), 1.0) << "back to Xft.dpi";
    EXPECT_EQ(backend.ErrorCount(), 0u);
}

} // namespace
} // namespace emr::testing
