// map_fuzzer.cpp -- libFuzzer target: any bytes opened as a map, played, drawn, saved, reopened
//
// Run it with the working directory in a scratch folder: a game run writes manager.bak there.
// The loader never reads past the end mark, so whatever follows it steers the game run: each
// byte there is the set of keys held for one tick (its low six bits, HOLD_*), the sequence
// repeating, and the input's last byte's top two bits pick the run's length. Talk requests
// need runs of more than 60 ticks.
#include "fuzz/map_session.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
const int kRunTicks[4] = {8, 24, 48, 96};
// The collision pass tests every pair of sprites, by design: a 64 KB map of 5000 sprites costs
// seconds per tick under the sanitizers. A run of a crowded map is cut to this many pair tests,
// at least one tick, so that each input stays well inside the time limit.
const double kPairTestsPerRun = 20e6;

void Check(bool ok, const char* what)
{
    if (ok)
        return;
    std::fprintf(stderr, "map_fuzzer: %s\n", what);
    std::abort();
}

// One engine for the process, as the program has one document; every input starts afresh.
// A view smaller than most maps keeps the camera moving and each paint cheap under ASan.
MapSession& Session()
{
    static MapSession s_session(160, 120);
    return s_session;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MapSession& session = Session();
    session.Reset();
    BYTE last = size ? data[size - 1] : 0;

    std::size_t unread = 0;
    session.Open(data, size, &unread);
    std::vector<BYTE> keys(data + (size - unread), data + size);
    session.PaintEditor();
    double sprites = double(session.Shape().types.size());
    double pairsPerTick = sprites * sprites / 2;
    int ticks = kRunTicks[last >> 6];
    if (pairsPerTick * ticks > kPairTestsPerRun)
        ticks = std::max(1, int(kPairTestsPerRun / pairsPerTick));
    session.Play(ticks, keys);
    session.PaintEditor();

    // What the program saves it must open again, the same map with the list reversed.
    MapShape before = session.Shape();
    std::vector<BYTE> saved = session.Save();
    std::size_t trailing = 0;
    Check(session.Open(saved.data(), saved.size(), &trailing), "a saved map does not open again");
    Check(trailing == 0, "a saved map holds bytes after its end mark");
    MapShape after = session.Shape();
    Check(after.SameLayer(before), "the tile layer changed in a save and reopen");
    std::reverse(after.types.begin(), after.types.end());
    Check(after.types == before.types, "the sprites changed in a save and reopen");
    session.PaintEditor();
    return 0;
}
