// modified_test.cpp -- unsaved edits: which actions count as edits, the question that New, Open,
// a recent file, a dropped file and Exit ask before such edits would be lost, and its box.
#include "editor_session.h"

#include "resource.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtmanager.h"
#include "platform/wx/question_box.h"

#include <gtk/gtk.h>
#include <wx/checkbox.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <sys/stat.h>

namespace {

// The save question, answered in turn with the ids given (Cancel when none is left) and kept as
// the user saw it. Every other box and dialog goes on to the test's script.
class SaveQuestion : public wxModalDialogHook
{
public:
    struct Asked
    {
        wxString text, caption, parent;
    };

    SaveQuestion() { Register(); }
    ~SaveQuestion() override { Unregister(); }

    void Answer(int id) { m_answers.push_back(id); }
    // What was asked so far; answers left unused are forgotten.
    std::vector<Asked> Take()
    {
        m_answers.clear();
        std::vector<Asked> taken;
        taken.swap(m_asked);
        return taken;
    }

protected:
    int Enter(wxDialog* dialog) override
    {
        auto* box = dynamic_cast<wxMessageDialogBase*>(dialog);
        const long threeWay = wxYES_NO | wxCANCEL;
        if (box == nullptr || (box->GetMessageDialogStyle() & threeWay) != threeWay)
            return wxID_NONE;
        wxWindow* parent = dialog->GetParent();
        m_asked.push_back(Asked{box->GetMessage(), box->GetTitle(),
                                parent != nullptr ? parent->GetLabel() : wxString()});
        int answer = wxID_CANCEL;
        if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        }
        return answer;
    }
    void Exit(wxDialog*) override {}

private:
    std::deque<int> m_answers;
    std::vector<Asked> m_asked;
};

class ModifiedTest : public EditorTest
{
protected:
    // Mouse messages as the canvas passes them on, in map pixels.
    void Press(int x, int y) { View()->OnLButtonDown(CPoint(x, y)); }
    void Move(int x, int y) { View()->OnMouseMove(CPoint(x, y)); }
    void Release(int x, int y) { View()->OnLButtonUp(CPoint(x, y)); }
    void Stroke(int tile, int x, int y)
    {
        Doc()->m_nTile = tile;
        Press(x, y);
        Release(x, y);
    }

    // The sprite dialog's first choice (the hero on a map without one), placed centred on (x, y).
    void PlaceFromDialog(int x, int y)
    {
        m_script.Then([](wxDialog* dlg) { ClickButton(dlg, wxID_OK); });
        Command(ID_EDIT_SPRITES);
        Move(x, y);
        Press(x, y);
        Release(x, y);
    }

    // The tile dialog opened, "Walkable" clicked for its tile, then Esc.
    void FlipWalkable()
    {
        m_script.Then([](wxDialog* dlg) {
            auto* box = static_cast<wxCheckBox*>(dlg->FindWindow(IDC_WALKABLE));
            box->SetValue(!box->GetValue());
            wxCommandEvent click(wxEVT_CHECKBOX, IDC_WALKABLE);
            click.SetEventObject(box);
            click.SetInt(box->GetValue());
            box->GetEventHandler()->ProcessEvent(click);
            CancelDialog(dlg);
        });
        Command(ID_EDIT_TILES);
    }

    void SaveAs(const std::string& name)
    {
        m_script.Then([this, name](wxDialog* dlg) { AnswerFileDialog(dlg, U(File(name))); });
        Command(ID_FILE_SAVE_AS);
    }

    // File New, the question (if any) answered No and "Nou Mapa" with 10 x 10: whether it asked.
    bool NewAsks()
    {
        m_script.TakeDialogs();
        m_question.Answer(wxID_NO);
        AnswerNewMap(10, 10);
        Command(ID_FILE_NEW);
        const size_t asked = m_question.Take().size();
        EXPECT_EQ(m_script.TakeDialogs(), std::vector<wxString>{U("Nou Mapa")});
        return asked == 1;
    }

