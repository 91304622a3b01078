// play_test.cpp -- the game window played for real: keys from the X server, frames read back
// from the screen, the talk pause, both end messages and the looping tune.
#include "PlayDialog.h"

#include "Motor/JTNpc.h"
#include "Motor/player.h"
#include "ParlantDlg.h"
#include "platform/keys.h"
#include "platform/mci.h"
#include "platform/wx/hwnd.h"
#include "resource.h"
#include "tests/motor_fixture.h"
#include "tests/scratch_dir.h"
#include "wx_test_support.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/statbmp.h>
#include <wx/uiaction.h>

#include <filesystem>
#include <new>

namespace {

const char kPlay[] = "play JTMusic from 0 notify";
const char kClose[] = "close JTMusic";

// A Tarok that has waited long enough to speak at its first touch of the hero.
struct ReadyTarok : JTTarok
{
    explicit ReadyTarok(const char* speech)
    {
        SetSpeech(speech);
        m_nCounter = 61;
    }
};

// A hero no longer shielded by its start: drawn as it stands from the first frame on.
struct BareHero : JTPlayer
{
    BareHero() { m_nInvulnerable = 0; }
};

// A hero one blow from the end.
struct WeakHero : BareHero
{
    WeakHero() { m_nHealth = 1; }
};

// A hero whose tick runs out of memory once told to.
struct FailingHero : BareHero
{
    bool fail = false;
    void Update() override
    {
        if (fail)
            throw std::bad_alloc();
        BareHero::Update();
    }
};

// The tile the camera shows at a point of the game window.
COLORREF TileOnScreen(int x, int y)
{
    JTRender* pRender = JTRender::GetRender();
    return TileColour(
        JTDecorat::GetDecorat()->GetTileAt(x + pRender->GetCamX(), y + pRender->GetCamY()));
}

// Lets the game run until it ends, or until more turns false; 3 s at most.
void PumpWhileModal(
    wxDialog* pDlg, std::function<bool()> more = [] { return true; })
{
    for (int i = 0; i < 300 && pDlg->IsModal() && more(); i++)
        Pump(10);
}

class PlayWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::copy_file(TAVROLU_RES_DIR "/cor.mid", "cor.mid");
        MciSetCommandHook([this](LPCSTR command, HWND callback) {
            m_commands.push_back(command);
            m_callbacks.push_back(callback);
        });
        (new JTKernel(nullptr))->NewMap(40, 30);
        MakeTileset();
        for (int r = 0; r < 30; r++)
            for (int c = 0; c < 40; c++)
                JTDecorat::GetDecorat()->SetTile(c, r, BYTE((c + 2 * r) % 50));
        KeyStateReset();
    }
    void TearDown() override
    {
        MciSetCommandHook(nullptr);
        MciSetPacing(true);
        delete JTKernel::GetKernel();
        JTModul::ClearSlot(MODUL_KERNEL);
    }

    JTSprite* Place(JTSprite* pSprite, int x, int y)
    {
        pSprite->SetPos(x, y);
        JTManager::GetManager()->Add(pSprite);
        return pSprite;
    }
    JTSprite* Place(int type, int x, int y)
    {
        return Place(JTKernel::GetKernel()->CreateSprite(type), x, y);
    }
    int Count(const char* command) const
    {
        return int(std::count(m_commands.begin(), m_commands.end(), command));
    }

    // One game window: play runs inside it, talk inside the talk dialog; then it must end.
    int Play(ModalScript::Action play, ModalScript::Action talk = nullptr)
    {
        m_script.Then([play](wxDialog* pDlg) {
            play(pDlg);
            PumpWhileModal(pDlg);
            if (pDlg->IsModal()) {
                ADD_FAILURE() << "the game window did not end";
                pDlg->EndModal(-1);
            }
        });
        if (talk)
            m_script.Then(talk);
        m_commands.clear();
        m_callbacks.clear();
        std::unique_ptr<CPlayDialog> pDlg(new CPlayDialog(nullptr));
        m_pGame = pDlg.get();
        m_hwnd = GetHwnd(m_pGame);
        return pDlg->ShowModal();
    }

    ScratchWorkingDir m_dir;
    ModalScript m_script;
    std::vector<std::string> m_commands;
    std::vector<HWND> m_callbacks;
    wxDialog* m_pGame = nullptr;
    HWND m_hwnd = nullptr;
    wxUIActionSimulator m_keys;
};

