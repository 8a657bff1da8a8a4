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

/// The ANSI code page of a Chinese (PRC) system, GBK: the one the patch's byte
/// strings are written in.
inline constexpr UINT kGbkCodePage = 936;
inline constexpr UINT SMTO_ABORTIFHUNG = 0x0002;

/// The operating-system calls the regional-format patch makes. The ANSI calls take
/// zero-terminated byte strings that the system reads in its ANSI code page; the
/// wide calls take zero-terminated UTF-16, which every system reads alike.
class TLocalePlatform {
public:
    virtual ~TLocalePlatform() = default;

    /// The code page in which the system reads the bytes of the ANSI calls (GetACP).
    virtual UINT AnsiCodePage() const = 0;

    /// Opens a group of SetLocaleInfo calls that a platform able to do so stores
    /// together or not at all: inside the group a write only checks and keeps its
    /// value (still refusing what it could never store), and EndUpdate stores them.
    /// Windows has no such grouping, so by default both do nothing and every write
    /// is stored as it is made.
    virtual void BeginUpdate() {}
    /// Closes the group. With `commit`, stores every value kept since BeginUpdate in
    /// one step and returns false when that failed (nothing of the group is stored
    /// then); without, forgets them and returns true. Must not throw when `commit`
    /// is false, so that it can close a group that a throwing call left open.
    virtual bool EndUpdate(bool commit) {
        (void)commit;
        return true;
    }

    /// Stores one per-user locale item; false when the item was not stored.
    virtual bool SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) = 0;
    /// SetLocaleInfoA with the value in UTF-16.
    virtual bool SetLocaleInfoW(LCID locale, LCTYPE item, const char16_t* value) = 0;
    /// Sends `msg` to `window` (HWND_BROADCAST: every top-level window), waiting at
    /// most `timeoutMs` per receiving window. Nonzero when every send completed.
    virtual LRESULT SendMessageTimeoutA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                                        UINT timeoutMs, DWORD_PTR* result) = 0;
    /// Shows a modal message box owned by `owner` and returns the button that closed it.
    virtual int MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) = 0;
    /// MessageBoxA with text and caption in UTF-16.
    virtual int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT flags) = 0;
};

} // namespace emr
