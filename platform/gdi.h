// gdi.h -- stands in for the framework's drawing classes over GDI (CDC, CBitmap, CPen, CBrush) on software surfaces.
#pragma once

#include "platform/cstring.h"
#include "platform/geometry.h"
#include "platform/surface.h"
#include "platform/windefs.h"

#include <cstddef>
#include <memory>

// Raster operations, numbered as GDI numbers them: the ternary code sits in bits 16-23.
constexpr DWORD SRCCOPY = 0x00CC0020;     // S
constexpr DWORD SRCPAINT = 0x00EE0086;    // S | D
constexpr DWORD SRCAND = 0x008800C6;      // S & D
constexpr DWORD SRCINVERT = 0x00660046;   // S ^ D
constexpr DWORD SRCERASE = 0x00440328;    // S & ~D
constexpr DWORD NOTSRCCOPY = 0x00330008;  // ~S
constexpr DWORD NOTSRCERASE = 0x001100A6; // ~(S | D)
constexpr DWORD MERGECOPY = 0x00C000CA;   // P & S
constexpr DWORD MERGEPAINT = 0x00BB0226;  // ~S | D
constexpr DWORD PATCOPY = 0x00F00021;     // P
constexpr DWORD PATPAINT = 0x00FB0A09;    // P | ~S | D
constexpr DWORD PATINVERT = 0x005A0049;   // P ^ D
constexpr DWORD DSTINVERT = 0x00550009;   // ~D
constexpr DWORD BLACKNESS = 0x00000042;   // 0
constexpr DWORD WHITENESS = 0x00FF0062;   // 1

// A MaskBlt code: fore applies where the mask bit is 1, back where it is 0.
constexpr DWORD MAKEROP4(DWORD fore, DWORD back)
{
    return ((back << 8) & 0xFF000000) | fore;
}

// Stock objects for CDC::SelectStockObject.
enum : int
{
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    HOLLOW_BRUSH = NULL_BRUSH,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
};

// Pen styles: only these two are drawn; CreatePen refuses the dashed ones.
enum : int
{
    PS_SOLID = 0,
    PS_NULL = 5,
};

// Background modes.
enum : int
{
    TRANSPARENT = 1,
    OPAQUE = 2,
};

// What GetClipBox answers.
enum : int
{
    NULLREGION = 1,
    SIMPLEREGION = 2,
};

// Object types, as CGdiObject::GetObjectType answers.
enum : int
{
    OBJ_PEN = 1,
    OBJ_BRUSH = 2,
    OBJ_BITMAP = 7,
};

struct BITMAP
{
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;
};

class CDC;

// Where a CDC::CopyGrid reads the cells of one value; none draw when drawn is false.
struct CellSource
{
    bool drawn;
    int x, y;
};

// A grid of equal cells: cell (c, r), of value cells[r * stride + c], goes at
// (x + c * w, y + r * h); sources holds one entry for each of the 256 values.
struct CellGrid
{
    const BYTE* cells;
    std::size_t stride;
    int cols, rows;
    int x, y, w, h;
    const CellSource* sources;
};

class CGdiObject
{
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() = default;

    // Releases what the object holds; it becomes empty. FALSE when it held nothing.
    BOOL DeleteObject();
    // Non-null while the object holds a pen, brush or bitmap (the framework's handle test).
    const void* GetSafeHandle() const { return IsCreated() ? this : nullptr; }
    virtual int GetObjectType() const = 0;

protected:
    virtual BOOL IsCreated() const = 0;
    virtual void Release() = 0;

private:
    friend CGdiObject* GetStockGdiObject(int index);
    bool m_stock = false; // stock objects ignore DeleteObject, as in GDI
};

class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }

    // PS_SOLID or PS_NULL (FALSE for the dashed styles); a width below 1 counts as 1.
    // A pen that already holds one takes the new one's place.
    BOOL CreatePen(int style, int width, COLORREF colour);
    int GetObjectType() const override { return OBJ_PEN; }

    int Style() const { return m_style; }
    int Width() const { return m_width; }
    COLORREF Colour() const { return m_colour; }

protected:
    BOOL IsCreated() const override { return m_created; }
    void Release() override { m_created = false; }

