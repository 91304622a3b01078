// file_test.cpp -- CFile and CMemFile: reading, writing, and the causes of file exceptions.
#include "platform/file.h"
#include "platform/memfile.h"
#include "tests/hostile_files.h"
#include "tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

class FileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_scratch.IsMade()); }
    std::string Path(const char* name) const { return m_scratch.File(name); }

    // The cause Open reports for name, or -1 if it opened.
    static int OpenCause(const std::string& name, UINT flags)
    {
        CFile file;
        CFileException error;
        if (file.Open(name.c_str(), flags, &error))
            return -1;
        EXPECT_EQ(error.m_strFileName, name.c_str());
        return error.m_cause;
    }

    ScratchDir m_scratch;
    const std::string& m_dir = m_scratch.Path();
};

TEST_F(FileTest, WritesAndReadsBack)
{
    std::string name = Path("a.bin");
    {
        CFile file(name.c_str(), CFile::modeCreate | CFile::modeWrite);
        file.Write("hello world", 11);
        EXPECT_EQ(file.GetPosition(), 11u);
        file.Close();
    }
    CFile file(name.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    EXPECT_EQ(file.GetLength(), 11u);
    char buf[32] = {};
    EXPECT_EQ(file.Read(buf, sizeof buf), 11u);
    EXPECT_STREQ(buf, "hello world");
    EXPECT_EQ(file.Read(buf, sizeof buf), 0u);
    file.SeekToBegin();
    EXPECT_EQ(file.Read(buf, 5), 5u);
}

TEST_F(FileTest, CreateTruncatesUnlessNoTruncate)
{
    std::string name = Path("t.bin");
    CFile(name.c_str(), CFile::modeCreate | CFile::modeWrite).Write("12345", 5);
    CFile(name.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite).Write("ab", 2);
    EXPECT_EQ(CFile(name.c_str(), CFile::modeRead).GetLength(), 5u);
    CFile(name.c_str(), CFile::modeCreate | CFile::modeWrite).Write("x", 1);
    EXPECT_EQ(CFile(name.c_str(), CFile::modeRead).GetLength(), 1u);
}

TEST_F(FileTest, OpenFailuresReportTheirCause)
{
    EXPECT_EQ(OpenCause(Path("missing"), CFile::modeRead), CFileException::fileNotFound);
    EXPECT_EQ(OpenCause(m_dir, CFile::modeRead), CFileException::accessDenied);
    EXPECT_EQ(OpenCause(m_dir, CFile::modeCreate | CFile::modeWrite), CFileException::accessDenied);
    std::string plain = Path("plain");
    CFile(plain.c_str(), CFile::modeCreate | CFile::modeWrite).Close();
    EXPECT_EQ(OpenCause(plain + "/under", CFile::modeRead), CFileException::badPath);
    EXPECT_EQ(OpenCause(plain + "/under", CFile::modeCreate | CFile::modeWrite),
              CFileException::badPath);
}

// As an unprivileged user when the tests run as root, who may write anything.
TEST_F(FileTest, ReadOnlyFileRefusesWriting)
{
    std::string name = Path("ro");
    CFile(name.c_str(), CFile::modeCreate | CFile::modeWrite).Close();
    chmod(name.c_str(), 0444);
    chmod(m_dir.c_str(), 0755);
    int cause = RunUnprivileged([&] { return OpenCause(name, CFile::modeWrite) + 1; });
    ASSERT_NE(cause, -1) << "could not run as an unprivileged user";
    EXPECT_EQ(cause - 1, CFileException::accessDenied);
}

TEST_F(FileTest, ConstructorThrowsFileException)
{
    std::string name = Path("missing");
    try
    {
        CFile file(name.c_str(), CFile::modeRead);
        FAIL() << "opened a missing file";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e->m_strFileName, name.c_str());
        e->Delete();
    }
}

TEST_F(FileTest, WriteOnFullDiskThrowsDiskFull)
{
    CFile file;
    if (!file.Open("/dev/full", CFile::modeWrite))
        GTEST_SKIP() << "no /dev/full";
    char block[8192] = {};
    try
    {
        file.Write(block, sizeof block);
        FAIL() << "write to a full disk succeeded";
    }
    catch (CFileException* e)
    {
        EXPECT_EQ(e->m_cause, CFileException::diskFull);
        EXPECT_EQ(e->m_strFileName, "/dev/full");
        e->Delete();
    }
}

TEST(MemFile, ReadsViewAndWritesGrowingBuffer)
{
    const BYTE bytes[] = {1, 2, 3, 4, 5};
    CMemFile view(bytes, sizeof bytes);
    BYTE buf[8] = {};
    EXPECT_EQ(view.Read(buf, 3), 3u);
    EXPECT_EQ(view.Read(buf + 3, 8), 2u);
    EXPECT_EQ(view.Read(buf, 8), 0u);
    EXPECT_EQ(buf[4], 5);
    EXPECT_EQ(view.data(), bytes);

    CMemFile grow;
    grow.Write(bytes, 5);
    grow.Seek(-2, CFile::current);
    grow.Write(bytes, 3);
    EXPECT_EQ(grow.GetLength(), 6u);
    EXPECT_EQ(grow.Detach(), (std::vector<BYTE>{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(grow.GetLength(), 0u);
}

}  // namespace
