#include "framework/storage/SettingsFile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "framework/storage/SettingsStore.h"

namespace emr {

namespace {

[[noreturn]] void FailWithErrno(const std::string& what) {
    const int error = errno;
    throw ESettingsStoreError(what + ": " + std::strerror(error));
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// Closes a descriptor when it goes out of scope.
class TDescriptor {
public:
    explicit TDescriptor(int fd = -1) : fd_(fd) {}
    ~TDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return fd_; }
    /// Gives the descriptor up without closing it.
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    /// Closes now, reporting whether the close succeeded.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

/// Where `path` leads through a chain of symbolic links (to a file that need not exist).
std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), target, sizeof target - 1);
        if (n < 0) {
            if (errno == EINVAL || errno == ENOENT) return current;
            FailWithErrno("cannot look up " + current);
        }
        std::string next(target, static_cast<std::size_t>(n));
        current = next.starts_with('/') ? next : FolderOf(current) + "/" + next;
    }
    errno = ELOOP;
    FailWithErrno("cannot look up " + path);
}

void MakeDirectories(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return;
        errno = ENOTDIR;
        FailWithErrno("cannot use the folder " + folder);
    }
    const std::string parent = FolderOf(folder);
    if (parent != folder) MakeDirectories(parent);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        FailWithErrno("cannot create the folder " + folder);
}

TSettingsFile::TContent ReadWhole(const std::string& path, struct stat* info) {
    TSettingsFile::TContent content;
    TDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0) {
        if (errno == ENOENT) return content;
        FailWithErrno("cannot open " + path);
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) FailWithErrno("cannot read " + path);
    if (!S_ISREG(st.st_mode)) throw ESettingsStoreError(path + " is not a regular file");
    if (info) *info = st;
    content.Exists = true;
    if (static_cast<std::size_t>(st.st_size) > TSettingsFile::kMaxBytes) {
        content.TooLarge = true;
        return content;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            FailWithErrno("cannot read " + path);
        }
        if (n == 0) break;
        content.Bytes.append(buffer, static_cast<std::size_t>(n));
        if (content.Bytes.size() > TSettingsFile::kMaxBytes) {
            content.TooLarge = true;
            content.Bytes.clear();
            break;
        }
    }
    return content;
}

/// Whether the file's permission bits let the caller replace it. Root is held to
/// the owner's bits: a file its owner made read-only is meant to stay as it is.
bool MayWrite(const struct stat& st) {
    const uid_t user = ::geteuid();
    if (user == 0 || user == st.st_uid) return (st.st_mode & S_IWUSR) != 0;
    if (::getegid() == st.st_gid) return (st.st_mode & S_IWGRP) != 0;
    return (st.st_mode & S_IWOTH) != 0;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

/// Renames the unreadable file to "<name>.unreadable-<time>[-n]" without replacing anything there.
std::string KeepAside(const std::string& target) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    for (int n = 0; n < 1000; ++n) {
        std::string aside = target + ".unreadable-" + stamp + (n ? "-" + std::to_string(n) : "");
        // A hard link never replaces an existing file; the rename below then
        // frees the settings name.
        if (::link(target.c_str(), aside.c_str()) == 0) {
            if (::unlink(target.c_str()) != 0) {
                const int error = errno;
                ::unlink(aside.c_str());
                errno = error;
                FailWithErrno("cannot move " + target + " aside");
            }
            return aside;
        }
        if (errno != EEXIST) FailWithErrno("cannot keep " + target + " as " + aside);
    }
    throw ESettingsStoreError("cannot keep " + target + " aside: too many files kept already");
}

/// Opens and locks the lock file of the settings file `name` in `folder`; the
/// descriptor holds the lock until it is closed.
int TakeLock(const std::string& folder, const std::string& name) {
    // The lock lives in a file of its own: the settings file itself is replaced
    // by every save, and a lock on a replaced file guards nothing.
    const std::string lockPath = folder + "/." + name + ".lock";
    TDescriptor lock(
        ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, TSettingsFile::kNewFileMode));
    if (lock.Get() < 0) FailWithErrno("cannot open the lock file " + lockPath);
    while (::flock(lock.Get(), LOCK_EX) != 0)
        if (errno != EINTR) FailWithErrno("cannot lock " + lockPath);
    return lock.Release();
}

