// map_fuzzer.cpp -- libFuzzer target: any bytes opened as a map, played, drawn, saved, reopened
//
// Run it with the working directory in a scratch folder: a game run writes manager.bak there.
// The last byte of the input picks the keys held during the run (its low six bits, HOLD_*) and
// the run's length (its top two bits); bytes after the end mark are never read by the loader,
// so this costs the document nothing. Talk requests need runs of more than 60 ticks.
#include "fuzz/map_session.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
const int kRunTicks[4] = {8, 24, 48, 96};

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

    session.Open(data, size);
    session.PaintEditor();
    session.Play(kRunTicks[last >> 6], BYTE(last & 63));
    session.PaintEditor();

    // What the program saves it must open again, the same map with the list reversed.
    MapShape before = session.Shape();
    std::vector<BYTE> saved = session.Save();
    Check(session.Open(saved.data(), saved.size()), "a saved map does not open again");
    MapShape after = session.Shape();
    Check(after.SameLayer(before), "the tile layer changed in a save and reopen");
    std::reverse(after.types.begin(), after.types.end());
    Check(after.types == before.types, "the sprites changed in a save and reopen");
    session.PaintEditor();
    return 0;
}
