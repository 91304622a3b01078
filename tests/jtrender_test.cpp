// jtrender_test.cpp -- the renderer: camera clamp, bitmap cache, culling, HUD, frames by pixel.
#include "motor_fixture.h"

#include "Motor/jtmath.h"
#include "Motor/player.h"

#include <algorithm>
#include <list>
#include <random>
#include <string>

namespace {
// A hero whose health and score a test sets.
class TestHero : public JTPlayer
{
public:
    void Set(int health, int score)
    {
        m_nHealth = health;
        m_nScore = score;
    }
};

// Records its drawing instead of blitting.
class CountedSprite : public TestSprite
{
public:
    using TestSprite::TestSprite;
    void Draw(CDC*) override { m_nDraws++; }
    int m_nDraws = 0;
};

const COLORREF kSheetA = RGB(10, 20, 30);
const COLORREF kSheetB = RGB(200, 0, 0);
const COLORREF kGround = RGB(0, 64, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlack = RGB(0, 0, 0);

class Renderer : public EngineTest
{
protected:
    // A 32 x 16 sheet of two frames: frame 0 all kSheetA, frame 1 kSheetB with a black left
    // half, and its mask: white (1) where the sheet is black.
    void MakeSprites()
    {
        Surface* sheet = MakeSheet(Render(), 9001, 32, 16)->GetSurface();
        Surface* mask = MakeSheet(Render(), 9002, 32, 16, 1)->GetSurface();
        for (int y = 0; y < 16; y++)
        {
            for (int x = 0; x < 32; x++)
            {
                bool hole = x >= 16 && x < 24;
                sheet->SetPixel(x, y, x < 16 ? kSheetA : hole ? kBlack : kSheetB);
                mask->SetPixel(x, y, hole ? RGB(255, 255, 255) : kBlack);
            }
        }
    }

    TestSprite* Sheeted(int x, int y, int frame, bool masked)
    {
        TestSprite* s = new TestSprite(1, x, y);
        s->SetSheet(9001, masked ? 9002 : -1);
        s->SetFrame(frame);
        return s;
    }

    void Camera(int mapTiles, int viewW, int viewH, int heroX)
    {
        Decorat()->Create(mapTiles, mapTiles, 4);
        TestHero* hero = new TestHero;
        hero->SetPos(heroX, 0);
        Manager()->Add(hero);
        Canvas canvas(viewW, viewH);
        Render()->Render(&canvas.dc);
    }
};
} // namespace

TEST_F(Renderer, CameraPutsTheHerosCornerMidViewInsideTheMap)
{
    Camera(30, 320, 240, 200);
    EXPECT_EQ(Render()->GetCamX(), 72);
    Camera(30, 320, 240, 100);
    EXPECT_EQ(Render()->GetCamX(), 0);
    Camera(30, 320, 240, 400);
    EXPECT_EQ(Render()->GetCamX(), 160);
    Camera(30, 640, 240, 400);
    EXPECT_EQ(Render()->GetCamX(), 0);
    Camera(30, 480, 240, 400);
    EXPECT_EQ(Render()->GetCamX(), 0);
    EXPECT_EQ(Render()->GetCamY(), 0);
}

TEST_F(Renderer, SetCameraClampsBothWays)
{
    Decorat()->Create(30, 20, 4);
    Canvas view(100, 50);
    Render()->UpdateView(&view.dc);
    Render()->SetCamera(-5, 1000);
    EXPECT_EQ(Render()->GetCamX(), 0);
    EXPECT_EQ(Render()->GetCamY(), 320 - 50);
    Render()->MoveCamera(500, -300);
    EXPECT_EQ(Render()->GetCamX(), 380);
    EXPECT_EQ(Render()->GetCamY(), 0);
}

TEST_F(Renderer, BitmapCacheLoadsOnceAndHoldsFifty)
{
    CBitmap* first = Render()->GetBitmap(7001);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Render()->GetBitmap(7001), first);
    for (UINT id = 7002; id < 7051; id++)
        ASSERT_NE(Render()->GetBitmap(id), nullptr) << id;
    EXPECT_EQ(Render()->GetBitmap(8000), nullptr);
    EXPECT_EQ(Render()->GetBitmap(8000), nullptr);
    EXPECT_EQ(Render()->GetBitmap(7050), Render()->GetBitmap(7050));
    EXPECT_EQ(Render()->GetBitmap(7001), first);
}

