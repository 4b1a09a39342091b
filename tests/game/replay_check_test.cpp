// What a replay check reports: a frame against its golden picture, and the
// mixed sound's checksum and WAV file.
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "pictures/png_io.h"
#include "sound/soundx.h"
#include "tests/support/engine_fixture.h"
#include "tools/common/frame_png.h"
#include "tools/common/golden.h"
#include "tools/corvane-replay/sound_record.h"

namespace {

using ReplayCheckTest = EngineTest;

headless::Frame RandomFrame(std::mt19937& random) {
    headless::Frame frame;
    frame.width = 37;
    frame.height = 23;
    frame.redMask = 0xF800;
    frame.greenMask = 0x07E0;
    frame.blueMask = 0x001F;
    for (int i = 0; i < frame.width * frame.height; ++i)
        frame.pixels.push_back(static_cast<std::uint16_t>(random()));
    return frame;
}

// A frame matches the picture made from it; with one pixel changed it does
// not, and the difference picture marks exactly that pixel.
TEST_F(ReplayCheckTest, GoldenComparisonFindsOneChangedPixelAndShowsIt) {
    std::mt19937 random(7);
    headless::Frame frame = RandomFrame(random);
    std::string error, message;
    ASSERT_TRUE(png_io::WriteFramePng("golden.png", frame, error)) << error;
    EXPECT_TRUE(png_io::MatchesGolden(frame, "golden.png", "out", "shot", message)) << message;
    EXPECT_FALSE(std::filesystem::exists("out/shot_actual.png"));

    const int changedX = 11, changedY = 17;
    frame.pixels[changedY * frame.width + changedX] ^= 0x0841;  // one step in every channel
    EXPECT_FALSE(png_io::MatchesGolden(frame, "golden.png", "out", "shot", message));
    EXPECT_EQ(message.rfind("1 pixels differ from golden.png", 0), 0u) << message;

    png_io::PngImage actual, diff;
    ASSERT_TRUE(png_io::ReadPng("out/shot_actual.png", actual, error)) << error;
    EXPECT_EQ(actual.pixels, png_io::FrameToRgb(frame));
    ASSERT_TRUE(png_io::ReadPng("out/shot_diff.png", diff, error)) << error;
    for (int y = 0; y < diff.height; ++y) {
        for (int x = 0; x < diff.width; ++x) {
            const std::uint8_t* p = &diff.pixels[3 * (y * diff.width + x)];
            const bool red = p[0] == 255 && p[1] == 0 && p[2] == 0;
            EXPECT_EQ(red, x == changedX && y == changedY) << x << ", " << y;
        }
    }
}

// The checksum is zip's CRC-32 of the samples' little-endian bytes, and the
// WAV file holds those bytes as a 44100 Hz 16-bit stereo sound the engine loads.
TEST_F(ReplayCheckTest, MixedSoundChecksumAndWavFileHoldTheSamples) {
    std::mt19937 random(11);
    std::vector<std::int16_t> samples(2 * 1234);
    for (std::int16_t& sample : samples) sample = static_cast<std::int16_t>(random());
    std::vector<std::uint8_t> bytes;
    for (std::int16_t sample : samples) {
        bytes.push_back(static_cast<std::uint8_t>(sample & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((sample >> 8) & 0xFF));
    }
    EXPECT_EQ(replay::SoundChecksum(samples),
              crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));

    std::string error;
    ASSERT_TRUE(replay::WriteStereoWav("mix.wav", samples, 44100, error)) << error;
    SoundX sound;
    ASSERT_TRUE(sound.Load("mix.wav"));
    EXPECT_EQ(sound.GetRate(), 44100);
    EXPECT_EQ(sound.GetBits(), 16);
    EXPECT_EQ(sound.GetChannels(), 2);
    EXPECT_EQ(sound.GetFrames(), 1234);
    ASSERT_EQ(sound.GetLength(), static_cast<std::int32_t>(bytes.size()));
    EXPECT_EQ(std::vector<std::uint8_t>(sound.GetData(), sound.GetData() + sound.GetLength()),
              bytes);
}

}  // namespace
