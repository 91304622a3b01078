// screen_test.cpp -- the editor's commands as the user sees them: real keys and clicks from the
// X server, and the view, the toolbar and the status bar read back from the screen.
#include "editor_session.h"

#include "TilesDlg.h"
#include "resource.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"
#include "platform/wx/icons.h"

#include <gtk/gtk.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

namespace {

// A tool button of the toolbar as the user finds it: its place on screen and its picture.
struct ToolButton
{
    wxPoint centre; // screen
    GdkPixbuf* face;
};

// The buttons, separators left out, left to right.
std::vector<ToolButton> ToolButtons(wxToolBar* tools)
{
    GtkWidget* widget = static_cast<GtkWidget*>(tools->GetHandle());
    if (!GTK_IS_TOOLBAR(widget) && GTK_IS_BIN(widget))
        widget = gtk_bin_get_child(GTK_BIN(widget));
    std::vector<ToolButton> buttons;
    if (!GTK_IS_TOOLBAR(widget))
        return buttons;
    GtkToolbar* bar = GTK_TOOLBAR(widget);
    for (int i = 0; i < gtk_toolbar_get_n_items(bar); i++) {
        GtkWidget* item = GTK_WIDGET(gtk_toolbar_get_nth_item(bar, i));
        if (GTK_IS_SEPARATOR_TOOL_ITEM(item))
            continue;
        GtkAllocation box;
        gtk_widget_get_allocation(item, &box);
        GdkWindow* window = gtk_widget_get_window(item);
        int x = 0, y = 0;
        gdk_window_get_origin(window, &x, &y);
        buttons.push_back({wxPoint(x + box.x + box.width / 2, y + box.y + box.height / 2),
                           gdk_pixbuf_get_from_window(window, box.x, box.y, box.width, box.height)});
    }
    return buttons;
}

// The 16 x 16 picture appears somewhere on the button's face, pixel for pixel, except that its
// button-face grey (192, 192, 192) shows the toolbar behind it: the colour of the face's corner.
bool FaceShows(GdkPixbuf* face, const wxImage& picture)
{
    const int w = gdk_pixbuf_get_width(face), h = gdk_pixbuf_get_height(face);
    const int stride = gdk_pixbuf_get_rowstride(face), channels = gdk_pixbuf_get_n_channels(face);
    const guchar* pixels = gdk_pixbuf_get_pixels(face);
    auto expected = [&](int x, int y) {
        const COLORREF c = RGB(picture.GetRed(x, y), picture.GetGreen(x, y), picture.GetBlue(x, y));
        return c == RGB(192, 192, 192) ? RGB(pixels[0], pixels[1], pixels[2]) : c;
    };
    for (int oy = 0; oy + 16 <= h; oy++)
        for (int ox = 0; ox + 16 <= w; ox++) {
            bool same = true;
            for (int y = 0; y < 16 && same; y++)
                for (int x = 0; x < 16 && same; x++) {
                    const guchar* p = pixels + (oy + y) * stride + (ox + x) * channels;
                    same = RGB(p[0], p[1], p[2]) == expected(x, y);
                }
            if (same)
                return true;
        }
    return false;
}

} // namespace

class ScreenTest : public EditorTest
{
protected:
    // Waits until the rectangle of the view shows the given pixels, or shows others.
    bool ShowsAgain(const wxRect& area, const std::vector<COLORREF>& pixels, int ms = 2000)
    {
        return PumpUntil([&] { return Shown(area) == pixels; }, ms);
    }
    bool Changes(const wxRect& area, const std::vector<COLORREF>& pixels, int ms = 2000)
    {
        return PumpUntil([&] { return Shown(area) != pixels; }, ms);
    }
    bool AnyRed(int x0, int y0, int x1, int y1)
    {
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++)
                if (ScreenPixel(Canvas(), x, y) == RGB(255, 0, 0))
                    return true;
        return false;
    }
};

