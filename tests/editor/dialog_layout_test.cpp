// dialog_layout_test.cpp -- the dialogs as the user sees them: every text whole at the templates'
// 8-point font, each dialog over the window it belongs to, and every box within the screen with
// its buttons in sight, however long the path it names.
#include "editor_session.h"

#include "Motor/JTNpc.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "NewMapDlg.h"
#include "ParlantDlg.h"
#include "SpritesDlg.h"
#include "TilesDlg.h"
#include "resource.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/stopwatch.h>

#include <gtk/gtk.h>

#include <fstream>
#include <map>
#include <memory>
#include <sys/stat.h>

namespace {

// Every static text, button, check box and radio button of a dialog whose best size does not
// fit the box the template gives it. Buttons and check marks get the theme's minimum height,
// taller than any template's, so only their widths can tell.
std::vector<std::string> TextsCut(wxDialog& dlg)
{
    std::vector<std::string> cut;
    for (wxWindow* child : dlg.GetChildren()) {
        const bool text = dynamic_cast<wxStaticText*>(child) != nullptr;
        const bool control = dynamic_cast<wxButton*>(child) != nullptr ||
                             dynamic_cast<wxCheckBox*>(child) != nullptr ||
                             dynamic_cast<wxRadioButton*>(child) != nullptr;
        if (!text && !control)
            continue;
        // A text's own extent in its font: the toolkit measures a control made hidden in the
        // desktop's font, though it draws it in the dialog's.
        wxSize best = child->GetBestSize();
        if (text) {
            wxClientDC dc(child);
            dc.SetFont(child->GetFont());
            best = dc.GetMultiLineTextExtent(child->GetLabel());
        }
        const wxSize box = child->GetSize();
        if (best.x > box.x || (text && best.y > box.y))
            cut.push_back(child->GetLabel().utf8_string() + ": best " +
                          std::to_string(best.x) + "x" + std::to_string(best.y) + " in " +
                          std::to_string(box.x) + "x" + std::to_string(box.y));
    }
    return cut;
}

void ExpectWhole(wxDialog& dlg)
{
    EXPECT_EQ(dlg.GetFont().GetPointSize(), 8) << dlg.GetTitle();
    for (const std::string& c : TextsCut(dlg))
        ADD_FAILURE() << "\"" << dlg.GetTitle() << "\": " << c;
}

// The centre of the dialog on the centre of its owner, within the rounding of halves.
void ExpectCentredOver(wxWindow* dlg, wxWindow* owner)
{
    ASSERT_NE(owner, nullptr);
    const wxPoint d = dlg->GetScreenRect().GetPosition() + dlg->GetSize() / 2;
    const wxPoint o = owner->GetScreenRect().GetPosition() + owner->GetSize() / 2;
    EXPECT_LE(std::abs(d.x - o.x), 2) << dlg->GetLabel() << " over " << owner->GetLabel();
    EXPECT_LE(std::abs(d.y - o.y), 2) << dlg->GetLabel() << " over " << owner->GetLabel();
}

// A Tarok that speaks at its first touch of the hero.
struct EagerTarok : JTTarok
{
    EagerTarok() { m_nCounter = 61; }
};

// The hero with such a Tarok beside it: a run's first ticks open the talk dialog.
void PlaceHeroBesideEagerTarok()
{
    JTSprite* pHero = JTKernel::GetKernel()->CreateSprite(SPRITE_PLAYER);
    pHero->SetPos(100, 100);
    JTManager::GetManager()->Add(pHero);
    JTSprite* pTarok = new EagerTarok;
    pTarok->SetPos(120, 100);
    JTManager::GetManager()->Add(pTarok);
}

class TemplateDialogs : public EditorTest
{
};

TEST_F(TemplateDialogs, EveryTextShowsWholeAtTheTemplateFont)
{
    ASSERT_TRUE(Start(40, 30));
    CAboutDlg about(nullptr);
    ExpectWhole(about);
    CNewMapDlg newMap(nullptr);
    ExpectWhole(newMap);
    CTilesDlg tiles(nullptr);
    ExpectWhole(tiles);
    CSpritesDlg sprites(nullptr);
    ExpectWhole(sprites);
    CParlantDlg talk(nullptr);
    ExpectWhole(talk);
}

TEST_F(TemplateDialogs, OpenOverTheWindowTheyBelongTo)
{
    ASSERT_TRUE(Start(40, 30));
    // Somewhere off the screen's centre, so that a dialog centred on the screen shows.
    Frame()->SetSize(30, 40, 700, 500);
    Pump(100);
    std::vector<wxString> seen;
    auto over = [&](wxWindow* owner) {
        return [&seen, owner](wxDialog* dlg) {
            Pump(50);
            seen.push_back(dlg->GetTitle());
            ExpectCentredOver(dlg, owner);
            dlg->EndModal(wxID_CANCEL);
        };
    };
    for (int id : {ID_EDIT_TILES, ID_EDIT_SPRITES, ID_APP_ABOUT}) {
        m_script.Then(over(Frame()));
        Command(id);
    }
    EXPECT_EQ(seen.size(), 3u);

    // The talk comes while the main window is hidden: over the game window, not the screen.
    PlaceHeroBesideEagerTarok();
    wxWindow* pGame = nullptr;
    bool talked = false;
    m_script.Then([&](wxDialog* game) {
        pGame = game;
        game->Move(500, 300);
        for (int i = 0; i < 300 && !talked && game->IsModal(); i++)
            Pump(10);
        if (game->IsModal())
            game->EndModal(wxID_CANCEL);
    });
    m_script.Then([&](wxDialog* dlg) {
        Pump(50);
        talked = true;
        EXPECT_NE(dynamic_cast<CParlantDlg*>(dlg), nullptr);
        ExpectCentredOver(dlg, pGame);
        dlg->EndModal(wxID_OK);
    });
    Command(ID_RUN_GAME);
    EXPECT_TRUE(talked);
}

// A box as the user finds it on screen: its rectangle and its buttons'.
struct BoxOnScreen
{
    std::string title;
    wxRect box;
    std::vector<wxRect> buttons;
};

std::string Described(const wxRect& r)
{
    return std::to_string(r.width) + "x" + std::to_string(r.height) + " at (" +
           std::to_string(r.x) + ", " + std::to_string(r.y) + ")";
}

// The box and each of its buttons within the screen's work area, the buttons within the box.
void ExpectInSight(const BoxOnScreen& seen)
{
    const wxRect screen = wxDisplay().GetClientArea();
    EXPECT_TRUE(screen.Contains(seen.box)) << "\"" << seen.title << "\" " << Described(seen.box)
                                           << " on a screen of " << Described(screen);
    for (const wxRect& button : seen.buttons) {
        EXPECT_TRUE(seen.box.Contains(button) && screen.Contains(button))
            << "\"" << seen.title << "\": a button " << Described(button) << " in "
            << Described(seen.box);
    }
}

BoxOnScreen Measure(wxDialog* dlg)
{
    BoxOnScreen seen{dlg->GetTitle().utf8_string(), dlg->GetScreenRect(), {}};
    for (wxWindow* child : dlg->GetChildren())
        if (dynamic_cast<wxButton*>(child) != nullptr && child->IsShown())
            seen.buttons.push_back(child->GetScreenRect());
    return seen;
}

// A toolkit box (a message, a question, a file dialog) and its buttons for the answers given.
BoxOnScreen Measure(GtkWidget* window, std::initializer_list<int> answers)
{
    BoxOnScreen seen;
    const gchar* title = gtk_window_get_title(GTK_WINDOW(window));
    seen.title = title != nullptr ? title : "";
    GdkWindow* drawn = gtk_widget_get_window(window);
    GdkRectangle frame;
    gdk_window_get_frame_extents(drawn, &frame);
    seen.box = wxRect(frame.x, frame.y, frame.width, frame.height);
    int left = 0, top = 0;
    gdk_window_get_origin(drawn, &left, &top);
    for (int answer : answers) {
        GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(window), answer);
        int x = 0, y = 0;
        if (button != nullptr && gtk_widget_translate_coordinates(button, window, 0, 0, &x, &y))
            seen.buttons.push_back(wxRect(left + x, top + y, gtk_widget_get_allocated_width(button),
                                          gtk_widget_get_allocated_height(button)));
    }
    return seen;
}

