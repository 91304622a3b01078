// hostile_paths_test.cpp -- what the editor does with FIFOs and devices, unwritable settings and
// data folders, an empty file, a file that cannot be read and a monstrous recent-file entry: a
// message in the framework's words with the map still open, or nothing at all.
#include "editor_session.h"
#include "../hostile_files.h"

#include "resource.h"
#include "Motor/jtdecorat.h"
#include "platform/wx/file_names.h"
#include "platform/wx/recent_files.h"
#include "platform/wx/settings_file.h"

#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/menu.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace {

// Keeps every toolkit log message that gets through, as the user would have read it.
class RecordingLog : public wxLog
{
public:
    wxArrayString messages;

protected:
    void DoLogTextAtLevel(wxLogLevel, const wxString& text) override { messages.Add(text); }
};

} // namespace

class HostilePathsTest : public EditorTest
{
protected:
    // The one message the last step showed.
    wxString OnlyMessage()
    {
        auto messages = m_script.TakeMessages();
        EXPECT_EQ(messages.size(), 1u);
        return messages.empty() ? wxString() : messages[0].text;
    }
    void SaveAt(const std::string& path)
    {
        Doc()->SetFilename(U(path));
        Doc()->SetDocumentSaved(true);
        Command(ID_FILE_SAVE);
    }
    void ExpectMapKept(const wxString& title)
    {
        EXPECT_EQ(JTDecorat::GetDecorat()->GetTile(1, 1), 9);
        EXPECT_EQ(Frame()->GetTitle(), title);
    }
};

TEST_F(HostilePathsTest, FifosAndDevicesAreRefusedAndTheMapStaysOpen)
{
    ASSERT_TRUE(Start(7, 7));
    JTDecorat::GetDecorat()->SetTile(1, 1, 9);
    GuardedFifo fifo(File("canal.tvr"));
    ASSERT_TRUE(fifo.IsMade());

    // Opened (as from Obrir), and from the recent-file list, which then forgets it.
    for (const std::string& path : {File("canal.tvr"), std::string("/dev/zero")}) {
        EXPECT_FALSE(TheApp().OpenDocumentFile(U(path)));
        EXPECT_EQ(OnlyMessage(), U("Acceso denegado a " + path + "."));
        ExpectMapKept(U("Sin título - Tavrolu"));
    }
    TheApp().GetRecentFiles().Add(U(File("canal.tvr")));
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(OnlyMessage(), U("Acceso denegado a " + File("canal.tvr") + "."));
    EXPECT_EQ(TheApp().GetRecentFiles().Count(), 0u);

    // Saved onto: refused, and the FIFO stays.
    SaveAt(File("canal.tvr"));
    EXPECT_EQ(OnlyMessage(), U("Acceso denegado a " + File("canal.tvr") + "."));
    EXPECT_TRUE(std::filesystem::is_fifo(File("canal.tvr")));
    EXPECT_FALSE(fifo.Rescued()) << "the editor waited on the FIFO";
}

// Reading /proc/self/mem fails at its first byte: a read error, never an empty map.
TEST_F(HostilePathsTest, AFileThatCannotBeReadIsReportedAndTheMapStaysOpen)
{
    ASSERT_TRUE(Start(7, 7));
    JTDecorat::GetDecorat()->SetTile(1, 1, 9);
    EXPECT_FALSE(TheApp().OpenDocumentFile("/proc/self/mem"));
    EXPECT_EQ(OnlyMessage(), U("Se produjo un error inesperado al leer /proc/self/mem."));
    ExpectMapKept(U("Sin título - Tavrolu"));
}

TEST_F(HostilePathsTest, UnwritableSettingsAndDataFoldersStayQuiet)
{
    // Folders under a plain file cannot be made, not even by root.
    std::ofstream(File("fitxer")) << "x";
    setenv("XDG_CONFIG_HOME", File("fitxer/config").c_str(), 1);
    const char* data = getenv("XDG_DATA_HOME");
    const std::string savedData = data != nullptr ? data : "";
    setenv("XDG_DATA_HOME", File("fitxer/data").c_str(), 1);
    RecordingLog* log = new RecordingLog;
    wxLog* old = wxLog::SetActiveTarget(log);
    ASSERT_TRUE(Start(3, 3));
    SaveAt(File("a.tvr"));
    Stop();
    wxLog::SetActiveTarget(old);
    setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    EXPECT_TRUE(log->messages.empty()) << log->messages[0];
    delete log;
    EXPECT_TRUE(m_script.Messages().empty());
    EXPECT_TRUE(m_script.Dialogs().empty());
}

TEST_F(HostilePathsTest, RecentEntriesLongerThanAPathAreDropped)
{
    const std::string dir = Dir() + "/config/Local AppWizard-Generated Applications";
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/Tavrolu.conf") << "[Recent File List]\nFile1=/" << std::string(4096, 'x')
                                         << "\nFile2=/" << std::string(4095, 'y') << "\n";
    ASSERT_TRUE(Start(3, 3));
    ASSERT_EQ(TheApp().GetRecentFiles().Count(), 1u);
    EXPECT_EQ(TheApp().GetRecentFiles().Get(0).length(), 4096u);
}

