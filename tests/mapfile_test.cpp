// mapfile_test.cpp -- the map document's bytes: tile layer, records, end mark, refusals, backup.
#include "motor_fixture.h"

#include "platform/archive.h"
#include "platform/memfile.h"
#include "tests/map_bytes.h"
#include "tests/scratch_dir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

class MapDocument : public EngineTest
{
protected:
    Bytes Store()
    {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        Kernel()->Serialize(ar);
        ar.Close();
        return file.Detach();
    }

    // Loads bytes as a document; the archive's cause when it refuses them, else -1.
    int Load(const Bytes& bytes)
    {
        CMemFile file(bytes.data(), UINT(bytes.size()));
        CArchive ar(&file, CArchive::load);
        try
        {
            Kernel()->Serialize(ar);
        }
        catch (CArchiveException* e)
        {
            int cause = e->m_cause;
            e->Delete();
            return cause;
        }
        return -1;
    }

    // A tile layer of w x h cells of tile 0 with all tiles walkable.
    static Bytes Layer(int32_t w, int32_t h, std::size_t cells)
    {
        Bytes b;
        PutInt(b, w);
        PutInt(b, h);
        b.insert(b.end(), cells, 0);
        b.insert(b.end(), 256, 1);
        return b;
    }

    // A 2 x 1 map of tiles 5 and 7, all walkable, with one hen at (32, 48).
    void MakeHenMap()
    {
        Kernel()->NewMap(2, 1);
        Decorat()->SetTile(0, 0, 5);
        Decorat()->SetTile(1, 0, 7);
        JTSprite* hen = Kernel()->CreateSprite(SPRITE_GALLINA);
        hen->SetPos(32, 48);
        Manager()->Add(hen);
    }

    std::string Types()
    {
        char text[256];
        Manager()->Describe(text, sizeof text);
        return text;
    }
};

Bytes HenMapBytes()
{
    Bytes b;
    PutInt(b, 2);
    PutInt(b, 1);
    b.push_back(5);
    b.push_back(7);
    b.insert(b.end(), 256, 1);
    PutInt(b, 1);
    PutInt(b, 32);
    PutInt(b, 48);
    PutInt(b, -1);
    return b;
}
} // namespace

TEST_F(MapDocument, HenMapIs282Bytes)
{
    MakeHenMap();
    Bytes bytes = Store();
    EXPECT_EQ(bytes.size(), 282u);
    EXPECT_EQ(bytes, HenMapBytes());
}

TEST_F(MapDocument, MapWithoutSpritesEndsWithTheMark)
{
    Kernel()->NewMap(3, 2);
    Decorat()->SetWalkable(200, 0);
    Bytes expected = Layer(3, 2, 6);
    expected[8 + 6 + 200] = 0;
    PutInt(expected, -1);
    EXPECT_EQ(Store(), expected);
}

TEST_F(MapDocument, NoTileArrayStoresAnEmptyLayerThatLoads)
{
    ASSERT_TRUE(Decorat()->IsEmpty());
    Bytes expected = Layer(0, 0, 0);
    PutInt(expected, -1);
    Bytes bytes = Store();
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(Load(bytes), -1);
    EXPECT_FALSE(Decorat()->IsEmpty());
    EXPECT_EQ(Decorat()->GetWidth(), 0);
}

TEST_F(MapDocument, LoadReadsTilesFlagsAndSprites)
{
    Bytes bytes = HenMapBytes();
    bytes[8 + 2 + 7] = 0;
    ASSERT_EQ(Load(bytes), -1);
    EXPECT_EQ(Decorat()->GetWidth(), 2);
    EXPECT_EQ(Decorat()->GetTile(1, 0), 7);
    EXPECT_EQ(Decorat()->IsWalkable(7), 0);
    EXPECT_EQ(Decorat()->GetTileShift(), 4);
    EXPECT_EQ(Types(), " - 1");
    EXPECT_EQ(Manager()->GetFirst()->GetX(), 32);
    EXPECT_EQ(Manager()->GetFirst()->GetY(), 48);
    EXPECT_EQ(Render()->GetRenderList().size(), 1u);
}

TEST_F(MapDocument, LoadReversesTheListAndSaveLoadRestoresIt)
{
    Kernel()->NewMap(2, 2);
    for (int type : {8, 2, 1})
        Manager()->Add(Kernel()->CreateSprite(type));
    ASSERT_EQ(Types(), " - 1 - 2 - 8");
    ASSERT_EQ(Load(Store()), -1);
    EXPECT_EQ(Types(), " - 8 - 2 - 1");
    ASSERT_EQ(Load(Store()), -1);
    EXPECT_EQ(Types(), " - 1 - 2 - 8");
}

