// debug.cpp -- where failed assertions and traces go: standard error, then abort.
#include "platform/debug.h"

#include <cstdio>
#include <cstdlib>

void AssertFailed(const char* file, int line, const char* expr)
{
    std::fprintf(stderr, "%s(%d): assertion failed: %s\n", file, line, expr);
    std::abort();
}

void Trace(const char* text)
{
    std::fputs(text, stderr);
}
