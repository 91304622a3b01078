// bola.cpp -- the ball's flight, its hits on the hero and on dogs, and its explosion
#include "Motor/bola.h"

#include "Motor/jtdecorat.h"
#include "Motor/jtmanager.h"
#include "Motor/player.h"
#include "platform/debug.h"

#include <new>

namespace {
const int kSheet = 156;
const int kMask = 155;
const int kHarm = 2;
const int kHitDistanceSq = 256;
} // namespace

JTBola::JTBola(int x, int y) : JTMobil(SPRITE_BOLA)
{
    SetPos(x, y);
    m_nW = 16;
    m_nH = 16;
    m_nBitmapId = kSheet;
    m_nMaskId = kMask;
    // Down at 2 until the shooter aims it.
    SetVelocity(DIR_DOWN, 2);
    SetAnimation(0, 2, 2);
}

void JTBola::HitWall()
{
    Explode();
}

// The hero must be within 16 px, attacking or not; a dog dies at any distance once touched.
void JTBola::Collide(JTSprite* pOther)
{
    if (pOther->GetType() == SPRITE_PLAYER) {
        if (DistanceSq(pOther) < kHitDistanceSq) {
            static_cast<JTPlayer*>(pOther)->Hurt(kHarm);
            Explode();
        }
    } else if (pOther->GetType() == SPRITE_GOS) {
        Explode();
        pOther->Kill();
    }
}

void JTBola::Kill() {}

void JTBola::Explode()
{
    JTManager* pManager = JTManager::GetManager();
    ASSERT(pManager != NULL);
    m_bAlive = false;
    AddEffect(pManager, new (std::nothrow) JTEfecte(4, 8, 2, 16, 16, kSheet, kMask), m_nX, m_nY);
}
