#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace emr {

/// What tells one version of a file from another without reading it: a file
/// renamed over it (as every save here replaces a settings file) has another
/// inode, and a change in place another size or change time.
struct TFileStamp {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    std::int64_t ChangedNs = 0;
    bool operator==(const TFileStamp&) const = default;
};

/// The file operations a settings file is read and replaced with, one call per
/// step, so that tests can make any single step fail. A failing call leaves its
/// reason in errno.
class TFileSystem {
public:
    using THandle = int;
    static constexpr THandle kNoHandle = -1;

    enum class TReadStatus { Ok, Missing, TooLarge, NotRegular, Error };

    /// What is at a path: the entry itself, or with InspectFolder what it leads to.
    struct TEntry {
        bool Exists = false;
        bool IsLink = false;
        bool IsDirectory = false;
        std::uint32_t Mode = 0; // permission bits, with the sticky bit (01000)
        std::uint32_t Uid = 0;
    };

    struct TReadResult {
        TReadStatus Status = TReadStatus::Error;
        std::string Bytes;
        std::uint32_t Mode = 0; // permission bits of the file read
        std::uint32_t Uid = 0;
        std::uint32_t Gid = 0;
    };

    virtual ~TFileSystem() = default;

    /// Reads a whole regular file of at most `maxBytes` bytes.
    virtual TReadResult ReadFile(const std::string& path, std::size_t maxBytes) = 0;
    /// What `path` itself is, a symbolic link not followed (lstat); an entry that
    /// does not exist is no failure. False when it cannot be asked.
    virtual bool Inspect(const std::string& path, TEntry& entry) = 0;
    /// The stamp of the file `path` leads to, links followed; false when there is
    /// no such file or it cannot be asked (then nothing read from it is kept).
    virtual bool StampOf(const std::string& path, TFileStamp& stamp) {
        (void)path;
        (void)stamp;
        return false;
    }
    /// What the folder `path` is, links on the way followed (stat).
    virtual bool InspectFolder(const std::string& path, TEntry& entry) = 0;
    /// The text of the symbolic link at `path`; false when it cannot be read.
    virtual bool ReadLink(const std::string& path, std::string& text) = 0;
    /// Creates the folder and any missing parents with `mode`; true when it exists afterwards.
    virtual bool MakeDirectories(const std::string& path, std::uint32_t mode) = 0;
    /// Takes an exclusive lock on the folder, held until the handle is closed or
    /// the process ends, so that writers of the settings files in it take turns.
    /// Does not wait: while another process holds the lock it returns kNoHandle
    /// with errno EWOULDBLOCK. Returns the handle, or kNoHandle.
    virtual THandle TryLockFolder(const std::string& path) = 0;
    /// Waits `ms` milliseconds (between attempts to lock).
    virtual void Pause(int ms) = 0;
    /// Creates a new, empty file with a unique name: `prefix` (a path) followed by
    /// "." and six letters or digits, with mode 0600. While its handle is open the
    /// file counts as in use (see RemoveUnusedFile). Returns its handle and stores
    /// its path, or kNoHandle.
    virtual THandle CreateTemporary(const std::string& prefix, std::string& path) = 0;
    /// The names of the entries of a folder, without "." and ".."; empty when it cannot be read.
    virtual std::vector<std::string> ListFolder(const std::string& path) = 0;
    /// Removes a regular file of the effective user that no open CreateTemporary
    /// handle holds; false, leaving it, for anything else.
    virtual bool RemoveUnusedFile(const std::string& path) = 0;
    virtual bool Write(THandle handle, std::string_view bytes) = 0;
    virtual bool SetMode(THandle handle, std::uint32_t mode) = 0;
    virtual bool SetOwner(THandle handle, std::uint32_t uid, std::uint32_t gid) = 0;
    /// Flushes the file's data to the storage device.
    virtual bool Sync(THandle handle) = 0;
    virtual bool Close(THandle handle) = 0;
    /// Replaces `to` by `from` in one step.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
    /// Makes a rename inside the folder durable.
    virtual void SyncDirectory(const std::string& path) = 0;
};

} // namespace emr
