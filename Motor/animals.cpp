// animals.cpp -- the hen's walk, the dog's turning, their deaths and the dog's body
#include "Motor/animals.h"

#include "Motor/jtdecorat.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/player.h"
#include "platform/debug.h"

#include <new>

namespace {

const int kHenSheet = 135;
const int kHenMask = 136;
const int kDogSheet = 152;
const int kDogMask = 151;
const int kTicksPerFrame = 3;
const int kBodyFrame = 4;
const int kBodyRestTicks = 10;

} // namespace

JTAnimal::JTAnimal(int type) : JTMobil(type), m_nDir(DIR_RIGHT)
{
    m_nX = 0;
    m_nY = 0;
    m_nSrcX = 0;
    m_nSrcY = 0;
    m_nW = 16;
    m_nH = 16;
}

JTGallina::JTGallina() : JTAnimal(SPRITE_GALLINA)
{
    m_nBitmapId = kHenSheet;
    m_nMaskId = kHenMask;
    m_nDir = DIR_RIGHT;
    ApplyDirection();
}

// The hen's sheet starts each direction's two frames at the direction code (right 0, left 2).
void JTGallina::ApplyDirection()
{
    SetAnimation(m_nDir, m_nDir + 1, kTicksPerFrame);
    SetVelocity(m_nDir, 1);
}

void JTGallina::Update()
{
    JTMobil::Update();
}

// Turns back where the wall check found it; the next move takes it away from the wall.
void JTGallina::HitWall()
{
    m_nDir = (m_nDir + 2) % 4;
    ApplyDirection();
}

void JTGallina::Kill()
{
    JTManager* pManager = JTManager::GetManager();
    ASSERT(pManager != NULL);
    m_bAlive = false;
    AddEffect(pManager, new (std::nothrow) JTEfecte(4, 7, 3, 16, 16, kHenSheet, kHenMask), m_nX,
              m_nY);
}

JTGos::JTGos() : JTAnimal(SPRITE_GOS)
{
    m_nBitmapId = kDogSheet;
    m_nMaskId = kDogMask;
    SetAnimation(0, 1, kTicksPerFrame);
    m_nDir = DIR_LEFT;
}

void JTGos::Update()
{
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender != NULL);
    JTPlayer* pHero = pRender != NULL ? pRender->GetPlayer() : NULL;
    if (pHero != NULL) {
        int d = DirectionTo(pHero);
        // Only a hero to the left or right turns the dog; its sheet has no up or down poses.
        if (d != DIR_DOWN && d != DIR_UP && d != m_nDir) {
            m_nDir = d;
            if (d == DIR_RIGHT)
                SetAnimation(2, 3, kTicksPerFrame);
            else
                SetAnimation(0, 1, kTicksPerFrame);
        }
    }
    JTMobil::Update();
}

void JTGos::Kill()
{
    JTManager* pManager = JTManager::GetManager();
    ASSERT(pManager != NULL);
    m_bAlive = false;
    if (pManager == NULL)
        return;
    AddEffect(pManager, new (std::nothrow) JTEfecte(5, 7, 5, 16, 16, kDogSheet, kDogMask), m_nX,
              m_nY);
    JTGosMort* pBody = new (std::nothrow) JTGosMort(m_nX, m_nY);
    if (pBody != NULL)
        pManager->Add(pBody);
}

JTGosMort::JTGosMort(int x, int y) : JTMobil(SPRITE_EFECTE)
{
    m_nSrcX = 0;
    m_nSrcY = 0;
    m_nH = 16;
    m_nW = 16;
    SetFrame(kBodyFrame);
    m_nBitmapId = kDogSheet;
    m_nMaskId = kDogMask;
    m_dx = -1;
    m_dy = -10;
    SetPos(x, y);
    m_nGroundY = y;
    m_bSolid = false;
    m_nRestTicks = 0;
}

// Thrown up and to the left, it falls under gravity (2 px per tick per tick) until it lies
// below its start, then rests; the rest count is tested before it grows, so it rests 11 ticks.
void JTGosMort::Update()
{
    if (m_nRestTicks > kBodyRestTicks)
        m_bAlive = false;
    if (m_nY > m_nGroundY) {
        m_dx = 0;
        m_dy = 0;
        m_nRestTicks += 1;
    } else {
        m_dy += 2;
    }
    JTMobil::Update();
}
