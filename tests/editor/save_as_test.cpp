// save_as_test.cpp -- the name and folder the save dialog proposes, and where it comes back after
// the user declines to replace a file.
#include "editor_session.h"

#include "resource.h"

#include <gtk/gtk.h>

#include <fstream>
#include <sys/stat.h>

namespace {

struct Chooser
{
    std::string folder;
    std::string name;
};

// What the dialog shows once it has settled: its folder and the text of its name field.
Chooser Read(wxDialog* dlg)
{
    Pump(100);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dlg->m_widget);
    Chooser seen;
    if (gchar* folder = gtk_file_chooser_get_current_folder(chooser)) {
        seen.folder = folder;
        g_free(folder);
    }
    if (gchar* name = gtk_file_chooser_get_current_name(chooser)) {
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

} // namespace
