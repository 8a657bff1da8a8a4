#pragma once

#include "framework/storage/FileSystem.h"

namespace emr {

/// TFileSystem on the POSIX calls. A temporary file is in use while its creator
/// holds an advisory lock on it, which lasts as long as the handle is open and
/// ends with the process however it ends. A lock rather than the file's age tells
/// a leftover from a file in use: a writer held up for any time on a slow disk
/// keeps its file, and a killed writer's file can go at once.
class TPosixFileSystem : public TFileSystem {
public:
    TReadResult ReadFile(const std::string& path, std::size_t maxBytes) override;
    bool Inspect(const std::string& path, TEntry& entry) override;
    bool InspectFolder(const std::string& path, TEntry& entry) override;
    bool StampOf(const std::string& path, TFileStamp& stamp) override;
    bool ReadLink(const std::string& path, std::string& text) override;
    /// Refuses paths of PATH_MAX bytes or more (ENAMETOOLONG).
    bool MakeDirectories(const std::string& path, std::uint32_t mode) override;
    THandle TryLockFolder(const std::string& path) override;
    void Pause(int ms) override;
    THandle CreateTemporary(const std::string& prefix, std::string& path) override;
    std::vector<std::string> ListFolder(const std::string& path) override;
    bool RemoveUnusedFile(const std::string& path) override;
    bool Write(THandle handle, std::string_view bytes) override;
    bool SetMode(THandle handle, std::uint32_t mode) override;
    bool SetOwner(THandle handle, std::uint32_t uid, std::uint32_t gid) override;
    bool Sync(THandle handle) override;
    bool Close(THandle handle) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    void SyncDirectory(const std::string& path) override;
};

} // namespace emr
