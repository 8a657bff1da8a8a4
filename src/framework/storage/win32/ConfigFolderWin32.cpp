#include <cctype>
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

bool IsAbsolutePath(const std::string& path) {
    if (path.starts_with('/') || path.starts_with('\\')) return true;
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           (path[2] == '\\' || path[2] == '/');
}

} // namespace emr
