#include "framework/storage/win32/Win32RegistryStore.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "framework/storage/RegistryStore.h"
#include "framework/storage/SettingsDocument.h"
#include "framework/storage/win32/WideText.h"

namespace emr {

namespace {

using win32_text::Narrow;
using win32_text::Wide;

/// An open registry key, closed when it goes.
class TKey {
public:
    TKey() = default;
    TKey(const TKey&) = delete;
    TKey& operator=(const TKey&) = delete;
    ~TKey() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

struct TRegValue {
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data;
};

std::optional<TRegValue> Query(HKEY key, const std::wstring& name) {
    TRegValue value;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &value.Type, nullptr, &size);
    // The value may grow between the two calls.
    for (int attempt = 0; attempt < 4 && status == ERROR_SUCCESS; ++attempt) {
        value.Data.resize(size);
        status = RegQueryValueExW(key, name.c_str(), nullptr, &value.Type, value.Data.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.Data.resize(size);
            return value;
        }
        if (status == ERROR_MORE_DATA) status = ERROR_SUCCESS;
    }
    return std::nullopt;
}

/// The text of a REG_SZ value, without the terminating zeros it is stored with.
std::string TextOf(const TRegValue& value) {
    std::wstring text(value.Data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), value.Data.data(), text.size() * sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return Narrow(text);
}

} // namespace

TWin32RegistryStore::TWin32RegistryStore(const std::string& key)
    : key_(TRegistryStore::TrimmedKeyPath(key)) {}

std::string TWin32RegistryStore::SubKey(std::string_view section) const {
    section = TRegistryStore::TrimmedKeyPath(section);
    if (key_.empty() || section.empty()) return {};
    return key_ + "\\" + std::string(section);
}

std::string TWin32RegistryStore::KeyName(std::string_view section) const {
    return "HKEY_CURRENT_USER\\" + SubKey(section);
}

namespace {

std::optional<TRegValue> Read(const std::string& subKey, std::string_view name) {
    if (subKey.empty()) return std::nullopt;
    TKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(subKey).c_str(), 0, KEY_QUERY_VALUE, key.Out()) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return Query(key.Get(), Wide(name));
}

} // namespace

int TWin32RegistryStore::ReadInteger(std::string_view section, std::string_view name, int fallback) {
    const std::optional<TRegValue> v = Read(SubKey(section), name);
    if (!v) return fallback;
    if (v->Type == REG_DWORD && v->Data.size() == sizeof(std::uint32_t)) {
        std::uint32_t number = 0;
        std::memcpy(&number, v->Data.data(), sizeof number);
        return static_cast<int>(static_cast<std::int32_t>(number));
    }
    if (v->Type == REG_SZ) return ParseDecimal(TextOf(*v)).value_or(fallback);
    return fallback;
}

std::string TWin32RegistryStore::ReadString(std::string_view section, std::string_view name,
                                            std::string_view fallback) {
    const std::optional<TRegValue> v = Read(SubKey(section), name);
    if (!v) return std::string(fallback);
    if (v->Type == REG_SZ) return TextOf(*v);
    if (v->Type == REG_DWORD && v->Data.size() == sizeof(std::uint32_t)) {
        std::uint32_t number = 0;
        std::memcpy(&number, v->Data.data(), sizeof number);
        return std::to_string(static_cast<std::int32_t>(number));
    }
    return std::string(fallback);
}

namespace {

[[noreturn]] void Refused(const std::string& where, std::string_view name, LSTATUS status) {
    throw ESettingsStoreError("cannot write " + where + "\\" + std::string(name) + ": " +
                              win32_text::ErrorText(static_cast<DWORD>(status)));
}

} // namespace

void TWin32RegistryStore::WriteInteger(std::string_view section, std::string_view name, int value) {
    const std::string subKey = SubKey(section);
    if (subKey.empty()) return;
    TKey key;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CURRENT_USER, Wide(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.Out(), nullptr);
    if (status != ERROR_SUCCESS) Refused(KeyName(section), name, status);
    const std::wstring wideName = Wide(name);
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
        type == REG_SZ) {
        // A value someone keeps as text stays text.
        const std::wstring text = Wide(std::to_string(value));
        status = RegSetValueExW(key.Get(), wideName.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    } else {
        const DWORD number = static_cast<DWORD>(static_cast<std::uint32_t>(value));
        status = RegSetValueExW(key.Get(), wideName.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&number), sizeof number);
    }
    if (status != ERROR_SUCCESS) Refused(KeyName(section), name, status);
}

void TWin32RegistryStore::WriteString(std::string_view section, std::string_view name,
                                      std::string_view value) {
    const std::string subKey = SubKey(section);
    if (subKey.empty()) return;
    TKey key;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, Wide(subKey).c_str(), 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Out(), nullptr);
    if (status != ERROR_SUCCESS) Refused(KeyName(section), name, status);
    const std::wstring text = Wide(value);
    status =
        RegSetValueExW(key.Get(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) Refused(KeyName(section), name, status);
}

} // namespace emr
