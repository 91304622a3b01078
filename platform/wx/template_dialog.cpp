// template_dialog.cpp -- owner and font of the dialogs made from templates.
#include "platform/wx/template_dialog.h"

#include <wx/app.h>
#include <wx/font.h>
#include <wx/window.h>

wxWindow* DialogOwner(wxWindow* parent)
{
    if (parent != nullptr)
        return parent;
    wxWindow* main = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
    return main != nullptr && main->IsShown() && !main->IsBeingDeleted() ? main : nullptr;
}

void UseTemplateFont(wxWindow* dialog)
{
    dialog->SetFont(wxFontInfo(8).Family(wxFONTFAMILY_SWISS));
}
