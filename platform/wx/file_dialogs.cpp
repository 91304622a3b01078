// file_dialogs.cpp -- file dialogs that speak the framework's Spanish.
#include "platform/wx/file_dialogs.h"

#include "platform/wx/file_names.h"
#include "platform/wx/msgbox.h"
#include "platform/wx/text.h"
#include "platform/wx/work_area.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include <gtk/gtk.h>

namespace {

// The folder of the last file chosen in a file dialog during this run.
wxString g_lastFolder;

wxString StartFolder(const wxString& mapFile)
{
    const wxString mapFolder = wxFileName(mapFile).GetPath();
    // Documents: the XDG user folder when it is set and exists, else home.
    for (const wxString& folder : {mapFolder, g_lastFolder,
                                   wxStandardPaths::Get().GetDocumentsDir(), wxGetHomeDir()}) {
        if (!folder.empty() && wxFileName::DirExists(folder))
            return folder;
    }
    return wxString();
}

// The path the user chose, whose folder the next dialog opens in when the map has no file.
wxString Chosen(const wxFileDialog& dlg)
{
    g_lastFolder = wxFileName(dlg.GetPath()).GetPath();
    return dlg.GetPath();
}

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

// The toolkit sizes its file dialog as the user last left it, on whatever screen, or else for a
// large screen (about 1100 x 820), and sizes it again whenever its contents ask: on a smaller
// screen its buttons would be off the screen. Its largest size is kept within the work area, a
// tenth of it left for the window manager's title bar and borders.
void FitScreen(wxFileDialog& dlg)
{
    GdkRectangle screen;
    if (!ScreenWorkArea(&screen))
        return;
    GdkGeometry largest = {};
    largest.max_width = screen.width * 9 / 10;
    largest.max_height = screen.height * 9 / 10;
    gtk_window_set_geometry_hints(GTK_WINDOW(dlg.m_widget), nullptr, &largest, GDK_HINT_MAX_SIZE);
}

// Every file dialog in the program's words and within the screen.
void Prepare(wxFileDialog& dlg, const char* accept)
{
    SpanishButtons(dlg, accept);
    FitScreen(dlg);
}

bool MayReplace(wxWindow* parent, const wxString& title, const wxString& path)
{
    wxString text = Txt("%1 ya existe.\n¿Desea reemplazarlo?");
    text.Replace("%1", FileDisplayName(path));
    wxMessageDialog ask(parent, text, title, wxYES_NO | wxNO_DEFAULT | wxICON_WARNING);
    ask.SetYesNoLabels(Txt("Sí"), Txt("No"));
    return ShowFitted(ask) == wxID_YES;
}

} // namespace

wxString AskOpenPath(wxWindow* parent, const wxString& title, const wxString& filters,
                     const wxString& mapFile)
{
    wxFileDialog dlg(parent, title, StartFolder(mapFile), wxString(), filters, wxFD_OPEN);
    Prepare(dlg, "Abrir");
    return dlg.ShowModal() == wxID_OK ? Chosen(dlg) : wxString();
}

wxString AskSavePath(wxWindow* parent, const wxString& title, const wxString& filters,
                     const wxString& proposed, const wxString& defaultExt)
{
    wxFileName start(StartFolder(proposed), wxFileName(proposed).GetFullName());
    for (;;) {
        wxFileDialog dlg(parent, title, start.GetPath(), start.GetFullName(), filters, wxFD_SAVE);
        Prepare(dlg, "Guardar");
        if (dlg.ShowModal() != wxID_OK)
            return wxString();
        wxString path = Chosen(dlg);
        if (dlg.GetFilterIndex() == 0 && wxFileName(path).GetExt().empty())
            path += defaultExt;
        if (!wxFileName::FileExists(path) || MayReplace(parent, title, path))
            return path;
        start.Assign(path);
    }
}
