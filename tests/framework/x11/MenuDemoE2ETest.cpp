// The toolbar as a menu bar in a real window: the menu demo (a full-size menu
// toolbar over an ordinary one) on a private X server with a window manager,
// driven by xdotool keys and pointer. Screenshots go to the build folder's screenshots/.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

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

const char* const kTitle = "Menu bar demo";

/// The demo's latest state line.
struct MenuState {
    int BarX = 0, BarY = 0, BarWidth = 0, BarHeight = 0;
    int Children = 0, Maximized = 0;
    std::string Active;
    std::map<std::string, ScreenRect> Buttons;
    std::string Hot, Menu;
    int Mode = 0, Windows = 0;
};

class MenuDemoTest : public DemoProgramTest {
protected:
    MenuDemoTest() : DemoProgramTest(EMR_MENUDEMO_PATH, "demo") {}
    std::optional<MenuState> State() const {
        std::istringstream lines(Log());
        std::optional<MenuState> last;
        for (std::string line; std::getline(lines, line);) {
            std::istringstream in(line);
            std::string word;
            MenuState s;
            if (!(in >> word) || word != "bar" || !(in >> s.BarX >> s.BarY >> s.BarWidth >> s.BarHeight))
                continue;
            while (in >> word) {
                if (word == "button") {
                    ScreenRect r;
                    std::string caption;
                    in >> caption >> r.Left >> r.Top >> r.Width >> r.Height;
                    s.Buttons[caption] = r;
                } else if (word == "hot") {
                    in >> s.Hot;
                } else if (word == "mode") {
                    in >> s.Mode;
                } else if (word == "menu") {
                    in >> s.Menu;
                } else if (word == "items") {
                    in >> s.Windows;
                } else if (word == "children") {
                    in >> s.Children;
                } else if (word == "active") {
                    in >> s.Active;
                } else if (word == "maximized") {
                    in >> s.Maximized;
                }
            }
            last = s;
        }
        return last;
    }
    bool Chosen(const std::string& caption) const {
        return Log().find("chosen " + caption + "\n") != std::string::npos;
    }
    /// Waits until the state satisfies `ok`.
    bool Await(const std::function<bool(const MenuState&)>& ok, int timeoutMs = 3000) {
        return WaitFor(
            [&] {
                const auto s = State();
                return s && ok(*s);
            },
            timeoutMs);
    }
    void Key(const std::string& key) { X("xdotool key --window " + std::to_string(window_) + " " + key); }

    void Launch() {
        Start(
            {}, kTitle, [&] { return State().has_value(); }, 8000);
        if (HasFatalFailure()) return;
        X("xdotool windowactivate --sync " + std::to_string(window_) + " 2>/dev/null");
        PauseMs(300);
    }
    ScreenRect Button(const std::string& caption) { return State()->Buttons.at(caption); }
    void MoveTo(const ScreenRect& r, const std::string& then = "") {
        X("xdotool mousemove " + std::to_string(r.Left + r.Width / 2) + " " +
          std::to_string(r.Top + r.Height / 2) + " " + then);
    }
    static fs::path ShotPath(const std::string& name) {
        return fs::path(EMR_BUILD_DIR) / "screenshots" / (name + ".png");
    }
};

TEST_F(MenuDemoTest, F10DownRightAndEscTwiceWalkTheMenuBarByKeyboard) {
    Launch();
    ASSERT_FALSE(HasFatalFailure());
    Key("F10");
    EXPECT_TRUE(Await([](const MenuState& s) { return s.Hot == "&File" && s.Mode == 1; }))
        << "F10 did not highlight File";
    Key("Down");
    EXPECT_TRUE(Await([](const MenuState& s) { return s.Menu == "&New"; })) << "Down did not open File";
    Key("Right");
    EXPECT_TRUE(Await([](const MenuState& s) { return s.Menu == "&Undo"; })) << "Right did not move to Edit";
    Key("Escape");
    EXPECT_TRUE(Await([](const MenuState& s) { return s.Windows == 0 && s.Hot == "&Edit" && s.Mode == 1; }))
        << "the first Esc should close the menu and keep Edit highlighted";
    Key("Escape");
    EXPECT_TRUE(Await([](const MenuState& s) { return s.Mode == 0 && s.Hot == "-"; }))
        << "the second Esc should leave menu mode";
    EXPECT_TRUE(program_->Running());
}

