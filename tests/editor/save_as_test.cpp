// save_as_test.cpp -- the name and folder the save dialog proposes, where it comes back after the
// user declines to replace a file, and the folder each file dialog opens in.
#include "editor_session.h"

#include "resource.h"

#include <gtk/gtk.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Chooser
{
    std::string folder;
    std::string name;
};

// What the dialog shows once it has settled: its folder and the text of its name field (a save
// dialog's).
Chooser Read(wxDialog* dlg)
{
    Pump(100);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dlg->m_widget);
    Chooser seen;
    if (gchar* folder = gtk_file_chooser_get_current_folder(chooser)) {
        seen.folder = folder;
        g_free(folder);
    }
    gchar* name = gtk_file_chooser_get_action(chooser) == GTK_FILE_CHOOSER_ACTION_SAVE
                      ? gtk_file_chooser_get_current_name(chooser)
                      : nullptr;
    if (name != nullptr) {
        seen.name = name;
        g_free(name);
    }
    return seen;
}

using SaveAsTest = EditorTest;

TEST_F(SaveAsTest, ProposesTheMapsNameAndComesBackWhereTheUserWas)
{
    ASSERT_TRUE(Start(3, 3));
    const std::string folder = File("maps");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    std::ofstream(folder + "/ja.tvr") << "old bytes";

    Chooser first, again;
    m_script.Then([&](wxDialog* dlg) {
        first = Read(dlg);
        AnswerFileDialog(dlg, wxString::FromUTF8(folder + "/ja.tvr"));
    });
    m_script.Then([&](wxDialog* dlg) {
        again = Read(dlg);
        CancelDialog(dlg);
    });
    Command(ID_FILE_SAVE_AS); // "ya existe" is answered No
    EXPECT_EQ(first.name, "Sin título.tvr");
    EXPECT_EQ(first.folder, Dir());
    EXPECT_EQ(again.folder, folder);
    EXPECT_EQ(again.name, "ja.tvr");
    EXPECT_EQ(m_script.TakeMessages().size(), 1u);

    // A map that has a file proposes that file, in its folder.
    m_script.Then([&](wxDialog* dlg) {
        AnswerFileDialog(dlg, wxString::FromUTF8(folder + "/nou.tvr"));
    });
    Command(ID_FILE_SAVE_AS);
    m_script.Then([&](wxDialog* dlg) {
        first = Read(dlg);
        CancelDialog(dlg);
    });
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(first.folder, folder);
    EXPECT_EQ(first.name, "nou.tvr");
}

// The open map's folder first, then the folder of the last file chosen, then the user's
// documents folder, then home; never the working folder, where the program runs.
TEST_F(SaveAsTest, FileDialogsOpenWhereTheUsersMapsAre)
{
    const std::string docs = File("Documents"), maps = File("maps"), other = File("other");
    for (const std::string& folder : {File("work"), File("config"), maps, other})
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    ASSERT_EQ(chdir(File("work").c_str()), 0);
    std::ofstream(File("config/user-dirs.dirs")) << "XDG_DOCUMENTS_DIR=\"$HOME/Documents\"\n";
    ASSERT_TRUE(Start(3, 3));

    Chooser seen;
    auto look = [&](int command) {
        m_script.Then([&](wxDialog* dlg) {
            seen = Read(dlg);
            CancelDialog(dlg);
        });
        Command(command);
        return seen.folder;
    };
    // A documents folder that does not exist yet: home.
    EXPECT_EQ(look(ID_FILE_OPEN), Dir());
    ASSERT_EQ(mkdir(docs.c_str(), 0755), 0);
    EXPECT_EQ(look(ID_FILE_OPEN), docs);
    EXPECT_EQ(look(ID_FILE_SAVE_AS), docs);
    EXPECT_EQ(seen.name, "Sin título.tvr");

    m_script.Then([&](wxDialog* dlg) { AnswerFileDialog(dlg, U(maps + "/a.tvr")); });
    Command(ID_FILE_SAVE_AS);
    m_script.Then([&](wxDialog* dlg) { AnswerFileDialog(dlg, U(other + "/b.tvr")); });
    Command(ID_FILE_SAVE_AS);
    // a.tvr from the recent files: its folder, not the one last chosen, and Save As proposes
    // the map's own file.
    Command(ID_FILE_MRU_FILE1 + 1);
    ASSERT_EQ(Frame()->GetTitle(), U("a.tvr - Tavrolu"));
    EXPECT_EQ(look(ID_FILE_OPEN), maps);
    EXPECT_EQ(look(ID_FILE_SAVE_AS), maps);
    EXPECT_EQ(seen.name, "a.tvr");

    AnswerNewMap(3, 3);
    Command(ID_FILE_NEW);
    EXPECT_EQ(look(ID_FILE_OPEN), other);
    EXPECT_EQ(look(ID_FILE_SAVE_AS), other);
    EXPECT_EQ(seen.name, "Sin título.tvr");
}

// A map chosen in Obrir sets the folder the next dialogs open in, once the map has no file.
TEST_F(SaveAsTest, ObrirRemembersTheFolderOfTheMapChosenInIt)
{
    const std::string maps = File("maps"), other = File("other");
    for (const std::string& folder : {maps, other})
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    ASSERT_TRUE(Start(3, 3));
    m_script.Then([&](wxDialog* dlg) { AnswerFileDialog(dlg, U(other + "/x.tvr")); });
    Command(ID_FILE_SAVE_AS);
    std::filesystem::copy_file(other + "/x.tvr", maps + "/x.tvr");
    AnswerNewMap(3, 3);
    Command(ID_FILE_NEW);

    m_script.Then([&](wxDialog* dlg) { AnswerFileDialog(dlg, U(maps + "/x.tvr")); });
    Command(ID_FILE_OPEN);
    ASSERT_EQ(Doc()->GetFilename(), U(maps + "/x.tvr"));
    AnswerNewMap(3, 3);
    Command(ID_FILE_NEW);
    ASSERT_EQ(Frame()->GetTitle(), U("Sin título - Tavrolu"));
    for (int command : {ID_FILE_OPEN, ID_FILE_SAVE_AS}) {
        Chooser seen;
        m_script.Then([&](wxDialog* dlg) {
            seen = Read(dlg);
            CancelDialog(dlg);
        });
        Command(command);
        EXPECT_EQ(seen.folder, maps) << command;
    }
    EXPECT_EQ(m_script.TakeDialogs(),
              (std::vector<wxString>{U("Guardar como"), U("Nou Mapa"), U("Abrir"), U("Nou Mapa"),
                                     U("Abrir"), U("Guardar como")}));
}

} // namespace
