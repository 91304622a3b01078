// hwnd.cpp -- window handles and the delivery of posted notices on the user-interface thread.
#include "platform/wx/hwnd.h"

#include "platform/notify.h"

#include <wx/app.h>

#include <set>

wxDEFINE_EVENT(wxEVT_WINDOW_MESSAGE, WindowMessageEvent);

WindowMessageEvent::WindowMessageEvent(UINT message, uintptr_t wParam, intptr_t lParam)
    : wxEvent(0, wxEVT_WINDOW_MESSAGE), m_message(message), m_wParam(wParam), m_lParam(lParam)
{
}

namespace {

// The handles of the live registered windows; only touched on the user-interface thread.
std::set<HWND>& Windows()
{
    static std::set<HWND> windows;
    return windows;
}

void Forget(wxWindowDestroyEvent& event)
{
    event.Skip();
    HWND hwnd = reinterpret_cast<HWND>(event.GetWindow());
    if (Windows().erase(hwnd) != 0)
        UnregisterNoticeWindow(hwnd);
}

} // namespace

HWND GetHwnd(wxWindow* window)
{
    if (window == nullptr)
        return nullptr;
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (Windows().insert(hwnd).second) {
        RegisterNoticeWindow(hwnd);
        window->Bind(wxEVT_DESTROY, Forget);
    }
    return hwnd;
}

wxWindow* WindowFromHwnd(HWND hwnd)
{
    return Windows().count(hwnd) != 0 ? reinterpret_cast<wxWindow*>(hwnd) : nullptr;
}

void DeliverNotices()
{
    Notice notice;
    while (TakeNotice(&notice)) {
        wxWindow* window = WindowFromHwnd(notice.hwnd);
        if (window == nullptr)
            continue;
        WindowMessageEvent event(notice.message, notice.wParam, notice.lParam);
        event.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(event);
    }
}

void InstallNoticePump()
{
    // CallAfter queues through the thread-safe event queue, so the music's thread may call it.
    SetNoticeWakeup([] {
        if (wxTheApp != nullptr)
            wxTheApp->CallAfter([] { DeliverNotices(); });
    });
}
