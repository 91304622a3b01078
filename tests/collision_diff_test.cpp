// collision_diff_test.cpp -- the grid collision pass against the every-pair pass, on random worlds
// played tick by tick: the same Collide pairs in the same order, the same world after every tick.
#include "kinds_world.h"

#include "Motor/JTNpc.h"
#include "Motor/animals.h"
#include "Motor/bola.h"
#include "platform/archive.h"
#include "platform/memfile.h"

#include <climits>
#include <random>
#include <sstream>
#include <vector>

namespace {

const int kChaosType = 42;

// Reaches the solidity of any sprite, as a Collide of a kind of the game could do to itself.
struct SolidPoke : JTSprite
{
    static void Flip(JTSprite* s) { s->*(&SolidPoke::m_bSolid) = !s->IsSolid(); }
};

// A kind of our own whose Collide does what the pass must bear from any kind: it moves, resizes
// or flips the solidity of itself, its partner or the hero, kills its partner, and adds solid
// sprites and even a second hero at the front of the list, or makes its partner the hero.
class Chaos : public JTMobil
{
public:
    Chaos(std::mt19937& random, int x, int y) : JTMobil(kChaosType), m_random(random)
    {
        SetPos(x, y);
        m_nW = 16;
        m_nH = 16;
        m_nBitmapId = 137;
        m_nMaskId = 138;
        m_bSolid = Pick(4) != 0;
        SetVelocity(int(Pick(4)), int(Pick(3)));
    }

    void Collide(JTSprite* pOther) override
    {
        JTPlayer* pHero = JTRender::GetRender()->GetPlayer();
        switch (Pick(13)) {
        case 0:
            SetPos(m_nX + Step(), m_nY + Step());
            break;
        case 1:
            pOther->SetPos(pOther->GetX() + Step(), pOther->GetY() + Step());
            break;
        case 2:
            pOther->SetPos(int(Pick(600)), int(Pick(600)));
            break; // across the map
        case 3:
            m_bSolid = !m_bSolid;
            break;
        case 4:
            SolidPoke::Flip(pOther);
            break;
        case 5:
            pOther->Kill();
            break;
        case 6:
            Add(new Chaos(m_random, m_nX, m_nY));
            break;
        case 7:
            m_nW = Pick(8) == 0 ? 700 : int(Pick(50)) - 8;
            break; // wide, or even negative
        case 8:
            if (pHero)
                pHero->SetPos(pHero->GetX() + Step(), pHero->GetY() + Step());
            break;
        case 9:
            if (pHero)
                SolidPoke::Flip(pHero);
            break;
        case 10:
            if (pHero && Pick(10) == 0) {
                pHero->SetPos(pHero->GetX() + Step(), pHero->GetY());
                Add(new JTPlayer); // registers itself: the hero changes during the pass
            }
            break;
        case 11:
            if (pOther->GetType() == SPRITE_PLAYER)
                JTRender::GetRender()->SetPlayer(static_cast<JTPlayer*>(pOther));
            break;
        default:
            break;
        }
    }

private:
    unsigned Pick(unsigned n) { return m_random() % n; }
    int Step() { return int(Pick(41)) - 20; }
    void Add(JTSprite* pSprite)
    {
        pSprite->SetPos(m_nX, m_nY);
        JTManager::GetManager()->Add(pSprite);
    }

    std::mt19937& m_random;
};

// One world, made again from its seed for each pass, and what it showed after every tick.
class World
{
public:
    World(unsigned seed, bool pile) : m_seed(seed), m_bPile(pile) {}

    std::vector<std::string> Play(bool everyPair, int ticks)
    {
        KeyStateReset();
        crt::RandReset();
        m_random.seed(m_seed);
        m_chaos.seed(m_seed ^ 0x5EED);
        m_pKernel = new JTKernel(nullptr);
        Manager()->UseEveryPairPass(everyPair);
        Manager()->SetPairWatcher([this](int a, int b) { m_pairs << a << '-' << b << ' '; });
        Populate();
        std::vector<std::string> trace;
        for (int t = 0; t < ticks; ++t) {
            PressKeys();
            int status = m_pKernel->Tick();
            trace.push_back(Describe(status));
            m_pKernel->SetTalker(nullptr); // as the game window does after the talk
            Paint();
        }
        KeyStateReset();
        delete m_pKernel;
        JTModul::ClearSlot(MODUL_KERNEL);
        return trace;
    }

private:
    static JTManager* Manager() { return JTManager::GetManager(); }
    int Pick(int n) { return int(m_random() % unsigned(n)); }

    void Populate()
    {
        int cols = 20 + Pick(20), rows = 20 + Pick(20);
        m_pKernel->NewMap(cols, rows);
        JTDecorat* pMap = JTDecorat::GetDecorat();
        pMap->SetWalkable(1, 0);
        pMap->SetWalkable(255, BYTE(Pick(2)));
        for (int i = Pick(60); i > 0; --i)
            pMap->SetTile(Pick(cols), Pick(rows), 1);
        int mapW = cols * 16, mapH = rows * 16;
        if (m_bPile) {
            for (int i = 0; i < 300; ++i)
                Place(i == 0 ? MakeHero() : MakeAny(), mapW / 2, mapH / 2);
            return;
        }
        int heroes = Pick(6) == 0 ? Pick(3) : 1;
        for (int i = 0; i < heroes; ++i)
            Place(MakeHero(), Pick(mapW), Pick(mapH));
        for (int piles = Pick(4); piles > 0; --piles) {
            int x = Pick(mapW), y = Pick(mapH), spread = Pick(3) * Pick(12);
            for (int i = 2 + Pick(40); i > 0; --i)
                Place(MakeAny(), x + Pick(spread + 1), y + Pick(spread + 1));
        }
        for (int i = Pick(200); i > 0; --i)
            Place(MakeAny(), Pick(mapW + 80) - 40, Pick(mapH + 80) - 40); // some partly off
        for (int i = Pick(3); i > 0; --i)
            Place(MakeAny(), Pick(2) ? INT_MAX - Pick(20) : INT_MIN + Pick(20), Pick(mapH));
    }

