#include "framework/storage/IniFileStore.h"

#include "framework/storage/ConfigFolder.h"
#include "framework/storage/IniDocument.h"

namespace emr {

TIniFileStore::TIniFileStore(const std::string& fileName, TFileSystem* files)
    : TFileSettingsStore(PathFor(fileName), &TIniDocument::Parse, files) {}

std::string TIniFileStore::PathFor(const std::string& fileName) {
    if (fileName.empty() || IsAbsolutePath(fileName)) return fileName;
    const std::string folder = ConfigFolder();
    return folder.empty() ? std::string() : folder + "/" + fileName;
}

} // namespace emr
