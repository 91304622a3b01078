// player.cpp -- the hero: reads the keys each tick, walks, strikes, takes damage, keeps the score
#include "Motor/player.h"

#include "Motor/jtmath.h"
#include "Motor/jtrender.h"
#include "platform/debug.h"
#include "platform/gdi.h"
#include "platform/keys.h"

namespace {

const int kWalkSheet = 150;
const int kWalkMask = 147;
const int kAttackSheet = 148;
const int kAttackMask = 149;
const int kFramesPerDirection = 6;
const int kWalkPoses = 5;
const int kWalkSpeed = 2;
const int kRunSpeed = 4;
const int kAttackSteps = 4;
const int kFullHealth = 9;
const int kInvulnerableTicks = 20;

// Attack sheet: 1 to 4 are the shield poses facing right, down, left, up.
int ShieldPose(int dir)
{
    return 1 + dir;
}

// Attack sheet: two strike frames per direction from frame 5 on.
int StrikeFrame(int dir)
{
    return 5 + 2 * dir;
}

} // namespace

JTPlayer::JTPlayer()
    : JTSprite(SPRITE_PLAYER), m_nDir(DIR_RIGHT), m_nPrevX(0), m_nPrevY(0), m_nStep(0),
      m_bHasSword(false), m_bAttacking(false), m_nHealth(kFullHealth),
      m_nInvulnerable(kInvulnerableTicks), m_nScore(0)
{
    m_nW = 32;
    m_nH = 32;
    m_nBitmapId = kWalkSheet;
    m_nMaskId = kWalkMask;
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender != NULL);
    if (pRender != NULL)
        pRender->SetPlayer(this);
}

JTPlayer::~JTPlayer()
{
    // Whichever hero was registered: a map holds one hero, and a dead one must not linger.
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender != NULL);
    if (pRender != NULL)
        pRender->SetPlayer(NULL);
}

void JTPlayer::Update()
{
    int speed = kWalkSpeed;
    m_nPrevX = m_nX;
    m_nPrevY = m_nY;
    CountDownInvulnerability();
    if (m_bAttacking) {
        StepAttack();
        return;
    }
    if (GetAsyncKeyState(VK_SHIFT))
        speed = kRunSpeed;
    // Control is queried on every tick, sword or not, so a press made without it is used up.
    if (GetAsyncKeyState(VK_CONTROL) && m_bHasSword) {
        StartAttack();
        return;
    }
    Walk(speed);
}

void JTPlayer::CountDownInvulnerability()
{
    if (m_nInvulnerable > 0) {
        m_nInvulnerable--;
        m_dwRop = SRCPAINT;
    } else {
        m_dwRop = SRCCOPY;
    }
}

// The first tick of an attack raises the shield in the hero's direction and does not move:
// the walking poses would lie partly beyond the attack sheet, and a strike should not slide.
void JTPlayer::StartAttack()
{
    m_bAttacking = true;
    m_nBitmapId = kAttackSheet;
    m_nMaskId = kAttackMask;
    SetFrame(ShieldPose(m_nDir));
    m_nStep = 1;
}

void JTPlayer::StepAttack()
{
    if (m_nStep >= kAttackSteps) {
        m_bAttacking = false;
        m_nStep = -1;
        m_nBitmapId = kWalkSheet;
        m_nMaskId = kWalkMask;
        SetFrame(m_nDir * kFramesPerDirection);
    } else {
        // A wall hit sets the step to -1; the frame before the strikes is still on the sheet.
        SetFrame(StrikeFrame(m_nDir) + (m_nStep >> 1));
    }
    m_nStep += 1;
}

void JTPlayer::Walk(int speed)
{
    if (GetAsyncKeyState(VK_DOWN))
        m_nDir = DIR_DOWN;
    else if (GetAsyncKeyState(VK_UP))
        m_nDir = DIR_UP;
    else if (GetAsyncKeyState(VK_LEFT))
        m_nDir = DIR_LEFT;
    else if (GetAsyncKeyState(VK_RIGHT))
        m_nDir = DIR_RIGHT;
    else
        m_nStep = -1;

    if (m_nStep == -1) {
        SetFrame(m_nDir * kFramesPerDirection);
    } else {
        SetFrame(m_nDir * kFramesPerDirection + m_nStep % kWalkPoses + 1);
        Move(m_nDir, speed);
    }
    // The pose only depends on the step modulo 5: keep the counter small on long walks.
    m_nStep = (m_nStep + 1) % kWalkPoses;
}

// Positions read from a file may lie anywhere in the int range: a step stops at its ends.
void JTPlayer::Move(int dir, int speed)
{
    long long dx = ((dir + 1) % 2) * (long long)speed;
    long long dy = (dir % 2) * (long long)speed;
    if (dir < 2) {
        m_nX = SaturateInt(m_nX + dx);
        m_nY = SaturateInt(m_nY + dy);
    } else {
        m_nX = SaturateInt(m_nX - dx);
        m_nY = SaturateInt(m_nY - dy);
    }
}

void JTPlayer::HitWall()
{
    m_nX = m_nPrevX;
    m_nY = m_nPrevY;
    // During an attack the attack sheet is selected: show its shield pose, never a walking
    // frame number that would lie beyond that sheet.
    if (m_bAttacking)
        SetFrame(ShieldPose(m_nDir));
    else
        SetFrame(m_nDir * kFramesPerDirection);
    m_nStep = -1;
}

void JTPlayer::Collide(JTSprite* pOther)
{
    if (m_bAttacking)
        pOther->Kill();
}

void JTPlayer::AddScore(int n)
{
    m_nScore += n;
}

void JTPlayer::Hurt(int n)
{
    if (m_nInvulnerable < 1) {
        m_nHealth -= n;
        m_nInvulnerable = kInvulnerableTicks;
    }
}

void JTPlayer::GiveItem(int type)
{
    if (type == SPRITE_POCIMA)
        m_nHealth = kFullHealth;
    else if (type == SPRITE_ESPASA)
        m_bHasSword = true;
}
