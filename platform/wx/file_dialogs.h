// file_dialogs.h -- the framework's open and save dialogs, with its Spanish texts on the buttons
// and in the question before a file is replaced.
#pragma once

#include <wx/string.h>
#include <wx/window.h>

// Both dialogs open in the folder of the open map's file when it has one; else in the folder of
// the last file chosen in either dialog during this run, else in the user's documents folder,
// else in the home folder. Never in the working folder: the program's own, hidden one.

// The path chosen, or empty when the user cancelled. filters: "Name|*.ext|Name|*". mapFile: the
// open map's file, empty for a map that has none.
wxString AskOpenPath(wxWindow* parent, const wxString& title, const wxString& filters,
                     const wxString& mapFile);
// As above, proposing proposed: the map's file in its folder, or a bare name for a map without
// one. A name typed without an extension gets defaultExt (".tvr") while the first filter is
// chosen, and an existing file is replaced only after the user agrees; after "No" the dialog
// opens again on the folder and the name the user had chosen.
wxString AskSavePath(wxWindow* parent, const wxString& title, const wxString& filters,
                     const wxString& proposed, const wxString& defaultExt);
