// keyfeed.cpp -- toolkit key events to virtual-key presses and releases.
#include "platform/wx/keyfeed.h"

#include "platform/keys.h"
#include "platform/windefs.h"

#include <wx/defs.h>

int VirtualKeyOf(int code)
{
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return code;
    if (code >= 'a' && code <= 'z')
        return code - 'a' + 'A';
    switch (code) {
    case WXK_BACK: return VK_BACK;
    case WXK_TAB: return VK_TAB;
    case WXK_RETURN: case WXK_NUMPAD_ENTER: return VK_RETURN;
    case WXK_SHIFT: return VK_SHIFT;
    case WXK_CONTROL: return VK_CONTROL;
    case WXK_ALT: return VK_MENU;
    case WXK_ESCAPE: return VK_ESCAPE;
    case WXK_SPACE: return VK_SPACE;
    case WXK_PAGEUP: return VK_PRIOR;
    case WXK_PAGEDOWN: return VK_NEXT;
    case WXK_END: return VK_END;
    case WXK_HOME: return VK_HOME;
    case WXK_LEFT: case WXK_NUMPAD_LEFT: return VK_LEFT;
    case WXK_UP: case WXK_NUMPAD_UP: return VK_UP;
    case WXK_RIGHT: case WXK_NUMPAD_RIGHT: return VK_RIGHT;
    case WXK_DOWN: case WXK_NUMPAD_DOWN: return VK_DOWN;
    case WXK_INSERT: return VK_INSERT;
    case WXK_DELETE: return VK_DELETE;
    case WXK_F1: return VK_F1;
    default: return 0;
    }
}

namespace {

void OnKeyDown(wxKeyEvent& event)
{
    if (int vk = VirtualKeyOf(event.GetKeyCode()))
        KeyStatePress(vk);
    event.Skip();
}

void OnKeyUp(wxKeyEvent& event)
{
    if (int vk = VirtualKeyOf(event.GetKeyCode()))
        KeyStateRelease(vk);
    event.Skip();
}

void OnFocusLost(wxFocusEvent& event)
{
    KeyStateReset();
    event.Skip();
}

// A top-level window that loses the focus to another one is deactivated, and its focused
// child may never hear of it.
void OnActivate(wxActivateEvent& event)
{
    if (!event.GetActive())
        KeyStateReset();
    event.Skip();
}

void OnGone(wxWindowDestroyEvent& event)
{
    KeyStateReset();
    event.Skip();
}

} // namespace

void FeedKeyState(wxWindow* window)
{
    window->Bind(wxEVT_KEY_DOWN, OnKeyDown);
    window->Bind(wxEVT_KEY_UP, OnKeyUp);
    window->Bind(wxEVT_KILL_FOCUS, OnFocusLost);
    window->Bind(wxEVT_DESTROY, OnGone);
    if (window->IsTopLevel())
        window->Bind(wxEVT_ACTIVATE, OnActivate);
}
