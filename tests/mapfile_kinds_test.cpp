// mapfile_kinds_test.cpp -- every kind's record in the map file, round trips and the game backup
#include "kinds_world.h"

#include "Motor/JTNpc.h"
#include "Motor/animals.h"
#include "Motor/malote.h"
#include "platform/archive.h"
#include "platform/memfile.h"
#include "tests/map_bytes.h"

#include <cstring>
#include <string>
#include <vector>

namespace {


size_t RecordLength(int type)
{
    if (type == SPRITE_MALOTE || type == SPRITE_FETILLER)
        return 16;
    if (type >= SPRITE_TAROK && type <= SPRITE_DAMA)
        return 277;
    return 12;
}

// Cuts a sprite section into its records, checking the end mark.
std::vector<Bytes> SplitRecords(const Bytes& section)
{
    std::vector<Bytes> records;
    size_t at = 0;
    while (at + 4 <= section.size() && IntAt(section, at) != -1) {
        size_t length = RecordLength(IntAt(section, at));
        records.emplace_back(section.begin() + at, section.begin() + at + length);
        at += length;
    }
    EXPECT_EQ(at + 4, section.size());
    return records;
}

class MapFileKinds : public KindsWorld
{
protected:
    static Bytes StoreSprites()
    {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        Manager()->Serialize(ar);
        ar.Close();
        return file.Detach();
    }

    static void LoadSprites(const Bytes& bytes)
    {
        CMemFile file(bytes.data(), UINT(bytes.size()));
        CArchive ar(&file, CArchive::load);
        Manager()->Serialize(ar);
    }

    Bytes StoreMap()
    {
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        m_pKernel->Serialize(ar);
        ar.Close();
        return file.Detach();
    }

    void LoadMap(const Bytes& bytes)
    {
        CMemFile file(bytes.data(), UINT(bytes.size()));
        CArchive ar(&file, CArchive::load);
        m_pKernel->Serialize(ar);
    }

    // One sprite of every kind at its own place; enemies patrol sideways, speeches differ.
    void PlaceEveryKind()
    {
        for (int type = 0; type <= 9; type++) {
            JTSprite* sprite = Place(m_pKernel->CreateSprite(type), 10 * type, 20 * type + 1);
            if (type == SPRITE_MALOTE)
                static_cast<JTEnemic*>(sprite)->SetDirection(DIR_RIGHT);
            if (type >= SPRITE_TAROK && type <= SPRITE_DAMA)
                static_cast<JTNpc*>(sprite)->SetSpeech(("Parla " + std::to_string(type)).c_str());
        }
    }
};

} // namespace

TEST_F(MapFileKinds, EachKindWritesItsRecordLength)
{
    for (int type = 0; type <= 9; type++) {
        Manager()->RemoveAll();
        Place(m_pKernel->CreateSprite(type), -3, 70000);
        Bytes bytes = StoreSprites();
        ASSERT_EQ(bytes.size(), RecordLength(type) + 4) << "type " << type;
        EXPECT_EQ(IntAt(bytes, 0), type);
        EXPECT_EQ(IntAt(bytes, 4), -3);
        EXPECT_EQ(IntAt(bytes, 8), 70000);
        EXPECT_EQ(IntAt(bytes, bytes.size() - 4), -1);
    }
}

TEST_F(MapFileKinds, EnemyRecordCarriesItsDirection)
{
    JTMalote* malote = Place(new JTMalote, 7, 8);
    malote->SetDirection(DIR_RIGHT);
    Place(new JTFetiller, 5, 6);
    Bytes bytes = StoreSprites();
    EXPECT_EQ(IntAt(bytes, 12), DIR_DOWN);
    EXPECT_EQ(IntAt(bytes, 16 + 12), DIR_RIGHT);
    LoadSprites(bytes);
    JTSprite* first = Manager()->GetFirst();
    ASSERT_EQ(first->GetType(), SPRITE_MALOTE);
    EXPECT_EQ(MobilPeek::Dx(static_cast<JTMobil*>(first)), 1);
    EXPECT_EQ(MobilPeek::Dy(static_cast<JTMobil*>(first)), 0);
    EXPECT_EQ(GraficsPeek::Frame(first), 0);
}

// Name and speech are written whole; nothing but zeros follows their terminators, even after
// a longer text was replaced by a shorter one.
TEST_F(MapFileKinds, TalkerRecordIsZeroPadded)
{
    JTTarok* tarok = Place(new JTTarok, 1, 2);
    tarok->SetSpeech(std::string(200, 'x').c_str());
    tarok->SetSpeech("Hi");
    Bytes bytes = StoreSprites();
    ASSERT_EQ(bytes.size(), 277u + 4);
    Bytes name(bytes.begin() + 12, bytes.begin() + 22);
    EXPECT_EQ(name, (Bytes{'T', 'a', 'r', 'o', 'k', 0, 0, 0, 0, 0}));
    Bytes speech(bytes.begin() + 22, bytes.begin() + 277);
    Bytes expected(255, 0);
    expected[0] = 'H';
    expected[1] = 'i';
    EXPECT_EQ(speech, expected);
}

