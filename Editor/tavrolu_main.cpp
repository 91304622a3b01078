// tavrolu_main.cpp -- the program's entry point: the standard descriptors and the system's
// limits made sure of, the command line kept as bytes, toolkit assertions reported on standard
// error, then the toolkit's main running the application.
#include "Tavrolu.h"

#include "platform/start_limits.h"
#include "platform/std_streams.h"
#include "platform/wx/assert_report.h"

#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <pthread.h>

namespace {

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

// A limit below what the toolkit needs would end the program by a signal partway through its
// start: it is refused here, before any window, with a line that names it.
bool LimitsSuffice()
{
    const std::string refusal = CheckStartLimits();
    if (!refusal.empty())
        std::fputs(refusal.c_str(), stderr);
    return refusal.empty();
}

} // namespace

wxIMPLEMENT_APP_NO_MAIN(CTavroluApp);

int main(int argc, char** argv)
{
    OpenClosedStandardStreams();
    if (!LimitsSuffice())
        return EXIT_FAILURE;
    SmallThreadReservations();
    ReportToolkitAssertionsOnStderr();
    CTavroluApp::KeepCommandLine(argc, argv);
    return wxEntry(argc, argv);
}