    void DropFile(const std::string& name)
    {
        auto* files = new wxString[1]{U(File(name))}; // the event deletes them
        wxDropFilesEvent drop(wxEVT_DROP_FILES, 1, files);
        Frame()->ProcessWindowEvent(drop);
        Pump();
    }

    static int Tile(int col, int row) { return JTDecorat::GetDecorat()->GetTile(col, row); }

    SaveQuestion m_question;
};

} // namespace

TEST_F(ModifiedTest, EveryEditOfTheMapAndNothingElseMakesNewAsk)
{
    ASSERT_TRUE(Start(10, 10));
    EXPECT_FALSE(NewAsks());
    PlaceFromDialog(40, 40);
    EXPECT_TRUE(NewAsks());
    EXPECT_FALSE(NewAsks()); // the new map itself is unmodified

    // Looking, choosing and dropping tools, and a stroke wholly outside the map, change nothing;
    // a save leaves the map unmodified.
    PlaceFromDialog(40, 40);
    SaveAs("heroi.tvr");
    Command(ID_VIEW_COLLISIONS);
    Press(40, 40); // the hero selected, not moved
    Release(40, 40);
    View()->OnRButtonDown();
    m_script.Then([](wxDialog* dlg) { ClickButton(dlg, wxID_OK); }); // a hen, pending
    Command(ID_EDIT_SPRITES);
    Move(100, 100);
    View()->OnRButtonDown();
    Stroke(7, 200, 200);
    EXPECT_FALSE(NewAsks());

    // The saved map reopened from the recent files is unmodified; each edit of it then asks.
    const std::vector<std::pair<const char*, std::function<void()>>> edits = {
        {"a placed sprite dragged",
         [this] {
             Press(40, 40);
             Move(60, 45);
             Release(60, 45);
         }},
        {"the selected sprite deleted",
         [this] {
             Press(40, 40);
             Release(40, 40);
             Command(ID_DELETE_SPRITE);
         }},
        {"a brush stroke", [this] { Stroke(7, 150, 150); }},
        {"a walkable flag", [this] { FlipWalkable(); }},
    };
    for (const auto& [what, edit] : edits) {
        Command(ID_FILE_MRU_FILE1);
        ASSERT_EQ(Frame()->GetTitle(), U("heroi.tvr - Tavrolu"));
        EXPECT_EQ(Sprites(), " - 0");
        m_script.TakeDialogs();
        edit();
        EXPECT_TRUE(NewAsks()) << what;
    }
    EXPECT_TRUE(m_question.Take().empty());
    EXPECT_TRUE(m_script.TakeMessages().empty());
}