// Stands in for the user while the test's script is off, so that the toolkit's boxes really
// show: each message box, once on screen and laid out, is measured and answered No (a question)
// or OK; the first file dialog is answered with a path, any after a message box cancelled, and
// so is one that has not taken the path within 10 s: no box outlasts the test.
class UserAtTheScreen
{
public:
    UserAtTheScreen(ModalScript& script, const std::string& path) : m_script(script), m_path(path)
    {
        m_script.Unregister();
        m_source = g_timeout_add(20, &UserAtTheScreen::Tick, this);
    }
    ~UserAtTheScreen()
    {
        g_source_remove(m_source);
        m_script.Register();
    }
    std::vector<BoxOnScreen> boxes;

private:
    static gboolean Tick(gpointer self)
    {
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w != nullptr; w = w->next)
            if (gtk_widget_get_mapped(GTK_WIDGET(w->data)))
                static_cast<UserAtTheScreen*>(self)->Answer(GTK_WIDGET(w->data));
        g_list_free(windows);
        return G_SOURCE_CONTINUE;
    }
    // A box is laid out once its size has held for a tick.
    bool Settled(GtkWidget* window)
    {
        const wxSize size(gtk_widget_get_allocated_width(window),
                          gtk_widget_get_allocated_height(window));
        const bool same = m_sizes[window] == size;
        m_sizes[window] = size;
        return same;
    }
    void Answer(GtkWidget* window)
    {
        if (GTK_IS_MESSAGE_DIALOG(window) && Settled(window)) {
            const int answer =
                gtk_dialog_get_widget_for_response(GTK_DIALOG(window), GTK_RESPONSE_NO) != nullptr
                    ? GTK_RESPONSE_NO
                    : GTK_RESPONSE_OK;
            boxes.push_back(Measure(window, {answer}));
            m_path.clear();
            gtk_dialog_response(GTK_DIALOG(window), answer);
        } else if (GTK_IS_FILE_CHOOSER_DIALOG(window)) {
            AnswerFiles(window);
        }
    }
    void AnswerFiles(GtkWidget* window)
    {
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(window);
        if (m_path.empty()) {
            gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_CANCEL);
            return;
        }
        if (m_accepted)
            return; // still on screen until the toolkit hands the answer to the program
        if (m_watch.Time() > 10000) {
            ADD_FAILURE() << "the file dialog never took " << m_path;
            m_path.clear();
            return;
        }
        gchar* chosen = gtk_file_chooser_get_filename(chooser);
        if (chosen != nullptr && chosen == m_path) {
            m_accepted = true;
            gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_ACCEPT);
        } else {
            const std::string folder = m_path.substr(0, m_path.rfind('/'));
            gtk_file_chooser_set_current_folder(chooser, folder.c_str());
            gtk_file_chooser_set_current_name(chooser, m_path.substr(folder.size() + 1).c_str());
        }
        g_free(chosen);
    }

    ModalScript& m_script;
    std::string m_path; // empty once a message box has been answered
    bool m_accepted = false;
    wxStopWatch m_watch;
    guint m_source = 0;
    std::map<GtkWidget*, wxSize> m_sizes;
};

