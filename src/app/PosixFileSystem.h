#pragma once

#include "app/FileSystem.h"

namespace emr {

/// TFileSystem on the POSIX calls.
class TPosixFileSystem : public TFileSystem {
public:
    TReadResult ReadFile(const std::string& path, std::size_t maxBytes) override;
    std::optional<std::string> ResolveLink(const std::string& path) override;
    bool MakeDirectories(const std::string& path, std::uint32_t mode) override;
    THandle CreateTemporary(const std::string& prefix, std::string& path) override;
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
