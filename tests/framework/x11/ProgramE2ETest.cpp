// The real program on a private X server with a window manager: its window,
// what the server shows of its command bar, and both buttons driven by xdotool.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ChildProgram.h"
#include "XServer.h"

namespace emr::testing {
namespace {

namespace fs = std::filesystem;

const char* const kTitle = "电子病历补丁";
const char* const kBoxTitle = "提示";

// Client-area positions of the command bar.
constexpr int kToolBarLeft = 3, kToolBarTop = 1;
constexpr int kButtonTop = 2, kButtonWidth = 34, kButtonHeight = 41;
constexpr int kConfirmLeft = 9, kExitLeft = 43;
// On the floating command bar (toolbar coordinates): the middle of the caption's
// cross and of "确定", which moves left by the grip it no longer has.
constexpr int kFloatingCrossX = 63, kFloatingCrossY = 9, kFloatingConfirmX = 19;
// The middle of the first item of a context menu, below the point it opened at.
constexpr int kFirstMenuItemY = 11;

// The button-shadow system colour the dots grip uses.
constexpr std::uint32_t kBtnShadow = 0xA0A0A0;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kNavy = 0x000080;
constexpr std::uint32_t kBtnFace = 0xF0F0F0;

// A stored colour (0x00BBGGRR) as the server shows it (0x00RRGGBB).
constexpr std::uint32_t Rgb(std::uint32_t bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

int Channel(std::uint32_t bgr, int shift) {
    return static_cast<int>((bgr >> shift) & 0xFF);
}

// The colour at `pos` of a gradient of `steps` bands painted along `length`
// pixels: band i starts at round(i * (length - 1) / steps), is round((length - 1)
// / steps) + 1 pixels long, covers the bands before it, and each channel is
// from + round(i * (to - from) / steps), rounding halves to even.
std::uint32_t BandColor(std::uint32_t fromBgr, std::uint32_t toBgr, int steps, int length, int pos) {
    const double band = static_cast<double>(length - 1) / steps;
    const long size = std::lrint(band);
    int chosen = -1;
    for (int i = 0; i < steps; ++i) {
        const long start = static_cast<std::uint16_t>(std::lrint(i * band));
        if (pos >= start && pos < start + size + 1) chosen = i;
    }
    if (chosen < 0) return 0xFFFFFFFF;
    std::uint32_t rgb = 0;
    for (int shift : {0, 8, 16}) {
        const int from = Channel(fromBgr, shift);
        const double delta = static_cast<double>(Channel(toBgr, shift) - from) / steps;
        const auto value = static_cast<std::uint32_t>(from + std::lrint(chosen * delta));
        rgb |= value << (16 - shift); // red ends up highest
    }
    return rgb;
}

std::string Hex(std::uint32_t rgb) {
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase << rgb;
    return out.str();
}

// A rectangle of the root window as the server holds it.
struct Shot {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Pixels; // 0x00RRGGBB

    std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
    bool operator==(const Shot&) const = default;

    int Count(int left, int top, int right, int bottom,
              const std::function<bool(std::uint32_t)>& match) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += match(At(x, y)) ? 1 : 0;
        return n;
    }

    // Writes a PNG (through ImageMagick) or, without it, the PPM it converts from.
    void Save(const fs::path& png) const {
        std::error_code error;
        fs::create_directories(png.parent_path(), error);
        fs::path ppm = png;
        ppm.replace_extension(".ppm");
        {
            std::ofstream out(ppm, std::ios::binary);
            out << "P6\n" << Width << ' ' << Height << "\n255\n";
            for (std::uint32_t p : Pixels) {
                const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8),
                                     static_cast<char>(p)};
                out.write(rgb, 3);
            }
        }
        if (Shell("convert '" + ppm.string() + "' '" + png.string() + "' 2>/dev/null && echo ok") == "ok")
            fs::remove(ppm, error);
    }
};

class ProgramTest : public ::testing::Test {
protected:
    // The server the program runs on: one with a window manager unless a test says otherwise.
    virtual XServer& ChooseServer() { return XServer::WithWindowManager(); }

