// The draw routines of every instruction set this build and processor run,
// beside memcpy or memset of the same bytes, on the scene of peer_bench: a
// 90 x 90 sprite (bench_pictures.h) drawn at 64 places of an 800 x 500 5:6:5
// frame by each routine, the frame covered with a 64 x 64 tile, and the frame
// cleared. A plain program, so that it builds wherever the engine does, the
// 32-bit Windows build included.
//   draw_bench [repetitions [seconds]]
// Each figure is the median of `repetitions` (5) runs of at least `seconds`
// (0.3) of this process's CPU time, the sets of an operation taking turns. The table gives
// nanoseconds per run, the bound's time over the routine's (1 is as fast as memcpy) and the
// speed-up over the reference set in the same run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_pictures.h"
#include "bench/cpu_time.h"
#include "display/pixel_format.h"
#include "image/draw_implementation.h"
#include "image/draw_routines.h"
#include "image/image.h"
#include "shell/windx.h"

namespace {

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 500;
constexpr int kSprite = 90;
constexpr int kPlaces = 64;
constexpr int kTile = 64;

struct Scene {
    std::vector<std::uint16_t> frame, frameSource, spriteRows;
    std::vector<std::pair<int, int>> places;
    Image sprites[5];  // by purpose; [0] is the tile

    Scene()
        : frame(static_cast<std::size_t>(kFrameWidth) * kFrameHeight),
          frameSource(frame.size(), 0x5A5A),
          spriteRows(kSprite * kSprite, 0x1234) {
        SetPixelFormat(0xF800, 0x07E0, 0x001F);
        std::mt19937 random(7);
        for (auto& word : frame) word = static_cast<std::uint16_t>(random());
        for (int i = 0; i < kPlaces; ++i) {
            const int x = static_cast<int>(random() % (kFrameWidth - kSprite + 1));
            places.emplace_back(x, static_cast<int>(random() % (kFrameHeight - kSprite + 1)));
        }
        std::vector<std::uint8_t> rgb, alpha;
        DiscPicture(kSprite, rgb, alpha);
        for (std::int8_t purpose : {DRAW_PLAIN, DRAW_MASKED, DRAW_ALPHA, DRAW_ADDITIVE}) {
            Image& sprite = sprites[purpose];
            sprite.Size(kSprite, kSprite, IMAGE_32BIT | IMAGE_ALPHA);
            std::memcpy(sprite.pixels, rgb.data(), rgb.size());
            std::memcpy(sprite.alpha, alpha.data(), alpha.size());
            sprite.Prepare(purpose);
        }
        const std::vector<std::uint16_t> tile = TilePicture(kTile);
        sprites[0].Size(kTile, kTile, IMAGE_16BIT).SetPurpose(DRAW_PLAIN);
        std::memcpy(sprites[0].pixels, tile.data(), tile.size() * 2);
        // The frame as the engine's locked back buffer, with its own draw table.
        Corvane.backBuffer = frame.data();
        Corvane.width = kFrameWidth;
        Corvane.height = kFrameHeight;
        Corvane.pitch = kFrameWidth * 2;
        Corvane.SetClip(0, 0, kFrameWidth - 1, kFrameHeight - 1);
        Corvane.drawTable.DrawPlain = DrawPlain16;
    }
};

Scene* scene = nullptr;

// The sprite bound: the sprite's rows copied into the frame's rows at each place.
void MemcpyRows() {
    for (const auto& [x, y] : scene->places) {
        std::uint16_t* dst = &scene->frame[static_cast<std::size_t>(y) * kFrameWidth + x];
        for (int row = 0; row < kSprite; ++row)
            std::memcpy(dst + row * kFrameWidth, &scene->spriteRows[row * kSprite], kSprite * 2);
    }
}

void MemcpyFrame() {
    std::memcpy(scene->frame.data(), scene->frameSource.data(), scene->frame.size() * 2);
}

void MemsetFrame() {
    std::memset(scene->frame.data(), 0, scene->frame.size() * 2);
}

int (*const kDraw[5])(int, int, Image*) = {nullptr, DrawPlain16, DrawMasked16, DrawAlpha16,
                                           DrawAdditive16};
const char* const kOperation[5] = {"tiled", "plain", "masked", "alpha", "additive"};

std::int8_t drawing = DRAW_PLAIN;
void DrawSprites() {
    for (const auto& [x, y] : scene->places) kDraw[drawing](x, y, &scene->sprites[drawing]);
}

int scroll = 0;
void DrawTiled() {
    Corvane.DrawTiled(scroll, scroll / 2, &scene->sprites[0]);
    scroll = (scroll + 7) % 1000;
}

void ClearScreen() {
    Corvane.ClearScreen();
}

struct Figure {
    std::string name;
    double nanoseconds;
    double bound;      // the bound's time, for the ratio
    double reference;  // the reference set's time, for the speed-up (0: none)
};

// One operation: its bound and every set this processor runs, taken in turns
// in each repetition, so that a machine that speeds up or slows down during
// the run does so for all of them.
void Measure(const char* operation, const char* boundName, void (*bound)(), void (*routine)(),
             int repetitions, double seconds, std::vector<Figure>& out) {
    std::vector<DrawImplementation> sets;
    for (DrawImplementation which : DrawImplementations())
        if (DrawImplementationAvailable(which)) sets.push_back(which);
    std::vector<std::vector<double>> times(sets.size() + 1);
    for (int run = 0; run < repetitions; ++run) {
        times[0].push_back(NanosecondsPerCall(bound, seconds));
        for (std::size_t i = 0; i < sets.size(); ++i) {
            SetDrawImplementation(sets[i]);
            routine();  // warms the caches and the branch predictors for this set
            times[i + 1].push_back(NanosecondsPerCall(routine, seconds));
        }
    }
    SetDrawImplementation(DrawImplementation::Best);
    const double boundTime = Median(times[0]);
    out.push_back({std::string(operation) + "/bound/" + boundName, boundTime, boundTime, 0});
    const double referenceTime = Median(times[1]);  // sets[0] is the reference
    for (std::size_t i = 0; i < sets.size(); ++i) {
        out.push_back({std::string(operation) + "/" + DrawImplementationName(sets[i]),
                       Median(times[i + 1]), boundTime, referenceTime});
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const double seconds = argc > 2 ? std::max(0.01, std::atof(argv[2])) : 0.3;
    Scene theScene;
    scene = &theScene;
    std::printf("CPU time (%s), median of %d runs of at least %.2f s each\n", CpuTimeSource(),
                repetitions, seconds);

    std::vector<Figure> figures;
    for (std::int8_t purpose : {DRAW_PLAIN, DRAW_MASKED, DRAW_ALPHA, DRAW_ADDITIVE}) {
        drawing = purpose;
        Measure(kOperation[purpose], "memcpy rows", MemcpyRows, DrawSprites, repetitions, seconds,
                figures);
    }
    Measure("tiled", "memcpy frame", MemcpyFrame, DrawTiled, repetitions, seconds, figures);
    Measure("clear", "memset frame", MemsetFrame, ClearScreen, repetitions, seconds, figures);

    std::printf("%-28s %12s %9s %13s\n", "figure", "ns per run", "to bound", "x reference");
    for (const Figure& f : figures) {
        std::printf("%-28s %12.0f %9.3f", f.name.c_str(), f.nanoseconds, f.bound / f.nanoseconds);
        if (f.reference > 0) std::printf(" %13.2f", f.reference / f.nanoseconds);
        std::printf("\n");
    }
    return 0;
}
