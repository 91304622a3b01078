// raster.cpp -- the table of raster operations: code, whether it reads the source, pixel loop.
#include "platform/raster.h"

#include <array>
#include <vector>

namespace {

// Pixels keep their top byte 0, so inverting operations mask it off again.
constexpr DWORD kColour = 0x00FFFFFF;

// Blits between distinct memory: a blit within one surface reads from a copy (see blit.cpp).
template <DWORD (*Op)(DWORD s, DWORD d, DWORD p)>
void Run(DWORD* __restrict dst, int dstSkip, const DWORD* __restrict src, int srcSkip, int w, int h,
         DWORD pattern)
{
    while (h--) {
        for (int i = 0; i < w; ++i)
            dst[i] = Op(src[i], dst[i], pattern) & kColour;
        dst += dstSkip;
        src += srcSkip;
    }
}

// Codes that read no source: src is dst itself and is never read.
template <DWORD (*Op)(DWORD s, DWORD d, DWORD p)>
void RunOnTarget(DWORD* dst, int dstSkip, const DWORD*, int, int w, int h, DWORD pattern)
{
    while (h--) {
        for (int i = 0; i < w; ++i)
            dst[i] = Op(0, dst[i], pattern) & kColour;
        dst += dstSkip;
    }
}

constexpr DWORD SrcCopy(DWORD s, DWORD, DWORD) { return s; }
constexpr DWORD Blackness(DWORD, DWORD, DWORD) { return 0; }
constexpr DWORD NotSrcErase(DWORD s, DWORD d, DWORD) { return ~(s | d); }
constexpr DWORD NotSrcCopy(DWORD s, DWORD, DWORD) { return ~s; }
constexpr DWORD SrcErase(DWORD s, DWORD d, DWORD) { return s & ~d; }
constexpr DWORD DstInvert(DWORD, DWORD d, DWORD) { return ~d; }
constexpr DWORD PatInvert(DWORD, DWORD d, DWORD p) { return p ^ d; }
constexpr DWORD SrcInvert(DWORD s, DWORD d, DWORD) { return s ^ d; }
constexpr DWORD SrcAnd(DWORD s, DWORD d, DWORD) { return s & d; }
constexpr DWORD Dest(DWORD, DWORD d, DWORD) { return d; }
constexpr DWORD MergePaint(DWORD s, DWORD d, DWORD) { return ~s | d; }
constexpr DWORD MergeCopy(DWORD s, DWORD, DWORD p) { return p & s; }
constexpr DWORD SrcPaint(DWORD s, DWORD d, DWORD) { return s | d; }
constexpr DWORD PatCopy(DWORD, DWORD, DWORD p) { return p; }
constexpr DWORD PatPaint(DWORD s, DWORD d, DWORD p) { return p | ~s | d; }
constexpr DWORD Whiteness(DWORD, DWORD, DWORD) { return kColour; }

// The pattern is the DC's brush colour.
const RasterOp kOps[] = {
    {0x00, false, RunOnTarget<Blackness>},
    {0x11, true, Run<NotSrcErase>},
    {0x33, true, Run<NotSrcCopy>},
    {0x44, true, Run<SrcErase>},
    {0x55, false, RunOnTarget<DstInvert>},
    {0x5A, false, RunOnTarget<PatInvert>},
    {0x66, true, Run<SrcInvert>},
    {0x88, true, Run<SrcAnd>},
    {0xAA, false, RunOnTarget<Dest>},
    {0xBB, true, Run<MergePaint>},
    {0xC0, true, Run<MergeCopy>},
    {0xCC, true, Run<SrcCopy>},
    {0xEE, true, Run<SrcPaint>},
    {0xF0, false, RunOnTarget<PatCopy>},
    {0xFB, true, Run<PatPaint>},
    {0xFF, false, RunOnTarget<Whiteness>},
};

} // namespace

// Every blit looks its code up: an index by code, made once from the table.
const RasterOp* FindRasterOp(BYTE code)
{
    static const std::array<const RasterOp*, 256> byCode = [] {
        std::array<const RasterOp*, 256> index{};
        for (const RasterOp& op : kOps)
            index[op.code] = &op;
        return index;
    }();
    return byCode[code];
}

namespace {

// Keeps fore's result where the mask is set, back's (already in dst) elsewhere.
void Select(DWORD* __restrict dst, int dstSkip, const DWORD* __restrict fore,
            const DWORD* __restrict mask, int maskSkip, int w, int h)
{
    while (h--) {
        for (int i = 0; i < w; ++i) {
            DWORD pick = 0u - DWORD(mask[i] != 0);
            dst[i] = (fore[i] & pick) | (dst[i] & ~pick);
        }
        dst += dstSkip;
        fore += w;
        mask += maskSkip;
    }
}

// Any two operations: each runs over the whole rectangle, fore into a scratch copy of the
// target and back in place, then the mask picks between them.
void RunMaskedGeneric(const BlitRows& r, const RasterOp& fore, const RasterOp& back)
{
    thread_local std::vector<DWORD> scratch;
    scratch.resize(std::size_t(r.w) * std::size_t(r.h));
    DWORD* f = scratch.data();
    Run<SrcCopy>(f, r.w, r.dst, r.dstSkip, r.w, r.h, 0);
    fore.run(f, r.w, fore.usesSource ? r.src : f, fore.usesSource ? r.srcSkip : r.w, r.w, r.h,
             r.pattern);
    back.run(r.dst, r.dstSkip, back.usesSource ? r.src : r.dst,
             back.usesSource ? r.srcSkip : r.dstSkip, r.w, r.h, r.pattern);
    Select(r.dst, r.dstSkip, f, r.mask, r.maskSkip, r.w, r.h);
}

// One pass for a pair that reads the source: what masked sprites are drawn with every frame.
template <DWORD (*Fore)(DWORD s, DWORD d, DWORD p), DWORD (*Back)(DWORD s, DWORD d, DWORD p)>
void RunMaskedPair(const BlitRows& r)
{
    DWORD* __restrict dst = r.dst;
    const DWORD* __restrict src = r.src;
    const DWORD* __restrict mask = r.mask;
    const int w = r.w;
    const DWORD p = r.pattern;
    for (int h = r.h; h--; dst += r.dstSkip, src += r.srcSkip, mask += r.maskSkip) {
        for (int i = 0; i < w; ++i) {
            DWORD pick = 0u - DWORD(mask[i] != 0);
            DWORD s = src[i], d = dst[i];
            dst[i] = ((Fore(s, d, p) & pick) | (Back(s, d, p) & ~pick)) & kColour;
        }
    }
}

struct MaskedPair
{
    BYTE fore;
    BYTE back;
    void (*run)(const BlitRows& r);
};

// Sprites over the background (SRCPAINT where the mask is set, SRCCOPY elsewhere), and the
// classic transparent copy (SRCCOPY where set, the target kept elsewhere).
const MaskedPair kPairs[] = {
    {0xEE, 0xCC, RunMaskedPair<SrcPaint, SrcCopy>},
    {0xCC, 0xAA, RunMaskedPair<SrcCopy, Dest>},
};

} // namespace

void RunMasked(const BlitRows& r, const RasterOp& fore, const RasterOp& back)
{
    for (const MaskedPair& pair : kPairs) {
        if (pair.fore == fore.code && pair.back == back.code) {
            pair.run(r);
            return;
        }
    }
    RunMaskedGeneric(r, fore, back);
}
