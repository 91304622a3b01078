// keyfeed.h -- the key events of our windows feed the key state behind GetAsyncKeyState.
#pragma once

#include <wx/window.h>

// The virtual-key code of a toolkit key code, or 0 for a key without one.
int VirtualKeyOf(int wxKeyCode);

// Key presses and releases of window reach the key state (the events go on to the window's
// own handlers); when the window loses the focus, or is destroyed, every key is released.
void FeedKeyState(wxWindow* window);
