// file_dialogs.cpp -- file dialogs that speak the framework's Spanish.
#include "platform/wx/file_dialogs.h"

#include "platform/wx/text.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>

#include <gtk/gtk.h>

namespace {

void LabelButton(wxFileDialog& dlg, int response, const char* label)
{
    GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(dlg.m_widget), response);
    if (button != nullptr && GTK_IS_BUTTON(button))
        gtk_button_set_label(GTK_BUTTON(button), label);
}

// The toolkit labels the buttons in its own English.
void SpanishButtons(wxFileDialog& dlg, const char* accept)
{
    LabelButton(dlg, GTK_RESPONSE_CANCEL, "Cancelar");
    LabelButton(dlg, GTK_RESPONSE_ACCEPT, accept);
}

bool MayReplace(wxWindow* parent, const wxString& title, const wxString& path)
{
    wxString text = Txt("%1 ya existe.\n¿Desea reemplazarlo?");
    text.Replace("%1", path);
    wxMessageDialog ask(parent, text, title, wxYES_NO | wxNO_DEFAULT | wxICON_WARNING);
    ask.SetYesNoLabels(Txt("Sí"), Txt("No"));
    return ask.ShowModal() == wxID_YES;
}

} // namespace

wxString AskOpenPath(wxWindow* parent, const wxString& title, const wxString& filters)
{
    wxFileDialog dlg(parent, title, wxString(), wxString(), filters, wxFD_OPEN);
    SpanishButtons(dlg, "Abrir");
    return dlg.ShowModal() == wxID_OK ? dlg.GetPath() : wxString();
}

wxString AskSavePath(wxWindow* parent, const wxString& title, const wxString& filters,
                     const wxString& proposed, const wxString& defaultExt)
{
    wxFileName start(proposed);
    for (;;) {
        wxFileDialog dlg(parent, title, start.GetPath(), start.GetFullName(), filters, wxFD_SAVE);
        SpanishButtons(dlg, "Guardar");
        if (dlg.ShowModal() != wxID_OK)
            return wxString();
        wxString path = dlg.GetPath();
        if (dlg.GetFilterIndex() == 0 && wxFileName(path).GetExt().empty())
            path += defaultExt;
        if (!wxFileName::FileExists(path) || MayReplace(parent, title, path))
            return path;
        start.Assign(path);
    }
}
