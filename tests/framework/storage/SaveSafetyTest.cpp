// Rules every save of a settings file keeps, whatever the format: atomic
// replacement, permissions, links, leftovers, and concurrent writers.
#include "StorageTestSupport.h"

#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>

#include "framework/storage/IniFileStore.h"
#include "framework/storage/RegistryStore.h"

namespace emr::testing {
namespace {

using SaveSafety = StorageFixture;

void SaveIni(const std::string& file, int first, int count) {
    TIniFileStore store(file);
    store.Open();
    for (int i = first; i < first + count; ++i)
        store.WriteInteger("S", "V" + std::to_string(i), i);
    store.Close();
}

TEST_F(SaveSafety, PermissionsAreKeptAndNewFilesAreTheUsersOnly) {
    SaveIni("new.ini", 0, 1);
    EXPECT_EQ(ModeOf(dir + "/new.ini"), 0600u);
    WriteFile(dir + "/old.ini", "[S]\n", 0640);
    SaveIni("old.ini", 0, 1);
    EXPECT_EQ(ModeOf(dir + "/old.ini"), 0640u);
}

TEST_F(SaveSafety, ReadOnlyFileIsRefusedAndStaysAsItWas) {
    WriteFile(dir + "/ro.ini", "[S]\nV0=old\n", 0444);
    EXPECT_THROW(SaveIni("ro.ini", 0, 1), ESettingsStoreError);
    EXPECT_EQ(ReadFile(dir + "/ro.ini"), "[S]\nV0=old\n");
    for (const std::string& name : Entries())
        EXPECT_FALSE(name.starts_with(".ro.ini.")) << name << " left behind";
}

TEST_F(SaveSafety, LinkStaysALinkAndWhatItLeadsToIsReplaced) {
    ::mkdir((dir + "/real").c_str(), 0700);
    ASSERT_EQ(::symlink("real/target.ini", (dir + "/link.ini").c_str()), 0);
    SaveIni("link.ini", 0, 1);
    struct stat st {};
    ASSERT_EQ(::lstat((dir + "/link.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFile(dir + "/real/target.ini"), "[S]\nV0=0\n");
}

TEST_F(SaveSafety, TemporaryFileOfAKilledWriterIsCleanedUp) {
    // Named as the writer names its temporary files: "." + name + "." and six letters or digits.
    WriteFile(dir + "/.left.ini.Ab12Cd", "half");
    SaveIni("left.ini", 0, 1);
    for (const std::string& name : Entries())
        EXPECT_FALSE(name.starts_with(".left.ini.")) << name;
}

TEST_F(SaveSafety, ProcessesSavingAtOnceLoseNoValues) {
    constexpr int kWriters = 4;
    constexpr int kSaves = 25;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int s = 0; s < kSaves; ++s)
                SaveIni("shared.ini", w * 1000 + s, 1);
            std::_Exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto plain = ReadIniPlainly(ReadFile(dir + "/shared.ini"));
    EXPECT_EQ(plain.size(), static_cast<std::size_t>(kWriters * kSaves));
}

// A writer killed at any moment of a save leaves either the old file or the new
// one, complete, never a mixture or nothing.
TEST_F(SaveSafety, KilledWriterLeavesTheOldOrTheNewFile) {
    const std::string path = dir + "/user-registry.reg";
    auto save = [&](int generation) {
        TRegistryStore store("Software\\Emr", path);
        store.Open();
        for (int i = 0; i < 200; ++i)
            store.WriteInteger("Layout", "Value" + std::to_string(i), generation * 1000 + i);
        store.WriteString("Layout", "Padding", std::string(20000, static_cast<char>('a' + generation % 26)));
        store.Close();
    };
    // The contents each generation leaves, and how long one save takes.
    save(0);
    const auto start = std::chrono::steady_clock::now();
    save(1);
    const auto took = std::chrono::steady_clock::now() - start;
    const std::string first = ReadFile(path);
    save(0);
    const std::string zero = ReadFile(path);
    ASSERT_NE(first, zero);
    const auto window = std::max<std::int64_t>(
        200, std::chrono::duration_cast<std::chrono::microseconds>(took).count() * 3 / 2);

    std::mt19937 random(20261207);
    int killedEarly = 0;
    int old = 0;
    constexpr int kTrials = 240;
    for (int trial = 0; trial < kTrials; ++trial) {
        const std::string before = ReadFile(path);
        const int generation = trial + 1;
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            save(generation);
            std::_Exit(0);
        }
        ::usleep(static_cast<useconds_t>(std::uniform_int_distribution<std::int64_t>(0, window)(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        killedEarly += WIFSIGNALED(status) ? 1 : 0;
        const std::string after = ReadFile(path);
        if (after == before) {
            ++old;
            continue;
        }
        // The complete new file, as the same save would write it.
        auto plain = ReadRegistryPlainly(after);
        const std::string key = "HKEY_CURRENT_USER\\Software\\Emr\\Layout/";
        ASSERT_EQ(plain.size(), 201u) << "trial " << trial;
        ASSERT_EQ(plain[key + "Value199"], "d:" + std::to_string(generation * 1000 + 199))
            << "trial " << trial;
        ASSERT_EQ(plain[key + "Padding"],
                  "s:" + std::string(20000, static_cast<char>('a' + generation % 26)));
        ASSERT_EQ(after.size(), before.size()) << "trial " << trial;
    }
    // Both outcomes happened, or the test did not probe the save at all.
    EXPECT_GT(killedEarly, kTrials / 10);
    EXPECT_GT(old, 0);
    EXPECT_LT(old, kTrials);
}

} // namespace
} // namespace emr::testing
