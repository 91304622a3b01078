// background_tools_test.cpp -- desktop tools started without waiting: a tool past its time limit
// ended with all it started, a helper left by a tool that exited ended as well, the program's
// ignored signals not passed on, a stop at exit, a call's success only when all its tools succeed.
#include "scratch_dir.h"

#include "platform/background_tools.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

using namespace std::chrono_literals;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A process that is gone, or a zombie no one has reaped yet, runs nothing any more.
bool Ended(const std::string& pid)
{
    std::string stat = ReadFile("/proc/" + pid + "/stat");
    size_t paren = stat.rfind(')');
    return stat.empty() || (paren != std::string::npos && stat.compare(paren + 2, 1, "Z") == 0);
}

// A kill is delivered when the process next runs, so one still on its way out is given a moment.
bool EndsSoon(const std::string& pid)
{
    for (int i = 0; i < 500 && !Ended(pid); i++)
        std::this_thread::sleep_for(10ms);
    return Ended(pid);
}

// Polls for a file a tool writes, so that no step waits longer than it must.
bool FileAppears(const std::string& path)
{
    for (int i = 0; i < 500 && ReadFile(path).empty(); i++)
        std::this_thread::sleep_for(10ms);
    return !ReadFile(path).empty();
}

// Two numbers a tool's shell wrote: its own and its helper's.
std::pair<std::string, std::string> Pids(const std::string& path)
{
    std::ifstream in(path);
    std::pair<std::string, std::string> pids;
    in >> pids.first >> pids.second;
    return pids;
}

} // namespace

TEST(BackgroundTools, AToolPastItsLimitIsEndedWithWhatItStarted)
{
    ScratchDir dir;
    const std::string pids = dir.File("pids");
    // The tool's child sleeps on after its parent, in the tool's process group.
    RunToolsInBackground({{"sh", "-c", "sleep 60 & echo $$ $! >" + pids + "; wait"}}, 300ms);
    ASSERT_TRUE(FileAppears(pids));
    ASSERT_TRUE(BackgroundToolsDone(20s));
    std::ifstream in(pids);
    std::string tool, child;
    in >> tool >> child;
    EXPECT_TRUE(EndsSoon(tool)) << tool;
    EXPECT_TRUE(EndsSoon(child)) << child;
}

TEST(BackgroundTools, ToolsStartWithDefaultSignalsAndRunInOrder)
{
    ScratchDir dir;
    void (*old)(int) = std::signal(SIGXFSZ, SIG_IGN);
    sigset_t blocked, saved;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &blocked, &saved);
    // cp copies its own state (a shell would clear its signal mask first).
    RunToolsInBackground({{"cp", "/proc/self/status", dir.File("a")},
                          {"cp", dir.File("a"), dir.File("b")}},
                         20s);
    // The runner's thread, made in that call, blocks what this one blocked.
    const bool done = BackgroundToolsDone(20s);
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
    std::signal(SIGXFSZ, old);
    ASSERT_TRUE(done);
    const std::string status = ReadFile(dir.File("b"));
    const size_t at = status.find("SigBlk:");
    ASSERT_NE(at, std::string::npos) << status;
    unsigned long long blockedMask = ~0ull, ignoredMask = ~0ull;
    ASSERT_EQ(std::sscanf(status.c_str() + at, "SigBlk: %llx SigIgn: %llx", &blockedMask,
                          &ignoredMask),
              2);
    EXPECT_EQ(blockedMask, 0u);
    // Signals 1-31 (glibc keeps its own 32 and 33 ignored in a child it spawns).
    EXPECT_EQ(ignoredMask & 0x7fffffffu, 0u) << std::hex << ignoredMask;
}

TEST(BackgroundTools, AToolThatExitsAtOnceHasItsHelperEndedAtTheLimit)
{
    ScratchDir dir;
    const std::string pids = dir.File("pids");
    // As a script that puts its work in the background: the tool is gone, its helper is not.
    RunToolsInBackground({{"sh", "-c", "sleep 60 & echo $$ $! >" + pids}}, 1s);
    ASSERT_TRUE(FileAppears(pids));
    const auto [tool, helper] = Pids(pids);
    ASSERT_TRUE(EndsSoon(tool)) << tool;
    ASSERT_TRUE(BackgroundToolsDone(20s));
    EXPECT_TRUE(EndsSoon(helper)) << helper;
}

TEST(BackgroundTools, AStopEndsEveryToolsGroupAndDropsTheRest)
{
    ScratchDir dir;
    const std::string first = dir.File("first"), second = dir.File("second");
    // The first tool has exited and left a helper; the second runs, its helper beside it.
    RunToolsInBackground({{"sh", "-c", "sleep 60 & echo $$ $! >" + first},
                          {"sh", "-c", "sleep 60 & echo $$ $! >" + second + "; wait"},
                          {"touch", dir.File("never")}},
                         60s);
    ASSERT_TRUE(FileAppears(second));
    StopBackgroundTools();
    ASSERT_TRUE(BackgroundToolsDone(20s));
    for (const auto& [tool, helper] : {Pids(first), Pids(second)}) {
        EXPECT_TRUE(EndsSoon(tool)) << tool;
        EXPECT_TRUE(EndsSoon(helper)) << helper;
    }
    EXPECT_FALSE(std::ifstream(dir.File("never")).good());
}

TEST(BackgroundTools, ACallSucceedsOnlyWhenEachOfItsToolsExitsZero)
{
    ScratchDir dir;
    std::atomic<int> succeeded{0};
    const auto count = [&succeeded] { succeeded++; };
    RunToolsInBackground({{"true"}, {"true"}}, 20s, count);
    ASSERT_TRUE(BackgroundToolsDone(20s));
    EXPECT_EQ(succeeded, 1);
    RunToolsInBackground({{"false"}, {"true"}}, 20s, count);
    RunToolsInBackground({{"true"}, {dir.File("no-such-tool")}}, 20s, count);
    RunToolsInBackground({{"sleep", "60"}}, 200ms, count);
    ASSERT_TRUE(BackgroundToolsDone(20s));
    EXPECT_EQ(succeeded, 1);
    // A stop drops a call's tools still queued: it never succeeds.
    const std::string pid = dir.File("pid");
    RunToolsInBackground({{"sh", "-c", "echo $$ >" + pid + "; exec sleep 60"}, {"true"}}, 60s,
                         count);
    ASSERT_TRUE(FileAppears(pid));
    StopBackgroundTools();
    ASSERT_TRUE(BackgroundToolsDone(20s));
    EXPECT_EQ(succeeded, 1);
}