    void SetUp() override {
        server_ = &ChooseServer();
        ASSERT_TRUE(server_->Running()) << server_->Error();
        display_ = XOpenDisplay(server_->Name().c_str());
        ASSERT_NE(display_, nullptr);
        std::string pattern = (fs::temp_directory_path() / "emr-program-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "config");
        X("xdotool mousemove 1270 1010");
    }

    void TearDown() override {
        program_.reset();
        if (display_) XCloseDisplay(display_);
        if (HasFailure() && fs::exists(dir_ / "program.log"))
            std::cerr << "program output:\n"
                      << Shell("cat '" + (dir_ / "program.log").string() + "'") << '\n';
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string X(const std::string& command) { return server_->Run(command); }

    // Ids of the windows whose whole title is `title`.
    std::vector<unsigned long> Windows(const std::string& title) {
        std::istringstream lines(X("xdotool search --name '^" + title + "$' 2>/dev/null"));
        std::vector<unsigned long> ids;
        for (std::string line; std::getline(lines, line);)
            if (!line.empty()) ids.push_back(std::stoul(line));
        return ids;
    }

    bool Viewable(unsigned long window) {
        XWindowAttributes a{};
        return XGetWindowAttributes(display_, window, &a) && a.map_state == IsViewable;
    }

    // Starts the program and waits for its window to be mapped and painted.
    void Launch() {
        program_ = std::make_unique<ChildProgram>(EMR_PROGRAM_PATH, std::vector<std::string>{},
                                                  server_->Name(), dir_ / "config", dir_ / "program.log");
        ASSERT_TRUE(program_->Started());
        const bool shown = WaitFor(
            [&] {
                for (unsigned long id : Windows(kTitle))
                    if (Viewable(id)) window_ = id;
                return window_ != 0 || !program_->Running();
            },
            8000);
        ASSERT_TRUE(shown && window_ != 0) << "no window titled " << kTitle << " was shown";
        // The window manager may still move the frame once it is mapped: settle on a stable place too.
        for (int attempt = 0; attempt < 3; ++attempt) {
            FindOrigin();
            const int x = originX_, y = originY_;
            ASSERT_TRUE(Settled()) << "the window's picture never settled";
            FindOrigin();
            if (x == originX_ && y == originY_) return;
        }
        FAIL() << "the window kept moving";
    }

    Shot Capture(int left, int top, int width, int height) {
        ScreenShot taken = ScreenShot::Take(display_, left, top, width, height);
        return Shot{taken.Width, taken.Height, std::move(taken.Pixels)};
    }

    // The client area as the server shows it.
    Shot Client() { return Capture(originX_, originY_, 382, 198); }

    // Waits until the picture shows more than one colour and has stayed the same
    // for `quietMs`, so that a late repaint on a loaded machine is not mistaken for the end.
    bool Settled(int timeoutMs = 5000, int quietMs = 200) {
        Shot last;
        auto since = std::chrono::steady_clock::now();
        return WaitFor(
            [&] {
                Shot now = Client();
                const auto time = std::chrono::steady_clock::now();
                const bool painted =
                    !now.Pixels.empty() && now.Count(0, 0, now.Width, now.Height,
                                                     [&](std::uint32_t p) { return p != now.Pixels[0]; }) > 0;
                if (!painted || !(now == last)) {
                    last = std::move(now);
                    since = time;
                    return false;
                }
                return time - since >= std::chrono::milliseconds(quietMs);
            },
            timeoutMs);
    }

    // The frame's left, right, top and bottom widths as the window manager gives them.
    std::vector<long> FrameExtents() {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<long> extents;
        XGetWindowProperty(display_, window_, XInternAtom(display_, "_NET_FRAME_EXTENTS", False), 0, 4, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data);
        if (data && format == 32 && count == 4)
            extents.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + 4);
        if (data) XFree(data);
        return extents;
    }

    // The client origin on the screen.
    void FindOrigin() {
        Window child = 0;
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &originX_, &originY_,
                              &child);
    }

    // Waits until the client pixel at (x, y) leaves `before`, then until the picture settles.
    bool Changed(int x, int y, std::uint32_t before) {
        return WaitFor([&] { return Client().At(x, y) != before; }, 3000) && Settled();
    }

    // Moves the pointer to a client position; `then` is an xdotool command run after it.
    void PointAt(int x, int y, const std::string& then = "") {
        X("xdotool mousemove " + std::to_string(originX_ + x) + " " + std::to_string(originY_ + y) + " " +
          then);
    }

