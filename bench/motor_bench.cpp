// motor_bench.cpp -- a game frame, a tick and a map's save and load, each against its physical
// reference measured in the same run (memcpy of the frame's pixels, raw file write and read).
// Targets: frame/memcpy <= 2.5 with 200 sprites; Tick/1000 <= 0.6 ms, Tick/5400 <= 6 ms.
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/player.h"
#include "platform/archive.h"
#include "platform/file.h"
#include "platform/gdi.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
constexpr std::size_t kScreenBytes = std::size_t(kScreenW) * kScreenH * sizeof(DWORD);
constexpr int kMapTiles = 4096;
const char kMapPath[] = "/tmp/motor_bench_map.tvr";
const char kRawPath[] = "/tmp/motor_bench_raw.bin";

// The engine for one benchmark; the kernel leaves slot 0 to its owner.
struct Engine
{
    Engine() { kernel = new JTKernel(nullptr); }
    ~Engine()
    {
        delete kernel;
        JTModul::ClearSlot(MODUL_KERNEL);
    }
    JTKernel* kernel;
};

// A 32 x 32 masked sprite drawn from a test sheet of four frames.
class Sprite : public JTSprite
{
public:
    Sprite(int x, int y, int frame) : JTSprite(SPRITE_GALLINA)
    {
        m_nX = x;
        m_nY = y;
        m_nW = 32;
        m_nH = 32;
        m_nBitmapId = 9001;
        m_nMaskId = 9002;
        SetFrame(frame);
    }
};

void MakeTileset()
{
    CBitmap* pTiles = JTDecorat::GetTileBitmap();
    pTiles->CreateBitmap(192, 208, 1, 32, nullptr);
    Surface* s = pTiles->GetSurface();
    for (int y = 0; y < 208; y++)
        for (int x = 0; x < 192; x++)
            s->SetPixel(x, y, RGB(x, y, x ^ y));
}

void MakeSheets()
{
    JTRender* pRender = JTRender::GetRender();
    pRender->GetBitmap(9001)->CreateBitmap(128, 32, 1, 32, nullptr);
    pRender->GetBitmap(9002)->CreateBitmap(128, 32, 1, 1, nullptr);
    Surface* sheet = pRender->GetBitmap(9001)->GetSurface();
    Surface* mask = pRender->GetBitmap(9002)->GetSurface();
    for (int y = 0; y < 32; y++)
    {
        for (int x = 0; x < 128; x++)
        {
            bool outside = (x % 32 - 16) * (x % 32 - 16) + (y - 16) * (y - 16) > 200;
            sheet->SetPixel(x, y, outside ? 0 : RGB(255, x, y));
            mask->SetPixel(x, y, outside ? 0xFFFFFF : 0);
        }
    }
}

// What the game window paints after each tick (tiles, masked sprites in view, the HUD) against a
// memcpy of as many pixels, alternated in one loop and both writing the screen, so that both meet
// the same cache state. 200 sprites for the target; 0 shows what the tiles and the HUD cost.
void BM_GameFrame(benchmark::State& state)
{
    Engine engine;
    engine.kernel->NewMap(100, 100);
    MakeTileset();
    MakeSheets();
    JTDecorat* pDecorat = JTDecorat::GetDecorat();
    for (int r = 0; r < 100; r++)
        for (int c = 0; c < 100; c++)
            pDecorat->SetTile(c, r, BYTE((r * 7 + c) % 156));
    JTManager* pManager = JTManager::GetManager();
    std::mt19937 random(1);
    for (int i = 0; i < state.range(0); i++)
        pManager->Add(new Sprite(600 + int(random() % 600), 600 + int(random() % 440), i % 4));
    JTPlayer* hero = new JTPlayer;
    hero->SetPos(900, 820);
    pManager->Add(hero);
    pManager->BuildRenderList();
    JTRender* pRender = JTRender::GetRender();
    std::list<JTGrafics*> renderList = pRender->GetRenderList();

    CBitmap screen;
    screen.CreateBitmap(kScreenW, kScreenH, 1, 32, nullptr);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&screen);
    std::vector<DWORD> picture(kScreenBytes / sizeof(DWORD), 0x123456);
    DWORD* pixels = screen.GetSurface()->Row(0);
    using Clock = std::chrono::steady_clock;
    Clock::duration frameTime{}, copyTime{};
    for (auto _ : state)
    {
        pRender->SetRenderList(renderList); // the tick's work, which Render empties
        Clock::time_point t0 = Clock::now();
        std::memcpy(pixels, picture.data(), kScreenBytes);
        benchmark::ClobberMemory();
        Clock::time_point t1 = Clock::now();
        pRender->Render(&dc);
        benchmark::ClobberMemory();
        Clock::time_point t2 = Clock::now();
        copyTime += t1 - t0;
        frameTime += t2 - t1;
    }
    double frameUs = std::chrono::duration<double, std::micro>(frameTime).count();
    double copyUs = std::chrono::duration<double, std::micro>(copyTime).count();
    double n = double(state.iterations());
    state.counters["frame_us"] = frameUs / n;
    state.counters["memcpy_us"] = copyUs / n;
    state.counters["frame/memcpy"] = copyUs > 0 ? frameUs / copyUs : 0;
}
BENCHMARK(BM_GameFrame)->Arg(0)->Arg(200);

