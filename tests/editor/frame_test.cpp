// frame_test.cpp -- the main window as the user meets it: start-up, caption, menu, toolbar,
// status bar, keys, and the editor's commands.
#include "editor_session.h"
#include "stderr_capture.h"

#include "ResourceTables.h"
#include "resource.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"
#include "Motor/player.h"
#include "platform/wx/menu_keys.h"

#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include <new>

using FrameTest = EditorTest;

TEST_F(FrameTest, PlainStartAsksForTheMapBeforeTheWindowShows)
{
    bool frameShownDuringDialog = true;
    m_script.Then([&](wxDialog* dlg) {
        frameShownDuringDialog = CMainFrame::Get() != nullptr && CMainFrame::Get()->IsShown();
        ClickButton(dlg, wxID_OK);
    });
    ASSERT_TRUE(TheApp().InitInstance(wxArrayString()));
    Pump(20);
    ASSERT_EQ(m_script.Dialogs().size(), 1u);
    EXPECT_EQ(m_script.Dialogs()[0], U("Nou Mapa"));
    EXPECT_FALSE(frameShownDuringDialog);
    EXPECT_TRUE(Frame()->IsShown());
    EXPECT_EQ(Frame()->GetTitle(), U("Sin título - Tavrolu"));
    EXPECT_EQ(Doc()->m_nWidth, 30);
    EXPECT_EQ(Doc()->m_nHeight, 30);
    EXPECT_EQ(Frame()->GetStatusBar()->GetStatusText(0), U("Preparado"));
    EXPECT_EQ(Frame()->GetStatusBar()->GetFieldsCount(), 4);
}

TEST_F(FrameTest, MenuToolbarAndPromptsAreTheProgramsOwn)
{
    ASSERT_TRUE(Start());
    wxMenuBar* bar = Frame()->GetMenuBar();
    ASSERT_EQ(bar->GetMenuCount(), 4u);
    EXPECT_EQ(bar->GetMenuLabel(0), U("&Arxiu"));
    EXPECT_EQ(bar->GetMenuLabel(1), U("&Edició"));
    EXPECT_EQ(bar->GetMenuLabel(2), U("&Veure"));
    EXPECT_EQ(bar->GetMenuLabel(3), U("Aj&uda"));
    struct Expect
    {
        int id;
        const char* label;
        const char* key;
    } items[] = {
        {ID_FILE_NEW, "&Nou", "Ctrl+N"},         {ID_FILE_OPEN, "&Obrir...", "Ctrl+A"},
        {ID_FILE_SAVE, "&Desa", "Ctrl+G"},       {ID_FILE_SAVE_AS, "Desar c&om...", ""},
        {ID_DELETE_SPRITE, "&Esborra Sprite", "SUPR"}, {ID_EDIT_TILES, "Edita &tiles", "T"},
        {ID_RUN_GAME, "Executa Joc", "F1"},      {ID_APP_ABOUT, "&A prop de Tavrolu...", ""},
        {ID_FILE_MRU_FILE1, "Ultims arxius ", ""}, {ID_EDIT_UNDO, "&Desfer", "Ctrl+Z"},
    };
    for (const Expect& e : items) {
        wxMenuItem* item = bar->FindItem(e.id);
        ASSERT_NE(item, nullptr) << e.id;
        EXPECT_EQ(item->GetItemLabel(), U(e.label)) << e.id;
        EXPECT_EQ(GetMenuKeyText(item), U(e.key)) << e.id;
    }
    EXPECT_EQ(bar->FindItem(ID_EDIT_TILES)->GetHelp(), U("Mostra dialeg selecció de tile"));
    EXPECT_EQ(bar->FindItem(ID_FILE_NEW)->GetHelp(), U("Crea un nou document"));

    wxToolBar* tools = Frame()->GetToolBar();
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->GetToolsCount(), 18u);
    int buttons = 0;
    for (size_t i = 0; i < tools->GetToolsCount(); i++)
        buttons += tools->GetToolByPos(int(i))->IsSeparator() ? 0 : 1;
    EXPECT_EQ(buttons, 13);
    EXPECT_EQ(tools->GetToolShortHelp(ID_FILE_OPEN), U("Obrir"));
    EXPECT_EQ(tools->GetToolLongHelp(ID_FILE_OPEN), U("Abri un document ja existent"));
    EXPECT_EQ(tools->GetToolShortHelp(ID_RUN_GAME), wxString());
    EXPECT_EQ(tools->GetToolLongHelp(ID_RUN_GAME), U("Executa el nivell"));
    EXPECT_EQ(tools->GetToolLongHelp(ID_DELETE_SPRITE), wxString());
    EXPECT_EQ(tools->GetToolShortHelp(ID_FILE_PRINT), wxString());
}

