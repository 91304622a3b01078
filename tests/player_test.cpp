// player_test.cpp -- the hero through whole ticks: walking, running, attacks, walls, damage
#include "kinds_world.h"

#include "Motor/animals.h"

#include <climits>

namespace {

class Hero : public KindsWorld
{
protected:
    static int Frame(const JTGrafics* g) { return GraficsPeek::Frame(g); }
    static int Sheet(const JTGrafics* g) { return GraficsPeek::Bitmap(g); }

    // Each tick's frame must lie whole on the selected sheet: 24 walking or 13 attack frames.
    static void ExpectFrameOnSheet(const JTPlayer* hero)
    {
        int frames = Sheet(hero) == 148 ? 13 : 24;
        EXPECT_GE(GraficsPeek::SrcX(hero), 0);
        EXPECT_LE(GraficsPeek::SrcX(hero) + 32, frames * 32);
    }
};

} // namespace

TEST_F(Hero, WalksThroughFivePosesTwoPixelsPerTick)
{
    JTPlayer* hero = Place(new JTPlayer, 64, 64);
    KeyStatePress(VK_RIGHT);
    for (int t = 1; t <= 6; t++) {
        Tick();
        EXPECT_EQ(Frame(hero), (t - 1) % 5 + 1) << "tick " << t;
        EXPECT_EQ(hero->GetX(), 64 + 2 * t);
    }
    // A turn keeps the step count: the next pose is 2 of the new direction.
    KeyStateRelease(VK_RIGHT);
    KeyStatePress(VK_DOWN);
    Tick();
    EXPECT_EQ(Frame(hero), 6 + 2);
    EXPECT_EQ(hero->GetY(), 66);
    KeyStateRelease(VK_DOWN);
    Tick();
    EXPECT_EQ(Frame(hero), 6);
    EXPECT_EQ(hero->GetX(), 76);
    EXPECT_EQ(hero->GetY(), 66);
    // Standing leaves the step at the start: the next walk shows pose 1 again.
    KeyStatePress(VK_LEFT);
    Tick();
    EXPECT_EQ(Frame(hero), 12 + 1);
    EXPECT_EQ(hero->GetX(), 74);
}

TEST_F(Hero, DownWinsOverUpOverLeftOverRight)
{
    JTPlayer* hero = Place(new JTPlayer, 64, 64);
    for (int vk : {VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT})
        KeyStatePress(vk);
    Tick();
    EXPECT_EQ(Frame(hero), 6 + 1);
    KeyStateRelease(VK_DOWN);
    Tick();
    EXPECT_EQ(Frame(hero), 18 + 2);
    KeyStateRelease(VK_UP);
    Tick();
    EXPECT_EQ(Frame(hero), 12 + 3);
    KeyStateRelease(VK_LEFT);
    Tick();
    EXPECT_EQ(Frame(hero), 0 + 4);
    EXPECT_EQ(hero->GetX(), 64 - 2 + 2);
    EXPECT_EQ(hero->GetY(), 64 + 2 - 2);
}

TEST_F(Hero, ShiftRunsFourPixelsAndAloneStands)
{
    JTPlayer* hero = Place(new JTPlayer, 64, 64);
    KeyStatePress(VK_SHIFT);
    Tick();
    EXPECT_EQ(hero->GetX(), 64);
    EXPECT_EQ(Frame(hero), 0);
    KeyStatePress(VK_LEFT);
    Tick();
    Tick();
    EXPECT_EQ(hero->GetX(), 56);
    KeyStateRelease(VK_SHIFT);
    Tick();
    EXPECT_EQ(hero->GetX(), 54);
}

TEST_F(Hero, AttackShowsStrikesThenStandsAndRepeatsEveryFiveTicks)
{
    JTPlayer* hero = Place(new JTPlayer, 64, 64);
    hero->GiveItem(SPRITE_ESPASA);
    KeyStatePress(VK_UP);
    Tick(); // faces up, at y 62
    KeyStatePress(VK_CONTROL);

    Tick(); // T: the shield raised upwards, no step
    EXPECT_TRUE(hero->IsAttacking());
    EXPECT_EQ(Sheet(hero), 148);
    EXPECT_EQ(GraficsPeek::Mask(hero), 149);
    EXPECT_EQ(Frame(hero), 1 + DIR_UP);
    EXPECT_EQ(hero->GetY(), 62);
    const int strikes[] = {5 + 2 * DIR_UP, 6 + 2 * DIR_UP, 6 + 2 * DIR_UP};
    for (int frame : strikes) {
        Tick();
        EXPECT_TRUE(hero->IsAttacking());
        EXPECT_EQ(Frame(hero), frame);
        ExpectFrameOnSheet(hero);
    }
    Tick(); // T+4: back on the walking sheet, standing
    EXPECT_FALSE(hero->IsAttacking());
    EXPECT_EQ(Sheet(hero), 150);
    EXPECT_EQ(GraficsPeek::Mask(hero), 147);
    EXPECT_EQ(Frame(hero), 18);
    EXPECT_EQ(hero->GetY(), 62);
    Tick(); // T+5: Control still held starts the next attack
    EXPECT_TRUE(hero->IsAttacking());
    EXPECT_EQ(Frame(hero), 1 + DIR_UP);
    EXPECT_EQ(hero->GetY(), 62);
}

TEST_F(Hero, EveryAttackFrameLiesOnTheAttackSheet)
{
    JTPlayer* hero = Place(new JTPlayer, 64, 64);
    hero->GiveItem(SPRITE_ESPASA);
    for (int vk : {VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP}) {
        KeyStateReset();
        KeyStatePress(vk);
        Tick();
        KeyStatePress(VK_CONTROL);
        for (int t = 0; t < 5; t++) {
            Tick();
            ExpectFrameOnSheet(hero);
        }
    }
}

