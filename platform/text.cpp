// text.cpp -- TextOut and GetTextExtent: glyphs of the default font in the DC's text colours.
#include "platform/font.h"
#include "platform/gdi.h"

CSize CDC::GetTextExtent(LPCSTR text, int count) const
{
    Font* font = DefaultFont();
    if (font == nullptr || text == nullptr)
        return CSize(0, 0);
    int width = 0;
    for (int i = 0; i < count; ++i)
        width += font->GlyphFor(static_cast<unsigned char>(text[i])).advance;
    return CSize(width, font->Height());
}

// The top of the text lies at y; an opaque background covers each character's whole cell.
BOOL CDC::TextOut(int x, int y, LPCSTR text, int count)
{
    Font* font = DefaultFont();
    if (font == nullptr)
        return FALSE;
    if (text == nullptr || count <= 0)
        return TRUE;
    if (m_bkMode == OPAQUE) {
        CSize extent = GetTextExtent(text, count);
        FillSolidRect(x, y, extent.cx, extent.cy, m_bkColour);
    }
    int baseline = y + font->Ascent();
    for (int i = 0; i < count; ++i) {
        const Glyph& g = font->GlyphFor(static_cast<unsigned char>(text[i]));
        for (int row = 0; row < g.rows; ++row) {
            for (int col = 0; col < g.width; ++col) {
                if (g.ink[std::size_t(row) * g.width + col])
                    SetPixel(x + g.left + col, baseline - g.top + row, m_textColour);
            }
        }
        x += g.advance;
    }
    return TRUE;
}