// 0xFFFFFFFF reads back as the free-slot mark -1: caching it would leave its slot looking free,
// and the next id would take the slot over and lose the bitmap.
TEST_F(Renderer, FreeSlotMarkIsNeverCached)
{
    EXPECT_EQ(Render()->GetBitmap(0xFFFFFFFFu), nullptr);
    CBitmap* first = Render()->GetBitmap(7001);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Render()->GetBitmap(0xFFFFFFFFu), nullptr);
    EXPECT_EQ(Render()->GetBitmap(7001), first);
    for (UINT id = 7002; id < 7051; id++)
        ASSERT_NE(Render()->GetBitmap(id), nullptr) << id;
    EXPECT_EQ(Render()->GetBitmap(8000), nullptr);
}

TEST_F(Renderer, DrawSpritesCullsAndStopsBelowTheView)
{
    Canvas view(100, 100);
    Render()->UpdateView(&view.dc);
    CountedSprite left(1, -16, 10), right(1, 100, 10), above(1, 10, -16), partly(1, -8, 20);
    CountedSprite onEdge(1, 10, 100), below(1, 10, 101), tallAfter(1, 40, 50, 16, 100);
    std::list<JTGrafics*> list = {&above, &left, &right, &partly, &onEdge, &below, &tallAfter};
    Render()->SetRenderList(list);
    Render()->DrawSprites(&view.dc);
    EXPECT_EQ(left.m_nDraws, 0);
    EXPECT_EQ(right.m_nDraws, 0);
    EXPECT_EQ(above.m_nDraws, 0);
    EXPECT_EQ(partly.m_nDraws, 1);
    EXPECT_EQ(onEdge.m_nDraws, 1);
    EXPECT_EQ(below.m_nDraws, 0);
    EXPECT_EQ(tallAfter.m_nDraws, 0);
    Render()->ClearRenderList();
}

TEST_F(Renderer, LifeBarIsFivePixelsPerHealthPoint)
{
    MakeTileset();
    Decorat()->Create(30, 30, 4);
    TestHero* hero = new TestHero;
    hero->SetPos(400, 400);
    Manager()->Add(hero);
    const int healths[] = {9, 1};
    for (int health : healths)
    {
        hero->Set(health, 0);
        Canvas canvas(320, 240);
        Render()->Render(&canvas.dc);
        int right = 220 + 5 * health;
        EXPECT_EQ(canvas.At(221, 17), kRed) << health;
        EXPECT_EQ(canvas.At(right - 2, 17), kRed) << health;
        EXPECT_EQ(canvas.At(right - 1, 17), kBlack) << health;
        EXPECT_EQ(canvas.At(right, 17), TileColour(0)) << health;
        EXPECT_EQ(canvas.At(230, 11), TileColour(0)) << health;
        EXPECT_EQ(canvas.At(230, 22), TileColour(0)) << health;
    }
}

TEST_F(Renderer, HudShowsTheScoreOnlyWithAHero)
{
    Canvas probe(10, 10);
    if (!probe.dc.TextOut(0, 0, "x", 1))
        GTEST_SKIP() << "no font on this machine";
    MakeTileset();
    Decorat()->Create(30, 30, 4);
    auto inkInText = [](const Canvas& c) {
        for (int y = 10; y < 24; y++)
            for (int x = 10; x < 90; x++)
                if (c.At(x, y) != TileColour(0))
                    return true;
        return false;
    };
    Canvas without(320, 240);
    Render()->Render(&without.dc);
    EXPECT_FALSE(inkInText(without));
    EXPECT_EQ(without.At(222, 17), TileColour(0));

    TestHero* hero = new TestHero;
    hero->SetPos(400, 400);
    Manager()->Add(hero);
    Canvas with(320, 240);
    Render()->Render(&with.dc);
    EXPECT_TRUE(inkInText(with));
}

