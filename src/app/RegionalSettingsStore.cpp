#include "app/RegionalSettingsStore.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include "app/RegionalSettingsFile.h"

namespace emr {

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsAbsolute(const char* path) {
    return path && path[0] == '/';
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
    if (key.empty() || path_.empty()) return std::nullopt;
    const TFileSystem::TReadResult read = fs_.ReadFile(path_, TRegionalSettingsFile::kMaxBytes);
    if (read.Status != TFileSystem::TReadStatus::Ok) return std::nullopt;
    const auto file = TRegionalSettingsFile::Parse(read.Bytes);
    if (!file) return std::nullopt;
    return file->Value(kSection, key);
}

bool TRegionalSettingsStore::Write(LCTYPE item, std::string_view value) {
    const std::string_view key = KeyOf(item);
    if (key.empty() || path_.empty()) return false;

    // A settings file that is a link to elsewhere stays a link: the target is replaced.
    const std::string target = fs_.ResolveLink(path_).value_or(path_);
    if (!fs_.MakeDirectories(FolderOf(target), 0700)) return false;

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
        mode = read.Mode;
        owner = std::make_pair(read.Uid, read.Gid);
        break;
    default:
        return false;
    }
    if (!file || !file->SetValue(kSection, key, value)) return false;
    return ReplaceFile(target, file->Text(), mode, owner);
}

bool TRegionalSettingsStore::ReplaceFile(const std::string& target, const std::string& text,
                                         std::uint32_t mode,
                                         std::optional<std::pair<std::uint32_t, std::uint32_t>> owner) {
    const std::string folder = FolderOf(target);
    std::string temporary;
    TFileSystem::THandle handle = fs_.CreateTemporary(folder + "/." + std::string(kFileName), temporary);
    if (handle == TFileSystem::kNoHandle) return false;

    bool ok = fs_.Write(handle, text) && fs_.SetMode(handle, mode);
    // Keeping the owner matters only when another user's file is rewritten (by root);
    // a process that may not change it still owns the copy it wrote.
    if (ok && owner && (owner->first != ::geteuid() || owner->second != ::getegid()))
        fs_.SetOwner(handle, owner->first, owner->second);
    ok = ok && fs_.Sync(handle);
    ok = fs_.Close(handle) && ok;
    ok = ok && fs_.Rename(temporary, target);
    if (!ok) {
        fs_.Remove(temporary);
        return false;
    }
    fs_.SyncDirectory(folder);
    return true;
}

} // namespace emr
