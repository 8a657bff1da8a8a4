#include <gtest/gtest.h>

#include "framework/platform/x11/ClickTracker.h"
#include "framework/platform/x11/X11Keys.h"

#include <X11/keysym.h>

using namespace emr::platform;
using namespace emr::platform::x11;

TEST(X11Keys, KeypadKeysWithoutNumLockAreTheEditingKeys) {
    // Level 0 of a keypad key is its editing function: the keypad arrows and
    // Enter act as the main ones, as the framework's keyboard handling expects.
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Up), VK_UP);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Enter), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_ISO_Left_Tab), VK_TAB) << "Shift+Tab is still Tab";
    EXPECT_EQ(VirtualKeyFromKeysym(XK_eacute), 0) << "no virtual key: typed text only";
}

TEST(ClickTracker, SecondPressCompletesADoubleClickOnlyNearbyAndSoon) {
    ClickTracker t;
    EXPECT_FALSE(t.Press(1, TMouseButton::Left, 100, 100, 1000));
    EXPECT_TRUE(t.Press(1, TMouseButton::Left, 104, 96, 1500)) << "4 px and 500 ms are still near and soon";
    EXPECT_FALSE(t.Press(1, TMouseButton::Left, 104, 96, 1600)) << "a third press starts over";

    EXPECT_FALSE(t.Press(1, TMouseButton::Left, 0, 0, 2000));
    EXPECT_FALSE(t.Press(1, TMouseButton::Left, 5, 0, 2100)) << "5 px is too far";
    EXPECT_FALSE(t.Press(1, TMouseButton::Left, 5, 0, 2601)) << "501 ms is too late";
    EXPECT_FALSE(t.Press(1, TMouseButton::Right, 5, 0, 2700)) << "another button";
    EXPECT_FALSE(t.Press(2, TMouseButton::Right, 5, 0, 2800)) << "another window";
    EXPECT_FALSE(t.Press(2, TMouseButton::Right, 5, 0, 10)) << "server time went back (wrapped)";
    t.Reset();
    EXPECT_FALSE(t.Press(2, TMouseButton::Right, 5, 0, 20)) << "forgotten after a reset";
}
