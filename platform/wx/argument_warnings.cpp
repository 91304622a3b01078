// argument_warnings.cpp -- a log for the toolkit's start that drops its warnings about arguments
// the program reads by their bytes.
#include "platform/wx/argument_warnings.h"

#include <wx/arrstr.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/strconv.h>

namespace {

// Lives from before wxEntry until the toolkit's start ends and deletes the log it started with.
class QuietConversionLog : public wxLogStderr
{
public:
    explicit QuietConversionLog(const wxArrayString& quiet) : m_quiet(quiet) {}

protected:
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo& info) override
    {
        if (level == wxLOG_Warning && m_quiet.Index(msg) != wxNOT_FOUND)
            return;
        wxLogStderr::DoLogRecord(level, msg, info);
    }

private:
    wxArrayString m_quiet;
};

} // namespace

void QuietArgumentConversionWarnings(int argc, char** argv)
{
    wxArrayString quiet;
    for (int i = 1; i < argc; i++) {
        // The conversion and the words the toolkit uses for each argument at its start.
        if (!wxConvLocal.cMB2WX(argv[i]))
            quiet.Add(wxString::Format(
                _("Command line argument %d couldn't be converted to Unicode and will be ignored."),
                i));
    }
    if (!quiet.empty())
        delete wxLog::SetActiveTarget(new QuietConversionLog(quiet));
}
