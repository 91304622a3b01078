// wsprintf.h -- text formatting into fixed buffers that never writes past the caller's array.
#pragma once

#include <cstddef>

// Formats like printf (%s, %d, %u, %x, %c) into buf of size bytes, always zero-terminated,
// cut short when the buffer is full. Returns the number of characters stored.
int wnsprintfA(char* buf, int size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// The classic form takes no size: here it only accepts a real array, whose size bounds it.
// Like the Windows function it never stores more than 1024 characters.
template <std::size_t N, typename... Args>
int wsprintfA(char (&buf)[N], const char* format, Args... args)
{
    constexpr int limit = N > 1025 ? 1025 : int(N);
    return wnsprintfA(buf, limit, format, args...);
}
