// cstring.cpp -- formatting and comparison for CString.
#include "platform/cstring.h"

#include <cstdarg>
#include <cstdio>
#include <strings.h>

int CString::CompareNoCase(const char* other) const
{
    return strcasecmp(m_text.c_str(), other ? other : "");
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n < 0) {
        m_text.clear();
    } else {
        m_text.assign(std::size_t(n) + 1, '\0');
        std::vsnprintf(&m_text[0], m_text.size(), format, args);
        m_text.resize(std::size_t(n));
    }
    va_end(args);
}
