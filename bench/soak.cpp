// soak.cpp -- a long session: game runs back to back, every frame drawn, memory watched
//
// Usage: soak [ticks] [checkpoint every n ticks] [nopeak]   (defaults 100000 and 10000)
// Plays a map holding many sprites of every kind, the hero steered by a fixed key script, one
// 640 x 480 game frame painted after every tick. A run ends as the game window ends it (no hero,
// the hero dead) or after 6000 ticks as a user would close it; the sprite list then comes back
// from the backup, is checked against the map as it was, and the next run starts. At every
// checkpoint it prints the process's peak and current resident memory. Exit status 1 when a run
// lost or changed the map, or when the peak grew by more than 1 MB from the first checkpoint
// (not checked with "nopeak", for runs under valgrind, whose own memory grows).
#include "fuzz/map_session.h"

#include "Motor/JTNpc.h"
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"
#include "Motor/malote.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
const int kMapWidth = 120;
const int kMapHeight = 90;
const int kPerKind = 25;
const int kEnemiesPerKind = 6;
const int kLongestRun = 6000;
const long kPeakGrowthKb = 1024;

// What the user holds and for how many ticks; the script repeats.
struct Step
{
    BYTE keys;
    int ticks;
};
const Step kScript[] = {
    {HOLD_RIGHT, 60},
    {HOLD_DOWN, 45},
    {HOLD_LEFT | HOLD_SHIFT, 50},
    {HOLD_CONTROL, 12},
    {HOLD_UP, 40},
    {0, 25},
    {HOLD_RIGHT | HOLD_CONTROL, 30},
    {HOLD_DOWN | HOLD_SHIFT, 35},
    {HOLD_LEFT, 70},
    {HOLD_UP | HOLD_SHIFT, 30},
    {HOLD_CONTROL | HOLD_DOWN, 20},
    {HOLD_RIGHT | HOLD_UP, 40},
};

// The keys of the script at a given tick of the session.
BYTE ScriptKeys(long tick)
{
    long period = 0;
    for (const Step& step : kScript)
        period += step.ticks;
    long at = tick % period;
    for (const Step& step : kScript) {
        if (at < step.ticks)
            return step.keys;
        at -= step.ticks;
    }
    return 0;
}

JTSprite* Place(int type, int x, int y)
{
    JTSprite* pSprite = JTKernel::GetKernel()->CreateSprite(type);
    pSprite->SetPos(x, y);
    JTManager::GetManager()->Add(pSprite);
    return pSprite;
}

// Walls around the map and tile 255 blocking, so that nobody leaves it; rows of blocking tiles
// inside; the sprites spread over it on a grid, a few swords and potions near the hero.
void BuildCrowdedMap(JTKernel* pKernel)
{
    pKernel->NewMap(kMapWidth, kMapHeight);
    JTDecorat* pMap = JTDecorat::GetDecorat();
    pMap->SetWalkable(1, 0);
    pMap->SetWalkable(255, 0);
    for (int col = 0; col < kMapWidth; col++) {
        for (int row = 0; row < kMapHeight; row++) {
            bool edge = col == 0 || row == 0 || col == kMapWidth - 1 || row == kMapHeight - 1;
            bool inner = row % 15 == 7 && col % 20 < 12;
            pMap->SetTile(col, row, edge || inner ? 1 : BYTE((col * 7 + row) % 156));
        }
    }
    Place(SPRITE_ESPASA, 300, 300);
    Place(SPRITE_POCIMA, 340, 300);
    Place(SPRITE_PLAYER, 320, 320);
    int n = 0;
    for (int type = SPRITE_GALLINA; type <= SPRITE_ESPASA; type++) {
        // Fewer enemies than the rest, so that some runs last long before the hero falls.
        int count = type == SPRITE_MALOTE || type == SPRITE_FETILLER ? kEnemiesPerKind : kPerKind;
        for (int i = 0; i < count; i++, n++) {
            int x = 40 + (n * 97) % (kMapWidth * 16 - 80);
            int y = 40 + (n * 53) % (kMapHeight * 16 - 80);
            JTSprite* pSprite = Place(type, x, y);
            if (type == SPRITE_MALOTE || type == SPRITE_FETILLER)
                static_cast<JTEnemic*>(pSprite)->SetDirection(i % 2);
            if (type >= SPRITE_TAROK && type <= SPRITE_DAMA)
                static_cast<JTNpc*>(pSprite)->SetSpeech("Bon dia, viatger.");
        }
    }
}

