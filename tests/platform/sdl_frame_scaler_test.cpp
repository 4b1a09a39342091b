// The frame scaler: its fast loops give the bytes of its plain loop on random
// frames (sizes, pitches, factors, positions, formats) inside guard bands, its
// colours are those SDL shows for an RGB565 texture, and it refuses what does
// not fit. CORVANE_SCALER_SEED=<seed> replays one case.
#include "platform/sdl/sdl_frame_scaler.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// Bytes before and after a surface's memory that nothing may write.
constexpr int kGuardBytes = 64;

// A surface's memory inside guard bands, filled with noise.
struct GuardedSurface {
    std::vector<std::uint8_t> bytes;
    sdl::SurfacePixels pixels;

    GuardedSurface(int width, int height, int pitchBytes, std::uint32_t format,
                   std::mt19937& random)
        : bytes(static_cast<std::size_t>(pitchBytes) * height + 2 * kGuardBytes) {
        for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
        pixels = {bytes.data() + kGuardBytes, width, height, pitchBytes, format};
    }
};

// Where two byte strings first differ, or -1 where they are equal.
long FirstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(std::min(a.size(), b.size()));
}

struct Case {
    std::uint32_t format = 0;
    int factor = 1;
    int x = 0;
    int y = 0;
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    int surfacePitch = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    int framePitchWords = 0;

    std::string Describe(unsigned seed) const {
        return "seed " + std::to_string(seed) + ": " + std::to_string(frameWidth) + " x " +
               std::to_string(frameHeight) + " (pitch " + std::to_string(framePitchWords) +
               " words) x" + std::to_string(factor) + " at (" + std::to_string(x) + ", " +
               std::to_string(y) + ") of " + SDL_GetPixelFormatName(format) + " " +
               std::to_string(surfaceWidth) + " x " + std::to_string(surfaceHeight) + " (pitch " +
               std::to_string(surfacePitch) + ")";
    }
};

Case RandomCase(std::mt19937& random) {
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const std::uint32_t formats[] = {SDL_PIXELFORMAT_RGB888, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_PIXELFORMAT_RGB565};
    Case c;
    c.format = formats[pick(0, 2)];
    c.factor = pick(1, sdl::kLargestScale);
    c.frameWidth = pick(1, 70);
    c.frameHeight = pick(1, 6);
    c.framePitchWords = c.frameWidth + pick(0, 9);
    c.surfaceWidth = c.frameWidth * c.factor + pick(0, 9);
    c.surfaceHeight = c.frameHeight * c.factor + pick(0, 3);
    const int bytes = c.format == SDL_PIXELFORMAT_RGB565 ? 2 : 4;
    c.surfacePitch = (c.surfaceWidth + pick(0, 5)) * bytes;
    c.x = pick(0, c.surfaceWidth - c.frameWidth * c.factor);
    c.y = pick(0, c.surfaceHeight - c.frameHeight * c.factor);
    return c;
}

TEST(FrameScalerTest, RandomFramesMatchTheReference) {
    const char* only = std::getenv("CORVANE_SCALER_SEED");
    const int cases = only != nullptr ? 1 : 600;
    for (int i = 0; i < cases; ++i) {
        const unsigned seed = only != nullptr ? static_cast<unsigned>(std::stoul(only)) : 1000u + i;
        std::mt19937 random(seed);
        const Case c = RandomCase(random);
        std::vector<std::uint16_t> words(static_cast<std::size_t>(c.framePitchWords) *
                                         c.frameHeight);
        for (std::uint16_t& word : words) word = static_cast<std::uint16_t>(random());
        const sdl::Frame565 frame = {words.data(), c.frameWidth, c.frameHeight,
                                     c.framePitchWords * 2};

        std::mt19937 noise(seed);
        GuardedSurface fast(c.surfaceWidth, c.surfaceHeight, c.surfacePitch, c.format, noise);
        noise.seed(seed);
        GuardedSurface reference(c.surfaceWidth, c.surfaceHeight, c.surfacePitch, c.format, noise);
        const std::vector<std::uint8_t> before = fast.bytes;
        ASSERT_TRUE(sdl::ScaleFrame(frame, c.factor, fast.pixels, c.x, c.y)) << c.Describe(seed);
        ASSERT_TRUE(sdl::ScaleFrameReference(frame, c.factor, reference.pixels, c.x, c.y));
        ASSERT_EQ(FirstDifference(fast.bytes, reference.bytes), -1) << c.Describe(seed);
        ASSERT_NE(FirstDifference(fast.bytes, before), -1) << c.Describe(seed);
        const auto guard = fast.bytes.size() - kGuardBytes;
        ASSERT_TRUE(std::equal(before.begin(), before.begin() + kGuardBytes, fast.bytes.begin()) &&
                    std::equal(before.begin() + guard, before.end(), fast.bytes.begin() + guard))
            << "written outside the surface: " << c.Describe(seed);
    }
}

