// start_limits_test.cpp -- the tasks a user already has, counted as the process limit counts them.
#include "platform/start_limits.h"
#include "tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

void Task(const ScratchDir& proc, const std::string& pid, const std::string& status)
{
    std::filesystem::create_directories(proc.File(pid));
    std::ofstream(proc.File(pid + "/status")) << status;
}

} // namespace

// Every thread of every process whose real user matches counts; other users, processes that
// vanished (no status) and entries that are not processes do not.
TEST(StartLimits, TasksOfAUserAreEveryThreadOfItsProcesses)
{
    ScratchDir proc;
    Task(proc, "1", "Name:\tinit\nUid:\t0\t0\t0\t0\nThreads:\t1\n");
    Task(proc, "200", "Name:\tdaemon\nUid:\t61000\t0\t61000\t61000\nThreads:\t5\n");
    Task(proc, "3010", "Name:\tshell\nUid:\t61000\t61000\t61000\t61000\nThreads:\t1\n");
    Task(proc, "42", "Name:\tsetuid\nUid:\t0\t61000\t61000\t61000\nThreads:\t3\n");
    std::filesystem::create_directories(proc.File("77"));
    Task(proc, "self", "Uid:\t61000\t61000\t61000\t61000\nThreads:\t9\n");
    EXPECT_EQ(CountTasksOfUser(61000, proc.Path()), 6u);
    EXPECT_EQ(CountTasksOfUser(0, proc.Path()), 4u);
    EXPECT_EQ(CountTasksOfUser(65000, proc.Path()), 0u);
    EXPECT_EQ(CountTasksOfUser(61000, proc.File("nothing")), 0u);
}
