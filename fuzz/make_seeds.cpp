// make_seeds.cpp -- the map fuzzer's seed corpus: maps holding every kind, saved by the engine
//
// Usage: make_seeds <folder>. Each seed is a map document as the program saves it, followed by
// the keys the fuzzer holds during the run, one byte per tick; the top two bits of the last byte
// pick the run's length.
#include "fuzz/map_session.h"

#include "Motor/JTNpc.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtsprite.h"
#include "Motor/malote.h"

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace {
const int kLongRun = 3 << 6;  // 96 ticks: talking characters get to speak
const int kShortRun = 1 << 6; // 24 ticks

JTSprite* Place(int type, int x, int y)
{
    JTSprite* pSprite = JTKernel::GetKernel()->CreateSprite(type);
    pSprite->SetPos(x, y);
    JTManager::GetManager()->Add(pSprite);
    return pSprite;
}

void PlaceTalker(int type, int x, int y, const char* speech)
{
    static_cast<JTNpc*>(Place(type, x, y))->SetSpeech(speech);
}

void PlaceEnemy(int type, int x, int y, int dir)
{
    static_cast<JTEnemic*>(Place(type, x, y))->SetDirection(dir);
}

// A frame of blocking tile 1 around the map, and a few blocking tiles inside.
void NewWalledMap(int width, int height)
{
    JTKernel::GetKernel()->NewMap(width, height);
    JTDecorat* pMap = JTDecorat::GetDecorat();
    pMap->SetWalkable(1, 0);
    for (int col = 0; col < width; col++) {
        pMap->SetTile(col, 0, 1);
        pMap->SetTile(col, height - 1, 1);
    }
    for (int row = 0; row < height; row++) {
        pMap->SetTile(0, row, 1);
        pMap->SetTile(width - 1, row, 1);
    }
    for (int i = 2; i < width - 2; i += 5)
        pMap->SetTile(i, height / 2, 1);
    for (int t = 2; t < 156; t++)
        pMap->SetTile(t % width, 1 + t / width % (height - 2), BYTE(t));
}

// One of each kind 1 to 9 in a row starting at (x, y), 40 pixels apart.
void PlaceEveryKind(int x, int y)
{
    Place(SPRITE_GALLINA, x, y);
    Place(SPRITE_GOS, x + 40, y);
    PlaceEnemy(SPRITE_MALOTE, x + 80, y, DIR_RIGHT);
    PlaceEnemy(SPRITE_FETILLER, x + 120, y, DIR_DOWN);
    PlaceTalker(SPRITE_TAROK, x + 160, y, "Hola, viatger.");
    PlaceTalker(SPRITE_TRISHA, x + 200, y, "");
    PlaceTalker(SPRITE_DAMA, x + 240, y, std::string(254, 'd').c_str());
    Place(SPRITE_POCIMA, x + 280, y);
    Place(SPRITE_ESPASA, x + 320, y);
}

void EveryKind()
{
    NewWalledMap(30, 20);
    Place(SPRITE_PLAYER, 48, 48);
    PlaceEveryKind(32, 96);
}

void Crowd()
{
    NewWalledMap(48, 40);
    Place(SPRITE_PLAYER, 300, 300);
    for (int i = 0; i < 4; i++)
        PlaceEveryKind(24 + 20 * i, 40 + 150 * i);
}

// The hero stands on the sword beside every creature, so the run sees strikes, deaths and shots.
void Duel()
{
    NewWalledMap(20, 15);
    Place(SPRITE_ESPASA, 100, 100);
    Place(SPRITE_PLAYER, 100, 100);
    Place(SPRITE_GALLINA, 124, 110);
    Place(SPRITE_GOS, 80, 110);
    PlaceEnemy(SPRITE_MALOTE, 110, 130, DIR_LEFT);
    PlaceEnemy(SPRITE_FETILLER, 150, 100, DIR_UP);
    PlaceTalker(SPRITE_TAROK, 100, 70, "No em toquis!");
    Place(SPRITE_POCIMA, 90, 90);
}

void Talkers()
{
    NewWalledMap(16, 12);
    Place(SPRITE_PLAYER, 80, 80);
    PlaceTalker(SPRITE_TAROK, 90, 84, "Primer.");
    PlaceTalker(SPRITE_TRISHA, 70, 84, "Segona.");
    PlaceTalker(SPRITE_DAMA, 80, 90, "Tercera.");
}

// Sprites at the map's edges and far outside it, tile 255 blocking, odd enemy directions.
void Edges()
{
    NewWalledMap(12, 9);
    JTDecorat::GetDecorat()->SetWalkable(255, 0);
    Place(SPRITE_PLAYER, 0, 0);
    Place(SPRITE_GALLINA, -20, 40);
    Place(SPRITE_GOS, INT_MAX - 8, INT_MAX - 8);
    PlaceEnemy(SPRITE_MALOTE, INT_MIN, 10, 7);
    PlaceEnemy(SPRITE_FETILLER, 30, INT_MIN + 3, -3);
    PlaceTalker(SPRITE_DAMA, 180, 130, "A la vora.");
    Place(SPRITE_ESPASA, INT_MAX, INT_MIN);
}

void NoHero()
{
    NewWalledMap(10, 10);
    PlaceEveryKind(20, 20);
}

void Empty()
{
    JTKernel::GetKernel()->NewMap(1, 1);
}

bool WriteSeed(const std::string& path, std::vector<BYTE> bytes, const std::vector<BYTE>& keys)
{
    bytes.insert(bytes.end(), keys.begin(), keys.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <folder>\n");
        return 2;
    }
    struct Seed
    {
        const char* name;
        void (*build)();
        std::vector<BYTE> keys;
    };
    const Seed seeds[] = {
        {"every-kind", EveryKind, {BYTE(kLongRun | HOLD_RIGHT)}},
        {"crowd", Crowd, {HOLD_DOWN, HOLD_DOWN | HOLD_SHIFT, HOLD_RIGHT, BYTE(kShortRun)}},
        {"duel",
         Duel,
         {HOLD_CONTROL, HOLD_LEFT, HOLD_CONTROL | HOLD_UP, 0, HOLD_RIGHT | HOLD_SHIFT,
          BYTE(kLongRun | HOLD_CONTROL | HOLD_DOWN)}},
        {"talkers", Talkers, {BYTE(kLongRun)}},
        {"edges", Edges, {HOLD_LEFT, HOLD_UP, BYTE(kShortRun | HOLD_LEFT | HOLD_UP)}},
        {"no-hero", NoHero, {}},
        {"empty", Empty, {HOLD_RIGHT}},
    };
    MapSession session(320, 240);
    int written = 0;
    for (const Seed& seed : seeds) {
        session.Reset();
        seed.build();
        std::string path = std::string(argv[1]) + "/seed-" + seed.name + ".tvr";
        if (!WriteSeed(path, session.Save(), seed.keys)) {
            std::fprintf(stderr, "make_seeds: cannot write %s\n", path.c_str());
            return 1;
        }
        written++;
    }
    std::printf("make_seeds: %d seed maps in %s\n", written, argv[1]);
    return 0;
}
