// badinput_test.cpp -- bad map files and a failing backup: refused or carried, never a crash
#include "fuzz/map_session.h"

#include "Motor/JTNpc.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/malote.h"
#include "platform/archive.h"
#include "platform/memfile.h"
#include "tests/hostile_files.h"
#include "tests/map_bytes.h"
#include "tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// The largest single allocation while a load runs. Under AddressSanitizer its allocator hooks
// report every allocation; elsewhere this binary's own operator new does.
#if defined(__SANITIZE_ADDRESS__)
#define BADINPUT_SANITIZER_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BADINPUT_SANITIZER_HOOKS 1
#endif
#endif

namespace {
std::atomic<bool> g_watching{false};
std::atomic<std::size_t> g_largest{0};

void NoteAllocation(std::size_t size)
{
    if (!g_watching.load(std::memory_order_relaxed))
        return;
    std::size_t seen = g_largest.load(std::memory_order_relaxed);
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
}
} // namespace

#ifdef BADINPUT_SANITIZER_HOOKS
#include <sanitizer/allocator_interface.h>
namespace {
void MallocHook(const volatile void*, std::size_t size)
{
    NoteAllocation(size);
}
void FreeHook(const volatile void*) {}
const int g_hooked = __sanitizer_install_malloc_and_free_hooks(MallocHook, FreeHook);
} // namespace
#else
// Kept out of line, so the compiler never pairs an inlined free with a new expression.
__attribute__((noinline)) void* operator new(std::size_t size)
{
    NoteAllocation(size);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept
{
    std::free(p);
}
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
#endif

namespace {

// Besides the file's own bytes, a load may take the archive's fixed 4096-byte buffer.
const std::size_t kArchiveBuffer = 4096;
const int kLoaded = -1;

// A map document written by hand, field by field.
struct Doc
{
    Bytes bytes;

    Doc& Int(int32_t v)
    {
        PutInt(bytes, v);
        return *this;
    }
    Doc& Fill(std::size_t n, BYTE b)
    {
        bytes.insert(bytes.end(), n, b);
        return *this;
    }
    Doc& Layer(int w, int h, BYTE tile = 0)
    {
        return Int(w).Int(h).Fill(std::size_t(w) * h, tile).Fill(256, 1);
    }
    Doc& Sprite(int type, int x, int y) { return Int(type).Int(x).Int(y); }
    Doc& Enemy(int type, int x, int y, int dir) { return Sprite(type, x, y).Int(dir); }
    Doc& Talker(int type, int x, int y, const std::string& name, const std::string& speech)
    {
        Sprite(type, x, y);
        Text(name, 10);
        return Text(speech, 255);
    }
    // Cut to the field or padded with NULs: a text as long as its field has no NUL.
    Doc& Text(const std::string& text, std::size_t field)
    {
        std::string cut = text.substr(0, field);
        bytes.insert(bytes.end(), cut.begin(), cut.end());
        return Fill(field - cut.size(), 0);
    }
};

class BadInput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_dir.Path().empty());
        m_pSession = new MapSession(320, 240);
    }

    void TearDown() override
    {
        delete m_pSession;
    }

    static JTManager* Manager() { return JTManager::GetManager(); }
    static JTDecorat* Map() { return JTDecorat::GetDecorat(); }
    static JTRender* Render() { return JTRender::GetRender(); }
    MapShape Shape() const { return m_pSession->Shape(); }

    // The document's load, the kernel's three steps one by one: kLoaded, or the cause of the
    // archive exception that stopped it. No allocation while reading may be larger than the
    // file (or the archive's buffer); rebuilding the drawing order afterwards takes a few bytes
    // per sprite read, so at most a small multiple of the file.
    int Load(const Bytes& bytes)
    {
        CMemFile file(bytes.data(), UINT(bytes.size()));
        CArchive ar(&file, CArchive::load);
        int result = kLoaded;
        std::size_t reading = 0, rebuilding = 0;
        try {
            reading = LargestAllocation([&] {
                Map()->Serialize(ar);
                Manager()->Serialize(ar);
            });
            rebuilding = LargestAllocation([&] { Manager()->BuildRenderList(); });
        } catch (CArchiveException* e) {
            result = e->m_cause;
            e->Delete();
            reading = g_largest;
        }
        m_largestRead = reading;
        EXPECT_LE(reading, std::max(bytes.size(), kArchiveBuffer))
            << "reading " << bytes.size() << " bytes";
        EXPECT_LE(rebuilding, 3 * bytes.size() + kArchiveBuffer)
            << "after reading " << bytes.size() << " bytes";
        return result;
    }

    // The largest single allocation made while f runs.
    template <class F> static std::size_t LargestAllocation(F f)
    {
        g_largest = 0;
        g_watching = true;
        try {
            f();
        } catch (...) {
            g_watching = false;
            throw;
        }
        g_watching = false;
        return g_largest;
    }

    // Whatever a load left, the program goes on with it: it paints it, plays it, saves it and
    // opens the saved map again.
    void ExpectCarriesOn()
    {
        m_pSession->PaintEditor();
        m_pSession->Play(30, {HOLD_RIGHT, HOLD_RIGHT | HOLD_CONTROL, 0, HOLD_DOWN});
        m_pSession->PaintEditor();
        Bytes saved = m_pSession->Save();
        EXPECT_EQ(Load(saved), kLoaded);
    }

    // A 12 x 8 map holding the hero and one sprite of every other kind.
    Bytes SampleMap()
    {
        JTKernel* pKernel = m_pSession->Kernel();
        pKernel->NewMap(12, 8);
        Map()->SetWalkable(3, 0);
        Map()->SetTile(5, 5, 3);
        for (int type = SPRITE_PLAYER; type <= SPRITE_ESPASA; type++) {
            JTSprite* pSprite = pKernel->CreateSprite(type);
            pSprite->SetPos(16 * type, 8 * type);
            if (type >= SPRITE_TAROK && type <= SPRITE_DAMA)
                static_cast<JTNpc*>(pSprite)->SetSpeech("Bon dia.");
            Manager()->Add(pSprite);
        }
        return m_pSession->Save();
    }

    MapSession* m_pSession = nullptr;
    std::size_t m_largestRead = 0; // by the last Load
    ScratchWorkingDir m_dir;
};
} // namespace

