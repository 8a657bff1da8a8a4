#pragma once

#include <cstdint>

#include "framework/controls/Messages.h"
#include "framework/forms/MessageDialog.h"

namespace emr {

// The handful of Windows types and constants the regional-format patch speaks in
// (the window messages and message-box flags come from the framework). They keep
// their Windows widths and values so that a native backend can pass them straight
// through.
using LCID = std::uint32_t;
using LCTYPE = std::uint32_t;
using UINT = std::uint32_t;
using HWND = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using DWORD_PTR = std::uintptr_t;

inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;

inline constexpr LCTYPE LOCALE_SSHORTDATE = 0x001F;
inline constexpr LCTYPE LOCALE_SLONGDATE = 0x0020;
inline constexpr LCTYPE LOCALE_STIMEFORMAT = 0x1003;
inline constexpr LCTYPE LOCALE_S1159 = 0x0028;
inline constexpr LCTYPE LOCALE_S2359 = 0x0029;

inline constexpr HWND HWND_BROADCAST = 0xFFFF;
inline constexpr UINT SMTO_ABORTIFHUNG = 0x0002;

/// The three operating-system calls the regional-format patch makes. Strings are
/// zero-terminated byte strings in code page 936, exactly as the ANSI calls take them.
class TLocalePlatform {
public:
    virtual ~TLocalePlatform() = default;

    /// Stores one per-user locale item; false when the item was not stored.
    virtual bool SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) = 0;
    /// Sends `msg` to `window` (HWND_BROADCAST: every top-level window), waiting at
    /// most `timeoutMs` per receiving window. Nonzero when every send completed.
    virtual LRESULT SendMessageTimeoutA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                                        UINT timeoutMs, DWORD_PTR* result) = 0;
    /// Shows a modal message box owned by `owner` and returns the button that closed it.
    virtual int MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) = 0;
};

} // namespace emr
