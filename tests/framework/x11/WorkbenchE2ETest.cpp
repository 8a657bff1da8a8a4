// The workbench example on a private X server with a window manager, driven by
// xdotool: toolbars dragged to another panel and into the client area, the look
// switched through the menus, the window closed and started again with the same
// configuration folder; and a narrowed window whose hidden buttons the option
// window offers. The program reports its state with --report (WorkbenchReport.h).
// Screenshots go to the build folder's screenshots/.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <signal.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "DemoProgramTest.h"

namespace emr::testing {
namespace {

namespace fs = std::filesystem;

struct Box {
    int X = 0, Y = 0, W = 0, H = 0;
    int Right() const { return X + W; }
    int Bottom() const { return Y + H; }
    bool Contains(int x, int y) const { return x >= X && x < Right() && y >= Y && y < Bottom(); }
};

struct ToolBarState {
    std::string State, Parent;
    int Row = -1;
    Box Place;
    bool Visible = false;
    std::vector<std::string> Overflow;
};

struct Captioned {
    Box Place;
    std::string Caption;
};

/// One complete report block of the workbench.
struct Report {
    std::map<std::string, Box> Panels;
    std::map<std::string, ToolBarState> ToolBars;
    std::vector<Captioned> MenuButtons;
    std::vector<std::vector<Captioned>> Popups;
    std::string OptionToolBar;
    Box OptionWindow;
    std::vector<std::string> OptionShows;
    std::string Style;