TEST_F(ScreenTest, DeleteAndARightClickTakeTheSpriteOffTheScreenAtOnce)
{
    ASSERT_TRUE(Start(20, 20));
    // The toolkit repaints the whole window when the Delete button greys out: the command's own
    // repaint shows only without the toolbar.
    Command(ID_VIEW_TOOLBAR);
    ASSERT_FALSE(Frame()->GetToolBar()->IsShown());
    // A hen selected by a click shows in a red frame; Delete takes both away from the screen.
    const wxRect hen(64, 64, 32, 32), around(60, 60, 40, 40);
    const std::vector<COLORREF> ground = Shown(around);
    JTSprite* placed = Place(SPRITE_GALLINA, hen.x, hen.y);
    Canvas()->Refresh();
    ASSERT_TRUE(Changes(around, ground));
    Click(hen.x + placed->GetWidth() / 2, hen.y + placed->GetHeight() / 2);
    EXPECT_EQ(Doc()->m_pSprite, placed);
    EXPECT_TRUE(AnyRed(hen.x - 1, hen.y + 10, hen.x + 1, hen.y + 10)) << "the selection's frame";
    ViewAtRest();
    Key(WXK_DELETE);
    EXPECT_EQ(Sprites(), "");
    EXPECT_TRUE(ShowsAgain(around, ground)) << "the hen or its frame stayed on screen";

    // The sprite dialog's hero waits under the cursor; Delete does nothing to it, a right click
    // drops it and takes it off the screen.
    const wxRect cursor(200, 150, 1, 1), pending(170, 120, 60, 60);
    const std::vector<COLORREF> empty = Shown(pending);
    m_script.Then([](wxDialog* dlg) { ClickButton(dlg, wxID_OK); }); // the hero, the list's first
    Key('s');
    ASSERT_EQ(m_script.TakeDialogs(), std::vector<wxString>{U("Selecció d'sprite")});
    MoveTo(cursor.x + 1, cursor.y + 1);
    MoveTo(cursor.x, cursor.y);
    ASSERT_TRUE(Changes(pending, empty)) << "the pending hero under the cursor";
    const std::vector<COLORREF> hero = Shown(pending);
    EXPECT_FALSE(IsEnabled(ID_DELETE_SPRITE));
    Key(WXK_DELETE);
    EXPECT_NE(Doc()->m_pSprite, nullptr) << "Delete is off while a sprite waits to be placed";
    EXPECT_EQ(Shown(pending), hero);
    EXPECT_NE(JTRender::GetRender()->GetPlayer(), nullptr);
    ViewAtRest();
    Click(cursor.x, cursor.y, wxMOUSE_BTN_RIGHT);
    EXPECT_EQ(Doc()->m_pSprite, nullptr);
    EXPECT_EQ(JTRender::GetRender()->GetPlayer(), nullptr);
    EXPECT_TRUE(ShowsAgain(pending, empty)) << "the dropped hero stayed on screen";
    EXPECT_EQ(Sprites(), "");

    // A hero still waiting when the dialog opens again counts as the map's hero while the
    // dialog runs (the list starts on the hen), and is destroyed once it ends.
    m_script.Then([](wxDialog* dlg) { ClickButton(dlg, wxID_OK); });
    Key('s');
    MoveTo(cursor.x, cursor.y);
    m_script.Then([](wxDialog* dlg) {
        auto* list = dynamic_cast<wxListBox*>(dlg->FindWindow(IDC_SPRITE_LIST));
        EXPECT_TRUE(list != nullptr && list->GetSelection() == SPRITE_GALLINA);
        ClickButton(dlg, wxID_CANCEL);
    });
    Key('s');
    EXPECT_EQ(m_script.TakeDialogs().size(), 2u);
    EXPECT_TRUE(m_script.TakeMessages().empty());
    EXPECT_EQ(JTRender::GetRender()->GetPlayer(), nullptr);
}

