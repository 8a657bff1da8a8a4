#include "app/LinuxLocalePlatform.h"

#include "app/TextEncoding.h"

namespace emr {

TLinuxLocalePlatform::TLinuxLocalePlatform(TRegionalSettingsStore& store) : store_(store) {}

bool TLinuxLocalePlatform::SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) {
    if (locale != LOCALE_USER_DEFAULT || !value) return false;
    if (TRegionalSettingsStore::KeyOf(item).empty()) return false;
    const auto text = Cp936ToUtf8(value);
    if (!text) return false;
    return store_.Write(item, *text);
}

LRESULT TLinuxLocalePlatform::SendMessageTimeoutA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                                  UINT flags, UINT timeoutMs, DWORD_PTR* result) {
    if (result) *result = 0;
    if (sender_) return sender_(window, msg, wParam, lParam, flags, timeoutMs);
    // With no windows to reach, a broadcast has reached all of them.
    return window == HWND_BROADCAST ? 1 : 0;
}

int TLinuxLocalePlatform::MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) {
    if (!shower_) return 0;
    return shower_(owner, Cp936ToUtf8Lossy(text ? text : ""), Cp936ToUtf8Lossy(caption ? caption : ""),
                   flags);
}

} // namespace emr
