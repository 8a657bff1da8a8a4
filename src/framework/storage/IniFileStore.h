#pragma once

#include <string>

#include "framework/storage/FileSettingsStore.h"

namespace emr {

/// Values in an INI file: an absolute file name is used as given, a relative one
/// is taken under the user's configuration folder.
class TIniFileStore : public TFileSettingsStore {
public:
    /// File operations go through `files` (null: the system's own).
    explicit TIniFileStore(const std::string& fileName, TFileSystem* files = nullptr);
    static std::string PathFor(const std::string& fileName);
};

} // namespace emr
