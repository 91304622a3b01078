// JTNpc.h -- the talking characters: wandering, talk requests, flight when struck, death
#pragma once

#include "Motor/jtsprite.h"

enum
{
    NPC_WANDERING = 0,
    NPC_FLEEING = 1,
    NPC_DYING = 2,
};

// Wanders in straight lines, asks to talk when the hero comes close, flees and cries out at
// the first counted strike and dies at the second. Its three texts are always zero-padded to
// the end of their arrays, so what is written to a file is fully defined.
class JTNpc : public JTMobil
{
public:
    explicit JTNpc(int type);

    void Serialize(CArchive& ar) override;
    void Update() override;
    void HitWall() override;
    void Collide(JTSprite* pOther) override;
    void Kill() override;

    // Velocity and walking animation for m_nDir and m_nState.
    void UpdateMotion();
    // Keeps at most 254 characters.
    void SetSpeech(const char* text);
    const char* GetName() const { return m_szName; }
    // The speech while wandering; the cry once the character has been struck.
    const char* GetSpeech() const;

protected:
    // Keeps at most 9 characters.
    void SetName(const char* name);

    char m_szSpeech[255];
    char m_szName[10];
    char m_szCry[255];
    int m_nCounter;
    int m_nPrevX;
    int m_nPrevY;
    int m_nState;
    int m_nDir;
};

class JTTarok : public JTNpc
{
public:
    JTTarok();
};

class JTTrisha : public JTNpc
{
public:
    JTTrisha();
};

class JTDama : public JTNpc
{
public:
    JTDama();
};
