// kinds_world.h -- a small engine world for the sprite kinds' tests: map, sprites, keys, peeks
#pragma once

#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/player.h"
#include "platform/gdi.h"
#include "platform/keys.h"
#include "platform/rand.h"

#include <gtest/gtest.h>

#include <string>

// Reads the protected drawing and motion fields of any sprite without changing the classes.
struct GraficsPeek : JTGrafics
{
    static int SrcX(const JTGrafics* g) { return g->*(&GraficsPeek::m_nSrcX); }
    static int Bitmap(const JTGrafics* g) { return g->*(&GraficsPeek::m_nBitmapId); }
    static int Mask(const JTGrafics* g) { return g->*(&GraficsPeek::m_nMaskId); }
    static DWORD Rop(const JTGrafics* g) { return g->*(&GraficsPeek::m_dwRop); }
    static int Frame(const JTGrafics* g) { return SrcX(g) / g->GetWidth(); }
};

struct MobilPeek : JTMobil
{
    static int Dx(const JTMobil* m) { return m->*(&MobilPeek::m_dx); }
    static int Dy(const JTMobil* m) { return m->*(&MobilPeek::m_dy); }
};

// A 20 x 20 map of walkable tile 0; tile 1 is the blocking tile that Block lays.
class KindsWorld : public ::testing::Test
{
protected:
    enum
    {
        kWallTile = 1
    };

    void SetUp() override
    {
        KeyStateReset();
        crt::RandReset();
        m_pKernel = new JTKernel(nullptr);
        m_pKernel->NewMap(20, 20);
        Map()->SetWalkable(kWallTile, 0);
    }

    void TearDown() override
    {
        KeyStateReset();
        delete m_pKernel;
        // The kernel leaves its own slot alone; the next test builds a new one.
        JTModul::ClearSlot(MODUL_KERNEL);
    }

    static JTDecorat* Map() { return JTDecorat::GetDecorat(); }
    static JTManager* Manager() { return JTManager::GetManager(); }
    static JTRender* Render() { return JTRender::GetRender(); }

    template <class T> T* Place(T* pSprite, int x, int y)
    {
        pSprite->SetPos(x, y);
        Manager()->Add(pSprite);
        return pSprite;
    }

    void Block(int col, int row) { Map()->SetTile(col, row, kWallTile); }

    int Tick() { return m_pKernel->Tick(); }
    void Ticks(int n)
    {
        for (int i = 0; i < n; i++)
            m_pKernel->Tick();
    }

    // The type ids of the sprite list, front first, as " - 1 - 0".
    static std::string Types()
    {
        char buffer[1024];
        Manager()->Describe(buffer, sizeof buffer);
        return buffer;
    }

    static int Count(int type)
    {
        std::string wanted = " - " + std::to_string(type);
        std::string all = Types() + " ";
        int n = 0;
        for (size_t at = all.find(wanted + " "); at != std::string::npos;
             at = all.find(wanted + " ", at + 1))
            n++;
        return n;
    }

    // Paints one game frame onto a 320 x 240 surface, as the game window does after a tick.
    static void Paint()
    {
        CBitmap bitmap;
        bitmap.CreateBitmap(320, 240, 1, 32, nullptr);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        Render()->Render(&dc);
    }

    JTKernel* m_pKernel = nullptr;
};