TEST_F(Renderer, SpriteWithoutMaskBlitsWithItsRasterCode)
{
    MakeSprites();
    Canvas canvas(64, 64);
    canvas.dc.FillSolidRect(0, 0, 64, 64, RGB(0, 0, 7));
    TestSprite* copy = Sheeted(0, 0, 0, false);
    TestSprite* paint = Sheeted(20, 0, 0, false);
    paint->SetRop(SRCPAINT);
    copy->Draw(&canvas.dc);
    paint->Draw(&canvas.dc);
    EXPECT_EQ(canvas.At(5, 5), kSheetA);
    EXPECT_EQ(canvas.At(25, 5), kSheetA | RGB(0, 0, 7));
    EXPECT_EQ(canvas.At(36, 5), RGB(0, 0, 7));
    delete copy;
    delete paint;
}

TEST_F(Renderer, MaskedSpriteLeavesTheGroundWhereTheSheetIsBlack)
{
    MakeSprites();
    Canvas canvas(64, 64);
    canvas.dc.FillSolidRect(0, 0, 64, 64, kGround);
    TestSprite* copy = Sheeted(0, 0, 1, true);
    TestSprite* paint = Sheeted(20, 20, 1, true);
    paint->SetRop(SRCPAINT);
    copy->Draw(&canvas.dc);
    paint->Draw(&canvas.dc);
    EXPECT_EQ(canvas.At(3, 3), kGround);
    EXPECT_EQ(canvas.At(12, 3), kSheetB);
    EXPECT_EQ(canvas.At(23, 23), kGround);
    EXPECT_EQ(canvas.At(32, 23), kSheetB | kGround);
    delete copy;
    delete paint;
}

TEST_F(Renderer, SpriteDrawsAtMapPositionMinusCamera)
{
    MakeSprites();
    Decorat()->Create(30, 30, 4);
    Canvas canvas(64, 64);
    Render()->UpdateView(&canvas.dc);
    Render()->SetCamera(100, 50);
    TestSprite* s = Sheeted(110, 60, 0, false);
    s->Draw(&canvas.dc);
    EXPECT_EQ(canvas.At(10, 10), kSheetA);
    EXPECT_EQ(canvas.At(25, 25), kSheetA);
    EXPECT_EQ(canvas.At(26, 10), kBlack);
    EXPECT_EQ(canvas.At(9, 10), kBlack);
    delete s;
}

TEST_F(Renderer, FramesBeyondTheSheetAndMissingBitmapsDrawNothing)
{
    MakeSprites();
    Canvas canvas(64, 64);
    canvas.dc.FillSolidRect(0, 0, 64, 64, kGround);
    TestSprite* beyond = Sheeted(0, 0, 5, true);
    beyond->Draw(&canvas.dc);
    TestSprite* plain = Sheeted(20, 0, 2, false);
    plain->Draw(&canvas.dc);
    for (UINT id = 7000; id < 7048; id++)
        Render()->GetBitmap(id);
    TestSprite* uncached = Sheeted(40, 0, 0, false);
    uncached->SetSheet(9999, -1);
    uncached->Draw(&canvas.dc);
    for (int y = 0; y < 20; y += 2)
        for (int x = 0; x < 64; x += 2)
            ASSERT_EQ(canvas.At(x, y), kGround) << x << ", " << y;
    EXPECT_TRUE(uncached->IsSeen());
    EXPECT_TRUE(beyond->IsSeen());
    delete beyond;
    delete plain;
    delete uncached;
}

