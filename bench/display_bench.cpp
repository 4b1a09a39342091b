// Whole-frame operations on an 800 x 500 5:6:5 back buffer, each beside memcpy
// of the same bytes in the same run: the tiled background (64 x 64 DRAW_PLAIN
// tiles) and ClearScreen.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "image/image.h"
#include "platform/headless/control.h"
#include "shell/windx.h"

// The engine's entry point comes with CleanUp; this program has no game.
void initialize() {}
int run() {
    return 1;
}

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 500;

// Starts the engine windowed on a fresh headless machine and locks the back
// buffer. Each run ends with Finish, which releases the display as the frame
// loop does, so no pointer outlives the machine.
bool StartLocked() {
    headless::Reset();
    static char instance;
    Corvane.SetInstance(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWNORMAL);
    return Corvane.Initialize(0, kWidth, kHeight) && Corvane.LockSurface();
}

void Finish() {
    Corvane.UnlockSurface();
    Corvane.CleanUp();
}

std::int64_t FrameBytes() {
    return static_cast<std::int64_t>(Corvane.GetPitch()) * kHeight;
}

void BM_DrawTiled(benchmark::State& state) {
    if (!StartLocked()) {
        state.SkipWithError("start-up failed");
        return;
    }
    Image tile;
    tile.Create(64, 64, DRAW_PLAIN);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) tile.SetPixel(x, y, x / 2, y, (x + y) / 4);
    int scroll = 0;
    for (auto _ : state) {
        Corvane.DrawTiled(scroll, scroll / 2, &tile);
        benchmark::ClobberMemory();
        scroll = (scroll + 7) % 1000;
    }
    Finish();
    // The visible frame: 800 x 500 pixels of two bytes.
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 2);
}

void BM_ClearScreen(benchmark::State& state) {
    if (!StartLocked()) {
        state.SkipWithError("start-up failed");
        return;
    }
    for (auto _ : state) {
        Corvane.ClearScreen();
        benchmark::ClobberMemory();
    }
    Finish();
    state.SetBytesProcessed(state.iterations() * FrameBytes());
}

// The bound: one memcpy of a whole frame into the locked back buffer.
void BM_MemcpyFrame(benchmark::State& state) {
    if (!StartLocked()) {
        state.SkipWithError("start-up failed");
        return;
    }
    const std::int64_t bytes = FrameBytes();
    std::vector<std::uint8_t> source(static_cast<size_t>(bytes), 0x5A);
    for (auto _ : state) {
        std::memcpy(Corvane.GetBackBuffer(), source.data(), static_cast<size_t>(bytes));
        benchmark::ClobberMemory();
    }
    Finish();
    state.SetBytesProcessed(state.iterations() * bytes);
}

BENCHMARK(BM_DrawTiled);
BENCHMARK(BM_ClearScreen);
BENCHMARK(BM_MemcpyFrame);

}  // namespace

BENCHMARK_MAIN();
