// jtmanager.cpp -- the sprite manager: the owned sprite list, the tick body, render order, storage
// and the collision pass
#include "Motor/jtmanager.h"

#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"
#include "Motor/player.h"
#include "platform/archive.h"
#include "platform/debug.h"
#include "platform/file.h"
#include "platform/memfile.h"
#include "platform/safe_write.h"
#include "platform/wsprintf.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <set>
#include <utility>

namespace {
const char kBackupName[] = "manager.bak";

struct SortItem
{
    unsigned long long key;
    JTGrafics* pGrafics;
};

// Signed order as unsigned order.
unsigned long long SortKey(long long v)
{
    return (unsigned long long)v ^ (1ULL << 63);
}

// A least-significant-digit radix sort, a byte at a time: stable, and linear in the items.
// Bytes on which every key agrees, all but two or three for the edges of a map, are skipped.
void StableSortByKey(std::vector<SortItem>& items)
{
    unsigned long long all = ~0ULL, any = 0;
    for (const SortItem& item : items)
    {
        all &= item.key;
        any |= item.key;
    }
    std::vector<SortItem> other(items.size());
    for (int shift = 0; shift < 64; shift += 8)
    {
        if ((((all ^ any) >> shift) & 0xFF) == 0)
            continue;
        std::size_t at[256] = {};
        for (const SortItem& item : items)
            ++at[(item.key >> shift) & 0xFF];
        std::size_t next = 0;
        for (std::size_t& a : at)
            next += std::exchange(a, next);
        for (const SortItem& item : items)
            other[at[(item.key >> shift) & 0xFF]++] = item;
        items.swap(other);
    }
}

// A sprite as Overlaps sees it: x to x + w and y to y + h, all four edges included.
struct Rect
{
    int x, y, w, h;

    bool operator==(const Rect& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
    long long Right() const { return (long long)x + w; }
    long long Bottom() const { return (long long)y + h; }
};

struct Box
{
    Rect rect;
    bool solid;

    bool operator==(const Box& o) const { return rect == o.rect && solid == o.solid; }
};

Box BoxOf(const JTSprite* pSprite)
{
    return {{pSprite->GetX(), pSprite->GetY(), pSprite->GetWidth(), pSprite->GetHeight()},
            pSprite->IsSolid()};
}

// JTSprite::Overlaps of two solid sprites.
bool Meet(const Rect& a, const Rect& b)
{
    return a.Right() >= b.x && a.x <= b.Right() && a.Bottom() >= b.y && a.y <= b.Bottom();
}

bool Meet(const Box& a, const Box& b)
{
    return a.solid && b.solid && Meet(a.rect, b.rect);
}

// Cells of 32 pixels: the sprite kinds measure 16 to 32, so most lie in one to four cells.
const int kCellShift = 5;
// A box spanning more cells than this a side is tested against everything instead.
const long long kMaxSpan = 16;

// The cells a box touches. A negative size turns the box's edges round; the cells still take
// in every point that Meet could find.
struct CellRange
{
    long long x0, y0, x1, y1;

    explicit CellRange(const Rect& r)
        : x0(std::min<long long>(r.x, r.Right()) >> kCellShift),
          y0(std::min<long long>(r.y, r.Bottom()) >> kCellShift),
          x1(std::max<long long>(r.x, r.Right()) >> kCellShift),
          y1(std::max<long long>(r.y, r.Bottom()) >> kCellShift)
    {
    }
    bool Wide() const { return x1 - x0 >= kMaxSpan || y1 - y0 >= kMaxSpan; }
};

} // namespace

// The sprites of one pass by their place in the list, and which of them lies in which cell.
// Cells are hashed into buckets, so a map of any size, or sprites far off it, costs the same.
// Each bucket lists its sprites by place, ascending. Every sprite's first partner is worked out
// once, bucket by bucket; only a sprite near one that a Collide changed is searched again.
struct JTManager::CollisionGrid
{
    enum Where : BYTE
    {
        IN_CELLS, // in the buckets of the cells of its box
        LOOSE,    // too wide for cells, or moved by a Collide: tested against every sprite
        ABSENT,   // not solid when the pass began
    };

