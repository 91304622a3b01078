// malote.h -- the enemies: the patrolling base, the Malote walker and the ball-firing Fetiller
#pragma once

#include "Motor/jtsprite.h"

// Patrols along one axis, turns back at walls, hurts a hero it touches unless the hero
// attacks, and stores its direction with the map.
class JTEnemic : public JTMobil
{
public:
    explicit JTEnemic(int type);

    void Serialize(CArchive& ar) override;
    void HitWall() override;
    void Collide(JTSprite* pOther) override;
    // Sets the direction, the velocity and the kind's walking animation.
    virtual void SetDirection(int dir) = 0;

protected:
    // The direction whose walking frames show: dir itself, or for a direction outside 0 to 3
    // (only from a foreign file) the way the enemy actually moves, so no frame leaves the sheet.
    int ShownDirection(int dir) const;

    int m_nDir;
};

class JTMalote : public JTEnemic
{
public:
    JTMalote();

    void Update() override;
    void Kill() override;
    void SetDirection(int dir) override;
};

// Does nothing until it has been drawn once in the run; then walks and fires at the hero.
class JTFetiller : public JTEnemic
{
public:
    JTFetiller();

    void Update() override;
    void Kill() override;
    void SetDirection(int dir) override;

private:
    void Fire();

protected:
    int m_nFireTimer;
};