void RemoveLeftovers(const std::string& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> doomed;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view n = entry->d_name;
        if (n.size() == prefix.size() + 6 && n.starts_with(prefix)) doomed.emplace_back(n);
    }
    ::closedir(dir);
    // A leftover that cannot be removed is no reason to fail the save.
    for (const std::string& n : doomed)
        ::unlink((folder + "/" + n).c_str());
}

} // namespace

TSettingsFile::TContent TSettingsFile::Read() const {
    if (path_.size() >= PATH_MAX) throw ESettingsStoreError("the settings path is too long");
    return ReadWhole(path_, nullptr);
}

std::string TSettingsFile::KeepAsideIf(const std::function<bool(const TContent& current)>& unreadable) {
    keptAside_.clear();
    if (path_.empty() || path_.size() >= PATH_MAX) throw ESettingsStoreError("no usable settings path");
    const std::string target = ResolveLinks(path_);
    TDescriptor lock(TakeLock(FolderOf(target), NameOf(target)));
    // Another process may have replaced it with a good file meanwhile.
    const TContent current = ReadWhole(target, nullptr);
    if (!current.Exists || !unreadable(current)) return {};
    keptAside_ = KeepAside(target);
    return keptAside_;
}

void TSettingsFile::Update(const std::function<TReplacement(const TContent& current)>& change) {
    keptAside_.clear();
    if (path_.empty() || path_.size() >= PATH_MAX) throw ESettingsStoreError("no usable settings path");
    const std::string target = ResolveLinks(path_);
    const std::string folder = FolderOf(target);
    const std::string name = NameOf(target);
    MakeDirectories(folder);

    TDescriptor lock(TakeLock(folder, name));

    // Temporary files are made only under the lock, so any found now were left
    // by a writer that was killed before its rename.
    const std::string temporaryPrefix = "." + name + ".tmp.";
    RemoveLeftovers(folder, temporaryPrefix);

    struct stat info {};
    const TContent current = ReadWhole(target, &info);
    TReplacement replacement = change(current);
    unsigned mode = kNewFileMode;
    bool keepOwner = false;
    if (current.Exists && !replacement.KeepAside) {
        // The rename would replace a read-only file as easily as any other, since
        // only the folder's permissions are asked; the file's own say no.
        if (!MayWrite(info)) throw ESettingsStoreError("cannot write " + target + ": the file is read-only");
        mode = info.st_mode & 07777;
        keepOwner = info.st_uid != ::geteuid() || info.st_gid != ::getegid();
    }

    std::string temporary = folder + "/" + temporaryPrefix + "XXXXXX";
    TDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
    if (out.Get() < 0) FailWithErrno("cannot create a temporary file in " + folder);
    auto fail = [&](const std::string& what) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        FailWithErrno(what);
    };
    if (!WriteAll(out.Get(), replacement.Text)) fail("cannot write " + temporary);
    if (::fchmod(out.Get(), mode) != 0) fail("cannot set the permissions of " + temporary);
    // Only root rewriting another user's file can keep its owner; anyone else
    // still owns the copy it wrote.
    if (keepOwner && ::fchown(out.Get(), info.st_uid, info.st_gid) != 0 && errno != EPERM)
        fail("cannot keep the owner of " + target);
    if (::fdatasync(out.Get()) != 0) fail("cannot flush " + temporary + " to disk");
    if (!out.Close()) fail("cannot close " + temporary);
    if (replacement.KeepAside && current.Exists) {
        try {
            keptAside_ = KeepAside(target);
        } catch (...) {
            ::unlink(temporary.c_str());
            throw;
        }
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        fail("cannot rename " + temporary + " to " + target);
    TDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0) ::fsync(dir.Get());
}

} // namespace emr
