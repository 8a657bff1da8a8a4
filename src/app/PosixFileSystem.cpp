#include "app/PosixFileSystem.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
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
        ::close(fd);
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
            ::close(fd);
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

std::optional<std::string> TPosixFileSystem::ResolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return std::nullopt;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return std::nullopt;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

bool TPosixFileSystem::MakeDirectories(const std::string& path, std::uint32_t mode) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash), mode))
        return false;
    return ::mkdir(path.c_str(), static_cast<mode_t>(mode)) == 0 || errno == EEXIST;
}

TFileSystem::THandle TPosixFileSystem::CreateTemporary(const std::string& prefix, std::string& path) {
    std::vector<char> name(prefix.begin(), prefix.end());
    for (char c : std::string_view(".XXXXXX"))
        name.push_back(c);
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return kNoHandle;
    path.assign(name.data());
    return fd;
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
