#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/LocalePlatform.h"
#include "framework/storage/FileSystem.h"
#include "framework/storage/SettingsDocument.h"

namespace emr {

/// The current user's regional settings on Linux: section [International] of the
/// INI file regional-settings.ini under $XDG_CONFIG_HOME, with the value names that
/// Windows gives the locale items. Values are UTF-8.
class TRegionalSettingsStore {
public:
    static constexpr std::string_view kFileName = "regional-settings.ini";
    static constexpr std::string_view kSection = "International";
    /// Files larger than this are not taken for settings files.
    static constexpr std::size_t kMaxBytes = 1024 * 1024;

    /// A store on `path` (empty: no store, every read and write fails); file operations go through `fs`,
    /// which must outlive the store.
    TRegionalSettingsStore(std::string path, TFileSystem& fs);

    /// $XDG_CONFIG_HOME/regional-settings.ini, or ~/.config/regional-settings.ini when
    /// the variable is unset, empty or not an absolute path; nullopt when there is
    /// no home folder either.
    static std::optional<std::string> DefaultPath();

    /// The value name of a locale item ("sShortDate"), or empty for an item this store does not keep.
    static std::string_view KeyOf(LCTYPE item);

    /// The settings file in `bytes`; null when they are none: larger than kMaxBytes,
    /// or not an INI file (see TIniDocument::Parse).
    static std::unique_ptr<TSettingsDocument> ParseFile(std::string_view bytes);

    const std::string& Path() const { return path_; }

    /// The stored value of `item`, when the file exists, is a settings file and holds it.
    std::optional<std::string> Read(LCTYPE item) const;

    /// Stores `value` (UTF-8) for `item` by replacing the whole file in one rename,
    /// keeping every other line, the file's permissions and its owner; between
    /// BeginUpdate and Commit it only checks and keeps the value. False, with the
    /// old file untouched, when the item is unknown, the value holds a control
    /// character, or (outside an update) the file cannot be written; LastError()
    /// then says why. A file that is no settings file is never overwritten.
    bool Write(LCTYPE item, std::string_view value);

    /// Starts keeping writes instead of storing them one by one.
    void BeginUpdate();
    /// Stores every value kept since BeginUpdate with one replacement of the file,
    /// so that it holds all of them or, on failure, exactly what it held before.
    /// The update ends either way.
    bool Commit();
    /// Forgets the kept values and ends the update.
    void Discard();

    /// Why the last failed Write or Commit failed, in words, e.g. "cannot rename
    /// /x/.regional-settings.ini.ab12CD to /x/regional-settings.ini: No space left on device".
    const std::string& LastError() const { return lastError_; }

private:
    struct TValue {
        std::string_view Key;
        std::string Value;
    };

    bool Store(const std::vector<TValue>& values);
    bool Fail(std::string reason);

    std::string path_;
    TFileSystem& fs_;
    bool updating_ = false;
    std::vector<TValue> kept_;
    std::string lastError_;
};

} // namespace emr