TEST_F(ScreenTest, TheTilePaletteGivesABrushOnlyWhenClosedWithTancar)
{
    ASSERT_TRUE(Start(20, 20));
    // Tile 5, clicked in the palette, then Tancar: a stroke paints it on screen.
    m_script.Then([this](wxDialog* dlg) {
        m_input.MouseMove(dlg->ClientToScreen(wxPoint(5 * 16 + 8, 8)));
        Pump(30);
        m_input.MouseClick();
        Pump(80);
        ClickButton(dlg, wxID_OK);
    });
    Key('t');
    ASSERT_EQ(m_script.TakeDialogs(), std::vector<wxString>{U("Seleccio de tiles")});
    EXPECT_EQ(Doc()->m_nTile, 5);
    const wxRect cell(16, 16, 16, 16), other(160, 160, 16, 16);
    const std::vector<COLORREF> ground = Shown(cell), otherGround = Shown(other);
    Click(cell.x + 4, cell.y + 4);
    EXPECT_EQ(JTDecorat::GetDecorat()->GetTile(1, 1), 5);
    EXPECT_TRUE(Changes(cell, ground)) << "the painted cell";

    // Opened again and cancelled: no brush is left, and a click paints nothing.
    ViewAtRest();
    Key('t');
    ASSERT_EQ(m_script.TakeDialogs(), std::vector<wxString>{U("Seleccio de tiles")});
    EXPECT_EQ(Doc()->m_nTile, -1);
    Click(other.x + 4, other.y + 4);
    EXPECT_EQ(JTDecorat::GetDecorat()->GetTile(10, 10), 0);
    Pump(100);
    EXPECT_EQ(Shown(other), otherGround);
}

TEST_F(ScreenTest, EachToolbarButtonShowsItsPictureAndOpensItsDialog)
{
    // A map wide enough for the window to show every button; "Nou Mapa" makes it again.
    ASSERT_TRUE(Start(80, 60));
    AnswerNewMap(80, 60);
    MoveTo(5, 5); // no button lit by the pointer
    std::vector<ToolButton> buttons = ToolButtons(Frame()->GetToolBar());
    ASSERT_EQ(buttons.size(), 13u);
    const wxImage strip = LoadBitmapImage(IDB_TOOLBAR);
    ASSERT_TRUE(strip.IsOk());
    // Left to right; the greyed ones (cut, copy, paste, print, delete) open nothing.
    const char* const opens[] = {"Nou Mapa", "Abrir", "Guardar como", "", "", "", "", "",
                                 "Seleccio de tiles", "Selecció d'sprite", "", "Play",
                                 "A prop de Tavrolu"};
    const bool greyed[] = {false, false, false, true, true, true, true, true,
                           false, false, false, false, false};
    wxUIActionSimulator mouse;
    for (size_t i = 0; i < buttons.size(); i++) {
        SCOPED_TRACE(i);
        if (!greyed[i]) {
            EXPECT_TRUE(FaceShows(buttons[i].face, strip.GetSubImage(wxRect(int(i) * 16, 0, 16, 16))));
        }
        g_object_unref(buttons[i].face);
        mouse.MouseMove(buttons[i].centre);
        Pump(30);
        mouse.MouseClick();
        const std::string title = opens[i];
        PumpUntil([&] { return !title.empty() && !m_script.Dialogs().empty(); }, title.empty() ? 300 : 5000);
        std::vector<wxString> shown = m_script.TakeDialogs();
        if (title.empty()) {
            EXPECT_TRUE(shown.empty()) << shown.front();
        } else {
            EXPECT_EQ(shown, std::vector<wxString>{U(title)});
        }
        Pump(50);
    }
    // The eleventh is the overlay's switch.
    EXPECT_TRUE(Doc()->m_bShowCollisions);
}