    fs::path SettingsFile() const { return dir_ / "config" / "regional-settings.ini"; }
    fs::path ShotPath(const std::string& name) const {
        return fs::path(EMR_BUILD_DIR) / "screenshots" / (name + ".png");
    }

    XServer* server_ = nullptr;
    Display* display_ = nullptr;
    fs::path dir_;
    std::unique_ptr<ChildProgram> program_;
    unsigned long window_ = 0;
    int originX_ = 0, originY_ = 0;
};

// A client pixel of the toolbar, from toolbar coordinates.
std::uint32_t Bar(const Shot& shot, int x, int y) {
    return shot.At(kToolBarLeft + x, kToolBarTop + y);
}

// The toolbar's background at toolbar row y: vertical, 64 bands over a rectangle
// one row taller than the bar's 45.
std::uint32_t BarBackground(int y) {
    return BandColor(0xFDEADA, 0xE4AE88, 64, 46, y);
}

bool Dark(std::uint32_t p) {
    return ((p >> 16) & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100 && (p & 0xFF) < 100;
}

// Compares the pixels of a run [from, to) with the colours the rules give; one
// failure names how many differ and the first of them.
void ExpectRun(const std::string& what, int from, int to, const std::function<std::uint32_t(int)>& actual,
               const std::function<std::uint32_t(int)>& expected) {
    int wrong = 0;
    std::string first;
    for (int i = from; i < to; ++i) {
        if (actual(i) == expected(i)) continue;
        if (wrong++ == 0)
            first = "at " + std::to_string(i) + ": " + Hex(actual(i)) + " instead of " + Hex(expected(i));
    }
    EXPECT_EQ(wrong, 0) << what << ": " << wrong << " of " << (to - from) << " pixels differ, first "
                        << first;
}

// Face checks of the "确定" button: its navy frame and the vertical 40-band face.
void ExpectFace(const Shot& shot, std::uint32_t fromBgr, std::uint32_t toBgr, const char* state) {
    SCOPED_TRACE(state);
    const int left = kConfirmLeft, top = kButtonTop;
    EXPECT_EQ(Hex(Bar(shot, left, top + 20)), Hex(kNavy)) << "left frame";
    EXPECT_EQ(Hex(Bar(shot, left + kButtonWidth - 1, top + 20)), Hex(kNavy)) << "right frame";
    EXPECT_EQ(Hex(Bar(shot, left + 17, top)), Hex(kNavy)) << "top frame";
    for (int y : {2, 8, 17, 26, 35, 39})
        for (int x : {2, 31})
            EXPECT_EQ(Hex(Bar(shot, left + x, top + y)), Hex(BandColor(fromBgr, toBgr, 40, kButtonHeight, y)))
                << "face at (" << x << ", " << y << ")";
}

TEST_F(ProgramTest, ShowsTheCommandBarInItsStoredColoursAndPaintsHotAndDownFaces) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(display_, window_, &a));
    EXPECT_EQ(a.width, 382);
    EXPECT_EQ(a.height, 198);
    // The stored outer position is where the frame's top-left corner goes.
    const std::vector<long> frame = FrameExtents();
    ASSERT_EQ(frame.size(), 4u) << "the window manager gave no frame extents";
    EXPECT_EQ(originX_ - frame[0], 389);
    EXPECT_EQ(originY_ - frame[2], 175);

    const Shot shot = Client();
    shot.Save(ShotPath("program-normal"));

    // The dock panel: horizontal, 128 bands across its 382 columns, above, below and right of the toolbar.
    auto dock = [](int x) { return BandColor(0xF5BFA0, 0xFADAC4, 128, 382, x); };
    for (int y : {0, 46})
        ExpectRun(
            "dock row " + std::to_string(y), 0, 382, [&](int x) { return shot.At(x, y); }, dock);
    ExpectRun(
        "dock right of the toolbar", 94, 382, [&](int x) { return shot.At(x, 20); }, dock);
    EXPECT_EQ(Hex(shot.At(200, 100)), Hex(kBtnFace)) << "Panel1 below the dock";

    // The toolbar's background where nothing covers it: left of the first button and,
    // with no button hot, behind the buttons.
    ExpectRun(
        "toolbar column 1 inside the rounded corners", 3, 42, [&](int y) { return Bar(shot, 1, y); },
        BarBackground);
    for (int x : {7, 8, 11, 40, 45, 74})
        ExpectRun(
            "toolbar column " + std::to_string(x), 1, 44, [&](int y) { return Bar(shot, x, y); },
            BarBackground);

    // The rounded border on the left, top and bottom edges.
    for (auto [x, y] : {std::pair{0, 10}, {0, 30}, {20, 0}, {60, 0}, {20, 44}, {60, 44}})
        EXPECT_EQ(Hex(Bar(shot, x, y)), Hex(Rgb(0xE0C7AD))) << "border at (" << x << ", " << y << ")";

    // The dots grip: nine dots, each a shadow square with a white one offset below right.
    for (int k = 0; k < 9; ++k) {
        const int y = 5 + 4 * k;
        EXPECT_EQ(Hex(Bar(shot, 4, y)), Hex(kBtnShadow)) << "dot " << k;
        EXPECT_EQ(Hex(Bar(shot, 6, y + 2)), Hex(kWhite)) << "dot " << k;
        EXPECT_EQ(Hex(Bar(shot, 4, y + 3)), Hex(BarBackground(y + 3))) << "between dots " << k;
    }
    EXPECT_EQ(Hex(Bar(shot, 4, 41)), Hex(BarBackground(41))) << "no tenth dot";

    // The right handle: vertical, 16 bands over its 46 rows, from column 80.
    auto handle = [](int y) { return BandColor(0xF1A675, 0x913500, 16, 46, y); };
    ExpectRun(
        "right handle column 82", 1, 44, [&](int y) { return Bar(shot, 82, y); }, handle);
    ExpectRun(
        "right handle column 86", 1, 30, [&](int y) { return Bar(shot, 86, y); }, handle);

    // Glyphs (the tick's green, the arrow's cyan) and dark caption text in each button.
    auto inButton = [&](int left, int top, int bottom, const std::function<bool(std::uint32_t)>& match) {
        return shot.Count(kToolBarLeft + left + 1, kToolBarTop + kButtonTop + top, kToolBarLeft + left + 33,
                          kToolBarTop + kButtonTop + bottom, match);
    };
    EXPECT_GE(inButton(kConfirmLeft, 0, 22, [](std::uint32_t p) { return p == 0x008000; }), 10)
        << "green tick";
    EXPECT_GE(inButton(kExitLeft, 0, 22, [](std::uint32_t p) { return p == 0x00FFFF; }), 5) << "cyan arrow";
    EXPECT_EQ(inButton(kExitLeft, 0, 41, [](std::uint32_t p) { return p == 0x008000; }), 0)
        << "no tick on 退出";
    EXPECT_GE(inButton(kConfirmLeft, 24, 41, Dark), 15) << "caption 确定";
    EXPECT_GE(inButton(kExitLeft, 24, 41, Dark), 15) << "caption 退出";

    // Pointing at "确定" paints the hot face; pressing it the down face.
    const int cx = kToolBarLeft + kConfirmLeft + 17, cy = kToolBarTop + kButtonTop + 20;
    const int faceX = kToolBarLeft + kConfirmLeft + 2, faceY = kToolBarTop + kButtonTop + 8;
    PointAt(cx, cy);
    ASSERT_TRUE(Changed(faceX, faceY, shot.At(faceX, faceY))) << "pointing at 确定 changed nothing";
    const Shot hot = Client();
    hot.Save(ShotPath("program-hot"));
    ExpectFace(hot, 0xCCF4FF, 0x91D0FF, "hot");

    X("xdotool mousedown 1");
    ASSERT_TRUE(Changed(faceX, faceY, hot.At(faceX, faceY))) << "pressing 确定 changed nothing";
    const Shot down = Client();
    down.Save(ShotPath("program-down"));
    ExpectFace(down, 0x4E91FE, 0x91D3FF, "down");

    // Leaving before the release is no click: the face goes back and nothing is written.
    X("xdotool mousemove 1270 1010 mouseup 1");
    EXPECT_TRUE(WaitFor([&] { return Client().At(faceX, faceY) == shot.At(faceX, faceY); }, 3000))
        << "the face stayed painted after the pointer left";
    EXPECT_FALSE(WaitFor([&] { return !Windows(kBoxTitle).empty(); }, 500)) << "a release elsewhere clicked";
    EXPECT_FALSE(fs::exists(SettingsFile()));
    EXPECT_TRUE(program_->Running());
}

