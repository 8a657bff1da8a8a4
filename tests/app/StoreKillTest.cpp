// A patch killed at any moment leaves the settings file either exactly as it was or
// with all five new values, and the next patch clears what the killed one left.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

#include "StoreTestSupport.h"
#include "app/LinuxLocalePlatform.h"

namespace emr::test {
namespace {

const std::string kOld = "[International]\nsShortDate=d/M/yyyy\nsLongDate=dddd, d MMMM yyyy\n"
                         "sTimeFormat=h:mm:ss tt\ns1159=AM\ns2359=PM\n";

/// A settings folder as a patch may find it.
struct TStartState {
    const char* Name;
    std::function<void(const fs::path& root, const fs::path& config)> Prepare;
    /// Where the settings end up (differs from config/regional-settings.ini behind a link).
    fs::path (*Settings)(const fs::path& root, const fs::path& config);
};

fs::path PlainSettings(const fs::path&, const fs::path& config) {
    return config / "regional-settings.ini";
}
fs::path LinkedSettings(const fs::path& root, const fs::path&) {
    return root / "real" / "settings.ini";
}

class StoreKillTest : public ScratchFolderTest {
protected:
    /// Runs the patch as the program does, in a child that kills itself at step
    /// `killAt`; true when the child was killed, false when it finished first.
    bool PatchInChildKilledAt(int killAt) {
        const pid_t child = ::fork();
        if (child == 0) {
            TStepCounter counter;
            counter.Action = TStepCounter::TAction::Kill;
            counter.At = killAt;
            TStepFileSystem files(counter);
            TRegionalSettingsStore store(SettingsPath(), files);
            TLinuxLocalePlatform platform(store);
            platform.SetErrorReporter([](const std::string&) {});
            TStepPlatform stepping(platform, counter);
            const bool applied = RunApplySequence(stepping, 0, {}) == TPatchOutcome::Applied;
            ::_exit(applied ? 0 : 3);
        }
        EXPECT_GT(child, 0);
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, 0), child);
        if (WIFSIGNALED(status)) {
            EXPECT_EQ(WTERMSIG(status), SIGKILL);
            return true;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "an unhindered patch succeeds";
        return false;
    }

    /// The file holds the old or the new values, completely.
    void ExpectOldOrNew(const fs::path& settings, const std::optional<std::string>& before) {
        const std::optional<std::string> now = ReadFile(settings);
        const std::string patched = PatchedText(before.value_or(""));
        EXPECT_TRUE(now == before || now == patched) << "the file holds a mix: " << now.value_or("(no file)");
    }

    /// A later, unhindered patch succeeds and leaves no temporary file.
    void ExpectCleanPatch(const fs::path& settings, const std::optional<std::string>& before) {
        TPosixFileSystem files;
        TRegionalSettingsStore store(SettingsPath(), files);
        TLinuxLocalePlatform platform(store);
        EXPECT_TRUE(ApplyFormatPatch(platform));
        EXPECT_EQ(ReadFile(settings), PatchedText(before.value_or("")));
        EXPECT_EQ(Temporaries(settings.parent_path()), std::vector<std::string>{});
    }

