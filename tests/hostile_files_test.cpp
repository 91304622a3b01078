// hostile_files_test.cpp -- files that are not regular ones, met where a map or the tune is read:
// refused at once, never waited on.
#include "platform/file.h"
#include "platform/mci.h"
#include "tests/hostile_files.h"
#include "tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <string>

namespace
{

// The cause Open reports for reading name, or -1 if it opened.
int ReadCause(const std::string& name)
{
    CFile file;
    CFileException error;
    if (file.Open(name.c_str(), CFile::modeRead | CFile::shareDenyWrite, &error))
        return -1;
    EXPECT_EQ(error.m_strFileName, name.c_str());
    return error.m_cause;
}

TEST(HostileFiles, OnlyRegularFilesOpenForReading)
{
    ScratchDir scratch;
    ASSERT_TRUE(scratch.IsMade());
    GuardedFifo fifo(scratch.File("canal.tvr"));
    ASSERT_TRUE(fifo.IsMade());
    ASSERT_EQ(symlink("canal.tvr", scratch.File("enllac.tvr").c_str()), 0);
    std::ofstream(scratch.File("buit.tvr"));
    int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", scratch.File("socol").c_str());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    EXPECT_EQ(ReadCause(scratch.File("canal.tvr")), CFileException::accessDenied);
    EXPECT_EQ(ReadCause(scratch.File("enllac.tvr")), CFileException::accessDenied);
    EXPECT_EQ(ReadCause("/dev/zero"), CFileException::accessDenied);
    EXPECT_EQ(ReadCause(scratch.File("socol")), CFileException::accessDenied);
    close(sock);
    EXPECT_EQ(ReadCause(scratch.Path()), CFileException::accessDenied);
    // A pseudo file says it is empty and is not.
    EXPECT_EQ(ReadCause("/proc/self/status"), CFileException::accessDenied);
    EXPECT_EQ(ReadCause(scratch.File("buit.tvr")), -1);
    EXPECT_FALSE(fifo.Rescued()) << "an open waited on the FIFO";

    // Writing to a device is still the caller's choice.
    CFile full;
    EXPECT_TRUE(full.Open("/dev/null", CFile::modeWrite));
}

// Reading /proc/self/mem at its start fails: an error, never an empty map.
TEST(HostileFiles, AFileThatCannotBeReadIsAReadError)
{
    EXPECT_EQ(ReadCause("/proc/self/mem"), CFileException::hardIO);
}

TEST(HostileFiles, ATuneThatIsAFifoIsMissingMusic)
{
    ScratchDir scratch;
    ASSERT_TRUE(scratch.IsMade());
    GuardedFifo fifo(scratch.File("cor.mid"));
    ASSERT_TRUE(fifo.IsMade());
    std::string open = "open sequencer!" + scratch.File("cor.mid") + " alias canal";
    EXPECT_EQ(mciSendStringA(open.c_str(), nullptr, 0, nullptr), DWORD(MCIERR_FILE_NOT_FOUND));
    EXPECT_FALSE(fifo.Rescued()) << "the tune's open waited on the FIFO";
}

}  // namespace
