#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace emr {

/// Converts code page 936 (GBK) bytes to UTF-8; nullopt when the bytes are not valid GBK.
std::optional<std::string> Cp936ToUtf8(std::string_view bytes);

/// Like Cp936ToUtf8, but never fails: each invalid byte becomes U+FFFD. For text
/// that is only shown, such as a message box.
std::string Cp936ToUtf8Lossy(std::string_view bytes);

/// Converts zero-terminated UTF-16 to UTF-8; nullopt for an unpaired surrogate.
std::optional<std::string> Utf16ToUtf8(const char16_t* units);

/// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or code
/// points above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

} // namespace emr
