// png_decode.h -- PNG bytes to 32-bit pixels with libpng, keeping the image's bit depth.
#pragma once

#include "platform/surface.h"

#include <cstddef>

// Decodes a PNG into out. bitsPixel becomes 1, 4 or 8 for palette images (2-bit ones count as
// 4), 24 or 32 (with alpha, which is dropped) for grey and truecolour. 1-bit images become
// pure black and white. Any fault gives false and an empty out; nothing is printed.
bool DecodePng(const unsigned char* data, std::size_t size, Surface& out, int& bitsPixel);
