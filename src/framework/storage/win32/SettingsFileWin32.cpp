// The settings file on Windows: the same contract as the POSIX one, on the
// system's own calls (a lock file held with LockFileEx, a temporary file flushed
// and moved over the old one with MOVEFILE_REPLACE_EXISTING | WRITE_THROUGH).
#include <windows.h>

#include <chrono>
#include <ctime>
#include <string>

#include "framework/storage/SettingsFile.h"
#include "framework/storage/SettingsStore.h"
#include "framework/storage/win32/WideText.h"

namespace emr {

namespace {

using win32_text::Wide;

[[noreturn]] void Fail(const std::string& what) {
    const DWORD error = GetLastError();
    throw ESettingsStoreError(what + ": " + win32_text::ErrorText(error));
}

/// A handle closed when it goes.
struct THandle {
    HANDLE H = INVALID_HANDLE_VALUE;
    explicit THandle(HANDLE h) : H(h) {}
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    ~THandle() {
        if (H != INVALID_HANDLE_VALUE) CloseHandle(H);
    }
    bool Valid() const { return H != INVALID_HANDLE_VALUE; }
};

std::string Sibling(const std::string& path, const std::string& prefix, const std::string& suffix) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + prefix + name + suffix;
}

/// Opens and locks the lock file beside `path`; closing the handle lets the lock go.
HANDLE TakeLock(const std::string& path) {
    const std::string lockPath = Sibling(path, ".", ".lock");
    THandle lock(CreateFileW(Wide(lockPath).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!lock.Valid()) Fail("cannot lock " + path);
    const auto started = std::chrono::steady_clock::now();
    for (;;) {
        OVERLAPPED whole{};
        if (LockFileEx(lock.H, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                       &whole))
            break;
        if (GetLastError() != ERROR_LOCK_VIOLATION) Fail("cannot lock " + path);
        // Another process holds it: one stopped mid-save would hold it for good,
        // so the wait has a bound and ends as any failed save does.
        if (std::chrono::steady_clock::now() - started >= TSettingsFile::LockWait())
            throw ESettingsStoreError("cannot save " + path + ": it is locked by another program");
        if (const auto& waiting = TSettingsFile::WhileWaiting()) waiting();
        Sleep(TSettingsFile::kLockRetryMs);
    }
    const HANDLE h = lock.H;
    lock.H = INVALID_HANDLE_VALUE;
    return h;
}

/// Renames the unreadable file to "<name>.unreadable-<time>[-n]" without replacing anything there.
std::string KeepAside(const std::string& path) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    for (int n = 0; n < 1000; ++n) {
        const std::string aside = path + ".unreadable-" + stamp + (n ? "-" + std::to_string(n) : "");
        if (MoveFileExW(Wide(path).c_str(), Wide(aside).c_str(), 0)) return aside;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            Fail("cannot keep " + path + " aside");
    }
    throw ESettingsStoreError("cannot keep " + path + " aside: too many files kept already");
}

} // namespace

// The file operations are the system's own here: `files` serves the POSIX systems.
TSettingsFile::TSettingsFile(std::string path, TFileSystem* files, std::size_t maxBytes)
    : path_(std::move(path)), files_(files), maxBytes_(maxBytes) {}

std::optional<TFileStamp> TSettingsFile::Stamp() const {
    // Not asked here: every open reads the file afresh.
    return std::nullopt;
}

TSettingsFile::TContent TSettingsFile::Read() const {
    TContent content;
    content.Path = path_;
    THandle file(CreateFileW(Wide(path_).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return content;
        Fail("cannot read " + path_);
    }
    content.Exists = true;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.H, &size)) Fail("cannot read " + path_);
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes_) {
        content.TooLarge = true;
        return content;
    }
    content.Bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < content.Bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.H, content.Bytes.data() + done, static_cast<DWORD>(content.Bytes.size() - done),
                      &got, nullptr))
            Fail("cannot read " + path_);
        if (got == 0) break;
        done += got;
    }
    content.Bytes.resize(done);
    return content;
}

void TSettingsFile::Update(const std::function<TReplacement(const TContent& current)>& change) {
    keptAside_.clear();
    if (path_.empty() || path_.size() >= MAX_PATH) throw ESettingsStoreError("no usable settings path");
    const THandle lock(TakeLock(path_));

    const TContent current = Read();
    // A file the user made read-only is not replaced behind their back.
    const DWORD attributes = GetFileAttributesW(Wide(path_).c_str());
    if (current.Exists && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw ESettingsStoreError("cannot write " + path_ + ": the file is read-only");
    const TReplacement replacement = change(current);
    if (replacement.Text.size() > maxBytes_)
        throw ESettingsStoreError("cannot write " + path_ +
                                  ": it would grow larger than a settings file can be");
    if (replacement.KeepAside && current.Exists) keptAside_ = KeepAside(path_);

    const std::string temporary = Sibling(path_, ".", ".tmp" + std::to_string(GetCurrentProcessId()));
    {
        THandle out(CreateFileW(Wide(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out.Valid()) Fail("cannot create " + temporary);
        std::size_t done = 0;
        bool written = true;
        while (done < replacement.Text.size()) {
            DWORD put = 0;
            if (!WriteFile(out.H, replacement.Text.data() + done,
                           static_cast<DWORD>(replacement.Text.size() - done), &put, nullptr) ||
                put == 0) {
                written = false;
                break;
            }
            done += put;
        }
        if (!written || !FlushFileBuffers(out.H)) {
            const DWORD error = GetLastError();
            CloseHandle(out.H);
            out.H = INVALID_HANDLE_VALUE;
            DeleteFileW(Wide(temporary).c_str());
            SetLastError(error);
            Fail("cannot write " + temporary);
        }
    }
    if (!MoveFileExW(Wide(temporary).c_str(), Wide(path_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(Wide(temporary).c_str());
        SetLastError(error);
        Fail("cannot rename " + temporary + " to " + path_);
    }
}

std::string TSettingsFile::KeepAsideIf(const std::function<bool(const TContent& current)>& unreadable) {
    keptAside_.clear();
    if (path_.empty() || path_.size() >= MAX_PATH) throw ESettingsStoreError("no usable settings path");
    const THandle lock(TakeLock(path_));
    // Another process may have replaced it with a good file meanwhile.
    const TContent current = Read();
    if (!current.Exists || !unreadable(current)) return {};
    keptAside_ = KeepAside(path_);
    return keptAside_;
}

} // namespace emr