TEST_F(FrameTest, CommandsWithoutHandlersAreDisabledAndDeleteFollowsTheSelection)
{
    ASSERT_TRUE(Start());
    for (int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE})
        EXPECT_FALSE(IsEnabled(id)) << id;
    EXPECT_TRUE(IsEnabled(ID_EDIT_TILES));
    EXPECT_FALSE(IsEnabled(ID_DELETE_SPRITE));
    EXPECT_FALSE(Frame()->GetToolBar()->GetToolEnabled(ID_FILE_PRINT));

    JTSprite* hen = Place(1, 40, 40);
    Doc()->m_nTile = 5; // a tile brush: Delete stays off
    EXPECT_FALSE(IsEnabled(ID_DELETE_SPRITE));
    Doc()->m_nTile = -1;
    Doc()->m_pSprite = hen;
    EXPECT_TRUE(IsEnabled(ID_DELETE_SPRITE));
    Command(ID_DELETE_SPRITE);
    EXPECT_EQ(Sprites(), "");
    EXPECT_EQ(Doc()->m_pSprite, nullptr);
    EXPECT_FALSE(IsEnabled(ID_DELETE_SPRITE));
    // A disabled command never runs, even when its event arrives.
    JTSprite* dog = Place(2, 10, 10);
    Command(ID_DELETE_SPRITE);
    EXPECT_EQ(JTManager::GetManager()->GetFirst(), dog);
    EXPECT_EQ(Sprites(), " - 2");
}

TEST_F(FrameTest, OverlayTogglesItsCheckMarkAndSaveSwitchesItOff)
{
    ASSERT_TRUE(Start(4, 4));
    JTDecorat::GetDecorat()->SetWalkable(0, 0);
    // Every paint asked for is over before the toggle: only the toggle can draw the crosses.
    ViewAtRest();
    EXPECT_FALSE(Frame()->GetMenuBar()->FindItem(ID_VIEW_COLLISIONS)->IsChecked());
    Command(ID_VIEW_COLLISIONS);
    UpdateUI();
    EXPECT_TRUE(Doc()->m_bShowCollisions);
    EXPECT_TRUE(Frame()->GetMenuBar()->FindItem(ID_VIEW_COLLISIONS)->IsChecked());
    EXPECT_TRUE(Frame()->GetToolBar()->GetToolState(ID_VIEW_COLLISIONS));
    // The crosses are red lines over the blocked cells, on screen.
    auto red = [this] {
        int n = 0;
        for (int x = 0; x < 16; x++)
            n += ScreenPixel(Canvas(), x, x) == RGB(255, 0, 0) ? 1 : 0;
        return n;
    };
    EXPECT_TRUE(PumpUntil([&] { return red() > 8; }, 2000)) << red();

    Doc()->SetFilename(wxString::FromUTF8(File("o.tvr").c_str()));
    Doc()->SetDocumentSaved(true);
    Command(ID_FILE_SAVE);
    UpdateUI();
    EXPECT_FALSE(Doc()->m_bShowCollisions);
    EXPECT_FALSE(Frame()->GetMenuBar()->FindItem(ID_VIEW_COLLISIONS)->IsChecked());
}

