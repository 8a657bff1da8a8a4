// The option window and its add-or-remove cascade as real pop-ups: the option demo
// (a resizable form with eight captioned buttons in three groups) on a private X
// server with a window manager, shrunk with xdotool until buttons overflow, then
// driven by the pointer. Screenshots go to the build folder's screenshots/.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "DemoProgramTest.h"

namespace emr::testing {
namespace {

namespace fs = std::filesystem;

const char* const kTitle = "Option window demo";
constexpr std::uint32_t kGrey = 0x808080;      // the panels' border and the line above the items
constexpr std::uint32_t kPanelFace = 0xF9F8F7; // 0xF7F8F9 as the server shows it

bool Dark(std::uint32_t p) {
    return ((p >> 16) & 0xFF) < 100 && ((p >> 8) & 0xFF) < 100 && (p & 0xFF) < 100;
}

/// One report line of the demo: where its toolbar is and what it hides.
struct ToolBarReport {
    int Left = 0, Top = 0, Width = 0, Height = 0, ScreenX = 0, ScreenY = 0;
    std::vector<std::string> Overflow;
    std::vector<std::string> Off; // switched off in the cascade
};

class OptionDemoTest : public DemoProgramTest {
protected:
    OptionDemoTest() : DemoProgramTest(EMR_OPTIONDEMO_PATH, "demo") {}

    /// The demo's latest report, if it made one.
    std::optional<ToolBarReport> Report() const {
        std::istringstream lines(Log());
        std::optional<ToolBarReport> last;
        for (std::string line; std::getline(lines, line);) {
            std::istringstream in(line);
            std::string word, screen, overflow;
            ToolBarReport r;
            if (!(in >> word) || word != "toolbar") continue;
            if (!(in >> r.Left >> r.Top >> r.Width >> r.Height >> screen >> r.ScreenX >> r.ScreenY >>
                  overflow))
                continue;
            std::vector<std::string>* list = &r.Overflow;
            for (std::string name; in >> name;) {
                if (name == "off:")
                    list = &r.Off;
                else
                    list->push_back(name);
            }
            last = r;
        }
        return last;
    }

    void Launch() {
        for (const ScreenRect& r : ShownPopups(display_))
            baseline_.push_back(r.Id);
        Start(
            {}, kTitle, [&] { return Report().has_value(); }, 8000);
    }

    /// The pop-ups shown now that were not there before the demo started, bottom to top.
    std::vector<ScreenRect> Ours() {
        std::vector<ScreenRect> ours;
        for (const ScreenRect& r : ShownPopups(display_))
            if (std::find(baseline_.begin(), baseline_.end(), r.Id) == baseline_.end()) ours.push_back(r);
        return ours;
    }

    /// Waits for the number of pop-ups to reach `count` and returns them (or what there is).
    std::vector<ScreenRect> Popups(std::size_t count, int timeoutMs = 8000) {
        std::vector<ScreenRect> shown;
        WaitFor(
            [&] {
                shown = Ours();
                return shown.size() == count;
            },
            timeoutMs);
        // A pop-up is mapped before its first picture arrives.
        PauseMs(150);
        return Ours();
    }

