// shapes.cpp -- lines with the current pen and rectangles with the current pen and brush.
#include "platform/gdi.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

CPoint CDC::MoveTo(int x, int y)
{
    CPoint previous = m_position;
    m_position = CPoint(x, y);
    return previous;
}

BOOL CDC::LineTo(int x, int y)
{
    if (m_pen.style != PS_NULL)
        PaintLine(m_position.x, m_position.y, x, y);
    m_position = CPoint(x, y);
    return TRUE;
}

// A w-pixel pen covers w x w pixels around each point of the path, reaching w / 2 up and left.
void CDC::PaintSquare(int x, int y, int size, COLORREF colour)
{
    FillSolidRect(x - size / 2, y - size / 2, size, size, colour);
}

// Bresenham from (x0, y0) towards (x1, y1), logical coordinates; the end point is left out, so
// lines drawn one after the other never paint their joints twice.
void CDC::PaintLine(int x0, int y0, int x1, int y1)
{
    int reach = m_pen.width;
    CRect box;
    GetClipBox(&box);
    if (std::max(x0, x1) + reach < box.left || std::min(x0, x1) - reach >= box.right
        || std::max(y0, y1) + reach < box.top || std::min(y0, y1) - reach >= box.bottom)
        return;
    long long dx = std::llabs((long long)x1 - x0), dy = -std::llabs((long long)y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    long long err = dx + dy;
    long long steps = std::max(dx, -dy);
    while (steps--) {
        PaintSquare(x0, y0, m_pen.width, m_pen.colour);
        long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

// As GDI draws it: corners in any order; the outline is drawn inside the rectangle; with the
// null pen the brush alone covers one pixel less to the right and at the bottom.
BOOL CDC::Rectangle(int l, int t, int r, int b)
{
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    if (m_pen.style == PS_NULL) {
        if (!m_brush.hollow)
            FillSolidRect(l, t, r - l - 1, b - t - 1, m_brush.colour);
        return TRUE;
    }
    int pw = m_pen.width;
    int w = r - l, h = b - t;
    if (!m_brush.hollow && w > 2 * pw && h > 2 * pw)
        FillSolidRect(l + pw, t + pw, w - 2 * pw, h - 2 * pw, m_brush.colour);
    int side = std::min(pw, w), cap = std::min(pw, h);
    FillSolidRect(l, t, w, cap, m_pen.colour);
    FillSolidRect(l, b - cap, w, cap, m_pen.colour);
    FillSolidRect(l, t, side, h, m_pen.colour);
    FillSolidRect(r - side, t, side, h, m_pen.colour);
    return TRUE;
}