// The longest path the system takes, 4095 bytes: the scratch folder, then folders of 255-byte
// names, then a map's name to fill it up.
std::string LongestPath(const std::string& dir, bool makeFolders)
{
    std::string path = dir;
    while (path.size() + 1 + 255 + 1 + 8 < 4095) {
        path += "/" + std::string(255, 'c');
        if (makeFolders)
            mkdir(path.c_str(), 0755);
    }
    return path + "/" + std::string(4095 - path.size() - 1 - 4, 'm') + ".tvr";
}

// Run on displays of 800 x 600 and 1024 x 768 as well (see tests/CMakeLists.txt).
class BoxesFitTheScreen : public EditorTest
{
};

TEST_F(BoxesFitTheScreen, AMessageNamingTheLongestPath)
{
    ASSERT_TRUE(Start(5, 5));
    const std::string path = LongestPath(Dir(), false);
    ASSERT_EQ(path.size(), 4095u);
    UserAtTheScreen user(m_script, "");
    EXPECT_FALSE(TheApp().OpenDocumentFile(U(path)));
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].buttons.size(), 1u);
    ExpectInSight(user.boxes[0]);
}

TEST_F(BoxesFitTheScreen, TheQuestionBeforeReplacingAFileOfTheLongestPath)
{
    ASSERT_TRUE(Start(5, 5));
    const std::string path = LongestPath(Dir(), true);
    ASSERT_EQ(path.size(), 4095u);
    std::ofstream(path) << "old bytes";
    {
        UserAtTheScreen user(m_script, path);
        Command(ID_FILE_SAVE_AS);
        ASSERT_TRUE(PumpUntil([&] { return !user.boxes.empty(); }));
        ASSERT_EQ(user.boxes.size(), 1u);
        EXPECT_EQ(user.boxes[0].buttons.size(), 1u); // No, the answer given
        ExpectInSight(user.boxes[0]);
    }
    EXPECT_EQ(ReadAll(path), "old bytes");
}

// Each dialog the user can open from the main window, and the game window with its talk.
TEST_F(BoxesFitTheScreen, EveryDialog)
{
    ASSERT_TRUE(Start(40, 30));
    std::vector<BoxOnScreen> seen;
    auto measure = [&seen](wxDialog* dlg) {
        Pump(100);
        if (dynamic_cast<wxFileDialogBase*>(dlg) != nullptr)
            seen.push_back(Measure(dlg->m_widget, {GTK_RESPONSE_ACCEPT, GTK_RESPONSE_CANCEL}));
        else
            seen.push_back(Measure(dlg));
        CancelDialog(dlg);
    };
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE_AS, ID_EDIT_TILES, ID_EDIT_SPRITES,
                   ID_APP_ABOUT}) {
        m_script.Then(measure);
        Command(id);
    }

    PlaceHeroBesideEagerTarok();
    bool talked = false;
    m_script.Then([&](wxDialog* game) {
        Pump(100);
        seen.push_back(Measure(game));
        for (int i = 0; i < 300 && !talked && game->IsModal(); i++)
            Pump(10);
        if (game->IsModal())
            game->EndModal(wxID_CANCEL);
    });
    m_script.Then([&](wxDialog* dlg) {
        talked = true;
        measure(dlg);
    });
    Command(ID_RUN_GAME);
    ASSERT_EQ(seen.size(), 8u);
    for (const BoxOnScreen& box : seen)
        ExpectInSight(box);
    for (const BoxOnScreen& box : seen)
        EXPECT_EQ(box.buttons.empty(), box.title == "Play") << box.title; // the game has none
}

} // namespace