    void MoveTo(int x, int y, const std::string& then = "") {
        X("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " " + then);
    }

    /// Launches the demo, shrinks its window until buttons overflow and presses
    /// the option indicator; returns the option window.
    std::optional<ScreenRect> OpenOptionWindow() {
        Launch();
        if (HasFatalFailure() || Report()->Overflow.size() != 0 || !Ours().empty()) return std::nullopt;
        full_ = *Report();
        X("xdotool windowsize " + std::to_string(window_) + " 200 160");
        if (!WaitFor([&] { return Report() && Report()->Overflow.size() >= 3; }, 5000)) return std::nullopt;
        PauseMs(300);
        shrunk_ = *Report();
        MoveTo(shrunk_.ScreenX + shrunk_.Width - 7, shrunk_.ScreenY + shrunk_.Height - 8, "click 1");
        std::vector<ScreenRect> popups = Popups(1);
        if (popups.size() != 1) return std::nullopt;
        return popups[0];
    }

    static fs::path ShotPath(const std::string& name) {
        return fs::path(EMR_BUILD_DIR) / "screenshots" / (name + ".png");
    }

    std::vector<unsigned long> baseline_;
    ToolBarReport full_, shrunk_;
};

TEST_F(OptionDemoTest, ShrunkToolBarListsItsHiddenButtonsAndTheCascadeChecksAndTogglesThem) {
    const std::optional<ScreenRect> shown = OpenOptionWindow();
    ASSERT_TRUE(shown) << "shrinking the window and pressing the option indicator showed no option window";
    const ToolBarReport& full = full_;
    const ToolBarReport& shrunk = shrunk_;
    EXPECT_LT(shrunk.Width, full.Width);
    const ScreenRect option = *shown;
    std::vector<ScreenRect> popups;
    // 12 pixels left of the toolbar's right end, one pixel below it.
    EXPECT_EQ(option.Left, shrunk.ScreenX + shrunk.Width - 12);
    EXPECT_EQ(option.Top, shrunk.ScreenY + shrunk.Height + 1);
    EXPECT_GE(option.Width, 130 + 2 * 3) << "the items are at least 130 wide";

    const ScreenShot optionShot =
        ScreenShot::Take(display_, option.Left - 40, option.Top - 50, option.Width + 60, option.Height + 60);
    optionShot.Save(ShotPath("optiondemo-option-window"));
    const int ox = option.Left, oy = option.Top, ow = option.Width, oh = option.Height;
    EXPECT_EQ(optionShot.At(ox, oy + oh / 2), kGrey) << "left border";
    EXPECT_EQ(optionShot.At(ox + ow - 1, oy + oh / 2), kGrey) << "right border";
    EXPECT_EQ(optionShot.At(ox + ow / 2, oy + oh - 1), kGrey) << "bottom border";
    EXPECT_EQ(optionShot.At(ox + 1, oy + 1), kPanelFace) << "panel face";
    // Two 20-pixel items at the bottom, options above add-or-remove, and a grey
    // line 4 pixels above the upper one.
    const int addRemoveTop = oy + oh - 3 - 20, optionsTop = addRemoveTop - 20;
    EXPECT_EQ(optionShot.At(ox + ow / 2, optionsTop - 4), kGrey) << "line above the items";
    EXPECT_GE(optionShot.Count(ox + 3, addRemoveTop, ox + ow - 3, addRemoveTop + 20, Dark), 40)
        << "no caption on the add-or-remove item";
    EXPECT_GE(optionShot.Count(ox + 3, optionsTop, ox + ow - 3, optionsTop + 20, Dark), 20)
        << "no caption on the options item";
    // The hidden buttons above them, each with its caption.
    EXPECT_GE(optionShot.Count(ox + 3, oy + 3, ox + ow - 3, optionsTop - 8, Dark), 20 * 3)
        << "the hidden buttons are not shown";

    // Hovering the add-or-remove item opens the first level beside the item's
    // top-right corner: one entry, the toolbar's caption.
    MoveTo(ox + ow / 2, addRemoveTop + 10);
    popups = Popups(2);
    ASSERT_EQ(popups.size(), 2u) << "hovering Add or Remove Buttons opened nothing";
    const ScreenRect first = popups[1];
    EXPECT_EQ(first.Left, ox + ow - 3);
    EXPECT_EQ(first.Top, addRemoveTop);
    EXPECT_EQ(first.Height, 2 + 24 + 2);

    // Hovering that entry opens the list of the toolbar's eight buttons.
    MoveTo(first.Left + first.Width / 2, first.Top + 2 + 12);
    popups = Popups(3);
    ASSERT_EQ(popups.size(), 3u) << "hovering the toolbar's entry opened nothing";
    const ScreenRect list = popups[2];
    EXPECT_EQ(list.Left, first.Right()) << "two pixels right of the entry, which ends 2 before the edge";
    EXPECT_EQ(list.Top, first.Top + 2);
    EXPECT_EQ(list.Height, 2 + 8 * (24 + 2));

    const int left = ox - 10, top = oy - 10;
    const int right = std::max(option.Right(), list.Right()) + 10;
    const int bottom = std::max(option.Bottom(), list.Bottom()) + 10;
    const ScreenShot cascade = ScreenShot::Take(display_, left, top, right - left, bottom - top);
    cascade.Save(ShotPath("optiondemo-cascade"));

    // Row k's item spans [Top + 2 + 26k, +24); the icon bar's bare colours show in
    // the 2-pixel gaps between items (not in the margins above the first and below
    // the last). A check box covers the middle of the cell.
    auto rowTop = [&](int k) { return list.Top + 2 + 26 * k; };
    auto checkPixels = [&](const ScreenShot& shot, int k) {
        int n = 0;
        for (int x = list.Left + 6; x < list.Left + 20; ++x)
            for (int y = rowTop(k) + 5; y < rowTop(k) + 19; ++y)
                n += shot.At(x, y) != shot.At(x, k == 0 ? rowTop(1) - 1 : rowTop(k) - 1) ? 1 : 0;
        return n;
    };
    for (int k = 0; k < 8; ++k)
        EXPECT_GE(checkPixels(cascade, k), 60) << "no check mark on entry " << k;

    // A click on the first entry hides "New" at once and keeps all three windows up.
    MoveTo(list.Left + list.Width / 2, rowTop(0) + 12, "click 1");
    EXPECT_TRUE(WaitFor(
        [&] {
            const auto r = Report();
            return r && r->Off == std::vector<std::string>{"NewButton"};
        },
        8000))
        << "the click did not switch New off";
    EXPECT_EQ(Ours().size(), 3u) << "toggling closed the cascade";
    // With the pointer gone from the list no entry is hot: the first has no check box now.
    MoveTo(1270, 1010);
    PauseMs(300);
    const ScreenShot toggled = ScreenShot::Take(display_, left, top, right - left, bottom - top);
    toggled.Save(ShotPath("optiondemo-cascade-toggled"));
    EXPECT_EQ(checkPixels(toggled, 0), 0) << "New still shows a check mark";
    for (int k = 1; k < 8; ++k)
        EXPECT_GE(checkPixels(toggled, k), 60) << "entry " << k << " lost its check mark";

    // A press on the form outside every pop-up closes the whole chain.
    MoveTo(shrunk.ScreenX - shrunk.Left + 60, shrunk.ScreenY - shrunk.Top + 120, "click 1");
    EXPECT_TRUE(WaitFor([&] { return Ours().empty(); }, 8000))
        << Ours().size() << " pop-ups are still up after a press outside";
    EXPECT_TRUE(program_->Running());
}

// The option menu runs a loop of its own; moving from it onto "Add or Remove
// Buttons" ends that loop and opens the cascade without another move.
TEST_F(OptionDemoTest, MovingFromTheOptionMenuOntoAddOrRemoveClosesTheMenuAndOpensTheCascade) {
    const std::optional<ScreenRect> shown = OpenOptionWindow();
    ASSERT_TRUE(shown) << "shrinking the window and pressing the option indicator showed no option window";
    const ScreenRect option = *shown;
    const int addRemoveTop = option.Bottom() - 3 - 20, optionsTop = addRemoveTop - 20;

    MoveTo(option.Left + option.Width / 2, optionsTop + 10);
    std::vector<ScreenRect> popups = Popups(2);
    ASSERT_EQ(popups.size(), 2u) << "hovering Options showed no menu";
    EXPECT_EQ(popups[1].Left, option.Right() - 3) << "the menu starts at the item's top-right corner";
    EXPECT_EQ(popups[1].Top, optionsTop);
    const unsigned long menu = popups[1].Id;

    MoveTo(option.Left + option.Width / 2, addRemoveTop + 10);
    ASSERT_TRUE(WaitFor(
        [&] {
            popups = Ours();
            return popups.size() == 2 && popups[1].Id != menu;
        },
        8000))
        << "the option menu did not give way to the cascade";
    EXPECT_EQ(popups[0].Id, option.Id) << "the option window stays";
    EXPECT_EQ(popups[1].Left, option.Right() - 3);
    EXPECT_EQ(popups[1].Top, addRemoveTop);
}

} // namespace
} // namespace emr::testing
