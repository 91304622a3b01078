// sprites_dlg_test.cpp -- the sprite dialog driven inside its modal loop: the one-hero rule, the
// kind list, the enemy's patrol buttons, the characters' speech, and every way out.
#include "SpritesDlg.h"

#include "Motor/JTNpc.h"
#include "Motor/player.h"
#include "platform/wx/text.h"
#include "platform/wx/window_surface.h"
#include "resource.h"
#include "tests/motor_fixture.h"
#include "wx_test_support.h"

#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {

// The user's click on a list row or a radio button: the control changes, then tells the dialog.
void Click(CSpritesDlg& d, int id, int row = 0)
{
    wxWindow* pControl = d.FindWindow(id);
    wxCommandEvent click(id == IDC_SPRITE_LIST ? wxEVT_LISTBOX : wxEVT_RADIOBUTTON, id);
    if (auto* pList = dynamic_cast<wxListBox*>(pControl))
        pList->SetSelection(row);
    else
        static_cast<wxRadioButton*>(pControl)->SetValue(true);
    click.SetEventObject(pControl);
    pControl->GetEventHandler()->ProcessEvent(click);
    Pump(30);
}

int Selected(CSpritesDlg& d)
{
    return static_cast<wxListBox*>(d.FindWindow(IDC_SPRITE_LIST))->GetSelection();
}
wxTextCtrl* Speech(CSpritesDlg& d) { return static_cast<wxTextCtrl*>(d.FindWindow(IDC_SPEECH)); }
const char* SpeechOf(JTSprite* pSprite) { return static_cast<JTNpc*>(pSprite)->GetSpeech(); }

// A real key from the X server; without a window manager the focus follows the pointer.
void PressKey(wxWindow* pFocus, int key)
{
    wxUIActionSimulator sim;
    sim.MouseMove(pFocus->GetScreenRect().GetPosition() + wxPoint(4, 4));
    Pump(30);
    pFocus->SetFocus();
    Pump(30);
    sim.Char(key);
    Pump(60);
}

// The preview's corner, where every kind is drawn.
std::vector<COLORREF> Preview(CSpritesDlg& d)
{
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 50; y++)
        for (int x = 0; x < 50; x++)
            pixels.push_back(d.GetPreview().GetSurface().Pixel(x, y));
    return pixels;
}

class SpritesDlgTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Kernel()->NewMap(8, 8);
    }

    // Runs a fresh dialog with steps inside its loop; one left open is ended, so none can hang.
    // Returns its answer; the sprite it hands over is kept in m_pTaken (and deleted).
    int RunDialog(std::function<void(CSpritesDlg&)> steps)
    {
        CSpritesDlg dlg;
        m_script.Then([&](wxDialog*) {
            Pump(30);
            steps(dlg);
            if (dlg.IsModal())
                dlg.EndModal(wxID_ABORT);
        });
        int result = dlg.ShowModal();
        m_pTaken.reset(dlg.m_pSprite);
        return result;
    }

    ModalScript m_script;
    std::unique_ptr<JTSprite> m_pTaken;
};

