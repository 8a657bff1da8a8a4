#pragma once

#include <string>
#include <string_view>

#include "framework/storage/SettingsStore.h"

namespace emr {

/// Values under one key of the current user's registry (HKEY_CURRENT_USER\Key),
/// each section a sub-key created when first written. Integers are written as
/// REG_DWORD, except over a value that exists as REG_SZ, which gets decimal text;
/// an integer reads from a REG_DWORD or from a REG_SZ of decimal text. Strings are
/// REG_SZ. Reads and writes go to the registry at once, so Close has nothing left
/// to store; a write the registry refuses throws ESettingsStoreError. With an
/// empty Key or Section nothing is read or written.
class TWin32RegistryStore : public TSettingsStore {
public:
    /// `key` is a path below the user's root ("Software\\Vendor\\Program").
    explicit TWin32RegistryStore(const std::string& key);

    void Open() override {}
    int ReadInteger(std::string_view section, std::string_view name, int fallback) override;
    std::string ReadString(std::string_view section, std::string_view name,
                           std::string_view fallback) override;
    void WriteInteger(std::string_view section, std::string_view name, int value) override;
    void WriteString(std::string_view section, std::string_view name, std::string_view value) override;
    void Close() override {}

    /// "HKEY_CURRENT_USER\Key\Section", as messages name it.
    std::string KeyName(std::string_view section) const;

private:
    /// The sub-key path below HKEY_CURRENT_USER, or empty when Key or Section is.
    std::string SubKey(std::string_view section) const;

    std::string key_;
};

} // namespace emr
