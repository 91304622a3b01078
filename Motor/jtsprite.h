// jtsprite.h -- the sprite base classes: world flags, frame animation, velocity, geometry
//
// JTGrafics and the items share jtgrafics.h, and the items derive from JTSprite: that header
// includes this one right after JTGrafics is complete, whichever of the two is included first.
#ifndef MOTOR_JTSPRITE_H
#ifndef MOTOR_JTGRAFICS_DEFINED
#include "Motor/jtgrafics.h"
#else
#define MOTOR_JTSPRITE_H

class CArchive;

// Sprite type ids, stored with every sprite; only 0-9 reach a file.
enum
{
    SPRITE_PLAYER = 0,
    SPRITE_GALLINA = 1,
    SPRITE_GOS = 2,
    SPRITE_MALOTE = 3,
    SPRITE_FETILLER = 4,
    SPRITE_TAROK = 5,
    SPRITE_TRISHA = 6,
    SPRITE_DAMA = 7,
    SPRITE_POCIMA = 8,
    SPRITE_ESPASA = 9,
    SPRITE_EFECTE = -4, // effects and the dog's body, during play only
    SPRITE_BOLA = -8,   // the enemy's ball, during play only
};

// Directions; turning back is (direction + 2) % 4.
enum
{
    DIR_RIGHT = 0,
    DIR_DOWN = 1,
    DIR_LEFT = 2,
    DIR_UP = 3,
    DIR_STOPPED = 5, // JTMobil::GetMoveDirection of a sprite at rest
};

// Animation states; any but ANIM_STOPPED lasts until the next advance, SetAnimation or SetFrame.
enum
{
    ANIM_STOPPED = 0,   // a fixed frame: the step does nothing
    ANIM_RUNNING = 1,   // the last advance reached a frame before the last one
    ANIM_STARTED = 2,   // SetAnimation showed the first frame; no advance yet
    ANIM_LASTFRAME = 3, // the last advance reached the last frame
    ANIM_WRAPPED = 4,   // the last advance went past the last frame, back to the first
};

// A world object. The sprite manager owns it once it is added, calls Update, the wall check
// and Collide each tick, and deletes it at the next rebuild after its alive flag is cleared.
class JTSprite : public JTGrafics
{
public:
    explicit JTSprite(int type);
    ~JTSprite() override {}

    bool IsAlive() const { return m_bAlive; }
    bool IsVisible() const { return m_bVisible; }
    bool IsSolid() const { return m_bSolid; }
    void SetAlive(bool alive) { m_bAlive = alive; }
    bool IsSeen() const { return m_bSeen; }
    void ClearSeen() { m_bSeen = false; }
    int GetAnimState() const { return m_nAnimState; }

    // Shows first at once; each frame then stays for period steps, wrapping after last.
    void SetAnimation(int first, int last, int period);
    // One fixed frame; the step stops until the next SetAnimation.
    void SetFrame(int frame);

    // Both edges count: a sprite w pixels wide answers for w + 1 columns.
    bool Contains(int x, int y) const;
    // False unless both are solid; touching edges overlap. Symmetric. Inline: the collision
    // pass tests every pair.
    bool Overlaps(const JTSprite* pOther) const
    {
        if (!m_bSolid || !pOther->m_bSolid)
            return false;
        if ((long long)m_nX + m_nW < pOther->m_nX || m_nX > (long long)pOther->m_nX + pOther->m_nW)
            return false;
        return (long long)m_nY + m_nH >= pOther->m_nY
               && m_nY <= (long long)pOther->m_nY + pOther->m_nH;
    }
    // From the top-left corners; a tie goes vertical, equal corners give DIR_UP.
    int DirectionTo(const JTSprite* pOther) const;
    // Squared distance of the centres; held at the int range far apart.
    int DistanceSq(const JTSprite* pOther) const;
    void GetCenter(int* pX, int* pY) const;

    // Marks the sprite seen, also when the sheet cannot be drawn.
    void Draw(CDC* pDC) override;
    // Storing: type, x, y. Loading: x, y (the reader has taken the type to pick the class).
    // Kinds with more to store call this first, then add their fields.
    virtual void Serialize(CArchive& ar);
    // Once per tick: the animation step.
    virtual void Update();
    // The tile map's wall check found blocking ground under the feet. Default: nothing.
    virtual void HitWall() {}
    // The collision pass paired this sprite with pOther. Default: nothing.
    virtual void Collide(JTSprite* pOther);
    // Clears the alive flag; the manager deletes the sprite at its next rebuild.
    virtual void Kill();

protected:
    // m_nSrcX for a frame at the current width, held at the int range.
    void ShowFrame(int frame);

    bool m_bAlive = true;
    bool m_bVisible = true;
    bool m_bSolid = true;
    int m_nFirstFrame = -1;
    int m_nLastFrame = -1;
    int m_nFramePeriod = 1;
    int m_nTick = 0;
    int m_nFrame = 0;
    int m_nAnimState = ANIM_STOPPED;
    bool m_bSeen = false;
};

// A sprite that moves by a fixed step each tick.
class JTMobil : public JTSprite
{
public:
    explicit JTMobil(int type);
    ~JTMobil() override {}

    // A direction outside 0-3 leaves the velocity as it was.
    void SetVelocity(int direction, int speed);
    // The dominant axis of the velocity, or DIR_STOPPED at rest.
    int GetMoveDirection() const;
    // Takes back one step of the velocity.
    void UndoMove();
    // Moves by the velocity, then the animation step.
    void Update() override;

protected:
    int m_dx = 0;
    int m_dy = 0;
};

#endif // MOTOR_JTGRAFICS_DEFINED
#endif // MOTOR_JTSPRITE_H