TEST_F(Renderer, GameFramePaintsTilesThenSpritesLowerOnTop)
{
    MakeTileset();
    MakeSprites();
    Decorat()->Create(30, 30, 4);
    Decorat()->SetTile(0, 0, 7);
    TestSprite* upper = Sheeted(40, 40, 0, false);
    TestSprite* lower = Sheeted(48, 44, 1, true);
    Manager()->Add(lower);
    Manager()->Add(upper);
    Manager()->BuildRenderList();
    Canvas canvas(160, 120);
    Render()->Render(&canvas.dc);
    EXPECT_EQ(canvas.At(5, 5), TileColour(7));
    EXPECT_EQ(canvas.At(20, 5), TileColour(0));
    EXPECT_EQ(canvas.At(42, 42), kSheetA);
    EXPECT_EQ(canvas.At(50, 50), kSheetA);
    EXPECT_EQ(canvas.At(60, 50), kSheetB);
    EXPECT_EQ(canvas.At(60, 42), TileColour(0));
    EXPECT_TRUE(Render()->GetRenderList().empty());
    EXPECT_TRUE(upper->IsSeen());
}

namespace {
// The sheet fields of any drawable, read through members named from a class of its own.
struct Fields : JTGrafics
{
    static int JTGrafics::*SrcX() { return &Fields::m_nSrcX; }
    static int JTGrafics::*SrcY() { return &Fields::m_nSrcY; }
    static int JTGrafics::*Sheet() { return &Fields::m_nBitmapId; }
    static int JTGrafics::*Mask() { return &Fields::m_nMaskId; }
    static DWORD JTGrafics::*Rop() { return &Fields::m_dwRop; }
};

// A frame as the renderer drew it before it had paths of its own: a memory DC and a BitBlt for
// every tile, down each column, then one for every sprite as the render list's walk reaches it
// (at the renderer's camera and view), then the HUD.
void GeneralPathFrame(CDC* pDC, const std::list<JTGrafics*>& list, JTPlayer* hero)
{
    JTRender* r = JTRender::GetRender();
    JTDecorat* d = JTDecorat::GetDecorat();
    const RECT view = r->GetView();
    const int camX = r->GetCamX(), camY = r->GetCamY(), s = d->GetTileShift(), ts = 1 << s;
    BITMAP bm = {};
    if (!JTDecorat::GetTileBitmap()->GetBitmap(&bm) || bm.bmWidth <= 0)
        bm = BITMAP{};
    CDC tiles;
    tiles.CreateCompatibleDC(pDC);
    tiles.SelectObject(JTDecorat::GetTileBitmap());
    const long long firstCol = std::max<long long>(((long long)view.left + camX) >> s, 0);
    const long long firstRow = std::max<long long>(((long long)view.top + camY) >> s, 0);
    const long long endCol =
        std::min<long long>((((long long)view.right + camX) >> s) + 1, d->GetWidth());
    const long long endRow =
        std::min<long long>((((long long)view.bottom + camY) >> s) + 1, d->GetHeight());
    for (long long c = firstCol; c < endCol; c++)
        for (long long row = firstRow; row < endRow; row++)
        {
            long long along = (long long)d->GetTile(int(c), int(row)) * ts;
            if (bm.bmWidth > 0 && along / bm.bmWidth * ts < bm.bmHeight)
                pDC->BitBlt(int(c * ts - camX), int(row * ts - camY), ts, ts, &tiles,
                            int(along % bm.bmWidth), int(along / bm.bmWidth * ts), SRCCOPY);
        }
    for (JTGrafics* g : list)
    {
        if (g->GetY() > (long long)camY + view.bottom)
            break;
        if (g->GetX() >= (long long)camX + view.right
            || (long long)g->GetY() + g->GetHeight() <= camY
            || (long long)g->GetX() + g->GetWidth() <= camX)
            continue;
        CDC mem;
        mem.CreateCompatibleDC(pDC);
        CBitmap* pSheet = r->GetBitmap(UINT(g->*Fields::Sheet()));
        const int maskId = g->*Fields::Mask();
        CBitmap* pMask = maskId == -1 ? nullptr : r->GetBitmap(UINT(maskId));
        if (!pSheet || (maskId != -1 && !pMask))
            continue;
        mem.SelectObject(pSheet);
        int x = SaturateInt((long long)g->GetX() - camX);
        int y = SaturateInt((long long)g->GetY() - camY);
        if (pMask)
            pDC->MaskBlt(x, y, g->GetWidth(), g->GetHeight(), &mem, g->*Fields::SrcX(),
                         g->*Fields::SrcY(), *pMask, g->*Fields::SrcX(), g->*Fields::SrcY(),
                         MAKEROP4(SRCPAINT, g->*Fields::Rop()));
        else
            pDC->BitBlt(x, y, g->GetWidth(), g->GetHeight(), &mem, g->*Fields::SrcX(),
                        g->*Fields::SrcY(), g->*Fields::Rop());
    }
    if (!hero)
        return;
    pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(10, 10, CString(("Puntuacio:" + std::to_string(hero->GetScore())).c_str()));
    CBrush red(RGB(255, 0, 0));
    pDC->SelectObject(&red);
    pDC->Rectangle(220, 12, int(220 + 5LL * hero->GetHealth()), 22);
}

// A random frame's world: a map of random size and tiles (some beyond the tile set) over a tile
// set whose size is no multiple of a tile, sprites of every kind and of made-up sheets and
// codes scattered over and around the map, a camera after a hero or put anywhere.
struct RandomWorld
{
    std::mt19937 random;
    explicit RandomWorld(unsigned seed) : random(seed) {}
    int Pick(int lo, int hi) { return lo + int(random() % unsigned(hi - lo + 1)); }

