// play_bench.cpp -- one frame of the game window as the user sees it: the tick, the paint of the
// 300 x 244 client area through its surface and the copy to the screen, with 200 sprites in view.
// Needs a display: xvfb-run -a -s "-screen 0 1280x1024x24" ./play_bench
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "Motor/jtsprite.h"
#include "platform/rand.h"
#include "platform/wx/window_surface.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/utils.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace {

const int kViewW = 300;
const int kViewH = 244;
const int kSprites = 200;
const double kTickSeconds = 0.060;
const std::size_t kViewBytes = std::size_t(kViewW) * kViewH * sizeof(DWORD);

wxFrame* g_pWindow = nullptr;
WindowSurface* g_pSurface = nullptr; // lives as long as the window it paints

// A map just larger than the view and walled in, so every sprite stays in view however long
// the benchmark runs: the hero and 199 sprites of the kinds that neither shoot nor talk.
struct Scene
{
    Scene()
    {
        JTKernel* pKernel = new JTKernel(nullptr);
        pKernel->NewMap(20, 16);
        JTDecorat::GetDecorat()->SetWalkable(255, 0);
        const int kinds[] = {SPRITE_GALLINA, SPRITE_GOS, SPRITE_MALOTE, SPRITE_POCIMA,
                             SPRITE_ESPASA};
        for (int i = 0; i < kSprites; i++) {
            JTSprite* pSprite = pKernel->CreateSprite(i == 0 ? SPRITE_PLAYER : kinds[i % 5]);
            pSprite->SetPos(8 + crt::rand() % 270, 8 + crt::rand() % 200);
            JTManager::GetManager()->Add(pSprite);
        }
    }
    ~Scene()
    {
        delete JTKernel::GetKernel();
        JTModul::ClearSlot(MODUL_KERNEL);
    }
};

// Real seconds per iteration as a share of the tick period, in percent.
void SharePerTick(benchmark::State& state, std::chrono::steady_clock::time_point start)
{
    std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    state.counters["pct_of_60ms"] = spent.count() / double(state.iterations()) / kTickSeconds * 100;
}

// The game window's timer handler: tick, then redraw at once through the window's surface.
void BM_PlayFrame(benchmark::State& state)
{
    Scene scene;
    int paints = 0;
    g_pSurface->SetPainter([&paints](CDC* pDC) {
        JTRender::GetRender()->Render(pDC);
        paints++;
    });
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        JTKernel::GetKernel()->Tick();
        g_pSurface->RedrawNow();
    }
    SharePerTick(state, start);
    state.counters["paints_per_frame"] = double(paints) / double(state.iterations());
    g_pSurface->SetPainter(nullptr);
}
BENCHMARK(BM_PlayFrame)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The last step alone: the surface's pixels to the window.
void BM_Present(benchmark::State& state)
{
    Surface pixels(kViewW, kViewH, RGB(10, 20, 30));
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        wxClientDC dc(g_pWindow);
        WindowSurface::Present(pixels, wxRect(0, 0, kViewW, kViewH), dc);
    }
    SharePerTick(state, start);
}
BENCHMARK(BM_Present)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The physical reference: copying the client area's bytes once.
void BM_MemcpyView(benchmark::State& state)
{
    std::vector<DWORD> from(kViewBytes / sizeof(DWORD), 0x123456), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kViewBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kViewBytes));
}
BENCHMARK(BM_MemcpyView);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 2;
    g_pWindow = new wxFrame(nullptr, wxID_ANY, "Play", wxPoint(0, 0));
    g_pWindow->SetClientSize(kViewW, kViewH);
    g_pSurface = new WindowSurface(g_pWindow, RGB(192, 192, 192));
    g_pWindow->Show();
    for (int i = 0; i < 20; i++) {
        wxTheApp->Yield();
        wxMilliSleep(10);
    }
    benchmark::RunSpecifiedBenchmarks();
    delete g_pWindow; // before its surface, which its handlers reach
    delete g_pSurface;
    wxEntryCleanup();
    return 0;
}