TEST_F(Hero, ControlWithoutTheSwordIsIgnored)
{
    JTPlayer* hero = Place(new JTPlayer, 64, 64);
    KeyStatePress(VK_CONTROL);
    KeyStatePress(VK_RIGHT);
    Tick();
    EXPECT_FALSE(hero->IsAttacking());
    EXPECT_EQ(Sheet(hero), 150);
    EXPECT_EQ(hero->GetX(), 66);
}

// Tile column 6 blocks: the right probe (x + 30, y + 24) enters it at x 66.
TEST_F(Hero, BlockedMoveStandsOneTickThenWalksAgain)
{
    Block(6, 5);
    JTPlayer* hero = Place(new JTPlayer, 64, 64);
    KeyStatePress(VK_RIGHT);
    Tick();
    EXPECT_EQ(hero->GetX(), 64);
    EXPECT_EQ(Frame(hero), 0);
    Tick(); // the arrow still held: standing, no move
    EXPECT_EQ(hero->GetX(), 64);
    EXPECT_EQ(Frame(hero), 0);
    KeyStateRelease(VK_RIGHT);
    KeyStatePress(VK_LEFT);
    Tick();
    EXPECT_EQ(hero->GetX(), 62);
    EXPECT_EQ(Frame(hero), 12 + 1);
}

TEST_F(Hero, WallHitDuringAnAttackKeepsTheAttackSheet)
{
    Block(4, 5); // under the hero's feet: every tick's wall check fails
    JTPlayer* hero = Place(new JTPlayer, 64, 64);
    hero->GiveItem(SPRITE_ESPASA);
    KeyStatePress(VK_LEFT);
    Tick();
    KeyStatePress(VK_CONTROL);
    for (int t = 0; t < 8; t++) {
        Tick();
        EXPECT_TRUE(hero->IsAttacking());
        EXPECT_EQ(Sheet(hero), 148);
        EXPECT_EQ(Frame(hero), 1 + DIR_LEFT);
        EXPECT_EQ(hero->GetX(), 64);
    }
}

// A position from a foreign file may lie at the far end of the int range: a step stops there.
TEST_F(Hero, StepsStopAtTheIntLimits)
{
    Map()->SetWalkable(255, 1); // everything off the map reads as tile 255
    JTPlayer* hero = Place(new JTPlayer, INT_MAX - 1, INT_MIN + 3);
    KeyStatePress(VK_SHIFT);
    KeyStatePress(VK_RIGHT);
    Tick();
    EXPECT_EQ(hero->GetX(), INT_MAX);
    KeyStateRelease(VK_RIGHT);
    KeyStatePress(VK_UP);
    Tick();
    EXPECT_EQ(hero->GetY(), INT_MIN);
    EXPECT_EQ(hero->GetX(), INT_MAX);
}

TEST_F(Hero, InvulnerableForNineteenTicksAfterAHurt)
{
    JTPlayer* hero = Place(new JTPlayer, 64, 64);
    for (int t = 1; t <= 19; t++) {
        Tick();
        hero->Hurt(1); // a new hero starts protected
        EXPECT_EQ(hero->GetHealth(), 9) << "tick " << t;
        EXPECT_EQ(GraficsPeek::Rop(hero), SRCPAINT);
    }
    Tick(); // T
    EXPECT_EQ(GraficsPeek::Rop(hero), SRCPAINT);
    hero->Hurt(2);
    EXPECT_EQ(hero->GetHealth(), 7);
    for (int t = 1; t <= 19; t++) {
        Tick();
        hero->Hurt(5);
        EXPECT_EQ(hero->GetHealth(), 7) << "tick T+" << t;
        EXPECT_EQ(GraficsPeek::Rop(hero), SRCPAINT);
    }
    Tick(); // T+20: still drawn lit, but open to harm again
    EXPECT_EQ(GraficsPeek::Rop(hero), SRCPAINT);
    Tick();
    EXPECT_EQ(GraficsPeek::Rop(hero), SRCCOPY);
    hero->Hurt(2);
    EXPECT_EQ(hero->GetHealth(), 5);
}

TEST_F(Hero, AttackKillsWhateverItTouches)
{
    JTPlayer* hero = Place(new JTPlayer, 64, 64);
    Place(new JTGos, 80, 70);
    hero->GiveItem(SPRITE_ESPASA);
    Tick();
    EXPECT_EQ(Count(SPRITE_GOS), 1);
    KeyStatePress(VK_CONTROL);
    Tick();
    Tick();
    EXPECT_EQ(Count(SPRITE_GOS), 0);
    EXPECT_EQ(Count(SPRITE_EFECTE), 2); // the death effect and the body
    EXPECT_EQ(hero->GetScore(), 0);
}

TEST_F(Hero, RegistersWhileItLives)
{
    JTPlayer* first = static_cast<JTPlayer*>(m_pKernel->CreateSprite(SPRITE_PLAYER));
    EXPECT_EQ(Render()->GetPlayer(), first);
    JTPlayer* second = new JTPlayer;
    EXPECT_EQ(Render()->GetPlayer(), second);
    delete first;
    EXPECT_EQ(Render()->GetPlayer(), nullptr);
    delete second;

    Place(new JTPlayer, 64, 64)->SetAlive(false);
    EXPECT_EQ(Tick(), TICK_NO_PLAYER);
    EXPECT_EQ(Render()->GetPlayer(), nullptr);
}
