// jtsprite.cpp -- the sprite base classes: animation step, velocity, overlap and distance
#include "Motor/jtsprite.h"

#include "Motor/jtmath.h"
#include "platform/archive.h"

#include <cstdlib>

JTSprite::JTSprite(int type) : JTGrafics(type)
{
    m_nSrcX = 0;
    m_nSrcY = 0;
}

void JTSprite::ShowFrame(int frame)
{
    m_nFrame = frame;
    m_nSrcX = SaturateInt((long long)frame * m_nW);
}

void JTSprite::SetAnimation(int first, int last, int period)
{
    m_nFirstFrame = first;
    m_nLastFrame = last;
    m_nFramePeriod = period;
    m_nAnimState = ANIM_STARTED;
    m_nTick = 0;
    ShowFrame(first);
}

void JTSprite::SetFrame(int frame)
{
    m_nAnimState = ANIM_STOPPED;
    ShowFrame(frame);
}

// The counter moves after the advance too, so each frame stays for exactly the period.
void JTSprite::Update()
{
    if (m_nAnimState == ANIM_STOPPED)
        return;
    if (m_nTick >= m_nFramePeriod)
    {
        m_nTick = 0;
        int frame = m_nFrame == INT_MAX ? INT_MAX : m_nFrame + 1;
        if (frame > m_nLastFrame)
        {
            frame = m_nFirstFrame;
            m_nAnimState = ANIM_WRAPPED;
        }
        else
        {
            m_nAnimState = frame == m_nLastFrame ? ANIM_LASTFRAME : ANIM_RUNNING;
        }
        ShowFrame(frame);
    }
    if (m_nTick < INT_MAX)
        m_nTick++;
}

bool JTSprite::Contains(int x, int y) const
{
    return m_nX <= x && x <= (long long)m_nX + m_nW && m_nY <= y && y <= (long long)m_nY + m_nH;
}

int JTSprite::DirectionTo(const JTSprite* pOther) const
{
    long long dx = std::llabs((long long)m_nX - pOther->m_nX);
    long long dy = std::llabs((long long)m_nY - pOther->m_nY);
    if (dx > dy)
        return m_nX < pOther->m_nX ? DIR_RIGHT : DIR_LEFT;
    return m_nY < pOther->m_nY ? DIR_DOWN : DIR_UP;
}

void JTSprite::GetCenter(int* pX, int* pY) const
{
    *pX = SaturateInt((long long)m_nX + (m_nW >> 1));
    *pY = SaturateInt((long long)m_nY + (m_nH >> 1));
}

int JTSprite::DistanceSq(const JTSprite* pOther) const
{
    // Centres in 64 bits: a side of 46341 pixels or more already squares beyond the int range.
    auto centre = [](int pos, int size) { return (long long)pos + (size >> 1); };
    long long dx = std::llabs(centre(m_nX, m_nW) - centre(pOther->m_nX, pOther->m_nW));
    long long dy = std::llabs(centre(m_nY, m_nH) - centre(pOther->m_nY, pOther->m_nH));
    if (dx > 46340 || dy > 46340)
        return INT_MAX;
    return SaturateInt(dx * dx + dy * dy);
}

void JTSprite::Draw(CDC* pDC)
{
    m_bSeen = true;
    JTGrafics::Draw(pDC);
}

void JTSprite::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << int32_t(m_nType) << int32_t(m_nX) << int32_t(m_nY);
    else
        ar >> m_nX >> m_nY;
}

void JTSprite::Collide(JTSprite*)
{
}

void JTSprite::Kill()
{
    m_bAlive = false;
}

JTMobil::JTMobil(int type) : JTSprite(type)
{
}

void JTMobil::SetVelocity(int direction, int speed)
{
    switch (direction)
    {
    case DIR_RIGHT: m_dx = speed; m_dy = 0; break;
    case DIR_DOWN: m_dx = 0; m_dy = speed; break;
    case DIR_LEFT: m_dx = SaturateInt(-(long long)speed); m_dy = 0; break;
    case DIR_UP: m_dx = 0; m_dy = SaturateInt(-(long long)speed); break;
    default: break;
    }
}

int JTMobil::GetMoveDirection() const
{
    if (m_dx == 0 && m_dy == 0)
        return DIR_STOPPED;
    if (std::llabs(m_dx) > std::llabs(m_dy))
        return m_dx > 0 ? DIR_RIGHT : DIR_LEFT;
    return m_dy > 0 ? DIR_DOWN : DIR_UP;
}

void JTMobil::UndoMove()
{
    m_nX = SaturateInt((long long)m_nX - m_dx);
    m_nY = SaturateInt((long long)m_nY - m_dy);
}

void JTMobil::Update()
{
    m_nX = SaturateInt((long long)m_nX + m_dx);
    m_nY = SaturateInt((long long)m_nY + m_dy);
    JTSprite::Update();
}