TEST_F(MapDocument, UnknownTypeEndsTheSpritesQuietly)
{
    Bytes bytes = Layer(1, 1, 1);
    for (int32_t v : {1, 10, 20, 2, 30, 40, 12, 50, 60, 3, 70, 80, 1})
        PutInt(bytes, v);
    PutInt(bytes, -1);
    EXPECT_EQ(Load(bytes), -1);
    EXPECT_EQ(Types(), " - 2 - 1");
}

TEST_F(MapDocument, TruncationAtEveryByteIsRefused)
{
    MakeHenMap();
    Bytes full = Store();
    for (std::size_t n = 0; n < full.size(); n++)
    {
        Bytes cut(full.begin(), full.begin() + long(n));
        ASSERT_EQ(Load(cut), CArchiveException::endOfFile) << "cut at " << n;
        if (n < 8 + 2 + 256)
        {
            ASSERT_TRUE(Decorat()->IsEmpty()) << "cut at " << n;
        }
    }
    EXPECT_EQ(Load(full), -1);
}

TEST_F(MapDocument, AbsurdLayerSizesAreRefusedBeforeAllocating)
{
    Kernel()->NewMap(4, 4);
    const int32_t sizes[][2] = {{-1, 1}, {1, -1}, {INT_MIN, INT_MIN}, {65536, 65536},
                                {INT_MAX, INT_MAX}, {134217728, 0}};
    for (const auto& size : sizes)
    {
        Bytes bytes = Layer(size[0], size[1], 0);
        PutInt(bytes, -1);
        EXPECT_EQ(Load(bytes), CArchiveException::badIndex) << size[0] << " x " << size[1];
        EXPECT_TRUE(Decorat()->IsEmpty());
        EXPECT_EQ(Decorat()->GetWidth(), 0);
    }
    Bytes tooLong = Layer(30000, 30000, 100);
    PutInt(tooLong, -1);
    EXPECT_EQ(Load(tooLong), CArchiveException::endOfFile);
    EXPECT_TRUE(Decorat()->IsEmpty());
}

TEST_F(MapDocument, CutInsideARecordKeepsTheSpritesBeforeIt)
{
    Bytes bytes = Layer(1, 1, 1);
    for (int32_t v : {1, 10, 20, 2, 30})
        PutInt(bytes, v);
    EXPECT_EQ(Load(bytes), CArchiveException::endOfFile);
    EXPECT_EQ(Types(), " - 1");
}

namespace {
// A scratch working directory for the backup, removed afterwards.
class Backup : public MapDocument
{
protected:
    void SetUp() override
    {
        MapDocument::SetUp();
        ASSERT_FALSE(m_dir.Path().empty());
        Kernel()->NewMap(10, 10);
        for (int type : {8, 2, 0, 1})
        {
            JTSprite* s = Kernel()->CreateSprite(type);
            s->SetPos(type * 20, 16);
            Manager()->Add(s);
        }
    }
    void TearDown() override
    {
        MapDocument::TearDown();
    }

    // What a game run does to the list: kills, moves and adds.
    void Play()
    {
        Manager()->GetFirst()->Kill();
        Manager()->Add(Kernel()->CreateSprite(SPRITE_GOS));
        for (int i = 0; i < 5; i++)
            Kernel()->Tick();
    }

    ScratchWorkingDir m_dir;
};

Bytes ReadFile(const char* name)
{
    Bytes b;
    if (FILE* f = std::fopen(name, "rb"))
    {
        int c;
        while ((c = std::fgetc(f)) != EOF)
            b.push_back(BYTE(c));
        std::fclose(f);
    }
    return b;
}
} // namespace

TEST_F(Backup, RunComesBackReversedFromTheFile)
{
    Manager()->SaveBackup();
    Bytes file = ReadFile("manager.bak");
    ASSERT_EQ(file.size(), 4u * 12 + 4);
    EXPECT_EQ(file[0], 1);
    Play();
    Manager()->LoadBackup();
    EXPECT_EQ(Types(), " - 8 - 2 - 0 - 1");
    EXPECT_NE(Render()->GetPlayer(), nullptr);
    EXPECT_EQ(Manager()->FindAt(45, 20)->GetType(), 2);
}

TEST_F(Backup, UnwritableFileLosesNothing)
{
    ASSERT_EQ(mkdir("manager.bak", 0700), 0);
    Manager()->SaveBackup();
    Play();
    Manager()->LoadBackup();
    EXPECT_EQ(Types(), " - 8 - 2 - 0 - 1");
}

TEST_F(Backup, FileRemovedOrSpoiledDuringTheRunLosesNothing)
{
    Manager()->SaveBackup();
    std::remove("manager.bak");
    Play();
    Manager()->LoadBackup();
    EXPECT_EQ(Types(), " - 8 - 2 - 0 - 1");

    Manager()->SaveBackup();
    if (FILE* f = std::fopen("manager.bak", "wb"))
    {
        std::fputs("\x0c\x00", f);
        std::fclose(f);
    }
    Play();
    Manager()->LoadBackup();
    EXPECT_EQ(Types(), " - 1 - 0 - 2 - 8");
}
