// tiles_dlg_test.cpp -- the tile palette under the real mouse: the white frame read back from the
// screen, the walkable box, and the ways the dialog ends.
#include "TilesDlg.h"

#include "platform/wx/dlgunits.h"
#include "resource.h"
#include "tests/motor_fixture.h"
#include "wx_test_support.h"

#include <wx/checkbox.h>
#include <wx/uiaction.h>

namespace {

// The 2-pixel white frame about tile t's cell, not filled, as the X server shows the dialog.
bool FrameOnScreen(wxWindow* pDlg, int t)
{
    const wxSize size = pDlg->GetClientSize();
    const std::vector<COLORREF> shot = ScreenPixels(pDlg, wxRect(size));
    if (shot.size() != size_t(size.x) * size.y)
        return false;
    auto at = [&](int x, int y) { return shot[size_t(y) * size.x + x]; };
    CRect r = JTDecorat::GetDecorat()->PaletteRect(t);
    bool framed = at(r.left + 8, r.top + 8) != RGB(255, 255, 255);
    for (int i = 0; i < 16; i++)
        for (int edge : {0, 1, 14, 15})
            framed &= at(r.left + i, r.top + edge) == RGB(255, 255, 255) &&
                      at(r.left + edge, r.top + i) == RGB(255, 255, 255);
    // The palette's black frame lies right of and below the tile set.
    wxRect palette = pDlg->FindWindow(IDC_PALETTE)->GetRect();
    framed &= palette.GetRight() >= 192 && palette.GetBottom() >= 208;
    framed &= at(palette.GetRight(), 100) == RGB(0, 0, 0) && at(100, palette.GetBottom()) == RGB(0, 0, 0);
    return framed;
}

class TilesDialog : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Kernel()->NewMap(30, 30);
        MakeTileset();
    }
    int Run(int tile, ModalScript::Action action)
    {
        m_script.Then([action](wxDialog* pDlg) {
            Pump(150);
            action(pDlg);
            // An action that leaves the dialog open fails instead of hanging.
            for (int i = 0; i < 25 && pDlg->IsModal(); i++)
                Pump(20);
            if (pDlg->IsModal())
                pDlg->EndModal(wxID_ABORT);
        });
        CTilesDlg dlg;
        dlg.m_nTile = tile;
        int result = dlg.ShowModal();
        m_tile = dlg.m_nTile;
        return result;
    }
    void Click(wxWindow* pDlg, wxPoint at, bool twice = false)
    {
        m_mouse.MouseMove(pDlg->ClientToScreen(at));
        Pump(30);
        twice ? m_mouse.MouseDblClick() : m_mouse.MouseClick();
        Pump(80);
    }
    void ClickWalkable(wxWindow* pDlg)
    {
        wxRect box = pDlg->FindWindow(IDC_WALKABLE)->GetRect();
        Click(pDlg, wxPoint(box.x + 6, box.y + box.height / 2));
    }
    bool Walkable(wxWindow* pDlg) { return static_cast<wxCheckBox*>(pDlg->FindWindow(IDC_WALKABLE))->GetValue(); }

    ModalScript m_script;
    wxUIActionSimulator m_mouse;
    int m_tile = -1;
};

} // namespace

TEST_F(TilesDialog, OpensFramedOnTheGivenTileAndEnterAcceptsItEvenFromTheBox)
{
    Decorat()->SetWalkable(13, 0);
    int result = Run(13, [this](wxDialog* pDlg) {
        EXPECT_EQ(pDlg->GetTitle(), "Seleccio de tiles");
        EXPECT_EQ(pDlg->GetClientSize(), DluSize(129, 176));
        EXPECT_EQ(pDlg->FindWindow(wxID_OK)->GetLabel(), "Tancar");
        EXPECT_EQ(pDlg->FindWindow(IDC_WALKABLE)->GetLabel(), "Walkable");
        EXPECT_TRUE(FrameOnScreen(pDlg, 13));
        EXPECT_FALSE(Walkable(pDlg));
        ClickWalkable(pDlg); // the box keeps the focus
        EXPECT_EQ(Decorat()->IsWalkable(13), 1);
        m_mouse.Char(WXK_RETURN);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(m_tile, 13);
}

TEST_F(TilesDialog, ClicksMoveTheFrameTheBoxFollowsAndEscKeepsAChangedFlag)
{
    Decorat()->SetWalkable(29, 0);
    int result = Run(0, [this](wxDialog* pDlg) {
        EXPECT_TRUE(Walkable(pDlg));
        Click(pDlg, wxPoint(5 * 16 + 3, 2 * 16 + 12)); // column 5, row 2
        EXPECT_TRUE(FrameOnScreen(pDlg, 29));
        EXPECT_FALSE(FrameOnScreen(pDlg, 0));
        EXPECT_FALSE(Walkable(pDlg));
        Click(pDlg, wxPoint(192, 3)); // right of the image: the next row's first tile
        EXPECT_TRUE(FrameOnScreen(pDlg, 12));
        for (int expected : {0, 1, 0}) {
            ClickWalkable(pDlg);
            EXPECT_EQ(Decorat()->IsWalkable(12), expected);
            EXPECT_EQ(Walkable(pDlg), expected == 1);
        }
        m_mouse.Char(WXK_ESCAPE);
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(Decorat()->IsWalkable(12), 0);
    EXPECT_EQ(Decorat()->IsWalkable(29), 0);
}

TEST_F(TilesDialog, ADoubleClickAcceptsTheTileUnderTheMouse)
{
    EXPECT_EQ(Run(0, [this](wxDialog* pDlg) { Click(pDlg, wxPoint(40, 100), true); }), wxID_OK);
    EXPECT_EQ(m_tile, 2 + 6 * 12);
}

TEST_F(TilesDialog, ClicksBelowTheImageSelectOnlyIndicesABrushCanHold)
{
    int result = Run(40, [this](wxDialog* pDlg) {
        Click(pDlg, wxPoint(20, 210)); // no picture, framed where a row 13 would be
        EXPECT_TRUE(FrameOnScreen(pDlg, 157));
        // Further out the index passes 255, which a one-byte brush would take for another tile.
        wxMouseEvent far(wxEVT_LEFT_DOWN);
        far.SetPosition(wxPoint(100, 400));
        pDlg->ProcessWindowEvent(far);
        Pump(50);
        EXPECT_TRUE(FrameOnScreen(pDlg, 157));
        pDlg->Close(); // the close box
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(m_tile, 157);
}
