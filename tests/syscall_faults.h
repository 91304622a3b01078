// syscall_faults.h -- faults injected where the program meets the system: a seccomp filter makes
// chosen system calls fail as a failing disk or an odd file system would. A filter cannot be
// taken back, so each test installs its filters in a child process.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <vector>

namespace SyscallFaults {

inline sock_filter Load(uint32_t offset)
{
    return BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offset);
}
// The low half of argument n (the machine is little-endian); the tests' values fit in it.
inline uint32_t Arg(int n)
{
    return uint32_t(offsetof(seccomp_data, args) + 8 * n);
}
inline sock_filter Fail(int err)
{
    return BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (uint32_t(err) & SECCOMP_RET_DATA));
}
inline sock_filter Allow()
{
    return BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW);
}

// Adds one filter to the process; where several answer, the failure wins.
inline bool Install(std::vector<sock_filter> program)
{
    sock_fprog fprog{static_cast<unsigned short>(program.size()), program.data()};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &fprog) == 0;
}

// Every call nr fails with err.
inline bool FailCall(int nr, int err)
{
    return Install({Load(offsetof(seccomp_data, nr)),
                    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, uint32_t(nr), 0, 1), Fail(err), Allow()});
}

// An open that would make a file (O_CREAT, O_TMPFILE) fails with err, as in a folder the user
// may not write.
inline bool FailCreate(int err)
{
    const uint32_t creating = O_CREAT | (O_TMPFILE & ~O_DIRECTORY);
    return Install({Load(offsetof(seccomp_data, nr)),
                    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_openat, 0, 3), Load(Arg(2)),
                    BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, creating, 0, 1), Fail(err), Allow()});
}

// A pwrite reaching past byte end of its file fails with err, writing nothing: a disk that is
// full (ENOSPC) or failing (EIO) from there on.
inline bool FailWritesPast(uint32_t end, int err)
{
    return Install({Load(offsetof(seccomp_data, nr)),
                    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_pwrite64, 0, 6), Load(Arg(2)),
                    BPF_STMT(BPF_MISC | BPF_TAX, 0), Load(Arg(3)),
                    BPF_STMT(BPF_ALU | BPF_ADD | BPF_X, 0),
                    BPF_JUMP(BPF_JMP | BPF_JGT | BPF_K, end, 0, 1), Fail(err), Allow()});
}

} // namespace SyscallFaults
