// editor_bench.cpp -- the map view's paint of its visible area, far into a large map against a
// small one, and showing a window's surface on screen against a memcpy of the same bytes.
// Needs an X display (run under xvfb-run).
#include "Motor/jtdecorat.h"
#include "Motor/jtkernel.h"
#include "Motor/jtmanager.h"
#include "Motor/jtrender.h"
#include "platform/gdi.h"
#include "platform/wx/window_surface.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <cstring>
#include <vector>

namespace {

const int kViewW = 1024, kViewH = 768;

// The view's paint as the editor does it: tiles, sprites, the overlay of blocked cells.
void PaintView(benchmark::State& state, int tiles, bool farCorner)
{
    JTKernel* kernel = new JTKernel(nullptr);
    kernel->NewMap(tiles, tiles);
    JTDecorat* map = JTDecorat::GetDecorat();
    for (int t = 0; t < 256; t += 2)
        map->SetWalkable(t, 0);
    for (int c = 0; c < tiles; c++)
        for (int r = 0; r < tiles; r++)
            map->SetTile(c, r, BYTE((c + r) % 156));
    Surface surface(kViewW, kViewH);
    const int px = tiles * 16;
    CPoint scroll = farCorner ? CPoint(px - kViewW, px - kViewH) : CPoint(0, 0);
    for (auto _ : state) {
        CDC dc;
        dc.AttachSurface(&surface, surface.Bounds());
        dc.SetViewportOrg(-scroll.x, -scroll.y);
        JTRender::GetRender()->UpdateView(&dc);
        map->Draw(&dc);
        JTManager::GetManager()->BuildRenderList();
        JTRender::GetRender()->DrawSprites(&dc);
        map->DrawCollisions(&dc);
        benchmark::DoNotOptimize(surface.Row(0));
    }
    delete kernel;
    JTModul::ClearSlot(MODUL_KERNEL);
}

void BM_ViewPaint_Map64(benchmark::State& state) { PaintView(state, 64, false); }
void BM_ViewPaint_Map4096_FarCorner(benchmark::State& state) { PaintView(state, 4096, true); }
BENCHMARK(BM_ViewPaint_Map64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ViewPaint_Map4096_FarCorner)->Unit(benchmark::kMicrosecond);

// Presenting the whole 1024 x 768 surface on a real window, and memcpy of the same bytes.
void BM_Present1024x768(benchmark::State& state)
{
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "bench");
    frame->SetClientSize(kViewW, kViewH);
    frame->Show();
    wxTheApp->Yield();
    Surface surface(kViewW, kViewH, RGB(10, 200, 30));
    for (auto _ : state) {
        wxClientDC dc(frame);
        WindowSurface::Present(surface, wxRect(0, 0, kViewW, kViewH), dc);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kViewW * kViewH * 4);
    frame->Destroy();
}
BENCHMARK(BM_Present1024x768)->Unit(benchmark::kMicrosecond);

void BM_Memcpy1024x768(benchmark::State& state)
{
    std::vector<DWORD> src(kViewW * kViewH, 1), dst(kViewW * kViewH);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(DWORD));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kViewW * kViewH * 4);
}
BENCHMARK(BM_Memcpy1024x768)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    wxEntryCleanup();
    return 0;
}
