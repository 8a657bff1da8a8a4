#pragma once

#include <string>

#include "framework/storage/FileSettingsStore.h"

namespace emr {

/// Values in an INI file: an absolute file name is used as given, a relative one
/// is taken under the user's configuration folder.
class TIniFileStore : public TFileSettingsStore {
public:
    explicit TIniFileStore(const std::string& fileName);
    static std::string PathFor(const std::string& fileName);
};

} // namespace emr
