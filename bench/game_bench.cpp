// The game's frame on the headless display at 800 x 500: run (move, tiled
// grass, placed objects, alien) plus presentation, beside one memcpy of a
// whole 800 x 500 16-bit frame measured in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

#include "game/game.h"
#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tools/corvane-replay/game_reset.h"
#include "tools/corvane-replay/replay.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 500;
constexpr std::size_t kFrameBytes = static_cast<std::size_t>(kWidth) * kHeight * 2;

using Clock = std::chrono::steady_clock;

// The game reads Images\ from the working folder: the build copies it beside
// this program.
bool StartGame() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) std::filesystem::current_path(self.parent_path(), error);
    replay::ResetProgram(replay::ResetGame);
    headless::RecordCalls(false);
    static char instance;
    Corvane.SetInstance(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWNORMAL);
    initialize();
    return Corvane.GetStatus() == INIT_OK && background.width > 0;
}

// Seconds per memcpy of one whole frame, between two buffers of the frame's size.
double MemcpySeconds() {
    static std::vector<std::uint8_t> source(kFrameBytes, 0x5A), target(kFrameBytes);
    constexpr int kCopies = 400;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kCopies; ++i) {
        std::memcpy(target.data(), source.data(), kFrameBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / kCopies;
}

// One benchmark run of frames; walking holds the right arrow, so the grass and
// the wall scroll under the alien and the walk cycle steps.
void RunFrames(benchmark::State& state, bool walking) {
    if (!StartGame()) {
        state.SkipWithError("the game did not start (are the pictures beside the program?)");
        return;
    }
    if (walking) Corvane.KeyDown(39);
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        benchmark::DoNotOptimize(run());
        benchmark::ClobberMemory();
    }
    const double frameSeconds =
        std::chrono::duration<double>(Clock::now() - start).count() / state.iterations();
    const double memcpySeconds = MemcpySeconds();
    Corvane.CleanUp();
    if (headless::PresentCount() < state.iterations()) state.SkipWithError("frames not presented");

    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // How many whole-frame memcpys one game frame costs.
    state.counters["x_memcpy"] = frameSeconds / memcpySeconds;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFrameBytes));
}

void BM_GameFrameStanding(benchmark::State& state) {
    RunFrames(state, false);
}
void BM_GameFrameWalking(benchmark::State& state) {
    RunFrames(state, true);
}

// The bound on its own: one memcpy of a whole frame per iteration.
void BM_FrameMemcpy(benchmark::State& state) {
    std::vector<std::uint8_t> source(kFrameBytes, 0x5A), target(kFrameBytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kFrameBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFrameBytes));
}

BENCHMARK(BM_FrameMemcpy);
BENCHMARK(BM_GameFrameStanding);
BENCHMARK(BM_GameFrameWalking);

}  // namespace

BENCHMARK_MAIN();
