// file_dialogs.h -- the framework's open and save dialogs, with its Spanish texts on the buttons
// and in the question before a file is replaced.
#pragma once

#include <wx/string.h>
#include <wx/window.h>

// The path chosen, or empty when the user cancelled. filters: "Name|*.ext|Name|*".
wxString AskOpenPath(wxWindow* parent, const wxString& title, const wxString& filters);
// As above, opening on proposed: a bare name in the working folder, or a path in its folder. A
// name typed without an extension gets defaultExt (".tvr") while the first filter is chosen, and
// an existing file is replaced only after the user agrees; after "No" the dialog opens again on
// the folder and the name the user had chosen.
wxString AskSavePath(wxWindow* parent, const wxString& title, const wxString& filters,
                     const wxString& proposed, const wxString& defaultExt);
