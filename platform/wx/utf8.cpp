// utf8.cpp -- decoding and checking UTF-8 by the standard's table of well-formed sequences.
#include "platform/wx/utf8.h"

size_t Utf8SequenceAt(const unsigned char* s, size_t n, uint32_t* c)
{
    if (s[0] < 0x80) {
        *c = s[0];
        return 1;
    }
    const size_t len = s[0] >= 0xF0 ? 4 : s[0] >= 0xE0 ? 3 : s[0] >= 0xC0 ? 2 : 0;
    if (len == 0 || len > n || s[0] > 0xF4)
        return 0;
    uint32_t v = s[0] & (0x7F >> len);
    for (size_t i = 1; i < len; i++) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        v = v << 6 | (s[i] & 0x3F);
    }
    // The shortest form only, and only scalar values.
    static const uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < kMin[len] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        return 0;
    *c = v;
    return len;
}

bool IsUtf8(const char* s, size_t n)
{
    const unsigned char* u = reinterpret_cast<const unsigned char*>(s);
    for (size_t i = 0; i < n;) {
        uint32_t c;
        const size_t len = Utf8SequenceAt(u + i, n - i, &c);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

void AppendUtf8(uint32_t c, std::string* out)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        *out += char(c);
        return;
    }
    const size_t len = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    static const unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    char buf[4];
    for (size_t i = len - 1; i > 0; i--, c >>= 6)
        buf[i] = char(0x80 | (c & 0x3F));
    buf[0] = char(kLead[len] | c);
    out->append(buf, len);
}
