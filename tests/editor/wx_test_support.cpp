// wx_test_support.cpp -- event-loop turns and the modal-dialog script.
#include "wx_test_support.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/evtloop.h>
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
    m_dialogs.push_back(dialog->GetTitle());
    Action action;
    if (!m_actions.empty()) {
        action = std::move(m_actions.front());
        m_actions.erase(m_actions.begin());
    } else {
        action = [](wxDialog* d) { d->EndModal(wxID_CANCEL); };
    }
    // Runs once the dialog's modal loop has started.
    wxTheApp->CallAfter([dialog, action] { action(dialog); });
    return wxID_NONE;
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