TEST_F(ProgramTest, ConfirmWritesTheFiveSettingsThenEnterClosesTheBoxAndTheProgramEndsWithZero) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_FALSE(fs::exists(SettingsFile())) << "written before any click";

    PointAt(kToolBarLeft + kConfirmLeft + 17, kToolBarTop + kButtonTop + 20, "click 1");
    unsigned long box = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (unsigned long id : Windows(kBoxTitle))
                if (Viewable(id)) box = id;
            return box != 0;
        },
        5000))
        << "no box titled " << kBoxTitle;
    EXPECT_EQ(X("xdotool getwindowname " + std::to_string(box)), kBoxTitle);

    std::ifstream in(SettingsFile());
    ASSERT_TRUE(in) << "no " << SettingsFile();
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    for (const char* expected : {"sShortDate=yyyy-MM-dd", "sLongDate=yyyy'年'M'月 'd'日'",
                                 "sTimeFormat=HH:mm:ss", "s1159=", "s2359="})
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected << " missing";

    // The box's message is drawn as dark text to the right of its icon.
    XWindowAttributes a{};
    ASSERT_TRUE(XGetWindowAttributes(display_, box, &a));
    int bx = 0, by = 0;
    Window child = 0;
    XTranslateCoordinates(display_, box, DefaultRootWindow(display_), 0, 0, &bx, &by, &child);
    const Shot boxShot = Capture(bx, by, a.width, a.height);
    boxShot.Save(ShotPath("program-box"));
    EXPECT_GE(boxShot.Count(a.width / 3, 0, a.width, a.height / 2, Dark), 30) << "no message text";

    // Enter goes to the focused box.
    if (!WaitFor([&] { return X("xdotool getactivewindow") == std::to_string(box); }, 2000))
        X("xdotool windowactivate --sync " + std::to_string(box));
    X("xdotool key Return");
    const std::optional<int> status = program_->WaitExit(5000);
    ASSERT_TRUE(status.has_value()) << "still running after Enter";
    EXPECT_EQ(*status, 0);
}

