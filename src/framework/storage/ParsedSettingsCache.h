#pragma once

#include <memory>
#include <string>

#include "framework/storage/FileSystem.h"
#include "framework/storage/SettingsDocument.h"

namespace emr {

/// Documents parsed from settings files, each kept while its file keeps the stamp
/// it had when it was read: a window whose panels and toolbars each open the same
/// layout file parses it once. Holds the few files most recently kept; used from
/// the user-interface thread only.
class TParsedSettingsCache {
public:
    static constexpr std::size_t kFiles = 8;

    /// The document parsed by `parser` from the file at `path` when it had `stamp`, or null.
    static std::shared_ptr<const TSettingsDocument> Find(const std::string& path, TSettingsParser parser,
                                                         const TFileStamp& stamp);
    /// Keeps `document`, parsed from the file at `path` that had `stamp` before it was read.
    static void Keep(const std::string& path, TSettingsParser parser, const TFileStamp& stamp,
                     std::shared_ptr<const TSettingsDocument> document);
    static void Clear();
};

} // namespace emr
