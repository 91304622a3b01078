// shell_registration.h -- registers the document's file type with the desktop, for this user:
// a shared-mime-info type for the extension with the document icon, and a desktop entry that
// opens such files with this program (through the launcher installed beside it, when there is
// one). The extension is bound to the program only when no other
// program is the default for the type yet. The package and the entry are the embedded
// resources MIME_PACKAGE and DESKTOP_ENTRY, the same files the install step installs.
#pragma once

#include <wx/string.h>

struct ShellFileType
{
    wxString typeId;    // "Tavrolu.Document"
    wxString appName;   // "Tavrolu"
    unsigned appIcon;   // icon group resource ids
    unsigned docIcon;
};

// The MIME type the registration gives the file type.
wxString MimeTypeOf(const ShellFileType& type);

// Writes what is missing or different under the user's data folder ($XDG_DATA_HOME, else
// ~/.local/share) and refreshes the desktop's databases when something changed, or when no
// refresh from these files has finished yet (one the program's end cut short is done again at
// the next start): once the tools have all succeeded, <data>/tavrolu/registered marks it.
// Repeating it changes nothing. The entry names the running program, and when it runs from a build also the
// working folder; a path the entry cannot hold safely (not UTF-8, a control character) leaves
// the entry unwritten. Returns false when something could not be written; the caller goes on.
bool RegisterShellFileTypes(const ShellFileType& type);