TEST_F(MapFileKinds, UnterminatedNameAndSpeechAreCut)
{
    Bytes bytes;
    PutInt(bytes, SPRITE_TRISHA);
    PutInt(bytes, 40);
    PutInt(bytes, 50);
    for (char c : std::string("ABCDEFGHIJ"))
        bytes.push_back(BYTE(c));
    bytes.insert(bytes.end(), 255, 'y');
    PutInt(bytes, -1);
    LoadSprites(bytes);
    JTNpc* npc = static_cast<JTNpc*>(Manager()->GetFirst());
    ASSERT_EQ(npc->GetType(), SPRITE_TRISHA);
    EXPECT_STREQ(npc->GetName(), "ABCDEFGHI");
    EXPECT_EQ(std::string(npc->GetSpeech()), std::string(254, 'y'));
    EXPECT_EQ(npc->GetX(), 40);

    Bytes again = StoreSprites();
    EXPECT_EQ(again[12 + 9], 0);
    EXPECT_EQ(again[22 + 254], 0);
}

TEST_F(MapFileKinds, LoadedNameReplacesTheKindsName)
{
    Bytes bytes;
    PutInt(bytes, SPRITE_TAROK);
    PutInt(bytes, 0);
    PutInt(bytes, 0);
    const char name[10] = "Dama";
    bytes.insert(bytes.end(), name, name + 10);
    bytes.insert(bytes.end(), 255, 0);
    PutInt(bytes, -1);
    LoadSprites(bytes);
    EXPECT_STREQ(static_cast<JTNpc*>(Manager()->GetFirst())->GetName(), "Dama");
}

TEST_F(MapFileKinds, RoundTripReversesEveryKind)
{
    PlaceEveryKind();
    EXPECT_EQ(Types(), " - 9 - 8 - 7 - 6 - 5 - 4 - 3 - 2 - 1 - 0");
    Bytes first = StoreMap();
    m_pKernel->NewMap(3, 3);
    LoadMap(first);
    EXPECT_EQ(Types(), " - 0 - 1 - 2 - 3 - 4 - 5 - 6 - 7 - 8 - 9");
    ASSERT_NE(Render()->GetPlayer(), nullptr);
    EXPECT_EQ(Render()->GetPlayer()->GetY(), 1);

    Bytes second = StoreMap();
    ASSERT_EQ(second.size(), first.size());
    std::vector<Bytes> a = SplitRecords(Bytes(first.begin() + 8 + 400 + 256, first.end()));
    std::vector<Bytes> b = SplitRecords(Bytes(second.begin() + 8 + 400 + 256, second.end()));
    ASSERT_EQ(a.size(), 10u);
    EXPECT_EQ(b, std::vector<Bytes>(a.rbegin(), a.rend()));

    LoadMap(second);
    EXPECT_EQ(StoreMap(), first);
}

// A run kills sprites, spawns effects and balls and changes the hero; the backup brings the
// edited sprites back as new objects, in reverse order.
TEST_F(MapFileKinds, GameRunBackupRestoresTheEditedSprites)
{
    JTPlayer* hero = Place(new JTPlayer, 100, 100);
    Place(new JTGallina, 110, 110);
    Place(new JTGos, 104, 104);
    Place(new JTMalote, 112, 100);
    Place(new JTFetiller, 200, 40);
    Place(new JTTarok, 40, 200)->SetSpeech("Hola");
    Place(new JTPocima, 250, 250);
    Bytes before = StoreSprites();

    Manager()->SaveBackup();
    Manager()->ResetSeen();
    hero->GiveItem(SPRITE_ESPASA);
    KeyStatePress(VK_CONTROL);
    for (int t = 1; t <= 60; t++) {
        Tick();
        Paint();
        if (t == 10) {
            EXPECT_GT(Count(SPRITE_EFECTE), 0);
        }
        if (t == 25)
            hero->Hurt(3);
    }
    EXPECT_EQ(Count(SPRITE_GALLINA) + Count(SPRITE_GOS) + Count(SPRITE_MALOTE), 0);
    EXPECT_EQ(hero->GetHealth(), 6);
    EXPECT_EQ(Count(SPRITE_BOLA), 1);
    EXPECT_GT(hero->GetScore(), 0);

    Manager()->LoadBackup();
    Manager()->BuildRenderList();
    EXPECT_EQ(Types(), " - 0 - 1 - 2 - 3 - 4 - 5 - 8");
    JTPlayer* restored = Render()->GetPlayer();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->GetHealth(), 9);
    EXPECT_EQ(restored->GetScore(), 0);

    std::vector<Bytes> saved = SplitRecords(before);
    std::vector<Bytes> back = SplitRecords(StoreSprites());
    EXPECT_EQ(back, std::vector<Bytes>(saved.rbegin(), saved.rend()));
}
