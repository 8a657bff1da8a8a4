#include "app/RegionalSettingsStore.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>
#include <vector>

#include "app/RegionalSettingsFile.h"

namespace emr {

namespace {

/// "0x1003": locale items are known by their numbers in hexadecimal.
std::string ItemNumber(LCTYPE item) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(item));
    return text;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsAbsolute(const char* path) {
    return path && path[0] == '/';
}

bool HasControlCharacter(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b < 0x20 && b != '\t') || b == 0x7F;
    });
}

/// A path fit for a message: an absurdly long one is cut in the middle.
std::string Shortened(const std::string& path) {
    constexpr std::size_t kKeep = 60;
    if (path.size() <= 2 * kKeep) return path;
    return path.substr(0, kKeep) + "..." + path.substr(path.size() - kKeep);
}

bool InGroup(std::uint32_t gid) {
    if (::getegid() == gid) return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    return got > 0 &&
           std::find(groups.begin(), groups.begin() + got, static_cast<gid_t>(gid)) != groups.begin() + got;
}

/// Whether the file's permission bits let the caller write it. Root is held to the
/// owner's bits: a file its owner made read-only is meant to stay as it is, even
/// though root could write it.
bool MayWrite(const TFileSystem::TReadResult& file) {
    const uid_t user = ::geteuid();
    if (user == 0 || user == file.Uid) return (file.Mode & 0200) != 0;
    if (InGroup(file.Gid)) return (file.Mode & 0020) != 0;
    return (file.Mode & 0002) != 0;
}

} // namespace

TRegionalSettingsStore::TRegionalSettingsStore(std::string path, TFileSystem& fs)
    : path_(std::move(path)), fs_(fs) {}

std::optional<std::string> TRegionalSettingsStore::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (IsAbsolute(config)) return std::string(config) + "/" + std::string(kFileName);
    const char* home = std::getenv("HOME");
    if (!IsAbsolute(home)) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    if (!IsAbsolute(home)) return std::nullopt;
    return std::string(home) + "/.config/" + std::string(kFileName);
}

std::string_view TRegionalSettingsStore::KeyOf(LCTYPE item) {
    switch (item) {
    case LOCALE_SSHORTDATE:
        return "sShortDate";
    case LOCALE_SLONGDATE:
        return "sLongDate";
    case LOCALE_STIMEFORMAT:
        return "sTimeFormat";
    case LOCALE_S1159:
        return "s1159";
    case LOCALE_S2359:
        return "s2359";
    default:
        return {};
    }
}

std::optional<std::string> TRegionalSettingsStore::Read(LCTYPE item) const {
    const std::string_view key = KeyOf(item);
    if (key.empty() || path_.empty() || path_.size() >= PATH_MAX) return std::nullopt;
    const TFileSystem::TReadResult read = fs_.ReadFile(path_, TRegionalSettingsFile::kMaxBytes);
    if (read.Status != TFileSystem::TReadStatus::Ok) return std::nullopt;
    const auto file = TRegionalSettingsFile::Parse(read.Bytes);
    if (!file) return std::nullopt;
    return file->Value(kSection, key);
}

bool TRegionalSettingsStore::Write(LCTYPE item, std::string_view value) {
    const std::string_view key = KeyOf(item);
    if (key.empty()) return Fail("no setting is kept for locale item " + ItemNumber(item));
    if (HasControlCharacter(value))
        return Fail("cannot store " + std::string(key) + ": the value holds a control character");
    TValue entry{key, std::string(value)};
    if (updating_) {
        kept_.push_back(std::move(entry));
        return true;
    }
    return Store({std::move(entry)});
}

void TRegionalSettingsStore::BeginUpdate() {
    updating_ = true;
}

bool TRegionalSettingsStore::Commit() {
    const std::vector<TValue> values = std::move(kept_);
    Discard();
    return values.empty() || Store(values);
}

void TRegionalSettingsStore::Discard() {
    updating_ = false;
    kept_.clear();
}

bool TRegionalSettingsStore::Fail(std::string reason) {
    lastError_ = std::move(reason);
    return false;
}

bool TRegionalSettingsStore::FailWithErrno(std::string what) {
    const int error = errno;
    return Fail(std::move(what) + ": " + std::strerror(error));
}

