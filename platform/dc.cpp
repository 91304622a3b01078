// dc.cpp -- CDC's state: its surface and clip box, selected objects, viewport origin, colours.
#include "platform/gdi.h"
#include "platform/gdi_stock.h"

#include <algorithm>

namespace {

// What a DC starts with, looked up once: sprites make a memory DC for every blit.
struct Defaults
{
    CBitmap* bitmap;
    CPen* pen;
    CBrush* brush;
};

const Defaults& StartingObjects()
{
    static const Defaults defaults{GetDefaultBitmap(),
                                   static_cast<CPen*>(GetStockGdiObject(BLACK_PEN)),
                                   static_cast<CBrush*>(GetStockGdiObject(WHITE_BRUSH))};
    return defaults;
}

} // namespace

CDC::CDC()
{
    ResetState();
}

CDC::~CDC() = default;

void CDC::ResetState()
{
    m_target = nullptr;
    m_bitmapPixels.reset();
    m_clip.SetRectEmpty();
    m_isMemory = false;
    m_viewportOrg = CPoint(0, 0);
    m_position = CPoint(0, 0);
    const Defaults& defaults = StartingObjects();
    m_pBitmap = defaults.bitmap;
    m_pPen = defaults.pen;
    m_pBrush = defaults.brush;
    m_pen = PenState{PS_SOLID, 1, RGB(0, 0, 0)};
    m_brush = BrushState{false, RGB(255, 255, 255)};
    m_bkMode = OPAQUE;
    m_textColour = RGB(0, 0, 0);
    m_bkColour = RGB(255, 255, 255);
}

void CDC::SetTarget(Surface* target, const CRect& clip)
{
    m_target = target;
    m_clip.SetRectEmpty();
    if (target != nullptr)
        m_clip.IntersectRect(clip, target->Bounds());
}

BOOL CDC::CreateCompatibleDC(CDC*)
{
    ResetState();
    m_isMemory = true;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    ResetState();
    return TRUE;
}

BOOL CDC::AttachSurface(Surface* surface, const CRect& clip)
{
    ResetState();
    if (surface == nullptr)
        return FALSE;
    SetTarget(surface, clip);
    return TRUE;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    if (!m_isMemory || pBitmap == nullptr)
        return nullptr;
    if (pBitmap->GetSurface() == nullptr && pBitmap != GetDefaultBitmap())
        return nullptr;
    CBitmap* previous = m_pBitmap;
    m_pBitmap = pBitmap;
    m_bitmapPixels = pBitmap->SharedSurface();
    SetTarget(m_bitmapPixels.get(), m_bitmapPixels ? m_bitmapPixels->Bounds() : CRect());
    return previous;
}

CPen* CDC::SelectObject(CPen* pPen)
{
    if (pPen == nullptr || pPen->GetSafeHandle() == nullptr)
        return nullptr;
    CPen* previous = m_pPen;
    m_pPen = pPen;
    m_pen = PenState{pPen->Style(), pPen->Width(), pPen->Colour()};
    return previous;
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    if (pBrush == nullptr || pBrush->GetSafeHandle() == nullptr)
        return nullptr;
    CBrush* previous = m_pBrush;
    m_pBrush = pBrush;
    m_brush = BrushState{pBrush->IsHollow(), pBrush->Colour()};
    return previous;
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    if (pObject == nullptr)
        return nullptr;
    switch (pObject->GetObjectType()) {
    case OBJ_PEN:
        return SelectObject(static_cast<CPen*>(pObject));
    case OBJ_BRUSH:
        return SelectObject(static_cast<CBrush*>(pObject));
    case OBJ_BITMAP:
        return SelectObject(static_cast<CBitmap*>(pObject));
    default:
        return nullptr;
    }
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return SelectObject(GetStockGdiObject(index));
}

int CDC::GetClipBox(LPRECT lpRect) const
{
    CRect box = m_clip;
    DPtoLP(&box);
    *lpRect = box;
    return m_clip.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    CPoint previous = m_viewportOrg;
    m_viewportOrg = CPoint(x, y);
    return previous;
}

void CDC::DPtoLP(LPPOINT pts, int count) const
{
    for (int i = 0; i < count; ++i) {
        pts[i].x -= m_viewportOrg.x;
        pts[i].y -= m_viewportOrg.y;
    }
}

void CDC::DPtoLP(LPRECT rect) const
{
    DPtoLP(reinterpret_cast<LPPOINT>(&rect->left), 1);
    DPtoLP(reinterpret_cast<LPPOINT>(&rect->right), 1);
}

void CDC::LPtoDP(LPPOINT pts, int count) const
{
    for (int i = 0; i < count; ++i) {
        pts[i].x += m_viewportOrg.x;
        pts[i].y += m_viewportOrg.y;
    }
}

void CDC::LPtoDP(LPRECT rect) const
{
    LPtoDP(reinterpret_cast<LPPOINT>(&rect->left), 1);
    LPtoDP(reinterpret_cast<LPPOINT>(&rect->right), 1);
}

int CDC::SetBkMode(int mode)
{
    int previous = m_bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        m_bkMode = mode;
    return previous;
}

COLORREF CDC::SetTextColor(COLORREF colour)
{
    COLORREF previous = m_textColour;
    m_textColour = colour & 0x00FFFFFF;
    return previous;
}

COLORREF CDC::SetBkColor(COLORREF colour)
{
    COLORREF previous = m_bkColour;
    m_bkColour = colour & 0x00FFFFFF;
    return previous;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    CPoint p(x + m_viewportOrg.x, y + m_viewportOrg.y);
    if (!m_clip.PtInRect(p))
        return CLR_INVALID;
    return m_target->Pixel(p.x, p.y);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF colour)
{
    CPoint p(x + m_viewportOrg.x, y + m_viewportOrg.y);
    if (!m_clip.PtInRect(p))
        return CLR_INVALID;
    m_target->SetPixel(p.x, p.y, colour);
    return colour & 0x00FFFFFF;
}

void CDC::FillSolidRect(int x, int y, int w, int h, COLORREF colour)
{
    long long left = std::max<long long>((long long)x + m_viewportOrg.x, m_clip.left);
    long long top = std::max<long long>((long long)y + m_viewportOrg.y, m_clip.top);
    long long right = std::min<long long>((long long)x + m_viewportOrg.x + w, m_clip.right);
    long long bottom = std::min<long long>((long long)y + m_viewportOrg.y + h, m_clip.bottom);
    for (long long row = top; row < bottom && left < right; ++row)
        std::fill(m_target->Row(int(row)) + left, m_target->Row(int(row)) + right,
                  colour & 0x00FFFFFF);
}

void CDC::FillSolidRect(LPCRECT r, COLORREF colour)
{
    FillSolidRect(r->left, r->top, r->right - r->left, r->bottom - r->top, colour);
}