TEST_F(PlayWindow, HeldKeysWalkTheHeroUnderAFollowingCameraAndHud)
{
    JTSprite* pHero = Place(SPRITE_PLAYER, 60, 40);
    int left = 20;
    for (int type : {SPRITE_GALLINA, SPRITE_MALOTE, SPRITE_FETILLER, SPRITE_POCIMA, SPRITE_ESPASA})
        Place(type, left += 40, 170);
    Place(new ReadyTarok("Bon dia"), 240, 110);
    auto play = [&](wxDialog* pDlg) {
        EXPECT_EQ(pDlg->GetClientSize(), wxSize(300, 244));
        Pump(150);
        m_keys.KeyDown(WXK_RIGHT, wxMOD_SHIFT);
        Pump(1300);
        m_keys.KeyUp(WXK_RIGHT, wxMOD_SHIFT);
        Pump(150);
        int camX = JTRender::GetRender()->GetCamX();
        EXPECT_GT(pHero->GetX(), 140);
        EXPECT_EQ(camX, pHero->GetX() - 150 + 32); // its bottom-right corner mid-view
        int wasThere = 0, isHere = 0, ink = 0;
        for (int y = 40; y < 72; y++)
            for (int x = 0; x < 32; x++) {
                wasThere += ScreenPixel(pDlg, 60 - camX + x, y) != TileOnScreen(60 - camX + x, y);
                isHere += ScreenPixel(pDlg, 118 + x, y) != TileOnScreen(118 + x, y);
            }
        EXPECT_EQ(wasThere, 0);
        EXPECT_GT(isHere, 200);
        for (int x = 10; x < 90; x++)
            ink += ScreenPixel(pDlg, x, 17) == RGB(0, 0, 0);
        EXPECT_GT(ink, 5) << "Puntuacio:0";
        EXPECT_EQ(ScreenPixel(pDlg, 263, 17), RGB(255, 0, 0)); // 9 points: 220 to 265
        EXPECT_EQ(ScreenPixel(pDlg, 265, 17), TileOnScreen(265, 17));
        pDlg->Close();
    };
    EXPECT_EQ(Play(play), wxID_CANCEL);
}