    void Reset(const TStartState& state) {
        fs::remove_all(root_);
        fs::create_directories(config_);
        state.Prepare(root_, config_);
    }
};

TEST_F(StoreKillTest, KillAtEveryStepLeavesOldOrNewValues) {
    const auto plain = [](const std::string& bytes) {
        return [bytes](const fs::path&, const fs::path& config) {
            WriteFile(config / "regional-settings.ini", bytes);
        };
    };
    const std::vector<TStartState> states = {
        {"no folder yet", [](const fs::path&, const fs::path& config) { fs::remove(config); }, PlainSettings},
        {"empty file", plain(""), PlainSettings},
        {"old values", plain(kOld), PlainSettings},
        {"one old value", plain("[International]\ns1159=上午\n"), PlainSettings},
        {"other sections, a stray line, CRLF and a byte-order mark",
         plain("\xEF\xBB\xBF; clinic\r\n[Desktop]\r\nWallpaper=sea.png\r\nstray line\r\n"
               "[International]\r\nsShortDate=M/d/yy\r\n"),
         PlainSettings},
        {"leftovers of earlier kills",
         [](const fs::path&, const fs::path& config) {
             WriteFile(config / "regional-settings.ini", kOld);
             for (const char* name : {".regional-settings.ini.AbC123", ".regional-settings.ini.x9Y8z7",
                                      ".regional-settings.ini.000000"})
                 WriteFile(config / name, "[International]\nsShortDate=yy");
         },
         PlainSettings},
        {"link to a file not made yet",
         [](const fs::path&, const fs::path& config) {
             fs::create_symlink("../real/settings.ini", config / "regional-settings.ini");
         },
         LinkedSettings},
        {"link to a shared file",
         [](const fs::path& root, const fs::path& config) {
             WriteFile(root / "real" / "settings.ini", kOld,
                       fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
             fs::create_symlink(root / "real" / "settings.ini", config / "regional-settings.ini");
         },
         LinkedSettings},
    };

    const auto started = std::chrono::steady_clock::now();
    int trials = 0;
    for (const TStartState& state : states) {
        SCOPED_TRACE(state.Name);
        Reset(state);
        const fs::path settings = state.Settings(root_, config_);
        const std::optional<std::string> before = ReadFile(settings);
        int killAt = 0;
        for (; killAt < 200; ++killAt) {
            SCOPED_TRACE("killed at step " + std::to_string(killAt));
            Reset(state);
            const bool killed = PatchInChildKilledAt(killAt);
            ExpectOldOrNew(settings, before);
            if (killed) ++trials;
            ExpectCleanPatch(settings, before);
            if (::testing::Test::HasFailure() || !killed) break;
        }
        EXPECT_GT(killAt, 15) << "the patch takes more steps than were tried";
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d kills at every step in %.2f s\n", trials, seconds);
    EXPECT_GE(trials, 150);
}

// A kill from outside, at a random moment, may land inside a system call; a writer
// that keeps switching between two complete sets of values is killed there.
TEST_F(StoreKillTest, KillAtRandomMomentsLeavesOneCompleteSetOfValues) {
    const std::string patched = PatchedText(kOld);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayUs(0, 3000);
    const auto started = std::chrono::steady_clock::now();
    constexpr int kTrials = 100;
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        fs::remove_all(config_);
        WriteFile(SettingsPath(), kOld);
        const pid_t child = ::fork();
        if (child == 0) {
            TPosixFileSystem files;
            TRegionalSettingsStore store(SettingsPath(), files);
            TLinuxLocalePlatform platform(store);
            platform.SetErrorReporter([](const std::string&) {});
            const std::vector<std::pair<LCTYPE, std::string>> old = {{LOCALE_SSHORTDATE, "d/M/yyyy"},
                                                                     {LOCALE_SLONGDATE, "dddd, d MMMM yyyy"},
                                                                     {LOCALE_STIMEFORMAT, "h:mm:ss tt"},
                                                                     {LOCALE_S1159, "AM"},
                                                                     {LOCALE_S2359, "PM"}};
            for (;;) {
                if (!ApplyFormatPatch(platform)) ::_exit(3);
                store.BeginUpdate();
                for (const auto& [item, value] : old)
                    store.Write(item, value);
                if (!store.Commit()) ::_exit(4);
            }
        }
        ASSERT_GT(child, 0);
        ::usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself with " << WEXITSTATUS(status);

        const std::optional<std::string> now = ReadFile(SettingsPath());
        EXPECT_TRUE(now == kOld || now == patched) << "the file holds a mix: " << now.value_or("(no file)");
        ExpectCleanPatch(SettingsPath(), kOld);
        if (::testing::Test::HasFailure()) break;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d kills at random moments in %.2f s\n", kTrials, seconds);
}

} // namespace
} // namespace emr::test
