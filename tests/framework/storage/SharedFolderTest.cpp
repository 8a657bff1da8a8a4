// Saving where other processes and other users reach too: a folder lock someone
// else keeps, and links another user planted in a folder anyone may write to.
#include "StorageTestSupport.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>

#include "framework/storage/IniFileStore.h"
#include "framework/storage/PosixFileSystem.h"
#include "framework/storage/SettingsFile.h"

namespace emr::testing {
namespace {

using SharedFolder = StorageFixture;
using namespace std::chrono_literals;

void SaveIni(const std::string& file, TFileSystem* files = nullptr) {
    TIniFileStore store(file, files);
    store.Open();
    store.WriteInteger("S", "V", 1);
    store.Close();
}

/// A process that holds the lock on a folder until it is killed.
class TLockHolder {
public:
    explicit TLockHolder(const std::string& folder) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
            if (::write(ready[1], "x", 1) != 1) ::_exit(1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char c = 0;
        held_ = pid_ > 0 && ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
    }
    ~TLockHolder() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    TLockHolder(const TLockHolder&) = delete;
    TLockHolder& operator=(const TLockHolder&) = delete;
    bool Held() const { return held_; }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

/// Sets the bound on waiting for a lock and what runs meanwhile, and puts both back.
class TLockWaitFor {
public:
    TLockWaitFor(std::chrono::milliseconds limit, std::function<void()> whileWaiting)
        : previous_(TSettingsFile::LockWait()) {
        TSettingsFile::SetLockWait(limit);
        TSettingsFile::SetWhileWaiting(std::move(whileWaiting));
    }
    ~TLockWaitFor() {
        TSettingsFile::SetLockWait(previous_);
        TSettingsFile::SetWhileWaiting(nullptr);
    }
    TLockWaitFor(const TLockWaitFor&) = delete;
    TLockWaitFor& operator=(const TLockWaitFor&) = delete;

private:
    std::chrono::milliseconds previous_;
};

// A save once waited for the folder's lock without end, so another instance
// stopped mid-save froze the window that saved.
TEST_F(SharedFolder, FolderLockedByAnotherProgramFailsTheSaveWithinTheBound) {
    const std::string old = "[S]\nV=0\n";
    WriteFile(dir + "/held.ini", old, 0600);
    int waits = 0;
    const TLockWaitFor bound(300ms, [&] { ++waits; });
    {
        const TLockHolder holder(dir);
        ASSERT_TRUE(holder.Held());
        const auto started = std::chrono::steady_clock::now();
        try {
            SaveIni("held.ini");
            ADD_FAILURE() << "the save went through a lock another program holds";
        } catch (const ESettingsStoreError& e) {
            EXPECT_NE(std::string(e.what()).find("locked by another program"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(dir), std::string::npos) << e.what();
        }
        const auto waited = std::chrono::steady_clock::now() - started;
        EXPECT_GE(waited, 300ms);
        EXPECT_LT(waited, 3s);
        EXPECT_GT(waits, 1) << "the program gets to repaint while it waits";
        EXPECT_EQ(ReadFile(dir + "/held.ini"), old);
    }
    // Released (its holder ended), the lock is the saver's again.
    SaveIni("held.ini");
    EXPECT_EQ(ReadFile(dir + "/held.ini"), "[S]\nV=1\n");
}

/// The real files, but links, folders or both reported with the owners and modes
/// a shared folder has.
class TSharedFolderFiles : public TPosixFileSystem {
public:
    std::string Folder; // reported as FolderMode, owned by FolderUid
    std::uint32_t FolderMode = 01777;
    std::uint32_t FolderUid = 0;
    std::uint32_t LinkUid = 0; // the owner of every link in Folder

    bool Inspect(const std::string& path, TEntry& entry) override {
        if (!TPosixFileSystem::Inspect(path, entry)) return false;
        if (entry.IsLink && path.starts_with(Folder + "/")) entry.Uid = LinkUid;
        return true;
    }
    bool InspectFolder(const std::string& path, TEntry& entry) override {
        if (!TPosixFileSystem::InspectFolder(path, entry)) return false;
        if (path == Folder) {
            entry.Mode = FolderMode;
            entry.Uid = FolderUid;
        }
        return true;
    }
};

// Following a settings file's link by hand got round the kernel's protection of
// shared folders: another user's link made the save write into the victim's files.
TEST_F(SharedFolder, LinkOfAnotherUserInAFolderAnyoneMayWriteToIsNotFollowed) {
    const std::uint32_t me = ::geteuid();
    const std::uint32_t other = me + 1000;
    const std::uint32_t third = me + 2000;
    struct Case {
        const char* Name;
        std::uint32_t FolderMode, FolderUid, LinkUid;
        bool Followed;
    };
    const std::vector<Case> cases = {
        {"another user's link, sticky folder anyone may write to", 01777, third, other, false},
        {"another user's link, sticky folder of mine anyone may write to", 01777, me, other, false},
        {"my own link there", 01777, third, me, true},
        {"the folder owner's link there", 01777, other, other, true},
        {"another user's link in a folder that is not sticky", 0777, third, other, true},
        {"another user's link in a sticky folder only its owner writes to", 01755, third, other, true},
    };
    const std::string shared = dir + "/shared";
    const std::string victim = dir + "/victim";
    ::mkdir(shared.c_str(), 0700);
    ::mkdir(victim.c_str(), 0700);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        for (const bool targetExists : {true, false}) {
            SCOPED_TRACE(targetExists ? "to an existing file" : "to a file not made yet");
            const std::string target = victim + "/.bashrc";
            ::unlink(target.c_str());
            if (targetExists) WriteFile(target, "export PATH\n", 0600);
            ::unlink((shared + "/layout.ini").c_str());
            ASSERT_EQ(::symlink("../victim/.bashrc", (shared + "/layout.ini").c_str()), 0);
            TSharedFolderFiles files;
            files.Folder = shared;
            files.FolderMode = c.FolderMode;
            files.FolderUid = c.FolderUid;
            files.LinkUid = c.LinkUid;
            TSettingsFile file(shared + "/layout.ini", &files);
            const auto update = [&] {
                file.Update([](const TSettingsFile::TContent&) {
                    return TSettingsFile::TReplacement{"[S]\n", false};
                });
            };
            if (c.Followed) {
                EXPECT_NO_THROW(update());
                EXPECT_EQ(ReadFile(target), "[S]\n");
            } else {
                try {
                    update();
                    ADD_FAILURE() << "the link was followed";
                } catch (const ESettingsStoreError& e) {
                    const std::string said = e.what();
                    EXPECT_NE(said.find("will not follow the link " + shared + "/layout.ini"),
                              std::string::npos)
                        << said;
                    EXPECT_NE(said.find("another user"), std::string::npos) << said;
                }
                EXPECT_EQ(::access(target.c_str(), F_OK) == 0, targetExists);
                if (targetExists) {
                    EXPECT_EQ(ReadFile(target), "export PATH\n");
                }
            }
            struct stat st {};
            EXPECT_EQ(::lstat((shared + "/layout.ini").c_str(), &st), 0);
            EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
        }
    }
}

// The same with a real shared folder and a link that really is another user's;
// only root can give a link away.
TEST_F(SharedFolder, RealLinkOfAnotherUserInAStickyFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
    const std::string shared = dir + "/tmp";
    const std::string victim = dir + "/home";
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(::mkdir(victim.c_str(), 0700), 0);
    WriteFile(victim + "/.bashrc", "export PATH\n", 0600);
    constexpr uid_t kOtherUser = 54321;
    const std::string link = shared + "/layout.ini";
    ASSERT_EQ(::symlink("../home/.bashrc", link.c_str()), 0);
    ASSERT_EQ(::lchown(link.c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_THROW(SaveIni(link), ESettingsStoreError);
    EXPECT_EQ(ReadFile(victim + "/.bashrc"), "export PATH\n");

    // Given to the folder's owner, the link is followed as the kernel would.
    ASSERT_EQ(::chown(shared.c_str(), kOtherUser, kOtherUser), 0);
    EXPECT_NO_THROW(SaveIni(link));
    EXPECT_EQ(ReadFile(victim + "/.bashrc"), "[S]\nV=1\n");
}

} // namespace
} // namespace emr::testing
