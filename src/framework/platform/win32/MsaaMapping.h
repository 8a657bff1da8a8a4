#pragma once
// How the accessible tree reads in the system's accessibility vocabulary: roles,
// state bits and event numbers. Written without the system headers so that the
// rules can be checked on every platform; MsaaObject.cpp checks at compile time
// that each number below is the system's own.
#include <cstdint>

#include "framework/platform/Accessible.h"

namespace emr::platform::win32 {

namespace msaa {

// Roles (ROLE_SYSTEM_*).
constexpr long kRoleMenuBar = 0x02;
constexpr long kRoleAlert = 0x08;
constexpr long kRoleClient = 0x0a;
constexpr long kRoleMenuPopup = 0x0b;
constexpr long kRoleMenuItem = 0x0c;
constexpr long kRolePane = 0x10;
constexpr long kRoleDialog = 0x12;
constexpr long kRoleSeparator = 0x15;
constexpr long kRoleToolBar = 0x16;
constexpr long kRoleStaticText = 0x29;
constexpr long kRoleText = 0x2a;
constexpr long kRolePushButton = 0x2b;
constexpr long kRoleCheckButton = 0x2c;
constexpr long kRoleButtonMenu = 0x39;

// State bits (STATE_SYSTEM_*).
constexpr std::uint32_t kStateUnavailable = 0x1;
constexpr std::uint32_t kStateSelected = 0x2;
constexpr std::uint32_t kStateFocused = 0x4;
constexpr std::uint32_t kStatePressed = 0x8;
constexpr std::uint32_t kStateChecked = 0x10;
constexpr std::uint32_t kStateDefault = 0x100;
constexpr std::uint32_t kStateExpanded = 0x200;
constexpr std::uint32_t kStateCollapsed = 0x400;
constexpr std::uint32_t kStateInvisible = 0x8000;
constexpr std::uint32_t kStateOffscreen = 0x10000;
constexpr std::uint32_t kStateFocusable = 0x100000;
constexpr std::uint32_t kStateHasPopup = 0x40000000;

// Events (EVENT_OBJECT_*, EVENT_SYSTEM_*).
constexpr std::uint32_t kEventMenuPopupStart = 0x0006;
constexpr std::uint32_t kEventMenuPopupEnd = 0x0007;
constexpr std::uint32_t kEventShow = 0x8002;
constexpr std::uint32_t kEventHide = 0x8003;
constexpr std::uint32_t kEventReorder = 0x8004;
constexpr std::uint32_t kEventFocus = 0x8005;
constexpr std::uint32_t kEventStateChange = 0x800A;
constexpr std::uint32_t kEventNameChange = 0x800C;

} // namespace msaa

/// The system's role for a node. A push button that opens a menu is a menu
/// button: screen readers announce that Enter opens something.
constexpr long MsaaRole(TAccessibleRole role, TAccessibleStates states) {
    switch (role) {
    case TAccessibleRole::Dialog:
        return msaa::kRoleDialog;
    case TAccessibleRole::Alert:
        return msaa::kRoleAlert;
    case TAccessibleRole::Panel:
        return msaa::kRolePane;
    case TAccessibleRole::ToolBar:
        return msaa::kRoleToolBar;
    case TAccessibleRole::MenuBar:
        return msaa::kRoleMenuBar;
    case TAccessibleRole::Menu:
        return msaa::kRoleMenuPopup;
    // The system has one menu-item role; the checked state tells the kinds apart.
    case TAccessibleRole::MenuItem:
    case TAccessibleRole::CheckMenuItem:
    case TAccessibleRole::RadioMenuItem:
        return msaa::kRoleMenuItem;
    case TAccessibleRole::PushButton:
        return (states & asHasPopup) ? msaa::kRoleButtonMenu : msaa::kRolePushButton;
    case TAccessibleRole::ToggleButton:
        return msaa::kRoleCheckButton;
    case TAccessibleRole::Separator:
        return msaa::kRoleSeparator;
    case TAccessibleRole::Label:
        return msaa::kRoleStaticText;
    case TAccessibleRole::Text:
        return msaa::kRoleText;
    // A top-level window's node is the client area of its system window, whose
    // frame the system describes itself.
    case TAccessibleRole::Window:
    case TAccessibleRole::Unknown:
        break;
    }
    return msaa::kRoleClient;
}

/// The system's state bits for a node's states. The system names what is off
/// (unavailable, invisible) where the tree names what is on.
constexpr std::uint32_t MsaaState(TAccessibleStates states) {
    std::uint32_t bits = 0;
    if (!(states & asEnabled)) bits |= msaa::kStateUnavailable;
    if (!(states & asVisible))
        bits |= msaa::kStateInvisible;
    else if (!(states & asShowing))
        bits |= msaa::kStateOffscreen;
    if (states & asFocusable) bits |= msaa::kStateFocusable;
    if (states & asFocused) bits |= msaa::kStateFocused;
    if (states & asChecked) bits |= msaa::kStateChecked;
    if (states & asPressed) bits |= msaa::kStatePressed;
    if (states & asDefault) bits |= msaa::kStateDefault;
    if (states & asSelected) bits |= msaa::kStateSelected;
    if (states & asHasPopup)
        bits |= msaa::kStateHasPopup | ((states & asExpanded) ? msaa::kStateExpanded : msaa::kStateCollapsed);
    else if (states & asExpanded)
        bits |= msaa::kStateExpanded;
    return bits;
}

/// The system's event for a change of a node.
constexpr std::uint32_t MsaaEvent(TAccessibleEvent event) {
    switch (event) {
    case TAccessibleEvent::FocusChanged:
        return msaa::kEventFocus;
    case TAccessibleEvent::StateChanged:
        return msaa::kEventStateChange;
    case TAccessibleEvent::NameChanged:
        return msaa::kEventNameChange;
    case TAccessibleEvent::ChildrenChanged:
        return msaa::kEventReorder;
    case TAccessibleEvent::WindowShown:
        return msaa::kEventShow;
    case TAccessibleEvent::WindowHidden:
        break;
    }
    return msaa::kEventHide;
}

/// The menu event that goes with a window event of a pop-up menu's node (menus
/// are announced by their own events); 0 when none does.
constexpr std::uint32_t MsaaMenuEvent(TAccessibleEvent event, TAccessibleRole role) {
    if (role != TAccessibleRole::Menu) return 0;
    if (event == TAccessibleEvent::WindowShown) return msaa::kEventMenuPopupStart;
    if (event == TAccessibleEvent::WindowHidden) return msaa::kEventMenuPopupEnd;
    return 0;
}

} // namespace emr::platform::win32
