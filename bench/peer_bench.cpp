// The engine's draw routines beside memcpy of the same bytes and beside pixman,
// SDL2 and Allegro 4 doing the same work, all in one run:
// - sprite: a 90 x 90 sprite, about 60 % covered, drawn at 64 places of an
//   800 x 500 5:6:5 frame, by each routine (every implementation the processor
//   runs) and each library. Bound: memcpy of the sprite's rows into the
//   frame's rows, 90 copies of 180 bytes per sprite.
// - tiled: the frame covered with a 64 x 64 tile. Bound: one memcpy of a frame.
// - clear: the frame set to black. Bound: one memset of the frame.
// - game: one frame of the game on the headless display (run, which moves the
//   alien and draws the grass, the objects and the alien, then presents), when
//   the game is built. Bound: one memcpy of a frame.
// After the runs a table gives each figure as a ratio to its bound (bound time
// over the routine's time; 1 is as fast as the bound). Times are CPU time, the
// median when --benchmark_repetitions is given.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/peers.h"
#include "display/pixel_format.h"
#include "image/draw_implementation.h"
#include "image/draw_routines.h"
#include "image/image.h"
#include "shell/windx.h"

#ifdef CORVANE_BENCH_GAME
#include <filesystem>

#include "game/game.h"
#include "platform/headless/control.h"
#include "tools/corvane-replay/game_reset.h"
#include "tools/corvane-replay/replay.h"
#endif

namespace {

constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 500;
constexpr int kSprite = 90;
constexpr int kPlaces = 64;
constexpr int kTile = 64;

struct Place {
    int x, y;
};

// The frame, its places, the pictures as a file delivers them, and the
// engine's images prepared from them for each purpose.
struct Scene {
    std::vector<std::uint16_t> frame;
    std::vector<std::uint16_t> frameSource;  // what a whole-frame memcpy copies
    std::vector<Place> places;
    PeerScene peer;
    Image images[5];  // by purpose; [0] is the tile

    Scene()
        : frame(static_cast<std::size_t>(kFrameWidth) * kFrameHeight),
          frameSource(frame.size(), 0x5A5A) {
        SetPixelFormat(0xF800, 0x07E0, 0x001F);
        std::mt19937 random(7);
        for (auto& word : frame) word = static_cast<std::uint16_t>(random());
        for (int i = 0; i < kPlaces; ++i) {
            places.push_back({static_cast<int>(random() % (kFrameWidth - kSprite + 1)),
                              static_cast<int>(random() % (kFrameHeight - kSprite + 1))});
        }
        MakePictures();
        for (std::int8_t purpose : {DRAW_PLAIN, DRAW_MASKED, DRAW_ALPHA, DRAW_ADDITIVE})
            MakeSprite(images[purpose], purpose);
        Image& tile = images[0];
        tile.Size(kTile, kTile, IMAGE_16BIT);
        tile.SetPurpose(DRAW_PLAIN);
        std::memcpy(tile.pixels, peer.tile.data(), peer.tile.size() * 2);
        Attach();
    }

    // The disc sprite and the patterned tile of bench_pictures.h.
    void MakePictures() {
        peer.frame = frame.data();
        peer.width = kFrameWidth;
        peer.height = kFrameHeight;
        peer.spriteSize = kSprite;
        DiscPicture(kSprite, peer.rgb, peer.alpha);
        peer.tileSize = kTile;
        peer.tile = TilePicture(kTile);
    }

    void MakeSprite(Image& sprite, std::int8_t purpose) {
        sprite.Size(kSprite, kSprite, IMAGE_32BIT | IMAGE_ALPHA);
        std::memcpy(sprite.pixels, peer.rgb.data(), peer.rgb.size());
        std::memcpy(sprite.alpha, peer.alpha.data(), peer.alpha.size());
        sprite.Prepare(purpose);
    }