    std::vector<JTSprite*> sprites;
    std::vector<Box> boxes; // as last read
    std::vector<Where> where;
    std::vector<int> partner; // the first place behind each that meets it, as the pass began
    std::vector<int> loose;
    std::set<int> changed;    // every place whose box a Collide changed, and the loose ones
    struct Entry
    {
        unsigned bucket;
        int place;
        Rect rect; // as the pass began
    };
    std::vector<Entry> unsorted;
    std::vector<Entry> entries;        // by bucket, and by place within a bucket
    std::vector<unsigned> bucketStart; // bucket b: entries[bucketStart[b] .. bucketStart[b + 1])
    std::vector<unsigned> cursor;
    std::size_t bucketMask = 0;

    std::size_t Bucket(long long cx, long long cy) const
    {
        unsigned long long h = (unsigned long long)cx * 0x9E3779B97F4A7C15ULL
                               ^ (unsigned long long)cy * 0xC2B2AE3D27D4EB4FULL;
        return std::size_t(h ^ (h >> 29)) & bucketMask;
    }

    template <class F> void ForEachCell(const CellRange& r, F f) const
    {
        for (long long cy = r.y0; cy <= r.y1; ++cy)
            for (long long cx = r.x0; cx <= r.x1; ++cx)
                f(Bucket(cx, cy));
    }

    void Build(const std::list<JTSprite*>& list);
    void FillBuckets();
    void FindPartners();
    int PartnerOf(const Box& a, int i) const;
    int Search(const Box& a, int i) const;
    void Reread(int k);
};

void JTManager::CollisionGrid::Build(const std::list<JTSprite*>& list)
{
    sprites.assign(list.begin(), list.end());
    const std::size_t n = sprites.size();
    boxes.resize(n);
    where.assign(n, ABSENT);
    loose.clear();
    changed.clear();
    for (std::size_t i = 0; i < n; ++i)
    {
        boxes[i] = BoxOf(sprites[i]);
        if (!boxes[i].solid)
            continue;
        if (CellRange(boxes[i].rect).Wide())
        {
            where[i] = LOOSE;
            loose.push_back(int(i));
            changed.insert(int(i));
            continue;
        }
        where[i] = IN_CELLS;
    }
    FillBuckets();
    FindPartners();
}

// Every (bucket, place) pair of the sprites in cells, sorted by bucket with a counting sort,
// which keeps each bucket's places ascending.
void JTManager::CollisionGrid::FillBuckets()
{
    const std::size_t n = sprites.size();
    std::size_t buckets = 64;
    while (buckets < 2 * n)
        buckets *= 2;
    bucketMask = buckets - 1;
    unsorted.clear();
    for (std::size_t i = 0; i < n; ++i)
    {
        if (where[i] == IN_CELLS)
            ForEachCell(CellRange(boxes[i].rect),
                        [&](std::size_t b) {
                            unsorted.push_back({unsigned(b), int(i), boxes[i].rect});
                        });
    }
    bucketStart.assign(buckets + 1, 0);
    for (const Entry& e : unsorted)
        ++bucketStart[e.bucket + 1];
    for (std::size_t b = 0; b < buckets; ++b)
        bucketStart[b + 1] += bucketStart[b];
    cursor.assign(bucketStart.begin(), bucketStart.end() - 1);
    entries.resize(unsorted.size());
    for (const Entry& e : unsorted)
        entries[cursor[e.bucket]++] = e;
}

// Any two sprites that meet share a cell, so the first partner of each is the least of the
// first meetings behind it in its buckets. A sprite may sit twice in one bucket: it never
// partners itself.
void JTManager::CollisionGrid::FindPartners()
{
    const int n = int(sprites.size());
    partner.assign(std::size_t(n), n);
    const Entry* end = entries.data() + entries.size();
    for (const Entry* p = entries.data(); p != end; ++p)
    {
        int& first = partner[p->place];
        for (const Entry* q = p + 1; q != end && q->bucket == p->bucket && q->place < first; ++q)
        {
            if (q->place != p->place && Meet(p->rect, q->rect))
            {
                first = q->place;
                break;
            }
        }
    }
}

// The partner found at the start holds while neither the sprite nor any sprite between it and
// that partner has changed since.
int JTManager::CollisionGrid::PartnerOf(const Box& a, int i) const
{
    const int n = int(sprites.size());
    if (!changed.empty())
    {
        auto next = changed.lower_bound(i);
        if (next != changed.end() && *next <= std::min(partner[i], n - 1))
            return Search(a, i);
    }
    return partner[i] == n ? -1 : partner[i];
}

// The first sprite behind place i whose box meets a, or -1, from the boxes as they are now.
int JTManager::CollisionGrid::Search(const Box& a, int i) const
{
    const int n = int(sprites.size());
    CellRange cells(a.rect);
    int best = n;
    if (cells.Wide())
    {
        for (int j = i + 1; j < n && best == n; ++j)
        {
            if (Meet(a, boxes[j]))
                best = j;
        }
        return best == n ? -1 : best;
    }
    ForEachCell(cells, [&](std::size_t b) {
        const Entry* end = entries.data() + bucketStart[b + 1];
        auto before = [](int place, const Entry& e) { return place < e.place; };
        const Entry* p = std::upper_bound(entries.data() + bucketStart[b], end, i, before);
        for (; p != end && p->place < best; ++p)
        {
            if (where[p->place] == IN_CELLS && Meet(a, boxes[p->place]))
            {
                best = p->place;
                break;
            }
        }
    });
    for (int k : loose)
    {
        if (k > i && k < best && Meet(a, boxes[k]))
            best = k;
    }
    return best == n ? -1 : best;
}

// After a pair: a sprite that moved or changed size leaves its cells for the loose list; one
// that only changed its solidity keeps its cells, where Meet reads the new flag.
void JTManager::CollisionGrid::Reread(int k)
{
    Box now = BoxOf(sprites[k]);
    if (now == boxes[k])
        return;
    changed.insert(k);
    if (where[k] != LOOSE && (where[k] == ABSENT || !(now.rect == boxes[k].rect)))
    {
        where[k] = LOOSE;
        loose.push_back(k);
    }
    boxes[k] = now;
}

JTManager::JTManager() : JTModul(MODUL_MANAGER), m_pGrid(new CollisionGrid)
{
}

JTManager::~JTManager()
{
    RemoveAll();
}

JTManager* JTManager::GetManager()
{
    return static_cast<JTManager*>(GetSlot(MODUL_MANAGER));
}

// The render list is emptied too: it must never point at the sprites deleted here.
void JTManager::RemoveAll()
{
    while (!m_list.empty())
    {
        JTSprite* pSprite = m_list.front();
        m_list.pop_front();
        delete pSprite;
    }
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender);
    pRender->SetPlayer(nullptr);
    pRender->ClearRenderList();
}