TEST_F(HostilePathsTest, AnEmptyFileOnTheCommandLineOpensAsAnEmptyMap)
{
    std::ofstream(File("buit.tvr"));
    ASSERT_TRUE(StartWith(File("buit.tvr"), false));
    EXPECT_TRUE(m_script.TakeMessages().empty());
    EXPECT_EQ(JTDecorat::GetDecorat()->GetWidth(), 0);
    EXPECT_EQ(JTDecorat::GetDecorat()->GetHeight(), 0);
    EXPECT_EQ(Frame()->GetTitle(), U("buit.tvr - Tavrolu"));
}

// The settings file a user's disk or editor damaged: a line with an empty key, binary junk, bytes
// that are not UTF-8. Any toolkit assertion fails the test (see editor_main.cpp).
TEST_F(HostilePathsTest, ADamagedSettingsFileIsReadAsFarAsItMakesSense)
{
    const std::string dir = Dir() + "/config/Local AppWizard-Generated Applications";
    const std::string conf = dir + "/Tavrolu.conf";
    std::filesystem::create_directories(dir);
    const char binary[] = "=x\n\x7f" "ELF\x02\x01\x01\0\0\0junk=\xff\xfe\n[]\n[/..]\n";
    std::ofstream(conf, std::ios::binary)
        << std::string(binary, sizeof binary - 1)
        << "[Recent\\ File\\ List]\nFile1=/maps/a.tvr\n \t=y\n\xc3(=1\nFile2=/maps/b.tvr\n";
    ASSERT_TRUE(Start(3, 3));
    ASSERT_EQ(TheApp().GetRecentFiles().Count(), 2u);
    EXPECT_EQ(TheApp().GetRecentFiles().Get(0), "/maps/a.tvr");
    EXPECT_EQ(TheApp().GetRecentFiles().Get(1), "/maps/b.tvr");
    Stop();
    EXPECT_EQ(ReadAll(conf), "[Recent\\ File\\ List]\nFile1=/maps/a.tvr\nFile2=/maps/b.tvr\n");

    // Whatever the bytes, the toolkit reads the file without a word.
    std::srand(7);
    for (int round = 0; round < 200; round++) {
        std::string junk;
        for (int i = 0; i < 64; i++)
            junk += "=[]\\/ \n\r\"aF1\xc3\xff\0"[std::rand() % 15];
        std::ofstream(conf, std::ios::binary | std::ios::trunc) << junk;
        std::unique_ptr<wxFileConfig> config(
            OpenSettingsFile("Tavrolu", "Local AppWizard-Generated Applications", U(conf)));
        RecentFileList list(4);
        list.Load(config.get());
        list.Add("/maps/c.tvr");
        list.Save(config.get());
    }
}

// Recent files are names as the system has them: nothing in them is expanded or lost through
// the settings file, while plain UTF-8 entries already there read as they always did.
TEST_F(HostilePathsTest, RecentFilesComeBackByteForByte)
{
    const std::vector<std::string> names = {
        "/maps/m$HOME.tvr", "/maps/%PATH%$.tvr", "/maps/a\\b\\n\\\\.tvr", "/maps/two\nlines.tvr",
        "/maps/m\xe0p\xff.tvr", "/maps/\"quoted\" .tvr", " /maps/tab\t.tvr",
        "/maps/\xf4\x80\x83\xa0.tvr"};
    for (size_t first = 0; first < names.size(); first += 4) {
        ASSERT_TRUE(Start(3, 3));
        for (size_t i = first + 4; i-- > first;)
            TheApp().GetRecentFiles().Add(FileNameFromBytes(names[i]));
        Stop();
        ASSERT_TRUE(Start(3, 3));
        ASSERT_EQ(TheApp().GetRecentFiles().Count(), 4u);
        for (size_t i = 0; i < 4; i++)
            EXPECT_EQ(FileNameBytes(TheApp().GetRecentFiles().Get(i)), names[first + i]);
        Stop();
    }
    const std::string dir = Dir() + "/config/Local AppWizard-Generated Applications";
    std::ofstream(dir + "/Tavrolu.conf", std::ios::trunc)
        << "[Recent\\ File\\ List]\nFile1=/maps/mapà.tvr\n";
    ASSERT_TRUE(Start(3, 3));
    ASSERT_EQ(TheApp().GetRecentFiles().Count(), 1u);
    EXPECT_EQ(TheApp().GetRecentFiles().Get(0), U("/maps/mapà.tvr"));
}

// A map whose name is not UTF-8 opens by its bytes; one that is missing is reported by name.
TEST_F(HostilePathsTest, AMapNamedInBytesThatAreNotUtf8OpensByThem)
{
    const std::string name = File("m\xe0p.tvr");
    std::ofstream(name, std::ios::binary)
        << std::string("\1\0\0\0\1\0\0\0\0", 9) << std::string(256, '\1') << "\xff\xff\xff\xff";
    ASSERT_TRUE(StartWith(name, false));
    EXPECT_TRUE(m_script.TakeMessages().empty());
    EXPECT_EQ(JTDecorat::GetDecorat()->GetWidth(), 1);
    EXPECT_EQ(FileNameBytes(Doc()->GetFilename()), name);
    ASSERT_EQ(TheApp().GetRecentFiles().Count(), 1u);
    EXPECT_EQ(FileNameBytes(TheApp().GetRecentFiles().Get(0)), name);
    Stop();

    EXPECT_FALSE(StartWith(File("n\xe0.tvr"), false));
    // Named as the desktop names it: U+FFFD for the byte that is not UTF-8.
    EXPECT_EQ(OnlyMessage(), U("No se encontró " + File("n") + "\xef\xbf\xbd.tvr."));
}
