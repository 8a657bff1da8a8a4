#include <cstdlib>
#include <string>

#include "framework/storage/ConfigFolder.h"

namespace emr {

// The user's roaming application-data folder, where per-user settings live on
// Windows; empty when the environment names none.
std::string ConfigFolder() {
    const char* appData = std::getenv("APPDATA");
    return appData && *appData ? std::string(appData) : std::string();
}

} // namespace emr
