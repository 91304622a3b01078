// view_test.cpp -- the mouse in the map view: brush strokes, selection, placing and dropping
// sprites, scrolling, and what the view draws.
#include "editor_session.h"

#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"

namespace {

// Mouse messages as the canvas passes them on, in logical points.
struct Mouse
{
    CTavroluView* view;
    void Press(int x, int y) { view->OnLButtonDown(CPoint(x, y)); }
    void Move(int x, int y) { view->OnMouseMove(CPoint(x, y)); }
    void Release(int x, int y) { view->OnLButtonUp(CPoint(x, y)); }
    void Stroke(int x0, int y0, int x1, int y1)
    {
        Press(x0, y0);
        if (x1 != x0 || y1 != y0)
            Move(x1, y1);
        Release(x1, y1);
    }
};

// The cells holding tile t, as "col,row" in column order.
std::vector<std::pair<int, int>> CellsWith(int t)
{
    std::vector<std::pair<int, int>> cells;
    JTDecorat* map = JTDecorat::GetDecorat();
    for (int c = 0; c < map->GetWidth(); c++)
        for (int r = 0; r < map->GetHeight(); r++)
            if (map->GetTile(c, r) == t)
                cells.emplace_back(c, r);
    return cells;
}

using Cells = std::vector<std::pair<int, int>>;

} // namespace

using ViewTest = EditorTest;

TEST_F(ViewTest, BrushStrokesPaintFromThePressedCellByTheExtent)
{
    ASSERT_TRUE(Start(8, 8));
    Mouse mouse{View()};
    Doc()->m_nTile = 3;
    mouse.Stroke(20, 20, 20, 20);
    EXPECT_EQ(CellsWith(3), (Cells{{1, 1}}));

    Doc()->m_nTile = 4;
    mouse.Stroke(15, 15, 30, 30);
    EXPECT_EQ(CellsWith(4), (Cells{{0, 0}}));
    Doc()->m_nTile = 5;
    mouse.Stroke(15, 15, 31, 31);
    EXPECT_EQ(CellsWith(5), (Cells{{0, 0}, {0, 1}, {1, 0}, {1, 1}}));

    // One pixel left of or above the press: nothing at all.
    Doc()->m_nTile = 6;
    mouse.Stroke(40, 40, 39, 60);
    mouse.Stroke(40, 40, 60, 39);
    EXPECT_TRUE(CellsWith(6).empty());

    // Released outside the view: nothing; back over it with the button up the stroke goes on,
    // and a release that reaches the view commits the last extent.
    Doc()->m_nTile = 7;
    mouse.Press(64, 64);
    mouse.Move(70, 70);
    EXPECT_TRUE(CellsWith(7).empty());
    mouse.Move(90, 70);
    mouse.Release(200, 200);
    EXPECT_EQ(CellsWith(7), (Cells{{4, 4}, {5, 4}}));

    // A right press drops the brush; the release then paints nothing.
    Doc()->m_nTile = 8;
    mouse.Press(100, 100);
    View()->OnRButtonDown();
    mouse.Release(100, 100);
    EXPECT_TRUE(CellsWith(8).empty());
    EXPECT_EQ(Doc()->m_nTile, -1);
}

TEST_F(ViewTest, TheBrushPreviewIsDrawnWhileDraggingAndCellsChangeOnlyAtTheRelease)
{
    ASSERT_TRUE(Start(8, 8));
    Pump(30);
    const unsigned long ground = ViewPixel(40, 40);
    Mouse mouse{View()};
    Doc()->m_nTile = 20;
    mouse.Press(33, 33);
    mouse.Move(50, 50);
    EXPECT_NE(ViewPixel(40, 40), ground); // drawn at once, before any paint message
    EXPECT_EQ(JTDecorat::GetDecorat()->GetTile(2, 2), 0);
    mouse.Release(50, 50);
    EXPECT_EQ(JTDecorat::GetDecorat()->GetTile(2, 2), 20);
    EXPECT_EQ(JTDecorat::GetDecorat()->GetTile(3, 3), 20);
}

TEST_F(ViewTest, SelectionPlacementAndDroppingFollowWhoOwnsTheSprite)
{
    ASSERT_TRUE(Start(10, 10));
    Mouse mouse{View()};
    JTManager* manager = JTManager::GetManager();
    JTSprite* back = JTKernel::GetKernel()->CreateSprite(1);
    back->SetPos(20, 20);
    manager->Add(back);
    JTSprite* front = JTKernel::GetKernel()->CreateSprite(2);
    front->SetPos(22, 22);
    manager->Add(front);

    // A press where two overlap selects the one nearer the front of the list.
    mouse.Press(25, 25);
    EXPECT_EQ(Doc()->m_pSprite, front);
    // Dragging puts its centre on the cursor at the first move.
    mouse.Move(100, 100);
    EXPECT_EQ(front->GetX(), 100 - (front->GetWidth() >> 1));
    mouse.Release(100, 100);
    mouse.Move(140, 140);
    EXPECT_EQ(front->GetX(), 100 - (front->GetWidth() >> 1)); // button up: it stays
    // A press on empty ground clears the selection; a right press only drops it.
    mouse.Press(150, 5);
    mouse.Release(150, 5);
    EXPECT_EQ(Doc()->m_pSprite, nullptr);
    mouse.Press(25, 25);
    mouse.Release(25, 25);
    View()->OnRButtonDown();
    EXPECT_EQ(Doc()->m_pSprite, nullptr);
    EXPECT_EQ(manager->FindAt(25, 25), back);

    // A pending hero follows the cursor, is placed by a press, and is then the map's.
    JTSprite* hero = JTKernel::GetKernel()->CreateSprite(0);
    Doc()->m_pSprite = hero;
    Doc()->m_nTile = 0;
    mouse.Move(60, 120);
    mouse.Press(60, 120);
    EXPECT_EQ(manager->GetFirst(), hero);
    EXPECT_EQ(Doc()->m_pSprite, nullptr);
    EXPECT_EQ(Doc()->m_nTile, -1);
    mouse.Release(60, 120);

    // A right press destroys a pending hero: it is no longer registered.
    Doc()->m_pSprite = nullptr;
    hero->SetAlive(false);
    manager->BuildRenderList();
    Doc()->m_pSprite = JTKernel::GetKernel()->CreateSprite(0);
    Doc()->m_nTile = 0;
    EXPECT_NE(JTRender::GetRender()->GetPlayer(), nullptr);
    View()->OnRButtonDown();
    EXPECT_EQ(JTRender::GetRender()->GetPlayer(), nullptr);
    EXPECT_EQ(Doc()->m_pSprite, nullptr);
}

