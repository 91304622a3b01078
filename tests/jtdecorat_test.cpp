// jtdecorat_test.cpp -- the tile map: sizes, cell access, wall probes, drawing, palette.
#include "motor_fixture.h"

#include <climits>

namespace {
class TileMap : public EngineTest
{
protected:
    // A view of w x h pixels for the tile drawing, taken from a DC of that size.
    void SetView(int w, int h)
    {
        Canvas view(w, h);
        Render()->UpdateView(&view.dc);
    }
};

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
} // namespace

TEST_F(TileMap, CreateGivesTileZeroEverywhereAndAllWalkable)
{
    ASSERT_TRUE(Decorat()->Create(30, 30, 4));
    EXPECT_EQ(Decorat()->GetWidth(), 30);
    EXPECT_EQ(Decorat()->GetHeight(), 30);
    EXPECT_EQ(Decorat()->GetTileSize(), 16);
    for (int r = 0; r < 30; r++)
        for (int c = 0; c < 30; c++)
            ASSERT_EQ(Decorat()->GetTile(c, r), 0);
    for (int t = 0; t < 256; t++)
        ASSERT_EQ(Decorat()->IsWalkable(t), 1);
    Decorat()->SetWalkable(7, 0);
    Decorat()->SetTile(1, 1, 7);
    ASSERT_TRUE(Decorat()->Create(30, 30, 4));
    EXPECT_EQ(Decorat()->IsWalkable(7), 1);
    EXPECT_EQ(Decorat()->GetTile(1, 1), 0);
}

TEST_F(TileMap, AccessOutsideTheMap)
{
    Decorat()->Create(4, 3, 4);
    EXPECT_EQ(Decorat()->GetTile(-1, 0), -1);
    EXPECT_EQ(Decorat()->GetTile(4, 0), -1);
    EXPECT_EQ(Decorat()->GetTile(0, 3), -1);
    EXPECT_EQ(Decorat()->GetTileAt(-1, 0), -1);
    EXPECT_EQ(Decorat()->GetTileAt(63, 47), 0);
    EXPECT_FALSE(Decorat()->SetTile(4, 0, 9));
    EXPECT_FALSE(Decorat()->SetTile(0, -1, 9));
    EXPECT_TRUE(Decorat()->SetTileAt(17, 33, 9));
    EXPECT_EQ(Decorat()->GetTile(1, 2), 9);
    EXPECT_EQ(Decorat()->IsWalkable(256), -1);
    EXPECT_EQ(Decorat()->IsWalkable(-1), -1);
}

TEST_F(TileMap, EmptySizeHasAnArrayWithoutCells)
{
    Canvas canvas(32, 32);
    SetView(32, 32);
    EXPECT_TRUE(Decorat()->IsEmpty());
    EXPECT_FALSE(Decorat()->Draw(&canvas.dc));
    ASSERT_TRUE(Decorat()->Create(0, 5, 4));
    EXPECT_FALSE(Decorat()->IsEmpty());
    EXPECT_EQ(Decorat()->GetTile(0, 0), -1);
    EXPECT_FALSE(Decorat()->SetTile(0, 0, 1));
    EXPECT_TRUE(Decorat()->Draw(&canvas.dc));
}

TEST_F(TileMap, AbsurdSizesAreRefused)
{
    const int sizes[][2] = {{-1, 5}, {5, -1}, {65536, 32768}, {INT_MAX, 2}, {134217728, 1},
                            {1, 134217728}};
    for (const auto& size : sizes)
    {
        Decorat()->Create(2, 2, 4);
        EXPECT_FALSE(Decorat()->Create(size[0], size[1], 4)) << size[0] << " x " << size[1];
        EXPECT_TRUE(Decorat()->IsEmpty());
    }
    EXPECT_TRUE(Decorat()->Create(134217727, 0, 4));
}

TEST_F(TileMap, ProbesLieUnderTheFeet)
{
    Decorat()->Create(10, 10, 4);
    Decorat()->SetWalkable(3, 0);
    TestSprite s(1, 40, 20);
    // The probes of a 16 x 16 sprite at (40, 20): (42, 36) and (54, 36), cells (2, 2), (3, 2).
    Decorat()->SetTile(2, 2, 3);
    EXPECT_TRUE(Decorat()->CheckWalls(&s));
    Decorat()->SetTile(2, 2, 0);
    Decorat()->SetTile(3, 2, 3);
    EXPECT_TRUE(Decorat()->CheckWalls(&s));
    Decorat()->SetTile(3, 2, 0);
    Decorat()->SetTile(2, 1, 3);
    EXPECT_FALSE(Decorat()->CheckWalls(&s));
    EXPECT_EQ(s.m_nWallHits, 2);
}

