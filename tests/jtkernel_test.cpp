// jtkernel_test.cpp -- the kernel: the module table over its lifetime, new map, tick, factory.
#include "motor_fixture.h"

#include "Motor/JTNpc.h"
#include "Motor/jtmusic.h"
#include "Motor/player.h"

namespace {
class TestHero : public JTPlayer
{
public:
    void SetHealth(int health) { m_nHealth = health; }
    void Update() override {}
};

// Takes the hero's last health point during the world step.
class Poison : public TestSprite
{
public:
    using TestSprite::TestSprite;
    void Update() override
    {
        static_cast<TestHero*>(JTRender::GetRender()->GetPlayer())->SetHealth(0);
    }
};

// Tells its destructor's view of the module table to the test.
class Witness : public TestSprite
{
public:
    explicit Witness(bool* pRenderSeen) : m_pRenderSeen(pRenderSeen) {}
    ~Witness() override { *m_pRenderSeen = JTRender::GetRender() != nullptr; }
    bool* m_pRenderSeen;
};

using KernelWorld = EngineTest;
} // namespace

TEST(KernelLifetime, FillsFiveSlotsAndEmptiesThemAgain)
{
    JTKernel* kernel = new JTKernel(nullptr);
    EXPECT_EQ(JTKernel::GetKernel(), kernel);
    EXPECT_NE(JTRender::GetRender(), nullptr);
    EXPECT_NE(JTMusic::GetMusic(), nullptr);
    EXPECT_NE(JTDecorat::GetDecorat(), nullptr);
    EXPECT_NE(JTManager::GetManager(), nullptr);
    for (int id = 5; id < MAX_MODULS; id++)
        EXPECT_EQ(JTModul::GetSlot(id), nullptr);
    EXPECT_TRUE(JTDecorat::GetDecorat()->IsEmpty());
    EXPECT_EQ(JTRender::GetRender()->GetPlayer(), nullptr);
    EXPECT_EQ(kernel->GetTalker(), nullptr);

    bool renderSeen = false;
    JTManager::GetManager()->Add(new Witness(&renderSeen));
    JTManager::GetManager()->Add(new JTPlayer);
    delete kernel;
    EXPECT_TRUE(renderSeen);
    for (int id = 1; id < MAX_MODULS; id++)
        EXPECT_EQ(JTModul::GetSlot(id), nullptr);
    EXPECT_EQ(JTModul::GetSlot(0), kernel);
    JTModul::ClearSlot(MODUL_KERNEL);
}

TEST_F(KernelWorld, NewMapStartsEmpty)
{
    Manager()->Add(new JTPlayer);
    JTTarok talker;
    Kernel()->SetTalker(&talker);
    Kernel()->NewMap(30, 30);
    EXPECT_EQ(Decorat()->GetWidth(), 30);
    EXPECT_EQ(Decorat()->GetHeight(), 30);
    EXPECT_EQ(Decorat()->GetTileShift(), 4);
    EXPECT_EQ(Decorat()->GetTile(29, 29), 0);
    EXPECT_EQ(Manager()->FindAt(0, 0), nullptr);
    EXPECT_EQ(Render()->GetPlayer(), nullptr);
    EXPECT_EQ(Kernel()->GetTalker(), nullptr);
}

TEST_F(KernelWorld, NewMapWithAbsurdSizeLeavesAnEmptyMap)
{
    Kernel()->NewMap(-3, 30);
    EXPECT_TRUE(Decorat()->IsEmpty());
    Canvas canvas(32, 32);
    Render()->Render(&canvas.dc);
    EXPECT_EQ(Kernel()->Tick(), TICK_NO_PLAYER);
}

TEST_F(KernelWorld, TickStatusPrecedence)
{
    Kernel()->NewMap(10, 10);
    JTTarok talker;
    Kernel()->SetTalker(&talker);
    EXPECT_EQ(Kernel()->Tick(), TICK_NO_PLAYER);

    TestHero* hero = new TestHero;
    Manager()->Add(hero);
    hero->SetHealth(0);
    EXPECT_EQ(Kernel()->Tick(), TICK_GAME_OVER);
    hero->SetHealth(1);
    EXPECT_EQ(Kernel()->Tick(), TICK_TALK);
    Kernel()->SetTalker(nullptr);
    EXPECT_EQ(Kernel()->Tick(), TICK_RUNNING);
}

TEST_F(KernelWorld, TickStepsTheWorldBeforeItJudges)
{
    Kernel()->NewMap(10, 10);
    Manager()->Add(new TestHero);
    Manager()->Add(new Poison(1, 100, 100));
    EXPECT_EQ(Kernel()->Tick(), TICK_GAME_OVER);
}

TEST_F(KernelWorld, FactoryMakesKindsZeroToNineOnly)
{
    for (int type : {-8, -4, -1, 10, 12})
        EXPECT_EQ(Kernel()->CreateSprite(type), nullptr) << type;
    for (int type = 0; type <= 9; type++)
    {
        JTSprite* s = Kernel()->CreateSprite(type);
        ASSERT_NE(s, nullptr) << type;
        EXPECT_EQ(s->GetType(), type);
        delete s;
    }
}

TEST_F(KernelWorld, NewHeroRegistersAtOnce)
{
    JTSprite* hero = Kernel()->CreateSprite(SPRITE_PLAYER);
    EXPECT_EQ(Render()->GetPlayer(), hero);
    Manager()->Add(hero);
    Kernel()->NewMap(5, 5);
    EXPECT_EQ(Render()->GetPlayer(), nullptr);
}