void JTManager::Add(JTSprite* pSprite)
{
    ASSERT(pSprite);
    m_list.push_front(pSprite);
}

// Sprites added during the walk land at the front, behind the walk, and wait for the next tick.
void JTManager::Update()
{
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    ASSERT(pDecorat);
    for (JTSprite* pSprite : m_list)
    {
        pSprite->Update();
        pDecorat->CheckWalls(pSprite);
    }
    BuildRenderList();
    if (m_bEveryPair)
        CheckCollisionsEveryPair();
    else
        CheckCollisions();
}

// Inserting each sprite before the first entry with an equal or greater bottom edge gives the
// bottom edges ascending with ties in reverse list order: a stable sort of the reversed list.
void JTManager::BuildRenderList()
{
    std::vector<SortItem> order;
    for (auto it = m_list.begin(); it != m_list.end();)
    {
        JTSprite* pSprite = *it;
        if (!pSprite->IsAlive())
        {
            it = m_list.erase(it);
            delete pSprite;
            continue;
        }
        ++it;
        if (pSprite->IsVisible())
            order.push_back({SortKey((long long)pSprite->GetY() + pSprite->GetHeight()), pSprite});
    }
    std::reverse(order.begin(), order.end());
    StableSortByKey(order);
    m_renderScratch.resize(order.size());
    auto entry = m_renderScratch.begin();
    for (const SortItem& item : order)
        *entry++ = item.pGrafics;
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender);
    pRender->SetRenderList(m_renderScratch);
}

void JTManager::SetPairWatcher(std::function<void(int, int)> watcher)
{
    m_pairWatcher = std::move(watcher);
}

void JTManager::CollidePair(JTSprite* pFirst, int first, JTSprite* pSecond, int second)
{
    if (m_pairWatcher)
        m_pairWatcher(first, second);
    pFirst->Collide(pSecond);
    pSecond->Collide(pFirst);
}

