// hwnd.h -- window handles for the engine and the notices posted to them.
//
// A handle is the window's address; a window that can receive notices registers itself, and
// a notice posted from any thread reaches it on the user-interface thread as a
// wxEVT_WINDOW_MESSAGE event, carrying the message number and its two parameters.
#pragma once

#include "platform/windefs.h"

#include <wx/event.h>
#include <wx/window.h>

class WindowMessageEvent : public wxEvent
{
public:
    WindowMessageEvent(UINT message = 0, uintptr_t wParam = 0, intptr_t lParam = 0);
    wxEvent* Clone() const override { return new WindowMessageEvent(*this); }

    UINT GetMessage() const { return m_message; }
    uintptr_t GetWParam() const { return m_wParam; }
    intptr_t GetLParam() const { return m_lParam; }

private:
    UINT m_message;
    uintptr_t m_wParam;
    intptr_t m_lParam;
};

wxDECLARE_EVENT(wxEVT_WINDOW_MESSAGE, WindowMessageEvent);

// The handle of a window; registers it for notices the first time, and unregisters it (dropping
// what is queued for it) when the window is destroyed.
HWND GetHwnd(wxWindow* window);
// The window of a registered handle, or nullptr.
wxWindow* WindowFromHwnd(HWND hwnd);

// Wires the notice queue to the toolkit's event loop; call once the application object exists.
void InstallNoticePump();
// Delivers every queued notice now; the pump calls it, tests may too.
void DeliverNotices();
