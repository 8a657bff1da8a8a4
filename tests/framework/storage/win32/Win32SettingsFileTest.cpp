// The settings file on Windows (run under Wine): a lock another program holds is
// waited for only so long, and the windows are repainted while waiting.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>

#include "framework/storage/SettingsFile.h"
#include "framework/storage/SettingsStore.h"

namespace emr::testing {
namespace {

class Win32SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
        path_ = std::string(folder) + "emr-settings-lock-" + std::to_string(GetCurrentProcessId()) + ".ini";
        lockPath_ =
            std::string(folder) + ".emr-settings-lock-" + std::to_string(GetCurrentProcessId()) + ".ini.lock";
        savedWait_ = TSettingsFile::LockWait();
    }
    void TearDown() override {
        TSettingsFile::SetLockWait(savedWait_);
        TSettingsFile::SetWhileWaiting(nullptr);
        if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
        DeleteFileA(path_.c_str());
        DeleteFileA(lockPath_.c_str());
    }

    /// Holds the file's lock as another program saving it would (a lock is per
    /// handle, so one taken here blocks the file's own handle too).
    void HoldTheLock() {
        held_ = CreateFileA(lockPath_.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS, 0,
                            nullptr);
        ASSERT_NE(held_, INVALID_HANDLE_VALUE);
        OVERLAPPED whole{};
        ASSERT_TRUE(LockFileEx(held_, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
    }

    std::string path_;
    std::string lockPath_;
    HANDLE held_ = INVALID_HANDLE_VALUE;
    std::chrono::milliseconds savedWait_{};
};

TEST_F(Win32SettingsFileTest, ALockHeldByAnotherProgramEndsTheSaveAfterTheWaitAndRepaintsMeanwhile) {
    HoldTheLock();
    TSettingsFile::SetLockWait(std::chrono::milliseconds(300));
    int waits = 0;
    TSettingsFile::SetWhileWaiting([&] { ++waits; });
    TSettingsFile file(path_);
    const auto started = std::chrono::steady_clock::now();
    bool replaced = false;
    try {
        file.Update([&](const TSettingsFile::TContent&) {
            replaced = true;
            return TSettingsFile::TReplacement{"[S]\r\nA=1\r\n"};
        });
        FAIL() << "the save went through a held lock";
    } catch (const ESettingsStoreError& e) {
        EXPECT_NE(std::string(e.what()).find("locked by another program"), std::string::npos) << e.what();
    }
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_LT(waited, std::chrono::seconds(10)) << "the wait has a bound";
    EXPECT_FALSE(replaced);
    EXPECT_GT(waits, 0) << "nothing ran while waiting";
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing was written";

    CloseHandle(held_);
    held_ = INVALID_HANDLE_VALUE;
    file.Update([](const TSettingsFile::TContent&) { return TSettingsFile::TReplacement{"[S]\r\nA=1\r\n"}; });
    EXPECT_TRUE(file.Read().Exists) << "the lock let go, the save goes through";
}

} // namespace
} // namespace emr::testing