bool TRegionalSettingsStore::Store(const std::vector<TValue>& values) {
    if (path_.empty()) return Fail("no settings file: neither XDG_CONFIG_HOME nor HOME names a folder");
    // Refused before any system call sees it: a path this long is no configuration
    // folder but a mistake or an attack.
    if (path_.size() >= PATH_MAX)
        return Fail("cannot use the settings file " + Shortened(path_) + ": its path is " +
                    std::to_string(path_.size()) + " bytes long, more than the system allows");

    // A settings file that is a link to elsewhere stays a link: what it leads to is
    // replaced, and created when it does not exist yet.
    std::string target;
    if (!fs_.ResolveLink(path_, target)) return FailWithErrno("cannot look up " + path_);
    const std::string folder = FolderOf(target);
    if (!fs_.MakeDirectories(folder, 0700))
        return FailWithErrno("cannot create the folder " + Shortened(folder));

    const TFileSystem::TReadResult read = fs_.ReadFile(target, TRegionalSettingsFile::kMaxBytes);
    std::optional<TRegionalSettingsFile> file;
    std::uint32_t mode = kNewFileMode;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> owner;
    switch (read.Status) {
    case TFileSystem::TReadStatus::Missing:
        file = TRegionalSettingsFile::Parse("");
        break;
    case TFileSystem::TReadStatus::Ok:
        // Anything that is not a settings file of this layout is someone else's
        // data and is never overwritten.
        file = TRegionalSettingsFile::Parse(read.Bytes);
        if (!file) return Fail(target + " is not a settings file; it is left as it is");
        // The rename below would replace a read-only file as easily as any other,
        // since only the folder's permissions are asked; the file's own say no.
        if (!MayWrite(read)) return Fail("cannot write " + target + ": the file is read-only");
        mode = read.Mode;
        owner = std::make_pair(read.Uid, read.Gid);
        break;
    case TFileSystem::TReadStatus::TooLarge:
        return Fail(target + " is larger than a settings file can be; it is left as it is");
    case TFileSystem::TReadStatus::NotRegular:
        return Fail(target + " is not a regular file");
    default:
        return FailWithErrno("cannot read " + target);
    }
    for (const TValue& entry : values)
        if (!file->SetValue(kSection, entry.Key, entry.Value))
            return Fail("cannot store " + std::string(entry.Key) + ": the value holds a control character");
    const std::string text = file->Text();
    if (text.size() > TRegionalSettingsFile::kMaxBytes)
        return Fail("cannot write " + target + ": it would grow larger than a settings file can be");

    RemoveLeftoverTemporaries(folder);
    return ReplaceFile(target, text, mode, owner);
}

void TRegionalSettingsStore::RemoveLeftoverTemporaries(const std::string& folder) {
    // A writer killed before its rename leaves its temporary file behind. Only
    // names of the form CreateTemporary makes are touched, and the file system
    // removes only files that no running writer holds, so a concurrent patch keeps
    // its own. A leftover that cannot be removed is no reason to fail the write.
    const std::string prefix = "." + std::string(kFileName) + ".";
    for (const std::string& name : fs_.ListFolder(folder)) {
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
            continue;
        fs_.RemoveUnusedFile(folder + "/" + name);
    }
}

bool TRegionalSettingsStore::ReplaceFile(const std::string& target, const std::string& text,
                                         std::uint32_t mode,
                                         std::optional<std::pair<std::uint32_t, std::uint32_t>> owner) {
    const std::string folder = FolderOf(target);
    std::string temporary;
    TFileSystem::THandle handle = fs_.CreateTemporary(folder + "/." + std::string(kFileName), temporary);
    if (handle == TFileSystem::kNoHandle) return FailWithErrno("cannot create a temporary file in " + folder);

    // The handle stays open until the rename is done: while it is, no other
    // writer's clean-up takes this file for a leftover.
    bool ok = true;
    if (!fs_.Write(handle, text)) {
        ok = FailWithErrno("cannot write " + temporary);
    } else if (!fs_.SetMode(handle, mode)) {
        ok = FailWithErrno("cannot set the permissions of " + temporary);
    } else {
        // Keeping the owner matters only when another user's file is rewritten (by
        // root); a process that may not change it still owns the copy it wrote.
        if (owner && (owner->first != ::geteuid() || owner->second != ::getegid()))
            fs_.SetOwner(handle, owner->first, owner->second);
        if (!fs_.Sync(handle))
            ok = FailWithErrno("cannot flush " + temporary + " to disk");
        else if (!fs_.Rename(temporary, target))
            ok = FailWithErrno("cannot rename " + temporary + " to " + target);
    }
    if (!ok) {
        fs_.Close(handle);
        fs_.Remove(temporary);
        return false;
    }
    fs_.SyncDirectory(folder);
    // The data reached the disk with the flush above, so a failing close loses
    // nothing, and the new file is already in place: calling that a failure would
    // report an old file that is no longer there.
    fs_.Close(handle);
    return true;
}

} // namespace emr
