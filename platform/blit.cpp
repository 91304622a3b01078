// blit.cpp -- BitBlt and MaskBlt: clip once at the entry, then plain row loops over the surfaces.
#include "platform/gdi.h"
#include "platform/raster.h"

#include <algorithm>
#include <cstring>

namespace {

// One rectangle seen in the destination (0), the source (1) and the mask (2), each at its own
// origin. 64-bit, so that far-off coordinates cannot overflow while clipping.
struct Span
{
    long long x[3];
    long long y[3];
    long long w;
    long long h;
};

// Shrinks the span until its part in space `which` lies inside bounds; false when nothing is left.
bool TrimTo(Span& s, int which, const CRect& bounds)
{
    long long left = std::max(0LL, bounds.left - s.x[which]);
    long long top = std::max(0LL, bounds.top - s.y[which]);
    long long right = std::min(s.w, bounds.right - s.x[which]);
    long long bottom = std::min(s.h, bounds.bottom - s.y[which]);
    if (right <= left || bottom <= top)
        return false;
    for (int i = 0; i < 3; ++i) {
        s.x[i] += left;
        s.y[i] += top;
    }
    s.w = right - left;
    s.h = bottom - top;
    return true;
}

// A copy of what a blit reads from a surface that it also writes (a scroll, say), so that rows
// already written are never read again.
const Surface* CopyOut(const Surface* from, long long& x, long long& y, const Span& s, Surface& copy)
{
    copy.Resize(int(s.w), int(s.h));
    for (int row = 0; row < int(s.h); ++row)
        std::memcpy(copy.Row(row), from->Row(int(y) + row) + x, std::size_t(s.w) * sizeof(DWORD));
    x = 0;
    y = 0;
    return &copy;
}

} // namespace

BOOL CDC::BitBlt(int x, int y, int w, int h, CDC* pSrcDC, int xSrc, int ySrc, DWORD rop)
{
    return Blit(x, y, w, h, pSrcDC, xSrc, ySrc, nullptr, 0, 0, MAKEROP4(rop, rop));
}

// As on the original, an empty mask bitmap means no mask: the fore operation everywhere.
BOOL CDC::MaskBlt(int x, int y, int w, int h, CDC* pSrcDC, int xSrc, int ySrc,
                  CBitmap& maskBitmap, int xMask, int yMask, DWORD rop)
{
    const Surface* mask = maskBitmap.GetSurface();
    if (mask == nullptr)
        return Blit(x, y, w, h, pSrcDC, xSrc, ySrc, nullptr, 0, 0, MAKEROP4(rop, rop));
    if (maskBitmap.BitsPixel() != 1)
        return FALSE;
    return Blit(x, y, w, h, pSrcDC, xSrc, ySrc, mask, xMask, yMask, rop);
}

// Reading no source, a code reads the target at the target's own place instead, so the loops
// never need to tell the two cases apart.
BOOL CDC::Blit(int x, int y, int w, int h, CDC* pSrcDC, int xSrc, int ySrc, const Surface* mask,
               int xMask, int yMask, DWORD rop4)
{
    const RasterOp* fore = FindRasterOp(BYTE(rop4 >> 16));
    const RasterOp* back = FindRasterOp(BYTE(rop4 >> 24));
    if (fore == nullptr || back == nullptr)
        return FALSE;
    bool readsSource = fore->usesSource || back->usesSource;
    if (readsSource && pSrcDC == nullptr)
        return FALSE;
    if (w <= 0 || h <= 0 || m_target == nullptr)
        return TRUE;

    const Surface* src = readsSource ? pSrcDC->m_target : m_target;
    long long dx = (long long)x + m_viewportOrg.x, dy = (long long)y + m_viewportOrg.y;
    Span s{{dx, readsSource ? (long long)xSrc + pSrcDC->m_viewportOrg.x : dx, xMask},
           {dy, readsSource ? (long long)ySrc + pSrcDC->m_viewportOrg.y : dy, yMask}, w, h};
    if (src == nullptr || !TrimTo(s, 1, src->Bounds()) || !TrimTo(s, 0, m_clip)
        || (mask != nullptr && !TrimTo(s, 2, mask->Bounds())))
        return TRUE;

    Surface srcCopy, maskCopy;
    if (readsSource && src == m_target)
        src = CopyOut(src, s.x[1], s.y[1], s, srcCopy);
    if (mask == m_target)
        mask = CopyOut(mask, s.x[2], s.y[2], s, maskCopy);
    BlitRows rows{m_target->Row(int(s.y[0])) + s.x[0], m_target->Width(),
                  src->Row(int(s.y[1])) + s.x[1], src->Width(),
                  mask ? mask->Row(int(s.y[2])) + s.x[2] : nullptr, mask ? mask->Width() : 0,
                  int(s.w), int(s.h), m_brush.colour};
    if (mask == nullptr || fore == back)
        fore->run(rows.dst, rows.dstSkip, rows.src, rows.srcSkip, rows.w, rows.h, rows.pattern);
    else
        RunMasked(rows, *fore, *back);
    return TRUE;
}
