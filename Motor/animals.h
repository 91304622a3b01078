// animals.h -- the harmless creatures: the hen, the dog and the dog's thrown-up body
#pragma once

#include "Motor/jtsprite.h"

// Common base of the hen and the dog: a 16 by 16 creature with a walking or facing direction.
class JTAnimal : public JTMobil
{
public:
    explicit JTAnimal(int type);

protected:
    int m_nDir;
};

// Walks back and forth along its row, turning at every wall.
class JTGallina : public JTAnimal
{
public:
    JTGallina();

    void Update() override;
    void HitWall() override;
    void Kill() override;

    // Walking animation and velocity for m_nDir.
    void ApplyDirection();
};

// Stands still and turns to face the hero when the hero is to its left or right.
class JTGos : public JTAnimal
{
public:
    JTGos();

    void Update() override;
    void Kill() override;
};

// The killed dog's body: rises, falls back below where it started, lies still, then goes.
class JTGosMort : public JTMobil
{
public:
    JTGosMort(int x, int y);

    void Update() override;

protected:
    int m_nRestTicks;
    int m_nGroundY;
};
