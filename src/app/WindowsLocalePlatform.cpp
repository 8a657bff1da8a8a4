#include "app/WindowsLocalePlatform.h"

#include <string>

#include <windows.h>

namespace emr {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's wide strings are UTF-16");

LPCWSTR Wide(const char16_t* text) {
    return reinterpret_cast<LPCWSTR>(text);
}

/// Text in the process's ANSI code page as UTF-8, the framework's encoding.
std::string AnsiToUtf8(const char* text) {
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (wideLength <= 1) return {};
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, out.data(), length, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(length - 1));
    return out;
}

/// One item of the user's settings, or `fallback` when the system has none.
std::string Item(LCTYPE item, const char* fallback) {
    char buffer[128] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer) <= 0) return fallback;
    return AnsiToUtf8(buffer);
}

} // namespace

UINT TWindowsLocalePlatform::AnsiCodePage() const {
    return ::GetACP();
}

bool TWindowsLocalePlatform::SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) {
    return ::SetLocaleInfoA(locale, item, value) != FALSE;
}

bool TWindowsLocalePlatform::SetLocaleInfoW(LCID locale, LCTYPE item, const char16_t* value) {
    return ::SetLocaleInfoW(locale, item, Wide(value)) != FALSE;
}

LRESULT TWindowsLocalePlatform::SendMessageTimeoutA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                                    UINT flags, UINT timeoutMs, DWORD_PTR* result) {
    ::DWORD_PTR answer = 0;
    const ::LRESULT sent = ::SendMessageTimeoutA(reinterpret_cast<::HWND>(window), msg, wParam, lParam, flags,
                                                 timeoutMs, &answer);
    if (result) *result = static_cast<DWORD_PTR>(answer);
    return static_cast<LRESULT>(sent);
}

int TWindowsLocalePlatform::MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) {
    return ::MessageBoxA(reinterpret_cast<::HWND>(owner), text, caption, flags | MB_APPLMODAL);
}

int TWindowsLocalePlatform::MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption,
                                        UINT flags) {
    return ::MessageBoxW(reinterpret_cast<::HWND>(owner), Wide(text), Wide(caption), flags | MB_APPLMODAL);
}

TStartupFormats TWindowsLocalePlatform::ReadStartupFormats() {
    TStartupFormats formats;
    formats.ShortDateFormat = Item(LOCALE_SSHORTDATE, "MM/dd/yy");
    formats.LongTimeFormat = Item(LOCALE_STIMEFORMAT, "HH:mm:ss");
    formats.TimeAMString = Item(LOCALE_S1159, "am");
    formats.TimePMString = Item(LOCALE_S2359, "pm");
    return formats;
}

} // namespace emr
