// hwnd.cpp -- window handles and the delivery of posted notices on the user-interface thread.
#include "platform/wx/hwnd.h"

#include "platform/notify.h"

#include <wx/app.h>

#include <map>

wxDEFINE_EVENT(wxEVT_WINDOW_MESSAGE, WindowMessageEvent);

WindowMessageEvent::WindowMessageEvent(UINT message, uintptr_t wParam, intptr_t lParam)
    : wxEvent(0, wxEVT_WINDOW_MESSAGE), m_message(message), m_wParam(wParam), m_lParam(lParam)
{
}

namespace {

// Only touched on the user-interface thread.
std::map<HWND, wxWindow*>& Windows()
{
    static std::map<HWND, wxWindow*> windows;
    return windows;
}

void Forget(wxWindowDestroyEvent& event)
{
    event.Skip();
    wxWindow* window = event.GetWindow();
    auto& windows = Windows();
    for (auto it = windows.begin(); it != windows.end(); ++it) {
        if (it->second == window) {
            UnregisterNoticeWindow(it->first);
            windows.erase(it);
            return;
        }
    }
}

} // namespace

HWND GetHwnd(wxWindow* window)
{
    if (window == nullptr)
        return nullptr;
    HWND hwnd = reinterpret_cast<HWND>(window);
    auto& windows = Windows();
    if (windows.emplace(hwnd, window).second) {
        RegisterNoticeWindow(hwnd);
        window->Bind(wxEVT_DESTROY, Forget);
    }
    return hwnd;
}

wxWindow* WindowFromHwnd(HWND hwnd)
{
    auto it = Windows().find(hwnd);
    return it == Windows().end() ? nullptr : it->second;
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
