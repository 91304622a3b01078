// file_names.h -- a file name's bytes as text and back, whatever the locale and whether or not
// the bytes are UTF-8.
#pragma once

#include <wx/string.h>

#include <string>

// The name as text: UTF-8 is read as such; each byte that is not part of UTF-8 becomes a
// private-use character of its own (U+100000 + byte), so that nothing is lost.
wxString FileNameFromBytes(const std::string& bytes);
// The bytes the system knows the name by: the exact inverse of FileNameFromBytes.
std::string FileNameBytes(const wxString& name);
