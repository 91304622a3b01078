// font.cpp -- finds a font file with fontconfig and renders aliased glyphs from it with FreeType.
#include "platform/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

namespace {

// Windows-1252 bytes 0x80-0x9F are not Latin-1: their Unicode code points.
const unsigned short kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

unsigned long CodePoint(unsigned char c)
{
    return (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : c;
}

// The file fontconfig picks for the family, or "" when its best match is another family.
std::string FindFontFile(const char* family)
{
    std::string path;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr)
        return path;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* matchFamily = nullptr;
    FcChar8* file = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FAMILY, 0, &matchFamily) == FcResultMatch
        && FcStrCmpIgnoreCase(matchFamily, reinterpret_cast<const FcChar8*>(family)) == 0
        && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char*>(file);
    if (match != nullptr)
        FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return path;
}

void CopyInk(const FT_Bitmap& bitmap, Glyph& g)
{
    g.width = int(bitmap.width);
    g.rows = int(bitmap.rows);
    g.ink.assign(std::size_t(g.width) * std::size_t(g.rows), 0);
    for (int y = 0; y < g.rows; ++y) {
        const unsigned char* row = bitmap.buffer + (long)y * bitmap.pitch;
        for (int x = 0; x < g.width; ++x)
            g.ink[std::size_t(y) * g.width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

} // namespace

struct Font::Impl
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    Glyph glyphs[256];
    bool rendered[256] = {};
    ~Impl()
    {
        if (face != nullptr)
            FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }
};

Font::Font(std::unique_ptr<Impl> impl) : m_impl(std::move(impl))
{
    const FT_Size_Metrics& m = m_impl->face->size->metrics;
    m_ascent = int((m.ascender + 63) >> 6);
    m_height = m_ascent + int((-m.descender + 63) >> 6);
}

Font::~Font() = default;

std::unique_ptr<Font> Font::Open(const char* family, int points)
{
    std::string path = FindFontFile(family);
    if (path.empty())
        return nullptr;
    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0
        || FT_New_Face(impl->library, path.c_str(), 0, &impl->face) != 0
        || FT_Set_Char_Size(impl->face, 0, points * 64, 96, 96) != 0)
        return nullptr;
    return std::unique_ptr<Font>(new Font(std::move(impl)));
}

const Glyph& Font::GlyphFor(unsigned char c)
{
    Glyph& g = m_impl->glyphs[c];
    if (m_impl->rendered[c])
        return g;
    m_impl->rendered[c] = true;
    FT_Face face = m_impl->face;
    if (FT_Load_Char(face, CodePoint(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
        return g;
    g.left = face->glyph->bitmap_left;
    g.top = face->glyph->bitmap_top;
    g.advance = int((face->glyph->advance.x + 32) >> 6);
    if (face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        CopyInk(face->glyph->bitmap, g);
    return g;
}

Font* DefaultFont()
{
    static std::unique_ptr<Font> font = Font::Open("DejaVu Sans", 8);
    return font.get();
}
