// safe_write_test.cpp -- WriteFileSafely: a save that fails leaves the old file as it was.
#include "platform/safe_write.h"
#include "tests/hostile_files.h"
#include "tests/scratch_dir.h"
#include "tests/syscall_faults.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstddef>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <vector>
#include <sys/resource.h>
#include <sys/stat.h>

namespace
{

using namespace SyscallFaults;

// Added to the cause Save returns when the save left the file damaged.
const int kDamaged = 64;

class SafeWriteTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_scratch.IsMade()); }

    static std::string Contents(const std::string& name)
    {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteText(const std::string& name, const char* text)
    {
        std::ofstream(name, std::ios::binary) << text;
    }
    size_t EntriesInDir() const
    {
        return size_t(std::distance(std::filesystem::directory_iterator(m_dir), {}));
    }
    static bool IsA(const std::string& name, mode_t type)
    {
        struct stat st;
        return lstat(name.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == type;
    }
    static struct stat Status(const std::string& name)
    {
        struct stat st {};
        EXPECT_EQ(stat(name.c_str(), &st), 0) << name;
        return st;
    }
    // Runs body in a child process, so limits, filters and kills stay there; its wait status.
    static int InChild(const std::function<void()>& body)
    {
        pid_t pid = fork();
        if (pid == 0)
        {
            body();
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return status;
    }
    static bool HasUnnamedFiles(const std::string& dir)
    {
        int probe = open(dir.c_str(), O_TMPFILE | O_WRONLY, 0600);
        if (probe >= 0)
            close(probe);
        return probe >= 0;
    }
    // Saves text to the target, after anything before does its part; returns the cause of the
    // CFileException it threw (plus kDamaged when the file was left damaged), or -1.
    int Save(const std::string& text, SafeWriteKind kind = SafeWriteKind::document,
             const std::function<void()>& before = [] {}) const
    {
        try
        {
            WriteFileSafely(
                m_target.c_str(),
                [&](CFile& f) {
                    before();
                    f.Write(text.data(), UINT(text.size()));
                },
                kind);
            return -1;
        }
        catch (CFileException* e)
        {
            EXPECT_EQ(e->m_strFileName, m_target.c_str());
            int cause = e->m_cause + (dynamic_cast<CFileDamagedException*>(e) ? kDamaged : 0);
            e->Delete();
            return cause;
        }
    }
    // Saves text in a child process whose folder allows no new file, so the map is rewritten in
    // place, under the faults given; what Save returned there (254: the faults could not be set).
    int SaveInPlace(const std::string& text,
                    const std::function<bool()>& faults = [] { return true; },
                    const std::function<void()>& before = [] {}) const
    {
        int status = InChild([&] {
            signal(SIGXFSZ, SIG_IGN);
            _exit(FailCreate(EACCES) && faults() ? Save(text, SafeWriteKind::document, before) + 1
                                                 : 255);
        });
        EXPECT_TRUE(WIFEXITED(status));
        return WEXITSTATUS(status) - 1;
    }

    ScratchDir m_scratch;
    const std::string& m_dir = m_scratch.Path();
    std::string m_target = m_scratch.File("map.tvr");
};

TEST_F(SafeWriteTest, CreatesAndReplacesKeepingMode)
{
    EXPECT_EQ(Save("first"), -1);
    EXPECT_EQ(Contents(m_target), "first");
    chmod(m_target.c_str(), 0640);
    EXPECT_EQ(Save("second, longer"), -1);
    EXPECT_EQ(Contents(m_target), "second, longer");
    EXPECT_EQ(EntriesInDir(), 1u);
    struct stat st;
    ASSERT_EQ(stat(m_target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(SafeWriteTest, FailingWriterLeavesOldFileIntact)
{
    WriteText(m_target, "old contents");
    CFileException* thrown = new CFileException(CFileException::diskFull, 28, m_target.c_str());
    try
    {
        WriteFileSafely(m_target.c_str(), [&](CFile& f) {
            f.Write("partial", 7);
            throw thrown;
        });
        FAIL() << "the writer's exception did not propagate";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e, thrown);
        e->Delete();
    }
    EXPECT_EQ(Contents(m_target), "old contents");
    EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(SafeWriteTest, LinksAreWrittenThroughForMapsAndReplacedForTheBackup)
{
    // map.tvr -> link -> sub/real.tvr, both relative to the link's own folder.
    std::filesystem::create_directory(m_dir + "/sub");
    WriteText(m_dir + "/sub/real.tvr", "old");
    std::filesystem::create_symlink("sub/real.tvr", m_dir + "/link");
    std::filesystem::create_symlink("link", m_target);
    EXPECT_EQ(Save("through"), -1);
    EXPECT_EQ(Contents(m_dir + "/sub/real.tvr"), "through");
    EXPECT_EQ(std::filesystem::read_symlink(m_target), "link");
    EXPECT_EQ(std::filesystem::read_symlink(m_dir + "/link"), "sub/real.tvr");

    // A link to nothing yet: the file it names is made.
    std::filesystem::remove(m_dir + "/sub/real.tvr");
    EXPECT_EQ(Save("made"), -1);
    EXPECT_EQ(Contents(m_dir + "/sub/real.tvr"), "made");
    EXPECT_TRUE(IsA(m_target, S_IFLNK));

    EXPECT_EQ(Save("own", SafeWriteKind::scratch), -1);
    EXPECT_TRUE(IsA(m_target, S_IFREG));
    EXPECT_EQ(Contents(m_target), "own");
    EXPECT_EQ(Contents(m_dir + "/sub/real.tvr"), "made");
    EXPECT_EQ(EntriesInDir(), 3u);
}

TEST_F(SafeWriteTest, WhatIsNotARegularFileIsRefusedAndKept)
{
    ASSERT_EQ(mkfifo((m_dir + "/canal").c_str(), 0666), 0);
    std::filesystem::create_symlink("canal", m_target);
    EXPECT_EQ(Save("data"), CFileException::accessDenied);
    EXPECT_TRUE(IsA(m_dir + "/canal", S_IFIFO));
    std::filesystem::remove(m_target);
    std::filesystem::rename(m_dir + "/canal", m_target);
    for (SafeWriteKind kind : {SafeWriteKind::document, SafeWriteKind::scratch})
        EXPECT_EQ(Save("data", kind), CFileException::accessDenied);
    EXPECT_TRUE(IsA(m_target, S_IFIFO));
    std::filesystem::remove(m_target);
    std::filesystem::create_directory(m_target);
    EXPECT_EQ(Save("data"), CFileException::accessDenied);
    EXPECT_TRUE(IsA(m_target, S_IFDIR));
    EXPECT_EQ(EntriesInDir(), 1u);
}

// The folder lets anyone replace the file: only the file's own mode stands in the way.
TEST_F(SafeWriteTest, ReadOnlyFileIsRefusedToAnUnprivilegedUser)
{
    WriteText(m_target, "old");
    chmod(m_target.c_str(), 0444);
    chmod(m_dir.c_str(), 0777);
    int cause = RunUnprivileged([this] { return Save("new") + 1; });
    ASSERT_NE(cause, -1) << "could not run as an unprivileged user";
    EXPECT_EQ(cause - 1, CFileException::accessDenied);
    EXPECT_EQ(Contents(m_target), "old");
    EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(SafeWriteTest, TheLongestNameSavesInPlace)
{
    m_target = m_dir + "/" + std::string(251, 'm') + ".tvr";
    EXPECT_EQ(Save("first"), -1);
    EXPECT_EQ(Save("second"), -1);
    EXPECT_EQ(Contents(m_target), "second");
    EXPECT_EQ(EntriesInDir(), 1u);
}

// In a child process, so the limit and the killing stay there.
TEST_F(SafeWriteTest, KilledOrLimitedSavesLeaveOnlyTheOldFile)
{
    if (!HasUnnamedFiles(m_dir))
        GTEST_SKIP() << "this file system has no unnamed files";
    WriteText(m_target, "old");
    const std::string big(1 << 20, 'x');
    int status = InChild([&] {
        WriteFileSafely(m_target.c_str(), [&](CFile& f) {
            f.Write(big.data(), UINT(big.size()));
            raise(SIGKILL);
        });
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(Contents(m_target), "old");
    EXPECT_EQ(EntriesInDir(), 1u);

    status = InChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(Save(big.c_str()));
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), CFileException::diskFull);
    EXPECT_EQ(Contents(m_target), "old");
    EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(SafeWriteTest, MissingDirectoryFailsWithCause)
{
    m_target = m_dir + "/nowhere/map.tvr";
    EXPECT_EQ(Save("data"), CFileException::fileNotFound);
}

// A shared folder: the map is the user's to write, the folder is not. Nothing new can be made
// there, so the map is written over in place, keeping its owner, group and mode; a size limit
// is met before a byte of it is overwritten.
TEST_F(SafeWriteTest, AMapInAFolderTheUserMayNotWriteIsRewrittenInPlace)
{
    WriteText(m_target, "old");
    chmod(m_target.c_str(), 0640);
    if (geteuid() == 0)
    {
        ASSERT_EQ(chown(m_target.c_str(), 65534, 65534), 0);
    }
    chmod(m_dir.c_str(), 0555);
    const struct stat before = Status(m_target);
    const std::string big(1 << 16, 'x');
    int status = InChild([&] {
        _exit(RunUnprivileged([&] {
            if (Save("new and longer") != -1)
                return 1;
            if (Save("short") != -1)
                return 2;
            m_target = m_dir + "/new.tvr";
            if (Save("data") != CFileException::accessDenied)
                return 3;
            m_target = m_dir + "/map.tvr";
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &limit);
            return Save(big.c_str()) == CFileException::diskFull ? 0 : 4;
        }));
    });
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 255) << "could not run as an unprivileged user";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the step that failed";
    EXPECT_EQ(Contents(m_target), "short");
    const struct stat after = Status(m_target);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(EntriesInDir(), 1u);
}

// Another user's map the user may write through its group: root's safe save hands the new file
// to the map's owner; in a sticky folder, where the user could not rename over it nor give a new
// file its owner, the user's save rewrites it in place.
TEST_F(SafeWriteTest, AnotherUsersMapKeepsItsOwnerAndGroupEitherWay)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    WriteText(m_target, "old");
    ASSERT_EQ(chown(m_target.c_str(), 65534, 65534), 0);
    chmod(m_target.c_str(), 0640);
    struct stat before = Status(m_target);
    EXPECT_EQ(Save("by root"), -1);
    struct stat after = Status(m_target);
    EXPECT_NE(after.st_ino, before.st_ino) << "not replaced by a new file";
    EXPECT_EQ(after.st_uid, 65534u);
    EXPECT_EQ(after.st_gid, 65534u);
    EXPECT_EQ(after.st_mode & 07777, 0640u);

    ASSERT_EQ(chown(m_target.c_str(), 0, 65534), 0);
    chmod(m_target.c_str(), 0664);
    chmod(m_dir.c_str(), 01777);
    before = Status(m_target);
    int cause = RunUnprivileged([this] { return Save("by nobody") + 1; });
    ASSERT_NE(cause, -1) << "could not run as an unprivileged user";
    EXPECT_EQ(cause - 1, -1);
    EXPECT_EQ(Contents(m_target), "by nobody");
    after = Status(m_target);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_gid, 65534u);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
    EXPECT_EQ(EntriesInDir(), 1u);
}

// Folders of the longest names, nested until the map's path is 4095 bytes, the most a path may
// hold: the temporary's own name is never added to the path.
TEST_F(SafeWriteTest, AMapAtTheLongestPathSaves)
{
    std::string dir = m_dir;
    while (dir.size() + 1 + 255 + 6 <= 4095)
    {
        dir += "/" + std::string(255, 'd');
        ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    }
    dir += "/" + std::string(4095 - 6 - dir.size() - 1, 'e');
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    m_target = dir + "/m.tvr";
    ASSERT_EQ(m_target.size(), 4095u);
    EXPECT_EQ(Save("first"), -1);
    EXPECT_EQ(Save("second"), -1);
    EXPECT_EQ(Contents(m_target), "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

TEST_F(SafeWriteTest, UnnamedFilesThatCannotBeLinkedFallBackToANamedOne)
{
    if (!HasUnnamedFiles(m_dir))
        GTEST_SKIP() << "this file system has no unnamed files";
    WriteText(m_target, "old");
    chmod(m_target.c_str(), 0604);
    int status = InChild([&] { _exit(FailCall(__NR_linkat, EOPNOTSUPP) ? Save("new") + 1 : 255); });
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 255) << "could not refuse links";
    EXPECT_EQ(WEXITSTATUS(status) - 1, -1);
    EXPECT_EQ(Contents(m_target), "new");
    EXPECT_EQ(Status(m_target).st_mode & 07777, 0604u);
    EXPECT_EQ(EntriesInDir(), 1u);
}

// A map rewritten in place (the folder takes no new file) that fails for a lack of room, a size
// limit or a failing disk: the old bytes and length are back, byte for byte, and the cause is
// the truthful one. Only where even they cannot be put back is the file reported damaged.
TEST_F(SafeWriteTest, AFailedRewriteInPlaceLeavesTheOldMapByteForByte)
{
    const std::string old(128 << 10, 'o');
    const std::string map(160 << 10, 'n');
    WriteText(m_target, old.c_str());
    const ino_t inode = Status(m_target).st_ino;
    auto expectOld = [&](const char* step) {
        EXPECT_TRUE(Contents(m_target) == old) << step;
        EXPECT_EQ(Status(m_target).st_ino, inode) << step << ": not rewritten in place";
        EXPECT_EQ(EntriesInDir(), 1u) << step;
    };

    // The limit lies below the new length, and the old file is longer still.
    EXPECT_EQ(SaveInPlace(std::string(32 << 10, 'n'), [] {
                  rlimit limit{16 << 10, 16 << 10};
                  return setrlimit(RLIMIT_FSIZE, &limit) == 0;
              }),
              CFileException::diskFull);
    expectOld("a size limit");

    // A file system that reserves nothing (ext2, NFSv3) on a disk with no room left: even the old
    // bytes could not be written back there (a copy-on-write file system needs room for that).
    EXPECT_EQ(SaveInPlace(map,
                          [] {
                              return FailCall(__NR_fallocate, EOPNOTSUPP)
                                     && FailWritesPast(96 << 10, ENOSPC);
                          }),
              CFileException::diskFull);
    expectOld("a full disk without reservations");

    // The disk fails past 96 KiB: the old bytes there cannot come back.
    EXPECT_EQ(SaveInPlace(map, [] { return FailWritesPast(96 << 10, EIO); }),
              CFileException::hardIO + kDamaged);

    // A smaller map fits where the disk still works: it is put back whole.
    const std::string small(8 << 10, 's');
    WriteText(m_target, small.c_str());
    EXPECT_EQ(SaveInPlace(map, [] { return FailWritesPast(96 << 10, EIO); }),
              CFileException::hardIO);
    EXPECT_TRUE(Contents(m_target) == small) << "an I/O error part-way";

    EXPECT_EQ(SaveInPlace("in place"), -1);
    EXPECT_EQ(Contents(m_target), "in place");
    EXPECT_EQ(Status(m_target).st_ino, inode);
}

// Between the check and the rewrite, the file's owner swaps in another file or a FIFO: neither
// is written nor waited on.
TEST_F(SafeWriteTest, ARewriteInPlaceWritesOnlyTheFileThatWasChecked)
{
    WriteText(m_target, "old");
    WriteText(m_dir + "/other", "other");
    EXPECT_EQ(SaveInPlace("new", [] { return true; },
                          [this] { std::filesystem::rename(m_dir + "/other", m_target); }),
              CFileException::accessDenied);
    EXPECT_EQ(Contents(m_target), "other");

    GuardedFifo fifo(m_dir + "/canal");
    ASSERT_TRUE(fifo.IsMade());
    EXPECT_EQ(SaveInPlace("new", [] { return true; },
                          [this] { std::filesystem::rename(m_dir + "/canal", m_target); }),
              CFileException::accessDenied);
    EXPECT_TRUE(IsA(m_target, S_IFIFO));
    EXPECT_FALSE(fifo.Rescued()) << "the save waited on the FIFO";
}

// In a sticky, world-writable folder another user's link is not followed, as the system itself
// would not (protected_symlinks); one that belongs to the folder's owner is.
TEST_F(SafeWriteTest, ALinkOfAnotherUserInAStickyFolderIsRefused)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can make another user's link";
    const std::string notes = m_dir + "/notes.txt";
    WriteText(notes, "notes");
    ASSERT_EQ(mkdir((m_dir + "/shared").c_str(), 0777), 0);
    chmod((m_dir + "/shared").c_str(), 01777);
    m_target = m_dir + "/shared/foo.tvr";
    std::filesystem::create_symlink(notes, m_target);
    ASSERT_EQ(lchown(m_target.c_str(), 65534, 65534), 0);
    EXPECT_EQ(Save("map"), CFileException::accessDenied);
    EXPECT_EQ(Contents(notes), "notes");
    EXPECT_TRUE(IsA(m_target, S_IFLNK));

    ASSERT_EQ(chown((m_dir + "/shared").c_str(), 65534, 65534), 0);
    EXPECT_EQ(Save("map"), -1);
    EXPECT_EQ(Contents(notes), "map");
}

// A new file never takes setuid or setgid; a mode it cannot take sends the save in place,
// where the file keeps its own.
TEST_F(SafeWriteTest, TheModeIsKeptWithoutSetuidAndSetgid)
{
    WriteText(m_target, "old");
    chmod(m_target.c_str(), 06755);
    EXPECT_EQ(Save("new"), -1);
    EXPECT_EQ(Status(m_target).st_mode & 07777, 0755u);

    chmod(m_target.c_str(), 0604);
    const ino_t inode = Status(m_target).st_ino;
    int status = InChild([&] { _exit(FailCall(__NR_fchmod, EPERM) ? Save("newer") + 1 : 255); });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Contents(m_target), "newer");
    EXPECT_EQ(Status(m_target).st_mode & 07777, 0604u);
    EXPECT_EQ(Status(m_target).st_ino, inode);
}

// The user's own map in a group the user shares with others (not the user's own group) stays in
// that group when the safe way saves it.
TEST_F(SafeWriteTest, AMapInASharedGroupKeepsItsGroup)
{
    gid_t shared = 4242;
    if (geteuid() != 0)
    {
        std::vector<gid_t> groups(size_t(getgroups(0, nullptr)));
        getgroups(int(groups.size()), groups.data());
        auto other = std::find_if(groups.begin(), groups.end(),
                                  [](gid_t g) { return g != getegid(); });
        if (other == groups.end())
            GTEST_SKIP() << "the user belongs to no group but its own";
        shared = *other;
    }
    WriteText(m_target, "old");
    chmod(m_target.c_str(), 0664);
    if (geteuid() == 0)
    {
        ASSERT_EQ(chown(m_dir.c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(chown(m_target.c_str(), geteuid() == 0 ? 65534 : geteuid(), shared), 0);
    const struct stat before = Status(m_target);
    EXPECT_EQ(RunUnprivileged([this] { return Save("new") + 1; }, {shared}), 0);
    EXPECT_EQ(Contents(m_target), "new");
    const struct stat after = Status(m_target);
    EXPECT_NE(after.st_ino, before.st_ino) << "not saved the safe way";
    EXPECT_EQ(after.st_gid, shared);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
}

}  // namespace
