// msgbox.h -- the message boxes of the program and of its framework: a text, a caption and one
// button, its label in the framework's Spanish.
#pragma once

#include <wx/string.h>
#include <wx/window.h>

// The application's name, the caption of the framework's own message boxes.
extern const char* const kAppCaption;

// Shows the box modally over owner (NULL: no owner); returns when it is confirmed.
void MessageBoxOk(wxWindow* owner, const wxString& text, const wxString& caption);

class wxMessageDialog;
// Shows any message dialog modally, its texts kept within the screen as MessageBoxOk's are;
// returns the dialog's answer.
int ShowMessageDialog(wxMessageDialog& box);
