// start_limits.cpp -- resource limits checked before the toolkit starts.
#include "platform/start_limits.h"

#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

std::string Line(const char* format, unsigned long a, unsigned long b, unsigned long c = 0,
                 unsigned long d = 0)
{
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

// The soft limit, raised first to the hard one where it may be.
rlim_t Raised(int resource)
{
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0)
        return RLIM_INFINITY;
    if (limit.rlim_cur != limit.rlim_max) {
        rlimit raised{limit.rlim_max, limit.rlim_max};
        if (setrlimit(resource, &raised) == 0)
            return raised.rlim_cur;
    }
    return limit.rlim_cur;
}

rlim_t Soft(int resource)
{
    rlimit limit{};
    return getrlimit(resource, &limit) == 0 ? limit.rlim_cur : RLIM_INFINITY;
}

// Real uid and thread count from a /proc/<pid>/status; false when it is gone or unreadable.
bool ReadStatus(const std::string& path, uid_t& uid, unsigned long& threads)
{
    std::ifstream in(path);
    std::string line;
    bool haveUid = false, haveThreads = false;
    while (std::getline(in, line) && !(haveUid && haveThreads)) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "Uid:")
            haveUid = bool(fields >> uid);
        else if (key == "Threads:")
            haveThreads = bool(fields >> threads);
    }
    return haveUid && haveThreads;
}

// Every task on the system, from /proc/loadavg ("0.00 0.01 0.05 1/523 4321"); the most an
// unsigned long holds when it cannot be read.
unsigned long TasksOnSystem()
{
    std::ifstream in("/proc/loadavg");
    std::string load, running;
    unsigned long total = 0;
    if (in >> load >> load >> load >> running) {
        const size_t slash = running.find('/');
        if (slash != std::string::npos &&
            std::sscanf(running.c_str() + slash + 1, "%lu", &total) == 1)
            return total;
    }
    return ~0ul;
}

} // namespace

unsigned long CountTasksOfUser(uid_t uid, const std::string& proc)
{
    DIR* dir = opendir(proc.c_str());
    if (dir == nullptr)
        return 0;
    unsigned long tasks = 0;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9')
            continue;
        uid_t owner = 0;
        unsigned long threads = 0;
        if (ReadStatus(proc + "/" + entry->d_name + "/status", owner, threads) && owner == uid)
            tasks += threads;
    }
    closedir(dir);
    return tasks;
}

std::string CheckStartLimits()
{
    const rlim_t files = Raised(RLIMIT_NOFILE);
    const rlim_t space = Soft(RLIMIT_AS);
    if (space != RLIM_INFINITY && space < kAddressSpaceNeeded)
        return Line("tavrolu: the address-space limit of %lu MB is below the %lu MB the program "
                    "needs to start.\n",
                    space >> 20, kAddressSpaceNeeded >> 20);
    if (files != RLIM_INFINITY && files < kOpenFilesNeeded)
        return Line("tavrolu: the open-file limit of %lu is below the %lu files the program needs "
                    "to start.\n",
                    files, kOpenFilesNeeded);
    // The kernel does not hold root to the process limit.
    const rlim_t tasks = Soft(RLIMIT_NPROC);
    if (getuid() == 0 || tasks == RLIM_INFINITY)
        return std::string();
    // A limit above every task the system runs leaves room whoever runs them: the usual case,
    // which needs no walk through every process.
    const unsigned long onSystem = TasksOnSystem();
    if (onSystem < tasks && tasks - onSystem >= kTasksNeeded)
        return std::string();
    // This process is among the user's tasks already: it needs the rest.
    const unsigned long mine = CountTasksOfUser(getuid());
    const unsigned long others = mine > 0 ? mine - 1 : 0;
    if (tasks < others + kTasksNeeded)
        return Line("tavrolu: the process limit of %lu leaves room for %lu tasks beside the "
                    "user's %lu others, below the %lu the program needs to start.\n",
                    tasks, tasks > others ? tasks - others : 0, others, kTasksNeeded);
    return std::string();
}
