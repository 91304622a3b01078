// raster.h -- the ternary raster operations that blits know, each as a loop over a rectangle.
#pragma once

#include "platform/windefs.h"

#include <array>
#include <cstddef>

// Combines w x h pixels of src (and the pattern colour) into dst, row after row; the skips are
// the surfaces' widths in pixels. Codes that ignore the source are handed dst as src, so the
// loops never test for it.
using RasterRect = void (*)(DWORD* dst, int dstSkip, const DWORD* src, int srcSkip, int w, int h,
                            DWORD pattern);

struct RasterOp
{
    BYTE code; // the ternary code: bits 16-23 of a raster operation
    bool usesSource;
    RasterRect run;
};

extern const std::array<const RasterOp*, 256> kRasterOps;

// The operation of a ternary code, or nullptr for one we do not draw.
inline const RasterOp* FindRasterOp(BYTE code)
{
    return kRasterOps[code];
}

// A clipped blit: every pointer and count is known to lie inside its surface.
struct BlitRows
{
    DWORD* dst;
    int dstSkip;
    const DWORD* src; // the destination itself when no operation reads a source
    int srcSkip;
    const BYTE* mask; // a byte a pixel: 0xFF where fore applies, 0 where back does
    int maskSkip;
    int w;
    int h;
    DWORD pattern;
};

void RunMasked(const BlitRows& rows, const RasterOp& fore, const RasterOp& back);

// One clipped copy between distinct surfaces: its first row in each.
struct CopyPiece
{
    DWORD* dst;
    const DWORD* src;
    int w;
    int h;
};

// Each piece in turn copied as SRCCOPY draws it, with no look-up: the many small copies of a
// tile map. The skips are the surfaces' widths in pixels.
void CopyPieces(const CopyPiece* pieces, std::size_t count, int dstSkip, int srcSkip);
