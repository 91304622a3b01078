// wsprintf.cpp -- bounded text formatting.
#include "platform/wsprintf.h"

#include <cstdarg>
#include <cstdio>

int wnsprintfA(char* buf, int size, const char* format, ...)
{
    if (buf == nullptr || size <= 0)
        return 0;
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buf, std::size_t(size), format, args);
    va_end(args);
    if (n < 0) {
        buf[0] = '\0';
        return 0;
    }
    return n < size ? n : size - 1;
}
