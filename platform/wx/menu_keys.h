// menu_keys.h -- the key text a menu item shows at its right, for display only.
//
// A label "Text\tKey" would make the toolkit bind Key as a working accelerator; the menu of this
// program shows keys that must not act (Ctrl+A, Ctrl+G) and names one its own way ("SUPR"), so
// the label carries no tab and the key text is drawn beside it as a plain, dimmed label.
#pragma once

#include <wx/menuitem.h>

// Call after the item has been appended to its menu.
void ShowMenuKeyText(wxMenuItem* item, const wxString& keyText);
// The key text shown, empty when none; for the tests.
wxString GetMenuKeyText(wxMenuItem* item);
