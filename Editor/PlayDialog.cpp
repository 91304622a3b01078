// PlayDialog.cpp -- the game window: timer ticks, frames, talks, the end messages and the tune.
#include "PlayDialog.h"

#include "Motor/JTNpc.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtmusic.h"
#include "Motor/jtrender.h"
#include "ParlantDlg.h"
#include "platform/debug.h"
#include "platform/exceptions.h"
#include "platform/keys.h"
#include "platform/wx/dlgunits.h"
#include "platform/wx/hwnd.h"
#include "platform/wx/keyfeed.h"
#include "platform/wx/msgbox.h"
#include "platform/wx/text.h"
#include "resource.h"

#include <wx/app.h>
#include <wx/settings.h>

#include <memory>

namespace {

const int kTimerId = 1;
const int kTickMs = 60;
const char kMusicFile[] = "cor.mid";
// The template's 200 x 150 dialog units; its conversion rounds 243.75 up.
const wxSize kClientSize(DluX(200), (150 * 13 + 4) / 8);

typedef void (wxEvtHandler::*WindowMessageEventFunction)(WindowMessageEvent&);
#define EVT_WINDOW_MESSAGE(func)                                                                   \
    wx__DECLARE_EVT0(wxEVT_WINDOW_MESSAGE, wxEVENT_HANDLER_CAST(WindowMessageEventFunction, func))

// Where the surface starts before the first frame covers it: the dialog's own face.
COLORREF DialogFace()
{
    wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    return RGB(face.Red(), face.Green(), face.Blue());
}

// The template places the window at (0, 0) of its owner's client area; with no parent the
// owner is the program's main window, hidden during a run but still where it was.
wxPoint TemplateOrigin(wxWindow* pParent)
{
    wxWindow* pOwner = pParent != nullptr ? pParent : wxTheApp->GetTopWindow();
    return pOwner != nullptr ? pOwner->ClientToScreen(wxPoint(0, 0)) : wxPoint(0, 0);
}

// The game stands paused for as long as it lives, also when what it covers throws.
class PauseScope
{
public:
    explicit PauseScope(bool& paused) : m_paused(paused) { m_paused = true; }
    ~PauseScope() { m_paused = false; }
    PauseScope(const PauseScope&) = delete;
    PauseScope& operator=(const PauseScope&) = delete;

private:
    bool& m_paused;
};

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CPlayDialog, wxDialog)
    EVT_INIT_DIALOG(CPlayDialog::OnInitDialog)
    EVT_TIMER(kTimerId, CPlayDialog::OnTimer)
    EVT_CLOSE(CPlayDialog::OnClose)
    EVT_CHAR_HOOK(CPlayDialog::OnCharHook)
    EVT_ACTIVATE(CPlayDialog::OnActivate)
    EVT_WINDOW_MESSAGE(CPlayDialog::OnWindowMessage)