    void Build()
    {
        JTRender* r = JTRender::GetRender();
        JTDecorat* d = JTDecorat::GetDecorat();
        if (Pick(0, 1))
            MakeTileset();
        else if (Pick(0, 4))
            MakeTileset(Pick(1, 200), Pick(1, 220));
        // Raw pixels with the top byte set, which no copy may pass on.
        if (Surface* t = JTDecorat::GetTileBitmap()->GetSurface())
            for (int i = Pick(0, 20); i > 0; i--)
                t->Row(Pick(0, t->Height() - 1))[Pick(0, t->Width() - 1)] = DWORD(random());
        d->Create(Pick(0, 40), Pick(0, 30), 4);
        for (int row = 0; row < d->GetHeight(); row++)
            for (int c = 0; c < d->GetWidth(); c++)
                d->SetTile(c, row, BYTE(Pick(0, 3) ? Pick(0, 160) : Pick(0, 255)));
        Surface* sheet = MakeSheet(r, 9001, 64, 32)->GetSurface();
        Surface* mask = MakeSheet(r, 9002, 64, 32, 1)->GetSurface();
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 64; x++)
            {
                bool hole = Pick(0, 2) == 0;
                sheet->SetPixel(x, y, hole ? 0 : DWORD(random()) & 0xFFFFFF);
                mask->SetPixel(x, y, hole ? 0xFFFFFF : 0);
            }
        const int mapW = d->GetWidth() * 16, mapH = d->GetHeight() * 16;
        for (int i = Pick(0, 40); i > 0; i--)
        {
            JTSprite* s = Sprite();
            s->SetPos(Pick(-64, mapW + 32), Pick(-64, mapH + 32));
            JTManager::GetManager()->Add(s);
        }
        JTManager::GetManager()->BuildRenderList();
        r->SetCamera(Pick(-50, mapW), Pick(-50, mapH));
    }

    JTSprite* Sprite()
    {
        switch (Pick(0, 3))
        {
        case 0:
            return JTKernel::GetKernel()->CreateSprite(Pick(0, 9)); // the hero among them
        case 1:
            return new JTEfecte(0, 3, 2, 16, 16, 9001, Pick(0, 1) ? 9002 : 9003);
        default:
        {
            TestSprite* s = new TestSprite(1, 0, 0, Pick(1, 40), Pick(1, 40));
            const DWORD rops[] = {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, BLACKNESS, PATCOPY};
            s->SetSheet(Pick(0, 5) ? 9001 : 9004, Pick(0, 2) ? 9002 : -1);
            s->SetRop(rops[Pick(0, 5)]);
            s->SetSrc(Pick(-8, 70), Pick(-8, 40));
            return s;
        }
        }
    }
};
} // namespace

