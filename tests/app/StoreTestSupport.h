#pragma once

// Pieces shared by the settings-store tests: a scratch folder, a file system and a
// locale platform whose every step is counted and can be made to fail or to kill
// the process, and the bytes the patch is expected to leave.

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/FormatPatch.h"
#include "app/RegionalSettingsStore.h"
#include "app/TextEncoding.h"
#include "framework/storage/PosixFileSystem.h"

namespace emr::test {

namespace fs = std::filesystem;

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
    bool ResolveLink(const std::string& path, std::string& target) override {
        return counter_.Step("ResolveLink", EIO) && TPosixFileSystem::ResolveLink(path, target);
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

/// Passes every call on to another platform, counting each as a step (which may
/// kill the process, but never fails), so that a kill can fall between calls.
class TStepPlatform : public TLocalePlatform {
public:
    TStepPlatform(TLocalePlatform& inner, TStepCounter& counter) : inner_(inner), counter_(counter) {}

    void BeginUpdate() override {
        Mark("BeginUpdate");
        inner_.BeginUpdate();
    }
    bool EndUpdate(bool commit) override {
        Mark("EndUpdate");
        return inner_.EndUpdate(commit);
    }
    UINT AnsiCodePage() const override { return inner_.AnsiCodePage(); }
    bool SetLocaleInfoA(LCID locale, LCTYPE item, const char* value) override {
        Mark("SetLocaleInfoA");
        return inner_.SetLocaleInfoA(locale, item, value);
    }
    bool SetLocaleInfoW(LCID locale, LCTYPE item, const char16_t* value) override {
        Mark("SetLocaleInfoW");
        return inner_.SetLocaleInfoW(locale, item, value);
    }
    LRESULT SendMessageTimeoutA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT flags,
                                UINT timeoutMs, DWORD_PTR* result) override {
        Mark("SendMessageTimeoutA");
        return inner_.SendMessageTimeoutA(window, msg, wParam, lParam, flags, timeoutMs, result);
    }
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) override {
        Mark("MessageBoxA");
        return inner_.MessageBoxA(owner, text, caption, flags);
    }
    int MessageBoxW(HWND owner, const char16_t* text, const char16_t* caption, UINT flags) override {
        Mark("MessageBoxW");
        return inner_.MessageBoxW(owner, text, caption, flags);
    }

private:
    void Mark(const char* name) {
        const TStepCounter::TAction action = counter_.Action;
        if (action == TStepCounter::TAction::Fail) counter_.Action = TStepCounter::TAction::None;
        counter_.Step(name);
        counter_.Action = action;
    }

    TLocalePlatform& inner_;
    TStepCounter& counter_;
};

/// What the patch makes of a settings file's bytes (empty: no file yet).
inline std::string PatchedText(const std::string& before) {
    auto file = TRegionalSettingsStore::ParseFile(before);
    EXPECT_TRUE(file != nullptr);
    if (!file) return {};
    for (const TFormatPatchItem& entry : FormatPatchTable())
        file->SetString(TRegionalSettingsStore::kSection, TRegionalSettingsStore::KeyOf(entry.Item),
                        *Cp936ToUtf8(entry.Value));
    return file->Text();
}

/// A fresh folder under /tmp, removed afterwards.
class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/emr-store-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        config_ = root_ / "config";
        fs::create_directories(config_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path SettingsPath() const { return config_ / "regional-settings.ini"; }

    static void WriteFile(const fs::path& path, const std::string& bytes,
                          fs::perms perms = fs::perms::owner_read | fs::perms::owner_write) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        fs::permissions(path, perms);
    }
    /// The file's bytes, or nullopt when there is no file.
    static std::optional<std::string> ReadFile(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    /// Names in `folder` of the store's temporary files.
    static std::vector<std::string> Temporaries(const fs::path& folder) {
        std::vector<std::string> names;
        if (!fs::is_directory(folder)) return names;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().starts_with(".regional-settings.ini."))
                names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path root_;
    fs::path config_;
};

} // namespace emr::test
