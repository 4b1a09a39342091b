// Throughput of the draw routines on a 90 x 90 sprite drawn at many visible
// places of an 800 x 500 5:6:5 frame, beside memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "display/pixel_format.h"
#include "image/draw_routines.h"
#include "image/image.h"
#include "shell/windx.h"

namespace {

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 500;
constexpr int kSprite = 90;
constexpr int kPlaces = 64;
constexpr double kSpritePixels = kSprite * kSprite;

struct Place {
    int x, y;
};

// The frame, the places to draw at (all wholly visible) and the display format.
struct Scene {
    std::vector<std::uint16_t> frame;
    std::vector<Place> places;

    Scene() : frame(static_cast<std::size_t>(kFrameWidth) * kFrameHeight) {
        SetPixelFormat(0xF800, 0x07E0, 0x001F);
        std::mt19937 random(7);
        for (auto& word : frame) word = static_cast<std::uint16_t>(random());
        for (int i = 0; i < kPlaces; ++i) {
            places.push_back({static_cast<int>(random() % (kFrameWidth - kSprite + 1)),
                              static_cast<int>(random() % (kFrameHeight - kSprite + 1))});
        }
        Corvane.backBuffer = frame.data();
        Corvane.width = kFrameWidth;
        Corvane.height = kFrameHeight;
        Corvane.clipLeft = 0;
        Corvane.clipTop = 0;
        Corvane.clipRight = kFrameWidth - 1;
        Corvane.clipBottom = kFrameHeight - 1;
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

// A shaded disc covering about 60 % of the square, transparent around it, as
// the file reader would deliver it; then prepared for the purpose.
void MakeSprite(Image& sprite, std::int8_t purpose) {
    sprite.Size(kSprite, kSprite, IMAGE_32BIT | IMAGE_ALPHA);
    const float centre = (kSprite - 1) / 2.0f;
    const float radius = 39.3f;
    for (int y = 0; y < kSprite; ++y) {
        for (int x = 0; x < kSprite; ++x) {
            const int i = y * kSprite + x;
            const float dx = x - centre, dy = y - centre;
            const bool inside = dx * dx + dy * dy <= radius * radius;
            sprite.pixels[i * 3 + 0] = static_cast<std::uint8_t>(x * 2 + 40);
            sprite.pixels[i * 3 + 1] = static_cast<std::uint8_t>(y * 2 + 40);
            sprite.pixels[i * 3 + 2] = static_cast<std::uint8_t>(200 - x - y / 2);
            sprite.alpha[i] = inside ? static_cast<std::uint8_t>(255 - (x + y) / 2) : 0;
        }
    }
    sprite.Prepare(purpose);
}

// Megapixels drawn, as a rate: the "Mpx" column reads in megapixels per second.
void SetRate(benchmark::State& state) {
    const double pixels = static_cast<double>(state.iterations()) * kPlaces * kSpritePixels;
    state.counters["Mpx"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<std::int64_t>(pixels * 2));
}

void RunRoutine(benchmark::State& state, int (*draw)(int, int, Image*), std::int8_t purpose) {
    Scene& scene = TheScene();
    Image sprite;
    MakeSprite(sprite, purpose);
    for (auto _ : state) {
        for (const Place& place : scene.places)
            benchmark::DoNotOptimize(draw(place.x, place.y, &sprite));
        benchmark::ClobberMemory();
    }
    SetRate(state);
}

void BM_DrawPlain16(benchmark::State& state) {
    RunRoutine(state, DrawPlain16, DRAW_PLAIN);
}
void BM_DrawMasked16(benchmark::State& state) {
    RunRoutine(state, DrawMasked16, DRAW_MASKED);
}
void BM_DrawAlpha16(benchmark::State& state) {
    RunRoutine(state, DrawAlpha16, DRAW_ALPHA);
}
void BM_DrawAdditive16(benchmark::State& state) {
    RunRoutine(state, DrawAdditive16, DRAW_ADDITIVE);
}

// The bound: the sprite's 90 x 90 x 2 bytes copied by memcpy at each place,
// as one block into the frame.
void BM_MemcpyBlock(benchmark::State& state) {
    Scene& scene = TheScene();
    std::vector<std::uint16_t> sprite(kSprite * kSprite, 0x1234);
    for (auto _ : state) {
        for (const Place& place : scene.places) {
            std::memcpy(&scene.frame[static_cast<std::size_t>(place.y) * kFrameWidth + place.x],
                        sprite.data(), sprite.size() * 2);
        }
        benchmark::ClobberMemory();
    }
    SetRate(state);
}

// The same bytes copied row by row into the frame's rows, as a plain draw lays
// them out.
void BM_MemcpyRows(benchmark::State& state) {
    Scene& scene = TheScene();
    std::vector<std::uint16_t> sprite(kSprite * kSprite, 0x1234);
    for (auto _ : state) {
        for (const Place& place : scene.places) {
            std::uint16_t* dst =
                &scene.frame[static_cast<std::size_t>(place.y) * kFrameWidth + place.x];
            for (int row = 0; row < kSprite; ++row) {
                std::memcpy(dst + row * kFrameWidth, &sprite[row * kSprite], kSprite * 2);
            }
        }
        benchmark::ClobberMemory();
    }
    SetRate(state);
}

}  // namespace

BENCHMARK(BM_MemcpyBlock);
BENCHMARK(BM_MemcpyRows);
BENCHMARK(BM_DrawPlain16);
BENCHMARK(BM_DrawMasked16);
BENCHMARK(BM_DrawAlpha16);
BENCHMARK(BM_DrawAdditive16);

BENCHMARK_MAIN();
