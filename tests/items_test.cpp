// items_test.cpp -- potion and sword pick-ups, and the one-shot effects' lifetimes
#include "kinds_world.h"

#include "Motor/animals.h"
#include "Motor/malote.h"

namespace {
using Items = KindsWorld;
using Effects = KindsWorld;
} // namespace

TEST_F(Items, LieUntouchedByEverythingButTheHero)
{
    JTPocima* potion = Place(new JTPocima, 100, 100);
    JTEspasa* sword = Place(new JTEspasa, 100, 140);
    Place(new JTGallina, 84, 100); // walks right across the potion
    Place(new JTMalote, 110, 124); // walks down across the sword
    Ticks(30);
    EXPECT_TRUE(potion->IsAlive());
    EXPECT_TRUE(sword->IsAlive());
    EXPECT_EQ(Count(SPRITE_POCIMA), 1);
    EXPECT_EQ(Count(SPRITE_ESPASA), 1);
}

TEST_F(Items, PotionRestoresFullHealthAndGoes)
{
    JTPlayer* hero = Place(new JTPlayer, 300, 300);
    JTPocima* potion = Place(new JTPocima, 100, 100);
    Ticks(20);
    hero->Hurt(6);
    EXPECT_EQ(hero->GetHealth(), 3);
    hero->SetPos(100 - 32, 100); // right edge on the potion's left edge: touching counts
    Tick();
    EXPECT_EQ(hero->GetHealth(), 9);
    EXPECT_FALSE(potion->IsAlive());
    Tick();
    EXPECT_EQ(Count(SPRITE_POCIMA), 0);
}

TEST_F(Items, SwordIsThirtyTwoWideAndArmsTheHero)
{
    JTPlayer* hero = Place(new JTPlayer, 100 + 33, 90);
    Place(new JTEspasa, 100, 100);
    Tick();
    EXPECT_EQ(Count(SPRITE_ESPASA), 1);
    hero->SetPos(100 + 32, 90);
    Tick();
    Tick();
    EXPECT_EQ(Count(SPRITE_ESPASA), 0);
    KeyStatePress(VK_CONTROL);
    Tick();
    EXPECT_TRUE(hero->IsAttacking());
}

TEST_F(Items, TakenEvenWhenUseless)
{
    JTPlayer* hero = Place(new JTPlayer, 100, 100);
    hero->GiveItem(SPRITE_ESPASA);
    Place(new JTPocima, 116, 100);
    Place(new JTEspasa, 100, 120);
    Tick();
    Tick();
    EXPECT_EQ(Count(SPRITE_POCIMA), 0);
    EXPECT_EQ(Count(SPRITE_ESPASA), 0);
    EXPECT_EQ(hero->GetHealth(), 9);
}

// The hen's death plays frames 4 to 7 at 3 updates each, then wraps and goes on update 13.
TEST_F(Effects, HenDeathLivesThirteenUpdates)
{
    JTGallina* hen = Place(new JTGallina, 40, 50);
    hen->Kill();
    JTSprite* effect = Manager()->GetFirst();
    ASSERT_EQ(effect->GetType(), SPRITE_EFECTE);
    EXPECT_EQ(effect->GetX(), 40);
    EXPECT_EQ(effect->GetY(), 50);
    EXPECT_FALSE(effect->IsSolid());
    EXPECT_EQ(GraficsPeek::Bitmap(effect), 135);
    EXPECT_EQ(GraficsPeek::Frame(effect), 4);
    for (int update = 1; update <= 12; update++) {
        Tick();
        ASSERT_EQ(Count(SPRITE_EFECTE), 1) << "update " << update;
        EXPECT_EQ(GraficsPeek::Frame(effect), 4 + (update - 1) / 3);
    }
    Tick();
    EXPECT_EQ(Count(SPRITE_EFECTE), 0);
    EXPECT_EQ(Types(), "");
}

TEST_F(Effects, SingleFrameEffectDiesOnUpdatePeriodPlusOne)
{
    Place(new JTEfecte(3, 3, 2, 16, 16, 156, 155), 10, 10);
    Ticks(2);
    EXPECT_EQ(Count(SPRITE_EFECTE), 1);
    Tick();
    EXPECT_EQ(Count(SPRITE_EFECTE), 0);
}

