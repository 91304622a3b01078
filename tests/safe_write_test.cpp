// safe_write_test.cpp -- WriteFileSafely: a save that fails leaves the old file as it was.
#include "platform/safe_write.h"
#include "tests/hostile_files.h"
#include "tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

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
    int probe = open(m_dir.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0)
        GTEST_SKIP() << "this file system has no unnamed files";
    close(probe);
    WriteText(m_target, "old");
    const std::string big(1 << 20, 'x');
    auto inChild = [](const std::function<void()>& body) {
        pid_t pid = fork();
        if (pid == 0)
        {
            body();
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return status;
    };
    int status = inChild([&] {
        WriteFileSafely(m_target.c_str(), [&](CFile& f) {
            f.Write(big.data(), UINT(big.size()));
            raise(SIGKILL);
        });
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(Contents(m_target), "old");
    EXPECT_EQ(EntriesInDir(), 1u);

    status = inChild([&] {
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

TEST_F(SafeWriteTest, UnwritableDirectoryLeavesOldFileIntact)
{
    WriteText(m_target, "old");
    chmod(m_dir.c_str(), 0500);
    std::string probe = m_dir + "/probe";
    if (std::ofstream(probe).is_open())
        GTEST_SKIP() << "running with the right to write any directory";
    EXPECT_EQ(Save("new"), CFileException::accessDenied);
    EXPECT_EQ(Contents(m_target), "old");
    EXPECT_EQ(EntriesInDir(), 1u);
}

}  // namespace
