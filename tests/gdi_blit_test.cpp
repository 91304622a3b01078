// gdi_blit_test.cpp -- BitBlt and MaskBlt: every raster code, masks, clipping, viewport origin.
#include "tests/gdi_canvas.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kSrc = RGB(0x12, 0x34, 0x56);
constexpr COLORREF kDst = RGB(0xF0, 0x0F, 0xAA);
constexpr COLORREF kPat = RGB(0x81, 0x42, 0x24);
constexpr COLORREF kBack = RGB(0, 0, 200);

// A memory DC holding a sheet whose pixel (x, y) is RGB(x * 10, y * 10, 7).
struct Sheet : Canvas
{
    Sheet(int w, int h) : Canvas(w, h)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                dc.SetPixel(x, y, RGB(x * 10, y * 10, 7));
    }
    static COLORREF Pixel(int x, int y) { return RGB(x * 10, y * 10, 7); }
};

struct RopCase
{
    DWORD rop;
    COLORREF expected;
};

TEST(BitBlt, EveryRasterCodeCombinesSourceDestinationAndBrush)
{
    const COLORREF s = kSrc, d = kDst, p = kPat, m = 0xFFFFFF;
    const RopCase cases[] = {
        {SRCCOPY, s},
        {SRCPAINT, s | d},
        {SRCAND, s & d},
        {SRCINVERT, s ^ d},
        {SRCERASE, s & ~d & m},
        {NOTSRCCOPY, ~s & m},
        {NOTSRCERASE, ~(s | d) & m},
        {MERGECOPY, p & s},
        {MERGEPAINT, (~s | d) & m},
        {PATCOPY, p},
        {PATPAINT, (p | ~s | d) & m},
        {PATINVERT, p ^ d},
        {DSTINVERT, ~d & m},
        {BLACKNESS, 0},
        {WHITENESS, m},
    };
    Canvas src(4, 4, kSrc);
    for (const RopCase& c : cases) {
        Canvas dst(6, 6, kDst);
        CBrush brush(kPat);
        dst.dc.SelectObject(&brush);
        EXPECT_TRUE(dst.dc.BitBlt(1, 1, 4, 4, &src.dc, 0, 0, c.rop)) << std::hex << c.rop;
        EXPECT_EQ(dst.At(1, 1), c.expected) << std::hex << c.rop;
        EXPECT_EQ(dst.At(4, 4), c.expected) << std::hex << c.rop;
        EXPECT_EQ(dst.CountOtherThan(kDst, CRect(1, 1, 5, 5)), 0) << std::hex << c.rop;
    }
}

