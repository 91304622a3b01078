// msgbox.h -- the message boxes of the program and of its framework: a text, a caption and their
// buttons, labelled in the framework's Spanish, the whole box within the screen.
#pragma once

#include <wx/msgdlg.h>
#include <wx/string.h>
#include <wx/window.h>

// The application's name, the caption of the framework's own message boxes.
extern const char* const kAppCaption;

// Shows the box modally over owner (NULL: no owner); returns when it is confirmed.
void MessageBoxOk(wxWindow* owner, const wxString& text, const wxString& caption);

// Shows a box made by the caller (a question, say) modally and returns its answer. However long
// its text, the box fits the screen's work area and its buttons are in sight: a text too long for
// half the screen's height loses the middle of its last lines to an ellipsis.
int ShowFitted(wxMessageDialog& box);
