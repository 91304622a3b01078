// bola.h -- the Fetiller's ball: flies straight, hurts a close hero, kills dogs, bursts at walls
#pragma once

#include "Motor/jtsprite.h"

class JTBola : public JTMobil
{
public:
    JTBola(int x, int y);

    void HitWall() override;
    void Collide(JTSprite* pOther) override;
    // The sword cannot destroy a ball.
    void Kill() override;

    // Dies and leaves an explosion; every call leaves one more.
    void Explode();
};