TEST_F(SpritesDlgTest, OneHeroPerMapBothWays)
{
    EXPECT_EQ(RunDialog([&](CSpritesDlg& d) {
        EXPECT_EQ(Selected(d), SPRITE_PLAYER);
        EXPECT_EQ(Render()->GetPlayer(), static_cast<JTPlayer*>(d.m_pSprite));
        Click(d, IDC_SPRITE_LIST, SPRITE_GALLINA);
        Click(d, IDC_SPRITE_LIST, SPRITE_PLAYER); // its own preview never blocks it
        EXPECT_EQ(Render()->GetPlayer(), static_cast<JTPlayer*>(d.m_pSprite));
        ClickButton(&d, wxID_CANCEL);
    }), wxID_CANCEL);
    EXPECT_EQ(m_pTaken, nullptr);
    EXPECT_EQ(Render()->GetPlayer(), nullptr);
    EXPECT_TRUE(m_script.Messages().empty());

    JTSprite* pHero = Kernel()->CreateSprite(SPRITE_PLAYER);
    Manager()->Add(pHero);
    RunDialog([&](CSpritesDlg& d) {
        EXPECT_EQ(Selected(d), SPRITE_GALLINA);
        Click(d, IDC_SPRITE_LIST, SPRITE_PLAYER);
        EXPECT_EQ(Selected(d), SPRITE_GALLINA);
        ASSERT_NE(d.m_pSprite, nullptr);
        EXPECT_EQ(d.m_pSprite->GetType(), SPRITE_GALLINA);
        ClickButton(&d, wxID_OK);
    });
    ASSERT_EQ(m_script.Messages().size(), 1u) << "the dialog's own reselection does not warn again";
    EXPECT_EQ(m_script.Messages()[0].text, Txt("Ja exiteix un player !!!!!"));
    EXPECT_EQ(m_script.Messages()[0].caption, Txt("Estigues alerta"));
    EXPECT_EQ(m_script.Messages()[0].parent, "Selecció d'sprite");
    ASSERT_NE(m_pTaken, nullptr);
    EXPECT_EQ(m_pTaken->GetType(), SPRITE_GALLINA);
    EXPECT_EQ(Render()->GetPlayer(), static_cast<JTPlayer*>(pHero));
}

// The rows at the right edge of the list where its scroll bar is, each against the same row at
// the list's left edge: with the bar drawn they differ on every row; GTK's overlay bar, hidden
// until the mouse moves over the list, leaves the row's own colour at both edges.
int RowsWithoutBar(CSpritesDlg& d)
{
    const wxRect list = d.FindWindow(IDC_SPRITE_LIST)->GetRect();
    const std::vector<COLORREF> left = ScreenPixels(&d, wxRect(list.x + 2, list.y + 3, 1, list.height - 6));
    const std::vector<COLORREF> right =
        ScreenPixels(&d, wxRect(list.GetRight() - 5, list.y + 3, 1, list.height - 6));
    int same = 0;
    for (size_t y = 0; y < left.size() && y < right.size(); y++)
        same += left[y] == right[y];
    return same;
}

TEST_F(SpritesDlgTest, TheListOpensOnItsFirstRowWithTheChosenKindAndItsBarInSight)
{
    for (bool hero : {false, true}) {
        SCOPED_TRACE(hero ? "a hero on the map" : "no hero");
        if (hero)
            Manager()->Add(Kernel()->CreateSprite(SPRITE_PLAYER));
        RunDialog([&](CSpritesDlg& d) {
            Pump(200);
            auto* pList = static_cast<wxListBox*>(d.FindWindow(IDC_SPRITE_LIST));
            EXPECT_EQ(pList->GetTopItem(), 0);
            EXPECT_EQ(Selected(d), hero ? SPRITE_GALLINA : SPRITE_PLAYER);
            EXPECT_LT(Selected(d), pList->GetCountPerPage());
            EXPECT_EQ(RowsWithoutBar(d), 0);
            ClickButton(&d, wxID_CANCEL);
        });
    }
}

TEST_F(SpritesDlgTest, TenKindsInTypeOrderEnemiesTurnWithThePatrolButtons)
{
    static const char* const labels[] = {
        "Player - (Lynx)",      "Animals - (Gallina)", "Animals - (Gos)", "Enemics - (Malote)",
        "Enemics - (Fetiller)", "NPC - (Tarok)",       "NPC - (Trisha)",  "NPC - (Dama)",
        "Items - (Pocima)",     "Items - (Espasa)"};
    RunDialog([](CSpritesDlg& d) {
        auto* pList = static_cast<wxListBox*>(d.FindWindow(IDC_SPRITE_LIST));
        ASSERT_EQ(pList->GetCount(), 10u);
        for (int type = 0; type < 10; type++) {
            SCOPED_TRACE(labels[type]);
            EXPECT_EQ(pList->GetString(type), Txt(labels[type]));
            Click(d, IDC_SPRITE_LIST, type);
            ASSERT_NE(d.m_pSprite, nullptr);
            EXPECT_EQ(d.m_pSprite->GetType(), type);
            bool enemy = type == 3 || type == 4, talker = type >= 5 && type <= 7;
            for (int id : {IDC_DIR_VERTICAL, IDC_DIR_HORIZONTAL, IDC_SPEECH, IDC_SPEECH_LABEL})
                EXPECT_EQ(d.FindWindow(id)->IsShown(), id < IDC_SPEECH ? enemy : talker) << id;
            if (!enemy)
                continue;
            auto* pEnemy = static_cast<JTMobil*>(d.m_pSprite);
            EXPECT_TRUE(static_cast<wxRadioButton*>(d.FindWindow(IDC_DIR_VERTICAL))->GetValue());
            EXPECT_EQ(pEnemy->GetMoveDirection(), DIR_DOWN);
            std::vector<COLORREF> facingDown = Preview(d);
            Click(d, IDC_DIR_HORIZONTAL);
            EXPECT_EQ(pEnemy->GetMoveDirection(), DIR_RIGHT);
            EXPECT_NE(Preview(d), facingDown);
            Click(d, IDC_DIR_VERTICAL);
            EXPECT_EQ(Preview(d), facingDown);
        }
        ClickButton(&d, wxID_CANCEL);
    });
}