wxEND_EVENT_TABLE()
    // clang-format on

    CPlayDialog::CPlayDialog(wxWindow* pParent)
    : wxDialog(pParent, IDD_PLAY, Txt("Play"), TemplateOrigin(pParent), wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_surface(this, DialogFace()), m_timer(this, kTimerId)
{
    SetClientSize(kClientSize);
    m_surface.SetPainter([this](CDC* pDC) { OnPaint(pDC); });
    m_surface.SetFailureHandler([this] { Fail(); });
    // Without a control to hold it, the keyboard would stay with the toolkit's own frame and
    // no key would reach this window.
    SetCanFocus(true);
    FeedKeyState(this);
}

void CPlayDialog::OnInitDialog(wxInitDialogEvent& event)
{
    event.Skip();
    if (m_bFailed)
        return;
    Guarded([this] {
        JTMusic* pMusic = JTMusic::GetMusic();
        JTManager* pManager = JTManager::GetManager();
        ASSERT(pMusic != NULL && pManager != NULL);
        m_timer.Start(kTickMs);
        pMusic->SetNotifyWindow(GetHwnd(this));
        pMusic->Open(kMusicFile);
        pMusic->Play();
        pManager->ResetSeen();
    });
    // The arrows steer the hero only while this window has the keyboard.
    if (!m_bFailed)
        TakeFocus();
}

void CPlayDialog::TakeFocus()
{
    if (!IsShown())
        return;
    Raise();
    SetFocus();
}

// The frame of a tick is on screen before its status is acted on, also when the run ends.
void CPlayDialog::OnTimer(wxTimerEvent&)
{
    if (m_bPaused)
        return;
    Guarded([this] {
        JTKernel* pKernel = JTKernel::GetKernel();
        ASSERT(pKernel != NULL);
        int status = pKernel->Tick();
        m_surface.RedrawNow();
        if (status == TICK_RUNNING || m_bFailed)
            return;
        m_timer.Stop();
        switch (status) {
        case TICK_NO_PLAYER:
            EndWithMessage("No hi ha jugador al mapa.", "JTKernel PANIK!");
            break;
        case TICK_GAME_OVER:
            EndWithMessage("Pot ser la propera vegada.", "GAME OVER NEN");
            break;
        case TICK_TALK:
            Talk();
            break;
        default:
            break;
        }
    });
}

void CPlayDialog::EndWithMessage(const char* text, const char* caption)
{
    {
        PauseScope pause(m_bPaused);
        MessageBoxOk(this, Txt(text), Txt(caption));
    }
    EndRun(wxID_OK);
}

// The world stands still while the character speaks; the next tick comes a full period after.
void CPlayDialog::Talk()
{
    JTKernel* pKernel = JTKernel::GetKernel();
    ASSERT(pKernel != NULL);
    JTNpc* pTalker = pKernel->GetTalker();
    ASSERT(pTalker != NULL);
    // The talk dialog takes the keyboard: a key let go meanwhile never reaches this window.
    KeyStateReset();
    {
        PauseScope pause(m_bPaused);
        // Over the game window, which owns it as the window the player is looking at.
        std::unique_ptr<CParlantDlg> pTalk(new CParlantDlg(this));
        pTalk->m_strText = FromCp1252(pTalker->GetSpeech());
        pTalk->m_strName = FromCp1252(pTalker->GetName());
        pTalk->ShowModal();
        pKernel->SetTalker(NULL);
    }
    KeyStateReset();
    if (m_bFailed) {
        EndRun(wxID_ABORT);
        return;
    }
    TakeFocus();
    m_timer.Start(kTickMs);
}

// No back buffer and no background: what the renderer leaves alone keeps the last frame.
void CPlayDialog::OnPaint(CDC* pDC)
{
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender != NULL);
    pRender->Render(pDC);
}

void CPlayDialog::OnClose(wxCloseEvent& event)
{
    if (m_bPaused && event.CanVeto()) {
        event.Veto();
        return;
    }
    EndRun(wxID_CANCEL);
}

// The window has no buttons, so the toolkit would let Esc and Enter go by.
void CPlayDialog::OnCharHook(wxKeyEvent& event)
{
    switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
        EndRun(wxID_CANCEL);
        break;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        EndRun(wxID_OK);
        break;
    default:
        event.Skip();
        break;
    }
}

// A top-level window without controls hears of losing the keyboard only as its deactivation:
// the keys held then are let go, or the hero would walk on by itself.
void CPlayDialog::OnActivate(wxActivateEvent& event)
{
    if (!event.GetActive())
        KeyStateReset();
    event.Skip();
}

// Every end of the tune starts it again from its beginning; after the close nothing plays.
void CPlayDialog::OnWindowMessage(WindowMessageEvent& event)
{
    JTMusic* pMusic = JTMusic::GetMusic();
    ASSERT(pMusic != NULL);
    if (event.GetMessage() == MM_MCINOTIFY)
        Guarded([pMusic] { pMusic->Play(); });
    event.Skip();
}

void CPlayDialog::Fail()
{
    m_bFailed = true;
    m_timer.Stop();
    // A size change as the window is made fails it before its modal loop: it ends at the start.
    if (IsModal())
        EndRun(wxID_ABORT);
    else
        CallAfter([this] { EndRun(wxID_ABORT); });
}

void CPlayDialog::Guarded(const std::function<void()>& work)
{
    if (!RunsWithoutThrowing(work))
        Fail();
}

// A failed run ends as failed, however it is then closed.
void CPlayDialog::EndRun(int result)
{
    if (m_bPaused)
        return;
    if (m_bFailed)
        result = wxID_ABORT;
    JTMusic* pMusic = JTMusic::GetMusic();
    ASSERT(pMusic != NULL);
    m_timer.Stop();
    pMusic->Close();
    if (IsModal())
        EndModal(result);
    else
        Hide();
}