TEST_F(ModifiedTest, TheQuestionNamesTheMapAndItsAnswerDecides)
{
    ASSERT_TRUE(Start(5, 5));
    Stroke(9, 20, 20);

    // Cancelar (and Esc): the map stays as it was, edits and all.
    Command(ID_FILE_NEW);
    auto asked = m_question.Take();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, U("¿Desea guardar los cambios de Sin título?"));
    EXPECT_EQ(asked[0].caption, U("Tavrolu"));
    EXPECT_EQ(asked[0].parent, U("Sin título - Tavrolu"));
    EXPECT_TRUE(m_script.TakeDialogs().empty());
    EXPECT_EQ(Tile(1, 1), 9);

    // Sí on a map without a file: Save As; cancelled there, nothing happens.
    m_question.Answer(wxID_YES);
    Command(ID_FILE_NEW);
    EXPECT_EQ(m_question.Take().size(), 1u);
    EXPECT_EQ(m_script.TakeDialogs(), std::vector<wxString>{U("Guardar como")});
    EXPECT_EQ(Tile(1, 1), 9);

    // Sí, saved: then the new map.
    m_question.Answer(wxID_YES);
    m_script.Then([this](wxDialog* dlg) { AnswerFileDialog(dlg, U(File("desat.tvr"))); });
    AnswerNewMap(6, 6);
    Command(ID_FILE_NEW);
    EXPECT_EQ(m_question.Take().size(), 1u);
    EXPECT_EQ(m_script.TakeDialogs(), (std::vector<wxString>{U("Guardar como"), U("Nou Mapa")}));
    EXPECT_EQ(Doc()->m_nWidth, 6);
    EXPECT_EQ(ReadAll(File("desat.tvr")).substr(8 + 5 + 1, 1), "\x09"); // cell (1, 1)

    // A map with a file is named by it, and Sí writes it without a dialog.
    Command(ID_FILE_MRU_FILE1);
    Stroke(3, 0, 0);
    m_question.Answer(wxID_YES);
    AnswerNewMap(6, 6);
    Command(ID_FILE_NEW);
    asked = m_question.Take();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, U("¿Desea guardar los cambios de desat.tvr?"));
    EXPECT_EQ(m_script.TakeDialogs(), std::vector<wxString>{U("Nou Mapa")});
    EXPECT_EQ(ReadAll(File("desat.tvr")).substr(8, 1), "\x03");

    // A save that fails keeps the map: its message, and no new map.
    Command(ID_FILE_MRU_FILE1);
    Stroke(4, 0, 0);
    ASSERT_EQ(std::rename(File("desat.tvr").c_str(), File("lluny").c_str()), 0);
    ASSERT_EQ(mkdir(File("desat.tvr").c_str(), 0755), 0); // a folder where the file was
    m_question.Answer(wxID_YES);
    Command(ID_FILE_NEW);
    EXPECT_EQ(m_question.Take().size(), 1u);
    EXPECT_EQ(m_script.TakeMessages().size(), 1u);
    EXPECT_TRUE(m_script.TakeDialogs().empty());
    EXPECT_EQ(Tile(0, 0), 4);
    EXPECT_EQ(Frame()->GetTitle(), U("desat.tvr - Tavrolu"));
}

TEST_F(ModifiedTest, OpenRecentDroppedFilesAndExitAskFirst)
{
    ASSERT_TRUE(Start(5, 5));
    SaveAs("altre.tvr");
    AnswerNewMap(5, 5);
    Command(ID_FILE_NEW);
    m_script.TakeDialogs();
    Stroke(9, 20, 20);

    // Open asks before its file dialog; Cancelar shows no dialog at all.
    Command(ID_FILE_OPEN);
    EXPECT_EQ(m_question.Take().size(), 1u);
    EXPECT_TRUE(m_script.TakeDialogs().empty());
    m_question.Answer(wxID_NO);
    Command(ID_FILE_OPEN); // the file dialog, cancelled: the map stays, and stays edited
    EXPECT_EQ(m_question.Take().size(), 1u);
    EXPECT_EQ(m_script.TakeDialogs(), std::vector<wxString>{U("Abrir")});
    EXPECT_EQ(Tile(1, 1), 9);

    // A recent file and a dropped one: Cancelar keeps the map and the list, No opens.
    Command(ID_FILE_MRU_FILE1);
    DropFile("altre.tvr");
    EXPECT_EQ(m_question.Take().size(), 2u);
    EXPECT_EQ(Tile(1, 1), 9);
    EXPECT_EQ(TheApp().GetRecentFiles().Count(), 1u);
    m_question.Answer(wxID_NO);
    Command(ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_question.Take().size(), 1u);
    EXPECT_EQ(Frame()->GetTitle(), U("altre.tvr - Tavrolu"));
    EXPECT_EQ(Tile(1, 1), 0);
    DropFile("altre.tvr"); // the opened map is unmodified
    EXPECT_TRUE(m_question.Take().empty());
    Stroke(9, 20, 20);
    m_question.Answer(wxID_NO);
    DropFile("altre.tvr");
    EXPECT_EQ(m_question.Take().size(), 1u);
    EXPECT_EQ(Tile(1, 1), 0);

    // Exit and the window's close box: Cancelar keeps the program; No ends it.
    Stroke(9, 20, 20);
    Command(ID_APP_EXIT);
    Frame()->Close();
    Pump();
    EXPECT_EQ(m_question.Take().size(), 2u);
    ASSERT_NE(Frame(), nullptr);
    EXPECT_TRUE(Frame()->IsShown());
    m_question.Answer(wxID_NO);
    Frame()->Close();
    EXPECT_TRUE(PumpUntil([] { return CMainFrame::Get() == nullptr; }));
    EXPECT_EQ(m_question.Take().size(), 1u);
    EXPECT_TRUE(m_script.TakeMessages().empty());
}

