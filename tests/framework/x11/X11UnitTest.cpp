#include <gtest/gtest.h>

#include "framework/platform/x11/ClickTracker.h"
#include "framework/platform/x11/X11Keys.h"

#include <X11/X.h>
#include <X11/keysym.h>

using namespace emr::platform;
using namespace emr::platform::x11;

TEST(X11Keys, KeysymsMapToVirtualKeys) {
    EXPECT_EQ(VirtualKeyFromKeysym(XK_a), 'A');
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Z), 'Z');
    EXPECT_EQ(VirtualKeyFromKeysym(XK_0), '0');
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F1), VK_F1);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F10), VK_F10);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F12), 0x7B);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Enter), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_ISO_Left_Tab), VK_TAB);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Alt_R), VK_MENU);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Up), VK_UP) << "keypad arrows without Num Lock";
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_7), 0x67);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_eacute), 0);
}

TEST(X11Keys, ModifierKeysChangeTheStateTheyLeaveBehind) {
    EXPECT_EQ(ShiftFromXState(ShiftMask | Mod1Mask | Button3Mask), ssShift | ssAlt | ssRight);
    EXPECT_EQ(ShiftAfterKey(0, VK_CONTROL, true), TShiftState{ssCtrl});
    EXPECT_EQ(ShiftAfterKey(ssCtrl | ssShift, VK_CONTROL, false), TShiftState{ssShift});
    EXPECT_EQ(ShiftAfterKey(ssShift, 'A', true), TShiftState{ssShift});
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