TEST_F(PlayWindow, TalkFreezesTheWorldThenHandsTheKeysBackUntilTheFocusLeaves)
{
    JTSprite* pHero = Place(SPRITE_PLAYER, 100, 100);
    JTSprite* pHen = Place(SPRITE_GALLINA, 30, 200);
    // Out of reach until the window runs: the talk comes inside this script, whenever the
    // first tick comes.
    JTSprite* pTarok = Place(new ReadyTarok("Bon dia! Vols una poci\xF3?"), 500, 400); // code page
    auto play = [&](wxDialog* pDlg) {
        pTarok->SetPos(120, 100);
        Pump(400);
        EXPECT_EQ(JTKernel::GetKernel()->GetTalker(), nullptr);
        int x = pHero->GetX();
        m_keys.KeyDown(WXK_LEFT);
        Pump(300);
        EXPECT_LT(pHero->GetX(), x) << "the window has the keyboard again";
        GdkWindowAttr attr = {};
        attr.width = attr.height = 50;
        attr.wclass = GDK_INPUT_OUTPUT;
        attr.window_type = GDK_WINDOW_TOPLEVEL;
        GdkWindow* pOther = gdk_window_new(nullptr, &attr, 0);
        gdk_window_show(pOther);
        // At the time of the last key, so that the next game window's own request still wins.
        gdk_window_focus(pOther, gdk_x11_display_get_user_time(gdk_display_get_default()));
        Pump(100);
        x = pHero->GetX();
        Pump(200);
        EXPECT_EQ(pHero->GetX(), x) << "the key held while the focus left is let go";
        m_keys.KeyUp(WXK_LEFT);
        gdk_window_destroy(pOther);
        pDlg->Close();
    };
    auto talk = [&](wxDialog* pDlg) {
        auto* pTalk = dynamic_cast<CParlantDlg*>(pDlg);
        ASSERT_NE(pTalk, nullptr);
        EXPECT_EQ(pTalk->m_strName, "Tarok");
        EXPECT_EQ(pTalk->m_strText, wxString::FromUTF8("Bon dia! Vols una poció?"));
        auto* pPortrait = dynamic_cast<wxStaticBitmap*>(pDlg->FindWindow(IDC_PORTRAIT));
        EXPECT_TRUE(pPortrait != nullptr && pPortrait->GetBitmap().IsOk());
        int henX = pHen->GetX();
        m_pGame->Close();
        wxKeyEvent esc(wxEVT_CHAR_HOOK);
        esc.m_keyCode = WXK_ESCAPE;
        m_pGame->GetEventHandler()->ProcessEvent(esc);
        Pump(300);
        EXPECT_EQ(pHen->GetX(), henX) << "the world stands still";
        EXPECT_TRUE(m_pGame->IsModal()) << "the game window waits for the talk";
        pDlg->EndModal(wxID_OK);
    };
    EXPECT_EQ(Play(play, talk), wxID_CANCEL);
    EXPECT_EQ(m_script.Dialogs().size(), 2u);
}

TEST_F(PlayWindow, EndsShowTheirMessagesOverTheLastFrame)
{
    JTSprite* pHen = Place(SPRITE_GALLINA, 30, 200);
    m_script.OnNextMessage([&](const ShownMessage&) {
        int henX = pHen->GetX();
        m_pGame->Close(); // ignored while the message is up
        Pump(200);
        EXPECT_EQ(pHen->GetX(), henX) << "no tick under the message";
        EXPECT_EQ(Count(kClose), 0) << "the tune plays on until the message is confirmed";
    });
    EXPECT_EQ(Play([](wxDialog*) {}), wxID_OK);
    EXPECT_EQ(Count(kClose), 1);

    // The hero's death wins over the talk asked for in the same tick.
    Place(new WeakHero, 100, 100);
    JTSprite* pEnemy = Place(SPRITE_MALOTE, 500, 400);
    JTSprite* pTarok = Place(new ReadyTarok("Hola"), 560, 400);
    m_script.OnNextMessage([&](const ShownMessage&) {
        // The frame of the last tick is up: the life bar, 220 to 225 before, is gone.
        EXPECT_EQ(ScreenPixel(m_pGame, 222, 17), TileOnScreen(222, 17));
    });
    // Both reach the hero in one tick, once the window and its life bar are on screen.
    EXPECT_EQ(Play([&](wxDialog* pDlg) {
                  EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(pDlg, 222, 17) == RGB(255, 0, 0); }));
                  pEnemy->SetPos(100, 100);
                  pTarok->SetPos(120, 100);
              }),
              wxID_OK);
    EXPECT_EQ(Count(kClose), 1);
    EXPECT_NE(JTKernel::GetKernel()->GetTalker(), nullptr) << "left for the main frame";
    auto shown = m_script.Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text + shown[0].caption, "No hi ha jugador al mapa.JTKernel PANIK!");
    EXPECT_EQ(shown[1].text + shown[1].caption, "Pot ser la propera vegada.GAME OVER NEN");
    EXPECT_EQ(shown[1].parent, "Play");
    EXPECT_EQ(m_script.Dialogs().size(), 2u) << "no talk dialog";
}

