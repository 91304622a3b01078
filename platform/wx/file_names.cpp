// file_names.cpp -- file names between the system's bytes and the toolkit's text.
#include "platform/wx/file_names.h"

namespace {

// Bytes that are not UTF-8 ride in a private-use plane, one character per byte. Characters
// of that range are themselves written byte by byte, so that the way back is unambiguous.
const wxUint32 kByteBase = 0x100000;

bool IsByteChar(wxUint32 c)
{
    return c >= kByteBase && c < kByteBase + 256;
}

// The length of a well-formed UTF-8 sequence at s (at most n bytes) and its code point; 0 when
// the bytes there are not one (overlong forms, surrogates and values above U+10FFFF included).
size_t DecodeOne(const unsigned char* s, size_t n, wxUint32* c)
{
    if (s[0] < 0x80) {
        *c = s[0];
        return 1;
    }
    size_t len = s[0] >= 0xF0 ? 4 : s[0] >= 0xE0 ? 3 : s[0] >= 0xC0 ? 2 : 0;
    if (len == 0 || len > n || s[0] > 0xF4)
        return 0;
    wxUint32 v = s[0] & (0x7F >> len);
    for (size_t i = 1; i < len; i++) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        v = v << 6 | (s[i] & 0x3F);
    }
    static const wxUint32 kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < kMin[len] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        return 0;
    *c = v;
    return len;
}

void AppendUtf8(wxUint32 c, std::string* out)
{
    if (c < 0x80) {
        *out += char(c);
        return;
    }
    size_t len = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    static const unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    char buf[4];
    for (size_t i = len - 1; i > 0; i--, c >>= 6)
        buf[i] = char(0x80 | (c & 0x3F));
    buf[0] = char(kLead[len] | c);
    out->append(buf, len);
}

} // namespace

wxString FileNameFromBytes(const std::string& bytes)
{
    const unsigned char* s = reinterpret_cast<const unsigned char*>(bytes.data());
    wxString name;
    for (size_t i = 0; i < bytes.size();) {
        wxUint32 c;
        size_t len = DecodeOne(s + i, bytes.size() - i, &c);
        if (len == 0 || IsByteChar(c)) {
            name += wxUniChar(kByteBase + s[i]);
            i++;
        } else {
            name += wxUniChar(c);
            i += len;
        }
    }
    return name;
}

std::string FileNameBytes(const wxString& name)
{
    std::string bytes;
    for (wxUniChar ch : name) {
        wxUint32 c = ch.GetValue();
        if (IsByteChar(c)) {
            bytes += char(c - kByteBase);
        } else {
            AppendUtf8(c, &bytes);
        }
    }
    return bytes;
}
