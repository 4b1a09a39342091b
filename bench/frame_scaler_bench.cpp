// The SDL backend's frame scaler enlarging an 800 x 500 frame 1, 2 and 3 times
// into an XRGB8888 surface (what X11 gives at depth 24), beside memcpy of the
// bytes it writes and its plain reference loop, in the same run.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "platform/sdl/sdl_frame_scaler.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 500;

// A frame of random pixels and a surface that holds it enlarged factor times.
struct Scene {
    std::vector<std::uint16_t> frame;
    std::vector<std::uint32_t> surface;
    int factor;

    explicit Scene(int scale)
        : frame(static_cast<std::size_t>(kWidth) * kHeight),
          surface(frame.size() * scale * scale),
          factor(scale) {
        std::mt19937 random(1);
        for (std::uint16_t& pixel : frame) pixel = static_cast<std::uint16_t>(random());
    }
    sdl::Frame565 Frame() const { return {frame.data(), kWidth, kHeight, kWidth * 2}; }
    sdl::SurfacePixels Surface() {
        return {surface.data(), kWidth * factor, kHeight * factor, kWidth * factor * 4,
                SDL_PIXELFORMAT_RGB888};
    }
    std::int64_t BytesWritten() const {
        return static_cast<std::int64_t>(surface.size() * sizeof(std::uint32_t));
    }
};

template <bool (*kScale)(const sdl::Frame565&, int, const sdl::SurfacePixels&, int, int)>
void BM_Scale(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!kScale(scene.Frame(), scene.factor, scene.Surface(), 0, 0)) {
            state.SkipWithError("the scaler refused the frame");
            return;
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * scene.BytesWritten());
}

// The bound: one memcpy of as many bytes as the scaler writes.
void BM_MemcpyWritten(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    const std::vector<std::uint32_t> source(scene.surface.size(), 0x00FF8040u);
    for (auto _ : state) {
        std::memcpy(scene.surface.data(), source.data(), source.size() * sizeof(std::uint32_t));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * scene.BytesWritten());
}

}  // namespace

BENCHMARK(BM_MemcpyWritten)->Arg(1)->Arg(2)->Arg(3);
BENCHMARK_TEMPLATE(BM_Scale, sdl::ScaleFrame)->Name("BM_ScaleFrame")->Arg(1)->Arg(2)->Arg(3);
BENCHMARK_TEMPLATE(BM_Scale, sdl::ScaleFrameReference)
    ->Name("BM_ScaleFrameReference")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3);

BENCHMARK_MAIN();
