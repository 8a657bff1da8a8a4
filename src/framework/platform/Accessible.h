#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/core/Geometry.h"

namespace emr::platform {

using WindowId = std::uint64_t;

/// One node of the accessible tree, stable for as long as what it describes lives
/// (a removed control's id is never given to another); 0 is "none".
using AccessibleId = std::uint64_t;

enum class TAccessibleRole {
    Unknown,
    Window,
    Dialog,
    Alert,
    Panel,
    ToolBar,
    MenuBar,
    Menu,
    MenuItem,
    CheckMenuItem,
    RadioMenuItem,
    PushButton,
    ToggleButton,
    Separator,
    Label,
    Text,
};

/// State flags of a node.
enum TAccessibleState : std::uint32_t {
    asEnabled = 1u << 0,
    asVisible = 1u << 1,
    asShowing = 1u << 2, // visible and not clipped away by an ancestor
    asFocusable = 1u << 3,
    asFocused = 1u << 4,
    asChecked = 1u << 5,
    asPressed = 1u << 6,
    asHasPopup = 1u << 7,
    asExpanded = 1u << 8,
    asDefault = 1u << 9, // the button Enter presses
    asActive = 1u << 10, // the active top-level window
    asModal = 1u << 11,
    asSelected = 1u << 12,
};
using TAccessibleStates = std::uint32_t;

/// What a node is, as both platform bridges read it.
struct TAccessibleNode {
    TAccessibleRole Role = TAccessibleRole::Unknown;
    /// The text a user would read on the control, hot-key markers removed.
    std::string Name;
    std::string Description;
    /// The key that reaches the node from anywhere in its window ("Alt+F", "Ctrl+S"); empty for none.
    std::string KeyShortcut;
    TAccessibleStates States = 0;
    /// Bounds in screen device pixels.
    TRect Extents;
    WindowId Window = 0;
    AccessibleId Parent = 0;
    std::vector<AccessibleId> Children;
    /// Action names in the order DoAction numbers them (kClickAction, kOpenAction, "close").
    std::vector<std::string> Actions;
};

/// Screen readers offer the action under this name on buttons and menu items; it does what a
/// mouse click does, so a reader that looks for "click" finds it.
inline constexpr const char* kClickAction = "click";
/// Opens the drop-down menu or sub-menu of a node that has one.
inline constexpr const char* kOpenAction = "open";

enum class TAccessibleEvent {
    FocusChanged,    // the node took the keyboard focus
    StateChanged,    // one of its states changed
    NameChanged,     // its name changed
    ChildrenChanged, // children were added or removed
    WindowShown,     // a top-level node appeared
    WindowHidden,    // a top-level node disappeared or was destroyed
};

/// The framework's accessible tree as the platform bridges see it. Every call runs
/// on the thread of the application loop.
class AccessibleSource {
public:
    virtual ~AccessibleSource() = default;
    /// The framework's top-level windows that are shown.
    virtual std::vector<WindowId> TopLevelWindows() = 0;
    /// The node of a top-level window; 0 when the window is not the framework's.
    virtual AccessibleId WindowRoot(WindowId window) = 0;
    /// The node as it is now; nullopt once what it described is gone.
    virtual std::optional<TAccessibleNode> Describe(AccessibleId id) = 0;
    /// The deepest node under a point in screen device pixels, or 0.
    virtual AccessibleId At(TPoint screen) = 0;
    /// The node holding the keyboard focus, or 0.
    virtual AccessibleId Focused() = 0;
    /// Runs action `index` of the node from the application loop once the caller
    /// has returned (an action may open a modal window); false when the node or the
    /// action does not exist.
    virtual bool DoAction(AccessibleId id, int index) = 0;
};

} // namespace emr::platform
