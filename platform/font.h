// font.h -- the default font: DejaVu Sans found through fontconfig, glyphs rendered by FreeType.
#pragma once

#include "platform/windefs.h"

#include <memory>
#include <vector>

// One character's picture: one byte per pixel, 1 where ink is, aliased so that text is exact.
struct Glyph
{
    int left = 0;    // from the pen position to the picture's first column
    int top = 0;     // from the baseline up to the picture's first row
    int width = 0;
    int rows = 0;
    int advance = 0; // whole pixels to the next pen position
    std::vector<BYTE> ink;
};

class Font
{
public:
    // The family at the given size in points, at 96 dpi; nullptr when fontconfig finds no font
    // of exactly that family or FreeType cannot open it.
    static std::unique_ptr<Font> Open(const char* family, int points);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The glyph of a Windows-1252 character, rendered on first use and kept.
    const Glyph& GlyphFor(unsigned char c);
    int Ascent() const { return m_ascent; }
    // The cell that holds every glyph: 13 pixels for the default font, 10 above the baseline.
    int Height() const { return m_height; }

private:
    struct Impl;
    explicit Font(std::unique_ptr<Impl> impl);

    std::unique_ptr<Impl> m_impl;
    int m_ascent = 0;
    int m_height = 0;
};

// The font every DC writes with (DejaVu Sans, 8 points, like the dialogs' font), opened on
// first use; nullptr when it cannot be found.
Font* DefaultFont();
