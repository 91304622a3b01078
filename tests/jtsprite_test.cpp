// jtsprite_test.cpp -- the sprite base classes: animation timelines, velocity, geometry edges.
#include "motor_fixture.h"

#include <climits>

namespace {
struct Step
{
    int frame;
    int state;
};

void ExpectTimeline(TestSprite& s, const std::vector<Step>& steps)
{
    for (std::size_t i = 0; i < steps.size(); i++)
    {
        s.JTSprite::Update();
        EXPECT_EQ(s.Frame(), steps[i].frame) << "after step " << i + 1;
        EXPECT_EQ(s.GetAnimState(), steps[i].state) << "after step " << i + 1;
    }
}
} // namespace

TEST(SpriteAnimation, EachFrameStaysForThePeriod)
{
    TestSprite s(1, 0, 0, 32, 32);
    s.SetAnimation(4, 7, 3);
    EXPECT_EQ(s.GetAnimState(), ANIM_STARTED);
    EXPECT_EQ(s.SrcX(), 128);
    ExpectTimeline(s, {{4, 2}, {4, 2}, {4, 2}, {5, 1}, {5, 1}, {5, 1}, {6, 1}, {6, 1}, {6, 1},
                       {7, 3}, {7, 3}, {7, 3}, {4, 4}});
    EXPECT_EQ(s.SrcX(), 128);
}

TEST(SpriteAnimation, PeriodOneAdvancesEveryStep)
{
    TestSprite s(1, 0, 0, 16, 16);
    s.SetAnimation(0, 2, 1);
    ExpectTimeline(s, {{0, 2}, {1, 1}, {2, 3}, {0, 4}});
}

TEST(SpriteAnimation, SingleFrameWrapsAtEveryAdvance)
{
    TestSprite s(1, 0, 0, 16, 16);
    s.SetAnimation(3, 3, 1);
    ExpectTimeline(s, {{3, 2}, {3, 4}, {3, 4}});
}

TEST(SpriteAnimation, SetFrameStopsTheStep)
{
    TestSprite s(1, 0, 0, 16, 16);
    s.SetAnimation(0, 5, 2);
    s.JTSprite::Update();
    int tick = s.TickCount();
    s.SetFrame(9);
    EXPECT_EQ(s.SrcX(), 144);
    for (int i = 0; i < 5; i++)
        s.JTSprite::Update();
    EXPECT_EQ(s.Frame(), 9);
    EXPECT_EQ(s.TickCount(), tick);
    EXPECT_EQ(s.GetAnimState(), ANIM_STOPPED);
}

TEST(SpriteAnimation, HugeFrameTimesWidthStaysInRange)
{
    TestSprite s(1, 0, 0, 1 << 20, 16);
    s.SetFrame(1 << 20);
    EXPECT_EQ(s.SrcX(), INT_MAX);
    s.SetFrame(-(1 << 20));
    EXPECT_EQ(s.SrcX(), INT_MIN);
}

TEST(SpriteMotion, UnknownDirectionKeepsTheVelocity)
{
    TestSprite s;
    s.SetVelocity(DIR_LEFT, 3);
    s.SetVelocity(4, 7);
    EXPECT_EQ(s.Dx(), -3);
    EXPECT_EQ(s.Dy(), 0);
    EXPECT_EQ(s.GetMoveDirection(), DIR_LEFT);
    s.SetVelocity(DIR_UP, 0);
    EXPECT_EQ(s.GetMoveDirection(), DIR_STOPPED);
}

TEST(SpriteGeometry, TouchingEdgesOverlap)
{
    TestSprite a(1, 0, 0), b(1, 16, 0), c(1, 17, 0);
    EXPECT_TRUE(a.Overlaps(&b));
    EXPECT_TRUE(b.Overlaps(&a));
    EXPECT_FALSE(a.Overlaps(&c));
    EXPECT_FALSE(c.Overlaps(&a));
}

TEST(SpriteGeometry, OverlapByHeights)
{
    TestSprite talker(5, 100, 100, 24, 32);
    TestSprite hero30(0, 100, 130, 32, 32), hero33(0, 100, 133, 32, 32);
    EXPECT_TRUE(hero30.Overlaps(&talker));
    EXPECT_FALSE(hero33.Overlaps(&talker));
    TestSprite sword(9, 0, 0, 32, 16), small(1, 0, 20, 16, 16);
    EXPECT_FALSE(small.Overlaps(&sword));
}

TEST(SpriteGeometry, NonSolidNeverOverlaps)
{
    TestSprite a(1, 0, 0), b(1, 4, 4);
    b.SetSolid(false);
    EXPECT_FALSE(a.Overlaps(&b));
    EXPECT_FALSE(b.Overlaps(&a));
}

TEST(SpriteGeometry, ContainsBothEdges)
{
    TestSprite s(1, 10, 20, 16, 8);
    EXPECT_TRUE(s.Contains(10, 20));
    EXPECT_TRUE(s.Contains(26, 28));
    EXPECT_FALSE(s.Contains(27, 28));
    EXPECT_FALSE(s.Contains(26, 29));
    EXPECT_FALSE(s.Contains(9, 20));
}

TEST(SpriteGeometry, DirectionComparesCorners)
{
    TestSprite me(1, 100, 100);
    TestSprite leftBelow(1, 95, 105), rightAbove(1, 106, 95), same(1, 100, 100);
    EXPECT_EQ(me.DirectionTo(&leftBelow), DIR_DOWN);
    EXPECT_EQ(me.DirectionTo(&rightAbove), DIR_RIGHT);
    EXPECT_EQ(me.DirectionTo(&same), DIR_UP);
    TestSprite farLeft(1, 0, 101);
    EXPECT_EQ(me.DirectionTo(&farLeft), DIR_LEFT);
}

TEST(SpriteGeometry, DistanceBetweenCentres)
{
    TestSprite a(1, 0, 0), b(1, 16, 0), c(1, 3, 4, 22, 24);
    EXPECT_EQ(a.DistanceSq(&b), 256);
    int x, y;
    c.GetCenter(&x, &y);
    EXPECT_EQ(x, 14);
    EXPECT_EQ(y, 16);
    EXPECT_EQ(a.DistanceSq(&c), 6 * 6 + 8 * 8);
}

TEST(SpriteGeometry, PositionsAtTheIntLimitsDoNotOverflow)
{
    TestSprite far(1, INT_MAX - 4, INT_MAX - 4, 32, 32);
    TestSprite origin(1, INT_MIN, INT_MIN, 32, 32);
    EXPECT_EQ(far.GetRight(), INT_MAX);
    EXPECT_EQ(far.GetBottom(), INT_MAX);
    EXPECT_TRUE(far.Contains(INT_MAX, INT_MAX));
    EXPECT_FALSE(far.Overlaps(&origin));
    EXPECT_FALSE(origin.Overlaps(&far));
    EXPECT_EQ(far.DistanceSq(&origin), INT_MAX);
    EXPECT_EQ(origin.DirectionTo(&far), DIR_DOWN);
    TestSprite near(1, INT_MAX - 20, INT_MAX - 4, 32, 32);
    EXPECT_TRUE(near.Overlaps(&far));
    EXPECT_EQ(near.DistanceSq(&far), 16 * 16);
    int x, y;
    far.GetCenter(&x, &y);
    EXPECT_EQ(x, INT_MAX);
    EXPECT_EQ(y, INT_MAX);
}
