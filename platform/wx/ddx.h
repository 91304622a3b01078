// ddx.h -- dialog data exchange: a dialog's values move between its members and its controls in
// one direction at a time, as the framework's exchange moves them, with its own message when a
// field cannot be read.
#pragma once

#include "platform/windefs.h"

#include <wx/string.h>

class wxCheckBox;
class wxRadioButton;
class wxStaticText;
class wxTextCtrl;

// The framework's message for a field that holds no whole number (UTF-8).
extern const char* const kParseIntText;

// save == true reads the control into the member; save == false shows the member in the control.

// The framework's reading of a whole number: blanks, an optional sign, digits, blanks. False for
// any other text. A number beyond the int range is still read, held at a bound far beyond it,
// so that a caller can tell "too large" from "not a number".
bool ParseWholeNumber(const wxString& text, long long& value);

// A field that cannot be taken: the message in the program's box (caption "Tavrolu"), then the
// focus on the field with its whole text selected, ready to be typed over.
void DdxFail(wxTextCtrl* ctrl, const wxString& message);

// Reading fails on anything but a whole number in the int range: "Introduzca un número entero."
// through DdxFail, value untouched, false. Showing always succeeds.
bool DdxInt(wxTextCtrl* ctrl, int& value, bool save);

// FALSE or TRUE; any non-zero value shows a check.
void DdxCheck(wxCheckBox* ctrl, BOOL& value, bool save);

// 0: the first button is on, 1: the second, -1: neither. A group of this toolkit always keeps
// one button on, so showing -1 leaves the group as it is.
void DdxRadio(wxRadioButton* first, wxRadioButton* second, int& value, bool save);

// A field's text. Showing it does not count as the user's edit (no text event).
void DdxText(wxTextCtrl* ctrl, wxString& value, bool save);
// A static's label. As on the framework's statics, '&' marks the next letter as a mnemonic.
void DdxText(wxStaticText* ctrl, wxString& value, bool save);