TEST(BitBlt, UnknownCodeOrMissingSourceFails)
{
    Canvas dst(4, 4, kDst);
    Canvas src(4, 4, kSrc);
    EXPECT_FALSE(dst.dc.BitBlt(0, 0, 4, 4, &src.dc, 0, 0, 0x00120000));
    EXPECT_FALSE(dst.dc.BitBlt(0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(dst.dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(dst.At(1, 1), 0u);
    EXPECT_EQ(dst.CountOtherThan(kDst, CRect(0, 0, 2, 2)), 0);
}

TEST(BitBlt, ClipsAtEachEdgeOfTheDestination)
{
    Sheet sheet(4, 4);
    struct Edge
    {
        int x, y;
        CRect drawn; // in the destination
    };
    const Edge edges[] = {
        {-2, 3, CRect(0, 3, 2, 7)},  // left
        {8, 3, CRect(8, 3, 10, 7)},  // right: nothing wraps into the next row
        {3, -3, CRect(3, 0, 7, 1)},  // top
        {3, 9, CRect(3, 9, 7, 10)},  // bottom
    };
    for (const Edge& e : edges) {
        Canvas dst(10, 10, kBack);
        EXPECT_TRUE(dst.dc.BitBlt(e.x, e.y, 4, 4, &sheet.dc, 0, 0, SRCCOPY));
        EXPECT_EQ(dst.At(e.drawn.left, e.drawn.top),
                  Sheet::Pixel(e.drawn.left - e.x, e.drawn.top - e.y));
        EXPECT_EQ(dst.At(e.drawn.right - 1, e.drawn.bottom - 1),
                  Sheet::Pixel(e.drawn.right - 1 - e.x, e.drawn.bottom - 1 - e.y));
        EXPECT_EQ(dst.CountOtherThan(kBack, e.drawn), 0) << e.x << "," << e.y;
    }
}

TEST(BitBlt, NeverReadsOutsideTheSourceBitmap)
{
    Sheet sheet(4, 4);
    Canvas dst(10, 10, kBack);
    // Two columns left of and one row above the sheet: only the part inside it is drawn.
    dst.dc.BitBlt(2, 2, 4, 4, &sheet.dc, -2, -1, SRCCOPY);
    EXPECT_EQ(dst.At(4, 3), Sheet::Pixel(0, 0));
    EXPECT_EQ(dst.At(5, 5), Sheet::Pixel(1, 2));
    EXPECT_EQ(dst.CountOtherThan(kBack, CRect(4, 3, 6, 6)), 0);
    // Right of and below the sheet.
    Canvas dst2(10, 10, kBack);
    dst2.dc.BitBlt(0, 0, 4, 4, &sheet.dc, 3, 2, SRCCOPY);
    EXPECT_EQ(dst2.At(0, 1), Sheet::Pixel(3, 3));
    EXPECT_EQ(dst2.CountOtherThan(kBack, CRect(0, 0, 1, 2)), 0);
}

TEST(BitBlt, TileBeyondTheSheetDrawsNothing)
{
    // A 192 x 208 tile set has 156 tiles; tile 200 lies below the image.
    Sheet tiles(192, 208);
    Canvas dst(32, 32, kBack);
    int t = 200;
    EXPECT_TRUE(dst.dc.BitBlt(0, 0, 16, 16, &tiles.dc, (t * 16) % 192, (t * 16) / 192 * 16, SRCCOPY));
    EXPECT_EQ(dst.CountOtherThan(kBack), 0);
}

TEST(BitBlt, EmptyBitmapsAndDcsWithoutBitmapDrawNothing)
{
    Canvas dst(8, 8, kBack);
    CBitmap failed;
    EXPECT_FALSE(failed.LoadBitmap(987654u));
    CDC mem;
    mem.CreateCompatibleDC(&dst.dc);
    EXPECT_EQ(mem.SelectObject(&failed), nullptr); // an empty bitmap cannot be selected
    EXPECT_TRUE(dst.dc.BitBlt(0, 0, 8, 8, &mem, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.CountOtherThan(kBack), 0);
    Sheet sheet(4, 4);
    EXPECT_TRUE(mem.BitBlt(0, 0, 4, 4, &sheet.dc, 0, 0, SRCCOPY));
    CRect box;
    EXPECT_EQ(mem.GetClipBox(&box), NULLREGION);
    EXPECT_TRUE(box.IsRectEmpty());
}

TEST(BitBlt, OverlappingCopyOnOneSurfaceScrollsCleanly)
{
    Sheet sheet(8, 8);
    sheet.dc.BitBlt(1, 1, 6, 6, &sheet.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(sheet.At(1, 1), Sheet::Pixel(0, 0));
    EXPECT_EQ(sheet.At(6, 6), Sheet::Pixel(5, 5));
    EXPECT_EQ(sheet.At(0, 0), Sheet::Pixel(0, 0));
}

TEST(BitBlt, ViewportOriginShiftsLogicalCoordinates)
{
    Sheet sheet(4, 4);
    Canvas dst(10, 10, kBack);
    dst.dc.SetViewportOrg(-100, -200); // scrolled by (100, 200)
    CRect box;
    EXPECT_EQ(dst.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(100, 200, 110, 210));
    CPoint p(3, 4);
    dst.dc.DPtoLP(&p);
    EXPECT_EQ(p, CPoint(103, 204));
    dst.dc.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(3, 4));
    dst.dc.BitBlt(102, 203, 4, 4, &sheet.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(2, 3), Sheet::Pixel(0, 0));
    EXPECT_EQ(dst.CountOtherThan(kBack, CRect(2, 3, 6, 7)), 0);
}

TEST(BitBlt, AttachedSurfaceDrawsOnlyInsideItsClipBox)
{
    Surface window(20, 10, kBack);
    CDC dc;
    EXPECT_TRUE(dc.AttachSurface(&window, CRect(5, 2, 30, 6)));
    CRect box;
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(5, 2, 20, 6));
    Canvas white(20, 10, RGB(255, 255, 255));
    dc.BitBlt(0, 0, 20, 10, &white.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(window.Pixel(5, 2), RGB(255, 255, 255));
    EXPECT_EQ(window.Pixel(19, 5), RGB(255, 255, 255));
    EXPECT_EQ(window.Pixel(4, 2), kBack);
    EXPECT_EQ(window.Pixel(5, 6), kBack);
    EXPECT_EQ(dc.SelectObject(&white.bitmap), nullptr); // bitmaps go into memory DCs only
}

// A 4 x 1 sheet: black, red, black, green, and its mask: white over the black pixels.
struct SpriteSheet
{
    Canvas colour{4, 1};
    CBitmap mask;
    SpriteSheet()
    {
        colour.dc.SetPixel(1, 0, RGB(255, 0, 0));
        colour.dc.SetPixel(3, 0, RGB(0, 255, 0));
        const BYTE bits[] = {0xA0, 0x00}; // 1 0 1 0, padded to a word
        mask.CreateBitmap(4, 1, 1, 1, bits);
    }
};

TEST(MaskBlt, CopyWhereMaskIsBlackOrWhereWhite)
{
    SpriteSheet sheet;
    Canvas dst(6, 3, kBack);
    EXPECT_TRUE(dst.dc.MaskBlt(1, 1, 4, 1, &sheet.colour.dc, 0, 0, sheet.mask, 0, 0, 0xCCEE0086));
    EXPECT_EQ(dst.At(1, 1), kBack);
    EXPECT_EQ(dst.At(2, 1), RGB(255, 0, 0));
    EXPECT_EQ(dst.At(3, 1), kBack);
    EXPECT_EQ(dst.At(4, 1), RGB(0, 255, 0));
    EXPECT_EQ(dst.CountOtherThan(kBack, CRect(2, 1, 5, 2)), 0);
}

TEST(MaskBlt, PaintEverywhereOrsTheSprite)
{
    SpriteSheet sheet;
    Canvas dst(6, 3, kBack);
    EXPECT_EQ(MAKEROP4(SRCPAINT, SRCPAINT), 0xEEEE0086u);
    EXPECT_TRUE(dst.dc.MaskBlt(1, 1, 4, 1, &sheet.colour.dc, 0, 0, sheet.mask, 0, 0, 0xEEEE0086));
    EXPECT_EQ(dst.At(1, 1), kBack);
    EXPECT_EQ(dst.At(2, 1), RGB(255, 0, 200));
    EXPECT_EQ(dst.At(3, 1), kBack);
    EXPECT_EQ(dst.At(4, 1), RGB(0, 255, 200));
}

TEST(MaskBlt, MaskOffsetAndClippingFollowTheSource)
{
    SpriteSheet sheet;
    Canvas dst(6, 3, kBack);
    // Frame 1 of 2-pixel frames, partly off the left edge of the target.
    dst.dc.MaskBlt(-1, 0, 2, 1, &sheet.colour.dc, 2, 0, sheet.mask, 2, 0, 0xCCEE0086);
    EXPECT_EQ(dst.At(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(dst.CountOtherThan(kBack), 1);
    // Frame 2 lies beyond the sheet: nothing.
    dst.dc.MaskBlt(2, 2, 2, 1, &sheet.colour.dc, 4, 0, sheet.mask, 4, 0, 0xCCEE0086);
    EXPECT_EQ(dst.CountOtherThan(kBack), 1);
}

TEST(MaskBlt, MaskMustBeMonochromeAndEmptyMaskMeansForeEverywhere)
{
    SpriteSheet sheet;
    Canvas dst(6, 3, kBack);
    EXPECT_FALSE(dst.dc.MaskBlt(0, 0, 4, 1, &sheet.colour.dc, 0, 0, sheet.colour.bitmap, 0, 0,
                                0xCCEE0086));
    EXPECT_EQ(dst.CountOtherThan(kBack), 0);
    CBitmap none;
    EXPECT_TRUE(dst.dc.MaskBlt(0, 0, 4, 1, &sheet.colour.dc, 0, 0, none, 0, 0, 0xCCEE0086));
    EXPECT_EQ(dst.At(0, 0), kBack);
    EXPECT_EQ(dst.At(1, 0), RGB(255, 0, 200));
}

TEST(CBitmap, CreateGetAndDelete)
{
    CBitmap mono;
    const BYTE bits[] = {0xA0, 0xFF, 0x40, 0x00}; // rows of 3 pixels, padded to 16 bits
    ASSERT_TRUE(mono.CreateBitmap(3, 2, 1, 1, bits));
    BITMAP info;
    EXPECT_EQ(mono.GetBitmap(&info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidthBytes, 2);
    EXPECT_EQ(info.bmPlanes, 1);
    const Surface* s = mono.GetSurface();
    EXPECT_EQ(s->Pixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(s->Pixel(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(s->Pixel(2, 0), RGB(255, 255, 255));
    EXPECT_EQ(s->Pixel(1, 1), RGB(255, 255, 255));
    EXPECT_TRUE(mono.DeleteObject());
    EXPECT_EQ(mono.GetBitmap(&info), 0);
    EXPECT_EQ(info.bmWidth, 0);
    EXPECT_FALSE(mono.DeleteObject());

    CBitmap colour;
    const BYTE bgrx[] = {0x56, 0x34, 0x12, 0, 1, 2, 3, 0};
    ASSERT_TRUE(colour.CreateBitmap(2, 1, 1, 32, bgrx));
    EXPECT_EQ(colour.GetSurface()->Pixel(0, 0), RGB(0x12, 0x34, 0x56));
    EXPECT_FALSE(colour.CreateBitmap(2, 1, 1, 8, bgrx)); // no palette to read 8-bit bits with
    EXPECT_FALSE(colour.CreateBitmap(0, 5, 1, 32, nullptr));
}

TEST(CBitmap, MissingResourceGivesAnEmptyBitmap)
{
    CBitmap byId, byName;
    EXPECT_FALSE(byId.LoadBitmap(65000u));
    EXPECT_FALSE(byName.LoadBitmap("ID_NO_SUCH_PICTURE"));
    BITMAP info;
    EXPECT_EQ(byId.GetBitmap(&info), 0);
    EXPECT_EQ(byName.GetSafeHandle(), nullptr);
}

TEST(CDC, SelectionReturnsThePreviousObject)
{
    Canvas c(4, 4);
    CPen red(PS_SOLID, 2, RGB(255, 0, 0));
    CPen* old = c.dc.SelectObject(&red);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->Colour(), RGB(0, 0, 0));
    EXPECT_EQ(c.dc.SelectObject(old), &red);
    CGdiObject* oldBrush = c.dc.SelectStockObject(NULL_BRUSH);
    ASSERT_NE(oldBrush, nullptr);
    EXPECT_EQ(oldBrush->GetObjectType(), OBJ_BRUSH);
    EXPECT_EQ(static_cast<CBrush*>(oldBrush)->Colour(), RGB(255, 255, 255));
    EXPECT_TRUE(c.dc.GetCurrentBrush()->IsHollow());
    CPen empty;
    EXPECT_EQ(c.dc.SelectObject(&empty), nullptr);
    EXPECT_EQ(c.dc.SelectStockObject(42), nullptr);
    CBitmap other;
    other.CreateBitmap(2, 2, 1, 32, nullptr);
    EXPECT_EQ(c.dc.SelectObject(&other), &c.bitmap);
    CRect box;
    c.dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 2, 2));
}

} // namespace