TEST_F(MenuDemoTest, ClickOpensHoverSwitchesWithoutAClickAndChoosingRunsTheItem) {
    Launch();
    ASSERT_FALSE(HasFatalFailure());
    MoveTo(Button("&File"), "click 1");
    ASSERT_TRUE(Await([](const MenuState& s) { return s.Menu == "&New" && s.Windows == 1; }))
        << "clicking File opened nothing";
    PauseMs(200);
    const auto popups = ShownPopups(display_);
    ASSERT_FALSE(popups.empty());
    const ScreenRect menu = popups.back();
    const ScreenRect file = Button("&File");
    EXPECT_EQ(menu.Left, file.Left);
    EXPECT_EQ(menu.Top, file.Top + file.Height);
    // Open the Recent sub-menu by pointing at it, for the picture: icon bar, images,
    // shortcuts and the sub-menu arrow.
    X("xdotool mousemove " + std::to_string(menu.Left + 40) + " " +
      std::to_string(menu.Top + 1 + 22 * 2 + 11));
    WaitFor([&] { return ShownPopups(display_).size() >= popups.size() + 1; }, 2000);
    PauseMs(200);
    ScreenShot::Take(display_, file.Left - 10, file.Top - 10, 420, 220).Save(ShotPath("menudemo-file-menu"));

    MoveTo(Button("&Edit"));
    EXPECT_TRUE(Await([](const MenuState& s) { return s.Menu == "&Undo" && s.Windows == 1; }))
        << "moving onto Edit did not switch menus";
    MoveTo(Button("&View"));
    EXPECT_TRUE(Await([](const MenuState& s) { return s.Menu == "&Toolbar" && s.Windows == 1; }))
        << "moving onto View did not switch menus";
    PauseMs(200);
    const ScreenRect view = ShownPopups(display_).back();
    ScreenShot::Take(display_, view.Left - 10, view.Top - 40, view.Width + 120, view.Height + 50)
        .Save(ShotPath("menudemo-view-menu"));
    // Status bar is the second item, 22 pixels per item below a 1-pixel border.
    X("xdotool mousemove " + std::to_string(view.Left + view.Width / 2) + " " +
      std::to_string(view.Top + 1 + 22 + 11) + " click 1");
    EXPECT_TRUE(WaitFor([&] { return Chosen("&Status bar"); }, 3000)) << "choosing Status bar ran nothing";
    EXPECT_TRUE(Await([](const MenuState& s) { return s.Windows == 0; }));

    // Clicking the open button closes its menu and does not open it again.
    MoveTo(Button("&Edit"), "click 1");
    ASSERT_TRUE(Await([](const MenuState& s) { return s.Menu == "&Undo"; }));
    MoveTo(Button("&Edit"), "click 1");
    EXPECT_TRUE(Await([](const MenuState& s) { return s.Windows == 0; }))
        << "the second click left the menu open";
    PauseMs(300);
    EXPECT_EQ(State()->Windows, 0) << "the second click opened the menu again";
    EXPECT_TRUE(program_->Running());
}

TEST_F(MenuDemoTest, AMaximizedDocumentShowsThreeButtonsAtTheBarsEndAndCloseClosesIt) {
    Launch();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(Await([](const MenuState& s) { return s.Children == 2 && s.Maximized == 1; }));
    const MenuState s = *State();
    EXPECT_EQ(s.Active, "Report");
    // 18 x 18 each, the close button 21 pixels from the right end, 1-pixel gaps.
    const int top = s.BarY + std::max(2, (s.BarHeight - 18) / 2);
    const int closeLeft = s.BarX + s.BarWidth - 21;
    MoveTo({0, closeLeft, top, 18, 18});
    PauseMs(300);
    const ScreenShot shot = ScreenShot::Take(display_, closeLeft - 60, s.BarY, 100, s.BarHeight);
    shot.Save(ShotPath("menudemo-mdi-buttons"));
    ScreenShot::Take(display_, s.BarX - 3, s.BarY - 1, s.BarWidth + 6, 300)
        .Save(ShotPath("menudemo-maximized"));
    auto dark = [](std::uint32_t p) {
        return ((p >> 16) & 0xFF) < 60 && ((p >> 8) & 0xFF) < 60 && (p & 0xFF) < 60;
    };
    EXPECT_GE(shot.Count(closeLeft + 5, top + 5, closeLeft + 13, top + 13, dark), 16) << "no cross on close";
    EXPECT_GE(shot.Count(closeLeft - 19 + 3, top + 3, closeLeft - 19 + 15, top + 15, dark), 12)
        << "no restore glyph";
    EXPECT_GE(shot.Count(closeLeft - 38 + 3, top + 3, closeLeft - 38 + 15, top + 15, dark), 6)
        << "no minimize glyph";
    X("xdotool click 1");
    EXPECT_TRUE(Await([](const MenuState& m) { return m.Children == 1 && m.Active == "Notes"; }))
        << "the close button did not close the maximized document";
    EXPECT_EQ(State()->Maximized, 0);
    PauseMs(300);
    ScreenShot::Take(display_, s.BarX - 3, s.BarY - 1, s.BarWidth + 6, 300)
        .Save(ShotPath("menudemo-after-close"));
    EXPECT_TRUE(program_->Running());
}

} // namespace
} // namespace emr::testing