TEST_F(ViewTest, ScrollRangeFollowsTheMapAndAScrolledPressActsOnMapPixels)
{
    ASSERT_TRUE(Start(100, 100));
    Frame()->SetSize(400, 400);
    Pump(50);
    EXPECT_EQ(Canvas()->GetVirtualSize(), wxSize(1600, 1600));
    Canvas()->Scroll(160, 320);
    Pump(30);
    wxPoint start = Canvas()->GetViewStart();
    EXPECT_EQ(start, wxPoint(160, 320));
    EXPECT_EQ(Canvas()->ToLogical(wxPoint(5, 7)), CPoint(165, 327));
    Doc()->m_nTile = 9;
    Mouse mouse{View()};
    mouse.Stroke(165, 327, 165, 327);
    EXPECT_EQ(JTDecorat::GetDecorat()->GetTile(10, 20), 9);
    Pump(30);
    // What the view shows at client (5, 7) is that cell's picture, not cell (0, 0)'s.
    EXPECT_NE(ViewPixel(5, 7), ViewPixel(200, 200));
}

namespace {

// A wheel turned by rotation (a notch is 120), as the toolkit delivers it to the view.
void Wheel(wxWindow* canvas, int rotation, wxMouseWheelAxis axis, bool shift = false)
{
    wxMouseEvent event(wxEVT_MOUSEWHEEL);
    event.m_wheelRotation = rotation;
    event.m_wheelDelta = 120;
    event.m_wheelAxis = axis;
    event.m_shiftDown = shift;
    event.SetEventObject(canvas);
    canvas->GetEventHandler()->ProcessEvent(event);
    Pump(10);
}

// What a scroll bar's arrow or trough sends the view.
void BarStep(wxWindow* canvas, wxEventType type, int orientation)
{
    wxScrollWinEvent event(type, 0, orientation);
    event.SetEventObject(canvas);
    canvas->GetEventHandler()->ProcessEvent(event);
    Pump(10);
}

} // namespace

TEST_F(ViewTest, WheelPartsAddUpOnTheirOwnAxisOnly)
{
    ASSERT_TRUE(Start(100, 100));
    Frame()->SetSize(400, 400);
    Pump(50);
    // Half a notch down and half a notch right are no step on either axis.
    Wheel(Canvas(), -60, wxMOUSE_WHEEL_VERTICAL);
    Wheel(Canvas(), 60, wxMOUSE_WHEEL_HORIZONTAL);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(0, 0));
    // Each half completed on its own axis is a notch: three hundredths of 1600 pixels.
    Wheel(Canvas(), -60, wxMOUSE_WHEEL_VERTICAL);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(0, 48));
    Wheel(Canvas(), 60, wxMOUSE_WHEEL_HORIZONTAL);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(48, 48));
}

// A touchpad sends parts of a notch; Shift turns the wheel across.
TEST_F(ViewTest, AFineWheelWithAndWithoutShiftKeepsEachAxisPartOfANotch)
{
    ASSERT_TRUE(Start(100, 100));
    Frame()->SetSize(400, 400);
    Pump(50);
    Wheel(Canvas(), -60, wxMOUSE_WHEEL_VERTICAL);
    Wheel(Canvas(), -60, wxMOUSE_WHEEL_VERTICAL, true);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(0, 0));
    Wheel(Canvas(), -60, wxMOUSE_WHEEL_VERTICAL, true);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(48, 0));
    Wheel(Canvas(), -60, wxMOUSE_WHEEL_VERTICAL);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(48, 48));
    // Back up by half a notch, then by another half: one notch back on that axis alone.
    Wheel(Canvas(), 60, wxMOUSE_WHEEL_VERTICAL);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(48, 48));
    Wheel(Canvas(), 60, wxMOUSE_WHEEL_VERTICAL);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(48, 0));
}

TEST_F(ViewTest, AScrollBarArrowMovesOneLineAndTheTroughOnePage)
{
    ASSERT_TRUE(Start(100, 100));
    Frame()->SetSize(400, 400);
    Pump(50);
    // A line is a hundredth of the map's 1600 pixels, a page a tenth.
    BarStep(Canvas(), wxEVT_SCROLLWIN_LINEDOWN, wxVERTICAL);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(0, 16));
    BarStep(Canvas(), wxEVT_SCROLLWIN_LINEDOWN, wxHORIZONTAL);
    BarStep(Canvas(), wxEVT_SCROLLWIN_LINEDOWN, wxHORIZONTAL);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(32, 16));
    BarStep(Canvas(), wxEVT_SCROLLWIN_LINEUP, wxVERTICAL);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(32, 0));
    BarStep(Canvas(), wxEVT_SCROLLWIN_PAGEDOWN, wxVERTICAL);
    EXPECT_EQ(Canvas()->GetViewStart(), wxPoint(32, 160));
}
