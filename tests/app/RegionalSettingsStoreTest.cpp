#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "StoreTestSupport.h"
#include "app/LinuxLocalePlatform.h"

namespace emr::test {
namespace {

const std::string kBefore = "\xEF\xBB\xBF; clinic\r\n[Desktop]\r\nWallpaper=sea.png\r\n"
                            "[International]\r\nsShortDate=M/d/yy\r\ns1159=AM\r\n";

/// The Linux platform on a store, with the boxes it shows and the reasons it gives noted.
struct TPatchRun {
    TPatchRun(const fs::path& settings, TFileSystem& files)
        : Store(settings.string(), files), Platform(Store) {
        Platform.SetMessageBoxShower([this](HWND, const std::string& text, const std::string&, UINT) {
            Boxes.push_back(text);
            return IDOK;
        });
        Platform.SetErrorReporter([this](const std::string& reason) { Reasons.push_back(reason); });
    }
    TPatchOutcome Run() { return RunApplySequence(Platform, 0, {}); }

    TRegionalSettingsStore Store;
    TLinuxLocalePlatform Platform;
    std::vector<std::string> Boxes;
    std::vector<std::string> Reasons;
};

class RegionalSettingsStoreTest : public ScratchFolderTest {};

// Whatever single file step fails, the user sees success with all five values or
// the failure box with the file exactly as it was, and a reason on failure.
TEST_F(RegionalSettingsStoreTest, FailureOfAnyStepLeavesTheFileAsItWas) {
    for (const bool fileExists : {true, false}) {
        SCOPED_TRACE(fileExists ? "existing file" : "no file yet");
        TStepCounter counting;
        {
            if (fileExists) WriteFile(SettingsPath(), kBefore);
            TStepFileSystem files(counting);
            ASSERT_EQ(TPatchRun(SettingsPath(), files).Run(), TPatchOutcome::Applied);
        }
        const std::vector<std::string> steps = counting.Names;
        int refused = 0;
        for (std::size_t at = 0; at < steps.size(); ++at) {
            SCOPED_TRACE("step " + std::to_string(at) + " (" + steps[at] + ") fails");
            fs::remove_all(config_);
            if (fileExists) WriteFile(SettingsPath(), kBefore);
            const std::optional<std::string> before = ReadFile(SettingsPath());
            TStepCounter counter;
            counter.Action = TStepCounter::TAction::Fail;
            counter.At = static_cast<int>(at);
            TStepFileSystem files(counter);
            TPatchRun run(SettingsPath(), files);

            const TPatchOutcome outcome = run.Run();
            ASSERT_EQ(run.Boxes.size(), 1u);
            if (outcome == TPatchOutcome::Applied) {
                EXPECT_EQ(run.Boxes[0], "补丁应用成功！");
                EXPECT_EQ(ReadFile(SettingsPath()), PatchedText(before.value_or("")));
                EXPECT_NE(steps[at], "Write");
                EXPECT_NE(steps[at], "Sync");
                EXPECT_NE(steps[at], "Rename");
            } else {
                ++refused;
                EXPECT_EQ(run.Boxes[0], "补丁应用失败！");
                EXPECT_EQ(ReadFile(SettingsPath()), before) << "byte for byte as before";
                ASSERT_EQ(run.Reasons.size(), 1u);
                EXPECT_NE(run.Reasons[0].find(config_.string()), std::string::npos) << run.Reasons[0];
            }
            EXPECT_EQ(Temporaries(config_), std::vector<std::string>{});
            if (steps[at] == "Rename" && !run.Reasons.empty()) {
                const std::string& reason = run.Reasons[0];
                const std::string from = config_.string() + "/.regional-settings.ini.";
                EXPECT_TRUE(reason.starts_with("cannot rename " + from)) << reason;
                EXPECT_TRUE(reason.ends_with(" to " + SettingsPath().string() + ": No space left on device"))
                    << reason;
            }
        }
        EXPECT_GE(refused, 8);
    }
}

TEST_F(RegionalSettingsStoreTest, RefusedValueInAGroupStoresNothing) {
    WriteFile(SettingsPath(), kBefore);
    TPosixFileSystem files;
    TPatchRun run(SettingsPath(), files);

    run.Platform.BeginUpdate();
    EXPECT_TRUE(run.Platform.SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "yyyy-MM-dd"));
    EXPECT_FALSE(run.Platform.SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLONGDATE, "yyyy\xFF"));
    EXPECT_FALSE(run.Platform.SetLocaleInfoA(LOCALE_USER_DEFAULT, 0x0021, "x"));
    EXPECT_EQ(ReadFile(SettingsPath()), kBefore) << "nothing is written before the group ends";
    EXPECT_TRUE(run.Platform.EndUpdate(false));
    EXPECT_EQ(ReadFile(SettingsPath()), kBefore);
    EXPECT_EQ(run.Reasons,
              (std::vector<std::string>{"cannot store sLongDate: the value is not code page 936 text",
                                        "no setting is kept for locale item 0x0021"}));