TEST_F(ProgramTest, TabThenReturnAppliesThePatchAndReturnClosesTheBox) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    X("xdotool windowactivate --sync " + std::to_string(window_) + " 2>/dev/null");
    X("xdotool key Tab Return");
    unsigned long box = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (unsigned long id : Windows(kBoxTitle))
                if (Viewable(id)) box = id;
            return box != 0;
        },
        5000))
        << "Tab then Return showed no box";
    std::ifstream in(SettingsFile());
    ASSERT_TRUE(in) << "no " << SettingsFile();
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("sShortDate=yyyy-MM-dd"), std::string::npos) << text;
    EXPECT_NE(text.find("sTimeFormat=HH:mm:ss"), std::string::npos) << text;

    if (!WaitFor([&] { return X("xdotool getactivewindow") == std::to_string(box); }, 2000))
        X("xdotool windowactivate --sync " + std::to_string(box));
    X("xdotool key Return");
    const std::optional<int> status = program_->WaitExit(5000);
    ASSERT_TRUE(status.has_value()) << "still running after Return on the box";
    EXPECT_EQ(*status, 0);
}

TEST_F(ProgramTest, TabRightReturnQuitsWithoutABoxOrAWrite) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    X("xdotool windowactivate --sync " + std::to_string(window_) + " 2>/dev/null");
    X("xdotool key Tab Right Return");
    bool boxSeen = false;
    const bool ended = WaitFor(
        [&] {
            boxSeen = boxSeen || !Windows(kBoxTitle).empty();
            return !program_->Running();
        },
        5000);
    ASSERT_TRUE(ended) << "still running after Tab, Right, Return";
    EXPECT_EQ(program_->WaitExit(0), 0);
    EXPECT_FALSE(boxSeen);
    EXPECT_TRUE(fs::is_empty(dir_ / "config")) << "something was written";
}

