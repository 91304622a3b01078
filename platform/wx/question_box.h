// question_box.h -- the framework's three-way question: a text, a caption and the buttons "Sí",
// "No" and "Cancelar", in the framework's Spanish.
#pragma once

#include <wx/string.h>
#include <wx/window.h>

enum class QuestionAnswer
{
    Yes,
    No,
    Cancel, // also Esc and the close box
};

// Shows the question modally over owner (NULL: no owner); "Sí" is the default button.
QuestionAnswer AskYesNoCancel(wxWindow* owner, const wxString& text, const wxString& caption);
