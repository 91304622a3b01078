// enemies_test.cpp -- patrols, contact damage, kills and scores, the Fetiller's shots, the ball
#include "kinds_world.h"

#include "Motor/animals.h"
#include "Motor/bola.h"
#include "Motor/malote.h"
#include "platform/archive.h"
#include "platform/memfile.h"
#include "tests/map_bytes.h"

#include <climits>
#include <vector>

namespace {

class Enemies : public KindsWorld
{
protected:
    // A hero whose opening invulnerability has run out.
    JTPlayer* VulnerableHero(int x, int y)
    {
        JTPlayer* hero = Place(new JTPlayer, x, y);
        Ticks(20);
        return hero;
    }

    // One tick with the Fetiller still unseen, then the first game frame shows it.
    void ShowFetiller()
    {
        Tick();
        Paint();
    }

    // Loads one enemy record with the given direction, as a map file from elsewhere might hold.
    JTEnemic* LoadEnemy(int type, int32_t dir)
    {
        Bytes bytes;
        for (int32_t v : {int32_t(type), int32_t(64), int32_t(64), dir, int32_t(-1)})
            PutInt(bytes, v);
        CMemFile file(bytes.data(), UINT(bytes.size()));
        CArchive ar(&file, CArchive::load);
        Manager()->Serialize(ar);
        return static_cast<JTEnemic*>(Manager()->GetFirst());
    }
};

} // namespace

// Row 8 blocks under column 4: the Malote walking down turns at y 112 and walks back up.
TEST_F(Enemies, MalotePatrolTurnsBackAtWalls)
{
    Block(4, 8);
    JTMalote* malote = Place(new JTMalote, 64, 64);
    for (int t = 1; t <= 47; t++) {
        Tick();
        ASSERT_EQ(malote->GetY(), 64 + t);
    }
    EXPECT_EQ(GraficsPeek::Frame(malote), 2 + (47 - 1) / 4 % 2);
    Tick();
    EXPECT_EQ(malote->GetY(), 112);
    EXPECT_EQ(MobilPeek::Dy(malote), -1);
    EXPECT_EQ(GraficsPeek::Frame(malote), 6);
    Tick();
    EXPECT_EQ(malote->GetY(), 111);
    EXPECT_EQ(malote->GetX(), 64);
}

TEST_F(Enemies, ContactWithinTwentyPixelsHurtsByTwo)
{
    JTPlayer* hero = VulnerableHero(100, 100);
    // Centres (136, 116) after the Malote's step down: exactly 20 px apart.
    Place(new JTMalote, 128, 107);
    Tick();
    EXPECT_EQ(hero->GetHealth(), 9);
    Manager()->RemoveAll();
    hero = VulnerableHero(100, 100);
    Place(new JTMalote, 127, 107);
    Tick();
    EXPECT_EQ(hero->GetHealth(), 7);
    Tick();
    EXPECT_EQ(hero->GetHealth(), 7);
}

TEST_F(Enemies, AttackingHeroKillsAndScores)
{
    JTPlayer* hero = VulnerableHero(100, 100);
    hero->GiveItem(SPRITE_ESPASA);
    Place(new JTMalote, 108, 100);
    KeyStatePress(VK_CONTROL);
    Tick();
    EXPECT_EQ(hero->GetHealth(), 9);
    EXPECT_EQ(hero->GetScore(), 10);
    JTSprite* effect = Manager()->GetFirst();
    ASSERT_EQ(effect->GetType(), SPRITE_EFECTE);
    EXPECT_EQ(effect->GetX(), 108);
    EXPECT_EQ(effect->GetY(), 101);
    EXPECT_EQ(GraficsPeek::Frame(effect), 8);
    EXPECT_EQ(GraficsPeek::Bitmap(effect), 137);

    Place(new JTFetiller, 110, 96);
    Tick();
    EXPECT_EQ(hero->GetScore(), 30);
    effect = Manager()->GetFirst();
    EXPECT_EQ(effect->GetWidth(), 18);
    EXPECT_EQ(effect->GetHeight(), 30);
    EXPECT_EQ(GraficsPeek::Frame(effect), 12);
    EXPECT_EQ(effect->GetX(), 110);
}