TEST_F(FrameTest, RunGameRestoresTheMapAndShowsTheEditorAgain)
{
    ASSERT_TRUE(Start(10, 10));
    Place(1, 20, 20);
    Place(2, 60, 60);
    // A pending sprite is destroyed before the run: no hero reaches the map.
    Doc()->m_pSprite = JTKernel::GetKernel()->CreateSprite(0);
    Doc()->m_nTile = 0;
    bool hiddenDuringRun = false;
    m_script.Then([](wxDialog*) {}); // the game window runs by itself
    m_script.OnNextMessage([&](const ShownMessage&) { hiddenDuringRun = !Frame()->IsShown(); });
    Command(ID_RUN_GAME);
    Pump(50);
    ASSERT_EQ(m_script.Dialogs().size(), 1u);
    EXPECT_EQ(m_script.Dialogs()[0], U("Play"));
    ASSERT_EQ(m_script.Messages().size(), 1u);
    EXPECT_EQ(m_script.Messages()[0].text, U("No hi ha jugador al mapa."));
    EXPECT_EQ(m_script.Messages()[0].caption, U("JTKernel PANIK!"));
    EXPECT_TRUE(hiddenDuringRun);
    EXPECT_TRUE(Frame()->IsShown());
    EXPECT_EQ(JTRender::GetRender()->GetPlayer(), nullptr);
    EXPECT_EQ(Doc()->m_pSprite, nullptr);
    EXPECT_EQ(Doc()->m_nTile, -1);
    EXPECT_EQ(JTKernel::GetKernel()->GetTalker(), nullptr);
    // The two sprites are back, in reversed order.
    EXPECT_EQ(Sprites(), " - 1 - 2");
    EXPECT_EQ(JTRender::GetRender()->GetCamX(), 0);
}

// A run that fails inside the game window (memory running out in a tick) says so, and the map
// comes back as it was.
TEST_F(FrameTest, ARunThatFailsInsideSaysSoAndGivesTheMapBack)
{
    struct FailingHero : JTPlayer
    {
        void Update() override { throw std::bad_alloc(); }
    };
    ASSERT_TRUE(Start(10, 10));
    Place(1, 20, 20);
    JTSprite* pHero = new FailingHero;
    pHero->SetPos(60, 60);
    JTManager::GetManager()->Add(pHero);
    m_script.Then([](wxDialog*) {}); // the game window runs by itself
    Command(ID_RUN_GAME);
    Pump(50);
    ASSERT_EQ(m_script.Dialogs().size(), 1u);
    ASSERT_EQ(m_script.Messages().size(), 1u);
    EXPECT_EQ(m_script.Messages()[0].text, U("El joc s'ha aturat per un error."));
    EXPECT_EQ(m_script.Messages()[0].caption, U("Tavrolu"));
    EXPECT_TRUE(Frame()->IsShown());
    EXPECT_EQ(Sprites(), " - 1 - 0"); // both back, as after every run
}

TEST_F(FrameTest, KeysActOnlyWithTheirExactModifiers)
{
    ASSERT_TRUE(Start());
    Frame()->Raise();
    Pump(50);
    wxUIActionSimulator sim;
    wxPoint centre = Canvas()->ClientToScreen(wxPoint(100, 100));
    sim.MouseMove(centre);
    Pump(50);
    Canvas()->SetFocus();
    Pump(50);
    auto press = [&](int key, int mods) {
        sim.Char(key, mods);
        Pump(80);
    };
    press('t', wxMOD_SHIFT);
    press('t', wxMOD_CONTROL);
    press('a', wxMOD_CONTROL);
    press('g', wxMOD_CONTROL);
    press(WXK_F6, wxMOD_NONE);
    EXPECT_TRUE(m_script.Dialogs().empty());
    press('t', wxMOD_NONE); // the tile palette; the script cancels it
    ASSERT_EQ(m_script.Dialogs().size(), 1u);
    EXPECT_EQ(m_script.Dialogs()[0], U("Seleccio de tiles"));
    press('s', wxMOD_NONE);
    ASSERT_EQ(m_script.Dialogs().size(), 2u);
    EXPECT_EQ(m_script.Dialogs()[1], U("Selecció d'sprite"));
    press('o', wxMOD_CONTROL);
    ASSERT_EQ(m_script.Dialogs().size(), 3u);
    EXPECT_EQ(m_script.Dialogs()[2], U("Abrir"));
    // Shift+Delete is Cut (disabled), not Delete Sprite.
    Doc()->m_pSprite = Place(1, 5, 5);
    Doc()->m_nTile = -1;
    press(WXK_DELETE, wxMOD_SHIFT);
    EXPECT_EQ(Sprites(), " - 1");
    press(WXK_DELETE, wxMOD_NONE);
    EXPECT_EQ(Sprites(), "");
}

