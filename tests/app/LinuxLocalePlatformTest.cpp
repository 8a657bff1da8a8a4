#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "app/FormatPatch.h"
#include "app/LinuxLocalePlatform.h"
#include "app/RegionalSettingsStore.h"
#include "app/StartupFormats.h"
#include "framework/storage/PosixFileSystem.h"

namespace emr {
namespace {

namespace fs = std::filesystem;

/// A file system whose chosen step fails, after the real steps before it ran.
class TFailingFileSystem : public TPosixFileSystem {
public:
    bool FailRename = false;
    bool FailSync = false;
    int TemporariesCreated = 0;

    THandle CreateTemporary(const std::string& prefix, std::string& path) override {
        ++TemporariesCreated;
        return TPosixFileSystem::CreateTemporary(prefix, path);
    }
    bool Sync(THandle handle) override { return !FailSync && TPosixFileSystem::Sync(handle); }
    bool Rename(const std::string& from, const std::string& to) override {
        return !FailRename && TPosixFileSystem::Rename(from, to);
    }
};

/// Points XDG_CONFIG_HOME at a fresh folder for the test and puts it back afterwards.
class LinuxStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/emr-app-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldConfig_ = old;
        config_ = root_ / "config";
        ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    }
    void TearDown() override {
        if (oldConfig_)
            ::setenv("XDG_CONFIG_HOME", oldConfig_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(root_);
    }

    fs::path SettingsPath() const { return config_ / "regional-settings.ini"; }
    void WriteSettings(const std::string& bytes,
                       fs::perms perms = fs::perms::owner_read | fs::perms::owner_write) {
        fs::create_directories(config_);
        std::ofstream(SettingsPath(), std::ios::binary) << bytes;
        fs::permissions(SettingsPath(), perms);
    }
    std::string ReadSettings() const {
        std::ifstream in(SettingsPath(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::size_t FilesInConfig() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(config_), fs::directory_iterator()));
    }

    fs::path root_;
    fs::path config_;
    std::optional<std::string> oldConfig_;
};

TEST_F(LinuxStoreTest, PathFollowsXdgConfigHomeThenHome) {
    EXPECT_EQ(TRegionalSettingsStore::DefaultPath(), SettingsPath().string());
    const char* home = std::getenv("HOME");
    std::optional<std::string> oldHome = home ? std::optional<std::string>(home) : std::nullopt;
    ::setenv("HOME", "/home/clinic", 1);
    for (const char* unusable : {"", "relative/config"}) {
        ::setenv("XDG_CONFIG_HOME", unusable, 1);
        EXPECT_EQ(TRegionalSettingsStore::DefaultPath(), "/home/clinic/.config/regional-settings.ini");
    }
    if (oldHome)
        ::setenv("HOME", oldHome->c_str(), 1);
    else
        ::unsetenv("HOME");
}

TEST_F(LinuxStoreTest, PatchWritesTheFiveValuesIntoANewPrivateFile) {
    TPosixFileSystem files;
    TRegionalSettingsStore store(*TRegionalSettingsStore::DefaultPath(), files);
    TLinuxLocalePlatform platform(store);

    EXPECT_TRUE(ApplyFormatPatch(platform));
    EXPECT_EQ(ReadSettings(), "[International]\n"
                              "sShortDate=yyyy-MM-dd\n"
                              "sLongDate=yyyy'年'M'月 'd'日'\n"
                              "sTimeFormat=HH:mm:ss\n"
                              "s1159=\n"
                              "s2359=\n");
    EXPECT_EQ(fs::status(SettingsPath()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(FilesInConfig(), 1u) << "no temporary file is left behind";

    // Patching again changes nothing.
    const std::string once = ReadSettings();
    EXPECT_TRUE(ApplyFormatPatch(platform));
    EXPECT_EQ(ReadSettings(), once);
}

TEST_F(LinuxStoreTest, OtherKeysSurviveAndPermissionsAreKept) {
    const std::string before = "; kept\n[Desktop]\nWallpaper=sea.png\n[International]\nsShortDate=M/d/yyyy\n"
                               "iFirstDayOfWeek=0\ns1159=AM\n";
    WriteSettings(before, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read);
    TPosixFileSystem files;
    TRegionalSettingsStore store(SettingsPath(), files);
    TLinuxLocalePlatform platform(store);

    EXPECT_TRUE(ApplyFormatPatch(platform));
    EXPECT_EQ(ReadSettings(),
              "; kept\n[Desktop]\nWallpaper=sea.png\n[International]\nsShortDate=yyyy-MM-dd\n"
              "iFirstDayOfWeek=0\ns1159=\nsLongDate=yyyy'年'M'月 'd'日'\nsTimeFormat=HH:mm:ss\n"
              "s2359=\n");
    EXPECT_EQ(fs::status(SettingsPath()).permissions() & fs::perms::all, fs::perms(0644));
}

TEST_F(LinuxStoreTest, SettingsLinkStaysALinkToTheRewrittenFile) {
    fs::create_directories(root_ / "real");
    std::ofstream(root_ / "real" / "settings.ini") << "[International]\ns1159=AM\n";
    fs::create_directories(config_);
    fs::create_symlink(root_ / "real" / "settings.ini", SettingsPath());
    TPosixFileSystem files;
    TRegionalSettingsStore store(SettingsPath(), files);

    EXPECT_TRUE(store.Write(LOCALE_S1159, ""));
    EXPECT_TRUE(fs::is_symlink(SettingsPath()));
    EXPECT_EQ(ReadSettings(), "[International]\ns1159=\n");
}

// Root ignores permission bits, so an unwritable folder is one whose path runs
// through a regular file.
TEST_F(LinuxStoreTest, UnwritableFolderFailsTheWrite) {
    fs::create_directories(root_);
    std::ofstream(root_ / "plainfile") << "x";
    ::setenv("XDG_CONFIG_HOME", (root_ / "plainfile" / "config").c_str(), 1);
    TPosixFileSystem files;
    TRegionalSettingsStore store(*TRegionalSettingsStore::DefaultPath(), files);
    TLinuxLocalePlatform platform(store);

    EXPECT_FALSE(platform.SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "yyyy-MM-dd"));
    EXPECT_FALSE(ApplyFormatPatch(platform));
    std::ifstream in(root_ / "plainfile");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "x");
}

TEST_F(LinuxStoreTest, InterruptedWriteLeavesTheOldFileIntact) {
    const std::string before = "[International]\nsShortDate=d/M/yyyy\n";
    for (bool failRename : {true, false}) {
        SCOPED_TRACE(failRename ? "rename fails" : "flush fails");
        WriteSettings(before);
        TFailingFileSystem files;
        files.FailRename = failRename;
        files.FailSync = !failRename;
        TRegionalSettingsStore store(SettingsPath(), files);

        EXPECT_FALSE(store.Write(LOCALE_SSHORTDATE, "yyyy-MM-dd"));
        EXPECT_EQ(files.TemporariesCreated, 1) << "the failure came after the temporary file was written";
        EXPECT_EQ(ReadSettings(), before);
        EXPECT_EQ(FilesInConfig(), 1u) << "the temporary file is removed";
    }
}

TEST_F(LinuxStoreTest, FileThatIsNotSettingsIsNeverOverwritten) {
    const std::string notSettings[] = {
        std::string("\x7F"
                    "ELF\x02\x01\x01\0\0\0",
                    10),
        "[International]\nsShortDate=\xB6\xCC\n", // GBK bytes, not UTF-8
        "just some notes\nabout the clinic\n",
        std::string(TRegionalSettingsStore::kMaxBytes + 1, ';'),
    };
    TPosixFileSystem files;
    TRegionalSettingsStore store(SettingsPath(), files);
    for (const std::string& content : notSettings) {
        WriteSettings(content);
        EXPECT_FALSE(store.Write(LOCALE_SSHORTDATE, "yyyy-MM-dd"));
        EXPECT_FALSE(store.Read(LOCALE_SSHORTDATE));
        EXPECT_EQ(ReadSettings(), content);
    }
    fs::remove(SettingsPath());
    fs::create_directories(SettingsPath());
    EXPECT_FALSE(store.Write(LOCALE_SSHORTDATE, "yyyy-MM-dd")) << "a folder in the file's place";
}

TEST_F(LinuxStoreTest, RefusesWrongLocaleUnknownItemsAndInvalidText) {
    TPosixFileSystem files;
    TRegionalSettingsStore store(SettingsPath(), files);
    TLinuxLocalePlatform platform(store);

    EXPECT_FALSE(platform.SetLocaleInfoA(0x0804, LOCALE_SSHORTDATE, "yyyy-MM-dd"));
    EXPECT_FALSE(platform.SetLocaleInfoA(LOCALE_USER_DEFAULT, 0x0021, "x"));
    EXPECT_FALSE(platform.SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, nullptr));
    EXPECT_FALSE(platform.SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "yyyy\xFF"));
    EXPECT_FALSE(platform.SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, "a\n[x]"));
    EXPECT_FALSE(fs::exists(SettingsPath()));
}

