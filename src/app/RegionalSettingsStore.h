#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/FileSystem.h"
#include "app/LocalePlatform.h"

namespace emr {

/// The current user's regional settings on Linux: section [International] of the
/// file regional-settings.ini under $XDG_CONFIG_HOME, with the value names that
/// Windows gives the locale items. Values are UTF-8.
class TRegionalSettingsStore {
public:
    static constexpr std::string_view kFileName = "regional-settings.ini";
    static constexpr std::string_view kSection = "International";
    /// Mode of a settings file this store creates.
    static constexpr std::uint32_t kNewFileMode = 0600;

    /// A store on `path` (empty: no store, every read and write fails); file operations go through `fs`,
    /// which must outlive the store.
    TRegionalSettingsStore(std::string path, TFileSystem& fs);

    /// $XDG_CONFIG_HOME/regional-settings.ini, or ~/.config/regional-settings.ini when
    /// the variable is unset, empty or not an absolute path; nullopt when there is
    /// no home folder either.
    static std::optional<std::string> DefaultPath();

    /// The value name of a locale item ("sShortDate"), or empty for an item this store does not keep.
    static std::string_view KeyOf(LCTYPE item);

    const std::string& Path() const { return path_; }

    /// The stored value of `item`, when the file exists, is a settings file and holds it.
    std::optional<std::string> Read(LCTYPE item) const;

    /// Stores `value` (UTF-8) for `item` by replacing the whole file in one rename,
    /// keeping every other line, the file's permissions and its owner. False, with
    /// the old file untouched, when the item is unknown, the value holds a control
    /// character, the existing file is not a settings file, or any file step fails.
    bool Write(LCTYPE item, std::string_view value);

private:
    bool ReplaceFile(const std::string& target, const std::string& text, std::uint32_t mode,
                     std::optional<std::pair<std::uint32_t, std::uint32_t>> owner);

    std::string path_;
    TFileSystem& fs_;
};

} // namespace emr
