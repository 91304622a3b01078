// player.h -- the hero: keyboard control, walking, the sword attack, health and score
#pragma once

#include "Motor/jtsprite.h"

// The one sprite the user steers. It registers itself with the renderer while it lives, so the
// camera, the head-up display and the creatures that react to the hero can find it.
class JTPlayer : public JTSprite
{
public:
    JTPlayer();
    ~JTPlayer() override;

    // Reads the keys once per tick: Shift runs, Control strikes (with the sword), the arrows walk.
    void Update() override;
    // The feet met blocked ground: back to where this tick started, standing.
    void HitWall() override;
    // While attacking, whatever the hero touches is killed.
    void Collide(JTSprite* pOther) override;

    void Move(int dir, int speed);
    void AddScore(int n);
    // Ignored while the invulnerability countdown runs; otherwise starts it again.
    void Hurt(int n);
    // 8 (potion) restores full health, 9 (sword) allows attacks; other types do nothing.
    void GiveItem(int type);
    bool IsAttacking() const { return m_bAttacking; }

    int GetHealth() const { return m_nHealth; }
    int GetScore() const { return m_nScore; }

private:
    void CountDownInvulnerability();
    void StartAttack();
    void StepAttack();
    void Walk(int speed);

protected:
    int m_nDir;
    int m_nPrevX;
    int m_nPrevY;
    int m_nStep;
    bool m_bHasSword;
    bool m_bAttacking;
    int m_nHealth;
    int m_nInvulnerable;
    int m_nScore;
};
