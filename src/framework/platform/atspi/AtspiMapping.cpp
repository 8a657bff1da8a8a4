#include "framework/platform/atspi/AtspiMapping.h"

namespace emr::platform::atspi {

namespace {

// The protocol's role numbers (AtspiRole).
constexpr std::uint32_t kRoleAlert = 2;
constexpr std::uint32_t kRoleCheckMenuItem = 8;
constexpr std::uint32_t kRoleDialog = 16;
constexpr std::uint32_t kRoleFrame = 23;
constexpr std::uint32_t kRoleLabel = 29;
constexpr std::uint32_t kRoleMenu = 33;
constexpr std::uint32_t kRoleMenuBar = 34;
constexpr std::uint32_t kRoleMenuItem = 35;
constexpr std::uint32_t kRolePanel = 39;
constexpr std::uint32_t kRolePushButton = 43;
constexpr std::uint32_t kRoleRadioMenuItem = 45;
constexpr std::uint32_t kRoleSeparator = 50;
constexpr std::uint32_t kRoleText = 61;
constexpr std::uint32_t kRoleToggleButton = 62;
constexpr std::uint32_t kRoleToolBar = 63;
constexpr std::uint32_t kRoleUnknown = 67;
constexpr std::uint32_t kRoleApplication = 75;

// The protocol's state numbers (AtspiStateType).
enum TAtspiState : std::uint32_t {
    stActive = 1,
    stChecked = 4,
    stEnabled = 8,
    stExpandable = 9,
    stExpanded = 10,
    stFocusable = 11,
    stFocused = 12,
    stModal = 16,
    stPressed = 20,
    stSelectable = 22,
    stSelected = 23,
    stSensitive = 24,
    stShowing = 25,
    stVisible = 30,
    stIsDefault = 39,
    stCheckable = 41,
    stHasPopup = 42,
};

constexpr std::uint32_t kBitsPerWord = 32;

void Set(std::array<std::uint32_t, 2>& words, std::uint32_t state) {
    words[state / kBitsPerWord] |= 1u << (state % kBitsPerWord);
}

} // namespace

TAtspiRole AtspiRole(TAccessibleRole role) {
    switch (role) {
    case TAccessibleRole::Window:
        return {kRoleFrame, "frame"};
    case TAccessibleRole::Dialog:
        return {kRoleDialog, "dialog"};
    case TAccessibleRole::Alert:
        return {kRoleAlert, "alert"};
    case TAccessibleRole::Panel:
        return {kRolePanel, "panel"};
    case TAccessibleRole::ToolBar:
        return {kRoleToolBar, "tool bar"};
    case TAccessibleRole::MenuBar:
        return {kRoleMenuBar, "menu bar"};
    case TAccessibleRole::Menu:
        return {kRoleMenu, "menu"};
    case TAccessibleRole::MenuItem:
        return {kRoleMenuItem, "menu item"};
    case TAccessibleRole::CheckMenuItem:
        return {kRoleCheckMenuItem, "check menu item"};
    case TAccessibleRole::RadioMenuItem:
        return {kRoleRadioMenuItem, "radio menu item"};
    case TAccessibleRole::PushButton:
        return {kRolePushButton, "push button"};
    case TAccessibleRole::ToggleButton:
        return {kRoleToggleButton, "toggle button"};
    case TAccessibleRole::Separator:
        return {kRoleSeparator, "separator"};
    case TAccessibleRole::Label:
        return {kRoleLabel, "label"};
    case TAccessibleRole::Text:
        return {kRoleText, "text"};
    case TAccessibleRole::Unknown:
        break;
    }
    return {kRoleUnknown, "unknown"};
}

TAtspiRole AtspiApplicationRole() {
    return {kRoleApplication, "application"};
}

std::array<std::uint32_t, 2> AtspiStateSet(const TAccessibleNode& node) {
    std::array<std::uint32_t, 2> words{0, 0};
    const TAccessibleStates s = node.States;
    if (s & asEnabled) {
        Set(words, stEnabled);
        Set(words, stSensitive);
    }
    if (s & asVisible) Set(words, stVisible);
    if (s & asShowing) Set(words, stShowing);
    if (s & asFocusable) Set(words, stFocusable);
    if (s & asFocused) Set(words, stFocused);
    if (s & asChecked) Set(words, stChecked);
    if (s & asPressed) Set(words, stPressed);
    if (s & asHasPopup) {
        Set(words, stHasPopup);
        Set(words, stExpandable);
    }
    if (s & asExpanded) Set(words, stExpanded);
    if (s & asDefault) Set(words, stIsDefault);
    if (s & asActive) Set(words, stActive);
    if (s & asModal) Set(words, stModal);
    if (s & asSelected) Set(words, stSelected);
    const bool checkable = node.Role == TAccessibleRole::ToggleButton ||
                           node.Role == TAccessibleRole::CheckMenuItem ||
                           node.Role == TAccessibleRole::RadioMenuItem;
    if (checkable) Set(words, stCheckable);
    if (node.Role == TAccessibleRole::MenuItem || checkable) Set(words, stSelectable);
    return words;
}

const std::vector<TAtspiStateName>& AtspiStateNames() {
    static const std::vector<TAtspiStateName> names = {
        {asEnabled, "enabled"}, {asEnabled, "sensitive"}, {asVisible, "visible"},    {asShowing, "showing"},
        {asFocused, "focused"}, {asChecked, "checked"},   {asPressed, "pressed"},    {asExpanded, "expanded"},
        {asActive, "active"},   {asSelected, "selected"}, {asDefault, "is-default"}, {asModal, "modal"},
    };
    return names;
}

} // namespace emr::platform::atspi