    /// The toolbar's line, or an empty state when the report has none.
    ToolBarState Of(const std::string& name) const {
        auto it = ToolBars.find(name);
        return it == ToolBars.end() ? ToolBarState{} : it->second;
    }
    const Captioned* Find(const std::vector<Captioned>& list, const std::string& caption) const {
        for (const Captioned& c : list)
            if (c.Caption == caption) return &c;
        return nullptr;
    }
};

std::vector<std::string> Words(std::istream& in) {
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::optional<Report> ParseBlock(const std::vector<std::string>& lines) {
    Report r;
    for (const std::string& line : lines) {
        std::istringstream in(line);
        std::string kind;
        in >> kind;
        Box b;
        if (kind == "panel") {
            std::string name;
            in >> name >> b.X >> b.Y >> b.W >> b.H;
            r.Panels[name] = b;
        } else if (kind == "toolbar") {
            std::string name, rowWord, screenWord, visibleWord, overflowWord;
            ToolBarState t;
            int visible = 0;
            in >> name >> t.State >> t.Parent >> rowWord >> t.Row >> screenWord >> t.Place.X >> t.Place.Y >>
                t.Place.W >> t.Place.H >> visibleWord >> visible >> overflowWord;
            t.Visible = visible != 0;
            t.Overflow = Words(in);
            r.ToolBars[name] = t;
        } else if (kind == "button" || kind == "item") {
            Captioned c;
            in >> c.Place.X >> c.Place.Y >> c.Place.W >> c.Place.H;
            std::getline(in >> std::ws, c.Caption);
            if (kind == "button")
                r.MenuButtons.push_back(c);
            else if (!r.Popups.empty())
                r.Popups.back().push_back(c);
        } else if (kind == "popup") {
            r.Popups.emplace_back();
        } else if (kind == "option") {
            std::string shows;
            in >> r.OptionToolBar >> r.OptionWindow.X >> r.OptionWindow.Y >> r.OptionWindow.W >>
                r.OptionWindow.H >> shows;
            r.OptionShows = Words(in);
        } else if (kind == "style") {
            in >> r.Style;
        }
    }
    return r;
}

class WorkbenchTest : public DemoProgramTest {
protected:
    WorkbenchTest() : DemoProgramTest(EMR_WORKBENCH_PATH, "workbench") {}

    /// The program's latest complete report.
    std::optional<Report> Latest() const {
        std::istringstream lines(Log());
        std::vector<std::string> block, last;
        bool complete = false;
        for (std::string line; std::getline(lines, line);) {
            if (line == "end") {
                last = std::move(block);
                block.clear();
                complete = true;
            } else if (!line.starts_with("chosen ")) {
                block.push_back(line);
            }
        }
        if (!complete) return std::nullopt;
        return ParseBlock(last);
    }

    /// Waits for a report that satisfies `done`; returns the last one seen.
    Report AwaitReport(const std::function<bool(const Report&)>& done, int timeoutMs = 8000) {
        std::optional<Report> seen;
        WaitFor(
            [&] {
                seen = Latest();
                return seen && done(*seen);
            },
            timeoutMs);
        return seen.value_or(Report{});
    }

    void Launch(std::vector<std::string> arguments = {}) {
        arguments.insert(arguments.begin(), "--report");
        Start(
            arguments, "Workbench", [&] { return Latest().has_value(); }, 10000);
        if (HasFatalFailure()) return;
        // The first picture follows the map.
        PauseMs(300);
    }

    /// Asks the window manager to close the window, as its close button would.
    void CloseThroughWindowManager() {
        XEvent request{};
        request.xclient.type = ClientMessage;
        request.xclient.window = window_;
        request.xclient.message_type = XInternAtom(display_, "_NET_CLOSE_WINDOW", False);
        request.xclient.format = 32;
        request.xclient.data.l[0] = CurrentTime;
        request.xclient.data.l[1] = 2; // from a pager or taskbar: the user's own request
        XSendEvent(display_, DefaultRootWindow(display_), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &request);
        XFlush(display_);
    }

    void MoveTo(int x, int y, const std::string& then = "") {
        X("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " " + then);
    }

    /// Presses at (x0, y0), moves to (x1, y1) in small steps and releases there.
    void Drag(int x0, int y0, int x1, int y1) {
        MoveTo(x0, y0);
        PauseMs(100);
        X("xdotool mousedown 1");
        PauseMs(100);
        const int steps = 20;
        for (int i = 1; i <= steps; ++i) {
            MoveTo(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
            PauseMs(40);
        }
        PauseMs(150);
        X("xdotool mouseup 1");
        PauseMs(200);
    }

    /// Clicks the middle of a place on the screen.
    void Click(const Box& b) {
        MoveTo(b.X + b.W / 2, b.Y + b.H / 2);
        PauseMs(80);
        X("xdotool click 1");
    }

    ScreenShot Shoot(const std::string& name) {
        XWindowAttributes a{};
        Window child = 0;
        int x = 0, y = 0;
        XGetWindowAttributes(display_, window_, &a);
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
        const int left = std::max(0, x - 40), top = std::max(0, y - 40);
        const ScreenShot shot =
            ScreenShot::Take(display_, left, top, std::min(a.width + 200, XServer::kWidth - left),
                             std::min(a.height + 120, XServer::kHeight - top));
        shot.Save(fs::path(EMR_BUILD_DIR) / "screenshots" / ("workbench-" + name + ".png"));
        return shot;
    }
};

bool AllToolBarsShown(const Report& r) {
    return r.ToolBars.size() == 6 && r.Panels.size() == 4 && !r.Style.empty();
}

/// Where a docked horizontal toolbar's first button starts, and the width of a
/// button showing only its 16-pixel icon.
constexpr int kFirstButtonLeft = 9, kIconButtonWidth = 23;
/// How long the pointer rests before a hint shows.
constexpr int kHintPauseMs = 500;

/// A point on the grip of a horizontal docked toolbar.
std::pair<int, int> Grip(const ToolBarState& t) {
    return {t.Place.X + 3, t.Place.Y + t.Place.H / 2};
}

TEST_F(WorkbenchTest, DraggedAndFloatedToolBarsAndTheChosenLookComeBackAtTheNextStart) {
    Launch();
    ASSERT_FALSE(HasFatalFailure());
    Report start = AwaitReport(AllToolBarsShown);
    ASSERT_TRUE(AllToolBarsShown(start)) << "no full report";
    EXPECT_EQ(start.Style, "bsOffice2003Blue");
    for (const auto& [name, t] : start.ToolBars) {
        EXPECT_EQ(t.State, "docked") << name;
        EXPECT_GE(t.Row, 0) << name << " is in no row";
    }
    EXPECT_EQ(start.ToolBars["Clipboard"].Parent, "TopDock");
    EXPECT_EQ(start.ToolBars["Drawing"].Parent, "RightDock");
    EXPECT_GT(start.ToolBars["Drawing"].Place.H, start.ToolBars["Drawing"].Place.W) << "not vertical";
    Shoot("start");

    // The clipboard toolbar, by its grip, down into the left panel.
    const Box left = start.Panels["LeftDock"];
    auto [gx, gy] = Grip(start.ToolBars["Clipboard"]);
    Drag(gx, gy, left.X + 1, left.Y + 120);
    Report moved = AwaitReport([](const Report& r) { return r.Of("Clipboard").Parent == "LeftDock"; });
    const ToolBarState clipboard = moved.ToolBars["Clipboard"];
    ASSERT_EQ(clipboard.Parent, "LeftDock") << "the drag did not dock the toolbar in the left panel";
    EXPECT_EQ(clipboard.State, "docked");
    EXPECT_EQ(clipboard.Row, 0);
    EXPECT_GT(clipboard.Place.H, clipboard.Place.W) << "docked at the left, it stands upright";

    // The format toolbar into the middle of the client area, where it floats.
    const Box body{moved.Panels["LeftDock"].Right(), moved.Panels["TopDock"].Bottom(), 0, 0};
    std::tie(gx, gy) = Grip(moved.ToolBars["Format"]);
    Drag(gx, gy, body.X + 250, body.Y + 200);
    Report floated = AwaitReport([](const Report& r) { return r.Of("Format").State == "floating"; });
    const ToolBarState format = floated.ToolBars["Format"];
    ASSERT_EQ(format.State, "floating") << "the drag into the client area did not float the toolbar";
    EXPECT_TRUE(format.Visible);
    Shoot("moved");

    // View > Style > Office 2007 Luna, by the pointer.
    const ScreenShot before = Shoot("before-style");
    const Captioned* view = floated.Find(floated.MenuButtons, "&View");
    ASSERT_NE(view, nullptr) << "the menu bar has no View button";
    Click(view->Place);
    Report menu = AwaitReport([](const Report& r) { return r.Popups.size() == 1; });
    ASSERT_EQ(menu.Popups.size(), 1u) << "clicking View opened no menu";
    const Captioned* style = menu.Find(menu.Popups[0], "&Style");
    ASSERT_NE(style, nullptr);
    Click(style->Place);
    menu = AwaitReport([](const Report& r) { return r.Popups.size() == 2; });
    ASSERT_EQ(menu.Popups.size(), 2u) << "the Style item opened no sub-menu";
    EXPECT_EQ(menu.Popups[1].size(), 17u) << "one item per look";
    const Captioned* luna = menu.Find(menu.Popups[1], "Office 2007 &Luna");
    ASSERT_NE(luna, nullptr);
    Click(luna->Place);
    Report styled =
        AwaitReport([](const Report& r) { return r.Style == "bsOffice2007Luna" && r.Popups.empty(); });
    EXPECT_EQ(styled.Style, "bsOffice2007Luna");
    EXPECT_TRUE(styled.Popups.empty()) << "the menus stayed open";
    PauseMs(300);
    // The standard toolbar's face changes colour with the look.
    const ScreenShot after = Shoot("after-style");
    const Box standard = styled.ToolBars["Standard"].Place;
    const int px = standard.X + standard.W / 2, py = standard.Bottom() - 3;
    EXPECT_NE(before.At(px, py), after.At(px, py)) << "the toolbar looks the same in the new look";

    CloseThroughWindowManager();
    ASSERT_EQ(program_->WaitExit(8000), std::optional<int>(0))
        << "the workbench did not end on the close request";
    EXPECT_TRUE(fs::exists(dir_ / "config" / "workbench.ini"));

    Launch();
    ASSERT_FALSE(HasFatalFailure());
    Report again = AwaitReport(AllToolBarsShown);
    ASSERT_TRUE(AllToolBarsShown(again)) << "no full report after the restart";
    Shoot("restarted");
    EXPECT_EQ(again.ToolBars["Clipboard"].Parent, "LeftDock");
    EXPECT_EQ(again.ToolBars["Clipboard"].State, "docked");
    EXPECT_GE(again.ToolBars["Clipboard"].Row, 0);
    EXPECT_EQ(again.ToolBars["Format"].State, "floating");
    EXPECT_EQ(again.ToolBars["Format"].Place.X, format.Place.X);
    EXPECT_EQ(again.ToolBars["Format"].Place.Y, format.Place.Y);
    EXPECT_EQ(again.Style, "bsOffice2007Luna");
    for (const auto& [name, t] : again.ToolBars) {
        EXPECT_TRUE(t.Visible) << name;
        if (t.State == "docked") {
            EXPECT_GE(t.Row, 0) << name << " is in no row";
        }
    }
    EXPECT_TRUE(again.Panels["TopDock"].H < start.Panels["TopDock"].H)
        << "the top panel keeps the height of the rows that left it";
}

TEST_F(WorkbenchTest, NarrowedWindowOffersTheHiddenButtonsInTheOptionWindow) {
    Launch();
    ASSERT_FALSE(HasFatalFailure());
    Report start = AwaitReport(AllToolBarsShown);
    ASSERT_TRUE(start.ToolBars["Standard"].Overflow.empty());

    X("xdotool windowsize " + std::to_string(window_) + " 300 560");
    Report narrow = AwaitReport([](const Report& r) { return r.Of("Standard").Overflow.size() >= 3; });
    const ToolBarState standard = narrow.ToolBars["Standard"];
    ASSERT_GE(standard.Overflow.size(), 3u) << "narrowing the window hid no buttons";
    PauseMs(300);
    Shoot("narrow");

    // The option button fills the right handle's lower part.
    MoveTo(standard.Place.Right() - 7, standard.Place.Bottom() - 8, "click 1");
    Report option = AwaitReport([](const Report& r) { return !r.OptionShows.empty(); });
    EXPECT_EQ(option.OptionToolBar, "Standard");
    std::vector<std::string> shown = option.OptionShows, hidden = standard.Overflow;
    std::erase_if(hidden, [](const std::string& name) { return name.ends_with("Separator"); });
    std::erase_if(shown, [](const std::string& name) { return name.ends_with("Separator"); });
    // The overflow list holds the last hidden first; the window shows them in toolbar order.
    std::reverse(hidden.begin(), hidden.end());
    EXPECT_EQ(shown, hidden) << "the option window does not show the hidden buttons";
    PauseMs(300);
    Shoot("option-window");
    // The window is really on the screen: its grey border.
    const Box w = option.OptionWindow;
    ASSERT_GT(w.W, 0);
    const ScreenShot border = ScreenShot::Take(display_, w.X, w.Y, w.W, w.H);
    EXPECT_EQ(border.At(w.X, w.Y + w.H / 2), 0x808080u) << "no option window on the screen";
    EXPECT_TRUE(program_->Running());
}

TEST_F(WorkbenchTest, RestingOnAnIconOnlyButtonShowsItsHintAfterThePause) {
    Launch();
    ASSERT_FALSE(HasFatalFailure());
    const Report start = AwaitReport(AllToolBarsShown);
    const ToolBarState format = start.Of("Format");
    ASSERT_GT(format.Place.W, 0) << "no Format toolbar in the report";
    // The middle of its first button, "Bold", right of the grip.
    const int x = format.Place.X + kFirstButtonLeft + kIconButtonWidth / 2;
    const int y = format.Place.Y + format.Place.H / 2;
    // The hint opens 20 pixels below the pointer on the info colour.
    constexpr std::uint32_t kInfoBk = 0xFFFFE1;
    const auto hintArea = [&] {
        const ScreenShot shot = ScreenShot::Take(display_, x, y + 20, 60, 18);
        return shot.Count(x, y + 20, x + 60, y + 38, [&](std::uint32_t p) { return p == kInfoBk; });
    };
    const auto moved = std::chrono::steady_clock::now();
    MoveTo(x, y);
    const int early = hintArea();
    const auto elapsed = std::chrono::steady_clock::now() - moved;
    if (elapsed < std::chrono::milliseconds(kHintPauseMs - 100)) {
        EXPECT_EQ(early, 0) << "the hint showed before the pause";
    }
    ASSERT_TRUE(WaitFor([&] { return hintArea() >= 200; }, 3000)) << "no hint below the pointer";
    PauseMs(100);
    Shoot("hint");
    EXPECT_TRUE(program_->Running());
}

/// How many times the program announced the command captioned `caption`.
int Chosen(const std::string& log, const std::string& caption) {
    std::istringstream lines(log);
    int count = 0;
    for (std::string line; std::getline(lines, line);)
        if (line == "chosen " + caption) ++count;
    return count;
}

TEST_F(WorkbenchTest, AltWithAMenuLetterOpensThatMenuAndMenuShortcutsRunTheirItemsOnce) {
    Launch();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(AllToolBarsShown(AwaitReport(AllToolBarsShown)));
    X("xdotool windowactivate --sync " + std::to_string(window_) + " 2>/dev/null");
    PauseMs(200);

    X("xdotool key --window " + std::to_string(window_) + " alt+f");
    Report file = AwaitReport([](const Report& r) { return r.Popups.size() == 1; });
    ASSERT_EQ(file.Popups.size(), 1u) << "Alt+F opened no menu";
    EXPECT_NE(file.Find(file.Popups[0], "&New"), nullptr) << "Alt+F opened another menu than File";
    X("xdotool key --window " + std::to_string(window_) + " Escape Escape");
    ASSERT_TRUE(AwaitReport([](const Report& r) { return r.Popups.empty(); }).Popups.empty());

    X("xdotool key --window " + std::to_string(window_) + " ctrl+n");
    WaitFor([&] { return Chosen(Log(), "&New") > 0; }, 3000);
    X("xdotool key --window " + std::to_string(window_) + " ctrl+s");
    WaitFor([&] { return Chosen(Log(), "&Save") > 0; }, 3000);
    PauseMs(200);
    EXPECT_EQ(Chosen(Log(), "&New"), 1) << "Ctrl+N did not run New exactly once";
    EXPECT_EQ(Chosen(Log(), "&Save"), 1) << "Ctrl+S did not run Save exactly once";
    EXPECT_TRUE(AwaitReport([](const Report& r) { return r.Popups.empty(); }).Popups.empty())
        << "a shortcut opened a menu";
}

TEST_F(WorkbenchTest, ARightClickOnADockPanelListsEveryToolBarAndHidesAndShowsTheOneChosen) {
    Launch();
    ASSERT_FALSE(HasFatalFailure());
    const Report start = AwaitReport(AllToolBarsShown);
    ASSERT_TRUE(AllToolBarsShown(start));
    const Box top = start.Panels.at("TopDock");
    const auto openMenu = [&] {
        MoveTo(top.Right() - 20, top.Bottom() - 6, "click 3");
        return AwaitReport([](const Report& r) { return r.Popups.size() == 1; });
    };
    Report menu = openMenu();
    ASSERT_EQ(menu.Popups.size(), 1u) << "the right click opened no menu";
    EXPECT_EQ(menu.Popups[0].size(), start.ToolBars.size()) << "one item per toolbar";
    PauseMs(200);
    Shoot("toolbar-menu");
    const Captioned* format = menu.Find(menu.Popups[0], "Format");
    ASSERT_NE(format, nullptr);
    Click(format->Place);
    Report hidden = AwaitReport([](const Report& r) { return r.Popups.empty() && !r.Of("Format").Visible; });
    EXPECT_FALSE(hidden.Of("Format").Visible) << "choosing Format did not hide it";
    EXPECT_TRUE(hidden.Of("Standard").Visible);

    menu = openMenu();
    ASSERT_EQ(menu.Popups.size(), 1u);
    PauseMs(200);
    Shoot("toolbar-menu-format-hidden");
    format = menu.Find(menu.Popups[0], "Format");
    ASSERT_NE(format, nullptr);
    Click(format->Place);
    const Report shown =
        AwaitReport([](const Report& r) { return r.Popups.empty() && r.Of("Format").Visible; });
    EXPECT_TRUE(shown.Of("Format").Visible) << "choosing Format again did not bring it back";
    EXPECT_TRUE(program_->Running());
}

// A desktop session ends its programs with SIGTERM; a terminal with SIGINT or SIGHUP.
TEST_F(WorkbenchTest, StopSignalsCloseTheWindowNormallySoItsLayoutIsSaved) {
    Launch();
    ASSERT_FALSE(HasFatalFailure());
    Report start = AwaitReport(AllToolBarsShown);
    ASSERT_TRUE(AllToolBarsShown(start));
    const Box left = start.Panels["LeftDock"];
    auto [gx, gy] = Grip(start.ToolBars["Clipboard"]);
    Drag(gx, gy, left.X + 1, left.Y + 120);
    ASSERT_EQ(AwaitReport([](const Report& r) { return r.Of("Clipboard").Parent == "LeftDock"; })
                  .Of("Clipboard")
                  .Parent,
              "LeftDock");

    program_->Signal(SIGTERM);
    ASSERT_EQ(program_->WaitExit(8000), std::optional<int>(0)) << "SIGTERM did not close the window normally";
    const fs::path saved = dir_ / "config" / "workbench.ini";
    ASSERT_TRUE(fs::exists(saved)) << "nothing was saved";

    Launch();
    ASSERT_FALSE(HasFatalFailure());
    Report again = AwaitReport(AllToolBarsShown);
    EXPECT_EQ(again.Of("Clipboard").Parent, "LeftDock") << "the layout at SIGTERM was not kept";

    for (int sig : {SIGINT, SIGHUP}) {
        fs::remove(saved);
        program_->Signal(sig);
        EXPECT_EQ(program_->WaitExit(8000), std::optional<int>(0)) << strsignal(sig);
        EXPECT_TRUE(fs::exists(saved)) << strsignal(sig) << " saved nothing";
        if (sig == SIGINT) {
            Launch();
            ASSERT_FALSE(HasFatalFailure());
            AwaitReport(AllToolBarsShown);
        }
    }
}

// ---- right to left -----------------------------------------------------------------------------------

TEST_F(WorkbenchTest, RightToLeftWindowDocksFloatsOpensTheOptionWindowAndWalksMenusByKeys) {
    Launch({"--right-to-left"});
    ASSERT_FALSE(HasFatalFailure());
    Report start = AwaitReport(AllToolBarsShown);
    ASSERT_TRUE(AllToolBarsShown(start)) << "no full report";
    PauseMs(300);
    Shoot("rtl-start");
    // The side panels stay where they are; the rows of the top panel fill from the right.
    EXPECT_LT(start.Panels["LeftDock"].X, start.Panels["RightDock"].X);
    EXPECT_EQ(start.ToolBars["Drawing"].Parent, "RightDock");
    const Box top = start.Panels["TopDock"];
    const ToolBarState clipboardAtStart = start.ToolBars["Clipboard"];
    ASSERT_EQ(clipboardAtStart.Parent, "TopDock");
    bool startsAtTheRight = false;
    for (const auto& [name, t] : start.ToolBars)
        if (t.Parent == "TopDock" && top.Right() - t.Place.Right() <= 4) startsAtTheRight = true;
    EXPECT_TRUE(startsAtTheRight) << "no toolbar of the top panel starts at its right end";

    // The grip is at a horizontal toolbar's right end: by it, into the left panel.
    const auto rightGrip = [](const ToolBarState& t) {
        return std::pair<int, int>{t.Place.Right() - 4, t.Place.Y + t.Place.H / 2};
    };
    const Box left = start.Panels["LeftDock"];
    auto [gx, gy] = rightGrip(clipboardAtStart);
    Drag(gx, gy, left.X + 1, left.Y + 120);
    Report moved = AwaitReport([](const Report& r) { return r.Of("Clipboard").Parent == "LeftDock"; });
    ASSERT_EQ(moved.Of("Clipboard").Parent, "LeftDock") << "the drag by the right-hand grip did not dock it";
    EXPECT_GT(moved.Of("Clipboard").Place.H, moved.Of("Clipboard").Place.W) << "upright in the side panel";

    // And the format toolbar into the client area, where it floats.
    const Box body{moved.Panels["LeftDock"].Right(), moved.Panels["TopDock"].Bottom(), 0, 0};
    std::tie(gx, gy) = rightGrip(moved.ToolBars["Format"]);
    Drag(gx, gy, body.X + 250, body.Y + 200);
    Report floated = AwaitReport([](const Report& r) { return r.Of("Format").State == "floating"; });
    ASSERT_EQ(floated.Of("Format").State, "floating") << "the drag into the client area did not float it";
    PauseMs(300);
    Shoot("rtl-moved");

    // F10 and Down open the first menu, at the bar's right end; Left walks on to the next one.
    X("xdotool windowactivate --sync " + std::to_string(window_) + " 2>/dev/null");
    PauseMs(200);
    X("xdotool key --window " + std::to_string(window_) + " F10");
    PauseMs(200);
    X("xdotool key --window " + std::to_string(window_) + " Down");
    Report file = AwaitReport([](const Report& r) { return r.Popups.size() == 1; });
    ASSERT_EQ(file.Popups.size(), 1u) << "F10 and Down opened no menu";
    const Captioned* newItem = file.Find(file.Popups[0], "&New");
    const Captioned* fileButton = file.Find(file.MenuButtons, "&File");
    ASSERT_TRUE(newItem && fileButton) << "F10 and Down opened another menu than File";
    const Captioned* editButton = file.Find(file.MenuButtons, "&Edit");
    ASSERT_NE(editButton, nullptr);
    EXPECT_LT(editButton->Place.X, fileButton->Place.X) << "the menu bar does not run right to left";
    EXPECT_LE(newItem->Place.Right(), fileButton->Place.Right()) << "the menu does not open leftwards";
    EXPECT_LT(newItem->Place.X, fileButton->Place.X);
    PauseMs(200);
    Shoot("rtl-file-menu");
    X("xdotool key --window " + std::to_string(window_) + " Left");
    Report edit = AwaitReport(
        [](const Report& r) { return r.Popups.size() == 1 && r.Find(r.Popups[0], "&Undo") != nullptr; });
    EXPECT_EQ(edit.Popups.size(), 1u);
    EXPECT_NE(edit.Popups.empty() ? nullptr : edit.Find(edit.Popups[0], "&Undo"), nullptr)
        << "Left did not move on to the Edit menu on its left";
    X("xdotool key --window " + std::to_string(window_) + " Escape Escape");
    ASSERT_TRUE(AwaitReport([](const Report& r) { return r.Popups.empty(); }).Popups.empty());

    // Narrowed, the standard toolbar hides buttons; its option button is at its left end now.
    X("xdotool windowsize " + std::to_string(window_) + " 300 560");
    Report narrow = AwaitReport([](const Report& r) { return r.Of("Standard").Overflow.size() >= 3; });
    const ToolBarState standard = narrow.ToolBars["Standard"];
    ASSERT_GE(standard.Overflow.size(), 3u) << "narrowing the window hid no buttons";
    PauseMs(300);
    MoveTo(standard.Place.X + 6, standard.Place.Bottom() - 8, "click 1");
    Report option = AwaitReport([](const Report& r) { return !r.OptionShows.empty(); });
    EXPECT_EQ(option.OptionToolBar, "Standard") << "the option button is not at the toolbar's left end";
    const Box w = option.OptionWindow;
    EXPECT_TRUE(w.Right() == standard.Place.X + 12 || w.X == 0)
        << "the option window does not open leftwards from the toolbar's left end: " << w.X << "+" << w.W;
    EXPECT_GE(w.X, 0) << "the option window runs off the screen's left edge: " << w.X << "+" << w.W;
    PauseMs(300);
    Shoot("rtl-option-window");
    EXPECT_TRUE(program_->Running());
}

} // namespace
} // namespace emr::testing
