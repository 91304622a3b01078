// scrollbars.h -- how the toolkit's scrolled windows scroll: bars always drawn, no key scrolling.
//
// GTK 3 draws a scrolled window's bars over its content and only while the mouse moves over it,
// which hides that a view or a list scrolls at all; and it binds page, Home and Ctrl+arrow keys
// to scrolling, which the editor's keys must not do.
#pragma once

#include <wx/window.h>

// Turns overlay scrolling off for the window's scrolled area: the window itself when it is one
// (a scrolled canvas, a list box), else the first one inside it. Call once the window has been
// created.
void ShowScrollBarsAlways(wxWindow* w);

// The scrolled area found as above no longer scrolls by the toolkit's own key bindings.
void RefuseKeyboardScrolling(wxWindow* w);
