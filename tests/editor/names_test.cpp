// names_test.cpp -- names as the user sees them: the recent files a settings file names, the
// settings file whatever it holds, and titles and menu labels of names that are not UTF-8.
#include "editor_session.h"

#include "resource.h"
#include "Motor/jtdecorat.h"
#include "platform/wx/file_names.h"

#include <wx/menu.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

// A W by 1 map of tile 0, all walkable, with no sprites.
std::string MapBytes(char width)
{
    return std::string(1, width) + std::string("\0\0\0\1\0\0\0", 7) +
           std::string(size_t(width), '\0') + std::string(256, '\1') + "\xff\xff\xff\xff";
}

} // namespace

class NamesTest : public EditorTest
{
protected:
    std::string SettingsDir() const
    {
        return Dir() + "/config/Local AppWizard-Generated Applications";
    }
    std::string SettingsPath() const { return SettingsDir() + "/Tavrolu.conf"; }
    void WriteSettings(const std::string& text)
    {
        std::filesystem::create_directories(SettingsDir());
        std::ofstream(SettingsPath(), std::ios::binary | std::ios::trunc) << text;
    }
    void WriteMap(const std::string& path, char width)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << MapBytes(width);
    }
    // The only message the last step showed, or an empty text.
    wxString OnlyMessage()
    {
        auto messages = m_script.TakeMessages();
        EXPECT_EQ(messages.size(), 1u);
        return messages.empty() ? wxString() : messages[0].text;
    }
};

// The settings keep each byte that is not UTF-8 as U+100000 + byte (0x80-0xFF). An entry holding
// U+100000 + a lower byte, which the program never writes, names the file whose name is that
// character's UTF-8: never the file cut at a NUL, never a file in another folder.
TEST_F(NamesTest, ARecentEntryOpensAndSavesTheFileItNames)
{
    std::filesystem::create_directories(File("x"));
    WriteMap(File("a.tvr"), 2);
    WriteMap(File("x/a.tvr"), 2);
    const std::string odd = File("a.tvr\xf4\x80\x80\x80junk");
    WriteMap(odd, 1);
    WriteSettings("[Recent\\ File\\ List]\nFile1=" + File("a.tvr\xf4\x80\x80\x80junk") +
                  "\nFile2=" +
                  File("x\xf4\x80\x80\xaf"
                       "a.tvr") +
                  "\n");
    ASSERT_TRUE(Start(3, 3));
    ASSERT_EQ(TheApp().GetRecentFiles().Count(), 2u);

    Command(ID_FILE_MRU_FILE1);
    EXPECT_TRUE(m_script.TakeMessages().empty());
    EXPECT_EQ(JTDecorat::GetDecorat()->GetWidth(), 1);
    EXPECT_EQ(FileNameBytes(Doc()->GetFilename()), odd);
    EXPECT_EQ(Frame()->GetTitle(), U("a.tvr\xf4\x80\x80\x80junk - Tavrolu"));
    JTDecorat::GetDecorat()->SetTile(0, 0, 5);
    Command(ID_FILE_SAVE);
    EXPECT_EQ(ReadAll(File("a.tvr")), MapBytes(2));
    EXPECT_NE(ReadAll(odd), MapBytes(1));

    // The second entry: no such file, whatever x/a.tvr holds.
    TheApp().OpenRecentFile(1);
    EXPECT_EQ(OnlyMessage(), U("No se encontró " +
                               File("x\xf4\x80\x80\xaf"
                                    "a.tvr") +
                               "."));
    EXPECT_EQ(JTDecorat::GetDecorat()->GetWidth(), 1);
}