    // What a dropped group kept does not come back with the next one.
    run.Platform.BeginUpdate();
    EXPECT_TRUE(run.Platform.SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S1159, ""));
    EXPECT_TRUE(run.Platform.EndUpdate(true));
    EXPECT_EQ(ReadFile(SettingsPath()), "\xEF\xBB\xBF; clinic\r\n[Desktop]\r\nWallpaper=sea.png\r\n"
                                        "[International]\r\nsShortDate=M/d/yy\r\ns1159=\r\n");
}

// Names of the store's own temporary files, left by a writer that was killed, are
// removed by the next write; anything else, or a file a running writer holds, stays.
TEST_F(RegionalSettingsStoreTest, NextWriteRemovesLeftoverTemporariesOnly) {
    WriteFile(SettingsPath(), kBefore);
    for (const char* leftover : {".regional-settings.ini.AbC123", ".regional-settings.ini.000000"})
        WriteFile(config_ / leftover, "[International]\nsSho", fs::perms::owner_read);
    const std::vector<std::string> kept = {".regional-settings.ini.abc",
                                           ".regional-settings.ini.abc1234",
                                           ".regional-settings.ini.ab-123",
                                           "regional-settings.ini.AbC123",
                                           ".other.ini.AbC123",
                                           ".regional-settings.ini.bak"};
    for (const std::string& name : kept)
        WriteFile(config_ / name, "x");
    WriteFile(root_ / "elsewhere", "x");
    fs::create_symlink(root_ / "elsewhere", config_ / ".regional-settings.ini.Link00");
    fs::create_directory(config_ / ".regional-settings.ini.Dir000");
    WriteFile(config_ / ".regional-settings.ini.Other0", "x");
    ASSERT_EQ(::chown((config_ / ".regional-settings.ini.Other0").c_str(), 4242, 4242), 0);

    // A writer that is still at work, between creating its file and renaming it.
    TPosixFileSystem other;
    std::string busy;
    const TFileSystem::THandle handle = other.CreateTemporary(config_ / ".regional-settings.ini", busy);
    ASSERT_NE(handle, TFileSystem::kNoHandle);

    TPosixFileSystem files;
    TPatchRun run(SettingsPath(), files);
    EXPECT_EQ(run.Run(), TPatchOutcome::Applied);

    std::vector<std::string> expected = {fs::path(busy).filename().string(), ".regional-settings.ini.Dir000",
                                         ".regional-settings.ini.Link00", ".regional-settings.ini.Other0"};
    for (const std::string& name : kept)
        if (name.starts_with(".regional-settings.ini.")) expected.push_back(name);
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> left = Temporaries(config_);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, expected);
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(config_ / name)) << name;
    EXPECT_TRUE(fs::exists(root_ / "elsewhere"));

    // Once its writer is gone, the file is a leftover like any other.
    other.Close(handle);
    EXPECT_EQ(run.Run(), TPatchOutcome::Applied);
    EXPECT_FALSE(fs::exists(busy));
}

// One line the reader does not understand must not block every later patch.
TEST_F(RegionalSettingsStoreTest, UnknownLinesAreKeptAndDoNotBlockThePatch) {
    const std::string before = "[International]\nsShortDate=d/M/yyyy\nno equals sign here\n"
                               "[Broken section\n  = no key\nsTimeFormat=h:mm\n";
    WriteFile(SettingsPath(), before);
    TPosixFileSystem files;
    TPatchRun run(SettingsPath(), files);

    EXPECT_EQ(run.Run(), TPatchOutcome::Applied);
    EXPECT_EQ(ReadFile(SettingsPath()), "[International]\nsShortDate=yyyy-MM-dd\nno equals sign here\n"
                                        "[Broken section\n  = no key\nsTimeFormat=HH:mm:ss\n"
                                        "sLongDate=yyyy'年'M'月 'd'日'\ns1159=\ns2359=\n");
    EXPECT_EQ(run.Reasons, std::vector<std::string>{});
    EXPECT_EQ(run.Store.Read(LOCALE_STIMEFORMAT), "HH:mm:ss");
}