TEST_F(PlayWindow, CtrlStrikesOnlyOnceTheSwordIsFound)
{
    Place(new BareHero, 100, 100);
    JTSprite* pSword = Place(SPRITE_ESPASA, 400, 300);
    const wxRect hero(100, 100, 32, 32); // the camera stays at the map's corner
    auto play = [&](wxDialog* pDlg) {
        // The hero standing still: the same picture twice in a row.
        std::vector<COLORREF> still;
        auto settled = [&] {
            std::vector<COLORREF> before = ScreenPixels(pDlg, hero);
            Pump(250);
            still = ScreenPixels(pDlg, hero);
            return still == before;
        };
        auto strikes = [&] {
            m_keys.KeyDown(WXK_CONTROL);
            bool changed = PumpUntil([&] { return ScreenPixels(pDlg, hero) != still; }, 3000);
            m_keys.KeyUp(WXK_CONTROL);
            return changed;
        };
        ASSERT_TRUE(PumpUntil(settled, 5000));
        EXPECT_FALSE(strikes()) << "no sword yet";
        pSword->SetPos(100, 100); // picked up at the next tick
        ASSERT_TRUE(PumpUntil(settled, 5000));
        EXPECT_TRUE(strikes()) << "the sword found, Ctrl strikes";
        EXPECT_TRUE(PumpUntil([&] { return ScreenPixels(pDlg, hero) == still; }, 5000))
            << "the strike ends, the hero stands again";
        pDlg->Close();
    };
    EXPECT_EQ(Play(play), wxID_CANCEL);
}

TEST_F(PlayWindow, TuneLoopsUntilEveryWayOutClosesIt)
{
    Place(SPRITE_PLAYER, 100, 100);
    MciSetPacing(false);
    std::pair<std::function<void(wxDialog*)>, int> ways[] = {
        {[&](wxDialog*) { m_keys.Char(WXK_ESCAPE); }, wxID_CANCEL},
        {[&](wxDialog*) { m_keys.Char(WXK_RETURN); }, wxID_OK},
        {[](wxDialog* pDlg) { pDlg->Close(); }, wxID_CANCEL}};
    for (const auto& way : ways) {
        EXPECT_EQ(Play([&](wxDialog* pDlg) {
                      PumpWhileModal(pDlg, [&] { return Count(kPlay) < 4; });
                      way.first(pDlg);
                  }),
                  way.second);
        ASSERT_GE(m_commands.size(), 5u);
        EXPECT_EQ(m_commands[0], "open sequencer!cor.mid alias JTMusic");
        EXPECT_EQ(m_callbacks[1], m_hwnd);
        EXPECT_GE(Count(kPlay), 4) << "each end of the tune starts it again";
        Pump(200);
        EXPECT_EQ(m_commands.back(), kClose) << "closed, and nothing plays after";
    }
}

// Memory running out in a tick, or in restarting the tune at its end, ends the run as failed
// (the main frame then says so and gives the map back); the program goes on, and so does the
// next run.
TEST_F(PlayWindow, AFailureInsideTheRunEndsItAsFailed)
{
    auto* pHero = static_cast<FailingHero*>(Place(new FailingHero, 100, 100));
    EXPECT_EQ(Play([&](wxDialog* pDlg) {
                  PumpWhileModal(pDlg, [&] { return Count(kPlay) < 1; });
                  pHero->fail = true;
              }),
              wxID_ABORT);
    EXPECT_EQ(m_commands.back(), kClose) << "the tune closed";
    EXPECT_TRUE(m_script.Messages().empty()) << "the game's own messages stay away";

    pHero->fail = false;
    MciSetPacing(false);
    MciSetCommandHook([this](LPCSTR command, HWND) {
        m_commands.push_back(command);
        if (Count(kPlay) > 1 && m_commands.back() == kPlay)
            throw std::bad_alloc();
    });
    EXPECT_EQ(Play([](wxDialog*) {}), wxID_ABORT);
    EXPECT_EQ(Count(kPlay), 2) << "failed as the tune restarted";
    EXPECT_EQ(m_commands.back(), kClose);

    MciSetCommandHook(nullptr);
    EXPECT_EQ(Play([&](wxDialog*) { m_keys.Char(WXK_ESCAPE); }), wxID_CANCEL);
}

} // namespace
