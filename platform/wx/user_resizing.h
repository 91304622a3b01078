// user_resizing.h -- how far the user may drag a top-level window's size, told to the window
// manager as the window's largest size.
//
// The bound is kept in the toolkit's own terms (the window without the window manager's frame),
// so it means the same whether or not the window manager's frame is known at the moment: while a
// window is hidden, and just after it shows again, the toolkit may count that frame as nothing.
#pragma once

#include <wx/toplevel.h>

// The user may drag the window until its client area reaches largestClient. The bound never lies
// below the window's current size (setting it never shrinks the window), and on each axis it
// lies above the smallest size the toolkit allows the window, so that the window manager always
// lets the user resize by a corner. Nothing changes before the window has been laid out.
void BoundUserResizing(wxTopLevelWindow* w, const wxSize& largestClient);

// No largest size: maximizing fills the screen.
void FreeUserResizing(wxTopLevelWindow* w);