TEST_F(TileMap, HeroProbesEightPixelsHigher)
{
    Decorat()->Create(10, 10, 4);
    Decorat()->SetWalkable(3, 0);
    TestSprite hero(SPRITE_PLAYER, 40, 20, 32, 32), other(1, 40, 20, 32, 32);
    // The hero's probes: (42, 44) and (70, 44), row 2; the others' row 52 lies in cell row 3.
    Decorat()->SetTile(4, 2, 3);
    EXPECT_TRUE(Decorat()->CheckWalls(&hero));
    EXPECT_FALSE(Decorat()->CheckWalls(&other));
}

TEST_F(TileMap, OutsideReadsTile255)
{
    Decorat()->Create(4, 4, 4);
    TestSprite left(1, -3, 10), below(1, 10, 60);
    EXPECT_FALSE(Decorat()->CheckWalls(&left));
    EXPECT_FALSE(Decorat()->CheckWalls(&below));
    Decorat()->SetWalkable(255, 0);
    EXPECT_TRUE(Decorat()->CheckWalls(&left));
    EXPECT_TRUE(Decorat()->CheckWalls(&below));
    TestSprite far(1, INT_MAX - 4, INT_MAX - 4);
    EXPECT_TRUE(Decorat()->CheckWalls(&far));
}

TEST_F(TileMap, OneWallHitEvenWithBothProbesBlocked)
{
    Decorat()->Create(4, 4, 4);
    Decorat()->SetWalkable(0, 0);
    TestSprite s(1, 0, 0);
    EXPECT_TRUE(Decorat()->CheckWalls(&s));
    EXPECT_EQ(s.m_nWallHits, 1);
}

TEST_F(TileMap, AnyNonZeroFlagWalks)
{
    Decorat()->Create(4, 4, 4);
    Decorat()->SetWalkable(0, 2);
    TestSprite s(1, 0, 0);
    EXPECT_FALSE(Decorat()->CheckWalls(&s));
    Canvas canvas(64, 64);
    Decorat()->DrawCollisions(&canvas.dc);
    for (int y = 0; y < 64; y += 3)
        for (int x = 0; x < 64; x += 3)
            ASSERT_EQ(canvas.At(x, y), kBlack);
}

TEST_F(TileMap, DrawCoversTheViewPlusTheCutCell)
{
    MakeTileset();
    Decorat()->Create(30, 4, 4);
    for (int c = 0; c < 30; c++)
        Decorat()->SetTile(c, 0, BYTE(c % 12));
    SetView(320, 16);
    Canvas canvas(400, 16);
    EXPECT_TRUE(Decorat()->Draw(&canvas.dc));
    for (int c = 0; c <= 20; c++)
        EXPECT_EQ(canvas.At(c * 16 + 8, 8), TileColour(c % 12)) << "column " << c;
    EXPECT_EQ(canvas.At(21 * 16 + 8, 8), kBlack);

    Decorat()->Create(10, 1, 4);
    Canvas small(400, 16);
    Decorat()->Draw(&small.dc);
    EXPECT_EQ(small.At(9 * 16 + 8, 8), TileColour(0));
    EXPECT_EQ(small.At(10 * 16 + 8, 8), kBlack);
}

TEST_F(TileMap, DrawFollowsTheCamera)
{
    MakeTileset();
    Decorat()->Create(40, 40, 4);
    Decorat()->SetTile(3, 2, 5);
    SetView(64, 64);
    Render()->SetCamera(40, 20);
    Canvas canvas(64, 64);
    Decorat()->Draw(&canvas.dc);
    EXPECT_EQ(canvas.At(48 - 40, 32 - 20), TileColour(5));
    EXPECT_EQ(canvas.At(63 - 40, 47 - 20), TileColour(5));
    EXPECT_EQ(canvas.At(64 - 40, 32 - 20), TileColour(0));
}

TEST_F(TileMap, TilesComeFromTheirCellOfTheTileset)
{
    MakeTileset();
    Decorat()->Create(1, 1, 4);
    Canvas canvas(48, 16);
    Decorat()->DrawTile(&canvas.dc, 0, 0, 12);
    Decorat()->DrawTile(&canvas.dc, 16, 0, 155);
    EXPECT_EQ(canvas.At(0, 0), TileColour(12));
    EXPECT_EQ(canvas.At(31, 15), TileColour(155));
    EXPECT_EQ(Decorat()->PaletteRect(13), CRect(16, 16, 32, 32));
    EXPECT_EQ(Decorat()->PaletteRect(155), CRect(176, 192, 192, 208));
    int x = 200, y = 0;
    EXPECT_EQ(Decorat()->PaletteIndexAt(&x, &y), 12);
    EXPECT_EQ(x, 192);
    EXPECT_EQ(y, 0);
    x = 37;
    y = 250;
    EXPECT_EQ(Decorat()->PaletteIndexAt(&x, &y), 2 + 15 * 12);
    EXPECT_EQ(x, 32);
    EXPECT_EQ(y, 240);
}

