// msgbox.cpp -- one-button message boxes.
#include "platform/wx/msgbox.h"

#include "platform/wx/text.h"

#include <wx/msgdlg.h>

const char* const kAppCaption = "Tavrolu";

void MessageBoxOk(wxWindow* owner, const wxString& text, const wxString& caption)
{
    wxMessageDialog box(owner, text, caption, wxOK);
    box.SetOKLabel(Txt("Aceptar"));
    box.ShowModal();
}
