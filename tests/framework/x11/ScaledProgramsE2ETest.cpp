// The program and the workbench at the desktop's scale on a private X server (with
// a window manager for the program): Xft.dpi set with xrdb, and two RandR monitors
// of 96 and 192 dpi made with xrandr. Screenshots go to the build folder's screenshots/.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "DemoProgramTest.h"

namespace emr::testing {
namespace {

namespace fs = std::filesystem;

// The main window's client area and its "确定" button in device-independent pixels.
constexpr int kClientWidth = 382, kClientHeight = 198;
constexpr int kConfirmLeft = 3 + 9, kConfirmTop = 1 + 2, kConfirmRight = kConfirmLeft + 34,
              kConfirmBottom = kConfirmTop + 41;

// Left: 840 pixels at 96 dpi; right: the other 440 at 192 dpi (millimetres as RandR takes them).
constexpr int kBoundary = 840;
constexpr const char* kMonitors =
    "xrandr --setmonitor Left 840/222x1024/271+0+0 screen >/dev/null && "
    "xrandr --setmonitor Right 440/58x1024/135+840+0 none >/dev/null && echo ok";

// A device-pixel edge of a logical one: edges are rounded, not sizes.
int Edge(int logical, double scale) {
    return static_cast<int>(std::lround(logical * scale));
}

class ScaledDesktopTest : public DemoProgramTest {
protected:
    ScaledDesktopTest(std::string program, std::string what)
        : DemoProgramTest(std::move(program), std::move(what)) {}

    void TearDown() override {
        DemoProgramTest::TearDown();
        // The server is shared with the tests that follow in this process.
        X("xrandr --delmonitor Left >/dev/null 2>&1; xrandr --delmonitor Right >/dev/null 2>&1; "
          "xrdb -remove >/dev/null 2>&1");
    }

    void SetXftDpi(int dpi) {
        ASSERT_EQ(X("command -v xrdb >/dev/null && command -v xrandr >/dev/null && echo ok"), "ok")
            << "xrandr and xrdb are missing (x11-xserver-utils, installed by scripts/install-deps)";
        X("echo 'Xft.dpi: " + std::to_string(dpi) + "' | xrdb -nocpp -merge");
    }

    XWindowAttributes Attributes() {
        XWindowAttributes a{};
        XGetWindowAttributes(display_, window_, &a);
        return a;
    }
    std::pair<int, int> ClientOrigin() {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
        return {x, y};
    }
    void Shoot(const std::string& name) {
        const auto [x, y] = ClientOrigin();
        const XWindowAttributes a = Attributes();
        ScreenShot::Take(display_, x, y, std::min(a.width, XServer::kWidth - x),
                         std::min(a.height, XServer::kHeight - y))
            .Save(fs::path(EMR_BUILD_DIR) / "screenshots" / (name + ".png"));
    }
};

class ScaledProgramTest : public ScaledDesktopTest, public ::testing::WithParamInterface<int> {
protected:
    ScaledProgramTest() : ScaledDesktopTest(EMR_PROGRAM_PATH, "program") {}
};

TEST_P(ScaledProgramTest, TheClientAreaGrowsWithXftDpiAndAClickAtTheScaledCentreOfConfirmApplies) {
    const int dpi = GetParam();
    const double scale = dpi / 96.0;
    ASSERT_NO_FATAL_FAILURE(SetXftDpi(dpi));
    ASSERT_NO_FATAL_FAILURE(Start(
        {}, "电子病历补丁", [] { return true; }, 10000));
    const int width = Edge(kClientWidth, scale), height = Edge(kClientHeight, scale);
    ASSERT_TRUE(WaitFor(
        [&] {
            const XWindowAttributes a = Attributes();
            return a.width == width && a.height == height;
        },
        5000))
        << "the client area is " << Attributes().width << " x " << Attributes().height << ", not " << width
        << " x " << height << " at " << dpi << " dpi";
    PauseMs(500); // the first frame follows the map
    Shoot("program-" + std::to_string(dpi) + "dpi");

    const auto [x, y] = ClientOrigin();
    const int cx = (Edge(kConfirmLeft, scale) + Edge(kConfirmRight, scale)) / 2;
    const int cy = (Edge(kConfirmTop, scale) + Edge(kConfirmBottom, scale)) / 2;
    X("xdotool mousemove " + std::to_string(x + cx) + " " + std::to_string(y + cy) + " click 1");
    const fs::path settings = dir_ / "config" / "regional-settings.ini";
    ASSERT_TRUE(WaitFor([&] { return fs::exists(settings); }, 5000)) << "the click applied nothing";
    std::ifstream in(settings);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("sShortDate=yyyy-MM-dd"), std::string::npos) << text.str();
}

INSTANTIATE_TEST_SUITE_P(At144And192Dpi, ScaledProgramTest, ::testing::Values(144, 192));

struct Box {
    int X = 0, Y = 0, W = 0, H = 0;
    bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << b.X << ',' << b.Y << ' ' << b.W << 'x' << b.H;
}

// The panels' and toolbars' places of the workbench's latest report, relative to
// its top panel, so that two reports of the window at different places compare.
std::optional<std::map<std::string, Box>> Places(const std::string& log) {
    std::istringstream lines(log);
    std::map<std::string, Box> block, last;
    bool complete = false;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream in(line);
        std::string kind, name, skip;
        in >> kind >> name;
        Box b;
        if (line == "end") {
            last = std::move(block);
            block.clear();
            complete = true;
        } else if (kind == "panel") {
            in >> b.X >> b.Y >> b.W >> b.H;
            block["panel " + name] = b;
        } else if (kind == "toolbar") {
            in >> skip >> skip >> skip >> skip >> skip >> b.X >> b.Y >> b.W >> b.H;
            block["toolbar " + name] = b;
        }
    }
    if (!complete || !last.count("panel TopDock")) return std::nullopt;
    const Box origin = last["panel TopDock"];
    for (auto& [name, b] : last) {
        b.X -= origin.X;
        b.Y -= origin.Y;
    }
    return last;
}

