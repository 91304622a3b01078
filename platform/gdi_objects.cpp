// gdi_objects.cpp -- pens, brushes, the common DeleteObject and the stock objects.
#include "platform/gdi_stock.h"

BOOL CGdiObject::DeleteObject()
{
    if (!IsCreated())
        return FALSE;
    if (!m_stock)
        Release();
    return TRUE;
}

BOOL CPen::CreatePen(int style, int width, COLORREF colour)
{
    if (style != PS_SOLID && style != PS_NULL)
        return FALSE;
    m_style = style;
    m_width = width < 1 ? 1 : width;
    m_colour = colour & 0x00FFFFFF;
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF colour)
{
    m_hollow = false;
    m_colour = colour & 0x00FFFFFF;
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreateHollowBrush()
{
    m_hollow = true;
    m_colour = 0;
    m_created = true;
    return TRUE;
}

namespace {

CBrush* HollowBrush()
{
    static CBrush brush;
    brush.CreateHollowBrush();
    return &brush;
}

} // namespace

CGdiObject* GetStockGdiObject(int index)
{
    static CBrush white(RGB(255, 255, 255)), ltgray(RGB(192, 192, 192)), gray(RGB(128, 128, 128));
    static CBrush dkgray(RGB(64, 64, 64)), black(RGB(0, 0, 0));
    static CPen whitePen(PS_SOLID, 1, RGB(255, 255, 255)), blackPen(PS_SOLID, 1, RGB(0, 0, 0));
    static CPen nullPen(PS_NULL, 1, RGB(0, 0, 0));
    static CGdiObject* const table[] = {&white,   &ltgray,   &gray,     &dkgray, &black,
                                        HollowBrush(), &whitePen, &blackPen, &nullPen};
    if (index < 0 || index >= int(sizeof table / sizeof table[0]))
        return nullptr;
    table[index]->m_stock = true;
    return table[index];
}

CBitmap* GetDefaultBitmap()
{
    static CBitmap empty;
    return &empty;
}
