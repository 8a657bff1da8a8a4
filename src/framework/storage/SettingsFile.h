#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace emr {

/// One settings file on disk, read whole and replaced whole. A replacement is
/// atomic (a temporary file beside it, flushed, then renamed over it) and runs
/// under a lock that other processes saving the same file also take, so that a
/// read-modify-write loses no other process's values. A settings file that is a
/// symbolic link stays one: what it leads to is replaced. The file keeps its
/// permissions; a new one is readable by the user only.
class TSettingsFile {
public:
    /// Files larger than this are not taken for settings files.
    static constexpr std::size_t kMaxBytes = 8 * 1024 * 1024;
    /// Mode of a settings file this class creates.
    static constexpr unsigned kNewFileMode = 0600;

    struct TContent {
        bool Exists = false;
        bool TooLarge = false;
        std::string Bytes;
    };
    struct TReplacement {
        std::string Text;
        /// The current content is no settings file: it is kept under a new name.
        bool KeepAside = false;
    };

    explicit TSettingsFile(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

    /// The file as it is now; throws ESettingsStoreError when it cannot be read.
    TContent Read() const;
    /// Under the lock: reads the file, asks `change` for the new text and replaces
    /// the file with it. Throws ESettingsStoreError, leaving the old file as it
    /// was, when any step fails.
    void Update(const std::function<TReplacement(const TContent& current)>& change);

    /// Under the lock: when the file exists and `unreadable` says that what it holds
    /// is no settings file, renames it to "<name>.unreadable-<time>" as Update does
    /// before replacing such a file, and puts nothing in its place. Returns where it
    /// went, or empty when it stayed. Throws ESettingsStoreError when it cannot.
    std::string KeepAsideIf(const std::function<bool(const TContent& current)>& unreadable);

    /// Where a file kept aside went in the last Update or KeepAsideIf, or empty.
    const std::string& KeptAsidePath() const { return keptAside_; }

private:
    std::string path_;
    std::string keptAside_;
};

} // namespace emr
