#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace emr {

/// The file operations the regional settings store makes, one call per system
/// call, so that tests can make any single step fail.
class TFileSystem {
public:
    using THandle = int;
    static constexpr THandle kNoHandle = -1;

    enum class TReadStatus { Ok, Missing, TooLarge, NotRegular, Error };

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
    /// The path with symbolic links resolved, when it names an existing symbolic link.
    virtual std::optional<std::string> ResolveLink(const std::string& path) = 0;
    /// Creates the folder and any missing parents with `mode`; true when it exists afterwards.
    virtual bool MakeDirectories(const std::string& path, std::uint32_t mode) = 0;
    /// Creates a new, empty file with a unique name starting with `prefix` (a path)
    /// and mode 0600; returns its handle and stores its path, or kNoHandle.
    virtual THandle CreateTemporary(const std::string& prefix, std::string& path) = 0;
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
