// scrollbars.h -- how the toolkit's scrolled windows scroll: bars always drawn where they fit, no
// key scrolling.
//
// GTK 3 draws a scrolled window's bars over its content and only while the mouse moves over it,
// which hides that a view or a list scrolls at all; it binds page, Home and Ctrl+arrow keys to
// scrolling, which the editor's keys must not do; and a bar given less room than its own smallest
// size fills the terminal with the toolkit's complaints.
#pragma once

#include <wx/window.h>

// Turns overlay scrolling off for the window's scrolled area: the window itself when it is one
// (a scrolled canvas, a list box), else the first one inside it. Call once the window has been
// created.
void ShowScrollBarsAlways(wxWindow* w);

// The scrolled area found as above no longer scrolls by the toolkit's own key bindings.
void RefuseKeyboardScrolling(wxWindow* w);

// The window's scroll bars, for the size it is about to take: each shows only while the window
// has room for both bars at their smallest sizes; one that would not fit is left out (the wheel
// still scrolls) and comes back when the window grows. Call before the window takes the size:
// the toolkit lays a child window out at once, before any size event.
void FitScrollBars(wxWindow* w, const wxSize& size);