TEST_F(LinuxStoreTest, StartupFormatsComeFromTheFileThenTheCLibrary) {
    TPosixFileSystem files;
    TRegionalSettingsStore store(SettingsPath(), files);
    const char* oldLcAll = std::getenv("LC_ALL");
    std::optional<std::string> savedLcAll = oldLcAll ? std::optional<std::string>(oldLcAll) : std::nullopt;
    ::setenv("LC_ALL", "C", 1);

    TStartupFormats formats = TStartupFormats::Read(store);
    EXPECT_EQ(formats.ShortDateFormat, "MM/dd/yy");
    EXPECT_EQ(formats.LongTimeFormat, "HH:mm:ss");
    EXPECT_EQ(formats.TimeAMString, "AM");
    EXPECT_EQ(formats.TimePMString, "PM");

    WriteSettings("[International]\nsShortDate=yyyy/M/d\nsTimeFormat=tt h:mm:ss\ns1159=\ns2359=下午\n");
    formats = TStartupFormats::Read(store);
    EXPECT_EQ(formats.ShortDateFormat, "yyyy/M/d");
    EXPECT_EQ(formats.LongTimeFormat, "tt h:mm:ss");
    EXPECT_EQ(formats.TimeAMString, "") << "an empty designator stays empty";
    EXPECT_EQ(formats.TimePMString, "下午");

    if (savedLcAll)
        ::setenv("LC_ALL", savedLcAll->c_str(), 1);
    else
        ::unsetenv("LC_ALL");
}

} // namespace
} // namespace emr
