// editor_main.cpp -- GoogleTest inside a running toolkit: the application object is the editor's
// own, the notice pump is wired and the tests drive real windows on the test's own X display.
#include "../scratch_dir.h"
#include "Tavrolu.h"
#include "platform/wx/hwnd.h"

#include <gtest/gtest.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/init.h>

namespace {

// The editor's application without its start-up: each test starts what it needs.
class TestApp : public CTavroluApp
{
public:
    bool OnInit() override { return true; }
    int OnExit() override { return wxApp::OnExit(); }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The desktop's data folder is read once by the toolkit: one scratch folder for the whole
    // run, so that nothing lands in the user's own.
    ScratchDir data;
    setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
    wxApp::SetInstance(new TestApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 2;
    wxImage::AddHandler(new wxPNGHandler);
    InstallNoticePump();
    // An active loop of our own, so that paints and window maps are dispatched between steps.
    wxEventLoop loop;
    wxEventLoopActivator active(&loop);
    int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