    // The frame as the engine's locked back buffer, with its draw table.
    void Attach() {
        Corvane.backBuffer = frame.data();
        Corvane.width = kFrameWidth;
        Corvane.height = kFrameHeight;
        Corvane.pitch = kFrameWidth * 2;
        Corvane.SetClip(0, 0, kFrameWidth - 1, kFrameHeight - 1);
        Corvane.drawTable.DrawPixel = DrawPixel16;
        Corvane.drawTable.DrawPlain = DrawPlain16;
        Corvane.drawTable.DrawMasked = DrawMasked16;
        Corvane.drawTable.DrawAlpha = DrawAlpha16;
        Corvane.drawTable.DrawAdditive = DrawAdditive16;
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

// Sprite bound: the sprite's bytes copied row by row into the frame's rows,
// as a plain draw lays them out.
void MemcpyRows(benchmark::State& state) {
    Scene& scene = TheScene();
    std::vector<std::uint16_t> sprite(kSprite * kSprite, 0x1234);
    for (auto _ : state) {
        for (const Place& place : scene.places) {
            std::uint16_t* dst =
                &scene.frame[static_cast<std::size_t>(place.y) * kFrameWidth + place.x];
            for (int row = 0; row < kSprite; ++row)
                std::memcpy(dst + row * kFrameWidth, &sprite[row * kSprite], kSprite * 2);
        }
        benchmark::ClobberMemory();
    }
}

// The same bytes as one block per sprite: faster than any real sprite draw can
// be, shown for comparison only.
void MemcpyBlock(benchmark::State& state) {
    Scene& scene = TheScene();
    std::vector<std::uint16_t> sprite(kSprite * kSprite, 0x1234);
    for (auto _ : state) {
        for (const Place& place : scene.places) {
            std::memcpy(&scene.frame[static_cast<std::size_t>(place.y) * kFrameWidth + place.x],
                        sprite.data(), sprite.size() * 2);
        }
        benchmark::ClobberMemory();
    }
}

void MemcpyFrame(benchmark::State& state) {
    Scene& scene = TheScene();
    for (auto _ : state) {
        std::memcpy(scene.frame.data(), scene.frameSource.data(), scene.frame.size() * 2);
        benchmark::ClobberMemory();
    }
}

void MemsetFrame(benchmark::State& state) {
    Scene& scene = TheScene();
    for (auto _ : state) {
        std::memset(scene.frame.data(), 0, scene.frame.size() * 2);
        benchmark::ClobberMemory();
    }
}

using DrawRoutine = int (*)(int, int, Image*);

void CorvaneSprite(benchmark::State& state, DrawImplementation which, DrawRoutine draw,
                   std::int8_t purpose) {
    Scene& scene = TheScene();
    scene.Attach();
    SetDrawImplementation(which);
    Image& sprite = scene.images[purpose];
    for (auto _ : state) {
        for (const Place& place : scene.places)
            benchmark::DoNotOptimize(draw(place.x, place.y, &sprite));
        benchmark::ClobberMemory();
    }
    SetDrawImplementation(DrawImplementation::Best);
}

// The plain routine behind another pointer: DrawTiled then draws tile by tile.
int PlainTileByTile(int x, int y, Image* image) {
    return DrawPlain16(x, y, image);
}

void CorvaneTiled(benchmark::State& state, DrawImplementation which, bool tileByTile) {
    Scene& scene = TheScene();
    scene.Attach();
    if (tileByTile) Corvane.drawTable.DrawPlain = PlainTileByTile;
    SetDrawImplementation(which);
    int scroll = 0;
    for (auto _ : state) {
        Corvane.DrawTiled(scroll, scroll / 2, &scene.images[0]);
        benchmark::ClobberMemory();
        scroll = (scroll + 7) % 1000;
    }
    SetDrawImplementation(DrawImplementation::Best);
}

void CorvaneClear(benchmark::State& state, DrawImplementation which) {
    TheScene().Attach();
    SetDrawImplementation(which);
    for (auto _ : state) {
        Corvane.ClearScreen();
        benchmark::ClobberMemory();
    }
    SetDrawImplementation(DrawImplementation::Best);
}

void PeerSprite(benchmark::State& state, const Peer& peer, void (*draw)(int, int)) {
    Scene& scene = TheScene();
    if (!peer.start(scene.peer)) {
        state.SkipWithError("the library did not start");
        return;
    }
    for (auto _ : state) {
        for (const Place& place : scene.places) draw(place.x, place.y);
        benchmark::ClobberMemory();
    }
    peer.stop();
}

void PeerTiled(benchmark::State& state, const Peer& peer) {
    Scene& scene = TheScene();
    if (!peer.start(scene.peer)) {
        state.SkipWithError("the library did not start");
        return;
    }
    int scroll = 0;
    for (auto _ : state) {
        peer.tiled(scroll, scroll / 2);
        benchmark::ClobberMemory();
        scroll = (scroll + 7) % 1000;
    }
    peer.stop();
}

void PeerClear(benchmark::State& state, const Peer& peer) {
    Scene& scene = TheScene();
    if (!peer.start(scene.peer)) {
        state.SkipWithError("the library did not start");
        return;
    }
    for (auto _ : state) {
        peer.clear();
        benchmark::ClobberMemory();
    }
    peer.stop();
}

#ifdef CORVANE_BENCH_GAME
// The game started afresh on the headless display, walking right so that the
// grass and the wall scroll. It reads Images\ from the working folder: the build
// copies the pictures beside this program.
// presentOnly: one frame is drawn, then only presented again and again, which
// shows the presentation's share of a frame.
void GameFrame(benchmark::State& state, DrawImplementation which, bool presentOnly) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) std::filesystem::current_path(self.parent_path(), error);
    replay::ResetProgram(replay::ResetGame);
    static char instance;
    Corvane.SetInstance(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWNORMAL);
    initialize();
    if (Corvane.GetStatus() != INIT_OK || background.width <= 0) {
        state.SkipWithError("the game did not start (are the pictures beside the program?)");
        return;
    }
    SetDrawImplementation(which);
    Corvane.KeyDown(39);
    if (presentOnly) run();
    for (auto _ : state) {
        benchmark::DoNotOptimize(presentOnly ? Corvane.ViewUpdate() : run());
        benchmark::ClobberMemory();
    }
    const bool presented = headless::PresentCount() >= state.iterations();
    Corvane.CleanUp();
    replay::ResetProgram(replay::ResetGame);
    SetDrawImplementation(DrawImplementation::Best);
    if (!presented) state.SkipWithError("frames not presented");
}
#endif

const Peer* const kPeers[] = {&PixmanPeer(), &SdlPeer(), &AllegroPeer()};

struct Operation {
    const char* name;
    DrawRoutine draw;
    std::int8_t purpose;
    void (*Peer::*peerDraw)(int, int);
};

const Operation kOperations[] = {
    {"plain", DrawPlain16, DRAW_PLAIN, &Peer::plain},
    {"masked", DrawMasked16, DRAW_MASKED, &Peer::masked},
    {"alpha", DrawAlpha16, DRAW_ALPHA, &Peer::alpha},
    {"additive", DrawAdditive16, DRAW_ADDITIVE, &Peer::additive},
};

std::vector<DrawImplementation> Implementations() {
    std::vector<DrawImplementation> out;
    for (DrawImplementation which : DrawImplementations()) {
        if (DrawImplementationAvailable(which)) out.push_back(which);
    }
    return out;
}

std::string CorvaneName(DrawImplementation which) {
    return std::string("corvane ") + DrawImplementationName(which);
}

// Bounds in the order they are registered: a group's ratios are to its first.
std::vector<std::string>& RegisteredBounds() {
    static std::vector<std::string> bounds;
    return bounds;
}

void RegisterBound(const char* name, void (*measure)(benchmark::State&)) {
    RegisteredBounds().push_back(name);
    benchmark::RegisterBenchmark(name, measure);
}

void RegisterAll() {
    RegisterBound("sprite/bound/memcpy rows", MemcpyRows);
    RegisterBound("sprite/bound/memcpy block", MemcpyBlock);
    for (const Operation& op : kOperations) {
        for (DrawImplementation which : Implementations()) {
            benchmark::RegisterBenchmark(
                ("sprite/" + std::string(op.name) + "/" + CorvaneName(which)).c_str(),
                [which, op](benchmark::State& state) {
                    CorvaneSprite(state, which, op.draw, op.purpose);
                });
        }
        for (const Peer* peer : kPeers) {
            benchmark::RegisterBenchmark(
                ("sprite/" + std::string(op.name) + "/" + peer->name).c_str(),
                [peer, op](benchmark::State& state) {
                    PeerSprite(state, *peer, peer->*op.peerDraw);
                });
        }
    }
    RegisterBound("tiled/bound/memcpy frame", MemcpyFrame);
    for (DrawImplementation which : Implementations()) {
        benchmark::RegisterBenchmark(
            ("tiled/DrawTiled/" + CorvaneName(which)).c_str(),
            [which](benchmark::State& state) { CorvaneTiled(state, which, false); });
    }
    benchmark::RegisterBenchmark(
        "tiled/DrawTiled/corvane reference, tile by tile",
        [](benchmark::State& state) { CorvaneTiled(state, DrawImplementation::Reference, true); });
    for (const Peer* peer : kPeers) {
        benchmark::RegisterBenchmark(("tiled/DrawTiled/" + std::string(peer->name)).c_str(),
                                     [peer](benchmark::State& state) { PeerTiled(state, *peer); });
    }
    RegisterBound("clear/bound/memset frame", MemsetFrame);
    for (DrawImplementation which : Implementations()) {
        benchmark::RegisterBenchmark(
            ("clear/ClearScreen/" + CorvaneName(which)).c_str(),
            [which](benchmark::State& state) { CorvaneClear(state, which); });
    }
    for (const Peer* peer : kPeers) {
        benchmark::RegisterBenchmark(("clear/ClearScreen/" + std::string(peer->name)).c_str(),
                                     [peer](benchmark::State& state) { PeerClear(state, *peer); });
    }
#ifdef CORVANE_BENCH_GAME
    RegisterBound("game/bound/memcpy frame", MemcpyFrame);
    for (DrawImplementation which : Implementations()) {
        benchmark::RegisterBenchmark(
            ("game/run and present/" + CorvaneName(which)).c_str(),
            [which](benchmark::State& state) { GameFrame(state, which, false); });
    }
    benchmark::RegisterBenchmark("game/present only/headless", [](benchmark::State& state) {
        GameFrame(state, DrawImplementation::Best, true);
    });
#endif
}

// Prints the usual console lines, then the table of ratios to each group's
// bound (the first benchmark registered as "<group>/bound/...").
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const std::string name = run.run_name.str();
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !medians_.count(name))) {
                if (median) medians_[name] = true;
                if (!times_.count(name)) order_.push_back(name);
                times_[name] = run.GetAdjustedCPUTime();
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-44s %14s %10s\n", "benchmark", "ns per run", "to bound");
        // With random interleaving a routine may run before its group's bound, so the
        // bounds are all found before any ratio is printed, and the rows go by name.
        std::map<std::string, double> bounds;
        for (const std::string& bound : RegisteredBounds()) {
            const auto measured = times_.find(bound);
            if (measured != times_.end()) bounds.emplace(GroupOf(bound), measured->second);
        }
        std::vector<std::string> names = order_;
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const auto found = bounds.find(GroupOf(name));
            const double bound = found != bounds.end() ? found->second : 0.0;
            std::printf("%-44s %14.0f %10.3f\n", name.c_str(), times_[name],
                        bound > 0 ? bound / times_[name] : 0.0);
        }
    }