// Peak and current resident memory in kB, from /proc/self/status.
void ReadMemory(long* pPeakKb, long* pNowKb)
{
    *pPeakKb = *pNowKb = -1;
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return;
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            *pPeakKb = std::atol(line + 6);
        else if (std::strncmp(line, "VmRSS:", 6) == 0)
            *pNowKb = std::atol(line + 6);
    }
    std::fclose(f);
}

// Peak memory at evenly spaced ticks of the whole session.
class Checkpoints
{
public:
    explicit Checkpoints(long every) : m_every(every) {}

    void AfterTick(const MapSession& session, long tick, int runs)
    {
        if (tick % m_every != 0)
            return;
        long peak, rss;
        ReadMemory(&peak, &rss);
        if (m_firstPeak < 0)
            m_firstPeak = peak;
        m_lastPeak = peak;
        std::printf("soak: tick %ld: run %d, %zu sprites, VmHWM %ld kB, VmRSS %ld kB\n", tick,
                    runs + 1, session.Shape().types.size(), peak, rss);
        std::fflush(stdout);
    }
    long FirstPeak() const { return m_firstPeak; }
    long LastPeak() const { return m_lastPeak; }

private:
    long m_every;
    long m_firstPeak = -1;
    long m_lastPeak = -1;
};

// One game run, as the game window drives it, then the main frame's steps after it; returns
// the ticks it lasted.
int PlayRun(MapSession& session, Checkpoints& checkpoints, int runs, long* pTick, long lastTick)
{
    JTKernel* pKernel = session.Kernel();
    JTManager::GetManager()->SaveBackup();
    JTManager::GetManager()->ResetSeen();
    session.PaintGame();
    int ticks = 0;
    while (ticks < kLongestRun && *pTick < lastTick) {
        ticks++;
        session.HoldKeys(ScriptKeys(*pTick));
        int status = pKernel->Tick();
        if (status == TICK_TALK)
            pKernel->SetTalker(nullptr);
        session.PaintGame();
        checkpoints.AfterTick(session, ++*pTick, runs);
        if (status == TICK_NO_PLAYER || status == TICK_GAME_OVER)
            break;
    }
    session.HoldKeys(0);
    JTManager::GetManager()->LoadBackup();
    pKernel->SetTalker(nullptr);
    JTRender::GetRender()->SetCamera(0, 0);
    session.PaintEditor();
    return ticks;
}
} // namespace

int main(int argc, char** argv)
{
    long lastTick = argc > 1 ? std::atol(argv[1]) : 100000;
    long every = argc > 2 ? std::atol(argv[2]) : 10000;
    bool checkPeak = !(argc > 3 && std::strcmp(argv[3], "nopeak") == 0);
    if (lastTick <= 0 || every <= 0) {
        std::fprintf(stderr, "usage: soak [ticks] [checkpoint every n ticks] [nopeak]\n");
        return 2;
    }
    MapSession session(640, 480);
    BuildCrowdedMap(session.Kernel());
    session.PaintEditor();
    const MapShape original = session.Shape();
    std::vector<int> reversed(original.types.rbegin(), original.types.rend());
    std::printf("soak: %zu sprites on a %d x %d map, %ld ticks\n", original.types.size(), kMapWidth,
                kMapHeight, lastTick);

    Checkpoints checkpoints(every);
    long tick = 0;
    int runs = 0, changed = 0, longest = 0;
    while (tick < lastTick) {
        longest = std::max(longest, PlayRun(session, checkpoints, runs, &tick, lastTick));
        runs++;
        MapShape now = session.Shape();
        if (!now.SameLayer(original) || now.types != (runs % 2 ? reversed : original.types))
            changed++;
    }
    std::printf("soak: peak memory at the first checkpoint %ld kB, at the last %ld kB; "
                "%d runs (the longest %d ticks), %d of them changed the map\n",
                checkpoints.FirstPeak(), checkpoints.LastPeak(), runs, longest, changed);
    bool flat = checkpoints.LastPeak() - checkpoints.FirstPeak() <= kPeakGrowthKb;
    return (flat || !checkPeak) && changed == 0 ? 0 : 1;
}