private:
    bool m_created = false;
    int m_style = PS_SOLID;
    int m_width = 1;
    COLORREF m_colour = 0;
};

class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }

    BOOL CreateSolidBrush(COLORREF colour);
    // The stock null brush, which fills nothing.
    BOOL CreateHollowBrush();
    int GetObjectType() const override { return OBJ_BRUSH; }

    bool IsHollow() const { return m_hollow; }
    COLORREF Colour() const { return m_colour; }

protected:
    BOOL IsCreated() const override { return m_created; }
    void Release() override { m_created = false; }

private:
    bool m_created = false;
    bool m_hollow = false;
    COLORREF m_colour = 0;
};

class CBitmap : public CGdiObject
{
public:
    CBitmap() = default;

    // From the embedded resources (PNG). An id or name with no resource, or one that does not
    // decode, leaves the bitmap empty (0 x 0) and answers FALSE.
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(LPCSTR name);
    // Decodes PNG bytes: palette images of 1, 2, 4 or 8 bits (bmBitsPixel keeps the depth; 1-bit
    // images become black and white), grey and truecolour (24, or 32 with alpha, which is dropped).
    BOOL LoadFromPng(const unsigned char* data, std::size_t size);

    // bits may be NULL (all black). With bits: 1 bpp rows are padded to 16 bits, a set bit is
    // white; 24 and 32 bpp pixels are blue, green, red (, unused) bytes. 4, 8 and 16 bpp take no
    // bits. Every failure, here and in the loads, leaves the bitmap empty.
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);

    // Fills bmWidth, bmHeight, bmWidthBytes, bmPlanes, bmBitsPixel; answers sizeof(BITMAP).
    // An empty bitmap answers 0 with every field 0: callers dividing by bmWidth must check.
    int GetBitmap(BITMAP* pBitMap) const;
    int GetObjectType() const override { return OBJ_BITMAP; }

    // The pixels, or nullptr when the bitmap is empty: for the window layer and tests.
    Surface* GetSurface() const { return m_pixels.get(); }
    const std::shared_ptr<Surface>& SharedSurface() const { return m_pixels; }
    int BitsPixel() const { return m_bitsPixel; }

protected:
    BOOL IsCreated() const override { return m_pixels != nullptr; }
    void Release() override;

private:
    BOOL Adopt(Surface&& pixels, int bitsPixel);

    std::shared_ptr<Surface> m_pixels;
    int m_bitsPixel = 0;
};

// A device context: draws in logical coordinates (device = logical + viewport origin) onto a
// surface, inside its clip box. A memory DC draws on the bitmap selected into it; a DC attached
// to a window's surface draws there. A DC with neither draws nothing.
class CDC
{
public:
    CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    // A memory DC: no bitmap yet, so nothing is drawn until one is selected. pDC may be NULL.
    BOOL CreateCompatibleDC(CDC* pDC);
    // Forgets the surface and the selections; the DC goes back to its default state.
    BOOL DeleteDC();
    // For the window layer: draw onto a window's surface, limited to clip (device coordinates).
    BOOL AttachSurface(Surface* surface, const CRect& clip);

    // Each returns the object selected before, or NULL when the new one cannot be selected
    // (an empty object; a bitmap into a DC that is not a memory DC).
    CBitmap* SelectObject(CBitmap* pBitmap);
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CGdiObject* SelectObject(CGdiObject* pObject);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const { return m_pPen; }
    CBrush* GetCurrentBrush() const { return m_pBrush; }

    // Blits clip to this DC's clip box and to the source's and the mask's bitmaps: what lies
    // outside any of them is not drawn and never read. FALSE for an unknown code, a missing
    // source the code needs, or a mask that is not a 1-bit bitmap.
    BOOL BitBlt(int x, int y, int w, int h, CDC* pSrcDC, int xSrc, int ySrc, DWORD rop);
    BOOL MaskBlt(int x, int y, int w, int h, CDC* pSrcDC, int xSrc, int ySrc,
                 CBitmap& maskBitmap, int xMask, int yMask, DWORD rop);
    // The same blits from a bitmap read directly, as from a fresh memory DC holding it (an empty
    // bitmap gives no source pixels): drawing many cells of one sheet needs no DC for each.
    BOOL BitBlt(int x, int y, int w, int h, const CBitmap& source, int xSrc, int ySrc, DWORD rop);
    BOOL MaskBlt(int x, int y, int w, int h, const CBitmap& source, int xSrc, int ySrc,
                 CBitmap& maskBitmap, int xMask, int yMask, DWORD rop);
    // For each drawn cell, row after row: BitBlt(its x, y, w, h, source, its value's place,
    // SRCCOPY), clipped and drawn the same, without the set-up of each: a tile map.
    void CopyGrid(const CBitmap& source, const CellGrid& grid);

