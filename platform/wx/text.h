// text.h -- the program's texts are UTF-8: a wxString built from a plain char* literal loses
// every accented character, so each text the user meets goes through here.
#pragma once

#include <wx/string.h>

inline wxString Txt(const char* utf8)
{
    return wxString::FromUTF8(utf8);
}

// Texts held by the engine are Windows-1252 byte arrays.
inline wxString FromCp1252(const char* text)
{
    return wxString(text, wxCSConv(wxFONTENCODING_CP1252));
}

// Back to Windows-1252 for the engine; characters it cannot hold become '?'.
std::string ToCp1252(const wxString& text);