private:
    static std::string GroupOf(const std::string& name) { return name.substr(0, name.find('/')); }

    std::vector<std::string> order_;
    std::map<std::string, double> times_;
    std::map<std::string, bool> medians_;
};

void PrintSetting() {
    std::printf("draw implementations:");
    for (DrawImplementation which : Implementations())
        std::printf(" %s", DrawImplementationName(which));
    SetDrawImplementation(DrawImplementation::Best);
    std::printf("; best: %s\n", DrawImplementationName(ActiveDrawImplementation()));
#if defined(__x86_64__) && defined(__GNUC__)
    std::printf("processor features:");
    __builtin_cpu_init();
    if (__builtin_cpu_supports("sse2")) std::printf(" sse2");
    if (__builtin_cpu_supports("sse4.1")) std::printf(" sse4.1");
    if (__builtin_cpu_supports("avx2")) std::printf(" avx2");
    if (__builtin_cpu_supports("avx512f")) std::printf(" avx512f");
    if (__builtin_cpu_supports("avx512bw")) std::printf(" avx512bw");
    if (__builtin_cpu_supports("avx512vl")) std::printf(" avx512vl");
    std::printf("\n");
#endif
    for (const Peer* peer : kPeers) std::printf("%s: %s\n", peer->name, peer->how);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    PrintSetting();
    RegisterAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