TEST_F(ScreenTest, EachMenuItemShowsItsPromptInTheStatusBar)
{
    ASSERT_TRUE(Start());
    const std::pair<int, const char*> prompts[] = {
        {ID_FILE_NEW, "Crea un nou document"},
        {ID_FILE_OPEN, "Abri un document ja existent"},
        {ID_FILE_SAVE, "Desa el document actiu"},
        {ID_FILE_SAVE_AS, "Desa el document actiu amb un nou nom"},
        {ID_APP_EXIT, "Exir de l'aplicació"},
        {ID_EDIT_UNDO, "Desfa l'última acció"},
        {ID_EDIT_CUT, "Talla la selecció i la coloca al portapapers"},
        {ID_EDIT_COPY, "Copia la selecció i la coloca en el portapapers"},
        {ID_EDIT_PASTE, "Enganxa el contingut del portapapers"},
        {ID_EDIT_TILES, "Mostra dialeg selecció de tile"},
        {ID_EDIT_SPRITES, "Mostra dialeg selecció d'sprites"},
        {ID_DELETE_SPRITE, ""},
        {ID_RUN_GAME, "Executa el nivell"},
        {ID_VIEW_TOOLBAR, "Mostra o amaga la barra d'eines"},
        {ID_VIEW_STATUS_BAR, "Mostra o amaga la barra d'estato"},
        {ID_VIEW_COLLISIONS, "Mostra/Oculta els tiles colisionables"},
        {ID_APP_ABOUT, "Mostra informació del programa"},
    };
    wxStatusBar* status = Frame()->GetStatusBar();
    for (const auto& [id, prompt] : prompts) {
        // What the toolkit sends while the item is highlighted in its open menu.
        wxMenuEvent highlight(wxEVT_MENU_HIGHLIGHT, id, Frame()->GetMenuBar()->FindItem(id)->GetMenu());
        highlight.SetEventObject(Frame());
        Frame()->ProcessWindowEvent(highlight);
        EXPECT_EQ(status->GetStatusText(0), U(prompt)) << id;
    }

    // A real menu, opened from the keyboard: its first item's prompt, and the idle text back
    // once it closes.
    Key('a', wxMOD_ALT);
    EXPECT_TRUE(PumpUntil([&] { return status->GetStatusText(0) == U("Crea un nou document"); }))
        << status->GetStatusText(0);
    m_input.Char(WXK_ESCAPE);
    Pump(80);
    Canvas()->SetFocus();
    EXPECT_TRUE(PumpUntil([&] { return status->GetStatusText(0) == U("Preparado"); }))
        << status->GetStatusText(0);
}

TEST_F(ScreenTest, ASavedMapIsInTheArxiuMenuAtOnceAndCtrlSRewritesAnOpenedOne)
{
    ASSERT_TRUE(Start(6, 6));
    m_script.Then([this](wxDialog* dlg) { AnswerFileDialog(dlg, U(File("mapa"))); });
    Key('s', wxMOD_CONTROL);
    ASSERT_EQ(m_script.TakeDialogs(), std::vector<wxString>{U("Guardar como")});
    ASSERT_FALSE(ReadAll(File("mapa.tvr")).empty());
    wxMenuItem* recent = Frame()->GetMenuBar()->FindItem(ID_FILE_MRU_FILE1);
    ASSERT_NE(recent, nullptr);
    EXPECT_TRUE(recent->GetItemLabelText().Contains("mapa.tvr")) << recent->GetItemLabelText();
    EXPECT_TRUE(IsEnabled(ID_FILE_MRU_FILE1));

    // A new map, then the saved one opened with Ctrl+O and changed: Ctrl+S writes it back to
    // its own file without asking.
    AnswerNewMap(3, 3);
    Key('n', wxMOD_CONTROL);
    m_script.Then([this](wxDialog* dlg) { AnswerFileDialog(dlg, U(File("mapa.tvr"))); });
    Key('o', wxMOD_CONTROL);
    ASSERT_EQ(m_script.TakeDialogs(), (std::vector<wxString>{U("Nou Mapa"), U("Abrir")}));
    ASSERT_EQ(Frame()->GetTitle(), U("mapa.tvr - Tavrolu"));
    ASSERT_EQ(Doc()->m_nWidth, 6);
    JTDecorat::GetDecorat()->SetTile(2, 1, 9);
    Key('s', wxMOD_CONTROL);
    EXPECT_TRUE(m_script.TakeDialogs().empty());
    EXPECT_TRUE(m_script.TakeMessages().empty());
    const std::string bytes = ReadAll(File("mapa.tvr"));
    ASSERT_GT(bytes.size(), 8u + 36u);
    EXPECT_EQ(bytes[8 + 1 * 6 + 2], '\x09');
}
