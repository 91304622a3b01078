// document_test.cpp -- opening and saving maps as the user does, and what goes wrong with files.
#include "editor_session.h"

#include "resource.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"

#include <wx/fileconf.h>
#include <wx/filedlg.h>
#include <wx/menu.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>

namespace {

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

using DocumentTest = EditorTest;

TEST_F(DocumentTest, SavedMapReopensOnTheCommandLineWithTheSamePixels)
{
    ASSERT_TRUE(Start(40, 30));
    JTDecorat::GetDecorat()->SetTile(2, 3, 17);
    JTSprite* hen = JTKernel::GetKernel()->CreateSprite(1);
    hen->SetPos(30, 20);
    JTManager::GetManager()->Add(hen);
    // Save as, with the name typed without its extension.
    m_script.Then([this](wxDialog* dlg) {
        auto* files = dynamic_cast<wxFileDialog*>(dlg);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->GetMessage(), U("Guardar como"));
        AnswerFileDialog(dlg, U(File("mapa")));
    });
    Command(ID_FILE_SAVE);
    ASSERT_EQ(m_script.Dialogs().size(), 1u);
    std::string bytes = ReadAll(File("mapa.tvr"));
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x28\0\0\0\x1e\0\0\0", 8));
    EXPECT_EQ(Frame()->GetTitle(), U("mapa.tvr - Tavrolu"));
    Pump(30);
    unsigned long before = ViewPixel(2 * 16 + 5, 3 * 16 + 5);

    // Save again writes again, though nothing changed since the last save.
    remove(File("mapa.tvr").c_str());
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadAll(File("mapa.tvr")), bytes);

    Stop();
    ASSERT_TRUE(StartWith(File("mapa.tvr")));
    EXPECT_TRUE(m_script.Dialogs().empty()); // no "Nou Mapa"
    EXPECT_EQ(Doc()->m_nWidth, 40);
    EXPECT_EQ(JTDecorat::GetDecorat()->GetTile(2, 3), 17);
    Pump(30);
    EXPECT_EQ(ViewPixel(2 * 16 + 5, 3 * 16 + 5), before);
    // The recent-file list names it, and survives in the settings file.
    wxMenuItem* recent = Frame()->GetMenuBar()->FindItem(ID_FILE_MRU_FILE1);
    ASSERT_NE(recent, nullptr);
    EXPECT_TRUE(recent->GetItemLabelText().Contains("mapa.tvr"));
    std::string settings = ReadAll(Dir() + "/config/Local AppWizard-Generated Applications/Tavrolu.conf");
    EXPECT_NE(settings.find("[Recent\\ File\\ List]"), std::string::npos) << settings;
    EXPECT_NE(settings.find("File1=" + File("mapa.tvr")), std::string::npos);
}

TEST_F(DocumentTest, FilesThatCannotBeReadLeaveOrReplaceTheMapAsTheFrameworkDoes)
{
    ASSERT_TRUE(Start(7, 7));
    JTDecorat::GetDecorat()->SetTile(1, 1, 9);

    // Missing: a message naming it, nothing changes.
    EXPECT_FALSE(TheApp().OpenDocumentFile(U(File("nothere.tvr"))));
    auto messages = m_script.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, U("No se encontró " + File("nothere.tvr") + "."));
    EXPECT_EQ(messages[0].caption, U("Tavrolu"));
    EXPECT_EQ(JTDecorat::GetDecorat()->GetTile(1, 1), 9);

    // Empty: nothing read, only the name changes.
    WriteAll(File("buit.tvr"), "");
    EXPECT_TRUE(TheApp().OpenDocumentFile(U(File("buit.tvr"))));
    EXPECT_TRUE(m_script.TakeMessages().empty());
    EXPECT_EQ(JTDecorat::GetDecorat()->GetTile(1, 1), 9);
    EXPECT_EQ(Frame()->GetTitle(), U("buit.tvr - Tavrolu"));

    // Cut inside a sprite record: the message, then "Nou Mapa", then a fresh map.
    std::string map("\x02\0\0\0\x01\0\0\0\x05\x06", 10);
    map += std::string(256, '\x01');
    map += std::string("\x01\0\0\0\x08\0\0\0", 8); // a hen, its x, and no y
    WriteAll(File("tallat.tvr"), map);
    AnswerNewMap(12, 7);
    EXPECT_FALSE(TheApp().OpenDocumentFile(U(File("tallat.tvr"))));
    messages = m_script.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, U("Formato de archivo no esperado."));
    ASSERT_EQ(m_script.Dialogs().size(), 1u);
    EXPECT_EQ(m_script.Dialogs()[0], U("Nou Mapa"));
    EXPECT_EQ(Doc()->m_nWidth, 12);
    EXPECT_EQ(JTDecorat::GetDecorat()->GetHeight(), 7);
    EXPECT_EQ(Sprites(), "");
    EXPECT_EQ(Frame()->GetTitle(), U("Sin título - Tavrolu"));
}

