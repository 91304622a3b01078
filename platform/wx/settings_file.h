// settings_file.h -- the program's settings file (the stand-in for its registry key), opened so
// that whatever the file holds it is read quickly and without a word from the toolkit.
#pragma once

#include <wx/string.h>

class wxFileConfig;

// The settings kept in the file at path. Only what the program writes is read: the recent-file
// list's entries ("[Recent File List]", File1 to File9), in lines that are UTF-8 without a NUL,
// from the file's first 64 KB (the program's own file is under 2 KB). When the file holds
// anything else, a file of just those entries replaces it at once. Values come back as they were
// written (no $NAME or %NAME is expanded). A file that is not a regular file (a FIFO, a folder)
// is never read, and such settings, like those whose file cannot be replaced, live only while
// the program runs.
wxFileConfig* OpenSettingsFile(const wxString& appName, const wxString& vendorName,
                               const wxString& path);
