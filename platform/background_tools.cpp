// background_tools.cpp -- a queue of tools, a thread that runs them, a deadline for each.
#include "platform/background_tools.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

struct Job
{
    ToolCommand command;
    std::chrono::milliseconds limit;
};

// Never destroyed: the thread may still be waiting on a tool while the program exits.
struct Queue
{
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Job> jobs;
    bool threadRunning = false;
    pid_t running = 0; // the running tool, also its process group
};

Queue& TheQueue()
{
    static Queue* queue = new Queue;
    return *queue;
}

// The signals this process ignores: a spawned program would inherit them ignored.
sigset_t IgnoredSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int sig = 1; sig < NSIG; sig++) {
        struct sigaction sa;
        if (sig != SIGKILL && sig != SIGSTOP && sigaction(sig, nullptr, &sa) == 0
            && sa.sa_handler == SIG_IGN)
            sigaddset(&set, sig);
    }
    return set;
}

pid_t Spawn(const ToolCommand& command)
{
    std::vector<char*> argv;
    for (const std::string& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : {0, 1, 2})
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_RDWR, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults = IgnoredSignals(), none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK
                                        | POSIX_SPAWN_SETPGROUP);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), environ) != 0)
        pid = 0;
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

bool Exited(pid_t pid, int options)
{
    siginfo_t info = {};
    while (waitid(P_PID, id_t(pid), &info, WEXITED | WNOWAIT | options) < 0) {
        if (errno != EINTR)
            return true;
    }
    return info.si_pid == pid;
}

// Polls rather than blocks, so that the deadline is seen in time. The tool is reaped only after
// it is no longer the running one: its process group's number cannot be reused while a stop
// may still signal it.
void WaitOrEnd(Queue& q, pid_t pid, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!Exited(pid, WNOHANG)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(-pid, SIGKILL);
            Exited(pid, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    {
        std::lock_guard<std::mutex> guard(q.lock);
        q.running = 0;
    }
    int status;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

void RunQueue()
{
    Queue& q = TheQueue();
    std::unique_lock<std::mutex> lock(q.lock);
    while (!q.jobs.empty()) {
        Job job = std::move(q.jobs.front());
        q.jobs.pop_front();
        // Started under the lock, so that a stop either drops the job or ends the tool.
        pid_t pid = Spawn(job.command);
        if (pid == 0)
            continue;
        q.running = pid;
        lock.unlock();
        WaitOrEnd(q, pid, job.limit);
        lock.lock();
    }
    q.threadRunning = false;
    q.changed.notify_all();
}

} // namespace

void RunToolsInBackground(const std::vector<ToolCommand>& commands,
                          std::chrono::milliseconds limit)
{
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    for (const ToolCommand& command : commands) {
        if (!command.empty())
            q.jobs.push_back({command, limit});
    }
    if (q.threadRunning || q.jobs.empty())
        return;
    try {
        std::thread(RunQueue).detach();
        q.threadRunning = true;
    } catch (const std::system_error&) {
        q.jobs.clear();
    }
}

void StopBackgroundTools()
{
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    q.jobs.clear();
    if (q.running != 0)
        kill(-q.running, SIGKILL);
}

bool BackgroundToolsDone(std::chrono::milliseconds timeout)
{
    Queue& q = TheQueue();
    std::unique_lock<std::mutex> lock(q.lock);
    return q.changed.wait_for(lock, timeout, [&q] { return !q.threadRunning; });
}
