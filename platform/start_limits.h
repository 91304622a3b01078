// start_limits.h -- the system's resource limits measured against what the program needs before
// its toolkit starts: the toolkit ends the process by a signal when an allocation, a file or a
// thread it needs is refused, so a limit too small must be found first.
#pragma once

#include <string>
#include <sys/types.h>

// What the program needs, measured on Debian 12 with the file dialog open and a game run
// (see the README): about 86 MB of address space, 10 open files and 7 tasks; each with room
// to spare.
constexpr unsigned long kAddressSpaceNeeded = 96ul << 20;
constexpr unsigned long kOpenFilesNeeded = 32;
constexpr unsigned long kTasksNeeded = 10;

// Raises the soft open-file limit to the hard one, then checks the address space, the open
// files and, for a user the process limit binds (not root), the tasks the user may still start.
// Returns a line for standard error naming the first limit too small; empty when all suffice.
std::string CheckStartLimits();

// The tasks (threads) whose real user is uid, as /proc lists them (the kernel's process limit
// counts every one of them); those /proc does not show (another pid namespace) are not counted.
unsigned long CountTasksOfUser(uid_t uid, const std::string& proc = "/proc");
