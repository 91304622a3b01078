// question_box.cpp -- the Yes/No/Cancel question box.
#include "platform/wx/question_box.h"

#include "platform/wx/msgbox.h"
#include "platform/wx/text.h"

#include <wx/msgdlg.h>

QuestionAnswer AskYesNoCancel(wxWindow* owner, const wxString& text, const wxString& caption)
{
    wxMessageDialog box(owner, text, caption,
                        wxYES_NO | wxCANCEL | wxYES_DEFAULT | wxICON_QUESTION);
    box.SetYesNoCancelLabels(Txt("Sí"), Txt("No"), Txt("Cancelar"));
    switch (ShowFitted(box)) {
    case wxID_YES:
        return QuestionAnswer::Yes;
    case wxID_NO:
        return QuestionAnswer::No;
    default:
        return QuestionAnswer::Cancel;
    }
}
