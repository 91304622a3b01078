// dialog_layout_test.cpp -- the dialogs as the user sees them: every text whole at the templates'
// 8-point font, and each dialog over the window it belongs to.
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
#include <wx/radiobut.h>
#include <wx/stattext.h>

#include <memory>

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
    JTKernel* pKernel = JTKernel::GetKernel();
    JTSprite* pHero = pKernel->CreateSprite(SPRITE_PLAYER);
    pHero->SetPos(100, 100);
    JTManager::GetManager()->Add(pHero);
    JTSprite* pTarok = new EagerTarok;
    pTarok->SetPos(120, 100);
    JTManager::GetManager()->Add(pTarok);
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

} // namespace
