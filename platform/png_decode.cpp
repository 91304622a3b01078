// png_decode.cpp -- decodes the embedded PNG bitmaps with libpng's classic API, quietly.
#include "platform/png_decode.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace {

// Larger images are refused before anything is allocated: no resource comes near this.
constexpr png_uint_32 kMaxSide = 8192;
constexpr std::size_t kMaxPixels = std::size_t(16) << 20;

struct MemorySource
{
    const unsigned char* data;
    std::size_t size;
    std::size_t pos;
};

struct Header
{
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int colourType = 0;
    int bitDepth = 0;
    int paletteSize = 0;
    COLORREF palette[256] = {};
    std::size_t rowBytes = 0;
};

// Owns the libpng structures; they are released in reverse order of creation.
struct Reader
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    MemorySource source{};
    ~Reader() { png_destroy_read_struct(&png, &info, nullptr); }
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count)
{
    auto* src = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (count > src->size - src->pos)
        png_error(png, "truncated");
    std::memcpy(out, src->data + src->pos, count);
    src->pos += count;
}

// libpng's default handlers print to stderr; ours only unwind.
void OnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void CopyPalette(png_structp png, png_infop info, Header& h)
{
    png_colorp colours = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &colours, &count) == 0)
        count = 0;
    h.paletteSize = count > 256 ? 256 : count;
    for (int i = 0; i < h.paletteSize; ++i)
        h.palette[i] = RGB(colours[i].red, colours[i].green, colours[i].blue);
}

// Palette images keep one index byte per pixel; everything else becomes 8-bit RGB.
void SetTransforms(png_structp png, const Header& h)
{
    if (h.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_packing(png);
    } else {
        png_set_strip_16(png);
        png_set_strip_alpha(png);
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    png_set_interlace_handling(png);
}

// No object with a destructor lives in a frame that libpng may longjmp out of.
bool ReadHeader(Reader& r, Header& h)
{
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_set_user_limits(r.png, kMaxSide, kMaxSide);
    png_set_read_fn(r.png, &r.source, ReadFromMemory);
    png_read_info(r.png, r.info);
    h.width = png_get_image_width(r.png, r.info);
    h.height = png_get_image_height(r.png, r.info);
    h.colourType = png_get_color_type(r.png, r.info);
    h.bitDepth = png_get_bit_depth(r.png, r.info);
    if (h.colourType == PNG_COLOR_TYPE_PALETTE)
        CopyPalette(r.png, r.info, h);
    SetTransforms(r.png, h);
    png_read_update_info(r.png, r.info);
    h.rowBytes = png_get_rowbytes(r.png, r.info);
    return true;
}

bool ReadRows(Reader& r, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(r.png)))
        return false;
    png_read_image(r.png, rows);
    return true;
}

int BitsPixel(const Header& h)
{
    if (h.colourType == PNG_COLOR_TYPE_PALETTE)
        return h.bitDepth == 2 ? 4 : h.bitDepth;
    return (h.colourType & PNG_COLOR_MASK_ALPHA) ? 32 : 24;
}

// 1-bit images are masks: each palette colour becomes black or white by its brightness.
COLORREF MonoColour(COLORREF c)
{
    int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
    return sum >= 384 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

// Palette indices past the palette's end read black.
void PaletteTable(const Header& h, COLORREF (&lut)[256])
{
    for (int i = 0; i < 256; ++i)
        lut[i] = i >= h.paletteSize ? 0 : h.bitDepth == 1 ? MonoColour(h.palette[i]) : h.palette[i];
}

void ConvertPaletteRow(const Header& h, const COLORREF (&lut)[256], const png_byte* in, DWORD* out)
{
    for (png_uint_32 x = 0; x < h.width; ++x)
        out[x] = lut[in[x]];
}

void ConvertRgbRow(const Header& h, const png_byte* in, DWORD* out)
{
    for (png_uint_32 x = 0; x < h.width; ++x, in += 3)
        out[x] = RGB(in[0], in[1], in[2]);
}

bool SizeAcceptable(const Header& h)
{
    if (h.width == 0 || h.height == 0 || h.width > kMaxSide || h.height > kMaxSide)
        return false;
    if (std::size_t(h.width) * h.height > kMaxPixels)
        return false;
    std::size_t perPixel = h.colourType == PNG_COLOR_TYPE_PALETTE ? 1 : 3;
    return h.rowBytes == std::size_t(h.width) * perPixel;
}

bool DecodeInto(Reader& r, Surface& out, int& bitsPixel)
{
    Header h;
    if (!ReadHeader(r, h) || !SizeAcceptable(h))
        return false;
    std::vector<png_byte> buffer(h.rowBytes * h.height);
    std::vector<png_bytep> rows(h.height);
    for (png_uint_32 y = 0; y < h.height; ++y)
        rows[y] = buffer.data() + std::size_t(y) * h.rowBytes;
    if (!ReadRows(r, rows.data()))
        return false;
    COLORREF lut[256];
    PaletteTable(h, lut);
    out.Resize(int(h.width), int(h.height));
    for (png_uint_32 y = 0; y < h.height; ++y) {
        if (h.colourType == PNG_COLOR_TYPE_PALETTE)
            ConvertPaletteRow(h, lut, rows[y], out.Row(int(y)));
        else
            ConvertRgbRow(h, rows[y], out.Row(int(y)));
    }
    bitsPixel = BitsPixel(h);
    return true;
}

} // namespace

bool DecodePng(const unsigned char* data, std::size_t size, Surface& out, int& bitsPixel)
{
    out.Resize(0, 0);
    bitsPixel = 0;
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return false;
    Reader r;
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (r.png == nullptr)
        return false;
    r.info = png_create_info_struct(r.png);
    if (r.info == nullptr)
        return false;
    r.source = MemorySource{data, size, 0};
    if (DecodeInto(r, out, bitsPixel))
        return true;
    out.Resize(0, 0);
    bitsPixel = 0;
    return false;
}
