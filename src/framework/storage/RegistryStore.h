#pragma once

#include <string>
#include <string_view>

#include "framework/storage/FileSettingsStore.h"

namespace emr {

/// Values under one key of the current user's registry, kept on this system as a
/// registry export file in the user's configuration folder. Each section is a
/// sub-key; keys are created when written.
class TRegistryStore : public TFileSettingsStore {
public:
    static constexpr std::string_view kFileName = "user-registry.reg";
    static constexpr std::string_view kRoot = "HKEY_CURRENT_USER";

    /// `key` is a path below the user's root ("Software\\Vendor\\Program").
    explicit TRegistryStore(std::string key, std::string path = DefaultPath());
    static std::string DefaultPath();
    /// A key path without the backslashes that may lead or end it.
    static std::string_view TrimmedKeyPath(std::string_view path);

protected:
    std::string DocumentSection(std::string_view section) const override;

private:
    std::string key_;
};

} // namespace emr
