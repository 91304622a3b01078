// raster.cpp -- the table of raster operations: code, whether it reads the source, pixel loop.
#include "platform/raster.h"

#include <array>
#include <cstring>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// Pixels keep their top byte 0, so inverting operations mask it off again.
constexpr DWORD kColour = 0x00FFFFFF;

// Four pixels at a time in the compiler's vector type, which becomes the machine's vector
// registers where it has them.
typedef DWORD Pixels4 __attribute__((vector_size(16)));

inline Pixels4 Load(const DWORD* p)
{
    Pixels4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void Store(DWORD* p, Pixels4 v)
{
    std::memcpy(p, &v, sizeof v);
}

inline Pixels4 Splat(DWORD v)
{
    return Pixels4{v, v, v, v};
}

// A mask byte, 0xFF or 0, widened to a whole pixel of ones or zeros.
inline DWORD Picks(BYTE m)
{
    return DWORD(int(static_cast<signed char>(m)));
}

// Four mask bytes widened at once: each byte doubled twice over fills its pixel.
inline Pixels4 Picks(const BYTE* m)
{
#if defined(__SSE2__)
    int bytes;
    std::memcpy(&bytes, m, sizeof bytes);
    __m128i v = _mm_cvtsi32_si128(bytes);
    v = _mm_unpacklo_epi8(v, v);
    return (Pixels4)_mm_unpacklo_epi16(v, v);
#else
    return Pixels4{Picks(m[0]), Picks(m[1]), Picks(m[2]), Picks(m[3])};
#endif
}

// Blits between distinct memory: a blit within one surface reads from a copy (see blit.cpp).
template <class Op>
void Run(DWORD* __restrict dst, int dstSkip, const DWORD* __restrict src, int srcSkip, int w, int h,
         DWORD pattern)
{
    const Pixels4 colour = Splat(kColour), p = Splat(pattern);
    while (h--) {
        int i = 0;
        for (; i + 4 <= w; i += 4)
            Store(dst + i, Op::Apply(Load(src + i), Load(dst + i), p) & colour);
        for (; i < w; ++i)
            dst[i] = Op::Apply(src[i], dst[i], pattern) & kColour;
        dst += dstSkip;
        src += srcSkip;
    }
}

// Codes that read no source: src is dst itself and is never read.
template <class Op>
void RunOnTarget(DWORD* dst, int dstSkip, const DWORD*, int, int w, int h, DWORD pattern)
{
    const Pixels4 colour = Splat(kColour), p = Splat(pattern), none = Splat(0);
    while (h--) {
        int i = 0;
        for (; i + 4 <= w; i += 4)
            Store(dst + i, Op::Apply(none, Load(dst + i), p) & colour);
        for (; i < w; ++i)
            dst[i] = Op::Apply(DWORD(0), dst[i], pattern) & kColour;
        dst += dstSkip;
    }
}

// Each code as a function of source, target and brush, for a pixel and for four at once.
struct SrcCopy { template <class T> static T Apply(T s, T, T) { return s; } };
struct Blackness { template <class T> static T Apply(T, T, T) { return T{}; } };
struct NotSrcErase { template <class T> static T Apply(T s, T d, T) { return ~(s | d); } };
struct NotSrcCopy { template <class T> static T Apply(T s, T, T) { return ~s; } };
struct SrcErase { template <class T> static T Apply(T s, T d, T) { return s & ~d; } };
struct DstInvert { template <class T> static T Apply(T, T d, T) { return ~d; } };
struct PatInvert { template <class T> static T Apply(T, T d, T p) { return p ^ d; } };
struct SrcInvert { template <class T> static T Apply(T s, T d, T) { return s ^ d; } };
struct SrcAnd { template <class T> static T Apply(T s, T d, T) { return s & d; } };
struct Dest { template <class T> static T Apply(T, T d, T) { return d; } };
struct MergePaint { template <class T> static T Apply(T s, T d, T) { return ~s | d; } };
struct MergeCopy { template <class T> static T Apply(T s, T, T p) { return p & s; } };
struct SrcPaint { template <class T> static T Apply(T s, T d, T) { return s | d; } };
struct PatCopy { template <class T> static T Apply(T, T, T p) { return p; } };
struct PatPaint { template <class T> static T Apply(T s, T d, T p) { return p | ~s | d; } };
struct Whiteness { template <class T> static T Apply(T, T, T) { return ~T{}; } };

// The pattern is the DC's brush colour.
constexpr RasterOp kOps[] = {
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

constexpr std::array<const RasterOp*, 256> MakeIndex()
{
    std::array<const RasterOp*, 256> index{};
    for (const RasterOp& op : kOps)
        index[op.code] = &op;
    return index;
}

} // namespace

// Made at compile time, so every blit's look-up is one load.
constexpr std::array<const RasterOp*, 256> kRasterOps = MakeIndex();

namespace {

// Keeps fore's result where the mask is set, back's (already in dst) elsewhere.
void Select(DWORD* __restrict dst, int dstSkip, const DWORD* __restrict fore,
            const BYTE* __restrict mask, int maskSkip, int w, int h)
{
    while (h--) {
        for (int i = 0; i < w; ++i) {
            DWORD pick = Picks(mask[i]);
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

template <class Fore, class Back, class T> inline T Masked(T s, T d, T p, T pick, T colour)
{
    return ((Fore::Apply(s, d, p) & pick) | (Back::Apply(s, d, p) & ~pick)) & colour;
}

// One pass for a pair that reads the source: what masked sprites are drawn with every frame.
template <class Fore, class Back>
void RunMaskedPair(const BlitRows& r)
{
    DWORD* __restrict dst = r.dst;
    const DWORD* __restrict src = r.src;
    const BYTE* __restrict mask = r.mask;
    const int w = r.w;
    const Pixels4 colour = Splat(kColour), p = Splat(r.pattern);
    for (int h = r.h; h--; dst += r.dstSkip, src += r.srcSkip, mask += r.maskSkip) {
        int i = 0;
        for (; i + 4 <= w; i += 4) {
            Pixels4 s = Load(src + i), d = Load(dst + i);
            Store(dst + i, Masked<Fore, Back>(s, d, p, Picks(mask + i), colour));
        }
        for (; i < w; ++i)
            dst[i] = Masked<Fore, Back>(src[i], dst[i], r.pattern, Picks(mask[i]), kColour);
    }
}

#if defined(__x86_64__)
// The sprites' own pair, SRCPAINT where the mask is set and SRCCOPY elsewhere, eight pixels at
// a time where the processor has AVX2, which halves what a frame's sprites cost. Both results
// in one: s | d where the mask is set, s where it is clear, is s | (d & mask).
__attribute__((target("avx2"))) void PaintOverCopyAvx2(const BlitRows& r)
{
    DWORD* dst = r.dst;
    const DWORD* src = r.src;
    const BYTE* mask = r.mask;
    const int w = r.w;
    const __m256i colour = _mm256_set1_epi32(int(kColour));
    for (int h = r.h; h--; dst += r.dstSkip, src += r.srcSkip, mask += r.maskSkip) {
        int i = 0;
        for (; i + 8 <= w; i += 8) {
            long long bytes;
            std::memcpy(&bytes, mask + i, sizeof bytes);
            __m256i pick = _mm256_cvtepi8_epi32(_mm_cvtsi64_si128(bytes));
            __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
            __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
            __m256i out = _mm256_and_si256(_mm256_or_si256(s, _mm256_and_si256(d, pick)), colour);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), out);
        }
        for (; i < w; ++i)
            dst[i] = (src[i] | (dst[i] & Picks(mask[i]))) & kColour;
    }
}

void PaintOverCopy(const BlitRows& r)
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        PaintOverCopyAvx2(r);
    else
        RunMaskedPair<SrcPaint, SrcCopy>(r);
}
#else
void PaintOverCopy(const BlitRows& r)
{
    RunMaskedPair<SrcPaint, SrcCopy>(r);
}
#endif

struct MaskedPair
{
    BYTE fore;
    BYTE back;
    void (*run)(const BlitRows& r);
};

// Sprites over the background (SRCPAINT where the mask is set, SRCCOPY elsewhere), and the
// classic transparent copy (SRCCOPY where set, the target kept elsewhere).
const MaskedPair kPairs[] = {
    {0xEE, 0xCC, PaintOverCopy},
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

namespace {

void CopyPiecesPlain(const CopyPiece* pieces, std::size_t count, int dstSkip, int srcSkip)
{
    const Pixels4 colour = Splat(kColour);
    for (const CopyPiece* p = pieces; p != pieces + count; ++p) {
        DWORD* dst = p->dst;
        const DWORD* src = p->src;
        for (int h = p->h; h--; dst += dstSkip, src += srcSkip) {
            int i = 0;
            for (; i + 4 <= p->w; i += 4)
                Store(dst + i, Load(src + i) & colour);
            for (; i < p->w; ++i)
                dst[i] = src[i] & kColour;
        }
    }
}

#if defined(__x86_64__)
// Eight pixels at a time where the processor has AVX2.
__attribute__((target("avx2"))) void CopyPiecesAvx2(const CopyPiece* pieces, std::size_t count,
                                                     int dstSkip, int srcSkip)
{
    const __m256i colour = _mm256_set1_epi32(int(kColour));
    for (const CopyPiece* p = pieces; p != pieces + count; ++p) {
        DWORD* dst = p->dst;
        const DWORD* src = p->src;
        const int w = p->w;
        for (int h = p->h; h--; dst += dstSkip, src += srcSkip) {
            int i = 0;
            for (; i + 8 <= w; i += 8) {
                __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
                s = _mm256_and_si256(s, colour);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), s);
            }
            for (; i < w; ++i)
                dst[i] = src[i] & kColour;
        }
    }
}
#endif

} // namespace

void CopyPieces(const CopyPiece* pieces, std::size_t count, int dstSkip, int srcSkip)
{
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) {
        CopyPiecesAvx2(pieces, count, dstSkip, srcSkip);
        return;
    }
#endif
    CopyPiecesPlain(pieces, count, dstSkip, srcSkip);
}
