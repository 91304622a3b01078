// surface.h -- a block of 32-bit pixels in COLORREF layout (0x00BBGGRR), the memory every DC draws on.
#pragma once

#include "platform/geometry.h"
#include "platform/windefs.h"

#include <vector>

// Rows follow each other without padding; the top byte of every pixel stays 0.
class Surface
{
public:
    Surface() = default;
    Surface(int width, int height, COLORREF fill = 0) { Resize(width, height, fill); }

    // Sizes of 0 or less give an empty surface; the old contents are lost.
    void Resize(int width, int height, COLORREF fill = 0);
    void Fill(COLORREF colour);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    BOOL IsEmpty() const { return m_width == 0; }
    CRect Bounds() const { return CRect(0, 0, m_width, m_height); }

    // Writable rows count as a change: whoever writes asks for the row just before.
    DWORD* Row(int y)
    {
        ++m_changes;
        return m_pixels.data() + std::size_t(y) * std::size_t(m_width);
    }
    const DWORD* Row(int y) const { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    // Unchecked: the caller keeps (x, y) inside Bounds().
    COLORREF Pixel(int x, int y) const { return Row(y)[x]; }
    void SetPixel(int x, int y, COLORREF c) { Row(y)[x] = c & 0x00FFFFFF; }

    // The surface as a mask, a byte a pixel: 0xFF where the pixel is not black, 0 where it is.
    // Made again only after the pixels have changed, so a mask drawn with every frame costs a
    // quarter of its pixels' bytes to read.
    const BYTE* MaskBytes() const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<DWORD> m_pixels;
    unsigned long long m_changes = 0;
    mutable std::vector<BYTE> m_maskBytes;
    mutable unsigned long long m_maskMadeAt = ~0ULL;
};
