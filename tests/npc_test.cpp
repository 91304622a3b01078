// npc_test.cpp -- talking characters: talk requests, counted strikes, flight, turns, death
#include "kinds_world.h"

#include "Motor/JTNpc.h"

#include <cstring>
#include <string>

namespace {

const char kCry[] = "O, no !!!! Eres un assas\xED!!, Auxili!!!";

class Npc : public KindsWorld
{
protected:
    // A character at (64, 64) whose feet stand on blocked ground whichever way it steps, so it
    // stays beside a hero at (60, 55): centres 9 px apart, the hero's feet on open ground.
    JTTarok* PinnedTarok()
    {
        for (int col : {4, 5})
            for (int row : {5, 6})
                Block(col, row);
        JTTarok* npc = Place(new JTTarok, 64, 64);
        npc->SetSpeech("Bon dia");
        return npc;
    }
};

} // namespace

TEST_F(Npc, KindsCarryTheirNamesSheetsAndStartWalkingRight)
{
    JTNpc* kinds[] = {new JTTarok, new JTTrisha, new JTDama};
    const char* names[] = {"Tarok", "Trisha", "Dama"};
    const int sheets[][2] = {{162, 161}, {167, 166}, {163, 164}};
    for (int i = 0; i < 3; i++) {
        EXPECT_STREQ(kinds[i]->GetName(), names[i]);
        EXPECT_EQ(GraficsPeek::Bitmap(kinds[i]), sheets[i][0]);
        EXPECT_EQ(GraficsPeek::Mask(kinds[i]), sheets[i][1]);
        EXPECT_EQ(kinds[i]->GetWidth(), 24);
        EXPECT_EQ(kinds[i]->GetHeight(), 32);
        EXPECT_EQ(MobilPeek::Dx(kinds[i]), 2);
        EXPECT_EQ(MobilPeek::Dy(kinds[i]), 0);
        Place(kinds[i], 40 * i, 100);
    }
    for (int t = 1; t <= 6; t++) {
        Tick();
        EXPECT_EQ(GraficsPeek::Frame(kinds[0]), (t - 1) / 2 % 3) << "tick " << t;
    }
    EXPECT_EQ(kinds[2]->GetX(), 80 + 12);
}

TEST_F(Npc, AsksToTalkOnTheSixtyFirstTickAndEverySixtyOneAfter)
{
    JTTarok* npc = PinnedTarok();
    Place(new JTPlayer, 60, 55);
    for (int t = 1; t <= 60; t++)
        ASSERT_EQ(Tick(), TICK_RUNNING) << "tick " << t;
    EXPECT_EQ(Tick(), TICK_TALK);
    EXPECT_EQ(m_pKernel->GetTalker(), npc);
    EXPECT_STREQ(npc->GetSpeech(), "Bon dia");
    m_pKernel->SetTalker(nullptr);
    for (int t = 1; t <= 60; t++)
        ASSERT_EQ(Tick(), TICK_RUNNING) << "tick " << 61 + t;
    EXPECT_EQ(Tick(), TICK_TALK);
    EXPECT_EQ(npc->GetX(), 64);
}

TEST_F(Npc, StrikesCountOnlyAfterThirtyTicksThenFleeAndDie)
{
    JTTarok* npc = PinnedTarok();
    JTPlayer* hero = Place(new JTPlayer, 60, 55);
    hero->GiveItem(SPRITE_ESPASA);
    KeyStatePress(VK_CONTROL); // one attack every 5 ticks from tick 1
    for (int t = 1; t <= 30; t++)
        ASSERT_EQ(Tick(), TICK_RUNNING) << "tick " << t;
    EXPECT_EQ(Tick(), TICK_TALK); // tick 31: the first counted strike
    EXPECT_STREQ(npc->GetSpeech(), kCry);
    m_pKernel->SetTalker(nullptr);
    for (int t = 32; t <= 61; t++)
        ASSERT_EQ(Tick(), TICK_RUNNING) << "tick " << t;
    EXPECT_EQ(Count(SPRITE_EFECTE), 0);
    EXPECT_EQ(Tick(), TICK_RUNNING); // tick 62: the second one
    EXPECT_EQ(GraficsPeek::Frame(npc), 12);
    ASSERT_EQ(Count(SPRITE_EFECTE), 1);
    JTSprite* effect = Manager()->GetFirst();
    EXPECT_EQ(effect->GetWidth(), 24);
    EXPECT_EQ(effect->GetHeight(), 32);
    EXPECT_EQ(effect->GetX(), npc->GetX());
    EXPECT_EQ(GraficsPeek::Bitmap(effect), 170);
    Ticks(5);
    EXPECT_EQ(Count(SPRITE_TAROK), 1);
    EXPECT_EQ(GraficsPeek::Frame(npc), 12);
    Tick(); // tick 68
    EXPECT_EQ(Count(SPRITE_TAROK), 0);
}

