// bitmap.cpp -- CBitmap: bitmaps from the embedded PNG resources or made empty, kept as surfaces.
#include "platform/gdi.h"
#include "platform/png_decode.h"
#include "platform/resource.h"

#include <cstring>

namespace {

constexpr int kMaxSide = 32767;
constexpr long long kMaxPixels = 64LL << 20;

bool SizeAcceptable(int width, int height)
{
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide
        && (long long)width * height <= kMaxPixels;
}

// Device bitmaps pad each row to a whole 16-bit word.
int WidthBytes(int width, int bitsPixel)
{
    return int(((long long)width * bitsPixel + 15) / 16 * 2);
}

void UnpackMono(Surface& s, const BYTE* bits)
{
    int stride = WidthBytes(s.Width(), 1);
    for (int y = 0; y < s.Height(); ++y, bits += stride) {
        DWORD* row = s.Row(y);
        for (int x = 0; x < s.Width(); ++x)
            row[x] = (bits[x >> 3] & (0x80 >> (x & 7))) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    }
}

// 24- and 32-bit device pixels are stored blue, green, red (, unused).
void UnpackTrueColour(Surface& s, const BYTE* bits, int bytesPerPixel)
{
    int stride = bytesPerPixel == 4 ? s.Width() * 4 : WidthBytes(s.Width(), 24);
    for (int y = 0; y < s.Height(); ++y, bits += stride) {
        DWORD* row = s.Row(y);
        const BYTE* p = bits;
        for (int x = 0; x < s.Width(); ++x, p += bytesPerPixel)
            row[x] = RGB(p[2], p[1], p[0]);
    }
}

bool DepthAcceptable(UINT bitsPerPixel, const void* bits)
{
    switch (bitsPerPixel) {
    case 1:
    case 24:
    case 32:
        return true;
    case 4:
    case 8:
    case 16:
        return bits == nullptr; // without a palette their bits would mean nothing
    default:
        return false;
    }
}

} // namespace

BOOL CBitmap::Adopt(Surface&& pixels, int bitsPixel)
{
    m_pixels = std::make_shared<Surface>(std::move(pixels));
    m_bitsPixel = bitsPixel;
    return TRUE;
}

void CBitmap::Release()
{
    m_pixels.reset();
    m_bitsPixel = 0;
}

BOOL CBitmap::LoadFromPng(const unsigned char* data, std::size_t size)
{
    Release();
    Surface pixels;
    int bitsPixel = 0;
    if (!DecodePng(data, size, pixels, bitsPixel))
        return FALSE;
    return Adopt(std::move(pixels), bitsPixel);
}

BOOL CBitmap::LoadBitmap(UINT id)
{
    const EmbeddedResource* res = FindResourceById("BITMAP", id);
    if (res == nullptr) {
        Release();
        return FALSE;
    }
    return LoadFromPng(res->data, res->size);
}

BOOL CBitmap::LoadBitmap(LPCSTR name)
{
    const EmbeddedResource* res = FindResourceByName("BITMAP", name);
    if (res == nullptr) {
        Release();
        return FALSE;
    }
    return LoadFromPng(res->data, res->size);
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    Release();
    if (planes != 1 || !SizeAcceptable(width, height) || !DepthAcceptable(bitsPerPixel, bits))
        return FALSE;
    Surface pixels(width, height);
    if (bits != nullptr && bitsPerPixel == 1)
        UnpackMono(pixels, static_cast<const BYTE*>(bits));
    else if (bits != nullptr)
        UnpackTrueColour(pixels, static_cast<const BYTE*>(bits), int(bitsPerPixel / 8));
    return Adopt(std::move(pixels), int(bitsPerPixel));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const
{
    std::memset(pBitMap, 0, sizeof *pBitMap);
    if (m_pixels == nullptr)
        return 0;
    pBitMap->bmWidth = m_pixels->Width();
    pBitMap->bmHeight = m_pixels->Height();
    pBitMap->bmWidthBytes = WidthBytes(m_pixels->Width(), m_bitsPixel);
    pBitMap->bmPlanes = 1;
    pBitMap->bmBitsPixel = WORD(m_bitsPixel);
    return int(sizeof *pBitMap);
}
