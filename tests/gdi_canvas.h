// gdi_canvas.h -- test helper: a 32-bit bitmap selected into a memory DC, filled with one colour.
#pragma once

#include "platform/gdi.h"

struct Canvas
{
    CBitmap bitmap;
    CDC dc;

    Canvas(int width, int height, COLORREF fill = RGB(0, 0, 0))
    {
        bitmap.CreateBitmap(width, height, 1, 32, nullptr);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, width, height, fill);
    }

    COLORREF At(int x, int y) const { return bitmap.GetSurface()->Pixel(x, y); }

    // How many pixels differ from colour, outside the rectangle `except` (right, bottom exclusive).
    int CountOtherThan(COLORREF colour, const CRect& except = CRect()) const
    {
        const Surface* s = bitmap.GetSurface();
        int n = 0;
        for (int y = 0; y < s->Height(); ++y) {
            for (int x = 0; x < s->Width(); ++x) {
                if (!except.PtInRect(CPoint(x, y)) && s->Pixel(x, y) != colour)
                    ++n;
            }
        }
        return n;
    }
};
