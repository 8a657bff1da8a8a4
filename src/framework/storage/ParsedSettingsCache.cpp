#include "framework/storage/ParsedSettingsCache.h"

#include <algorithm>
#include <vector>

namespace emr {

namespace {

struct TCachedFile {
    std::string Path;
    TSettingsParser Parser = nullptr;
    TFileStamp Stamp;
    std::shared_ptr<const TSettingsDocument> Document;
};

/// Oldest first.
std::vector<TCachedFile>& Files() {
    static std::vector<TCachedFile> files;
    return files;
}

} // namespace

std::shared_ptr<const TSettingsDocument>
TParsedSettingsCache::Find(const std::string& path, TSettingsParser parser, const TFileStamp& stamp) {
    for (const TCachedFile& file : Files())
        if (file.Parser == parser && file.Path == path) return file.Stamp == stamp ? file.Document : nullptr;
    return nullptr;
}

void TParsedSettingsCache::Keep(const std::string& path, TSettingsParser parser, const TFileStamp& stamp,
                                std::shared_ptr<const TSettingsDocument> document) {
    std::vector<TCachedFile>& files = Files();
    std::erase_if(files, [&](const TCachedFile& f) { return f.Parser == parser && f.Path == path; });
    if (files.size() >= kFiles) files.erase(files.begin());
    files.push_back({path, parser, stamp, std::move(document)});
}

void TParsedSettingsCache::Clear() {
    Files().clear();
}

} // namespace emr
