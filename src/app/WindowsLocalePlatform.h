#pragma once

#include "app/LocalePlatform.h"
#include "app/StartupFormats.h"

namespace emr {

/// The locale platform of the Windows program: the system's own calls. Each
/// write is stored by the system as it is made (no grouping), the broadcast is
/// the system's, and the reports are the system's message boxes, so that on a
/// Chinese system they look like every other program's.
class TWindowsLocalePlatform : public TLocalePlatform {
public:
    /// GetACP.
    UINT AnsiCodePage() const override;
    /// SetLocaleInfoA with the bytes as they are (code page 936 on a Chinese system).
    bool SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) override;
    bool SetLocaleInfoW(LCID locale, LCTYPE item, const char16_t* value) override;
    /// SendMessageTimeoutA with exactly the parameters given.
    LRESULT SendMessageTimeoutA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeoutMs, DWORD_PTR* result) override;
    /// MessageBoxA owned by `owner` (a window of the Windows backend), modal to the application.
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) override;
    int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT flags) override;

    /// The current user's formats as GetLocaleInfoA reports them, in UTF-8.
    static TStartupFormats ReadStartupFormats();
};

} // namespace emr
