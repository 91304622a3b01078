// template_dialog.h -- what every dialog made from a template shares with the framework's: the
// window it belongs to (and is centred over) and the template's 8-point font.
#pragma once

class wxWindow;

// The owner of a dialog made with parent: the parent itself, or when there is none the main
// window while it shows; NULL (the screen) while the main window is hidden.
wxWindow* DialogOwner(wxWindow* parent);

// The templates' 8-point font. Set on the dialog before its controls are made, so that their
// best sizes follow it; the desktop's larger font would not fit the templates' boxes.
// Their buttons are made with wxBU_EXACTFIT: the toolkit's uniform minimum button width is wider
// than the templates' buttons, and only the label has to fit.
void UseTemplateFont(wxWindow* dialog);