TEST_F(DocumentTest, AFailedSaveShowsItsMessageAndLeavesTheOldFileIntact)
{
    // The start-up itself must keep a file-size limit from killing the program.
    signal(SIGXFSZ, SIG_DFL);
    ASSERT_TRUE(Start(2, 2));
    Doc()->SetFilename(U(File("vell.tvr")));
    Doc()->SetDocumentSaved(true);
    Command(ID_FILE_SAVE);
    const std::string old = ReadAll(File("vell.tvr"));
    ASSERT_FALSE(old.empty());

    // A bigger map no longer fits under a file-size limit (works for root too).
    AnswerNewMap(200, 200);
    Command(ID_FILE_NEW);
    Doc()->SetFilename(U(File("vell.tvr")));
    Doc()->SetDocumentSaved(true);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 8192;
    setrlimit(RLIMIT_FSIZE, &small);
    Command(ID_FILE_SAVE);
    setrlimit(RLIMIT_FSIZE, &saved);
    auto messages = m_script.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, U("Disco lleno al acceder a " + File("vell.tvr") + "."));
    EXPECT_EQ(ReadAll(File("vell.tvr")), old);
    EXPECT_EQ(Doc()->m_nWidth, 200); // the map is still open
}

TEST_F(DocumentTest, NewAndOpenReplaceTheToolWithoutAsking)
{
    ASSERT_TRUE(Start(5, 5));
    // A pending hero dropped by New is no longer the registered hero.
    Doc()->m_pSprite = JTKernel::GetKernel()->CreateSprite(0);
    Doc()->m_nTile = 0;
    EXPECT_NE(JTRender::GetRender()->GetPlayer(), nullptr);
    m_script.Then([](wxDialog* dlg) { dlg->EndModal(wxID_CANCEL); }); // Esc: 30 x 30
    Command(ID_FILE_NEW);
    EXPECT_TRUE(m_script.Messages().empty());
    EXPECT_EQ(JTRender::GetRender()->GetPlayer(), nullptr);
    EXPECT_EQ(Doc()->m_pSprite, nullptr);
    EXPECT_EQ(Doc()->m_nTile, -1);
    EXPECT_EQ(Doc()->m_nWidth, 30);
    EXPECT_EQ(Doc()->m_nHeight, 30);
    EXPECT_EQ(Doc()->GetPixelWidth(4), 480);
}

TEST_F(DocumentTest, SaveAsAsksBeforeReplacingAFileAndNoKeepsIt)
{
    ASSERT_TRUE(Start(3, 3));
    WriteAll(File("ja.tvr"), "old bytes");
    m_script.Then([this](wxDialog* dlg) { AnswerFileDialog(dlg, U(File("ja.tvr"))); });
    Command(ID_FILE_SAVE_AS); // the question is answered No; the dialog comes back, cancelled
    auto messages = m_script.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, U(File("ja.tvr") + " ya existe.\n¿Desea reemplazarlo?"));
    EXPECT_EQ(messages[0].caption, U("Guardar como"));
    EXPECT_EQ(m_script.Dialogs().size(), 2u);
    EXPECT_EQ(ReadAll(File("ja.tvr")), "old bytes");
    EXPECT_EQ(Frame()->GetTitle(), U("Sin título - Tavrolu"));
}

TEST_F(DocumentTest, RecentFilesReopenAndARelativeNameIsKeptInFull)
{
    ASSERT_TRUE(Start(3, 3));
    Doc()->SetFilename(U(File("a.tvr")));
    Doc()->SetDocumentSaved(true);
    Command(ID_FILE_SAVE);
    Stop();
    ASSERT_TRUE(StartWith("a.tvr")); // relative to the working folder
    ASSERT_EQ(TheApp().GetRecentFiles().Count(), 1u);
    EXPECT_EQ(TheApp().GetRecentFiles().Get(0), U(File("a.tvr")));
    // Reopening the entry itself moves it to the top without losing it.
    Command(ID_FILE_MRU_FILE1);
    ASSERT_EQ(TheApp().GetRecentFiles().Count(), 1u);
    EXPECT_EQ(TheApp().GetRecentFiles().Get(0), U(File("a.tvr")));
    EXPECT_TRUE(m_script.Messages().empty());
}
