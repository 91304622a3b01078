// frame_diff_test.cpp -- random frames of blits, as a game frame and the editor issue them, against
// the blit rule worked out pixel by pixel from the ternary code itself.
#include "tests/gdi_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Every code we draw: the game's own (tiles and sprites) and the rest of the table.
const BYTE kCodes[] = {0x00, 0x11, 0x33, 0x44, 0x55, 0x5A, 0x66, 0x88,
                       0xAA, 0xBB, 0xC0, 0xCC, 0xEE, 0xF0, 0xFB, 0xFF};

// A ternary code is a truth table: bit (p, s, d) of the code is the result for those bits.
DWORD Ternary(BYTE code, DWORD s, DWORD d, DWORD p)
{
    DWORD out = 0;
    for (int bit = 0; bit < 24; ++bit) {
        int index = int((p >> bit) & 1) << 2 | int((s >> bit) & 1) << 1 | int((d >> bit) & 1);
        out |= DWORD((code >> index) & 1) << bit;
    }
    return out;
}

bool ReadsSource(BYTE code)
{
    return ((code >> 2) & 0x33) != (code & 0x33);
}

// A blit as the rule states it: each pixel that lies in the clip box and whose source and mask
// pixels exist takes fore where the mask is not black, back elsewhere; the source is read as it
// was before the blit.
void Reference(Surface& target, const CRect& clip, CPoint origin, int x, int y, int w, int h,
               const Surface* source, CPoint srcOrigin, int xs, int ys, const Surface* mask, int xm,
               int ym, BYTE fore, BYTE back, DWORD pattern)
{
    // Copies first: the source or the mask may be the target itself.
    bool readsSource = ReadsSource(fore) || ReadsSource(back);
    Surface before = readsSource ? *source : Surface();
    Surface maskBefore = mask ? *mask : Surface();
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            CPoint d(x + origin.x + i, y + origin.y + j);
            CPoint s(xs + srcOrigin.x + i, ys + srcOrigin.y + j);
            CPoint m(xm + i, ym + j);
            if (!clip.PtInRect(d) || (readsSource && !before.Bounds().PtInRect(s)) ||
                (mask && !maskBefore.Bounds().PtInRect(m)))
                continue;
            DWORD sp = readsSource ? before.Pixel(s.x, s.y) : 0;
            BYTE code = !mask || maskBefore.Pixel(m.x, m.y) != 0 ? fore : back;
            target.SetPixel(d.x, d.y, Ternary(code, sp, target.Pixel(d.x, d.y), pattern));
        }
    }
}

struct Frame
{
    std::mt19937 random;
    Surface expected;

    explicit Frame(unsigned seed) : random(seed) {}
    int Pick(int lo, int hi) { return lo + int(random() % unsigned(hi - lo + 1)); }
    DWORD Colour() { return Pick(0, 3) == 0 ? 0 : DWORD(random()) & 0xFFFFFF; }

    // Sheets have black backgrounds and masks white over them, as the game's art does, with
    // some stray pixels of either kind.
    void Paint(CBitmap& bitmap, int w, int h, int bits)
    {
        bitmap.CreateBitmap(w, h, 1, UINT(bits), nullptr);
        Surface* s = bitmap.GetSurface();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                s->SetPixel(x, y, bits == 1 ? (Pick(0, 2) ? 0xFFFFFF : 0) : Colour());
        // A few pixels written raw with their top byte set, which no blit may pass on.
        for (int i = Pick(0, 8); i > 0; --i)
            s->Row(Pick(0, h - 1))[Pick(0, w - 1)] = bits == 1 ? 0x01000000 : DWORD(random());
    }
};

