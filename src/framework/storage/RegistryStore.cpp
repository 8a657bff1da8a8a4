#include "framework/storage/RegistryStore.h"

#include "framework/storage/ConfigFolder.h"
#include "framework/storage/RegistryDocument.h"

namespace emr {

namespace {

std::string_view TrimBackslashes(std::string_view s) {
    while (s.starts_with('\\'))
        s.remove_prefix(1);
    while (s.ends_with('\\'))
        s.remove_suffix(1);
    return s;
}

} // namespace

TRegistryStore::TRegistryStore(std::string key, std::string path)
    : TFileSettingsStore(std::move(path), &TRegistryDocument::Parse), key_(TrimBackslashes(key)) {}

std::string TRegistryStore::DefaultPath() {
    const std::string folder = ConfigFolder();
    return folder.empty() ? std::string() : folder + "/" + std::string(kFileName);
}

std::string TRegistryStore::DocumentSection(std::string_view section) const {
    std::string path(kRoot);
    if (!key_.empty()) path += "\\" + key_;
    section = TrimBackslashes(section);
    if (!section.empty()) path += "\\" + std::string(section);
    return path;
}

} // namespace emr