// The frame the renderer draws on its own paths against the one the general blits draw, pixel
// for pixel, on targets of random size, clip box and viewport origin over random contents.
TEST(RendererFrames, RandomFramesMatchTheGeneralBlits)
{
    for (unsigned seed = 1; seed <= 300; seed++)
    {
        JTKernel* kernel = new JTKernel(nullptr);
        RandomWorld world(seed);
        world.Build();
        const std::list<JTGrafics*> list = JTRender::GetRender()->GetRenderList();
        JTPlayer* hero = JTRender::GetRender()->GetPlayer();
        Surface fast(world.Pick(1, 320), world.Pick(1, 240));
        for (int y = 0; y < fast.Height(); y++)
            for (int x = 0; x < fast.Width(); x++)
                fast.Row(y)[x] = DWORD(world.random());
        Surface general = fast;
        // Each edge of the view on the surface's edge, beyond it, or inside.
        auto edge = [&](int size, bool far) {
            int inside = far ? world.Pick(size * 2 / 3, size) : world.Pick(0, size / 3);
            return world.Pick(0, 1) ? inside : far ? world.Pick(size, size + 5) : world.Pick(-5, 0);
        };
        CRect clip(edge(fast.Width(), false), edge(fast.Height(), false), edge(fast.Width(), true),
                   edge(fast.Height(), true));
        CPoint origin(world.Pick(0, 2) ? 0 : world.Pick(-20, 20),
                      world.Pick(0, 2) ? 0 : world.Pick(-20, 20));
        CDC fastDC, generalDC;
        fastDC.AttachSurface(&fast, clip);
        generalDC.AttachSurface(&general, clip);
        fastDC.SetViewportOrg(origin);
        generalDC.SetViewportOrg(origin);

        JTRender::GetRender()->Render(&fastDC);
        GeneralPathFrame(&generalDC, list, hero);
        for (int y = 0; y < fast.Height(); y++)
            for (int x = 0; x < fast.Width(); x++)
                ASSERT_EQ(fast.Pixel(x, y), general.Pixel(x, y))
                    << "frame " << seed << " at " << x << ", " << y;
        delete kernel;
        JTModul::ClearSlot(MODUL_KERNEL);
    }
}

// Drawn onto its own tile set the map reads back cells it has already drawn, so its order shows:
// it stays the general path's, column by column.
TEST(RendererFrames, MapDrawnOntoItsOwnTileSetKeepsTheColumnOrder)
{
    for (unsigned seed = 1; seed <= 30; seed++)
    {
        JTKernel* kernel = new JTKernel(nullptr);
        RandomWorld world(seed);
        world.Build();
        JTRender::GetRender()->ClearRenderList();
        CBitmap* pTiles = JTDecorat::GetTileBitmap();
        if (pTiles->GetSurface() == nullptr)
            MakeTileset();
        const Surface before = *pTiles->GetSurface();
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(pTiles);
        JTRender::GetRender()->UpdateView(&dc);
        JTDecorat::GetDecorat()->Draw(&dc);
        const Surface drawn = *pTiles->GetSurface();
        *pTiles->GetSurface() = before;
        GeneralPathFrame(&dc, {}, nullptr);
        for (int y = 0; y < drawn.Height(); y++)
            for (int x = 0; x < drawn.Width(); x++)
                ASSERT_EQ(drawn.Pixel(x, y), pTiles->GetSurface()->Pixel(x, y))
                    << "frame " << seed << " at " << x << ", " << y;
        delete kernel;
        JTModul::ClearSlot(MODUL_KERNEL);
    }
}
