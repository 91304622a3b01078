// text.cpp -- conversions between the toolkit's strings and the engine's single-byte texts.
#include "platform/wx/text.h"

#include <wx/strconv.h>

std::string ToCp1252(const wxString& text)
{
    wxCSConv cp1252(wxFONTENCODING_CP1252);
    std::string out;
    for (wxUniChar c : text) {
        wchar_t wide[2] = {wchar_t(c.GetValue()), 0};
        char byte[8] = {0};
        size_t n = cp1252.FromWChar(byte, sizeof byte, wide, 1);
        out += (n == 1 && byte[0] != 0) || c.GetValue() == 0 ? byte[0] : '?';
    }
    return out;
}