// One world step over hens and dogs spread over a 256 x 256 map (4096 pixels a side), with the
// hero in the middle; the hens walk, the dogs stand. 5,400 sprites is what a 64 KB map file holds.
void BM_Tick(benchmark::State& state)
{
    Engine engine;
    engine.kernel->NewMap(256, 256);
    JTDecorat::GetDecorat()->SetWalkable(255, 0); // the hens turn back at the map's edges
    JTManager* pManager = JTManager::GetManager();
    std::mt19937 random(2);
    for (int i = 0; i < state.range(0) - 1; i++)
    {
        JTSprite* s = engine.kernel->CreateSprite(i % 3 == 0 ? SPRITE_GOS : SPRITE_GALLINA);
        s->SetPos(int(random() % 4064), int(random() % 4064));
        pManager->Add(s);
    }
    JTSprite* hero = engine.kernel->CreateSprite(SPRITE_PLAYER);
    hero->SetPos(2048, 2048);
    pManager->Add(hero);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.kernel->Tick());
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Tick)->Arg(100)->Arg(1000)->Arg(5400)->Unit(benchmark::kMicrosecond);

constexpr std::size_t MapBytes()
{
    return 8 + std::size_t(kMapTiles) * kMapTiles + 256 + 4;
}

// Save and load of a 4096 x 4096 map through the archive, as the document does.
void BM_MapSaveLoad(benchmark::State& state)
{
    Engine engine;
    engine.kernel->NewMap(kMapTiles, kMapTiles);
    for (auto _ : state)
    {
        {
            CFile file(kMapPath, CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store);
            engine.kernel->Serialize(ar);
            ar.Close();
            file.Close();
        }
        {
            CFile file(kMapPath, CFile::modeRead);
            CArchive ar(&file, CArchive::load);
            engine.kernel->Serialize(ar);
            ar.Close();
            file.Close();
        }
    }
    std::remove(kMapPath);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(2 * MapBytes()));
}
BENCHMARK(BM_MapSaveLoad)->Unit(benchmark::kMillisecond);

// The same byte count written and read back in one block each.
void BM_RawWriteRead(benchmark::State& state)
{
    std::vector<BYTE> bytes(MapBytes(), 1), back(MapBytes());
    for (auto _ : state)
    {
        {
            CFile file(kRawPath, CFile::modeCreate | CFile::modeWrite);
            file.Write(bytes.data(), UINT(bytes.size()));
            file.Close();
        }
        {
            CFile file(kRawPath, CFile::modeRead);
            benchmark::DoNotOptimize(file.Read(back.data(), UINT(back.size())));
            file.Close();
        }
    }
    std::remove(kRawPath);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(2 * MapBytes()));
}
BENCHMARK(BM_RawWriteRead)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
