#include "framework/storage/SettingsFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <ctime>
#include <optional>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

#include "framework/storage/PosixFileSystem.h"
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

/// A path fit for a message: an absurdly long one is cut in the middle.
std::string Shortened(const std::string& path) {
    constexpr std::size_t kKeep = 60;
    if (path.size() <= 2 * kKeep) return path;
    return path.substr(0, kKeep) + "..." + path.substr(path.size() - kKeep);
}

TFileSystem& SystemFiles() {
    static TPosixFileSystem files;
    return files;
}

/// A handle of the file system, closed when it goes.
class THeld {
public:
    THeld(TFileSystem& files, TFileSystem::THandle handle) : files_(files), handle_(handle) {}
    ~THeld() {
        if (handle_ != TFileSystem::kNoHandle) files_.Close(handle_);
    }
    THeld(const THeld&) = delete;
    THeld& operator=(const THeld&) = delete;
    bool Valid() const { return handle_ != TFileSystem::kNoHandle; }

private:
    TFileSystem& files_;
    TFileSystem::THandle handle_;
};

bool InGroup(std::uint32_t gid) {
    if (::getegid() == gid) return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    return got > 0 &&
           std::find(groups.begin(), groups.begin() + got, static_cast<gid_t>(gid)) != groups.begin() + got;
}

