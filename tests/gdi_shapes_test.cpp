// gdi_shapes_test.cpp -- lines and rectangles: pens of 1 and 2 pixels, brushes, NULL_BRUSH.
#include "tests/gdi_canvas.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kBack = RGB(0, 0, 200);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(CDC, DefaultStateIsBlackPenWhiteBrushOpaqueText)
{
    CDC dc;
    EXPECT_EQ(dc.GetCurrentPen()->Colour(), kBlack);
    EXPECT_EQ(dc.GetCurrentPen()->Width(), 1);
    EXPECT_EQ(dc.GetCurrentBrush()->Colour(), kWhite);
    EXPECT_FALSE(dc.GetCurrentBrush()->IsHollow());
    EXPECT_EQ(dc.GetTextColor(), kBlack);
    EXPECT_EQ(dc.GetBkColor(), kWhite);
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.SetTextColor(kRed), kBlack);
    EXPECT_EQ(dc.SetBkColor(kBlack), kWhite);
}

TEST(LineTo, OnePixelPenLeavesOutTheEndPoint)
{
    Canvas c(12, 12, kBack);
    c.dc.MoveTo(2, 5);
    c.dc.LineTo(8, 5);
    for (int x = 2; x < 8; ++x)
        EXPECT_EQ(c.At(x, 5), kBlack) << x;
    EXPECT_EQ(c.CountOtherThan(kBack, CRect(2, 5, 8, 6)), 0);

    Canvas d(12, 12, kBack);
    EXPECT_EQ(d.dc.MoveTo(0, 0), CPoint(0, 0));
    d.dc.LineTo(4, 4);
    d.dc.LineTo(4, 0); // goes on from where the last line ended
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d.At(i, i), kBlack) << i;
        EXPECT_EQ(d.At(4, 4 - i), kBlack) << i;
    }
    EXPECT_EQ(d.At(4, 0), kBack);
    EXPECT_EQ(d.CountOtherThan(kBack), 8);
}

TEST(LineTo, ShallowSlopeSteps)
{
    Canvas c(12, 12, kBack);
    c.dc.MoveTo(0, 0);
    c.dc.LineTo(6, 2);
    EXPECT_EQ(c.CountOtherThan(kBack), 6);
    EXPECT_EQ(c.At(0, 0), kBlack);
    EXPECT_EQ(c.At(5, 2), kBlack);
}

TEST(LineTo, TwoPixelPenCoversTheSquareUpAndLeftOfEachPoint)
{
    Canvas c(12, 12, kBack);
    CPen red(PS_SOLID, 2, kRed);
    c.dc.SelectObject(&red);
    c.dc.MoveTo(3, 5);
    c.dc.LineTo(8, 5);
    EXPECT_EQ(c.CountOtherThan(kBack, CRect(2, 4, 8, 6)), 0);
    for (int x = 2; x < 8; ++x) {
        EXPECT_EQ(c.At(x, 4), kRed) << x;
        EXPECT_EQ(c.At(x, 5), kRed) << x;
    }
}

TEST(LineTo, CrossOverACellWithScrolledOriginAndClipping)
{
    // The blocked-tile overlay: a 2-pixel red cross over the cell at map (16, 16), view scrolled
    // by (8, 8), so the cell starts at device (8, 8) and is cut by the 20 x 20 target.
    Canvas c(20, 20, kBack);
    c.dc.SetViewportOrg(-8, -8);
    CPen red(PS_SOLID, 2, kRed);
    CPen* old = c.dc.SelectObject(&red);
    c.dc.MoveTo(16, 16);
    c.dc.LineTo(32, 32);
    c.dc.MoveTo(32, 16);
    c.dc.LineTo(16, 32);
    c.dc.SelectObject(old);
    EXPECT_EQ(c.At(8, 8), kRed);
    EXPECT_EQ(c.At(19, 19), kRed);
    EXPECT_EQ(c.At(7, 7), kRed); // the 2-pixel pen reaches one pixel up and left
    EXPECT_EQ(c.At(15, 15), kRed);
    EXPECT_EQ(c.At(1, 1), kBack);
    EXPECT_EQ(c.At(8, 19), kBack);
}

