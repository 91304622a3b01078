// file_names.cpp -- file names between the system's bytes and the toolkit's text.
#include "platform/wx/file_names.h"

#include "platform/wx/utf8.h"

#include <glib.h>

namespace {

// Bytes that are not UTF-8 ride in a private-use plane, one character per byte. Characters
// of that range are themselves written byte by byte, so that the way back is unambiguous.
// Only bytes from 0x80 can fail to be UTF-8: the characters below U+100080 are never made, and
// one found in a text (a hand-edited settings file) is an ordinary character.
const wxUint32 kByteBase = 0x100000;

bool IsByteChar(wxUint32 c)
{
    return c >= kByteBase + 0x80 && c < kByteBase + 0x100;
}

} // namespace

wxString FileNameFromBytes(const std::string& bytes)
{
    const unsigned char* s = reinterpret_cast<const unsigned char*>(bytes.data());
    wxString name;
    for (size_t i = 0; i < bytes.size();) {
        uint32_t c;
        const size_t len = Utf8SequenceAt(s + i, bytes.size() - i, &c);
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
        const wxUint32 c = ch.GetValue();
        if (IsByteChar(c))
            bytes += char(c - kByteBase);
        else
            AppendUtf8(c, &bytes);
    }
    return bytes;
}

wxString FileDisplayName(const wxString& name)
{
    gchar* shown = g_filename_display_name(FileNameBytes(name).c_str());
    const wxString text = wxString::FromUTF8(shown);
    g_free(shown);
    return text;
}
