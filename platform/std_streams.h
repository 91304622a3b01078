// std_streams.h -- the standard descriptors a process expects to find open.
#pragma once

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. A launcher may start the
// program with one closed: the next file or connection opened (the X server's) would take its
// number, and a library's message meant for standard error would land there. Call it first.
void OpenClosedStandardStreams();
