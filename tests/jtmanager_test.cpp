// jtmanager_test.cpp -- the sprite manager: tick walk, render order, collision pairing, picking.
#include "motor_fixture.h"

#include "platform/archive.h"
#include "platform/memfile.h"

#include <cstring>

namespace {
class SpriteList : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        Decorat()->Create(20, 20, 4);
    }

    TestSprite* Put(const char* name, int x, int y, int w = 16, int h = 16, int type = 1)
    {
        TestSprite* s = new TestSprite(type, x, y, w, h);
        s->m_name = name;
        s->m_pLog = &m_log;
        s->m_pDeleted = &m_deleted;
        s->m_pUpdated = &m_updated;
        Manager()->Add(s);
        return s;
    }

    std::vector<JTGrafics*> RenderOrder()
    {
        const auto& list = Render()->GetRenderList();
        return std::vector<JTGrafics*>(list.begin(), list.end());
    }

    std::vector<std::string> m_log;
    int m_deleted = 0;
    int m_updated = 0;
};

// Adds a sprite from inside a walk, as a shot or an effect does.
class Spawner : public TestSprite
{
public:
    using TestSprite::TestSprite;
    void Update() override
    {
        TestSprite::Update();
        if (!m_pChild)
        {
            m_pChild = new TestSprite(1, 0, 0);
            JTManager::GetManager()->Add(m_pChild);
        }
    }
    TestSprite* m_pChild = nullptr;
};
} // namespace

TEST_F(SpriteList, RenderListRunsByBottomEdge)
{
    TestSprite* tall = Put("tall", 0, 10, 16, 32);  // bottom 42
    TestSprite* low = Put("low", 100, 30, 16, 16);  // bottom 46
    TestSprite* high = Put("high", 50, 0, 16, 16);  // bottom 16
    Manager()->BuildRenderList();
    EXPECT_EQ(RenderOrder(), (std::vector<JTGrafics*>{high, tall, low}));
}

TEST_F(SpriteList, EqualBottomsPutTheFrontOneLast)
{
    TestSprite* back = Put("back", 0, 0);
    TestSprite* middle = Put("middle", 40, 0);
    TestSprite* lower = Put("lower", 0, 8);
    TestSprite* front = Put("front", 80, 0);
    Manager()->BuildRenderList();
    EXPECT_EQ(RenderOrder(), (std::vector<JTGrafics*>{back, middle, front, lower}));
}

TEST_F(SpriteList, RebuildDeletesTheDeadAndSkipsTheHidden)
{
    TestSprite* dead = Put("dead", 0, 0);
    TestSprite* hidden = Put("hidden", 20, 0);
    TestSprite* shown = Put("shown", 40, 0);
    dead->Kill();
    hidden->SetVisible(false);
    Manager()->BuildRenderList();
    EXPECT_EQ(m_deleted, 1);
    EXPECT_EQ(RenderOrder(), (std::vector<JTGrafics*>{shown}));
    EXPECT_EQ(Manager()->FindAt(25, 5), hidden);
}

TEST_F(SpriteList, EarlierPartnerCollidesOnlyWithTheFirstOverlap)
{
    // List order P, Q, R: P overlaps Q and R, Q overlaps R.
    Put("R", 10, 0);
    Put("Q", 5, 0);
    Put("P", 0, 0);
    Manager()->CheckCollisions();
    EXPECT_EQ(m_log, (std::vector<std::string>{"P>Q", "Q>P", "Q>R", "R>Q"}));
}

TEST_F(SpriteList, NonSolidSpritesNeverCollide)
{
    Put("C", 0, 0);
    TestSprite* ghost = Put("ghost", 4, 0);
    Put("A", 8, 0);
    ghost->SetSolid(false);
    Manager()->CheckCollisions();
    EXPECT_EQ(m_log, (std::vector<std::string>{"A>C", "C>A"}));
}

TEST_F(SpriteList, TickUpdatesDeadSpritesTooThenPurgesThem)
{
    Decorat()->SetWalkable(0, 0);
    TestSprite* a = Put("a", 0, 0);
    TestSprite* b = Put("b", 200, 0);
    b->SetVelocity(DIR_RIGHT, 2);
    a->Kill();
    Manager()->Update();
    EXPECT_EQ(m_updated, 2);
    EXPECT_EQ(b->m_nWallHits, 1);
    EXPECT_EQ(b->GetX(), 202);
    EXPECT_EQ(m_deleted, 1);
    EXPECT_EQ(RenderOrder(), (std::vector<JTGrafics*>{b}));
}

TEST_F(SpriteList, SpriteAddedDuringTheWalkWaitsForTheNextTick)
{
    Spawner* spawner = new Spawner(1, 0, 0);
    Manager()->Add(spawner);
    Manager()->Update();
    ASSERT_NE(spawner->m_pChild, nullptr);
    EXPECT_EQ(spawner->m_pChild->m_nUpdates, 0);
    EXPECT_EQ(Manager()->GetFirst(), spawner->m_pChild);
    EXPECT_EQ(Render()->GetRenderList().size(), 2u);
    Manager()->Update();
    EXPECT_EQ(spawner->m_pChild->m_nUpdates, 1);
}

TEST_F(SpriteList, FindAtTakesEdgesAndTheFrontSprite)
{
    EXPECT_EQ(Manager()->FindAt(0, 0), nullptr);
    TestSprite* under = Put("under", 10, 10);
    TestSprite* over = Put("over", 20, 20);
    EXPECT_EQ(Manager()->FindAt(26, 26), over);
    EXPECT_EQ(Manager()->FindAt(10, 26), under);
    EXPECT_EQ(Manager()->FindAt(36, 36), over);
    EXPECT_EQ(Manager()->FindAt(37, 36), nullptr);
}

TEST_F(SpriteList, DescribeListsTypesWithinItsBuffer)
{
    char text[32];
    Manager()->Describe(text, sizeof text);
    EXPECT_STREQ(text, "");
    Put("a", 0, 0, 16, 16, 0);
    Put("b", 0, 0, 16, 16, 1);
    Manager()->Describe(text, sizeof text);
    EXPECT_STREQ(text, " - 1 - 0");
    for (int i = 0; i < 20; i++)
        Put("x", 0, 0, 16, 16, 7);
    char small[12];
    std::memset(small, 'z', sizeof small);
    Manager()->Describe(small, 10);
    EXPECT_STREQ(small, " - 7 - 7 ");
    EXPECT_EQ(small[10], 'z');
}

TEST_F(SpriteList, RemoveAllEmptiesTheRenderListToo)
{
    Put("a", 0, 0);
    Put("b", 0, 40);
    Manager()->BuildRenderList();
    ASSERT_EQ(Render()->GetRenderList().size(), 2u);
    Manager()->RemoveAll();
    EXPECT_EQ(m_deleted, 2);
    EXPECT_TRUE(Render()->GetRenderList().empty());
    EXPECT_EQ(Render()->GetPlayer(), nullptr);
    Canvas canvas(64, 64);
    Render()->DrawSprites(&canvas.dc);
}

TEST_F(SpriteList, EmptyListStoresOnlyTheEndMark)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    Manager()->Serialize(ar);
    ar.Close();
    std::vector<BYTE> bytes = file.Detach();
    EXPECT_EQ(bytes, (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF}));
}
