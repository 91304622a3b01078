// PlayDialog.h -- the game window: plays the current map with a 60 ms tick and the looping tune.
#pragma once

#include "platform/wx/window_surface.h"

#include <wx/dialog.h>
#include <wx/timer.h>

#include <functional>

class WindowMessageEvent;

// Modal: the main frame creates it for one run, runs it with ShowModal and deletes it. It holds
// no game state: every tick and every frame go through the engine's modules. ShowModal returns
// wxID_ABORT when the run failed (memory included): a tick, a frame or a size change that threw
// ends the run, since no exception may leave the toolkit's dispatch.
class CPlayDialog : public wxDialog
{
public:
    explicit CPlayDialog(wxWindow* pParent = nullptr);

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnPaint(CDC* pDC);
    void OnClose(wxCloseEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnActivate(wxActivateEvent& event);
    void OnWindowMessage(WindowMessageEvent& event);

    void EndRun(int result);
    // Ends the run as failed; while a message or a talk is up, once it closes.
    void Fail();
    // Runs a handler's work; what it throws fails the run.
    void Guarded(const std::function<void()>& work);
    void EndWithMessage(const char* text, const char* caption);
    void Talk();
    void TakeFocus();

    WindowSurface m_surface;
    wxTimer m_timer;
    // A message box or the talk dialog is open: no tick runs and the window cannot be closed.
    bool m_bPaused = false;
    bool m_bFailed = false;

    wxDECLARE_EVENT_TABLE();
};
