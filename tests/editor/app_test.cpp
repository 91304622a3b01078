// app_test.cpp -- what the program leaves on the desktop at start: the file type and its opener;
// and what it does with an exception that leaves an event handler.
#include "editor_session.h"
#include "stderr_capture.h"

#include "platform/wx/shell_registration.h"

#include <new>
#include <sys/stat.h>

using AppTest = EditorTest;

TEST_F(AppTest, StartRegistersTheDocumentTypeOnceAndNeverStopsOverIt)
{
    const std::string data = getenv("XDG_DATA_HOME");
    remove((data + "/applications/tavrolu.desktop").c_str());
    ASSERT_TRUE(Start());
    std::string package = ReadAll(data + "/mime/packages/Tavrolu.Document.xml");
    EXPECT_NE(package.find("<comment>Tavrol Document</comment>"), std::string::npos);
    EXPECT_NE(package.find("<glob pattern=\"*.tvr\"/>"), std::string::npos);
    std::string entry = ReadAll(data + "/applications/tavrolu.desktop");
    EXPECT_NE(entry.find("MimeType=application/x-tavrolu.document;"), std::string::npos);
    EXPECT_NE(entry.find(" %f"), std::string::npos);
    struct stat first;
    ASSERT_EQ(stat((data + "/applications/tavrolu.desktop").c_str(), &first), 0);
    Stop();

    // A second start rewrites nothing; a data folder that cannot be written stops nothing.
    ASSERT_TRUE(Start());
    struct stat second;
    ASSERT_EQ(stat((data + "/applications/tavrolu.desktop").c_str(), &second), 0);
    EXPECT_EQ(first.st_mtim.tv_nsec, second.st_mtim.tv_nsec);
    EXPECT_EQ(first.st_ino, second.st_ino);
    Stop();
    setenv("XDG_DATA_HOME", "/proc/no/such/folder", 1);
    EXPECT_TRUE(Start());
    setenv("XDG_DATA_HOME", data.c_str(), 1);
}

TEST_F(AppTest, ADocumentThatCannotBeOpenedAtStartEndsTheProgram)
{
    EXPECT_FALSE(StartWith(File("nothere.tvr")));
    ASSERT_EQ(m_script.Messages().size(), 1u);
    EXPECT_TRUE(m_script.Dialogs().empty());
    EXPECT_EQ(CMainFrame::Get(), nullptr);
}

// Memory running out in any handler drops that handler's work, leaves one line on standard error
// and keeps the program (and the map) going.
TEST_F(AppTest, AnExceptionOutOfAHandlerLeavesALineAndTheProgramGoesOn)
{
    ASSERT_TRUE(Start());
    wxCommandEvent event(wxEVT_BUTTON, wxID_HIGHEST + 7);
    Frame()->Bind(wxEVT_BUTTON, [](wxCommandEvent&) { throw std::bad_alloc(); }, event.GetId());
    StderrCapture capture;
    Frame()->GetEventHandler()->SafelyProcessEvent(event);
    Pump(20);
    EXPECT_EQ(capture.Take(), "tavrolu: an event handler failed: std::bad_alloc\n");
    EXPECT_TRUE(Frame()->IsShown());
}
