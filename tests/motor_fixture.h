// motor_fixture.h -- a live engine per test, a scriptable test sprite and drawing surfaces.
#pragma once

#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"
#include "platform/gdi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The kernel and its four modules for one test; slot 0 is emptied afterwards, as the kernel
// leaves it to its owner.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override { m_pKernel = new JTKernel(nullptr); }
    void TearDown() override
    {
        delete m_pKernel;
        JTModul::ClearSlot(MODUL_KERNEL);
    }

    JTKernel* Kernel() { return JTKernel::GetKernel(); }
    JTManager* Manager() { return JTManager::GetManager(); }
    JTRender* Render() { return JTRender::GetRender(); }
    JTDecorat* Decorat() { return JTDecorat::GetDecorat(); }

private:
    JTKernel* m_pKernel = nullptr;
};

// A moving sprite whose fields a test sets directly and whose calls it can watch.
class TestSprite : public JTMobil
{
public:
    explicit TestSprite(int type = 1, int x = 0, int y = 0, int w = 16, int h = 16)
        : JTMobil(type)
    {
        m_nX = x;
        m_nY = y;
        m_nW = w;
        m_nH = h;
    }
    ~TestSprite() override
    {
        if (m_pDeleted)
            ++*m_pDeleted;
    }

    void HitWall() override { m_nWallHits++; }
    void Collide(JTSprite* pOther) override
    {
        if (m_pLog)
            m_pLog->push_back(m_name + ">" + static_cast<TestSprite*>(pOther)->m_name);
    }
    void Update() override
    {
        m_nUpdates++;
        if (m_pUpdated)
            ++*m_pUpdated;
        JTMobil::Update();
    }

    void SetSize(int w, int h) { m_nW = w; m_nH = h; }
    void SetSheet(int bitmap, int mask) { m_nBitmapId = bitmap; m_nMaskId = mask; }
    void SetRop(DWORD rop) { m_dwRop = rop; }
    void SetSrc(int x, int y) { m_nSrcX = x; m_nSrcY = y; }
    void SetVisible(bool v) { m_bVisible = v; }
    void SetSolid(bool s) { m_bSolid = s; }
    int Frame() const { return m_nFrame; }
    int SrcX() const { return m_nSrcX; }
    int TickCount() const { return m_nTick; }
    int Dx() const { return m_dx; }
    int Dy() const { return m_dy; }

    std::string m_name;
    std::vector<std::string>* m_pLog = nullptr;
    int* m_pDeleted = nullptr;
    int* m_pUpdated = nullptr;
    int m_nWallHits = 0;
    int m_nUpdates = 0;
};

// A 32-bit bitmap selected into a memory DC: the surface a test draws on and reads back.
struct Canvas
{
    Canvas(int w, int h)
    {
        bitmap.CreateBitmap(w, h, 1, 32, nullptr);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
    }
    COLORREF At(int x, int y) const { return dc.GetPixel(x, y); }

    CBitmap bitmap;
    CDC dc;
};

// Fills a cached bitmap (an id with no resource behind it) with a picture made in code.
inline CBitmap* MakeSheet(JTRender* pRender, UINT id, int w, int h, int bpp = 32)
{
    CBitmap* pBitmap = pRender->GetBitmap(id);
    pBitmap->CreateBitmap(w, h, 1, UINT(bpp), nullptr);
    return pBitmap;
}

// The tile set replaced by one in which tile t is filled with TileColour(t).
inline COLORREF TileColour(int t)
{
    return RGB(BYTE(t + 1), BYTE(100), BYTE(200));
}

inline void MakeTileset(int w = 192, int h = 208)
{
    CBitmap* pTiles = JTDecorat::GetTileBitmap();
    pTiles->CreateBitmap(w, h, 1, 32, nullptr);
    Surface* s = pTiles->GetSurface();
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            s->SetPixel(x, y, TileColour((y / 16) * (w / 16) + x / 16));
}
