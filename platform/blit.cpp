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

CDC::BlitSource CDC::SourceOf(CDC* pSrcDC, int xSrc, int ySrc)
{
    if (pSrcDC == nullptr)
        return BlitSource{false, nullptr, 0, 0};
    return BlitSource{true, pSrcDC->m_target, (long long)xSrc + pSrcDC->m_viewportOrg.x,
                      (long long)ySrc + pSrcDC->m_viewportOrg.y};
}

BOOL CDC::BitBlt(int x, int y, int w, int h, CDC* pSrcDC, int xSrc, int ySrc, DWORD rop)
{
    return Blit(x, y, w, h, SourceOf(pSrcDC, xSrc, ySrc), nullptr, 0, 0, MAKEROP4(rop, rop));
}

BOOL CDC::BitBlt(int x, int y, int w, int h, const CBitmap& source, int xSrc, int ySrc, DWORD rop)
{
    return Blit(x, y, w, h, BlitSource{true, source.GetSurface(), xSrc, ySrc}, nullptr, 0, 0,
                MAKEROP4(rop, rop));
}

BOOL CDC::MaskBlt(int x, int y, int w, int h, CDC* pSrcDC, int xSrc, int ySrc,
                  CBitmap& maskBitmap, int xMask, int yMask, DWORD rop)
{
    return MaskBlitFrom(x, y, w, h, SourceOf(pSrcDC, xSrc, ySrc), maskBitmap, xMask, yMask, rop);
}

BOOL CDC::MaskBlt(int x, int y, int w, int h, const CBitmap& source, int xSrc, int ySrc,
                  CBitmap& maskBitmap, int xMask, int yMask, DWORD rop)
{
    return MaskBlitFrom(x, y, w, h, BlitSource{true, source.GetSurface(), xSrc, ySrc}, maskBitmap,
                        xMask, yMask, rop);
}

// As in GDI, an empty mask bitmap means no mask: the fore operation everywhere.
BOOL CDC::MaskBlitFrom(int x, int y, int w, int h, const BlitSource& source, CBitmap& maskBitmap,
                       int xMask, int yMask, DWORD rop)
{
    const Surface* mask = maskBitmap.GetSurface();
    if (mask == nullptr)
        return Blit(x, y, w, h, source, nullptr, 0, 0, MAKEROP4(rop, rop));
    if (maskBitmap.BitsPixel() != 1)
        return FALSE;
    return Blit(x, y, w, h, source, mask, xMask, yMask, rop);
}

// Reading no source, a code reads the target at the target's own place instead, so the loops
// never need to tell the two cases apart.
BOOL CDC::Blit(int x, int y, int w, int h, const BlitSource& source, const Surface* mask,
               int xMask, int yMask, DWORD rop4)
{
    const RasterOp* fore = FindRasterOp(BYTE(rop4 >> 16));
    const RasterOp* back = FindRasterOp(BYTE(rop4 >> 24));
    if (fore == nullptr || back == nullptr)
        return FALSE;
    bool readsSource = fore->usesSource || back->usesSource;
    if (readsSource && !source.present)
        return FALSE;
    if (w <= 0 || h <= 0 || m_target == nullptr)
        return TRUE;

    const Surface* src = readsSource ? source.pixels : m_target;
    long long dx = (long long)x + m_viewportOrg.x, dy = (long long)y + m_viewportOrg.y;
    Span s{dx, dy, readsSource ? source.x : dx, readsSource ? source.y : dy, xMask, yMask, w, h};
    if (src == nullptr || !Clip(s, m_clip, src, mask))
        return TRUE;

    if (readsSource && src == m_target)
        RunFromCopy(s, m_target, mask, *fore, *back, m_brush.colour);
    else
        RunClipped(s, m_target, src, mask, *fore, *back, m_brush.colour);
    return TRUE;
}

// Clipped as Blit clips, though a cell wholly inside the clip box and the source needs no
// clipping; the copies then go in batches, in the cells' order. A copy onto the source itself
// keeps the general path, which reads from a copy.
void CDC::CopyGrid(const CBitmap& source, const CellGrid& g)
{
    const Surface* src = source.GetSurface();
    if (src == nullptr || src == m_target || m_target == nullptr) {
        for (int r = 0; r < g.rows; ++r) {
            for (int c = 0; c < g.cols; ++c) {
                const CellSource& o = g.sources[g.cells[std::size_t(r) * g.stride + c]];
                if (o.drawn)
                    BitBlt(int(g.x + (long long)c * g.w), int(g.y + (long long)r * g.h), g.w, g.h,
                           source, o.x, o.y, SRCCOPY);
            }
        }
        return;
    }
    if (g.w <= 0 || g.h <= 0)
        return;
    constexpr std::size_t kBatch = 256;
    CopyPiece pieces[kBatch];
    std::size_t n = 0;
    const CRect inSource(0, 0, src->Width() - g.w + 1, src->Height() - g.h + 1);
    for (int r = 0; r < g.rows; ++r) {
        const long long y = (long long)g.y + (long long)r * g.h + m_viewportOrg.y;
        if (y >= m_clip.bottom || y + g.h <= m_clip.top)
            continue;
        const bool rowWhole = y >= m_clip.top && y + g.h <= m_clip.bottom;
        const BYTE* cells = g.cells + std::size_t(r) * g.stride;
        DWORD* row = rowWhole ? m_target->Row(int(y)) : nullptr;
        for (int c = 0; c < g.cols; ++c) {
            const CellSource& o = g.sources[cells[c]];
            if (!o.drawn)
                continue;
            const long long x = (long long)g.x + (long long)c * g.w + m_viewportOrg.x;
            if (rowWhole && x >= m_clip.left && x + g.w <= m_clip.right
                && inSource.PtInRect(CPoint(o.x, o.y))) {
                pieces[n++] = CopyPiece{row + x, src->Row(o.y) + o.x, g.w, g.h};
            } else {
                Span s{x, y, o.x, o.y, 0, 0, g.w, g.h};
                if (!Clip(s, m_clip, src, nullptr))
                    continue;
                pieces[n++] = CopyPiece{m_target->Row(int(s.y)) + s.x,
                                        src->Row(int(s.srcY)) + s.srcX, int(s.w), int(s.h)};
            }
            if (n == kBatch) {
                CopyPieces(pieces, n, m_target->Width(), src->Width());
                n = 0;
            }
        }
    }
    CopyPieces(pieces, n, m_target->Width(), src->Width());
}