TEST_F(TileMap, TilesBelowThePictureDrawNothing)
{
    MakeTileset();
    Decorat()->Create(3, 1, 4);
    Decorat()->SetTile(0, 0, 156);
    Decorat()->SetTile(1, 0, 255);
    Decorat()->SetTile(2, 0, 1);
    SetView(48, 16);
    Canvas canvas(48, 16);
    canvas.dc.FillSolidRect(0, 0, 48, 16, RGB(9, 9, 9));
    Decorat()->Draw(&canvas.dc);
    Decorat()->DrawTile(&canvas.dc, 16, 0, 200);
    EXPECT_EQ(canvas.At(8, 8), RGB(9, 9, 9));
    EXPECT_EQ(canvas.At(24, 8), RGB(9, 9, 9));
    EXPECT_EQ(canvas.At(40, 8), TileColour(1));
}

TEST_F(TileMap, MissingTilesetDrawsNothingAndDividesByNothing)
{
    JTDecorat::GetTileBitmap()->DeleteObject();
    Decorat()->Create(2, 2, 4);
    SetView(32, 32);
    Canvas canvas(32, 32);
    EXPECT_TRUE(Decorat()->Draw(&canvas.dc));
    Decorat()->DrawTile(&canvas.dc, 0, 0, 5);
    Decorat()->DrawTileset(&canvas.dc, 0, 0);
    EXPECT_EQ(canvas.At(5, 5), kBlack);
    EXPECT_TRUE(Decorat()->PaletteRect(13).IsRectEmpty());
    int x = 40, y = 40;
    EXPECT_EQ(Decorat()->PaletteIndexAt(&x, &y), 2);
    EXPECT_EQ(x, 32);
}

TEST_F(TileMap, BlockedCellsGetARedCross)
{
    Decorat()->Create(3, 2, 4);
    Decorat()->SetWalkable(4, 0);
    Decorat()->SetTile(1, 1, 4);
    Canvas canvas(48, 32);
    CPen* pBefore = canvas.dc.GetCurrentPen();
    Decorat()->DrawCollisions(&canvas.dc);
    EXPECT_EQ(canvas.dc.GetCurrentPen(), pBefore);
    EXPECT_EQ(canvas.At(16 + 8, 16 + 8), kRed);
    EXPECT_EQ(canvas.At(16 + 4, 16 + 4), kRed);
    EXPECT_EQ(canvas.At(16 + 12, 16 + 4), kRed);
    EXPECT_EQ(canvas.At(16 + 8, 16 + 2), kBlack);
    EXPECT_EQ(canvas.At(8, 8), kBlack);
}

// A scrolled editor view draws only the cells it shows, and exactly the pixels a paint of the
// whole map shows there: tiles and crosses both.
TEST_F(TileMap, AScrolledViewDrawsTheSamePixelsAsTheWholeMap)
{
    ASSERT_TRUE(Decorat()->Create(40, 40, 4));
    for (int c = 0; c < 40; c++)
        for (int r = 0; r < 40; r++)
            Decorat()->SetTile(c, r, BYTE((c * 7 + r * 13) % 156));
    for (int t = 0; t < 156; t += 3)
        Decorat()->SetWalkable(t, 0);
    auto paint = [this](Surface& surface, const CRect& clip, CPoint scroll) {
        CDC dc;
        dc.AttachSurface(&surface, clip);
        dc.SetViewportOrg(-scroll.x, -scroll.y);
        Render()->UpdateView(&dc);
        Decorat()->Draw(&dc);
        Decorat()->DrawCollisions(&dc);
    };
    Surface whole(640, 640);
    paint(whole, whole.Bounds(), CPoint(0, 0));
    for (CPoint scroll : {CPoint(123, 77), CPoint(0, 301), CPoint(440, 490)}) {
        Surface view(200, 150, RGB(9, 9, 9));
        paint(view, CRect(0, 0, 200, 150), scroll);
        int differ = 0;
        for (int y = 0; y < 150; y++)
            for (int x = 0; x < 200; x++)
                differ += view.Pixel(x, y) != whole.Pixel(x + scroll.x, y + scroll.y) ? 1 : 0;
        EXPECT_EQ(differ, 0) << scroll.x << "," << scroll.y;
    }
}
