#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "app/LocalePlatform.h"

namespace emr {

/// One write of the regional-format patch: an item and its code page 936 value.
struct TFormatPatchItem {
    LCTYPE Item;
    std::string_view Value; // without the terminating zero; Value.data() is zero-terminated
};

/// The five writes, in the order they are made.
const std::array<TFormatPatchItem, 5>& FormatPatchTable();

/// The caption and texts of the report boxes, in code page 936.
std::string_view PatchReportCaption();
std::string_view PatchSuccessText();
std::string_view PatchFailureText();

inline constexpr UINT kPatchBroadcastTimeoutMs = 10;
inline constexpr UINT kPatchReportFlags = MB_OK | MB_ICONINFORMATION;

/// Makes all five writes in table order, whatever each returns, inside one update
/// group of the platform, then broadcasts WM_SETTINGCHANGE to every top-level
/// window. The group is stored before the broadcast, and only when every write was
/// accepted. Returns true when every write was stored; the broadcast's answer is
/// not examined.
bool ApplyFormatPatch(TLocalePlatform& platform);

enum class TPatchOutcome {
    Applied, // every write stored: success box shown, close requested
    Refused, // a write was refused: failure box shown, window stays
    Failed,  // a step threw: failure box shown, window stays
};

/// The sequence behind the "确定" button: the patch, the success box and the
/// request to close the main window, all inside one guard. When a step throws or
/// any write was refused, the failure box is shown instead and nothing is closed.
TPatchOutcome RunApplySequence(TLocalePlatform& platform, HWND owner,
                               const std::function<void()>& closeMainWindow);

} // namespace emr