TEST(Rectangle, OnePixelPenOutlineAndBrushFill)
{
    Canvas c(12, 12, kBack);
    c.dc.Rectangle(2, 2, 8, 6); // right and bottom exclusive
    EXPECT_EQ(c.At(2, 2), kBlack);
    EXPECT_EQ(c.At(7, 5), kBlack);
    EXPECT_EQ(c.At(7, 2), kBlack);
    EXPECT_EQ(c.At(2, 5), kBlack);
    EXPECT_EQ(c.At(3, 3), kWhite);
    EXPECT_EQ(c.At(6, 4), kWhite);
    EXPECT_EQ(c.At(8, 5), kBack);
    EXPECT_EQ(c.At(7, 6), kBack);
    EXPECT_EQ(c.CountOtherThan(kBack, CRect(2, 2, 8, 6)), 0);
}

TEST(Rectangle, TwoPixelPenWithNullBrushLeavesTheInside)
{
    Canvas c(12, 12, kBack);
    CPen white(PS_SOLID, 2, kWhite);
    c.dc.SelectObject(&white);
    c.dc.SelectStockObject(NULL_BRUSH);
    c.dc.Rectangle(CRect(1, 1, 9, 8));
    for (int x = 1; x < 9; ++x) {
        EXPECT_EQ(c.At(x, 1), kWhite);
        EXPECT_EQ(c.At(x, 2), kWhite);
        EXPECT_EQ(c.At(x, 6), kWhite);
        EXPECT_EQ(c.At(x, 7), kWhite);
    }
    EXPECT_EQ(c.At(2, 4), kWhite);
    EXPECT_EQ(c.At(7, 4), kWhite);
    EXPECT_EQ(c.At(3, 3), kBack);
    EXPECT_EQ(c.At(6, 5), kBack);
    EXPECT_EQ(c.CountOtherThan(kBack, CRect(1, 1, 9, 8)), 0);
    EXPECT_EQ(c.CountOtherThan(kWhite, CRect(3, 3, 7, 6)), 12 * 12 - 8 * 7);
}

TEST(Rectangle, SolidBrushBarLikeTheLifeBar)
{
    Canvas c(300, 30, kBack);
    CBrush red;
    ASSERT_TRUE(red.CreateSolidBrush(kRed));
    CBrush* old = c.dc.SelectObject(&red);
    c.dc.Rectangle(220, 12, 220 + 5 * 9, 22);
    c.dc.SelectObject(old);
    EXPECT_TRUE(red.DeleteObject());
    EXPECT_EQ(c.At(220, 12), kBlack);
    EXPECT_EQ(c.At(264, 21), kBlack);
    EXPECT_EQ(c.At(221, 13), kRed);
    EXPECT_EQ(c.At(263, 20), kRed);
    EXPECT_EQ(c.CountOtherThan(kBack, CRect(220, 12, 265, 22)), 0);
    // No health: an empty rectangle draws nothing; reversed corners are put in order.
    Canvas d(300, 30, kBack);
    d.dc.Rectangle(220, 12, 220, 22);
    EXPECT_EQ(d.CountOtherThan(kBack), 0);
    d.dc.Rectangle(225, 22, 220, 12);
    EXPECT_EQ(d.CountOtherThan(kBack, CRect(220, 12, 225, 22)), 0);
    EXPECT_EQ(d.At(224, 21), kBlack);
}

TEST(Rectangle, NullPenFillsOnePixelLess)
{
    Canvas c(12, 12, kBack);
    c.dc.SelectStockObject(NULL_PEN);
    c.dc.SelectStockObject(BLACK_BRUSH);
    c.dc.Rectangle(2, 2, 6, 6);
    EXPECT_EQ(c.CountOtherThan(kBack, CRect(2, 2, 5, 5)), 0);
    EXPECT_EQ(c.At(4, 4), kBlack);
}

} // namespace
