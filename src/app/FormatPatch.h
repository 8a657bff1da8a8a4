#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "app/LocalePlatform.h"

namespace emr {

/// One write of the regional-format patch: an item and its value, both as code
/// page 936 bytes and as UTF-16 (the same text).
struct TFormatPatchItem {
    LCTYPE Item;
    std::string_view Value;        // without the terminating zero; Value.data() is zero-terminated
    std::u16string_view WideValue; // likewise
};

/// The five writes, in the order they are made.
const std::array<TFormatPatchItem, 5>& FormatPatchTable();

/// The caption and texts of the report boxes, in code page 936.
std::string_view PatchReportCaption();
std::string_view PatchSuccessText();
std::string_view PatchFailureText();
/// The same in UTF-16 (each view's data() is zero-terminated).
std::u16string_view PatchReportCaptionW();
std::u16string_view PatchSuccessTextW();
std::u16string_view PatchFailureTextW();

/// True when the platform gets the patch's code page 936 bytes through its ANSI
/// calls: only a system whose ANSI code page is 936 reads them as the Chinese they
/// are. Every other system gets the same texts in UTF-16 through the wide calls.
bool UsesAnsiCalls(const TLocalePlatform& platform);

inline constexpr UINT kPatchBroadcastTimeoutMs = 10;
inline constexpr UINT kPatchReportFlags = MB_OK | MB_ICONINFORMATION;

/// Makes all five writes in table order (ANSI or wide calls, see UsesAnsiCalls), whatever each returns,
/// inside one update group of the platform, then broadcasts WM_SETTINGCHANGE to every top-level window. The
/// group is stored before the broadcast, and only when every write was accepted. Returns true when every
/// write was stored; the broadcast's answer is not examined.
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
