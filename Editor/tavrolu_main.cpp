// tavrolu_main.cpp -- the program's entry point: the command line kept as bytes, toolkit
// assertions kept from the user, then the toolkit's main running the application.
#include "Tavrolu.h"

#include <wx/debug.h>

namespace {

// A toolkit assertion is a note for its developers: the user of the program never sees one as a
// dialog in English, nor has the program stopped by a signal over one. (The tests install a
// handler that fails the test instead.)
void IgnoreAssertion(const wxString&, int, const wxString&, const wxString&, const wxString&) {}

} // namespace

wxIMPLEMENT_APP_NO_MAIN(CTavroluApp);

int main(int argc, char** argv)
{
    wxSetAssertHandler(IgnoreAssertion);
    CTavroluApp::KeepCommandLine(argc, argv);
    return wxEntry(argc, argv);
}
