// hostile_files_test.cpp -- files that are not regular ones, met where a map or the tune is read:
// refused at once, never waited on.
#include "platform/file.h"
#include "platform/mci.h"
#include "platform/safe_write.h"
#include "tests/hostile_files.h"
#include "tests/scratch_dir.h"
#include "tests/syscall_faults.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
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

// The process's limit of open files (EMFILE) or the system's (ENFILE) reached: neither a missing
// nor an unreadable map, but a cause of its own, on open and on save. Each in a child process,
// which keeps the filter that makes the open fail. (A real exhaustion of the descriptors would
// also starve the sanitizers, which need a pipe of their own to check the program.)
TEST(HostileFiles, TooManyOpenFilesIsItsOwnCause)
{
    ScratchDir scratch;
    ASSERT_TRUE(scratch.IsMade());
    const std::string map = scratch.File("mapa.tvr");
    std::ofstream(map) << "map";
    for (int err : {EMFILE, ENFILE}) {
        pid_t pid = fork();
        if (pid == 0) {
            if (!SyscallFaults::FailCall(__NR_openat, err))
                _exit(255);
            if (ReadCause(map) != CFileException::tooManyOpenFiles)
                _exit(1);
            try {
                WriteFileSafely(map.c_str(), [](CFile& f) { f.Write("new", 3); });
                _exit(2);
            } catch (CFileException* e) {
                _exit(e->m_cause == CFileException::tooManyOpenFiles ? 0 : 3);
            }
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << strerror(err);
        ASSERT_NE(WEXITSTATUS(status), 255) << "could not set the filter";
        EXPECT_EQ(WEXITSTATUS(status), 0) << strerror(err) << ": the step that failed";
    }
}

}  // namespace