// Bytes that are not UTF-8 show as the desktop shows them, one U+FFFD each, in the title and in
// the recent-file menu; the document and the list keep the bytes.
TEST_F(NamesTest, ANameThatIsNotUtf8ShowsAsTheDesktopShowsIt)
{
    const std::string name = File("m\xe0p.tvr");
    WriteMap(name, 1);
    ASSERT_TRUE(StartWith(name, false));
    EXPECT_EQ(Frame()->GetTitle(), U("m\xef\xbf\xbdp.tvr - Tavrolu"));
    EXPECT_EQ(FileNameBytes(Doc()->GetFilename()), name);
    wxMenuItem* item = Frame()->GetMenuBar()->FindItem(ID_FILE_MRU_FILE1);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetItemLabelText(), U("1 " + File("m\xef\xbf\xbdp.tvr")));
    EXPECT_EQ(FileNameBytes(TheApp().GetRecentFiles().Get(0)), name);
}

// UTF-8 by the standard: a line in Latin-1, a code point above U+10FFFF (F4 90 80 80), a
// surrogate and an overlong '/' are each dropped; the sound entries are kept as they were written
// and the list is written back whole.
TEST_F(NamesTest, ASettingsLineThatIsNotUtf8IsDroppedAndTheSoundEntriesKept)
{
    // Each line for File2 would set it: the list would hold two entries.
    WriteSettings("[Recent\\ File\\ List]\nFile1=/maps/mapà.tvr\nFile2=/maps/m\xe0p.tvr\n"
                  "File2=/maps/\xf4\x90\x80\x80.tvr\nFile2=/maps/\xed\xa0\x80.tvr\n"
                  "File2=/maps\xc0\xaf"
                  "a.tvr\n");
    ASSERT_TRUE(Start(3, 3));
    ASSERT_EQ(TheApp().GetRecentFiles().Count(), 1u);
    EXPECT_EQ(TheApp().GetRecentFiles().Get(0), U("/maps/mapà.tvr"));
    TheApp().GetRecentFiles().Add("/maps/nou.tvr");
    Stop();
    EXPECT_EQ(ReadAll(SettingsPath()),
              "[Recent\\ File\\ List]\nFile1=/maps/nou.tvr\nFile2=/maps/mapà.tvr\n");
}

// A settings file of a million lines: only its start is read, only the program's entries are
// kept, and a file of just those replaces it.
TEST_F(NamesTest, AHugeSettingsFileIsReadOnlyAsFarAsTheProgramWrites)
{
    std::string text = "[Recent\\ File\\ List]\nFile1=/maps/a.tvr\n";
    for (int i = 0; i < 1000000; i++)
        text += "key" + std::to_string(i) + "=value\n";
    text += "File2=/maps/far.tvr\n";
    WriteSettings(text);
    ASSERT_TRUE(Start(3, 3));
    ASSERT_EQ(TheApp().GetRecentFiles().Count(), 1u);
    EXPECT_EQ(TheApp().GetRecentFiles().Get(0), "/maps/a.tvr");
    EXPECT_EQ(ReadAll(SettingsPath()), "[Recent\\ File\\ List]\nFile1=/maps/a.tvr\n");
    Stop();

    // One line of megabytes: cut short by the limit, so it is no entry.
    WriteSettings("[Recent\\ File\\ List]\nFile1=/" + std::string(1 << 20, 'x') + "\n");
    ASSERT_TRUE(Start(3, 3));
    EXPECT_EQ(TheApp().GetRecentFiles().Count(), 0u);
    EXPECT_EQ(ReadAll(SettingsPath()), "");
    Stop();

    // The program's own file is read as it is, and left as it is.
    ASSERT_TRUE(Start(3, 3));
    TheApp().GetRecentFiles().Add("/maps/b.tvr");
    Stop();
    struct stat written;
    ASSERT_EQ(stat(SettingsPath().c_str(), &written), 0);
    ASSERT_TRUE(Start(3, 3));
    struct stat read;
    ASSERT_EQ(stat(SettingsPath().c_str(), &read), 0);
    EXPECT_EQ(written.st_ino, read.st_ino);
    EXPECT_EQ(TheApp().GetRecentFiles().Get(0), "/maps/b.tvr");
}