TEST_F(BadInput, EmptyFileEndsAtTheFirstInteger)
{
    EXPECT_EQ(Load(Bytes()), CArchiveException::endOfFile);
    EXPECT_TRUE(Map()->IsEmpty());
    ExpectCarriesOn();
}

TEST_F(BadInput, EveryTruncationOfAMapWithEveryKindEndsEarly)
{
    Bytes full = SampleMap();
    ASSERT_EQ(full.size(), 8u + 96 + 256 + 5 * 12 + 2 * 16 + 3 * 277 + 4);
    for (std::size_t n = 0; n < full.size(); n++) {
        Bytes cut(full.begin(), full.begin() + long(n));
        ASSERT_EQ(Load(cut), CArchiveException::endOfFile) << "cut at " << n;
        m_pSession->PaintEditor();
        m_pSession->Play(2, {HOLD_DOWN});
    }
    EXPECT_EQ(Load(full), kLoaded);
    EXPECT_GE(m_largestRead, sizeof(JTDama)) << "the watch saw the characters being made";
    EXPECT_EQ(Shape().types.size(), 10u);
    ExpectCarriesOn();
}

TEST_F(BadInput, NegativeOrOverflowingSizesAreRefusedBeforeAllocating)
{
    const int32_t sizes[][2] = {{-1, 10},       {10, -1},       {-65536, -65536}, {INT_MIN, 1},
                                {65536, 65536}, {46341, 46341}, {INT_MAX, 2},     {2, INT_MAX}};
    for (const auto& size : sizes) {
        Doc doc;
        doc.Int(size[0]).Int(size[1]).Fill(300, 0).Int(-1);
        EXPECT_EQ(Load(doc.bytes), CArchiveException::badIndex) << size[0] << " x " << size[1];
        EXPECT_TRUE(Map()->IsEmpty());
        ExpectCarriesOn();
    }
}

// A map may be as wide as the pixel range allows when it has no rows: nothing to read, draw
// or cross, and the overlay's paint must not walk its empty columns.
TEST_F(BadInput, HugeSizeWithoutCellsLoadsAndPaints)
{
    const int32_t sizes[][2] = {{134217727, 0}, {0, 134217727}};
    for (const auto& size : sizes) {
        Doc doc;
        doc.Int(size[0]).Int(size[1]).Fill(256, 0).Sprite(SPRITE_PLAYER, 8, 8).Int(-1);
        ASSERT_EQ(Load(doc.bytes), kLoaded) << size[0] << " x " << size[1];
        EXPECT_EQ(Map()->GetWidth(), size[0]);
        EXPECT_EQ(Map()->GetTile(0, 0), -1);
        ExpectCarriesOn();
    }
}

