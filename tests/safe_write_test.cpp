// safe_write_test.cpp -- WriteFileSafely: a save that fails leaves the old file as it was.
#include "platform/safe_write.h"
#include "tests/hostile_files.h"
#include "tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>

namespace
{

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
    // Saves text to the target; returns the cause of the CFileException it threw, or -1.
    int Save(const char* text, SafeWriteKind kind = SafeWriteKind::document) const
    {
        try
        {
            WriteFileSafely(m_target.c_str(), [&](CFile& f) { f.Write(text, UINT(strlen(text))); },
                            kind);
            return -1;
        }
        catch (CFileException* e)
        {
            EXPECT_EQ(e->m_strFileName, m_target.c_str());
            int cause = e->m_cause;
            e->Delete();
            return cause;
        }
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

// Makes every link the process asks for fail as on a file system that refuses to link unnamed
// files.
bool RefuseLinks()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_linkat, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EOPNOTSUPP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{sizeof filter / sizeof filter[0], filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0
           && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

TEST_F(SafeWriteTest, UnnamedFilesThatCannotBeLinkedFallBackToANamedOne)
{
    if (!HasUnnamedFiles(m_dir))
        GTEST_SKIP() << "this file system has no unnamed files";
    WriteText(m_target, "old");
    chmod(m_target.c_str(), 0604);
    int status = InChild([&] { _exit(RefuseLinks() ? Save("new") + 1 : 255); });
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 255) << "could not refuse links";
    EXPECT_EQ(WEXITSTATUS(status) - 1, -1);
    EXPECT_EQ(Contents(m_target), "new");
    EXPECT_EQ(Status(m_target).st_mode & 07777, 0604u);
    EXPECT_EQ(EntriesInDir(), 1u);
}

}  // namespace