    // The clip box in logical coordinates; NULLREGION when nothing can be drawn.
    virtual int GetClipBox(LPRECT lpRect) const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT pt) { return SetViewportOrg(pt.x, pt.y); }
    CPoint GetViewportOrg() const { return m_viewportOrg; }
    void DPtoLP(LPPOINT pts, int count = 1) const;
    void DPtoLP(LPRECT rect) const;
    void LPtoDP(LPPOINT pts, int count = 1) const;
    void LPtoDP(LPRECT rect) const;

    // Lines leave out their end point; a pen of width w paints a w x w square at each step.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT pt) { return LineTo(pt.x, pt.y); }
    // Right and bottom are exclusive; the pen's outline lies inside, the brush fills the rest.
    BOOL Rectangle(int l, int t, int r, int b);
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    void FillSolidRect(int x, int y, int w, int h, COLORREF colour);
    void FillSolidRect(LPCRECT r, COLORREF colour);

    int SetBkMode(int mode);
    int GetBkMode() const { return m_bkMode; }
    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_textColour; }
    COLORREF SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const { return m_bkColour; }
    // Text in Windows-1252, top at y, in the default font (DejaVu Sans, 8 point at 96 dpi).
    // FALSE, drawing nothing, when the font cannot be found.
    BOOL TextOut(int x, int y, LPCSTR text, int count);
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
    CSize GetTextExtent(LPCSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }

    // CLR_INVALID (0xFFFFFFFF) outside the clip box.
    COLORREF GetPixel(int x, int y) const;
    COLORREF SetPixel(int x, int y, COLORREF colour);

    // For the drawing code of the platform: the surface.
    Surface* GetSurface() const { return m_target; }

private:
    void ResetState();
    // Where a blit reads: present is false for a missing source DC.
    struct BlitSource
    {
        bool present;
        const Surface* pixels;
        long long x, y; // in pixels' own coordinates
    };
    static BlitSource SourceOf(CDC* pSrcDC, int xSrc, int ySrc);
    BOOL Blit(int x, int y, int w, int h, const BlitSource& source, const Surface* mask, int xMask,
              int yMask, DWORD rop4);
    BOOL MaskBlitFrom(int x, int y, int w, int h, const BlitSource& source, CBitmap& maskBitmap,
                      int xMask, int yMask, DWORD rop);
    void SetTarget(Surface* target, const CRect& clip);
    void PaintSquare(int x, int y, int size, COLORREF colour);
    void PaintLine(int x0, int y0, int x1, int y1);

    // What is drawn with comes from the objects at selection time, so a pen or brush
    // destroyed while selected leaves nothing dangling.
    struct PenState
    {
        int style;
        int width;
        COLORREF colour;
    };
    struct BrushState
    {
        bool hollow;
        COLORREF colour;
    };

    Surface* m_target = nullptr;
    std::shared_ptr<Surface> m_bitmapPixels; // keeps the selected bitmap's pixels alive
    CRect m_clip;                            // device coordinates, inside m_target
    bool m_isMemory = false;
    CPoint m_viewportOrg;
    CPoint m_position;
    CBitmap* m_pBitmap = nullptr;
    CPen* m_pPen = nullptr;
    CBrush* m_pBrush = nullptr;
    PenState m_pen = {PS_SOLID, 1, RGB(0, 0, 0)};
    BrushState m_brush = {false, RGB(255, 255, 255)};
    int m_bkMode = OPAQUE;
    COLORREF m_textColour = RGB(0, 0, 0);
    COLORREF m_bkColour = RGB(255, 255, 255);
};

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
