// background_tools.h -- stands in for the shell's way of starting helper programs without
// waiting on them: desktop tools run one after another on a thread of their own, each with a
// time limit that holds for everything it starts.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

using ToolCommand = std::vector<std::string>; // the program (found on PATH), then its arguments

// Queues the commands and returns at once; they run in order, after any queued before, each
// starting once the one before it has exited. Each argument reaches its tool as it is (no
// shell). A tool runs with its output discarded, in a process group of its own, with every
// signal at its default disposition and none blocked (the program's own ignored SIGXFSZ is not
// passed on). The group outlives the tool: whatever the tool left running in it (a shell script
// that puts work in the background) is ended with it once limit has passed since the tool
// started, or at the program's end, whichever comes first. The program's end is every way out:
// StopBackgroundTools, a return from main or a call to exit, and SIGTERM, SIGINT or SIGHUP
// where the program left them at their default (the groups are ended, then the signal ends the
// program as it would have). When every one of the commands has exited with status 0,
// succeeded runs on the tools' thread; never when one failed, could not start, was ended or was
// dropped. When no thread can be made the commands are dropped.
void RunToolsInBackground(const std::vector<ToolCommand>& commands,
                          std::chrono::milliseconds limit,
                          std::function<void()> succeeded = nullptr);

// Ends every tool's group (the running tool's and those of tools that have exited) and drops
// the tools queued; returns at once. For the program's exit, which never waits on a tool.
void StopBackgroundTools();

// True once no tool is queued or running and no group a tool made has a process left, waiting
// at most timeout; for tests.
bool BackgroundToolsDone(std::chrono::milliseconds timeout);