// The rename that replaces the file needs only the folder's permission, so a file
// the user made read-only was replaced all the same.
TEST_F(RegionalSettingsStoreTest, ReadOnlyFileIsNotWritten) {
    WriteFile(SettingsPath(), kBefore,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    TPosixFileSystem files;
    TPatchRun run(SettingsPath(), files);

    EXPECT_EQ(run.Run(), TPatchOutcome::Refused);
    EXPECT_EQ(run.Boxes, std::vector<std::string>{"补丁应用失败！"});
    EXPECT_EQ(ReadFile(SettingsPath()), kBefore);
    EXPECT_EQ(fs::status(SettingsPath()).permissions() & fs::perms::all, fs::perms(0444));
    EXPECT_EQ(run.Reasons, std::vector<std::string>{"cannot write " + SettingsPath().string() +
                                                    ": the file is read-only"});
}

TEST_F(RegionalSettingsStoreTest, LinksAreWrittenThroughEvenWhenNothingIsThereYet) {
    const std::string patched = PatchedText("");
    TPosixFileSystem files;
    // Relative, and to a folder that does not exist yet.
    fs::create_symlink("../shared/emr/settings.ini", SettingsPath());
    TPatchRun run(SettingsPath(), files);
    EXPECT_EQ(run.Run(), TPatchOutcome::Applied);
    EXPECT_TRUE(fs::is_symlink(SettingsPath()));
    EXPECT_EQ(ReadFile(root_ / "shared" / "emr" / "settings.ini"), patched);

    // A chain of links ends at the same file.
    fs::remove(SettingsPath());
    fs::create_symlink(root_ / "hop", SettingsPath());
    fs::create_symlink("shared/emr/settings.ini", root_ / "hop");
    WriteFile(root_ / "shared" / "emr" / "settings.ini", "[International]\n");
    EXPECT_EQ(run.Run(), TPatchOutcome::Applied);
    EXPECT_TRUE(fs::is_symlink(SettingsPath()));
    EXPECT_TRUE(fs::is_symlink(root_ / "hop"));
    EXPECT_EQ(ReadFile(root_ / "shared" / "emr" / "settings.ini"), PatchedText("[International]\n"));

    // A loop is refused, and nothing of it is replaced.
    fs::remove(root_ / "hop");
    fs::create_symlink(SettingsPath(), root_ / "hop");
    run.Reasons.clear();
    EXPECT_EQ(run.Run(), TPatchOutcome::Refused);
    EXPECT_TRUE(fs::is_symlink(SettingsPath()));
    EXPECT_TRUE(fs::is_symlink(root_ / "hop"));
    ASSERT_EQ(run.Reasons.size(), 1u);
    EXPECT_TRUE(run.Reasons[0].ends_with(": Too many levels of symbolic links")) << run.Reasons[0];
}

// The folder creation used to recurse once per path part, so a hostile
// XDG_CONFIG_HOME overflowed the stack on "确定".
TEST_F(RegionalSettingsStoreTest, AbsurdConfigFolderIsRefusedNotFollowed) {
    std::string hostile;
    for (int i = 0; i < 60000; ++i)
        hostile += "/a";
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("XDG_CONFIG_HOME", hostile.c_str(), 1);
    const std::optional<std::string> path = TRegionalSettingsStore::DefaultPath();
    if (saved)
        ::setenv("XDG_CONFIG_HOME", saved->c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    ASSERT_TRUE(path);

    TPosixFileSystem files;
    TPatchRun run(*path, files);
    EXPECT_EQ(run.Run(), TPatchOutcome::Refused);
    ASSERT_EQ(run.Reasons.size(), 1u);
    EXPECT_NE(run.Reasons[0].find("more than the system allows"), std::string::npos) << run.Reasons[0];
    EXPECT_LT(run.Reasons[0].size(), 300u) << "the path is cut short in the message";
    EXPECT_FALSE(run.Store.Read(LOCALE_SSHORTDATE));
    EXPECT_FALSE(fs::exists("/a/a")) << "no folder of it was made";

    // The folder maker itself: deep but legal paths work, overlong ones are refused.
    std::string deep = config_.string();
    for (int i = 0; i < 300; ++i)
        deep += "/d";
    EXPECT_TRUE(files.MakeDirectories(deep, 0700));
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_TRUE(files.MakeDirectories(deep + "//e/", 0700));
    EXPECT_TRUE(fs::is_directory(deep + "/e"));
    errno = 0;
    EXPECT_FALSE(files.MakeDirectories(config_.string() + hostile, 0700));
    EXPECT_EQ(errno, ENAMETOOLONG);
    WriteFile(config_ / "file", "x");
    EXPECT_FALSE(files.MakeDirectories((config_ / "file" / "sub").string(), 0700));
    EXPECT_EQ(errno, ENOTDIR);
}

} // namespace
} // namespace emr::test