TEST_F(ModifiedTest, AGameRunLeavesTheMapUnmodified)
{
    ASSERT_TRUE(Start(20, 20));
    PlaceFromDialog(40, 40);
    SaveAs("joc.tvr");
    m_script.TakeDialogs();
    m_script.Then([](wxDialog* game) {
        Pump(300); // some ticks
        wxKeyEvent esc(wxEVT_CHAR_HOOK);
        esc.m_keyCode = WXK_ESCAPE;
        game->GetEventHandler()->ProcessEvent(esc);
    });
    Command(ID_RUN_GAME);
    Pump(100);
    EXPECT_EQ(m_script.TakeDialogs(), std::vector<wxString>{U("Play")});
    EXPECT_EQ(Sprites(), " - 0");
    EXPECT_FALSE(NewAsks());
}

namespace {

// The question box on the screen, once GTK has mapped it; NULL before.
GtkWidget* ShownQuestion()
{
    GtkWidget* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w != nullptr; w = w->next)
        if (GTK_IS_MESSAGE_DIALOG(w->data) && gtk_widget_get_mapped(GTK_WIDGET(w->data)))
            found = GTK_WIDGET(w->data);
    g_list_free(windows);
    return found;
}

wxString ButtonLabel(GtkWidget* dialog, int response)
{
    GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), response);
    return button != nullptr ? wxString::FromUTF8(gtk_button_get_label(GTK_BUTTON(button)))
                             : wxString();
}

} // namespace

// The real box, shown by the toolkit: a map name of 246 bytes breaks inside the name, the box
// and its buttons stay on the screen, and Esc from the keyboard answers Cancelar.
TEST(QuestionBox, ALongMapNameStaysOnTheScreenAndEscCancels)
{
    const wxString name = wxString('m', 246) + ".tvr";
    const wxSize screen = wxGetDisplaySize();
    wxUIActionSimulator input;
    int width = 0, steps = 0;
    wxString yes, no, cancel;
    wxTimer timer;
    // Runs inside the box's own modal loop: the pointer goes over the box (the focus follows
    // it without a window manager), then Esc goes until the box is gone.
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        GtkWidget* box = ShownQuestion();
        if (box == nullptr)
            return;
        if (steps++ == 0) {
            width = gtk_widget_get_allocated_width(box);
            yes = ButtonLabel(box, GTK_RESPONSE_YES);
            no = ButtonLabel(box, GTK_RESPONSE_NO);
            cancel = ButtonLabel(box, GTK_RESPONSE_CANCEL);
            gint x, y;
            gdk_window_get_origin(gtk_widget_get_window(box), &x, &y);
            GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
            gdk_device_warp(gdk_seat_get_pointer(seat), gdk_screen_get_default(), x + 20, y + 20);
        } else if (steps % 10 == 0) {
            input.Char(WXK_ESCAPE);
        }
        if (steps > 500) // 10 s: the box is ended, and the test fails below
            gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_NO);
    });
    timer.Start(20);
    const QuestionAnswer answer =
        AskYesNoCancel(nullptr, U("¿Desea guardar los cambios de ") + name + "?", U("Tavrolu"));
    timer.Stop();
    EXPECT_EQ(answer, QuestionAnswer::Cancel);
    EXPECT_GT(width, 0);
    EXPECT_LE(width, screen.x);
    EXPECT_EQ(yes, U("Sí"));
    EXPECT_EQ(no, U("No"));
    EXPECT_EQ(cancel, U("Cancelar"));
}
