#include "framework/storage/PosixFileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace emr {

TFileSystem::TReadResult TPosixFileSystem::ReadFile(const std::string& path, std::size_t maxBytes) {
    TReadResult result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        result.Status = errno == ENOENT ? TReadStatus::Missing : TReadStatus::Error;
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        result.Status = TReadStatus::NotRegular;
        return result;
    }
    result.Mode = st.st_mode & 07777;
    result.Uid = st.st_uid;
    result.Gid = st.st_gid;
    // Read one byte past the limit so that a file that grew since fstat is still caught.
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            errno = error;
            result.Status = TReadStatus::Error;
            return result;
        }
        if (n == 0) break;
        result.Bytes.append(buffer, static_cast<std::size_t>(n));
        if (result.Bytes.size() > maxBytes) {
            ::close(fd);
            result.Bytes.clear();
            result.Status = TReadStatus::TooLarge;
            return result;
        }
    }
    ::close(fd);
    result.Status = TReadStatus::Ok;
    return result;
}

namespace {

TFileSystem::TEntry EntryOf(const struct stat& st) {
    TFileSystem::TEntry entry;
    entry.Exists = true;
    entry.IsLink = S_ISLNK(st.st_mode);
    entry.IsDirectory = S_ISDIR(st.st_mode);
    entry.Mode = st.st_mode & 07777;
    entry.Uid = st.st_uid;
    return entry;
}

} // namespace

bool TPosixFileSystem::Inspect(const std::string& path, TEntry& entry) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        entry = {};
        return errno == ENOENT;
    }
    entry = EntryOf(st);
    return true;
}

bool TPosixFileSystem::InspectFolder(const std::string& path, TEntry& entry) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        entry = {};
        return errno == ENOENT;
    }
    entry = EntryOf(st);
    return true;
}

bool TPosixFileSystem::StampOf(const std::string& path, TFileStamp& stamp) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    constexpr std::int64_t kNsPerSecond = 1000000000;
    stamp.Device = static_cast<std::uint64_t>(st.st_dev);
    stamp.Inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.Size = static_cast<std::uint64_t>(st.st_size);
    stamp.ModifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * kNsPerSecond + st.st_mtim.tv_nsec;
    stamp.ChangedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * kNsPerSecond + st.st_ctim.tv_nsec;
    return true;
}

bool TPosixFileSystem::ReadLink(const std::string& path, std::string& text) {
    std::vector<char> buffer(PATH_MAX);
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0) return false;
    if (static_cast<std::size_t>(n) >= buffer.size()) {
        errno = ENAMETOOLONG;
        return false;
    }
    text.assign(buffer.data(), static_cast<std::size_t>(n));
    return true;
}

bool TPosixFileSystem::MakeDirectories(const std::string& path, std::uint32_t mode) {
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    if (path.size() >= PATH_MAX) {
        errno = ENAMETOOLONG;
        return false;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return true;
        errno = ENOTDIR;
        return false;
    }
    // From the top down, one part after the other: the stack stays the same however
    // many parts the path has.
    std::string prefix;
    for (std::size_t end = 1; end <= path.size(); ++end) {
        if (end < path.size() && path[end] != '/') continue;
        if (path[end - 1] == '/') continue; // "//" or a trailing slash
        prefix.assign(path, 0, end);
        if (::stat(prefix.c_str(), &st) == 0) {
            if (S_ISDIR(st.st_mode)) continue;
            errno = ENOTDIR;
            return false;
        }
        if (::mkdir(prefix.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) return false;
    }
    if (::stat(path.c_str(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

TFileSystem::THandle TPosixFileSystem::TryLockFolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return kNoHandle;
    // The folder itself carries the lock: a lock file beside the settings would be
    // one more file in the user's folder, and one that could never safely go.
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd);
        errno = error;
        return kNoHandle;
    }
    return fd;
}

void TPosixFileSystem::Pause(int ms) {
    ::usleep(static_cast<useconds_t>(ms) * 1000);
}

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

TFileSystem::THandle TPosixFileSystem::CreateTemporary(const std::string& prefix, std::string& path) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::vector<char> name(prefix.begin(), prefix.end());
        for (char c : std::string_view(".XXXXXX"))
            name.push_back(c);
        name.push_back('\0');
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) return kNoHandle;
        // A file is only in use once it is locked, so between mkostemp and flock a
        // cleaner may take it for a leftover. Whoever locks first wins: the file is
        // ours only when we hold the lock and it is still under its name.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            struct stat mine {
            }, named{};
            if (::fstat(fd, &mine) == 0 && ::lstat(name.data(), &named) == 0 && SameFile(mine, named)) {
                path.assign(name.data());
                return fd;
            }
        } else if (errno != EWOULDBLOCK) {
            // A file system without locks: no cleaner can lock (and so remove) it either.
            path.assign(name.data());
            return fd;
        }
        // The cleaner holds it or has removed it already; it is the cleaner's to finish.
        ::close(fd);
    }
    errno = EBUSY;
    return kNoHandle;
}

std::vector<std::string> TPosixFileSystem::ListFolder(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(path.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

bool TPosixFileSystem::RemoveUnusedFile(const std::string& path) {
    struct stat named {};
    if (::lstat(path.c_str(), &named) != 0) return false;
    if (!S_ISREG(named.st_mode) || named.st_uid != ::geteuid()) {
        errno = EPERM;
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    bool removed = false;
    struct stat opened {};
    // Holding the lock keeps a writer from taking the file while it is removed; the
    // name is checked again under it, in case the file was swapped meanwhile.
    if (::fstat(fd, &opened) == 0 && SameFile(opened, named) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::lstat(path.c_str(), &named) == 0 && SameFile(opened, named))
        removed = ::unlink(path.c_str()) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return removed;
}

bool TPosixFileSystem::Write(THandle handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(handle, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool TPosixFileSystem::SetMode(THandle handle, std::uint32_t mode) {
    return ::fchmod(handle, static_cast<mode_t>(mode)) == 0;
}

bool TPosixFileSystem::SetOwner(THandle handle, std::uint32_t uid, std::uint32_t gid) {
    return ::fchown(handle, static_cast<uid_t>(uid), static_cast<gid_t>(gid)) == 0;
}

bool TPosixFileSystem::Sync(THandle handle) {
    return ::fsync(handle) == 0;
}

bool TPosixFileSystem::Close(THandle handle) {
    return ::close(handle) == 0;
}

bool TPosixFileSystem::Rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool TPosixFileSystem::Remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

void TPosixFileSystem::SyncDirectory(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace emr
