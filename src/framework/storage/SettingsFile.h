#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "framework/storage/FileSystem.h"

namespace emr {

/// One settings file on disk, read whole and replaced whole. A replacement is
/// atomic (a temporary file beside it, flushed, then renamed over it) and runs
/// under a lock on the folder that other processes saving there also take, so
/// that a read-modify-write loses no other process's values; the temporary files
/// of writers that were killed are removed by the next save. A lock another process
/// keeps is waited for a bounded time only. A settings file that is a symbolic link
/// stays one: what it leads to is replaced, unless the link is another user's in a
/// folder anyone may write to (where the kernel would not follow it either). The
/// file keeps its permissions and owner; a new one is readable by the user only.
class TSettingsFile {
public:
    /// Files larger than this are not taken for settings files, unless the owner
    /// of the file says otherwise.
    static constexpr std::size_t kMaxBytes = 8 * 1024 * 1024;
    /// Mode of a settings file this class creates.
    static constexpr unsigned kNewFileMode = 0600;
    /// How long a save waits for the folder's lock while another process holds it.
    static constexpr std::chrono::milliseconds kDefaultLockWait{3000};
    /// How long it pauses between two attempts to take the lock.
    static constexpr int kLockRetryMs = 20;

    struct TContent {
        bool Exists = false;
        /// Larger than the file's limit: Bytes is empty.
        bool TooLarge = false;
        std::string Bytes;
        /// The file read, as messages name it (in Update: where the settings path
        /// leads through symbolic links).
        std::string Path;
    };
    struct TReplacement {
        std::string Text;
        /// The current content is no settings file: it is kept under a new name.
        bool KeepAside = false;
    };

    /// On POSIX systems every file operation goes through `files` (null: the
    /// system's own calls), so that tests can make any step fail; a file larger
    /// than `maxBytes` is not read, and none that large is written.
    explicit TSettingsFile(std::string path, TFileSystem* files = nullptr, std::size_t maxBytes = kMaxBytes);
    const std::string& Path() const { return path_; }

    /// The file as it is now (none when the path is empty); throws
    /// ESettingsStoreError when it cannot be read.
    TContent Read() const;
    /// The stamp of the file as it is now; none when there is no file, or where the
    /// system cannot tell one.
    std::optional<TFileStamp> Stamp() const;
    /// Under the lock: reads the file, asks `change` for the new text and replaces
    /// the file with it. Throws ESettingsStoreError, leaving the old file as it
    /// was, when any step fails; what `change` throws leaves it as it was too.
    void Update(const std::function<TReplacement(const TContent& current)>& change);
    /// Under the lock: when the file exists and `unreadable` says that what it holds
    /// is no settings file, renames it to "<name>.unreadable-<time>" as Update does
    /// before replacing such a file, and puts nothing in its place. Returns where it
    /// went, or empty when it stayed. Throws ESettingsStoreError when it cannot.
    std::string KeepAsideIf(const std::function<bool(const TContent& current)>& unreadable);

    /// Where a file kept aside went in the last Update or KeepAsideIf, or empty.
    const std::string& KeptAsidePath() const { return keptAside_; }

    /// The bound on waiting for a locked folder, for every settings file of the process.
    static std::chrono::milliseconds LockWait() { return lockWait_; }
    static void SetLockWait(std::chrono::milliseconds limit) { lockWait_ = limit; }
    /// Runs between two attempts to take a lock another process holds (a program
    /// repaints its windows there); null for nothing.
    static void SetWhileWaiting(std::function<void()> action) { whileWaiting_ = std::move(action); }
    static const std::function<void()>& WhileWaiting() { return whileWaiting_; }

private:
    void CheckPath() const;
    std::string Target() const;
    void CheckLinkMayBeFollowed(const std::string& link, const TFileSystem::TEntry& entry) const;
    TFileSystem::THandle LockFolder(const std::string& folder) const;
    static TContent ContentOf(TFileSystem::TReadResult read, const std::string& path);

    std::string path_;
    TFileSystem* files_;
    std::size_t maxBytes_;
    std::string keptAside_;

    inline static std::chrono::milliseconds lockWait_ = kDefaultLockWait;
    inline static std::function<void()> whileWaiting_;
};

} // namespace emr