class ScaledWorkbenchTest : public ScaledDesktopTest {
protected:
    ScaledWorkbenchTest() : ScaledDesktopTest(EMR_WORKBENCH_PATH, "workbench") {}

    // A server of its own without a window manager: at twice the density the
    // workbench is larger than the screen, which a window manager would not allow.
    void SetUp() override {
        ScaledDesktopTest::SetUp();
        if (HasFatalFailure()) return;
        XCloseDisplay(display_);
        own_ = XServer::Private();
        ASSERT_TRUE(own_->Running()) << own_->Error();
        server_ = own_.get();
        display_ = XOpenDisplay(server_->Name().c_str());
        ASSERT_NE(display_, nullptr);
    }
    void TearDown() override {
        ScaledDesktopTest::TearDown();
        own_.reset();
    }

    std::optional<std::map<std::string, Box>>
    Await(const std::function<bool(const std::map<std::string, Box>&)>& done) {
        std::optional<std::map<std::string, Box>> seen;
        WaitFor(
            [&] {
                seen = Places(Log());
                return seen && done(*seen);
            },
            8000);
        return seen;
    }
    void MoveFrameTo(int x, int y) {
        X("xdotool windowmove " + std::to_string(window_) + " " + std::to_string(x) + " " +
          std::to_string(y));
    }
    std::unique_ptr<XServer> own_;
};

TEST_F(ScaledWorkbenchTest, MovedToAMonitorOfTwiceTheDensityItDoublesAndBackAgainEveryRectangleIsAsBefore) {
    ASSERT_NO_FATAL_FAILURE(SetXftDpi(96));
    ASSERT_EQ(X(kMonitors), "ok");
    ASSERT_NO_FATAL_FAILURE(Start(
        {"--report"}, "Workbench", [&] { return Places(Log()).has_value(); }, 10000));
    PauseMs(300);
    const std::optional<std::map<std::string, Box>> start = Places(Log());
    ASSERT_TRUE(start);
    const int width = Attributes().width, height = Attributes().height;
    Shoot("workbench-96dpi");
    const auto [x, y] = ClientOrigin();

    MoveFrameTo(kBoundary + 20, y);
    EXPECT_TRUE(
        WaitFor([&] { return Attributes().width == 2 * width && Attributes().height == 2 * height; }, 8000))
        << "the workbench did not re-scale on the right-hand monitor: " << Attributes().width << " x "
        << Attributes().height << " instead of " << 2 * width << " x " << 2 * height;
    PauseMs(300);
    Shoot("workbench-192dpi");

    MoveFrameTo(x, y);
    EXPECT_TRUE(WaitFor([&] { return Attributes().width == width && Attributes().height == height; }, 8000))
        << "the workbench did not come back to its size";
    const auto back = Await([&](const auto& places) { return places == *start; });
    ASSERT_TRUE(back);
    for (const auto& [name, place] : *start)
        EXPECT_EQ(back->count(name) ? back->at(name) : Box{}, place) << name << " is not where it was";
}

} // namespace
} // namespace emr::testing
