// tavrolu_main.cpp -- the program's entry point: the command line kept as bytes, toolkit
// assertions kept from the user, then the toolkit's main running the application.
#include "Tavrolu.h"

#include <wx/debug.h>

#include <malloc.h>
#include <pthread.h>

namespace {

// A toolkit assertion is a note for its developers: the user of the program never sees one as a
// dialog in English, nor has the program stopped by a signal over one. (The tests install a
// handler that fails the test instead.)
void IgnoreAssertion(const wxString&, int, const wxString&, const wxString&, const wxString&) {}

// Under an address-space limit (ulimit -v) each thread's reservations count: an 8 MB stack and,
// at its first allocation, a 64 MB malloc arena of its own. When they do not fit, GLib ends the
// program (a helper thread it cannot make, an allocation that fails). One shared arena and
// stacks of 1 MB, ample for every thread of the program, leave that room to the map and the
// game.
void SmallThreadReservations()
{
    mallopt(M_ARENA_MAX, 1);
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0)
        return;
    if (pthread_attr_setstacksize(&attr, size_t(1) << 20) == 0)
        pthread_setattr_default_np(&attr);
    pthread_attr_destroy(&attr);
}

} // namespace

wxIMPLEMENT_APP_NO_MAIN(CTavroluApp);

int main(int argc, char** argv)
{
    SmallThreadReservations();
    wxSetAssertHandler(IgnoreAssertion);
    CTavroluApp::KeepCommandLine(argc, argv);
    return wxEntry(argc, argv);
}
