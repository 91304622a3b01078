// scrollbars.h -- scroll bars that are always drawn, not GTK's overlay bars.
//
// GTK 3 draws a scrolled window's bars over its content and only while the mouse moves over it,
// which hides that a view or a list scrolls at all; the program's windows show them always.
#pragma once

#include <wx/window.h>

// Turns overlay scrolling off for the window's scrolled area: the window itself when it is one,
// else its nearest enclosing scrolled area, else the first one inside it (a list's tree view
// sits in one). Call once the window has been created.
void ShowScrollBarsAlways(wxWindow* w);
