// wx_test_support.cpp -- event-loop turns and the modal-dialog script.
#include "wx_test_support.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/evtloop.h>

#include <gtk/gtk.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

void Pump(int ms)
{
    wxStopWatch watch;
    do {
        wxTheApp->ProcessPendingEvents();
        wxEventLoopBase* loop = wxEventLoopBase::GetActive();
        if (loop != nullptr) {
            while (loop->Pending())
                loop->Dispatch();
        }
        wxTheApp->ProcessIdle();
        if (ms > 0)
            wxMilliSleep(1);
    } while (watch.Time() < ms);
}

void IdleCycle()
{
    Pump();
    wxTheApp->ProcessIdle();
    Pump();
}

std::vector<wxString> ModalScript::TakeDialogs()
{
    std::vector<wxString> taken;
    taken.swap(m_dialogs);
    return taken;
}

std::vector<ShownMessage> ModalScript::TakeMessages()
{
    std::vector<ShownMessage> taken;
    taken.swap(m_messages);
    return taken;
}

int ModalScript::Enter(wxDialog* dialog)
{
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
        wxWindow* parent = dialog->GetParent();
        ShownMessage shown{box->GetMessage(), box->GetTitle(),
                           parent ? parent->GetLabel().ToStdString(wxConvUTF8) : std::string()};
        m_messages.push_back(shown);
        if (m_onMessage) {
            auto check = std::move(m_onMessage);
            m_onMessage = nullptr;
            check(shown);
        }
        return wxID_OK;
    }
    // A native file dialog keeps its title as its message.
    auto* files = dynamic_cast<wxFileDialogBase*>(dialog);
    // A native file dialog enters twice, once for itself and once as a dialog.
    if (std::find(m_entered.begin(), m_entered.end(), dialog) != m_entered.end())
        return wxID_NONE;
    m_entered.push_back(dialog);
    m_dialogs.push_back(files != nullptr ? files->GetMessage() : dialog->GetTitle());
    Action action;
    if (!m_actions.empty()) {
        action = std::move(m_actions.front());
        m_actions.erase(m_actions.begin());
    } else {
        action = [](wxDialog* d) { CancelDialog(d); };
    }
    RunWhenModal(dialog, action, 200);
    return wxID_NONE;
}

// Runs the action once the dialog's modal loop has started: events may be dispatched while the
// dialog is still being set up.
void ModalScript::RunWhenModal(wxDialog* dialog, Action action, int triesLeft)
{
    wxTheApp->CallAfter([dialog, action, triesLeft] {
        if (dialog->IsModal() || triesLeft <= 0)
            action(dialog);
        else
            RunWhenModal(dialog, action, triesLeft - 1);
    });
}

void ClickButton(wxDialog* dialog, int id)
{
    wxWindow* button = dialog->FindWindow(id);
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button != nullptr ? button : dialog);
    (button != nullptr ? button : dialog)->GetEventHandler()->ProcessEvent(click);
}

void SendKey(wxWindow* window, int keyCode, int modifiers)
{
    for (wxEventType type : {wxEVT_KEY_DOWN, wxEVT_CHAR, wxEVT_KEY_UP}) {
        wxKeyEvent key(type);
        key.m_keyCode = keyCode;
        key.m_shiftDown = (modifiers & wxMOD_SHIFT) != 0;
        key.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
        key.m_altDown = (modifiers & wxMOD_ALT) != 0;
        key.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(key);
    }
}

void CancelDialog(wxDialog* dialog)
{
    if (dynamic_cast<wxFileDialogBase*>(dialog) != nullptr)
        gtk_dialog_response(GTK_DIALOG(dialog->m_widget), GTK_RESPONSE_CANCEL);
    else
        dialog->EndModal(wxID_CANCEL);
}

void AnswerFileDialog(wxDialog* dialog, const wxString& path)
{
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog->m_widget);
    wxString folder = path.BeforeLast('/'), name = path.AfterLast('/');
    gtk_file_chooser_set_current_folder(chooser, folder.utf8_str());
    if (gtk_file_chooser_get_action(chooser) == GTK_FILE_CHOOSER_ACTION_SAVE)
        gtk_file_chooser_set_current_name(chooser, name.utf8_str());
    else
        gtk_file_chooser_set_filename(chooser, path.utf8_str());
    gtk_dialog_response(GTK_DIALOG(dialog->m_widget), GTK_RESPONSE_ACCEPT);
}

void ModalScript::Exit(wxDialog* dialog)
{
    m_entered.erase(std::remove(m_entered.begin(), m_entered.end(), dialog), m_entered.end());
}