TEST_F(FrameTest, TheLockPanesShowWhileTheirLockIsOn)
{
    ASSERT_TRUE(Start());
    wxUIActionSimulator sim;
    sim.MouseMove(Canvas()->ClientToScreen(wxPoint(50, 50)));
    Pump(50);
    UpdateUI();
    wxStatusBar* bar = Frame()->GetStatusBar();
    EXPECT_EQ(bar->GetStatusText(1), wxString());
    sim.Char(WXK_CAPITAL);
    Pump(100);
    UpdateUI();
    EXPECT_EQ(bar->GetStatusText(1), U("MAY"));
    sim.Char(WXK_CAPITAL); // and off again, for the tests that follow
    Pump(100);
    UpdateUI();
    EXPECT_EQ(bar->GetStatusText(1), wxString());
}

TEST_F(FrameTest, ARunOfEveryKindEndsWithEscAndGivesTheEditedMapBack)
{
    ASSERT_TRUE(Start(40, 30));
    // Far apart, so that nothing meets in the few ticks of the run.
    const int kinds[] = {0, 1, 3, 4, 5, 8, 9};
    for (int i = 0; i < 7; i++)
        Place(kinds[i], 40 + i * 80, 40 + (i % 2) * 300);
    const std::string before = Sprites();
    int killed = -1;
    m_script.Then([&](wxDialog* game) {
        Pump(400); // some ticks
        // A sprite killed in the run comes back afterwards.
        JTSprite* front = JTManager::GetManager()->GetFirst();
        killed = front->GetType();
        front->Kill();
        Pump(200);
        wxKeyEvent esc(wxEVT_CHAR_HOOK);
        esc.m_keyCode = WXK_ESCAPE;
        game->GetEventHandler()->ProcessEvent(esc);
    });
    Command(ID_RUN_GAME);
    Pump(100);
    ASSERT_EQ(m_script.Dialogs().size(), 1u);
    EXPECT_TRUE(m_script.Messages().empty());
    EXPECT_EQ(killed, 9);
    EXPECT_TRUE(Frame()->IsShown());
    // The same sprites, in reversed order: " - 9 - 8 ... - 0" becomes " - 0 ... - 9".
    EXPECT_EQ(Sprites(), " - 0 - 1 - 3 - 4 - 5 - 8 - 9");
    EXPECT_EQ(before, " - 9 - 8 - 5 - 4 - 3 - 1 - 0");
    EXPECT_EQ(JTRender::GetRender()->GetCamX(), 0);
    EXPECT_EQ(JTRender::GetRender()->GetCamY(), 0);
    EXPECT_NE(JTRender::GetRender()->GetPlayer(), nullptr);
}

// The smallest views a user can make: no bar is given less room than it needs, and the bars come
// back as the view grows.
TEST_F(FrameTest, ViewsTooSmallForTheirScrollBarsLeaveThemOutQuietly)
{
    ASSERT_TRUE(Start(40, 30));
    // Bars a user can see take room from the view's client area.
    auto bars = [this] { return Canvas()->GetSize() - Canvas()->GetClientSize(); };
    StderrCapture capture;
    for (int height = 1; height <= 100; height += 3) {
        Frame()->SetClientSize(300, height);
        Pump(15);
    }
    Frame()->SetClientSize(300, 20);
    Pump(30);
    const std::string said = capture.Take();
    EXPECT_EQ(said.find("Gtk-CRITICAL"), std::string::npos) << said;
    EXPECT_EQ(said.find("Gtk-WARNING"), std::string::npos) << said;
    // 20 pixels: room for the bar across, none for the one down.
    EXPECT_EQ(Canvas()->GetSize().y, 20);
    EXPECT_EQ(bars().x, 0);
    EXPECT_GT(bars().y, 0);
    Frame()->SetClientSize(300, 300);
    EXPECT_TRUE(PumpUntil([&] { return bars().x > 0 && bars().y > 0; }, 2000))
        << bars().x << " x " << bars().y;
}
