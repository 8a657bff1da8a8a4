#pragma once

#include <memory>
#include <string>

#include "framework/storage/SettingsStore.h"

namespace emr {

/// The current user's registry key `key` (a path below the user's root,
/// "Software\\Vendor\\Program") as a settings store whose sections are its
/// sub-keys: on Windows the system's own registry, elsewhere the export file of
/// TRegistryStore in the user's configuration folder.
std::unique_ptr<TSettingsStore> MakeUserRegistryStore(const std::string& key);

} // namespace emr