TEST_F(BadInput, SizesLargerThanTheFileEndEarlyBeforeAllocating)
{
    const int32_t sizes[][2] = {{1000, 1000}, {4096, 4096}, {20, 14}, {1, 40000}};
    for (const auto& size : sizes) {
        Doc doc;
        doc.Int(size[0]).Int(size[1]).Fill(300, 7).Int(-1);
        EXPECT_EQ(Load(doc.bytes), CArchiveException::endOfFile) << size[0] << " x " << size[1];
        EXPECT_TRUE(Map()->IsEmpty());
        ExpectCarriesOn();
    }
}

TEST_F(BadInput, TypeIdsTheFactoryDoesNotMakeEndTheSpritesQuietly)
{
    for (int32_t type : {-4, -8, 10, 12, 0x7fffffff}) {
        Doc doc;
        doc.Layer(4, 4).Sprite(SPRITE_GALLINA, 16, 16).Int(type).Enemy(SPRITE_MALOTE, 32, 32, 1);
        doc.Int(-1);
        EXPECT_EQ(Load(doc.bytes), kLoaded) << type;
        EXPECT_EQ(Shape().types, std::vector<int>{SPRITE_GALLINA}) << type;
        ExpectCarriesOn();
    }
}

TEST_F(BadInput, NamesAndSpeechesWithoutNulEndAtTheirLastByte)
{
    // Every cell is tile 1, which blocks: nobody leaves, so the character gets to talk.
    Doc doc;
    doc.Int(8).Int(8).Fill(64, 1).Fill(1, 1).Fill(1, 0).Fill(254, 1);
    doc.Sprite(SPRITE_PLAYER, 40, 40);
    doc.Talker(SPRITE_DAMA, 48, 40, "ABCDEFGHIJKL", std::string(255, 'x'));
    doc.Int(-1);
    ASSERT_EQ(Load(doc.bytes), kLoaded);
    JTNpc* pDama = static_cast<JTNpc*>(Manager()->GetFirst());
    EXPECT_STREQ(pDama->GetName(), "ABCDEFGHI");
    EXPECT_EQ(std::string(pDama->GetSpeech()), std::string(254, 'x'));

    JTKernel* pKernel = m_pSession->Kernel();
    int status = TICK_RUNNING;
    for (int i = 0; i < 90 && status != TICK_TALK; i++)
        status = pKernel->Tick();
    ASSERT_EQ(status, TICK_TALK);
    EXPECT_STREQ(pKernel->GetTalker()->GetName(), "ABCDEFGHI");
    pKernel->SetTalker(nullptr);

    Bytes saved = m_pSession->Save();
    std::size_t name = 8 + 64 + 256;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&saved[name + 12]), 10),
              std::string("ABCDEFGHI") + '\0');
    ExpectCarriesOn();
}

TEST_F(BadInput, EnemyDirectionsOutsideTheFourKeepTheDefaultCourse)
{
    for (int32_t dir : {7, -3}) {
        Doc doc;
        doc.Layer(10, 10).Sprite(SPRITE_PLAYER, 0, 0);
        doc.Enemy(SPRITE_MALOTE, 40, 40, dir).Enemy(SPRITE_FETILLER, 100, 40, dir).Int(-1);
        ASSERT_EQ(Load(doc.bytes), kLoaded) << dir;
        // Both stand in the list as read, the direction stored back unchanged.
        Bytes saved = m_pSession->Save();
        std::size_t first = 8 + 100 + 256;
        EXPECT_EQ(saved[first + 12], BYTE(dir)) << dir;
        JTSprite* pMalote = Manager()->FindAt(41, 41);
        ASSERT_NE(pMalote, nullptr);
        m_pSession->Kernel()->Tick();
        EXPECT_GT(pMalote->GetY(), 40) << "walks down, the kinds' default";
        EXPECT_EQ(pMalote->GetX(), 40);
        m_pSession->Play(200, {HOLD_LEFT});
        ExpectCarriesOn();
    }
}

TEST_F(BadInput, TilesBeyondTheTileSetLoadAndDrawNothing)
{
    Doc doc;
    doc.Int(10).Int(10);
    for (int i = 0; i < 100; i++)
        doc.bytes.push_back(BYTE(156 + i));
    doc.Fill(256, 1).Sprite(SPRITE_PLAYER, 20, 20).Int(-1);
    ASSERT_EQ(Load(doc.bytes), kLoaded);
    EXPECT_EQ(Map()->GetTile(0, 0), 156);
    EXPECT_EQ(Map()->GetTile(9, 9), 255);

    CBitmap bitmap;
    bitmap.CreateBitmap(160, 160, 1, 32, nullptr);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 160, 160, RGB(1, 2, 3));
    Render()->UpdateView(&dc);
    EXPECT_TRUE(Map()->Draw(&dc));
    for (int y = 0; y < 160; y += 7) {
        for (int x = 0; x < 160; x += 7)
            ASSERT_EQ(dc.GetPixel(x, y), RGB(1, 2, 3)) << x << ", " << y;
    }
    ExpectCarriesOn();
}

