#include "app/LinuxLocalePlatform.h"

#include <cstdio>

#include "app/TextEncoding.h"

namespace emr {

namespace {

/// "0x1003": locale items are known by their numbers in hexadecimal.
std::string ItemNumber(LCTYPE item) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(item));
    return text;
}

} // namespace

TLinuxLocalePlatform::TLinuxLocalePlatform(TRegionalSettingsStore& store)
    : store_(store),
      reporter_([](const std::string& reason) { std::fprintf(stderr, "emrpatch: %s\n", reason.c_str()); }) {}

bool TLinuxLocalePlatform::Refuse(const std::string& reason) {
    if (reporter_) reporter_(reason);
    return false;
}

void TLinuxLocalePlatform::BeginUpdate() {
    store_.BeginUpdate();
}

bool TLinuxLocalePlatform::EndUpdate(bool commit) {
    if (!commit) {
        store_.Discard();
        return true;
    }
    return store_.Commit() || Refuse(store_.LastError());
}

bool TLinuxLocalePlatform::Store(LCID locale, LCTYPE item, const std::optional<std::string>& text,
                                 const char* encoding) {
    if (locale != LOCALE_USER_DEFAULT) return Refuse("only the current user's settings can be changed");
    const std::string_view key = TRegionalSettingsStore::KeyOf(item);
    if (key.empty()) return Refuse("no setting is kept for locale item " + ItemNumber(item));
    if (!text) return Refuse("cannot store " + std::string(key) + ": the value is not " + encoding + " text");
    return store_.Write(item, *text) || Refuse(store_.LastError());
}

bool TLinuxLocalePlatform::SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) {
    if (!value) return Refuse("no value given for locale item " + ItemNumber(item));
    return Store(locale, item, Cp936ToUtf8(value), "code page 936");
}

bool TLinuxLocalePlatform::SetLocaleInfoW(LCID locale, LCTYPE item, const char16_t* value) {
    if (!value) return Refuse("no value given for locale item " + ItemNumber(item));
    return Store(locale, item, Utf16ToUtf8(value), "UTF-16");
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

int TLinuxLocalePlatform::MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT flags) {
    if (!shower_) return 0;
    // Only shown, so a malformed text is shown as nothing rather than refused.
    return shower_(owner, Utf16ToUtf8(text ? text : u"").value_or(""),
                   Utf16ToUtf8(caption ? caption : u"").value_or(""), flags);
}

} // namespace emr
