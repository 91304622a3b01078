// editor_main.cpp -- GoogleTest inside a running toolkit: the application object is the editor's
// own, the notice pump is wired and the tests drive real windows on the test's own X display.
#include "../scratch_dir.h"
#include "Tavrolu.h"
#include "platform/wx/hwnd.h"

#include <gtest/gtest.h>
#include <wx/debug.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/init.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

// The last line of defence against a hang that no dialog deadline catches (a wait stuck outside
// any event loop): a test still running after this long ends the whole run, naming the test,
// long before the test driver's own timeout.
const std::chrono::seconds kTestDeadline(90);

class TestWatchdog : public ::testing::EmptyTestEventListener
{
public:
    TestWatchdog() : m_thread([this] { Watch(); }) {}
    ~TestWatchdog() override
    {
        m_stop = true;
        m_thread.join();
    }
    void OnTestStart(const ::testing::TestInfo& info) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_name = std::string(info.test_suite_name()) + "." + info.name();
        m_start = std::chrono::steady_clock::now();
        m_running = true;
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = false;
    }

private:
    void Watch()
    {
        while (!m_stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_running && std::chrono::steady_clock::now() - m_start > kTestDeadline) {
                std::fprintf(stderr, "\n%s still running after %d s: the run ends here\n",
                             m_name.c_str(), int(kTestDeadline.count()));
                std::fflush(stderr);
                _exit(3);
            }
        }
    }

    std::mutex m_mutex;
    std::string m_name;
    std::chrono::steady_clock::time_point m_start;
    bool m_running = false;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The program reports the toolkit's assertions on standard error; here each one fails the test
// that caused it, with the toolkit's own words, instead of a line no one reads.
void FailOnAssertion(const wxString& file, int line, const wxString& func, const wxString& cond,
                     const wxString& msg)
{
    ADD_FAILURE() << "toolkit assertion " << cond.utf8_str() << " (" << msg.utf8_str() << ") in "
                  << func.utf8_str() << " at " << file.utf8_str() << ":" << line;
}

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
    wxSetAssertHandler(FailOnAssertion);
    // Owned by GoogleTest from here on.
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestWatchdog);
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
