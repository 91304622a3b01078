// first_show.h -- a top-level window whose first showing lays it out at its own size only.
//
// Under a window manager the toolkit holds back a new window's first showing until the manager
// tells the size of its decorations, then lays the window out at a placeholder size (a few
// pixels, then its minimum) before its real one: bars and scroll bars of negative size, and
// warnings on the terminal. A window made ready beforehand is shown at once, at its size.
#pragma once

#include <wx/toplevel.h>

// Call once the window's size and children are set, before it is first shown.
void PrepareFirstShow(wxTopLevelWindow* w);