TEST_F(Enemies, KillWithNoHeroScoresNothingAndGoesOn)
{
    JTMalote* malote = Place(new JTMalote, 50, 50);
    malote->Kill();
    EXPECT_FALSE(malote->IsAlive());
    EXPECT_EQ(Count(SPRITE_EFECTE), 1);
    EXPECT_EQ(Tick(), TICK_NO_PLAYER);
    EXPECT_EQ(Count(SPRITE_MALOTE), 0);
}

TEST_F(Enemies, FetillerIdlesUntilDrawnThenShootsEveryFiftyOneTicks)
{
    Place(new JTPlayer, 16, 16);
    JTFetiller* fetiller = Place(new JTFetiller, 100, 100);
    Ticks(30);
    EXPECT_EQ(fetiller->GetY(), 100);
    EXPECT_EQ(GraficsPeek::Frame(fetiller), 3);
    Paint();
    Ticks(50);
    EXPECT_EQ(fetiller->GetY(), 150);
    EXPECT_EQ(Count(SPRITE_BOLA), 0);
    Tick(); // active tick 51
    EXPECT_EQ(fetiller->GetY(), 151);
    ASSERT_EQ(Count(SPRITE_BOLA), 1);
    JTSprite* ball = Manager()->GetFirst();
    EXPECT_EQ(ball->GetX(), 100);
    EXPECT_EQ(ball->GetY(), 150);
    Tick();
    EXPECT_EQ(ball->GetY(), 146); // the hero lies mostly above: up at 4
    Ticks(49);
    EXPECT_EQ(Count(SPRITE_BOLA), 1);
    Tick();
    EXPECT_EQ(Count(SPRITE_BOLA), 2);
}

TEST_F(Enemies, FetillerOffScreenNeverStarts)
{
    Place(new JTPlayer, 16, 16);
    JTFetiller* fetiller = Place(new JTFetiller, 100, 280); // below the 240-pixel view
    for (int t = 0; t < 60; t++) {
        Tick();
        Paint();
    }
    EXPECT_EQ(fetiller->GetY(), 280);
    EXPECT_EQ(Count(SPRITE_BOLA), 0);
}

TEST_F(Enemies, FetillerWithoutAHeroHoldsItsFire)
{
    JTFetiller* fetiller = Place(new JTFetiller, 100, 100);
    ShowFetiller();
    Ticks(120);
    EXPECT_EQ(Count(SPRITE_BOLA), 0);
    EXPECT_EQ(fetiller->GetY(), 220);
}

// At the shot the Fetiller's corner is (100, 150); a hero corner 50 px right and 50 px
// below is a tie, which goes vertical.
TEST_F(Enemies, BallTakesTheDominantAxisAndTiesGoVertical)
{
    Place(new JTPlayer, 150, 200);
    Place(new JTFetiller, 100, 100);
    ShowFetiller();
    Ticks(51);
    JTBola* ball = static_cast<JTBola*>(Manager()->GetFirst());
    ASSERT_EQ(ball->GetType(), SPRITE_BOLA);
    EXPECT_EQ(MobilPeek::Dx(ball), 0);
    EXPECT_EQ(MobilPeek::Dy(ball), 4);
}

