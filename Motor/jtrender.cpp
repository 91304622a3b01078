// jtrender.cpp -- the renderer: bitmap cache, camera clamp, sprite culling, game frame and HUD
#include "Motor/jtrender.h"

#include "Motor/jtdecorat.h"
#include "Motor/jtgrafics.h"
#include "Motor/jtmath.h"
#include "Motor/player.h"
#include "platform/debug.h"
#include "platform/gdi.h"
#include "platform/wsprintf.h"

JTRender::JTRender() : JTModul(MODUL_RENDER)
{
    for (int i = 0; i < MAX_BITMAPS; i++)
    {
        m_bitmapIds[i] = -1;
        m_bitmaps[i] = nullptr;
    }
}

JTRender::~JTRender()
{
    for (int i = 0; i < MAX_BITMAPS; i++)
        delete m_bitmaps[i];
    m_renderList.clear();
}

JTRender* JTRender::GetRender()
{
    return static_cast<JTRender*>(GetSlot(MODUL_RENDER));
}

// Slots fill from 0 up and are never freed, so the first free slot ends every search.
CBitmap* JTRender::GetBitmap(UINT id)
{
    // This id reads back as the free-slot mark: cached, its slot would be taken over by the
    // next id and its bitmap lost.
    if (int(id) == -1)
        return nullptr;
    int slot = 0;
    for (; slot < MAX_BITMAPS && m_bitmapIds[slot] != -1; slot++)
    {
        if (UINT(m_bitmapIds[slot]) == id)
            return m_bitmaps[slot];
    }
    if (slot == MAX_BITMAPS)
        return nullptr;
    // A resource that fails to load keeps its slot: the empty bitmap is not retried.
    CBitmap* pBitmap = new CBitmap;
    pBitmap->LoadBitmap(id);
    m_bitmapIds[slot] = int(id);
    m_bitmaps[slot] = pBitmap;
    return pBitmap;
}

void JTRender::Clamp(int* v, int lo, int hi)
{
    if (*v < lo)
        *v = lo;
    else if (*v > hi)
        *v = hi;
}

void JTRender::SetCamera(int x, int y)
{
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pDecorat);
    int mapW = pDecorat->GetWidth() << pDecorat->GetTileShift();
    int mapH = pDecorat->GetHeight() << pDecorat->GetTileShift();
    m_camX = x;
    m_camY = y;
    if (m_view.right > mapW)
        m_camX = 0;
    else
        Clamp(&m_camX, 0, SaturateInt((long long)mapW - m_view.right));
    if (m_view.bottom > mapH)
        m_camY = 0;
    else
        Clamp(&m_camY, 0, SaturateInt((long long)mapH - m_view.bottom));
}

void JTRender::MoveCamera(int dx, int dy)
{
    SetCamera(SaturateInt((long long)m_camX + dx), SaturateInt((long long)m_camY + dy));
}

void JTRender::UpdateView(CDC* pDC)
{
    pDC->GetClipBox(&m_view);
}

// The hero's bottom-right corner, not its centre, comes to the middle of the view.
void JTRender::Render(CDC* pDC)
{
    pDC->GetClipBox(&m_view);
    if (m_player)
    {
        long long x = (long long)m_player->GetX() - (m_view.right >> 1) + m_player->GetWidth();
        long long y = (long long)m_player->GetY() - (m_view.bottom >> 1) + m_player->GetHeight();
        SetCamera(SaturateInt(x), SaturateInt(y));
    }
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pDecorat);
    pDecorat->Draw(pDC);
    DrawSprites(pDC);
    ClearRenderList();
    if (m_player)
        DrawHud(pDC);
}

void JTRender::DrawHud(CDC* pDC)
{
    char text[80];
    wsprintfA(text, "Puntuacio:%d", m_player->GetScore());
    pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(10, 10, CString(text));

    CBrush brush;
    brush.CreateSolidBrush(RGB(255, 0, 0));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->Rectangle(220, 12, SaturateInt(220 + 5LL * m_player->GetHealth()), 22);
    if (pOldBrush)
        pDC->SelectObject(pOldBrush);
    brush.DeleteObject();
}

// The stop test looks at the top edge of a list sorted by the bottom edge; all four tests are
// strict, so a sprite whose top lies exactly on the view's bottom is still drawn.
void JTRender::DrawSprites(CDC* pDC)
{
    long long bottomLimit = (long long)m_camY + m_view.bottom;
    long long rightLimit = (long long)m_camX + m_view.right;
    // Asked for together, the sprites come from memory at once rather than one by one as the
    // walk reaches each.
    for (JTGrafics* g : m_renderList)
        __builtin_prefetch(g);
    for (JTGrafics* g : m_renderList)
    {
        if (g->GetY() > bottomLimit)
            break;
        if (g->GetX() < rightLimit && (long long)g->GetY() + g->GetHeight() > m_camY
            && (long long)g->GetX() + g->GetWidth() > m_camX)
            g->Draw(pDC);
    }
}

void JTRender::SetRenderList(const std::list<JTGrafics*>& list)
{
    m_renderList = list;
}

void JTRender::ClearRenderList()
{
    m_renderList.clear();
}
