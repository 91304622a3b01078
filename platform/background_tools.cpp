// background_tools.cpp -- a queue of tools, a thread that runs them, the groups they leave and
// their end with the program.
#include "platform/background_tools.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The tools of one call, which succeed only together. Only the tools' thread reads or counts it.
struct Batch
{
    size_t left;
    bool failed;
    std::function<void()> succeeded;
};

struct Job
{
    ToolCommand command;
    std::chrono::milliseconds limit;
    std::shared_ptr<Batch> batch;
};

// Never destroyed: the thread may still be waiting on a tool while the program exits.
struct Queue
{
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Job> jobs;
    bool threadRunning = false;
    bool endsWithProgram = false;
};

Queue& TheQueue()
{
    static Queue* queue = new Queue;
    return *queue;
}

// The tools' process groups, by number, while one may still hold a process. The program's end
// reads them from any thread or from a signal handler, hence plain lock-free slots; only the
// tools' thread fills or empties one, and it starts a tool only into a free slot.
constexpr int kMaxGroups = 8;
std::atomic<pid_t> g_groups[kMaxGroups];
Clock::time_point g_deadlines[kMaxGroups]; // the tools' thread's own
// Set for good when the program ends. A tool is started only while g_spawning is set, and only
// when g_ending is not: the end, which sets g_ending and then waits out g_spawning, either sees
// the new group or keeps the tool from starting.
std::atomic<bool> g_ending{false};
std::atomic<bool> g_spawning{false};

const int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Async-signal-safe, as everything the program's end calls.
void KillGroups()
{
    for (std::atomic<pid_t>& group : g_groups) {
        const pid_t id = group.load();
        if (id > 0)
            kill(-id, SIGKILL);
    }
}

void EndWithProgram()
{
    g_ending.store(true);
    const timespec millisecond = {0, 1000000};
    for (int i = 0; i < 1000 && g_spawning.load(); i++)
        nanosleep(&millisecond, nullptr);
    KillGroups();
}

// Installed with SA_RESETHAND: the signal, raised again, ends the program as it would have.
void EndWithProgramAndRaise(int sig)
{
    EndWithProgram();
    raise(sig);
}

// Every way out ends the groups: a return from main or exit (the toolkit skips its own exit
// step when the start fails), and the usual ending signals where no one else handles them.
void EndGroupsWithProgram()
{
    std::atexit(EndWithProgram);
    for (int sig : kEndingSignals) {
        struct sigaction old;
        if (sigaction(sig, nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) != 0
            || old.sa_handler != SIG_DFL)
            continue;
        struct sigaction sa = {};
        sa.sa_handler = EndWithProgramAndRaise;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESETHAND;
        sigaction(sig, &sa, nullptr);
    }
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

int FreeSlot()
{
    for (int i = 0; i < kMaxGroups; i++) {
        if (g_groups[i].load() == 0)
            return i;
    }
    return -1;
}

bool AnyGroup()
{
    for (const std::atomic<pid_t>& group : g_groups) {
        if (group.load() != 0)
            return true;
    }
    return false;
}

// The tool in the slot, its group's deadline counted from now; 0 when it cannot start.
pid_t StartTool(const Job& job, int slot)
{
    g_spawning.store(true);
    pid_t pid = 0;
    if (!g_ending.load()) {
        pid = Spawn(job.command);
        if (pid != 0) {
            g_deadlines[slot] = Clock::now() + job.limit;
            g_groups[slot].store(pid);
        }
    }
    g_spawning.store(false);
    return pid;
}

struct Running
{
    pid_t pid = 0;
    std::shared_ptr<Batch> batch;
};

// Under the lock, so that a stop either drops the job or sees its group. Starts nothing while
// every slot holds a group.
void StartNext(Queue& q, Running* tool)
{
    int slot;
    while (!q.jobs.empty() && (slot = FreeSlot()) >= 0) {
        Job job = std::move(q.jobs.front());
        q.jobs.pop_front();
        if (pid_t pid = StartTool(job, slot)) {
            *tool = {pid, job.batch};
            return;
        }
        job.batch->failed = true;
        job.batch->left--;
    }
}

// A group with no process left is forgotten. One past its deadline is ended and forgotten (a
// kill cannot be refused). While a group has a process, its number is in use and cannot name
// another group; once it has none, the number comes round again only after the system has
// handed out every other process number, far longer than one poll.
void EndOrForgetGroups()
{
    const auto now = Clock::now();
    for (int i = 0; i < kMaxGroups; i++) {
        const pid_t id = g_groups[i].load();
        if (id == 0)
            continue;
        if (now >= g_deadlines[i])
            kill(-id, SIGKILL);
        else if (kill(-id, 0) == 0 || errno != ESRCH)
            continue;
        g_groups[i].store(0);
    }
}

// True once the tool has exited and been reaped; then ok when it exited with status 0.
bool Reaped(pid_t pid, bool* ok)
{
    int status = 0;
    const pid_t got = waitpid(pid, &status, WNOHANG);
    if (got == 0 || (got < 0 && errno == EINTR))
        return false;
    *ok = got == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return true;
}

// Counts the tool's end in its batch; true when that completes the batch with every tool
// exited 0.
bool CompletesBatch(Batch& batch, bool ok)
{
    batch.failed |= !ok;
    return --batch.left == 0 && !batch.failed && batch.succeeded && !g_ending.load();
}

// Polls rather than blocks, so that deadlines are seen in time.
void RunQueue()
{
    // The ending signals are handled on the program's other threads: their handler waits for
    // this one to finish starting a tool.
    sigset_t ending;
    sigemptyset(&ending);
    for (int sig : kEndingSignals)
        sigaddset(&ending, sig);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);

    Queue& q = TheQueue();
    Running tool;
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(q.lock);
            if (tool.pid == 0)
                StartNext(q, &tool);
            if (tool.pid == 0 && q.jobs.empty() && !AnyGroup()) {
                q.threadRunning = false;
                q.changed.notify_all();
                return;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EndOrForgetGroups();
        bool ok = false;
        if (tool.pid != 0 && Reaped(tool.pid, &ok)) {
            if (CompletesBatch(*tool.batch, ok))
                tool.batch->succeeded();
            tool = {};
        }
    }
}

} // namespace

void RunToolsInBackground(const std::vector<ToolCommand>& commands,
                          std::chrono::milliseconds limit, std::function<void()> succeeded)
{
    auto batch = std::make_shared<Batch>(Batch{0, false, std::move(succeeded)});
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    for (const ToolCommand& command : commands) {
        if (!command.empty()) {
            q.jobs.push_back({command, limit, batch});
            batch->left++;
        }
    }
    if (!q.endsWithProgram) {
        EndGroupsWithProgram();
        q.endsWithProgram = true;
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
    KillGroups();
}

bool BackgroundToolsDone(std::chrono::milliseconds timeout)
{
    Queue& q = TheQueue();
    std::unique_lock<std::mutex> lock(q.lock);
    return q.changed.wait_for(lock, timeout, [&q] { return !q.threadRunning; });
}
