// blit.cpp -- BitBlt and MaskBlt: clip once at the entry, then plain row loops over the surfaces.
#include "platform/gdi.h"
#include "platform/raster.h"

#include <algorithm>
#include <cstring>

namespace {

// One rectangle seen in the destination, the source and the mask, each at its own origin.
// 64-bit, so that far-off coordinates cannot overflow while clipping.
struct Span
{
    long long x, y;         // destination
    long long srcX, srcY;
    long long maskX, maskY;
    long long w, h;

    // Keeps the part whose point in a space offset by (ox, oy) from the destination lies in
    // bounds; the offsets are that space's origin less the destination's.
    void Limit(long long ox, long long oy, const CRect& bounds, long long& left, long long& top,
               long long& right, long long& bottom) const
    {
        left = std::max(left, bounds.left - ox);
        top = std::max(top, bounds.top - oy);
        right = std::min(right, bounds.right - ox);
        bottom = std::min(bottom, bounds.bottom - oy);
    }
};

// Shrinks the span to what lies inside the clip box and inside the source and the mask;
// false when nothing is left.
bool Clip(Span& s, const CRect& clip, const Surface* src, const Surface* mask)
{
    long long left = s.x, top = s.y, right = s.x + s.w, bottom = s.y + s.h;
    s.Limit(0, 0, clip, left, top, right, bottom);
    s.Limit(s.srcX - s.x, s.srcY - s.y, src->Bounds(), left, top, right, bottom);
    if (mask != nullptr)
        s.Limit(s.maskX - s.x, s.maskY - s.y, mask->Bounds(), left, top, right, bottom);
    if (right <= left || bottom <= top)
        return false;
    long long dx = left - s.x, dy = top - s.y;
    s.x = left;
    s.y = top;
    s.srcX += dx;
    s.srcY += dy;
    s.maskX += dx;
    s.maskY += dy;
    s.w = right - left;
    s.h = bottom - top;
    return true;
}

// Runs a clipped blit: fore alone without a mask or where both codes are the same.
void RunClipped(const Span& s, Surface* target, const Surface* src, const Surface* mask,
         const RasterOp& fore, const RasterOp& back, DWORD pattern)
{
    const BYTE* maskBytes = nullptr;
    if (mask != nullptr)
        maskBytes = mask->MaskBytes() + std::size_t(s.maskY) * std::size_t(mask->Width()) + s.maskX;
    BlitRows rows{target->Row(int(s.y)) + s.x, target->Width(), src->Row(int(s.srcY)) + s.srcX,
                  src->Width(), maskBytes, mask ? mask->Width() : 0, int(s.w), int(s.h), pattern};
    if (mask == nullptr || &fore == &back)
        fore.run(rows.dst, rows.dstSkip, rows.src, rows.srcSkip, rows.w, rows.h, rows.pattern);
    else
        RunMasked(rows, fore, back);
}

// A blit that reads the surface it writes (a scroll, say) reads from a copy, so that rows
// already written are never read again. A mask needs none: its bytes are a copy already.
void RunFromCopy(Span s, Surface* target, const Surface* mask, const RasterOp& fore,
                 const RasterOp& back, DWORD pattern)
{
    Surface copy(int(s.w), int(s.h));
    for (int row = 0; row < int(s.h); ++row)
        std::memcpy(copy.Row(row), target->Row(int(s.srcY) + row) + s.srcX,
                    std::size_t(s.w) * sizeof(DWORD));
    s.srcX = 0;
    s.srcY = 0;
    RunClipped(s, target, &copy, mask, fore, back, pattern);
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
    Span s{dx, dy,
           readsSource ? (long long)xSrc + pSrcDC->m_viewportOrg.x : dx,
           readsSource ? (long long)ySrc + pSrcDC->m_viewportOrg.y : dy,
           xMask, yMask, w, h};
    if (src == nullptr || !Clip(s, m_clip, src, mask))
        return TRUE;

    if (readsSource && src == m_target)
        RunFromCopy(s, m_target, mask, *fore, *back, m_brush.colour);
    else
        RunClipped(s, m_target, src, mask, *fore, *back, m_brush.colour);
    return TRUE;
}