/// Whether the file's permission bits let the caller replace it. Root is held to
/// the owner's bits: a file its owner made read-only is meant to stay as it is.
bool MayWrite(const TFileSystem::TReadResult& file) {
    const uid_t user = ::geteuid();
    if (user == 0 || user == file.Uid) return (file.Mode & 0200) != 0;
    if (InGroup(file.Gid)) return (file.Mode & 0020) != 0;
    return (file.Mode & 0002) != 0;
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

/// Removes what writers killed before their rename left: the names CreateTemporary
/// gives ("." + name + "." and six letters or digits) of files that no running
/// writer holds. A leftover that cannot be removed is no reason to fail the save.
void RemoveLeftovers(TFileSystem& files, const std::string& folder, const std::string& name) {
    const std::string prefix = "." + name + ".";
    for (const std::string& entry : files.ListFolder(folder)) {
        if (entry.size() != prefix.size() + 6 || !entry.starts_with(prefix)) continue;
        if (!std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
            continue;
        files.RemoveUnusedFile(folder + "/" + entry);
    }
}

} // namespace

TSettingsFile::TSettingsFile(std::string path, TFileSystem* files, std::size_t maxBytes)
    : path_(std::move(path)), files_(files ? files : &SystemFiles()), maxBytes_(maxBytes) {}

void TSettingsFile::CheckPath() const {
    if (path_.empty()) throw ESettingsStoreError("no usable settings path");
    // Refused before any system call sees it: a path this long is no configuration
    // folder but a mistake or an attack.
    if (path_.size() >= PATH_MAX)
        throw ESettingsStoreError("cannot use the settings file " + Shortened(path_) + ": its path is " +
                                  std::to_string(path_.size()) + " bytes long, more than the system allows");
}

TSettingsFile::TContent TSettingsFile::Read() const {
    // No path, as when there is no configuration folder: nothing has been stored.
    if (path_.empty()) return {};
    CheckPath();
    return ContentOf(files_->ReadFile(path_, maxBytes_), path_);
}

std::optional<TFileStamp> TSettingsFile::Stamp() const {
    if (path_.empty() || path_.size() >= PATH_MAX) return std::nullopt;
    TFileStamp stamp;
    if (!files_->StampOf(path_, stamp)) return std::nullopt;
    return stamp;
}

TSettingsFile::TContent TSettingsFile::ContentOf(TFileSystem::TReadResult read, const std::string& path) {
    TContent content;
    content.Path = path;
    switch (read.Status) {
    case TFileSystem::TReadStatus::Missing:
        return content;
    case TFileSystem::TReadStatus::Ok:
        content.Exists = true;
        content.Bytes = std::move(read.Bytes);
        return content;
    case TFileSystem::TReadStatus::TooLarge:
        content.Exists = true;
        content.TooLarge = true;
        return content;
    case TFileSystem::TReadStatus::NotRegular:
        throw ESettingsStoreError(path + " is not a regular file");
    default:
        FailWithErrno("cannot read " + path);
    }
}

std::string TSettingsFile::Target() const {
    // The same bound on a chain of links as the kernel's own lookup.
    constexpr int kMaxLinks = 40;
    std::string current = path_;
    for (int links = 0; links <= kMaxLinks; ++links) {
        TFileSystem::TEntry entry;
        if (!files_->Inspect(current, entry)) FailWithErrno("cannot look up " + Shortened(current));
        if (!entry.IsLink) return current;
        CheckLinkMayBeFollowed(current, entry);
        // Read by hand rather than with realpath(), which gives up on a link whose
        // target does not exist yet; such a link is followed like any other.
        std::string text;
        if (!files_->ReadLink(current, text)) FailWithErrno("cannot read the link " + Shortened(current));
        if (text.empty()) {
            errno = ENOENT;
            FailWithErrno("cannot follow the link " + Shortened(current));
        }
        current = text.front() == '/' ? text : FolderOf(current) + "/" + text;
        if (current.size() >= PATH_MAX) {
            errno = ENAMETOOLONG;
            FailWithErrno("cannot follow the link to " + Shortened(current));
        }
    }
    errno = ELOOP;
    FailWithErrno("cannot look up " + Shortened(path_));
}

void TSettingsFile::CheckLinkMayBeFollowed(const std::string& link, const TFileSystem::TEntry& entry) const {
    // The kernel's rule for links in shared folders (fs.protected_symlinks): in a
    // folder that is sticky and writable by anyone, only a link of the user's own
    // or of the folder's owner is followed. Followed by hand, a link planted there
    // by another user would lead the save into any file of this user's.
    constexpr std::uint32_t kShared = 01000 | 0002;
    if (entry.Uid == ::geteuid()) return;
    const std::string folder = FolderOf(link);
    TFileSystem::TEntry parent;
    if (!files_->InspectFolder(folder, parent))
        FailWithErrno("cannot look up the folder " + Shortened(folder));
    if ((parent.Mode & kShared) != kShared || parent.Uid == entry.Uid) return;
    throw ESettingsStoreError("will not follow the link " + Shortened(link) +
                              ": it belongs to another user (" + std::to_string(entry.Uid) +
                              ") and lies in " + Shortened(folder) + ", a folder anyone may write to");
}

TFileSystem::THandle TSettingsFile::LockFolder(const std::string& folder) const {
    const auto started = std::chrono::steady_clock::now();
    for (;;) {
        const TFileSystem::THandle handle = files_->TryLockFolder(folder);
        if (handle != TFileSystem::kNoHandle) return handle;
        if (errno != EWOULDBLOCK) FailWithErrno("cannot lock the folder " + Shortened(folder));
        // Another process holds it: one stopped mid-save would hold it for good,
        // so the wait has a bound and ends as any failed save does.
        if (std::chrono::steady_clock::now() - started >= lockWait_)
            throw ESettingsStoreError("cannot save in " + Shortened(folder) +
                                      ": the folder is locked by another program");
        if (whileWaiting_) whileWaiting_();
        files_->Pause(kLockRetryMs);
    }
}

std::string TSettingsFile::KeepAsideIf(const std::function<bool(const TContent& current)>& unreadable) {
    keptAside_.clear();
    CheckPath();
    const std::string target = Target();
    const std::string folder = FolderOf(target);
    const THeld lock(*files_, LockFolder(folder));
    // Another process may have replaced it with a good file meanwhile.
    const TContent current = ContentOf(files_->ReadFile(target, maxBytes_), target);
    if (!current.Exists || !unreadable(current)) return {};
    keptAside_ = KeepAside(target);
    return keptAside_;
}

void TSettingsFile::Update(const std::function<TReplacement(const TContent& current)>& change) {
    keptAside_.clear();
    CheckPath();
    TFileSystem& files = *files_;
    // A settings file that is a link to elsewhere stays a link: what it leads to is
    // replaced, and created when it does not exist yet.
    const std::string target = Target();
    const std::string folder = FolderOf(target);
    if (!files.MakeDirectories(folder, 0700)) FailWithErrno("cannot create the folder " + Shortened(folder));
    const THeld lock(files, LockFolder(folder));

    TFileSystem::TReadResult read = files.ReadFile(target, maxBytes_);
    const std::uint32_t mode = read.Mode;
    const std::uint32_t uid = read.Uid;
    const std::uint32_t gid = read.Gid;
    const bool mayWrite = read.Status != TFileSystem::TReadStatus::Ok || MayWrite(read);
    const TContent current = ContentOf(std::move(read), target);
    const TReplacement replacement = change(current);
    std::uint32_t newMode = kNewFileMode;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> owner;
    if (current.Exists && !replacement.KeepAside) {
        // The rename would replace a read-only file as easily as any other, since
        // only the folder's permissions are asked; the file's own say no.
        if (!mayWrite) throw ESettingsStoreError("cannot write " + target + ": the file is read-only");
        newMode = mode;
        owner = std::make_pair(uid, gid);
    }
    if (replacement.Text.size() > maxBytes_)
        throw ESettingsStoreError("cannot write " + target +
                                  ": it would grow larger than a settings file can be");

    RemoveLeftovers(files, folder, NameOf(target));
    std::string temporary;
    const TFileSystem::THandle handle = files.CreateTemporary(folder + "/." + NameOf(target), temporary);
    if (handle == TFileSystem::kNoHandle) FailWithErrno("cannot create a temporary file in " + folder);
    // The handle stays open until the rename is done: while it is, no other
    // writer's clean-up takes this file for a leftover.
    auto fail = [&](const std::string& what) {
        const int error = errno;
        files.Close(handle);
        files.Remove(temporary);
        errno = error;
        FailWithErrno(what);
    };
    if (!files.Write(handle, replacement.Text)) fail("cannot write " + temporary);
    if (!files.SetMode(handle, newMode)) fail("cannot set the permissions of " + temporary);
    // Keeping the owner matters only when another user's file is rewritten (by
    // root); a process that may not change it still owns the copy it wrote.
    if (owner && (owner->first != ::geteuid() || owner->second != ::getegid()))
        files.SetOwner(handle, owner->first, owner->second);
    if (!files.Sync(handle)) fail("cannot flush " + temporary + " to disk");
    if (replacement.KeepAside && current.Exists) {
        try {
            keptAside_ = KeepAside(target);
        } catch (...) {
            files.Close(handle);
            files.Remove(temporary);
            throw;
        }
    }
    if (!files.Rename(temporary, target)) fail("cannot rename " + temporary + " to " + target);
    files.SyncDirectory(folder);
    // The data reached the disk with the flush above, so a failing close loses
    // nothing, and the new file is already in place: calling that a failure would
    // report an old file that is no longer there.
    files.Close(handle);
}

} // namespace emr
