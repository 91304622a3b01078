// editor_main.cpp -- GoogleTest inside a running toolkit: the application object exists, the
// notice pump is wired and the tests drive real windows on the test's own X display.
#include "platform/wx/hwnd.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdlib>

namespace {

class TestApp : public wxApp
{
public:
    bool OnInit() override { return true; }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Settings and shell files of the tests must never touch the user's own.
    wxApp::SetInstance(new TestApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 2;
    InstallNoticePump();
    int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
