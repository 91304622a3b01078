// settings_file.h -- the program's settings file (the stand-in for its registry key), opened so
// that whatever the file holds it is read without a word from the toolkit.
#pragma once

#include <wx/string.h>

#include <string>

class wxFileConfig;

// The settings kept in the file at path. A damaged file is read as far as it makes sense: only
// comments, [group] headers and key=value lines that are UTF-8 with a plain key are kept, and a
// new file holding just those replaces it. Values come back as they were written (no $NAME or
// %NAME is expanded). A file that is not a regular file (a FIFO, a folder) is never read, and
// such settings, like those whose damaged file cannot be replaced, live only while the program
// runs.
wxFileConfig* OpenSettingsFile(const wxString& appName, const wxString& vendorName,
                               const wxString& path);

// The lines of a settings file's bytes that make sense, each ended by a new line; for tests.
std::string SettingsLinesThatMakeSense(const std::string& bytes);
