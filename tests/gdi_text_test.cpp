// gdi_text_test.cpp -- TextOut with the default font: colours, background modes, extent, clipping.
#include "tests/gdi_canvas.h"

#include "platform/font.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kBack = RGB(0, 0, 200);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kGrey = RGB(90, 90, 90);

struct InkBox
{
    CRect box;
    int count = 0;
};

// Where pixels of the given colour lie on the canvas.
InkBox FindInk(const Canvas& c, COLORREF colour)
{
    const Surface* s = c.bitmap.GetSurface();
    InkBox ink;
    ink.box = CRect(s->Width(), s->Height(), -1, -1);
    for (int y = 0; y < s->Height(); ++y) {
        for (int x = 0; x < s->Width(); ++x) {
            if (s->Pixel(x, y) != colour)
                continue;
            ++ink.count;
            ink.box = CRect(std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                            std::max<LONG>(ink.box.right, x + 1),
                            std::max<LONG>(ink.box.bottom, y + 1));
        }
    }
    return ink;
}

TEST(TextOut, DefaultFontIsFoundAndSizedLikeTheDialogFont)
{
    ASSERT_NE(DefaultFont(), nullptr);
    CDC dc;
    CSize size = dc.GetTextExtent(CString("Puntuacio:123"));
    EXPECT_GE(size.cx, 75);
    EXPECT_LE(size.cx, 85);
    EXPECT_EQ(size.cy, 13);
}

TEST(TextOut, TransparentTextPaintsOnlyItsInkInTheTextColour)
{
    Canvas c(200, 40, kBack);
    c.dc.SetBkMode(TRANSPARENT);
    c.dc.SetTextColor(kYellow);
    const CString text("Puntuacio:123");
    ASSERT_TRUE(c.dc.TextOut(10, 10, text));
    CSize size = c.dc.GetTextExtent(text);
    InkBox ink = FindInk(c, kYellow);
    EXPECT_GT(ink.count, 60);
    EXPECT_GE(ink.box.left, 10);
    EXPECT_LE(ink.box.left, 12);
    EXPECT_GE(ink.box.top, 10);
    EXPECT_LE(ink.box.right, 10 + size.cx);
    EXPECT_LE(ink.box.bottom, 10 + size.cy);
    EXPECT_GE(ink.box.Width(), size.cx - 4);
    // Nothing but yellow ink and the untouched background.
    EXPECT_EQ(c.CountOtherThan(kBack), ink.count);
}

TEST(TextOut, OpaqueTextFillsItsCellWithTheBackgroundColour)
{
    Canvas c(200, 40, kBack);
    c.dc.SetTextColor(kYellow);
    c.dc.SetBkColor(kGrey);
    ASSERT_TRUE(c.dc.TextOut(5, 7, "Hola gp|", 8));
    CSize size = c.dc.GetTextExtent("Hola gp|", 8);
    CRect cell(5, 7, 5 + size.cx, 7 + size.cy);
    InkBox ink = FindInk(c, kYellow);
    InkBox bk = FindInk(c, kGrey);
    EXPECT_GT(ink.count, 10);
    EXPECT_EQ(bk.box, cell);
    EXPECT_EQ(ink.count + bk.count, size.cx * size.cy);
    EXPECT_EQ(c.CountOtherThan(kBack, cell), 0);
}

TEST(TextOut, ClipsAtTheEdgesAndHonoursTheViewportOrigin)
{
    Canvas c(30, 8, kBack);
    c.dc.SetBkMode(TRANSPARENT);
    c.dc.SetTextColor(kYellow);
    EXPECT_TRUE(c.dc.TextOut(-20, -4, "Puntuacio:123", 13));
    InkBox ink = FindInk(c, kYellow);
    EXPECT_GT(ink.count, 0);
    EXPECT_EQ(c.CountOtherThan(kBack), ink.count);

    Canvas d(100, 30, kBack);
    d.dc.SetViewportOrg(-50, 0);
    d.dc.SetBkMode(TRANSPARENT);
    d.dc.SetTextColor(kYellow);
    d.dc.TextOut(60, 5, "I", 1);
    InkBox moved = FindInk(d, kYellow);
    EXPECT_GE(moved.box.left, 10);
    EXPECT_LE(moved.box.right, 16);
}

TEST(Font, UnknownFamilyIsNotFound)
{
    EXPECT_EQ(Font::Open("No Such Family Tavrolu", 8), nullptr);
}

} // namespace
