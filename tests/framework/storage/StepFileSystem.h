#pragma once

// A file system for the tests of saving: the real one, with every call counted as
// a step that can be made to fail or to kill the process.

#ifndef _WIN32

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include "framework/storage/PosixFileSystem.h"

namespace emr::test {

/// Counts steps; the step numbered At fails (errno set) or kills the process.
struct TStepCounter {
    enum class TAction { None, Fail, Kill };

    TAction Action = TAction::None;
    int At = -1;
    int Steps = 0;
    std::vector<std::string> Names; // of every step taken, in order

    /// False when this step is to fail.
    bool Step(const char* name, int error = ENOSPC) {
        Names.emplace_back(name);
        const bool hit = Steps++ == At;
        if (hit && Action == TAction::Kill) ::raise(SIGKILL);
        if (hit && Action == TAction::Fail) {
            errno = error;
            return false;
        }
        return true;
    }
};

/// The real file system, one counted step per call.
class TStepFileSystem : public TPosixFileSystem {
public:
    explicit TStepFileSystem(TStepCounter& counter) : counter_(counter) {}

    TReadResult ReadFile(const std::string& path, std::size_t maxBytes) override {
        if (!counter_.Step("ReadFile", EIO)) return {};
        return TPosixFileSystem::ReadFile(path, maxBytes);
    }
    bool Inspect(const std::string& path, TEntry& entry) override {
        return counter_.Step("Inspect", EIO) && TPosixFileSystem::Inspect(path, entry);
    }
    bool InspectFolder(const std::string& path, TEntry& entry) override {
        return counter_.Step("InspectFolder", EIO) && TPosixFileSystem::InspectFolder(path, entry);
    }
    bool ReadLink(const std::string& path, std::string& text) override {
        return counter_.Step("ReadLink", EIO) && TPosixFileSystem::ReadLink(path, text);
    }
    THandle TryLockFolder(const std::string& path) override {
        if (!counter_.Step("TryLockFolder", EIO)) return kNoHandle;
        return TPosixFileSystem::TryLockFolder(path);
    }
    bool MakeDirectories(const std::string& path, std::uint32_t mode) override {
        return counter_.Step("MakeDirectories") && TPosixFileSystem::MakeDirectories(path, mode);
    }
    THandle CreateTemporary(const std::string& prefix, std::string& path) override {
        if (!counter_.Step("CreateTemporary")) return kNoHandle;
        return TPosixFileSystem::CreateTemporary(prefix, path);
    }
    std::vector<std::string> ListFolder(const std::string& path) override {
        if (!counter_.Step("ListFolder", EIO)) return {};
        return TPosixFileSystem::ListFolder(path);
    }
    bool RemoveUnusedFile(const std::string& path) override {
        return counter_.Step("RemoveUnusedFile", EIO) && TPosixFileSystem::RemoveUnusedFile(path);
    }
    bool Write(THandle handle, std::string_view bytes) override {
        return counter_.Step("Write") && TPosixFileSystem::Write(handle, bytes);
    }
    bool SetMode(THandle handle, std::uint32_t mode) override {
        return counter_.Step("SetMode", EPERM) && TPosixFileSystem::SetMode(handle, mode);
    }
    bool SetOwner(THandle handle, std::uint32_t uid, std::uint32_t gid) override {
        return counter_.Step("SetOwner", EPERM) && TPosixFileSystem::SetOwner(handle, uid, gid);
    }
    bool Sync(THandle handle) override {
        return counter_.Step("Sync", EIO) && TPosixFileSystem::Sync(handle);
    }
    bool Close(THandle handle) override {
        // A failing close still releases the handle, as close(2) does.
        const bool ok = counter_.Step("Close", EIO);
        return TPosixFileSystem::Close(handle) && ok;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        return counter_.Step("Rename") && TPosixFileSystem::Rename(from, to);
    }
    bool Remove(const std::string& path) override {
        return counter_.Step("Remove", EIO) && TPosixFileSystem::Remove(path);
    }
    void SyncDirectory(const std::string& path) override {
        if (counter_.Step("SyncDirectory", EIO)) TPosixFileSystem::SyncDirectory(path);
    }

private:
    TStepCounter& counter_;
};

} // namespace emr::test

#endif
