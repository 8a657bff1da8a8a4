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
#include "framework/storage/StepFileSystem.h"

namespace emr::test {

namespace fs = std::filesystem;

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
