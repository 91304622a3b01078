// assert_report.cpp -- the toolkit's failed assertions as single lines on standard error.
#include "platform/wx/assert_report.h"

#include <wx/debug.h>
#include <wx/string.h>

#include <cstdio>

namespace {

// A toolkit assertion is a note for developers, a fault of ours that trips one included: it
// leaves its trace where they look, file:line, condition and message, and the program goes on.
void ReportAssertion(const wxString& file, int line, const wxString&, const wxString& cond,
                     const wxString& msg)
{
    wxString text = wxString::Format("%s:%d: assertion failed: %s", file, line, cond);
    if (!msg.empty())
        text << ": " << msg;
    text.Replace("\n", " ");
    std::fprintf(stderr, "%s\n", text.utf8_str().data());
    std::fflush(stderr);
}

} // namespace

void ReportToolkitAssertionsOnStderr()
{
    wxSetAssertHandler(ReportAssertion);
}
