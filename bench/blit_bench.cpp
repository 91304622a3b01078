// blit_bench.cpp -- tile and masked sprite blits over a 640 x 480 surface, against memcpy of as many bytes.
#include "platform/gdi.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
constexpr std::size_t kScreenBytes = std::size_t(kScreenW) * kScreenH * sizeof(DWORD);

// A memory DC over a bitmap of the given size, filled with a pattern.
struct Board
{
    CBitmap bitmap;
    CDC dc;
    Board(int w, int h, UINT bits = 32)
    {
        bitmap.CreateBitmap(w, h, 1, bits, nullptr);
        dc.CreateCompatibleDC(nullptr);
        dc.SelectObject(&bitmap);
        Surface* s = bitmap.GetSurface();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                s->SetPixel(x, y, bits == 1 ? ((x ^ y) & 4 ? 0xFFFFFF : 0) : RGB(x, y, x ^ y));
    }
};

void BM_MemcpyScreen(benchmark::State& state)
{
    std::vector<DWORD> from(kScreenBytes / sizeof(DWORD), 0x123456), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kScreenBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kScreenBytes));
}

// A frame of the tile map: 40 x 30 tiles of 16 x 16 from a 192 x 208 tile set.
void BM_TileBlitScreen(benchmark::State& state)
{
    Board tiles(192, 208);
    Board screen(kScreenW, kScreenH);
    for (auto _ : state) {
        for (int row = 0; row < kScreenH / 16; ++row) {
            for (int col = 0; col < kScreenW / 16; ++col) {
                int t = (row * 7 + col) % 156;
                screen.dc.BitBlt(col * 16, row * 16, 16, 16, &tiles.dc, (t * 16) % 192,
                                 (t * 16) / 192 * 16, SRCCOPY);
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kScreenBytes));
}

// 20 x 15 sprites of 32 x 32 with their masks, as sprites are drawn (sheet and mask cells).
void BM_MaskBlitScreen(benchmark::State& state)
{
    Board sheet(256, 32);
    Board maskBoard(256, 32, 1);
    Board screen(kScreenW, kScreenH);
    for (auto _ : state) {
        for (int row = 0; row < kScreenH / 32; ++row) {
            for (int col = 0; col < kScreenW / 32; ++col) {
                int frame = (row + col) % 8;
                screen.dc.MaskBlt(col * 32, row * 32, 32, 32, &sheet.dc, frame * 32, 0,
                                  maskBoard.bitmap, frame * 32, 0, 0xCCEE0086);
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kScreenBytes));
}

} // namespace

BENCHMARK(BM_MemcpyScreen);
BENCHMARK(BM_TileBlitScreen);
BENCHMARK(BM_MaskBlitScreen);
BENCHMARK_MAIN();