// Sprites added by a Collide go to the front, out of the pass; none leaves the list during it.
// Each sprite is read afresh at its turn: what it is then decides its pair. After each pair the
// two sprites and the hero registered as it began are read again.
void JTManager::CheckCollisions()
{
    CollisionGrid& grid = *m_pGrid;
    grid.Build(m_list);
    JTRender* pRender = JTRender::GetRender();
    ASSERT(pRender);
    const int n = int(grid.sprites.size());
    const JTSprite* pHero = nullptr;
    int hero = n;
    for (int i = 0; i < n; ++i)
    {
        JTSprite* pSprite = grid.sprites[i];
        Box box = BoxOf(pSprite);
        // A change that no reading caught would have gone unseen by the cells.
        ASSERT(box == grid.boxes[i]);
        if (!box.solid)
            continue;
        int j = grid.PartnerOf(box, i);
        if (j < 0)
            continue;
        if (pRender->GetPlayer() != pHero) // a Collide may register another hero
        {
            pHero = pRender->GetPlayer();
            hero = int(std::find(grid.sprites.begin(), grid.sprites.end(), pHero)
                       - grid.sprites.begin());
        }
        CollidePair(pSprite, i, grid.sprites[j], j);
        grid.Reread(j);
        if (hero > i && hero < n)
            grid.Reread(hero);
    }
}

// A sprite meets at most one partner as the earlier of a pair: the first one behind it.
void JTManager::CheckCollisionsEveryPair()
{
    int first = 0;
    for (auto a = m_list.begin(); a != m_list.end(); ++a, ++first)
    {
        if (!(*a)->IsSolid())
            continue;
        int second = first + 1;
        for (auto b = std::next(a); b != m_list.end(); ++b, ++second)
        {
            if ((*a)->Overlaps(*b))
            {
                CollidePair(*a, first, *b, second);
                break;
            }
        }
    }
}

void JTManager::Serialize(CArchive& ar)
{
    JTKernel* pKernel = JTKernel::GetKernel();
    ASSERT(pKernel);
    if (!ar.IsStoring())
    {
        LoadSprites(ar);
        return;
    }
    for (JTSprite* pSprite : m_list)
        pSprite->Serialize(ar);
    ar << int32_t(-1);
}

// Each record goes to the front, so the list comes back reversed. An id the factory does not
// make ends the section quietly; a record cut short deletes its sprite and throws on.
void JTManager::LoadSprites(CArchive& ar)
{
    JTKernel* pKernel = JTKernel::GetKernel();
    RemoveAll();
    for (;;)
    {
        int32_t type;
        ar >> type;
        if (type == -1)
            return;
        std::unique_ptr<JTSprite> pSprite(pKernel->CreateSprite(type));
        if (!pSprite)
            return;
        pSprite->Serialize(ar);
        Add(pSprite.release());
    }
}

JTSprite* JTManager::FindAt(int x, int y)
{
    for (JTSprite* pSprite : m_list)
    {
        if (pSprite->Contains(x, y))
            return pSprite;
    }
    return nullptr;
}

// The bytes stay in memory as well: a file that cannot be written costs nothing.
void JTManager::SaveBackup()
{
    CMemFile memFile;
    CArchive ar(&memFile, CArchive::store);
    Serialize(ar);
    ar.Close();
    m_backup = memFile.Detach();

    // A new file renamed into place, so a link named manager.bak is replaced and never followed,
    // and a failed write (a full disk, a file-size limit) leaves the old backup; the run goes on
    // from the bytes in memory, so nothing waits for the disk.
    try
    {
        WriteFileSafely(kBackupName, [this](CFile& file) {
            file.Write(m_backup.data(), UINT(m_backup.size()));
        }, SafeWriteKind::scratch);
    }
    catch (CFileException* e)
    {
        e->Delete();
    }
}

// The saved bytes in memory are the source of truth; the file serves only a process that
// did not save a backup itself.
void JTManager::LoadBackup()
{
    if (!m_backup.empty()) // a saved section always holds at least its end mark
    {
        CMemFile memFile(m_backup.data(), UINT(m_backup.size()));
        CArchive ar(&memFile, CArchive::load);
        Serialize(ar);
        return;
    }
    RemoveAll();
    CFile file;
    if (!file.Open(kBackupName, CFile::modeRead))
        return;
    CArchive ar(&file, CArchive::load);
    Serialize(ar);
    ar.Close();
    file.Close();
}

void JTManager::ResetSeen()
{
    for (JTSprite* pSprite : m_list)
        pSprite->ClearSeen();
}

JTSprite* JTManager::GetFirst() const
{
    ASSERT(!m_list.empty());
    return m_list.front();
}

void JTManager::Describe(char* buffer, int size) const
{
    if (size <= 0)
        return;
    buffer[0] = '\0';
    int length = 0;
    for (JTSprite* pSprite : m_list)
    {
        if (length >= size - 1)
            break;
        length += wnsprintfA(buffer + length, size - length, " - %d", pSprite->GetType());
    }
}