// Every 5:6:5 value, in the colours SDL's renderer converts an RGB565 texture
// to (SDL_ConvertPixels, which its OpenGL renderer uploads), and unchanged
// into an RGB565 surface.
TEST(FrameScalerTest, ColoursAreThoseSdlShowsForAnRgb565Picture) {
    std::vector<std::uint16_t> every(65536);
    for (std::size_t i = 0; i < every.size(); ++i) every[i] = static_cast<std::uint16_t>(i);
    const sdl::Frame565 frame = {every.data(), 256, 256, 512};
    for (std::uint32_t format : {SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_RGB888}) {
        SCOPED_TRACE(SDL_GetPixelFormatName(format));
        std::vector<std::uint32_t> bySdl(65536);
        std::vector<std::uint32_t> ours(65536);
        ASSERT_EQ(SDL_ConvertPixels(256, 256, SDL_PIXELFORMAT_RGB565, every.data(), 512, format,
                                    bySdl.data(), 1024),
                  0);
        ASSERT_TRUE(sdl::ScaleFrame(frame, 1, {ours.data(), 256, 256, 1024, format}, 0, 0));
        int differing = 0;
        for (std::size_t i = 0; i < every.size(); ++i) {
            if (ours[i] != bySdl[i] && differing++ == 0)
                ADD_FAILURE() << "0x" << std::hex << i << " gives 0x" << ours[i] << ", SDL 0x"
                              << bySdl[i];
        }
        EXPECT_EQ(differing, 0);
    }
    std::vector<std::uint16_t> copied(65536);
    ASSERT_TRUE(
        sdl::ScaleFrame(frame, 1, {copied.data(), 256, 256, 512, SDL_PIXELFORMAT_RGB565}, 0, 0));
    EXPECT_EQ(copied, every);
}

TEST(FrameScalerTest, RefusesWhatDoesNotFitAndWritesNothing) {
    std::vector<std::uint16_t> words(4 * 3, 0x1234);
    const sdl::Frame565 frame = {words.data(), 4, 3, 8};
    std::vector<std::uint32_t> memory(16 * 10, 7);
    const sdl::SurfacePixels surface = {memory.data(), 16, 10, 64, SDL_PIXELFORMAT_RGB888};
    EXPECT_TRUE(sdl::CanScaleInto(SDL_PIXELFORMAT_RGB565));
    EXPECT_FALSE(sdl::CanScaleInto(SDL_PIXELFORMAT_RGB555));
    sdl::SurfacePixels other = surface;
    other.format = SDL_PIXELFORMAT_BGR888;
    EXPECT_FALSE(sdl::ScaleFrame(frame, 1, other, 0, 0));
    EXPECT_FALSE(sdl::ScaleFrame(frame, 0, surface, 0, 0));
    EXPECT_FALSE(sdl::ScaleFrame(frame, sdl::kLargestScale + 1, surface, 0, 0));
    EXPECT_FALSE(sdl::ScaleFrame(frame, 4, surface, 1, 0));  // 16 wide from x 1
    EXPECT_FALSE(sdl::ScaleFrame(frame, 3, surface, 0, 2));  // 9 high from y 2
    EXPECT_FALSE(sdl::ScaleFrame(frame, 1, surface, -1, 0));
    EXPECT_FALSE(sdl::ScaleFrameReference(frame, 4, surface, 1, 0));
    other = surface;
    other.pitchBytes = 60;  // shorter than a row
    EXPECT_FALSE(sdl::ScaleFrame(frame, 1, other, 0, 0));
    EXPECT_FALSE(sdl::ScaleFrameInto(nullptr, frame, 1, 0, 0));
    EXPECT_EQ(memory, std::vector<std::uint32_t>(16 * 10, 7));
    EXPECT_TRUE(sdl::ScaleFrame(frame, 3, surface, 4, 1));  // to the right and bottom edges
}

}  // namespace