    JTSprite* MakeHero()
    {
        JTPlayer* pHero = new JTPlayer;
        if (Pick(2))
            pHero->GiveItem(SPRITE_ESPASA);
        return pHero;
    }

    JTSprite* MakeAny()
    {
        int kind = Pick(16);
        JTSprite* pSprite;
        if (kind < 10)
            pSprite = kind == SPRITE_PLAYER ? MakeHero() : m_pKernel->CreateSprite(kind);
        else if (kind == 10)
            pSprite = new JTEfecte(0, 3, 2, 16, 16, 137, 138);
        else if (kind == 11)
            pSprite = new JTGosMort(0, 0);
        else if (kind == 12)
            pSprite = new JTBola(0, 0);
        else
            pSprite = new Chaos(m_chaos, 0, 0);
        if (Pick(12) == 0)
            pSprite->SetAlive(false);
        return pSprite;
    }

    void Place(JTSprite* pSprite, int x, int y)
    {
        pSprite->SetPos(x, y);
        Manager()->Add(pSprite);
    }

    void PressKeys()
    {
        for (int vk : {VK_SHIFT, VK_CONTROL, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
            int roll = Pick(8);
            if (roll == 0)
                KeyStatePress(vk);
            else if (roll == 1)
                KeyStateRelease(vk);
        }
    }

    // The pairs of the tick, the status, every sprite's record in list order, and the drawn
    // state of every sprite of the render list, which holds those that died in the pass too.
    std::string Describe(int status)
    {
        std::ostringstream out;
        out << "pairs " << m_pairs.str() << "\nstatus " << status << "\n";
        m_pairs.str("");
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        Manager()->Serialize(ar);
        ar.Close();
        for (BYTE b : file.Detach())
            out << int(b) << ',';
        out << "\n";
        for (JTGrafics* g : JTRender::GetRender()->GetRenderList()) {
            auto* s = static_cast<JTSprite*>(g);
            out << s->GetType() << ' ' << s->GetX() << ' ' << s->GetY() << ' ' << s->GetWidth()
                << ' ' << s->GetHeight() << ' ' << s->IsAlive() << s->IsVisible() << s->IsSolid()
                << s->IsSeen() << ' ' << s->GetAnimState() << ' ' << GraficsPeek::SrcX(g) << ' '
                << GraficsPeek::Bitmap(g) << ' ' << GraficsPeek::Rop(g) << "\n";
        }
        if (JTPlayer* pHero = JTRender::GetRender()->GetPlayer())
            out << "hero " << pHero->GetX() << ' ' << pHero->GetY() << ' ' << pHero->GetHealth()
                << ' ' << pHero->GetScore() << ' ' << pHero->IsAttacking() << "\n";
        if (JTNpc* pTalker = m_pKernel->GetTalker())
            out << "talker " << pTalker->GetX() << ' ' << pTalker->GetY() << "\n";
        return out.str();
    }

    void Paint()
    {
        CBitmap bitmap;
        bitmap.CreateBitmap(320, 240, 1, 32, nullptr);
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        JTRender::GetRender()->Render(&dc);
    }

    unsigned m_seed;
    bool m_bPile;
    std::mt19937 m_random;
    std::mt19937 m_chaos;
    JTKernel* m_pKernel = nullptr;
    std::ostringstream m_pairs;
};

// Plays the world through both passes and reports the first tick where they part.
void ExpectSamePlay(unsigned seed, int ticks, long long* pairCount, bool pile = false)
{
    std::vector<std::string> grid = World(seed, pile).Play(false, ticks);
    std::vector<std::string> plain = World(seed, pile).Play(true, ticks);
    ASSERT_EQ(grid.size(), plain.size());
    for (std::size_t t = 0; t < grid.size(); ++t) {
        ASSERT_EQ(grid[t], plain[t]) << "world " << seed << ", tick " << t;
        if (pairCount)
            for (char c : grid[t].substr(0, grid[t].find('\n')))
                *pairCount += c == '-';
    }
}

} // namespace

TEST(CollisionPass, GridGivesTheEveryPairPassPairsOnRandomWorlds)
{
    long long pairs = 0;
    for (unsigned seed = 1; seed <= 30; ++seed)
        ExpectSamePlay(seed, 250, &pairs);
    EXPECT_GT(pairs, 10000); // the worlds do collide, in piles and in the open
}

// Hundreds of sprites on one pixel, every one of them meeting every other, chaos among them.
TEST(CollisionPass, GridGivesTheEveryPairPassPairsOnAPile)
{
    for (unsigned seed = 100; seed < 108; ++seed)
        ExpectSamePlay(seed, 60, nullptr, true);
}
