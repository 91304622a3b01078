// animals_test.cpp -- the hen's patrol, the dog's turning, their deaths and the dog's body
#include "kinds_world.h"

#include "Motor/animals.h"

namespace {
using Animals = KindsWorld;
} // namespace

// Blocked columns 2 and 7 on the hen's probe row (y + 16 = 80): it turns at x 98 and x 45.
TEST_F(Animals, HenWalksOnePixelAndTurnsAtWalls)
{
    Block(7, 5);
    Block(2, 5);
    JTGallina* hen = Place(new JTGallina, 64, 64);
    for (int t = 1; t <= 33; t++) {
        Tick();
        ASSERT_EQ(hen->GetX(), 64 + t);
        ASSERT_EQ(GraficsPeek::Frame(hen), (t - 1) / 3 % 2) << "tick " << t;
    }
    Tick(); // x 98 puts the right probe on column 7: turned, not put back
    EXPECT_EQ(hen->GetX(), 98);
    EXPECT_EQ(GraficsPeek::Frame(hen), 2);
    EXPECT_EQ(MobilPeek::Dx(hen), -1);
    Ticks(53);
    EXPECT_EQ(hen->GetX(), 45);
    EXPECT_EQ(GraficsPeek::Frame(hen), 0);
    EXPECT_EQ(MobilPeek::Dx(hen), 1);
    EXPECT_EQ(hen->GetY(), 64);
}

TEST_F(Animals, DogTurnsOnlyToAHeroAtItsSide)
{
    JTGos* dog = Place(new JTGos, 100, 100);
    JTPlayer* hero = Place(new JTPlayer, 200, 110);
    Tick();
    EXPECT_EQ(GraficsPeek::Frame(dog), 2);
    Ticks(3);
    EXPECT_EQ(GraficsPeek::Frame(dog), 3); // not restarted while the hero stays right
    hero->SetPos(60, 20); // above: the vertical distance wins, the dog keeps its side
    Ticks(3);
    EXPECT_EQ(GraficsPeek::Frame(dog), 2);
    hero->SetPos(20, 100);
    Tick();
    EXPECT_EQ(GraficsPeek::Frame(dog), 0);
    EXPECT_EQ(dog->GetX(), 100);
    EXPECT_EQ(dog->GetY(), 100);
}

TEST_F(Animals, DogWithoutAHeroKeepsFacingLeft)
{
    JTGos* dog = Place(new JTGos, 100, 100);
    Ticks(4);
    EXPECT_EQ(GraficsPeek::Frame(dog), 1);
}

// The body rises and falls for ten updates, lies from update 11 and goes on update 22.
TEST_F(Animals, DogsBodyFliesLiesAndGoes)
{
    JTGos* dog = Place(new JTGos, 100, 100);
    dog->Kill();
    JTSprite* body = Manager()->GetFirst();
    ASSERT_EQ(body->GetType(), SPRITE_EFECTE);
    EXPECT_FALSE(body->IsSolid());
    EXPECT_EQ(GraficsPeek::Frame(body), 4);
    EXPECT_EQ(Count(SPRITE_EFECTE), 2);
    const int rise[] = {-8, -14, -18, -20, -20, -18, -14, -8, 0, 10};
    for (int update = 1; update <= 10; update++) {
        Tick();
        EXPECT_EQ(body->GetY(), 100 + rise[update - 1]) << "update " << update;
        EXPECT_EQ(body->GetX(), 100 - update);
    }
    Ticks(6); // the death effect, 3 frames of 5 updates, ends on update 16
    EXPECT_EQ(Count(SPRITE_EFECTE), 1);
    Ticks(5);
    EXPECT_EQ(body->GetX(), 90);
    EXPECT_EQ(body->GetY(), 110);
    EXPECT_EQ(GraficsPeek::Frame(body), 4);
    Tick();
    EXPECT_EQ(Types(), "");
}

TEST_F(Animals, EachKillLeavesItsOwnEffect)
{
    JTGallina* hen = Place(new JTGallina, 30, 40);
    hen->Kill();
    hen->Kill();
    EXPECT_EQ(Count(SPRITE_EFECTE), 2);
    JTSprite* effect = Manager()->GetFirst();
    EXPECT_EQ(effect->GetX(), 30);
    EXPECT_EQ(effect->GetY(), 40);
    EXPECT_EQ(GraficsPeek::Frame(effect), 4);
    Tick();
    EXPECT_EQ(Count(SPRITE_GALLINA), 0);
}
