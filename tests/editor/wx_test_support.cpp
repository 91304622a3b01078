// wx_test_support.cpp -- event-loop turns and the modal-dialog script.
#include "wx_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/evtloop.h>

#include <gtk/gtk.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace {
// How many Pump calls are running: an action runs only at the depth its dialog was entered at,
// never inside a wait of the test's own that happens to dispatch events.
int g_pumpDepth = 0;
}

void Pump(int ms)
{
    struct Depth
    {
        Depth() { g_pumpDepth++; }
        ~Depth() { g_pumpDepth--; }
    } depth;
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

bool PumpUntil(const std::function<bool()>& done, int ms)
{
    wxStopWatch watch;
    while (!done()) {
        if (watch.Time() >= ms)
            return done();
        Pump(5);
    }
    return true;
}

std::vector<COLORREF> ScreenPixels(wxWindow* window, const wxRect& area)
{
    std::vector<COLORREF> pixels;
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(window->GTKGetDrawingWindow(), area.x, area.y,
                                                 area.width, area.height);
    if (shot == nullptr) {
        ADD_FAILURE() << "no pixels at (" << area.x << ", " << area.y << ") on screen";
        return pixels;
    }
    const int stride = gdk_pixbuf_get_rowstride(shot), channels = gdk_pixbuf_get_n_channels(shot);
    for (int y = 0; y < area.height; y++) {
        const guchar* p = gdk_pixbuf_get_pixels(shot) + y * stride;
        for (int x = 0; x < area.width; x++, p += channels)
            pixels.push_back(RGB(p[0], p[1], p[2]));
    }
    g_object_unref(shot);
    return pixels;
}

COLORREF ScreenPixel(wxWindow* window, int x, int y)
{
    std::vector<COLORREF> pixel = ScreenPixels(window, wxRect(x, y, 1, 1));
    return pixel.empty() ? 0xFFFFFFFF : pixel[0];
}

namespace {

class CallbackTimer : public wxTimer
{
public:
    explicit CallbackTimer(std::function<void()> tick) : m_tick(std::move(tick)) {}
    void Notify() override { m_tick(); }

private:
    std::function<void()> m_tick;
};

long long NowMs()
{
    return wxGetLocalTimeMillis().GetValue();
}

} // namespace

ModalScript::ModalScript() : m_timer(new CallbackTimer([this] { Tick(); }))
{
    Register();
    m_timer->Start(10);
}

ModalScript::~ModalScript()
{
    m_timer->Stop();
    Unregister();
}

bool ModalScript::IsOpen(const wxDialog* dialog) const
{
    return std::any_of(m_open.begin(), m_open.end(), [dialog](const Open& o) { return o.dialog == dialog; });
}

// Only the innermost dialog's action runs, and only from the loop that dialog is modal in; the
// action itself runs from the pending events, not inside this timer's callback, so the timer
// keeps firing while an action pumps events or waits in a dialog of its own.
void ModalScript::Tick()
{
    if (!m_open.empty() && m_open.back().dialog->IsModal() && m_open.back().depth == g_pumpDepth) {
        wxDialog* top = m_open.back().dialog;
        auto due = std::find_if(m_pending.begin(), m_pending.end(),
                                [top](const Pending& p) { return p.dialog == top; });
        if (due != m_pending.end()) {
            Action action = std::move(due->action);
            m_pending.erase(due);
            std::weak_ptr<bool> alive = m_alive;
            wxTheApp->CallAfter([this, alive, top, action] {
                if (alive.expired() || !IsOpen(top))
                    return;
                if (m_open.back().dialog == top && m_open.back().depth == g_pumpDepth)
                    action(top);
                else
                    m_pending.push_back(Pending{top, action});
            });
        }
    }
    Watch();
}

// The innermost dialog first: modal loops end only from the top.
void ModalScript::Watch()
{
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
        if (it->ended || NowMs() - it->since < kModalDeadlineMs)
            continue;
        it->ended = true;
        ADD_FAILURE() << "the dialog \"" << it->title.ToStdString(wxConvUTF8) << "\" was still open after "
                      << kModalDeadlineMs / 1000 << " s: ended by the watchdog";
        CancelDialog(it->dialog);
        return;
    }
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
    if (IsOpen(dialog))
        return wxID_NONE;
    const wxString title = files != nullptr ? files->GetMessage() : dialog->GetTitle();
    m_open.push_back(Open{dialog, title, NowMs(), g_pumpDepth, false});
    m_dialogs.push_back(title);
    Action action;
    if (!m_actions.empty()) {
        action = std::move(m_actions.front());
        m_actions.erase(m_actions.begin());
    } else {
        action = [](wxDialog* d) { CancelDialog(d); };
    }
    // Events may be dispatched while the dialog is still being set up: the action waits for
    // its modal loop.
    m_pending.push_back(Pending{dialog, std::move(action)});
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

void CancelDialog(wxDialog* dialog)
{
    if (dynamic_cast<wxFileDialogBase*>(dialog) != nullptr)
        gtk_dialog_response(GTK_DIALOG(dialog->m_widget), GTK_RESPONSE_CANCEL);
    else
        dialog->EndModal(wxID_CANCEL);
}

namespace {

bool ShowsChosen(GtkFileChooser* chooser, const wxString& path)
{
    gchar* chosen = gtk_file_chooser_get_filename(chooser);
    const bool same = chosen != nullptr && wxString::FromUTF8(chosen) == path;
    g_free(chosen);
    return same;
}

} // namespace

// The open dialog selects a file only once it has read the file's folder, which it does in the
// background, and a selection asked for while it reads can be lost; an accept while nothing is
// selected is dropped and the dialog stays open. So the file is asked for until it shows.
void AnswerFileDialog(wxDialog* dialog, const wxString& path)
{
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog->m_widget);
    wxString folder = path.BeforeLast('/'), name = path.AfterLast('/');
    gtk_file_chooser_set_current_folder(chooser, folder.utf8_str());
    auto shows = [chooser, &path] { return ShowsChosen(chooser, path); };
    wxStopWatch watch;
    do {
        if (gtk_file_chooser_get_action(chooser) == GTK_FILE_CHOOSER_ACTION_SAVE)
            gtk_file_chooser_set_current_name(chooser, name.utf8_str());
        else
            gtk_file_chooser_set_filename(chooser, path.utf8_str());
    } while (!PumpUntil(shows, 100) && watch.Time() < 5000);
    if (!shows())
        ADD_FAILURE() << "the file dialog never showed " << path.ToStdString(wxConvUTF8) << " as chosen";
    gtk_dialog_response(GTK_DIALOG(dialog->m_widget), GTK_RESPONSE_ACCEPT);
}

// A dialog that ended by itself before its action's turn drops the action.
void ModalScript::Exit(wxDialog* dialog)
{
    auto same = [dialog](const auto& entry) { return entry.dialog == dialog; };
    m_open.erase(std::remove_if(m_open.begin(), m_open.end(), same), m_open.end());
    m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(), same), m_pending.end());
}