TEST_F(BadInput, FullBitmapCacheLeavesSpritesUndrawnAndGoesOn)
{
    Bytes sample = SampleMap();
    for (UINT id = 5000; id < 5050; id++)
        ASSERT_NE(Render()->GetBitmap(id), nullptr) << id;
    EXPECT_EQ(Render()->GetBitmap(5050), nullptr);
    EXPECT_EQ(Render()->GetBitmap(5051), nullptr);
    EXPECT_EQ(Render()->GetBitmap(5000), Render()->GetBitmap(5000));
    ASSERT_EQ(Load(sample), kLoaded);
    ExpectCarriesOn();
}

// The collision pass tests every pair, so one tick of this map is slow, but it runs.
TEST_F(BadInput, SixtyFourKilobytesOfSpritesLoadAndPlay)
{
    Doc doc;
    doc.Layer(1, 1).Sprite(SPRITE_PLAYER, 100, 100);
    int count = 0;
    for (; doc.bytes.size() + 12 + 4 <= 65536; count++)
        doc.Sprite(SPRITE_ESPASA, (count % 200) * 40, (count / 200) * 40);
    doc.Int(-1);
    ASSERT_EQ(Load(doc.bytes), kLoaded);
    EXPECT_EQ(Shape().types.size(), std::size_t(count + 1));
    EXPECT_EQ(m_pSession->Kernel()->Tick(), TICK_RUNNING);
    m_pSession->PaintGame();
    EXPECT_EQ(Load(m_pSession->Save()), kLoaded);
}

TEST_F(BadInput, BackupThatCannotBeWrittenOrIsDeletedLosesNoSprite)
{
    Bytes sample = SampleMap();
    ASSERT_EQ(Load(sample), kLoaded);
    std::vector<int> before = Shape().types;
    std::vector<int> reversed(before.rbegin(), before.rend());

    ASSERT_EQ(mkdir("manager.bak", 0700), 0);
    m_pSession->Play(40, {HOLD_CONTROL | HOLD_DOWN});
    EXPECT_EQ(Shape().types, reversed);
    ASSERT_EQ(rmdir("manager.bak"), 0);

    // Removed, then replaced by a foreign file, while the run goes on.
    JTManager* pManager = Manager();
    pManager->SaveBackup();
    ASSERT_EQ(std::remove("manager.bak"), 0);
    m_pSession->Kernel()->Tick();
    FILE* f = std::fopen("manager.bak", "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("\x0c\x01", f);
    std::fclose(f);
    m_pSession->Kernel()->Tick();
    pManager->LoadBackup();
    EXPECT_EQ(Shape().types, before);
    ExpectCarriesOn();
}

TEST_F(BadInput, BackupInPlaceOfALinkOrAFifoNeverReachesWhatTheyName)
{
    Bytes sample = SampleMap();
    ASSERT_EQ(Load(sample), kLoaded);
    std::vector<int> before = Shape().types;

    // A link is replaced by the backup; the file it named keeps its bytes.
    FILE* f = std::fopen("other.txt", "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("keep me", f);
    std::fclose(f);
    ASSERT_EQ(symlink("other.txt", "manager.bak"), 0);
    Manager()->SaveBackup();
    struct stat st;
    ASSERT_EQ(lstat("manager.bak", &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    f = std::fopen("other.txt", "rb");
    ASSERT_NE(f, nullptr);
    char text[16] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text, f), 7u);
    std::fclose(f);
    EXPECT_STREQ(text, "keep me");
    ASSERT_EQ(std::remove("manager.bak"), 0);

    // A FIFO is neither written nor read: the run goes on from memory.
    GuardedFifo fifo("manager.bak");
    ASSERT_TRUE(fifo.IsMade());
    m_pSession->Play(20, {HOLD_DOWN});
    ASSERT_EQ(lstat("manager.bak", &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_FALSE(fifo.Rescued()) << "the backup waited on the FIFO";
    EXPECT_EQ(Load(m_pSession->Save()), kLoaded);
    EXPECT_EQ(Shape().types.size(), before.size());
}