// Both sprites' Collide run in one pass; the one nearer the front of the list goes first.
TEST_F(Npc, TalkBeforeTheStrikeShowsTheSpeech)
{
    JTPlayer* hero = Place(new JTPlayer, 60, 55);
    JTTarok* npc = PinnedTarok();
    hero->GiveItem(SPRITE_ESPASA);
    Ticks(60);
    KeyStatePress(VK_CONTROL);
    EXPECT_EQ(Tick(), TICK_TALK);
    EXPECT_STREQ(npc->GetSpeech(), "Bon dia");
    m_pKernel->SetTalker(nullptr);
    Ticks(3); // the rest of that attack finds the counter reset
    EXPECT_STREQ(npc->GetSpeech(), "Bon dia");
}

TEST_F(Npc, StrikeBeforeTheTalkShowsTheCry)
{
    JTTarok* npc = PinnedTarok();
    JTPlayer* hero = Place(new JTPlayer, 60, 55);
    hero->GiveItem(SPRITE_ESPASA);
    Ticks(60);
    KeyStatePress(VK_CONTROL);
    EXPECT_EQ(Tick(), TICK_TALK);
    EXPECT_EQ(m_pKernel->GetTalker(), npc);
    EXPECT_STREQ(npc->GetSpeech(), kCry);
}

TEST_F(Npc, CryIsThirtyEightBytesWithTheAccentAsOneByte)
{
    JTDama* npc = Place(new JTDama, 100, 100);
    Ticks(31);
    npc->Kill();
    const char* cry = npc->GetSpeech();
    EXPECT_EQ(std::strlen(cry), 38u);
    EXPECT_EQ(static_cast<unsigned char>(cry[24]), 0xEDu);
}

TEST_F(Npc, FleesAwayFromTheHeroAtFourPixels)
{
    Place(new JTPlayer, 200, 100);
    JTTrisha* npc = Place(new JTTrisha, 100, 100);
    Ticks(31);
    EXPECT_EQ(npc->GetX(), 162);
    npc->Kill();
    EXPECT_EQ(m_pKernel->GetTalker(), npc);
    m_pKernel->SetTalker(nullptr);
    Tick();
    EXPECT_EQ(npc->GetX(), 158);
    EXPECT_EQ(GraficsPeek::Frame(npc), 6);
    Ticks(3);
    EXPECT_EQ(npc->GetX(), 146);
    EXPECT_EQ(GraficsPeek::Frame(npc), 7);
}

TEST_F(Npc, FleeingWithoutAHeroKeepsItsCourse)
{
    JTTrisha* npc = Place(new JTTrisha, 100, 100);
    Ticks(31);
    npc->Kill();
    Ticks(4);
    EXPECT_EQ(npc->GetX(), 162 + 8);
    EXPECT_EQ(npc->GetY(), 100);
    EXPECT_STREQ(npc->GetSpeech(), kCry);
}

// The unseeded generator starts 41, 18467: 41 % 4 turns down, 18467 % 4 up.
TEST_F(Npc, WallsTurnItByTheUnseededSequence)
{
    Block(7, 6); // the right probe (x + 22, y + 32) enters it at x 90
    Block(5, 9);
    Block(6, 9);
    JTTarok* npc = Place(new JTTarok, 64, 64);
    Ticks(13);
    EXPECT_EQ(npc->GetX(), 88);
    EXPECT_EQ(MobilPeek::Dx(npc), 0);
    EXPECT_EQ(MobilPeek::Dy(npc), 2);
    EXPECT_EQ(GraficsPeek::Frame(npc), 3);
    Ticks(24);
    EXPECT_EQ(npc->GetY(), 110);
    EXPECT_EQ(MobilPeek::Dy(npc), -2);
}

TEST_F(Npc, SpeechKeepsAtMostTwoHundredFiftyFourCharacters)
{
    JTTarok npc;
    std::string exact(254, 'a');
    npc.SetSpeech(exact.c_str());
    EXPECT_EQ(npc.GetSpeech(), exact);
    npc.SetSpeech((exact + "bc").c_str());
    EXPECT_EQ(npc.GetSpeech(), exact);
    npc.SetSpeech(npc.GetSpeech() + 200);
    EXPECT_EQ(npc.GetSpeech(), std::string(54, 'a'));
}
