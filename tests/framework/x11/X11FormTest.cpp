#include <gtest/gtest.h>

#include "XServer.h"
#include "framework/controls/CustomControl.h"
#include "framework/forms/Application.h"
#include "framework/forms/Button.h"
#include "framework/forms/Form.h"
#include "framework/platform/x11/X11Backend.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <functional>

using namespace emr;
using namespace emr::testing;

namespace {

// A control that records the pointer moves it is given, in its own coordinates.
class TDragProbe : public TCustomControl {
    EMR_CLASS(TDragProbe)
public:
    using TCustomControl::TCustomControl;
    std::vector<TPoint> Moves;
    bool Released = false;

protected:
    void MouseMove(TShiftState shift, int x, int y) override {
        Moves.push_back({x, y});
        TCustomControl::MouseMove(shift, x, y);
    }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
        Released = true;
        TCustomControl::MouseUp(button, shift, x, y);
    }
};

// The program's main window shape on the X11 backend, with a button and a
// drag probe on it; the application loop is pumped by the test.
class X11FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        XServer& server = XServer::Shared();
        ASSERT_TRUE(server.Running()) << server.Error();
        auto backend = platform::CreateX11Backend(server.Name().c_str());
        ASSERT_NE(backend, nullptr);
        platform::Backend::Install(std::move(backend));
        Shell("xdotool mousemove 1270 1010");
        app_ = new TApplication(nullptr);
        app_->CreateForm(form_);
        form_->SetBorderStyle(bsSingle);
        form_->SetBorderIcons(biSystemMenu);
        form_->SetCaption("电子病历补丁");
        form_->SetBounds(389, 175, 398, 237);
        form_->SetClientWidth(382);
        form_->SetClientHeight(198);
        button_ = new TButton(form_);
        button_->SetParent(form_);
        button_->SetBounds(9, 2, 75, 25);
        button_->SetCaption("确定");
        button_->OnClick = [this](TObject*) { ++clicks_; };
        probe_ = new TDragProbe(form_);
        probe_->SetParent(form_);
        probe_->SetBounds(100, 100, 50, 50);
        form_->Show();
        PumpUntil([] { return false; }, 300);
    }
    void TearDown() override {
        if (app_) TObject::Free(app_);
        platform::Backend::Uninstall();
    }

    // Runs the application's loop until `done` or `ms` milliseconds passed.
    bool PumpUntil(const std::function<bool()>& done, int ms) {
        auto& backend = platform::Backend::Current();
        const std::int64_t deadline = backend.NowMs() + ms;
        // A short timer bounds each wait for a message.
        const TTimerId tick = app_->StartTimer(10, [] {});
        bool ok = false;
        while (!(ok = done()) && backend.NowMs() < deadline && !app_->Terminated())
            app_->HandleMessage();
        app_->StopTimer(tick);
        return ok;
    }

    TPoint Screen(const TControl* c, int x, int y) const { return c->ClientToScreen({x, y}); }
    static std::string Click(TPoint p) {
        return "xdotool mousemove " + std::to_string(p.X) + " " + std::to_string(p.Y) + " click 1";
    }

    TApplication* app_ = nullptr;
    TForm* form_ = nullptr;
    TButton* button_ = nullptr;
    TDragProbe* probe_ = nullptr;
    int clicks_ = 0;
};

} // namespace

TEST_F(X11FormTest, FormAppearsWithTitleClientSizeAndPaintedPixelsAndAClickReachesItsButton) {
    const std::string id = std::to_string(form_->NativeWindow());
    EXPECT_EQ(Shell("xdotool getwindowname " + id), "电子病历补丁");
    // No window manager: the frame is empty and the client area sits at the stored position.
    EXPECT_EQ(Shell("xdotool getwindowgeometry " + id + " | tail -2 | tr -s ' ' | cut -d' ' -f3"),
              "389,175\n382x198");

    // The server shows the form's face colour (clBtnFace: 240, 240, 240).
    Display* dpy = XOpenDisplay(XServer::Shared().Name().c_str());
    ASSERT_NE(dpy, nullptr);
    XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), 389 + 300, 175 + 160, 1, 1, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xFFFFFF, 0xF0F0F0u);
    XDestroyImage(image);
    XCloseDisplay(dpy);

    Shell(Click(Screen(button_, 37, 12)));
    EXPECT_TRUE(PumpUntil([this] { return clicks_ > 0; }, 3000));
    EXPECT_EQ(clicks_, 1);
}

TEST_F(X11FormTest, DragThatLeavesTheFormKeepsReachingTheCapturingControl) {
    const TPoint start = Screen(probe_, 25, 25);
    Shell("xdotool mousemove " + std::to_string(start.X) + " " + std::to_string(start.Y) + " mousedown 1");
    PumpUntil([] { return false; }, 100);
    // Far outside the form, left and above it.
    Shell("xdotool mousemove 50 40");
    ASSERT_TRUE(PumpUntil(
        [&] {
            return !probe_->Moves.empty() &&
                   probe_->Moves.back() == TPoint{50 - start.X + 25, 40 - start.Y + 25};
        },
        3000))
        << "moves outside the form reach the control that captured the mouse";
    Shell("xdotool mouseup 1");
    EXPECT_TRUE(PumpUntil([this] { return probe_->Released; }, 3000));
}

TEST_F(X11FormTest, TimersFireAndDeleteWindowClosesTheMainForm) {
    int ticks = 0;
    const TTimerId timer = app_->StartTimer(25, [&] { ++ticks; });
    PumpUntil([&] { return ticks >= 4; }, 3000);
    app_->StopTimer(timer);
    EXPECT_GE(ticks, 4);

    Display* dpy = XOpenDisplay(XServer::Shared().Name().c_str());
    ASSERT_NE(dpy, nullptr);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = form_->NativeWindow();
    message.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    XSendEvent(dpy, form_->NativeWindow(), False, NoEventMask, &message);
    XCloseDisplay(dpy);
    EXPECT_TRUE(PumpUntil([this] { return app_->Terminated(); }, 3000))
        << "closing the main form ends the application";
}
