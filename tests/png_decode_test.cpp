// png_decode_test.cpp -- palette and truecolour PNGs written here with libpng, decoded to bitmaps.
#include "platform/gdi.h"
#include "platform/png_decode.h"

#include <png.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void Append(png_structp png, png_bytep data, png_size_t size)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

// A PNG of w x h samples; palette images take one index per sample and libpng packs them.
Bytes WritePng(int w, int h, int colourType, int depth, const std::vector<png_color>& palette,
               const std::vector<BYTE>& samples)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, Append, nullptr);
    png_set_IHDR(png, info, w, h, depth, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    png_write_info(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE && depth < 8)
        png_set_packing(png);
    int channels = int(samples.size()) / (w * h);
    for (int y = 0; y < h; ++y)
        png_write_row(png, samples.data() + std::size_t(y) * w * channels);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<png_color> Ramp(int n)
{
    std::vector<png_color> palette;
    for (int i = 0; i < n; ++i)
        palette.push_back(png_color{png_byte(i), png_byte(255 - i), png_byte(i * 7)});
    return palette;
}

COLORREF RampColour(int i)
{
    return RGB(BYTE(i), BYTE(255 - i), BYTE(i * 7));
}

TEST(PngDecode, OneBitMaskBecomesBlackAndWhite)
{
    std::vector<png_color> palette = {{0, 0, 0}, {255, 255, 255}};
    Bytes png = WritePng(10, 2, PNG_COLOR_TYPE_PALETTE, 1, palette,
                         {1, 0, 0, 1, 1, 1, 0, 0, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1});
    CBitmap mask;
    ASSERT_TRUE(mask.LoadFromPng(png.data(), png.size()));
    BITMAP info;
    ASSERT_EQ(mask.GetBitmap(&info), int(sizeof info));
    EXPECT_EQ(info.bmWidth, 10);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidthBytes, 2);
    const Surface* s = mask.GetSurface();
    EXPECT_EQ(s->Pixel(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(s->Pixel(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(s->Pixel(9, 0), RGB(255, 255, 255));
    EXPECT_EQ(s->Pixel(0, 1), RGB(0, 0, 0));
    EXPECT_EQ(s->Pixel(9, 1), RGB(255, 255, 255));
}

TEST(PngDecode, FourAndEightBitPalettesGiveTheirColours)
{
    std::vector<BYTE> indices;
    for (int i = 0; i < 16; ++i)
        indices.push_back(BYTE(15 - i));
    Bytes four = WritePng(16, 1, PNG_COLOR_TYPE_PALETTE, 4, Ramp(16), indices);
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromPng(four.data(), four.size()));
    BITMAP info;
    bmp.GetBitmap(&info);
    EXPECT_EQ(info.bmBitsPixel, 4);
    EXPECT_EQ(info.bmWidthBytes, 8);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(bmp.GetSurface()->Pixel(x, 0), RampColour(15 - x)) << x;

    std::vector<BYTE> all;
    for (int i = 0; i < 256; ++i)
        all.push_back(BYTE(i));
    Bytes eight = WritePng(16, 16, PNG_COLOR_TYPE_PALETTE, 8, Ramp(256), all);
    ASSERT_TRUE(bmp.LoadFromPng(eight.data(), eight.size()));
    bmp.GetBitmap(&info);
    EXPECT_EQ(info.bmBitsPixel, 8);
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(bmp.GetSurface()->Pixel(3, 2), RampColour(35));
    EXPECT_EQ(bmp.GetSurface()->Pixel(15, 15), RampColour(255));
}

TEST(PngDecode, TruecolourKeepsRgbAndDropsAlpha)
{
    Bytes rgb = WritePng(2, 1, PNG_COLOR_TYPE_RGB, 8, {}, {1, 2, 3, 250, 128, 0});
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromPng(rgb.data(), rgb.size()));
    BITMAP info;
    bmp.GetBitmap(&info);
    EXPECT_EQ(info.bmBitsPixel, 24);
    EXPECT_EQ(bmp.GetSurface()->Pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(bmp.GetSurface()->Pixel(1, 0), RGB(250, 128, 0));

    Bytes rgba = WritePng(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {}, {9, 8, 7, 0});
    ASSERT_TRUE(bmp.LoadFromPng(rgba.data(), rgba.size()));
    bmp.GetBitmap(&info);
    EXPECT_EQ(info.bmBitsPixel, 32);
    EXPECT_EQ(bmp.GetSurface()->Pixel(0, 0), RGB(9, 8, 7));
}

TEST(PngDecode, CorruptDataGivesAnEmptyBitmap)
{
    std::vector<BYTE> all(64 * 64);
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = BYTE(i * 31);
    Bytes good = WritePng(64, 64, PNG_COLOR_TYPE_PALETTE, 8, Ramp(256), all);
    CBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromPng(good.data(), good.size()));

    Bytes truncated(good.begin(), good.begin() + good.size() / 2);
    EXPECT_FALSE(bmp.LoadFromPng(truncated.data(), truncated.size()));
    BITMAP info;
    EXPECT_EQ(bmp.GetBitmap(&info), 0);
    EXPECT_EQ(bmp.GetSurface(), nullptr);

    Bytes flipped = good;
    flipped[flipped.size() - 30] ^= 0x5A; // inside the image data: its checksum no longer holds
    EXPECT_FALSE(bmp.LoadFromPng(flipped.data(), flipped.size()));

    const unsigned char garbage[] = "not a picture at all";
    EXPECT_FALSE(bmp.LoadFromPng(garbage, sizeof garbage));
    EXPECT_FALSE(bmp.LoadFromPng(nullptr, 0));
}

TEST(PngDecode, HugeDimensionsAreRefusedBeforeAllocating)
{
    Bytes png = WritePng(1, 1, PNG_COLOR_TYPE_RGB, 8, {}, {1, 2, 3});
    // IHDR: 8-byte signature, length, "IHDR", then width; patch it and recompute the CRC.
    const std::size_t width = 16, crc = 29;
    png[width] = 0x00;
    png[width + 1] = 0x01;
    png[width + 2] = 0x86;
    png[width + 3] = 0xA0; // 100000 pixels wide
    uLong sum = crc32(0, png.data() + 12, 17);
    png[crc] = BYTE(sum >> 24);
    png[crc + 1] = BYTE(sum >> 16);
    png[crc + 2] = BYTE(sum >> 8);
    png[crc + 3] = BYTE(sum);
    Surface out;
    int bits = -1;
    EXPECT_FALSE(DecodePng(png.data(), png.size(), out, bits));
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(bits, 0);
}

} // namespace
