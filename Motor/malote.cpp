// malote.cpp -- enemy patrols, contact damage, the Fetiller's shots, deaths and their scores
#include "Motor/malote.h"

#include "Motor/bola.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/player.h"
#include "platform/archive.h"
#include "platform/debug.h"

#include <cstdint>
#include <new>

namespace {

const int kEnemySpeed = 1;
const int kBallSpeed = 4;
const int kHarm = 2;
const int kTouchDistanceSq = 400;
const int kShotPeriod = 50;

// Shared death: the effect at the enemy's corner, then the score for the registered hero.
// With no hero registered (a second hero was removed) the points simply go nowhere.
void Die(JTSprite* pEnemy, JTEfecte* pEffect, int score)
{
    JTManager* pManager = JTManager::GetManager();
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pManager != NULL && pRender != NULL);
    pEnemy->SetAlive(false);
    AddEffect(pManager, pEffect, pEnemy->GetX(), pEnemy->GetY());
    JTPlayer* pHero = pRender != NULL ? pRender->GetPlayer() : NULL;
    if (pHero != NULL)
        pHero->AddScore(score);
}

} // namespace

JTEnemic::JTEnemic(int type) : JTMobil(type), m_nDir(DIR_DOWN)
{
    m_bSeen = false;
}

void JTEnemic::Serialize(CArchive& ar)
{
    JTSprite::Serialize(ar);
    if (ar.IsStoring()) {
        ar << int32_t(m_nDir);
    } else {
        int32_t dir = 0;
        ar >> dir;
        m_nDir = dir;
        SetDirection(m_nDir);
    }
}

// Turning does not move the enemy: it leaves the wall on the next tick's move. The remainder
// keeps the dividend's sign, computed wide so that any stored direction turns without overflow.
void JTEnemic::HitWall()
{
    m_nDir = int((int64_t(m_nDir) + 2) % 4);
    SetDirection(m_nDir);
}

void JTEnemic::Collide(JTSprite* pOther)
{
    if (pOther->GetType() != SPRITE_PLAYER)
        return;
    if (DistanceSq(pOther) >= kTouchDistanceSq)
        return;
    JTPlayer* pHero = static_cast<JTPlayer*>(pOther);
    if (pHero->IsAttacking())
        return;
    pHero->Hurt(kHarm);
}

int JTEnemic::ShownDirection(int dir) const
{
    if (dir >= DIR_RIGHT && dir <= DIR_UP)
        return dir;
    int moving = GetMoveDirection();
    return moving == DIR_STOPPED ? DIR_DOWN : moving;
}

JTMalote::JTMalote() : JTEnemic(SPRITE_MALOTE)
{
    m_nX = 0;
    m_nY = 0;
    m_nW = 16;
    m_nH = 16;
    m_nBitmapId = 137;
    m_nMaskId = 138;
    m_nDir = DIR_DOWN;
    JTMalote::SetDirection(DIR_DOWN);
}

void JTMalote::SetDirection(int dir)
{
    m_nDir = dir;
    SetVelocity(dir, kEnemySpeed);
    int shown = ShownDirection(dir);
    SetAnimation(2 * shown, 2 * shown + 1, 4);
}

void JTMalote::Update()
{
    JTMobil::Update();
}

void JTMalote::Kill()
{
    Die(this, new (std::nothrow) JTEfecte(8, 12, 2, 16, 16, 137, 138), 10);
}

JTFetiller::JTFetiller() : JTEnemic(SPRITE_FETILLER), m_nFireTimer(0)
{
    m_nX = 0;
    m_nY = 0;
    m_nW = 18;
    m_nH = 30;
    m_nBitmapId = 158;
    m_nMaskId = 157;
    m_nDir = DIR_DOWN;
    JTFetiller::SetDirection(DIR_DOWN);
}

void JTFetiller::SetDirection(int dir)
{
    m_nDir = dir;
    SetVelocity(dir, kEnemySpeed);
    int shown = ShownDirection(dir);
    SetAnimation(3 * shown, 3 * shown + 2, 2);
}

// Idle until the camera has shown it once; from then on it keeps walking and fires on every
// 51st tick, also on the tick it fires.
void JTFetiller::Update()
{
    if (!m_bSeen)
        return;
    ASSERT(JTRender::GetRender() != NULL && JTManager::GetManager() != NULL);
    m_nFireTimer += 1;
    if (m_nFireTimer > kShotPeriod) {
        m_nFireTimer = 0;
        Fire();
    }
    JTMobil::Update();
}

// The ball starts at the Fetiller's top-left corner and keeps the direction it is given now.
// Without a registered hero there is nothing to aim at, and the shot is let go.
void JTFetiller::Fire()
{
    JTRender* pRender = JTRender::GetRender();
    JTManager* pManager = JTManager::GetManager();
    JTPlayer* pHero = pRender != NULL ? pRender->GetPlayer() : NULL;
    if (pHero == NULL || pManager == NULL)
        return;
    JTBola* pBall = new (std::nothrow) JTBola(m_nX, m_nY);
    if (pBall == NULL)
        return;
    pBall->SetVelocity(DirectionTo(pHero), kBallSpeed);
    pManager->Add(pBall);
}

void JTFetiller::Kill()
{
    Die(this, new (std::nothrow) JTEfecte(12, 15, 2, 18, 30, 158, 157), 20);
}