TEST_F(ProgramTest, TheToolBarIsDraggedOffItsPanelIntoAFloatingWindowAndBack) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    const Shot before = Client();
    // From the grip down and to the right: beyond 26 pixels below the 47-high
    // panel it tears off into a window of its own that then follows the pointer.
    const int gripX = kToolBarLeft + 3, gripY = kToolBarTop + 20;
    const int dropX = 150, dropY = 120;
    PointAt(gripX, gripY, "mousedown 1");
    const std::vector<std::pair<int, int>> away = {{10, 40}, {40, 60}, {80, 80}, {120, 100}, {dropX, dropY}};
    for (auto [x, y] : away) {
        PointAt(x, y);
        PauseMs(30);
    }
    X("xdotool mouseup 1");
    ASSERT_TRUE(Changed(kToolBarLeft + kConfirmLeft + 2, kToolBarTop + 10,
                        before.At(kToolBarLeft + kConfirmLeft + 2, kToolBarTop + 10)))
        << "the toolbar stayed on its panel";
    const Shot torn = Client();
    torn.Save(ShotPath("program-floating"));
    // The panel is empty now. The window follows the pointer with the grab point
    // (3, 20) under it, less its frame, so the toolbar's top left is at
    // (dropX, dropY - 17) and its buttons start below the 16-pixel caption bar.
    EXPECT_EQ(torn.Count(kToolBarLeft + kConfirmLeft, kToolBarTop + kButtonTop,
                         kToolBarLeft + kExitLeft + kButtonWidth, kToolBarTop + kButtonTop + kButtonHeight,
                         Dark),
              0)
        << "captions left behind on the panel";
    const int barX = dropX, barY = dropY - 17;
    EXPECT_GE(torn.Count(barX, barY + 16, barX + 91, barY + 61, Dark), 15)
        << "no button captions in the floating window";

    // Its caption bar, dragged back over the panel, docks it where it was.
    PointAt(barX + 10, barY + 8, "mousedown 1");
    const std::vector<std::pair<int, int>> back = {{120, 80}, {80, 60}, {40, 40}, {20, 10}};
    for (auto [x, y] : back) {
        PointAt(x, y);
        PauseMs(30);
    }
    X("xdotool mouseup 1 mousemove 1270 1010");
    EXPECT_TRUE(WaitFor([&] { return Client() == before; }, 3000)) << "the docked toolbar looks different";
    if (!(Client() == before)) Client().Save(ShotPath("program-docked-again"));
    EXPECT_TRUE(program_->Running());
}

TEST_F(ProgramTest, AFloatingCommandBarClosedByItsCrossComesBackThroughTheContextMenuAndStillApplies) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    const Shot docked = Client();
    // Torn off by its grip, as in the test above.
    const int dropX = 150, dropY = 120;
    PointAt(kToolBarLeft + 3, kToolBarTop + 20, "mousedown 1");
    for (auto [x, y] :
         std::vector<std::pair<int, int>>{{10, 40}, {40, 60}, {80, 80}, {120, 100}, {dropX, dropY}}) {
        PointAt(x, y);
        PauseMs(30);
    }
    X("xdotool mouseup 1");
    const int barX = dropX, barY = dropY - 17;
    ASSERT_TRUE(Changed(kToolBarLeft + kConfirmLeft + 2, kToolBarTop + 10,
                        docked.At(kToolBarLeft + kConfirmLeft + 2, kToolBarTop + 10)))
        << "the toolbar stayed on its panel";
    const Shot floating = Client();
    floating.Save(ShotPath("program-ctxmenu-floating"));
    auto captions = [&](const Shot& shot) { return shot.Count(barX, barY + 16, barX + 91, barY + 61, Dark); };
    ASSERT_GE(captions(floating), 15) << "no button captions in the floating window";

    // The cross at the right end of its 16-pixel caption bar closes it: nothing is left to click.
    PointAt(barX + kFloatingCrossX, barY + kFloatingCrossY, "click 1");
    ASSERT_TRUE(WaitFor([&] { return captions(Client()) == 0; }, 3000)) << "the cross did not close it";
    Settled();
    Client().Save(ShotPath("program-ctxmenu-closed"));

    // A right click on the empty panel (shrunk to its minimum of 3 pixels) lists
    // the toolbar, unchecked; choosing it brings it back.
    const int menuX = 200, menuY = 1;
    PointAt(menuX, menuY, "click 3");
    const auto menuText = [&] {
        return Capture(originX_ + menuX, originY_ + menuY, 120, 24).Count(0, 0, 120, 24, Dark);
    };
    ASSERT_TRUE(WaitFor([&] { return menuText() >= 10; }, 3000)) << "no menu at the right click";
    PauseMs(100);
    Capture(originX_, originY_, 382, 198).Save(ShotPath("program-ctxmenu"));
    PointAt(menuX + 30, menuY + kFirstMenuItemY, "click 1");
    ASSERT_TRUE(WaitFor([&] { return captions(Client()) >= 15; }, 3000)) << "the toolbar did not come back";
    ASSERT_TRUE(Settled());
    Client().Save(ShotPath("program-ctxmenu-back"));

    // "确定" on the toolbar brought back applies the patch.
    ASSERT_FALSE(fs::exists(SettingsFile()));
    PointAt(barX + kFloatingConfirmX, barY + 16 + kButtonTop + 20, "click 1");
    ASSERT_TRUE(WaitFor([&] { return !Windows(kBoxTitle).empty(); }, 5000)) << "no box titled " << kBoxTitle;
    std::ifstream in(SettingsFile());
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("sShortDate=yyyy-MM-dd"), std::string::npos) << text;
    EXPECT_NE(text.find("sTimeFormat=HH:mm:ss"), std::string::npos) << text;
}

