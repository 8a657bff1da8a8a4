// How the Windows bridge reads the accessible tree in the system's terms: the
// rules are plain functions, checked here on every platform.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "framework/platform/win32/MsaaChildIds.h"
#include "framework/platform/win32/MsaaMapping.h"

namespace emr::platform::win32 {
namespace {

constexpr TAccessibleStates kShownEnabled = asEnabled | asVisible | asShowing;

TEST(MsaaMapping, ButtonsReadAsPushCheckOrMenuButtonsByWhatTheyDo) {
    EXPECT_EQ(MsaaRole(TAccessibleRole::PushButton, kShownEnabled), msaa::kRolePushButton);
    // A drop-down button is announced as opening something.
    EXPECT_EQ(MsaaRole(TAccessibleRole::PushButton, kShownEnabled | asHasPopup), msaa::kRoleButtonMenu);
    EXPECT_EQ(MsaaRole(TAccessibleRole::ToggleButton, kShownEnabled | asChecked), msaa::kRoleCheckButton);
    EXPECT_EQ(MsaaRole(TAccessibleRole::ToolBar, kShownEnabled), msaa::kRoleToolBar);
    EXPECT_EQ(MsaaRole(TAccessibleRole::Separator, kShownEnabled), msaa::kRoleSeparator);
}

TEST(MsaaMapping, MenusAndTheirItemsOfEveryKindAreMenuRoles) {
    EXPECT_EQ(MsaaRole(TAccessibleRole::MenuBar, kShownEnabled), msaa::kRoleMenuBar);
    EXPECT_EQ(MsaaRole(TAccessibleRole::Menu, kShownEnabled), msaa::kRoleMenuPopup);
    for (TAccessibleRole item :
         {TAccessibleRole::MenuItem, TAccessibleRole::CheckMenuItem, TAccessibleRole::RadioMenuItem})
        EXPECT_EQ(MsaaRole(item, kShownEnabled), msaa::kRoleMenuItem);
    EXPECT_EQ(MsaaRole(TAccessibleRole::Alert, kShownEnabled), msaa::kRoleAlert);
    EXPECT_EQ(MsaaRole(TAccessibleRole::Window, kShownEnabled), msaa::kRoleClient);
}

TEST(MsaaMapping, AShownEnabledPlainNodeHasNoStateBitsAtAll) {
    // The system names what is off: an ordinary node must not read as unavailable.
    EXPECT_EQ(MsaaState(kShownEnabled), 0u);
}

TEST(MsaaMapping, DisabledAndHiddenReadAsUnavailableAndInvisibleNotOffscreen) {
    const std::uint32_t hidden = MsaaState(0);
    EXPECT_TRUE(hidden & msaa::kStateUnavailable);
    EXPECT_TRUE(hidden & msaa::kStateInvisible);
    EXPECT_FALSE(hidden & msaa::kStateOffscreen);
    // Visible but clipped away by an ancestor (an overflowing toolbar's button).
    const std::uint32_t clipped = MsaaState(asEnabled | asVisible);
    EXPECT_TRUE(clipped & msaa::kStateOffscreen);
    EXPECT_FALSE(clipped & msaa::kStateInvisible);
}

TEST(MsaaMapping, FocusCheckPressAndDefaultCarryOver) {
    const std::uint32_t bits =
        MsaaState(kShownEnabled | asFocusable | asFocused | asChecked | asPressed | asDefault);
    for (std::uint32_t bit : {msaa::kStateFocusable, msaa::kStateFocused, msaa::kStateChecked,
                              msaa::kStatePressed, msaa::kStateDefault})
        EXPECT_TRUE(bits & bit) << std::hex << bit;
    EXPECT_FALSE(MsaaState(kShownEnabled | asFocusable) & msaa::kStateFocused);
}

TEST(MsaaMapping, APopupOwnerIsCollapsedUntilItsPopupOpens) {
    const std::uint32_t closed = MsaaState(kShownEnabled | asHasPopup);
    EXPECT_TRUE(closed & msaa::kStateHasPopup);
    EXPECT_TRUE(closed & msaa::kStateCollapsed);
    EXPECT_FALSE(closed & msaa::kStateExpanded);
    const std::uint32_t open = MsaaState(kShownEnabled | asHasPopup | asExpanded);
    EXPECT_TRUE(open & msaa::kStateExpanded);
    EXPECT_FALSE(open & msaa::kStateCollapsed);
    // A node with no pop-up is never said to be collapsed.
    EXPECT_FALSE(MsaaState(kShownEnabled) & msaa::kStateCollapsed);
}

TEST(MsaaMapping, EveryTreeEventIsItsOwnSystemEventAndOnlyMenusStartAndEndMenus) {
    std::set<std::uint32_t> events;
    for (TAccessibleEvent event :
         {TAccessibleEvent::FocusChanged, TAccessibleEvent::StateChanged, TAccessibleEvent::NameChanged,
          TAccessibleEvent::ChildrenChanged, TAccessibleEvent::WindowShown, TAccessibleEvent::WindowHidden})
        events.insert(MsaaEvent(event));
    EXPECT_EQ(events.size(), 6u);
    EXPECT_EQ(MsaaEvent(TAccessibleEvent::FocusChanged), msaa::kEventFocus);
    EXPECT_EQ(MsaaEvent(TAccessibleEvent::WindowHidden), msaa::kEventHide);

    EXPECT_EQ(MsaaMenuEvent(TAccessibleEvent::WindowShown, TAccessibleRole::Menu),
              msaa::kEventMenuPopupStart);
    EXPECT_EQ(MsaaMenuEvent(TAccessibleEvent::WindowHidden, TAccessibleRole::Menu), msaa::kEventMenuPopupEnd);
    EXPECT_EQ(MsaaMenuEvent(TAccessibleEvent::WindowShown, TAccessibleRole::Dialog), 0u);
    EXPECT_EQ(MsaaMenuEvent(TAccessibleEvent::FocusChanged, TAccessibleRole::Menu), 0u);
}

TEST(MsaaChildIds, EventIdsAreNegativeStablePerNodeAndLeadBack) {
    TMsaaChildIds ids;
    // Wide node ids too: a cast to 32 bits would make these two one child.
    const AccessibleId first = 7;
    const AccessibleId wide = (AccessibleId{1} << 32) | 7;
    const std::int32_t a = ids.ChildId(first);
    const std::int32_t b = ids.ChildId(wide);
    // Positive ids are an object's children by position; 0 is the object itself.
    EXPECT_LT(a, 0);
    EXPECT_LT(b, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(ids.ChildId(first), a);
    EXPECT_EQ(ids.Node(a), first);
    EXPECT_EQ(ids.Node(b), wide);
}

TEST(MsaaChildIds, NoNodeIsTheObjectItselfAndUnknownIdsLeadNowhere) {
    TMsaaChildIds ids;
    EXPECT_EQ(ids.ChildId(0), 0);
    EXPECT_EQ(ids.Node(-1), 0u);
    ids.ChildId(5);
    EXPECT_EQ(ids.Node(-2), 0u);
    EXPECT_EQ(ids.Node(1), 0u);
}

} // namespace
} // namespace emr::platform::win32
