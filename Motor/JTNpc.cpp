// JTNpc.cpp -- the talking characters' walk, talk requests, strikes, death and stored texts
#include "Motor/JTNpc.h"

#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/player.h"
#include "platform/archive.h"
#include "platform/debug.h"
#include "platform/rand.h"
#include "platform/wsprintf.h"

#include <climits>
#include <cstring>
#include <new>

namespace {

// The cry's i-acute is the single byte 0xED of the Windows-1252 code page.
const char kCry[] = "O, no !!!! Eres un assas\xED!!, Auxili!!!";

const int kWanderSpeed = 2;
const int kFleeSpeed = 4;
const int kTalkAfter = 60;
const int kStrikeAfter = 30;
const int kDyingTicks = 5;
const int kTalkDistanceSq = 400;
const int kDeadFrame = 12;

// Copies text into a zero-filled array of n bytes, keeping at most n - 1 characters. The copy
// goes through a buffer of its own, so text may point into the array itself.
template <size_t N> void CopyText(char (&dest)[N], const char* text)
{
    char buffer[N] = {};
    if (text != NULL)
        wsprintfA(buffer, "%s", text);
    std::memcpy(dest, buffer, N);
}

// Reads a text field of the map file: the last byte always ends it, and whatever follows the
// first NUL (or was missing from a short file) becomes zero.
void ReadText(CArchive& ar, char* dest, UINT size)
{
    std::memset(dest, 0, size);
    ar.Read(dest, size);
    dest[size - 1] = '\0';
    size_t length = std::strlen(dest);
    std::memset(dest + length, 0, size - length);
}

} // namespace

JTNpc::JTNpc(int type)
    : JTMobil(type), m_nCounter(0), m_nPrevX(0), m_nPrevY(0), m_nState(NPC_WANDERING),
      m_nDir(DIR_RIGHT)
{
    std::memset(m_szSpeech, 0, sizeof m_szSpeech);
    std::memset(m_szName, 0, sizeof m_szName);
    CopyText(m_szCry, kCry);
    m_nW = 24;
    m_nH = 32;
    m_nSrcY = 0;
    UpdateMotion();
}

void JTNpc::UpdateMotion()
{
    if (m_nState == NPC_WANDERING) {
        SetVelocity(m_nDir, kWanderSpeed);
        SetAnimation(3 * m_nDir, 3 * m_nDir + 2, 2);
    } else {
        SetVelocity(m_nDir, kFleeSpeed);
        SetAnimation(3 * m_nDir, 3 * m_nDir + 2, 3);
    }
}

void JTNpc::Update()
{
    // Counts up but never wraps, however long a run lasts.
    if (m_nCounter < INT_MAX)
        m_nCounter += 1;
    if (m_nState == NPC_DYING) {
        if (m_nCounter > kDyingTicks)
            m_bAlive = false;
        return;
    }
    int oldDir = m_nDir;
    m_nPrevX = m_nX;
    m_nPrevY = m_nY;
    if (m_nState == NPC_FLEEING) {
        JTRender* pRender = JTRender::GetRender();
        ASSERT(pRender != NULL);
        // Away from the hero along the dominant axis; with no hero it keeps its course.
        JTPlayer* pHero = pRender != NULL ? pRender->GetPlayer() : NULL;
        if (pHero != NULL) {
            m_nDir = (DirectionTo(pHero) + 2) % 4;
            if (m_nDir != oldDir)
                UpdateMotion();
        }
    }
    JTMobil::Update();
}

// The new direction may be the one that just failed; the next tick then picks again. A dying
// character does not move, so a wall under it changes nothing: it keeps showing its dead frame.
void JTNpc::HitWall()
{
    if (m_nState == NPC_DYING)
        return;
    m_nDir = crt::rand() % 4;
    m_nX = m_nPrevX;
    m_nY = m_nPrevY;
    UpdateMotion();
}

void JTNpc::Collide(JTSprite* pOther)
{
    if (pOther->GetType() != SPRITE_PLAYER)
        return;
    if (m_nCounter <= kTalkAfter)
        return;
    if (DistanceSq(pOther) >= kTalkDistanceSq)
        return;
    JTKernel* pKernel = JTKernel::GetKernel();
    ASSERT(pKernel != NULL);
    if (pKernel != NULL)
        pKernel->SetTalker(this);
    m_nCounter = 0;
}

// A strike counts only 31 ticks or more after the last talk request or counted strike, so one
// attack of the hero counts once.
void JTNpc::Kill()
{
    if (m_nCounter <= kStrikeAfter)
        return;
    if (m_nState == NPC_WANDERING) {
        m_nCounter = 0;
        m_nState = NPC_FLEEING;
        JTKernel* pKernel = JTKernel::GetKernel();
        ASSERT(pKernel != NULL);
        if (pKernel != NULL)
            pKernel->SetTalker(this);
        return;
    }
    m_nState = NPC_DYING;
    SetFrame(kDeadFrame);
    m_nCounter = 0;
    JTManager* pManager = JTManager::GetManager();
    ASSERT(pManager != NULL);
    AddEffect(pManager, new (std::nothrow) JTEfecte(0, 8, 1, 24, 32, 170, 169), m_nX, m_nY);
}

void JTNpc::Serialize(CArchive& ar)
{
    JTSprite::Serialize(ar);
    if (ar.IsStoring()) {
        ar.Write(m_szName, sizeof m_szName);
        ar.Write(m_szSpeech, sizeof m_szSpeech);
    } else {
        ReadText(ar, m_szName, sizeof m_szName);
        ReadText(ar, m_szSpeech, sizeof m_szSpeech);
    }
}

void JTNpc::SetSpeech(const char* text)
{
    CopyText(m_szSpeech, text);
}

void JTNpc::SetName(const char* name)
{
    CopyText(m_szName, name);
}

const char* JTNpc::GetSpeech() const
{
    return m_nState == NPC_WANDERING ? m_szSpeech : m_szCry;
}

JTTarok::JTTarok() : JTNpc(SPRITE_TAROK)
{
    m_nBitmapId = 162;
    m_nMaskId = 161;
    SetName("Tarok");
}

JTTrisha::JTTrisha() : JTNpc(SPRITE_TRISHA)
{
    m_nBitmapId = 167;
    m_nMaskId = 166;
    SetName("Trisha");
}

JTDama::JTDama() : JTNpc(SPRITE_DAMA)
{
    m_nBitmapId = 163;
    m_nMaskId = 164;
    SetName("Dama");
}