TEST_F(ProgramTest, ExitEndsWithZeroWithoutABoxOrAWrite) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    PointAt(kToolBarLeft + kExitLeft + 17, kToolBarTop + kButtonTop + 20, "click 1");
    bool boxSeen = false;
    const bool ended = WaitFor(
        [&] {
            boxSeen = boxSeen || !Windows(kBoxTitle).empty();
            return !program_->Running();
        },
        5000);
    ASSERT_TRUE(ended) << "still running after 退出";
    EXPECT_EQ(program_->WaitExit(0), 0);
    EXPECT_FALSE(boxSeen);
    EXPECT_TRUE(fs::is_empty(dir_ / "config")) << "something was written";
}

// The main window's toolbar fits whole, offers no add-or-remove item and has no
// option menu: its option indicator has nothing to open.
TEST_F(ProgramTest, TheOptionIndicatorOpensNothingWhileEveryButtonFitsAndExitStillEndsWithZero) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    auto popups = [&] {
        XSync(display_, False);
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        int shown = 0;
        XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes a{};
            if (XGetWindowAttributes(display_, children[i], &a) && a.override_redirect &&
                a.map_state == IsViewable)
                ++shown;
        }
        if (children) XFree(children);
        return shown;
    };
    const int before = popups();
    const Shot shot = Client();

    // The right handle spans toolbar columns 77 to 90; its indicator sits low in it.
    PointAt(kToolBarLeft + 84, kToolBarTop + 36, "click 1");
    EXPECT_FALSE(WaitFor([&] { return popups() != before; }, 1000)) << "a pop-up appeared";
    EXPECT_TRUE(program_->Running());
    X("xdotool mousemove 1270 1010");
    EXPECT_TRUE(WaitFor([&] { return Client() == shot; }, 3000))
        << "the window does not look as before once the pointer has left";

    PointAt(kToolBarLeft + kExitLeft + 17, kToolBarTop + kButtonTop + 20, "click 1");
    const std::optional<int> status = program_->WaitExit(5000);
    ASSERT_TRUE(status.has_value()) << "still running after 退出";
    EXPECT_EQ(*status, 0);
}

// Without a window manager nobody hands the focus over: the box takes it itself.
class ProgramWithoutWindowManagerTest : public ProgramTest {
protected:
    XServer& ChooseServer() override { return XServer::Shared(); }
};

TEST_F(ProgramWithoutWindowManagerTest, TheBoxTakesTheKeyboardFocusSoEnterClosesItWhereverThePointerIs) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    PointAt(kToolBarLeft + kConfirmLeft + 17, kToolBarTop + kButtonTop + 20, "click 1");
    unsigned long box = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (unsigned long id : Windows(kBoxTitle))
                if (Viewable(id)) box = id;
            return box != 0;
        },
        5000));
    EXPECT_TRUE(WaitFor([&] { return X("xdotool getwindowfocus") == std::to_string(box); }, 3000))
        << "the box never took the focus";
    // The pointer rests far from the box; the key goes to the focused window.
    X("xdotool mousemove 1270 1010");
    X("xdotool key Return");
    const std::optional<int> status = program_->WaitExit(5000);
    ASSERT_TRUE(status.has_value()) << "Enter did not reach the box";
    EXPECT_EQ(*status, 0);
}