TEST_F(SpritesDlgTest, SpeechTravelsBetweenCharactersAndEnterGivesItToTheChosenOne)
{
    EXPECT_EQ(RunDialog([](CSpritesDlg& d) {
        Click(d, IDC_SPRITE_LIST, SPRITE_TAROK);
        Speech(d)->ChangeValue("Hola");
        Click(d, IDC_SPRITE_LIST, SPRITE_ESPASA);
        Click(d, IDC_SPRITE_LIST, SPRITE_TRISHA);
        EXPECT_EQ(Speech(d)->GetValue(), "Hola");
        Click(d, IDC_SPRITE_LIST, SPRITE_MALOTE);
        Click(d, IDC_SPRITE_LIST, SPRITE_DAMA);
        EXPECT_EQ(Speech(d)->GetValue(), "") << "an enemy puts back the speech stored at OK";
        Speech(d)->ChangeValue(Txt("Vés-te'n"));
        Speech(d)->SetInsertionPointEnd();
        PressKey(Speech(d), WXK_RETURN);
    }), wxID_OK);
    ASSERT_NE(m_pTaken, nullptr);
    EXPECT_EQ(m_pTaken->GetType(), SPRITE_DAMA);
    EXPECT_STREQ(SpeechOf(m_pTaken.get()), "V\xE9s-te'n") << "no line break, Windows-1252";

    RunDialog([](CSpritesDlg& d) {
        Click(d, IDC_SPRITE_LIST, SPRITE_TRISHA);
        ClickButton(&d, wxID_OK);
    });
    ASSERT_NE(m_pTaken, nullptr);
    EXPECT_STREQ(SpeechOf(m_pTaken.get()), "");
}

TEST_F(SpritesDlgTest, CancelEscAndCloseBoxDeleteTheHeroPreview)
{
    std::vector<std::function<void(CSpritesDlg&)>> ways = {
        [](CSpritesDlg& d) { ClickButton(&d, wxID_CANCEL); },
        [](CSpritesDlg& d) { PressKey(d.FindWindow(IDC_SPRITE_LIST), WXK_ESCAPE); },
        [](CSpritesDlg& d) { d.Close(); },
    };
    for (auto& way : ways) {
        EXPECT_EQ(RunDialog([&](CSpritesDlg& d) {
            EXPECT_NE(Render()->GetPlayer(), nullptr);
            way(d);
        }), wxID_CANCEL);
        EXPECT_EQ(m_pTaken, nullptr);
        EXPECT_EQ(Render()->GetPlayer(), nullptr);
    }
}

// With no row chosen nothing is built: the preview paints nothing and OK hands nothing over.
TEST_F(SpritesDlgTest, NoSelectionBuildsNothing)
{
    EXPECT_EQ(RunDialog([](CSpritesDlg& d) {
        Click(d, IDC_SPRITE_LIST, wxNOT_FOUND);
        EXPECT_EQ(d.m_pSprite, nullptr);
        d.GetPreview().RedrawNow();
        ClickButton(&d, wxID_OK);
    }), wxID_CANCEL);
    EXPECT_EQ(m_pTaken, nullptr);
}

} // namespace
