#include "framework/storage/ConfigFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace emr {

std::string ConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return config;
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || home[0] != '/') return {};
    return std::string(home) + "/.config";
}

bool IsAbsolutePath(const std::string& path) {
    return path.starts_with('/');
}

} // namespace emr
