#include "framework/storage/RegistryStore.h"

#include "framework/storage/ConfigFolder.h"
#include "framework/storage/RegistryDocument.h"

namespace emr {

std::string_view TRegistryStore::TrimmedKeyPath(std::string_view path) {
    while (path.starts_with('\\'))
        path.remove_prefix(1);
    while (path.ends_with('\\'))
        path.remove_suffix(1);
    return path;
}

TRegistryStore::TRegistryStore(std::string key, std::string path)
    : TFileSettingsStore(std::move(path), &TRegistryDocument::Parse), key_(TrimmedKeyPath(key)) {}

std::string TRegistryStore::DefaultPath() {
    const std::string folder = ConfigFolder();
    return folder.empty() ? std::string() : folder + "/" + std::string(kFileName);
}

std::string TRegistryStore::DocumentSection(std::string_view section) const {
    std::string path(kRoot);
    if (!key_.empty()) path += "\\" + key_;
    section = TrimmedKeyPath(section);
    if (!section.empty()) path += "\\" + std::string(section);
    return path;
}

} // namespace emr