// A server of the test's own, so that it can go away under the program.
class ProgramLosingItsDisplayTest : public ProgramTest {
protected:
    XServer& ChooseServer() override {
        if (!private_) private_ = XServer::Private();
        return *private_;
    }
    void TearDown() override {
        ProgramTest::TearDown();
        private_.reset();
    }
    std::unique_ptr<XServer> private_;
};

TEST_F(ProgramLosingItsDisplayTest, EndsWithStatusOneAndOneLineNamingTheDisplay) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    // The test's own connection goes first: losing it would end the test program.
    XCloseDisplay(display_);
    display_ = nullptr;
    private_->Stop();
    const std::optional<int> status = program_->WaitExit(5000);
    ASSERT_TRUE(status.has_value()) << "still running without its display";
    EXPECT_EQ(*status, 1);
    const std::string log = Shell("cat '" + (dir_ / "program.log").string() + "'");
    EXPECT_NE(log.find("lost the connection to the X display \"" + private_->Name() + "\""),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("Sanitizer"), std::string::npos) << log;
    EXPECT_FALSE(fs::exists(SettingsFile()));
}

// The program used to share one fixed WM_CLASS with every program on the
// toolkit and had no icon of its own.
TEST_F(ProgramTest, TheWindowNamesTheProgramByWmClassAndCarriesItsIconInThreeSizes) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_EQ(X("xprop -id " + std::to_string(window_) + " WM_CLASS"),
              "WM_CLASS(STRING) = \"emrpatch\", \"EmrPatch\"");

    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_, window_, XInternAtom(display_, "_NET_WM_ICON", False), 0, 1 << 16, False,
                       XA_CARDINAL, &type, &format, &count, &after, &data);
    std::vector<long> icon;
    if (data && format == 32)
        icon.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
    if (data) XFree(data);

    // Each size: width, height, then its pixels; a picture with both clear
    // corners and opaque pixels, not an empty square.
    std::vector<long> sizes;
    for (std::size_t at = 0; at + 2 <= icon.size();) {
        const long width = icon[at], height = icon[at + 1];
        ASSERT_EQ(width, height);
        const auto first = icon.begin() + static_cast<long>(at) + 2;
        ASSERT_LE(at + 2 + static_cast<std::size_t>(width * height), icon.size());
        const auto last = first + width * height;
        const auto alpha = [](long p) { return (static_cast<unsigned long>(p) >> 24) & 0xFF; };
        EXPECT_EQ(alpha(*first), 0u) << "top-left corner of the " << width << "-pixel icon";
        EXPECT_GT(std::count_if(first, last, [&](long p) { return alpha(p) == 0xFF; }), width * height / 3)
            << width;
        sizes.push_back(width);
        at += 2 + static_cast<std::size_t>(width * height);
    }
    EXPECT_EQ(sizes, (std::vector<long>{16, 32, 48}));
}

// Run without a display: the answers come before the program looks for one.
TEST(ProgramCommandLine, HelpAndVersionAnswerWithZeroAndAnythingElseIsRefusedWithTwo) {
    const std::string program = std::string("env -u DISPLAY ") + EMR_PROGRAM_PATH;
    const std::string help = Shell(program + " --help 2>&1; echo \"status $?\"");
    EXPECT_EQ(help.rfind("Usage: emrpatch [--help] [--version]\n", 0), 0u) << help;
    EXPECT_NE(help.find("电子病历补丁"), std::string::npos) << help;
    EXPECT_TRUE(help.ends_with("\nstatus 0")) << help;

    const std::string version = Shell(program + " --version 2>&1; echo \"status $?\"");
    EXPECT_TRUE(version.starts_with("emrpatch ")) << version;
    EXPECT_NE(version.find_first_of("0123456789"), std::string::npos) << version;
    EXPECT_TRUE(version.ends_with("\nstatus 0")) << version;

    const std::string other = Shell(program + " --setup 2>&1 >/dev/null; echo \"status $?\"");
    EXPECT_EQ(other,
              "emrpatch: unknown argument \"--setup\"\nUsage: emrpatch [--help] [--version]\nstatus 2");
}

} // namespace
} // namespace emr::testing
