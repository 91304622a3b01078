// background_tools.h -- stands in for the shell's way of starting helper programs without
// waiting on them: desktop tools run one after another on a thread of their own, each with a
// time limit.
#pragma once

#include <chrono>
#include <string>
#include <vector>

using ToolCommand = std::vector<std::string>; // the program (found on PATH), then its arguments

// Queues the commands and returns at once; they run in order, after any queued before. Each
// argument reaches its tool as it is (no shell). A tool runs with its output discarded, in a
// process group of its own, with every signal at its default disposition and none blocked (the
// program's own ignored SIGXFSZ is not passed on). A tool still running after limit is ended
// together with everything it started. When no thread can be made the commands are dropped.
void RunToolsInBackground(const std::vector<ToolCommand>& commands,
                          std::chrono::milliseconds limit);

// Ends the tool that is running (with what it started) and drops those queued; returns at once.
// For the program's exit, which never waits on a tool.
void StopBackgroundTools();

// True once no tool is queued or running, waiting at most timeout; for tests.
bool BackgroundToolsDone(std::chrono::milliseconds timeout);
