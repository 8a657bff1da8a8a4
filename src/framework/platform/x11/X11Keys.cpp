#include "framework/platform/x11/X11Keys.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace emr::platform::x11 {

namespace {

struct TKeyMapping {
    unsigned long Keysym;
    int Key;
};

// Keys whose code does not follow from a range below.
constexpr TKeyMapping kKeys[] = {
    {XK_BackSpace, VK_BACK},
    {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB},
    {XK_Return, VK_RETURN},
    {XK_KP_Enter, VK_RETURN},
    {XK_Shift_L, VK_SHIFT},
    {XK_Shift_R, VK_SHIFT},
    {XK_Control_L, VK_CONTROL},
    {XK_Control_R, VK_CONTROL},
    {XK_Alt_L, VK_MENU},
    {XK_Alt_R, VK_MENU},
    {XK_Meta_L, VK_MENU},
    {XK_Meta_R, VK_MENU},
    {XK_Pause, 0x13},
    {XK_Caps_Lock, 0x14},
    {XK_Escape, VK_ESCAPE},
    {XK_space, VK_SPACE},
    {XK_KP_Space, VK_SPACE},
    {XK_Prior, VK_PRIOR},
    {XK_KP_Prior, VK_PRIOR},
    {XK_Next, VK_NEXT},
    {XK_KP_Next, VK_NEXT},
    {XK_End, VK_END},
    {XK_KP_End, VK_END},
    {XK_Home, VK_HOME},
    {XK_KP_Home, VK_HOME},
    {XK_Left, VK_LEFT},
    {XK_KP_Left, VK_LEFT},
    {XK_Up, VK_UP},
    {XK_KP_Up, VK_UP},
    {XK_Right, VK_RIGHT},
    {XK_KP_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},
    {XK_KP_Down, VK_DOWN},
    {XK_Print, 0x2C},
    {XK_Insert, 0x2D},
    {XK_KP_Insert, 0x2D},
    {XK_Delete, VK_DELETE},
    {XK_KP_Delete, VK_DELETE},
    {XK_KP_Begin, 0x0C},
    {XK_Super_L, 0x5B},
    {XK_Super_R, 0x5C},
    {XK_Menu, 0x5D},
    {XK_KP_Multiply, 0x6A},
    {XK_KP_Add, 0x6B},
    {XK_KP_Separator, 0x6C},
    {XK_KP_Subtract, 0x6D},
    {XK_KP_Decimal, 0x6E},
    {XK_KP_Divide, 0x6F},
    {XK_Num_Lock, 0x90},
    {XK_Scroll_Lock, 0x91},
    {XK_semicolon, 0xBA},
    {XK_equal, 0xBB},
    {XK_comma, 0xBC},
    {XK_minus, 0xBD},
    {XK_period, 0xBE},
    {XK_slash, 0xBF},
    {XK_grave, 0xC0},
    {XK_bracketleft, 0xDB},
    {XK_backslash, 0xDC},
    {XK_bracketright, 0xDD},
    {XK_apostrophe, 0xDE},
};

} // namespace

int VirtualKeyFromKeysym(unsigned long keysym) {
    if (keysym >= XK_a && keysym <= XK_z) return static_cast<int>(keysym - XK_a) + 'A';
    if (keysym >= XK_A && keysym <= XK_Z) return static_cast<int>(keysym - XK_A) + 'A';
    if (keysym >= XK_0 && keysym <= XK_9) return static_cast<int>(keysym - XK_0) + '0';
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<int>(keysym - XK_KP_0) + 0x60;
    if (keysym >= XK_F1 && keysym <= XK_F24) return static_cast<int>(keysym - XK_F1) + VK_F1;
    for (const TKeyMapping& m : kKeys)
        if (m.Keysym == keysym) return m.Key;
    return 0;
}

TShiftState ShiftFromXState(unsigned int state) {
    TShiftState shift = 0;
    if (state & ShiftMask) shift |= ssShift;
    if (state & ControlMask) shift |= ssCtrl;
    if (state & Mod1Mask) shift |= ssAlt;
    if (state & Button1Mask) shift |= ssLeft;
    if (state & Button2Mask) shift |= ssMiddle;
    if (state & Button3Mask) shift |= ssRight;
    return shift;
}

TShiftState ShiftAfterKey(TShiftState before, int virtualKey, bool pressed) {
    TShiftState flag = 0;
    switch (virtualKey) {
    case VK_SHIFT:
        flag = ssShift;
        break;
    case VK_CONTROL:
        flag = ssCtrl;
        break;
    case VK_MENU:
        flag = ssAlt;
        break;
    default:
        return before;
    }
    return pressed ? (before | flag) : (before & ~flag);
}

} // namespace emr::platform::x11
