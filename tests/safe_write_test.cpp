// safe_write_test.cpp -- WriteFileSafely: a save that fails leaves the old file as it was.
#include "platform/safe_write.h"
#include "tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
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
    // Saves text to the target; returns the cause of the CFileException it threw, or -1.
    int Save(const char* text) const
    {
        try
        {
            WriteFileSafely(m_target.c_str(), [&](CFile& f) { f.Write(text, UINT(strlen(text))); });
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

TEST_F(SafeWriteTest, FailingRenameRemovesTemporary)
{
    // A directory in the target's place: everything is written, then the rename is refused.
    std::filesystem::create_directory(m_target);
    EXPECT_NE(Save("data"), -1);
    EXPECT_TRUE(std::filesystem::is_directory(m_target));
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
