// wx_test_support.h -- driving real windows in-process: event-loop turns, idle cycles, and a
// script for the modal dialogs a step opens.
#pragma once

#include "platform/windefs.h"

#include <wx/dialog.h>
#include <wx/gdicmn.h>
#include <wx/modalhook.h>
#include <wx/string.h>
#include <wx/timer.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Lets the event loop run: pending events, paints and idle handling, for about ms milliseconds
// (at least one full turn).
void Pump(int ms = 0);
// One idle cycle, so that EVT_UPDATE_UI handlers have run.
void IdleCycle();
// Lets the event loop run until done() holds or ms milliseconds have passed; returns done().
bool PumpUntil(const std::function<bool()>& done, int ms = 5000);

// A pixel of a window's client area as the X server shows it.
COLORREF ScreenPixel(wxWindow* window, int x, int y);
// A rectangle of a window's client area as the X server shows it, row by row.
std::vector<COLORREF> ScreenPixels(wxWindow* window, const wxRect& area);

// A message box the program showed, as the user read it.
struct ShownMessage
{
    wxString text;
    wxString caption;
    std::string parent; // the owner's title, empty without owner
};

// Sees every modal dialog while it lives. Message boxes are never shown: they are recorded and
// answered with OK. Any other dialog is shown, and the next queued action runs inside its modal
// loop (an action usually ends the dialog); a dialog with no action queued is ended with
// wxID_CANCEL. A dialog still open after kModalDeadlineMs is ended by a watchdog and fails the
// test, naming the dialog: no test can hang on one.
class ModalScript : public wxModalDialogHook
{
public:
    using Action = std::function<void(wxDialog* dialog)>;
    static const int kModalDeadlineMs = 20000;

    ModalScript();
    ~ModalScript() override;

    // Actions run in order, one per non-message dialog shown.
    void Then(Action action) { m_actions.push_back(std::move(action)); }

    const std::vector<ShownMessage>& Messages() const { return m_messages; }
    // The titles of the non-message dialogs shown, in order.
    const std::vector<wxString>& Dialogs() const { return m_dialogs; }
    // The dialogs shown so far, then forgets them.
    std::vector<wxString> TakeDialogs();
    // Messages answered so far, then forgets them.
    std::vector<ShownMessage> TakeMessages();
    // An action called on a message box instead of recording it silently: may check the
    // state of the program while the box is up. Runs once, for the next box.
    void OnNextMessage(std::function<void(const ShownMessage&)> check) { m_onMessage = std::move(check); }

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog* dialog) override;

private:
    // A dialog between its Enter and its Exit.
    struct Open
    {
        wxDialog* dialog;
        wxString title;
        long long since; // ms
        int depth;       // of the test's own waits when it opened
        bool ended;      // by the watchdog
    };
    // An action waiting for its dialog's modal loop.
    struct Pending
    {
        wxDialog* dialog;
        Action action;
    };

    bool IsOpen(const wxDialog* dialog) const;
    // Runs on a timer, so also inside modal loops: hands the next action whose dialog is modal
    // to the event loop, then watches the deadlines.
    void Tick();
    void Watch();

    std::vector<Action> m_actions;
    std::vector<ShownMessage> m_messages;
    std::vector<wxString> m_dialogs;
    std::vector<Open> m_open;
    std::vector<Pending> m_pending;
    std::function<void(const ShownMessage&)> m_onMessage;
    std::unique_ptr<wxTimer> m_timer;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

// Clicks a dialog's button by id, as the user would (a button-clicked command event).
void ClickButton(wxDialog* dialog, int id);
// Sends a key press (down, char, up) to a window's event handler, with the given modifiers
// (wxMOD_SHIFT, wxMOD_CONTROL, wxMOD_ALT).
void SendKey(wxWindow* window, int keyCode, int modifiers = 0);

// Ends a dialog as its Cancel (or Esc) does; a native file dialog through its own button.
void CancelDialog(wxDialog* dialog);
// Answers a native file dialog with a path typed by the user, then, once the dialog shows that path
// as chosen, its accept button.
// as chosen, its accept button.
void AnswerFileDialog(wxDialog* dialog, const wxString& path);
