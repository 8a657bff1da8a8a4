#pragma once

#include <cstdint>
#include <string>

#include "framework/core/Geometry.h"

namespace emr {

/// A pointer event carried typed from the backend to the control: no packing
/// into message parameters, no modifier lost on the way.
struct TMouseInput {
    /// Keys and buttons held (the framework's shift state, Alt included).
    std::uint32_t Shift = 0;
    /// Where the pointer is, in the target's client coordinates and on the screen.
    TPoint Client;
    TPoint Screen;
    /// 2 for the press that completes a double click, else 1.
    int ClickCount = 1;
};

/// One window message as the framework dispatches it. Mouse messages from the
/// backend carry their input in Mouse; a mouse message made by hand (Perform)
/// may instead pack the client position into LParam (MakeLParam) and the MK_*
/// flags into WParam, as on Windows.
struct TMessage {
    unsigned Msg = 0;
    std::intptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
    const TMouseInput* Mouse = nullptr;
};

// Window messages, numbered as on Windows.
inline constexpr unsigned WM_NULL = 0x0000;
inline constexpr unsigned WM_CREATE = 0x0001;
inline constexpr unsigned WM_DESTROY = 0x0002;
inline constexpr unsigned WM_MOVE = 0x0003;
inline constexpr unsigned WM_SIZE = 0x0005;
inline constexpr unsigned WM_ACTIVATE = 0x0006;
inline constexpr unsigned WM_SETFOCUS = 0x0007;
inline constexpr unsigned WM_KILLFOCUS = 0x0008;
inline constexpr unsigned WM_ENABLE = 0x000A;
inline constexpr unsigned WM_PAINT = 0x000F;
inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_QUIT = 0x0012;
inline constexpr unsigned WM_ERASEBKGND = 0x0014;
inline constexpr unsigned WM_SHOWWINDOW = 0x0018;
inline constexpr unsigned WM_SETTINGCHANGE = 0x001A;
inline constexpr unsigned WM_WININICHANGE = WM_SETTINGCHANGE;
inline constexpr unsigned WM_ACTIVATEAPP = 0x001C;
inline constexpr unsigned WM_CANCELMODE = 0x001F;
inline constexpr unsigned WM_SETCURSOR = 0x0020;
inline constexpr unsigned WM_MOUSEACTIVATE = 0x0021;
inline constexpr unsigned WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr unsigned WM_NCACTIVATE = 0x0086;
inline constexpr unsigned WM_GETDLGCODE = 0x0087;
inline constexpr unsigned WM_KEYDOWN = 0x0100;
inline constexpr unsigned WM_KEYUP = 0x0101;
inline constexpr unsigned WM_CHAR = 0x0102;
inline constexpr unsigned WM_SYSKEYDOWN = 0x0104;
inline constexpr unsigned WM_SYSKEYUP = 0x0105;
inline constexpr unsigned WM_SYSCHAR = 0x0106;
inline constexpr unsigned WM_COMMAND = 0x0111;
inline constexpr unsigned WM_SYSCOMMAND = 0x0112;
inline constexpr unsigned WM_TIMER = 0x0113;
inline constexpr unsigned WM_ENTERMENULOOP = 0x0211;
inline constexpr unsigned WM_EXITMENULOOP = 0x0212;
inline constexpr unsigned WM_MOUSEFIRST = 0x0200;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200;
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
inline constexpr unsigned WM_RBUTTONDOWN = 0x0204;
inline constexpr unsigned WM_RBUTTONUP = 0x0205;
inline constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
inline constexpr unsigned WM_MBUTTONDOWN = 0x0207;
inline constexpr unsigned WM_MBUTTONUP = 0x0208;
inline constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
inline constexpr unsigned WM_MOUSELAST = 0x0209;
inline constexpr unsigned WM_CAPTURECHANGED = 0x0215;
inline constexpr unsigned WM_MOUSELEAVE = 0x02A3;
inline constexpr unsigned WM_THEMECHANGED = 0x031A;
inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned WM_APP = 0x8000;

// System commands (WM_SYSCOMMAND WParam & 0xFFF0).
inline constexpr unsigned SC_CLOSE = 0xF060;
inline constexpr unsigned SC_KEYMENU = 0xF100;

// Framework (control) messages.
inline constexpr unsigned CM_BASE = 0xB000;
inline constexpr unsigned CM_ACTIVATE = CM_BASE + 0;
inline constexpr unsigned CM_DEACTIVATE = CM_BASE + 1;
inline constexpr unsigned CM_GOTFOCUS = CM_BASE + 2;
inline constexpr unsigned CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr unsigned CM_CANCELMODE = CM_BASE + 4;
inline constexpr unsigned CM_DIALOGKEY = CM_BASE + 5;
inline constexpr unsigned CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr unsigned CM_HITTEST = CM_BASE + 10;
inline constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr unsigned CM_COLORCHANGED = CM_BASE + 13;
inline constexpr unsigned CM_FONTCHANGED = CM_BASE + 14;
inline constexpr unsigned CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr unsigned CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;
inline constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr unsigned CM_MENUCHANGED = CM_BASE + 21;
inline constexpr unsigned CM_APPKEYDOWN = CM_BASE + 22;
inline constexpr unsigned CM_APPSYSCOMMAND = CM_BASE + 23;
/// Sent to the siblings of a grouped button that went down (0xB018); WParam is
/// the group index, LParam the button.
inline constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr unsigned CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr unsigned CM_ENTER = CM_BASE + 26;
inline constexpr unsigned CM_EXIT = CM_BASE + 27;
inline constexpr unsigned CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr unsigned CM_RELEASE = CM_BASE + 33;
inline constexpr unsigned CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr unsigned CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr unsigned CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr unsigned CM_WININICHANGE = CM_BASE + 37;
inline constexpr unsigned CM_TABSTOPCHANGED = CM_BASE + 40;
/// Sent to a parent before a child is inserted (LParam 1) and after one was removed (LParam 0); WParam is the
/// child.
inline constexpr unsigned CM_CONTROLLISTCHANGE = CM_BASE + 44;
inline constexpr unsigned CM_CHILDKEY = CM_BASE + 46;
/// Offered to the top-level window before a key press reaches its controls
/// (WParam the key, LParam the shift state); Result 1 when a shortcut used it.
inline constexpr unsigned CM_SHORTCUT = CM_BASE + 47;
inline constexpr unsigned CM_HINTSHOW = CM_BASE + 48;
/// Sent to a parent after a child was inserted (LParam 1) and before one is removed (LParam 0); WParam is the
/// child.
inline constexpr unsigned CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr unsigned CM_CHANGED = CM_BASE + 55;
inline constexpr unsigned CM_PARENTBIDIMODECHANGED = CM_BASE + 59;
inline constexpr unsigned CM_BIDIMODECHANGED = CM_BASE + 60;
inline constexpr unsigned CM_MOUSEWHEEL = CM_BASE + 67;
/// Sent to every control of a top-level window whose scale changed (device pixels
/// per DIP); geometry is unchanged, what was measured or drawn for the old device
/// pixels is done again.
inline constexpr unsigned CM_SCALECHANGED = CM_BASE + 90;

// Mouse-key flags of mouse messages' WParam.
inline constexpr std::intptr_t MK_LBUTTON = 0x0001;
inline constexpr std::intptr_t MK_RBUTTON = 0x0002;
inline constexpr std::intptr_t MK_SHIFT = 0x0004;
inline constexpr std::intptr_t MK_CONTROL = 0x0008;
inline constexpr std::intptr_t MK_MBUTTON = 0x0010;

// Answers to WM_GETDLGCODE.
inline constexpr std::intptr_t DLGC_WANTARROWS = 0x0001;
inline constexpr std::intptr_t DLGC_WANTTAB = 0x0002;
inline constexpr std::intptr_t DLGC_WANTALLKEYS = 0x0004;
inline constexpr std::intptr_t DLGC_WANTCHARS = 0x0080;

/// Packs a client position into a mouse message's LParam (16 signed bits each).
constexpr std::intptr_t MakeLParam(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16) |
                                      static_cast<std::uint16_t>(x));
}
constexpr int LParamX(std::intptr_t lparam) {
    return static_cast<std::int16_t>(lparam & 0xFFFF);
}
constexpr int LParamY(std::intptr_t lparam) {
    return static_cast<std::int16_t>((lparam >> 16) & 0xFFFF);
}
constexpr TPoint LParamPoint(std::intptr_t lparam) {
    return {LParamX(lparam), LParamY(lparam)};
}

class TControl;

/// What CM_HINTSHOW hands to the control under the pointer (LParam points to it);
/// the control may change the text or position, or answer Result 1 to show no hint.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;
    int HintMaxWidth = 0;
    std::string HintStr;
    TRect CursorRect;
    TPoint CursorPos;
    int ReshowTimeout = 0;
    int HideTimeout = 0;
};

/// A process-wide message number for `name`: the same name always gives the same
/// number, different names different numbers, all at or above 0xC000.
unsigned RegisterWindowMessage(const std::string& name);

} // namespace emr
