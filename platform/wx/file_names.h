// file_names.h -- a file name's bytes as text and back, whatever the locale and whether or not
// the bytes are UTF-8, and the name as the desktop shows it.
#pragma once

#include <wx/string.h>

#include <string>

// The name as text: UTF-8 is read as such; each byte that is not part of UTF-8 becomes a
// private-use character of its own (U+100000 + byte, 0x80 to 0xFF), so that nothing is lost.
wxString FileNameFromBytes(const std::string& bytes);
// The bytes the system knows the name by: the exact inverse of FileNameFromBytes. Only the form
// FileNameFromBytes makes is turned back into a byte; any other character, U+100000 + a byte
// below 0x80 included, is written as its UTF-8, so that no text makes a NUL or a '/' of its own.
std::string FileNameBytes(const wxString& name);
// The name as the desktop shows it (GLib's display name): UTF-8 as it is, U+FFFD for each byte
// that is not UTF-8. For titles and labels only: it names no file.
wxString FileDisplayName(const wxString& name);