// One frame: tiles laid from a tile set at a camera offset, sprites blitted through their masks
// with the game's codes, and blits of every code, each with random sizes and places that cross
// every edge; some read the target itself, as source or as mask.
void PlayFrame(Frame& f, CDC& dc, Surface& target, const CRect& clip, CDC& tiles, CDC& sheet,
               CBitmap& mask, CBitmap& targetBitmap)
{
    f.expected = target;
    auto blit = [&](int x, int y, int w, int h, CDC* pSrc, int xs, int ys, CBitmap* pMask, int xm,
                    int ym, BYTE fore, BYTE back) {
        DWORD rop = DWORD(fore) << 16 | DWORD(back) << 24;
        if (pMask)
            EXPECT_TRUE(dc.MaskBlt(x, y, w, h, pSrc, xs, ys, *pMask, xm, ym, rop));
        else
            EXPECT_TRUE(dc.BitBlt(x, y, w, h, pSrc, xs, ys, rop & 0x00FF0000));
        CPoint srcOrigin = pSrc->GetViewportOrg();
        // Read from the target, a source or a mask is the target as the rule left it.
        const Surface* source = pSrc == &dc ? &f.expected : pSrc->GetSurface();
        const Surface* maskSurface = pMask == &targetBitmap ? &f.expected
                                     : pMask                ? pMask->GetSurface()
                                                            : nullptr;
        Reference(f.expected, clip, dc.GetViewportOrg(), x, y, w, h, source, srcOrigin, xs, ys,
                  maskSurface, xm, ym, fore, pMask ? back : fore, dc.GetCurrentBrush()->Colour());
    };
    int camX = f.Pick(-20, 20), camY = f.Pick(-20, 20);
    for (int c = -1; c < 8; ++c)
        for (int r = -1; r < 6; ++r)
            blit(c * 16 - camX, r * 16 - camY, 16, 16, &tiles, f.Pick(0, 12) * 16,
                 f.Pick(0, 13) * 16, nullptr, 0, 0, 0xCC, 0xCC);
    for (int i = f.Pick(10, 40); i > 0; --i) {
        int w = f.Pick(1, 40), h = f.Pick(1, 40), frame = f.Pick(0, 5) * 16;
        BYTE own = f.Pick(0, 1) ? 0xCC : 0xEE;
        blit(f.Pick(-40, 110), f.Pick(-40, 80), w, h, &sheet, frame, f.Pick(-4, 20), &mask, frame,
             f.Pick(-4, 20), 0xEE, own);
    }
    for (int i = f.Pick(5, 20); i > 0; --i) {
        BYTE fore = kCodes[f.Pick(0, 15)], back = kCodes[f.Pick(0, 15)];
        if (f.Pick(0, 3) == 0) { // the pairs drawn with loops of their own
            fore = f.Pick(0, 1) ? 0xEE : 0xCC;
            back = fore == 0xEE ? 0xCC : 0xAA;
        }
        CBrush brush(f.Colour());
        CBrush* old = dc.SelectObject(&brush);
        bool self = f.Pick(0, 4) == 0;
        CBitmap* pMask = f.Pick(0, 2) == 0 ? nullptr : &mask;
        if (pMask && targetBitmap.BitsPixel() == 1 && f.Pick(0, 1))
            pMask = &targetBitmap; // drawing onto a mask through itself
        int x = f.Pick(-40, 110), y = f.Pick(-40, 80), w = f.Pick(1, 50), h = f.Pick(1, 50);
        // Read from the target, the source lies a few pixels off, overlapping what is written.
        int xs = self ? x + f.Pick(-5, 5) : f.Pick(-30, 100);
        int ys = self ? y + f.Pick(-5, 5) : f.Pick(-30, 80);
        int xm = f.Pick(-30, 100), ym = f.Pick(-30, 80);
        blit(x, y, w, h, self ? &dc : &sheet, xs, ys, pMask, xm, ym, fore, back);
        dc.SelectObject(old);
    }
}

} // namespace

TEST(FrameDiff, RandomFramesMatchTheRuleOfEveryCode)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        Frame f(seed);
        CBitmap tileBitmap, sheetBitmap, mask, targetBitmap;
        f.Paint(tileBitmap, 192, 208, 32);
        f.Paint(sheetBitmap, 96, 32, 32);
        f.Paint(mask, 96, 32, 1);
        int w = f.Pick(1, 100), h = f.Pick(1, 70);
        f.Paint(targetBitmap, w, h, f.Pick(0, 4) == 0 ? 1 : 32);
        CDC tiles, sheet, dc;
        tiles.CreateCompatibleDC(nullptr);
        tiles.SelectObject(&tileBitmap);
        sheet.CreateCompatibleDC(nullptr);
        sheet.SelectObject(&sheetBitmap);
        sheet.SetViewportOrg(f.Pick(0, 3) ? 0 : f.Pick(-5, 5), 0);
        Surface* target = targetBitmap.GetSurface();
        CRect clip = target->Bounds();
        if (f.Pick(0, 1)) {
            dc.CreateCompatibleDC(nullptr);
            dc.SelectObject(&targetBitmap);
        } else { // a window's surface, painted inside the part being redrawn
            int x0 = f.Pick(0, w), x1 = f.Pick(0, w), y0 = f.Pick(0, h), y1 = f.Pick(0, h);
            clip = CRect(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1));
            dc.AttachSurface(target, clip);
            clip.IntersectRect(clip, target->Bounds());
        }
        dc.SetViewportOrg(f.Pick(0, 2) ? 0 : f.Pick(-9, 9), f.Pick(0, 2) ? 0 : f.Pick(-9, 9));
        for (int round = 0; round < 2; ++round) {
            PlayFrame(f, dc, *target, clip, tiles, sheet, mask, targetBitmap);
            ASSERT_TRUE(f.expected.Width() == target->Width());
            for (int y = 0; y < target->Height(); ++y)
                for (int x = 0; x < target->Width(); ++x)
                    ASSERT_EQ(target->Pixel(x, y), f.expected.Pixel(x, y))
                        << "frame " << seed << " round " << round << " at " << x << ", " << y;
            // The mask changes between frames, each way a mask can be written.
            Surface* m = mask.GetSurface();
            m->SetPixel(f.Pick(0, 95), f.Pick(0, 31), f.Pick(0, 1) ? 0xFFFFFF : 0);
            CDC maskDC;
            maskDC.CreateCompatibleDC(nullptr);
            maskDC.SelectObject(&mask);
            maskDC.BitBlt(f.Pick(0, 90), f.Pick(0, 30), 8, 8, nullptr, 0, 0,
                          f.Pick(0, 1) ? WHITENESS : BLACKNESS);
        }
    }
}

