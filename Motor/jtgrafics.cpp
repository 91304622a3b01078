// jtgrafics.cpp -- the drawable: a sheet cell blitted at its screen position
#include "Motor/jtgrafics.h"

#include "Motor/jtmath.h"
#include "Motor/jtrender.h"
#include "Motor/player.h"
#include "platform/debug.h"
#include "platform/gdi.h"

JTGrafics::JTGrafics(int type) : m_dwRop(SRCCOPY), m_nType(type)
{
}

int JTGrafics::GetRight() const
{
    return SaturateInt((long long)m_nX + m_nW);
}

int JTGrafics::GetBottom() const
{
    return SaturateInt((long long)m_nY + m_nH);
}

void JTGrafics::SetPos(int x, int y)
{
    m_nX = x;
    m_nY = y;
}

// The blits clip to the sheet and the mask, so a frame beyond the sheet draws nothing of it.
// They read the sheet straight from the bitmap, as from a memory DC holding it: a frame of
// sprites would otherwise make and free a DC for each.
void JTGrafics::Draw(CDC* pDC)
{
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender);
    int x = SaturateInt((long long)m_nX - pRender->GetCamX());
    int y = SaturateInt((long long)m_nY - pRender->GetCamY());

    CBitmap* pSheet = pRender->GetBitmap(UINT(m_nBitmapId));
    if (!pSheet)
        return;
    if (m_nMaskId == -1)
    {
        pDC->BitBlt(x, y, m_nW, m_nH, *pSheet, m_nSrcX, m_nSrcY, m_dwRop);
        return;
    }
    CBitmap* pMask = pRender->GetBitmap(UINT(m_nMaskId));
    // Mask bit 1 (the sheet's black) ORs the sheet on; bit 0 applies the sprite's own code.
    if (pMask)
        pDC->MaskBlt(x, y, m_nW, m_nH, *pSheet, m_nSrcX, m_nSrcY, *pMask, m_nSrcX, m_nSrcY,
                     MAKEROP4(SRCPAINT, m_dwRop));
}

// Items: the potion and the sword, picked up by the hero.

JTItem::JTItem(int type, int frame) : JTSprite(type)
{
    m_nBitmapId = 154;
    m_nMaskId = 153;
    m_nH = 16;
    m_nW = 16;
    SetFrame(frame);
}

// Only the hero picks an item up; the hero's own sword may kill it in the same pass, and the
// item is given either way, once.
void JTItem::Collide(JTSprite* pOther)
{
    if (pOther->GetType() != SPRITE_PLAYER)
        return;
    static_cast<JTPlayer*>(pOther)->GiveItem(m_nType);
    m_bAlive = false;
}

JTPocima::JTPocima() : JTItem(SPRITE_POCIMA, 0)
{
}

// Frame 2 of the 16-pixel grid, then twice as wide: the sword covers sheet pixels 32 to 63.
JTEspasa::JTEspasa() : JTItem(SPRITE_ESPASA, 2)
{
    m_nW = 32;
}