TEST_F(Enemies, BallHurtsOnlyWithinSixteenPixels)
{
    JTPlayer* hero = VulnerableHero(100, 100);
    JTBola* far = Place(new JTBola(124, 100), 124, 100); // centres 16 px apart across
    Ticks(5);
    EXPECT_EQ(hero->GetHealth(), 9);
    EXPECT_TRUE(far->IsAlive());
    Place(new JTBola(102, 100), 102, 100); // centres 8 px apart after its step
    Tick();
    EXPECT_EQ(hero->GetHealth(), 7);
    EXPECT_EQ(Count(SPRITE_EFECTE), 1);
    JTSprite* burst = Manager()->GetFirst();
    EXPECT_EQ(burst->GetX(), 102);
    EXPECT_EQ(burst->GetY(), 102);
    EXPECT_EQ(GraficsPeek::Frame(burst), 4);
}

TEST_F(Enemies, SwordCannotStopABallThatHurtsTheAttacker)
{
    JTPlayer* hero = VulnerableHero(100, 100);
    hero->GiveItem(SPRITE_ESPASA);
    KeyStatePress(VK_CONTROL);
    Tick(); // T
    JTBola* ball = Place(new JTBola(112, 84), 112, 84);
    ball->SetVelocity(DIR_DOWN, 4);
    Ticks(2); // touching the striking hero, centres still 16 px or more apart
    EXPECT_TRUE(ball->IsAlive());
    EXPECT_EQ(hero->GetHealth(), 9);
    Tick(); // T+3
    EXPECT_TRUE(hero->IsAttacking());
    EXPECT_EQ(hero->GetHealth(), 7);
    EXPECT_FALSE(ball->IsAlive());
}

TEST_F(Enemies, BallKillsADogButPassesAHen)
{
    Place(new JTGallina, 40, 160);
    JTBola* ball = Place(new JTBola(20, 160), 20, 160);
    ball->SetVelocity(DIR_RIGHT, 4);
    Place(new JTGos, 120, 160);
    Ticks(12); // across the hen
    EXPECT_EQ(Count(SPRITE_GALLINA), 1);
    EXPECT_EQ(Count(SPRITE_GOS), 1);
    EXPECT_TRUE(ball->IsAlive());
    Ticks(10); // on the dog at tick 21, removed at tick 22
    EXPECT_EQ(Count(SPRITE_GOS), 0);
    EXPECT_EQ(Count(SPRITE_BOLA), 0);
    EXPECT_EQ(Count(SPRITE_EFECTE), 3); // the explosion, the dog's death and its body
}

TEST_F(Enemies, BallBurstsOnBlockedGround)
{
    Block(3, 4); // y 64 to 79: the probe row y + 16 reaches it at y 48
    JTBola* ball = Place(new JTBola(48, 20), 48, 20);
    ball->SetVelocity(DIR_DOWN, 4);
    Ticks(6);
    EXPECT_EQ(ball->GetY(), 44);
    Tick();
    EXPECT_EQ(Count(SPRITE_BOLA), 0);
    JTSprite* burst = Manager()->GetFirst();
    EXPECT_EQ(burst->GetY(), 48);
}

// Directions from a foreign file keep the constructor's course, and no turn overflows or
// shows a frame beyond the sheet, even on blocked ground where it turns every tick.
TEST_F(Enemies, ForeignDirectionsStayOnTheSheet)
{
    Block(4, 5);
    Block(5, 5);
    const int32_t dirs[] = {INT_MAX, INT_MAX - 1, INT_MIN, INT_MIN + 1, 4, -1, -5, 1000};
    const int sheets[][2] = {{SPRITE_MALOTE, 224}, {SPRITE_FETILLER, 288}};
    for (const auto& sheet : sheets) {
        for (int32_t dir : dirs) {
            JTEnemic* enemy = LoadEnemy(sheet[0], dir);
            EXPECT_EQ(MobilPeek::Dx(enemy), 0);
            EXPECT_EQ(MobilPeek::Dy(enemy), 1);
            for (int t = 0; t < 6; t++) {
                Tick();
                int x = GraficsPeek::SrcX(enemy);
                ASSERT_GE(x, 0) << dir;
                ASSERT_LE(x + enemy->GetWidth(), sheet[1]) << dir;
            }
        }
    }
}