// The masks of the art become bytes once and are made again whenever their pixels change.
TEST(FrameDiff, MaskIsReadAfreshAfterEachChange)
{
    Canvas target(8, 1, RGB(0, 0, 9));
    Canvas sheet(8, 1, RGB(7, 0, 0));
    CBitmap mask;
    mask.CreateBitmap(8, 1, 1, 1, nullptr); // all black: the back code everywhere
    const DWORD rop = MAKEROP4(SRCPAINT, SRCCOPY);
    target.dc.MaskBlt(0, 0, 8, 1, &sheet.dc, 0, 0, mask, 0, 0, rop);
    EXPECT_EQ(target.At(3, 0), RGB(7, 0, 0));

    mask.GetSurface()->Fill(0xFFFFFF);
    target.dc.FillSolidRect(0, 0, 8, 1, RGB(0, 0, 9));
    target.dc.MaskBlt(0, 0, 8, 1, &sheet.dc, 0, 0, mask, 0, 0, rop);
    EXPECT_EQ(target.At(3, 0), RGB(7, 0, 9));

    mask.GetSurface()->Row(0)[3] = 0; // written through a row, as a decoder does
    target.dc.FillSolidRect(0, 0, 8, 1, RGB(0, 0, 9));
    target.dc.MaskBlt(0, 0, 8, 1, &sheet.dc, 0, 0, mask, 0, 0, rop);
    EXPECT_EQ(target.At(3, 0), RGB(7, 0, 0));
    EXPECT_EQ(target.At(4, 0), RGB(7, 0, 9));
}

// A grid of cells copied at once draws what a BitBlt from a memory DC per cell draws, row after
// row: on targets with clip boxes and viewport origins, from sources with raw pixels and sizes
// no multiple of a cell, and onto the source itself.
TEST(FrameDiff, CellGridsMatchABitBltPerCell)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        Frame f(seed);
        CBitmap source, fast, general;
        f.Paint(source, f.Pick(1, 120), f.Pick(1, 120), 32);
        int w = f.Pick(1, 160), h = f.Pick(1, 120);
        f.Paint(fast, w, h, 32);
        general.CreateBitmap(w, h, 1, 32, nullptr);
        *general.GetSurface() = *fast.GetSurface();
        const bool self = f.Pick(0, 5) == 0;
        std::vector<BYTE> cells(400);
        for (BYTE& c : cells)
            c = BYTE(f.Pick(0, 255));
        std::vector<CellSource> sources(256);
        for (CellSource& s : sources)
            s = CellSource{f.Pick(0, 4) != 0, f.Pick(-10, 130), f.Pick(-10, 130)};
        int size = f.Pick(1, 24);
        CellGrid grid{cells.data(), 20, f.Pick(0, 20), f.Pick(0, 20), f.Pick(-40, 40),
                      f.Pick(-40, 40), size, f.Pick(0, 3) ? size : f.Pick(1, 24), sources.data()};
        CRect clip(f.Pick(-5, w / 2), f.Pick(-5, h / 2), f.Pick(w / 2, w + 5),
                   f.Pick(h / 2, h + 5));
        CDC fastDC, generalDC, sourceDC;
        CPoint origin(f.Pick(0, 2) ? 0 : f.Pick(-9, 9), f.Pick(0, 2) ? 0 : f.Pick(-9, 9));
        for (CDC* dc : {&fastDC, &generalDC}) {
            if (self) {
                dc->CreateCompatibleDC(nullptr);
                dc->SelectObject(dc == &fastDC ? &fast : &general);
            } else {
                dc->AttachSurface((dc == &fastDC ? fast : general).GetSurface(), clip);
            }
            dc->SetViewportOrg(origin);
        }
        sourceDC.CreateCompatibleDC(nullptr);
        sourceDC.SelectObject(self ? &general : &source);
        fastDC.CopyGrid(self ? fast : source, grid);
        for (int r = 0; r < grid.rows; ++r)
            for (int c = 0; c < grid.cols; ++c) {
                const CellSource& s = sources[cells[std::size_t(r) * 20 + c]];
                if (s.drawn)
                    generalDC.BitBlt(grid.x + c * grid.w, grid.y + r * grid.h, grid.w, grid.h,
                                     &sourceDC, s.x, s.y, SRCCOPY);
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(fast.GetSurface()->Pixel(x, y), general.GetSurface()->Pixel(x, y))
                    << "grid " << seed << " at " << x << ", " << y;
    }
}
