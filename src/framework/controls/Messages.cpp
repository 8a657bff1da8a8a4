#include "framework/controls/Messages.h"

#include <cctype>
#include <map>

namespace emr {

unsigned RegisterWindowMessage(const std::string& name) {
    // Names compare without regard to case.
    std::string key = name;
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static std::map<std::string, unsigned> registered;
    auto [it, added] = registered.try_emplace(key, 0xC000u + static_cast<unsigned>(registered.size()));
    return it->second;
}

} // namespace emr
