// Loading WAV files into SoundX: the layouts the loader accepts, the files it
// refuses, hostile files, and Shorten.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/headless/control.h"
#include "sound/soundx.h"
#include "tests/sound/wav_bytes.h"
#include "tests/support/engine_fixture.h"

namespace {

using namespace wavtest;
using WavLoadTest = EngineTest;

// The sound's sample bytes.
std::vector<std::uint8_t> Samples(const SoundX& sound) {
    if (sound.GetData() == nullptr) return {};
    return std::vector<std::uint8_t>(sound.GetData(), sound.GetData() + sound.GetLength());
}

// Bytes of a file from offset on, n of them.
std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t offset,
                                std::size_t n) {
    return std::vector<std::uint8_t>(bytes.begin() + offset, bytes.begin() + offset + n);
}

TEST_F(WavLoadTest, PlainFilesLoadWithTheirFormatAndSamples) {
    SoundX mono;
    ASSERT_TRUE(mono.Load(Fixture("mono8_11025.wav").c_str()));
    EXPECT_EQ(mono.GetRate(), 11025);
    EXPECT_EQ(mono.GetBits(), 8);
    EXPECT_EQ(mono.GetChannels(), 1);
    EXPECT_EQ(mono.GetFrames(), 11025);
    EXPECT_EQ(mono.GetLength(), 11025);
    EXPECT_FLOAT_EQ(mono.GetDuration(), 1.0f);
    EXPECT_EQ(Samples(mono), Slice(ReadBytes("mono8_11025.wav"), 44, 11025));
    EXPECT_EQ(mono.GetSlot(), -1);
    EXPECT_TRUE(mono.NeedsUpload());

    // The data chunk ends exactly at the end of the file.
    SoundX stereo;
    ASSERT_TRUE(stereo.Load(Fixture("stereo16_22050.wav").c_str()));
    EXPECT_EQ(stereo.GetBits(), 16);
    EXPECT_EQ(stereo.GetChannels(), 2);
    EXPECT_EQ(stereo.GetFrames(), 1000);
    EXPECT_EQ(stereo.GetLength(), 4000);
    EXPECT_FLOAT_EQ(stereo.GetDuration(), 1000.0f / 22050.0f);
    EXPECT_EQ(Samples(stereo), Slice(ReadBytes("stereo16_22050.wav"), 44, 4000));
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(WavLoadTest, ChunksBeforeTheDataAreWalkedInStepsOfFour) {
    // An 18-byte format chunk: its two extra bytes are skipped.
    SoundX extra;
    ASSERT_TRUE(extra.Load(Fixture("fmt18_8bit.wav").c_str()));
    EXPECT_EQ(extra.GetFrames(), 100);
    EXPECT_EQ(Samples(extra), Slice(ReadBytes("fmt18_8bit.wav"), 46, 100));

    // A list chunk of 16 bytes keeps the data tag on the four-byte walk.
    SoundX aligned;
    ASSERT_TRUE(aligned.Load(Fixture("list16_8bit.wav").c_str()));
    EXPECT_EQ(aligned.GetFrames(), 100);
    EXPECT_EQ(Samples(aligned), Slice(ReadBytes("list16_8bit.wav"), 68, 100));

    // One of 14 bytes puts it off the walk: the file loads with no samples.
    SoundX missed;
    ASSERT_TRUE(missed.Load(Fixture("list14_8bit.wav").c_str()));
    EXPECT_EQ(missed.GetData(), nullptr);
    EXPECT_EQ(missed.GetFrames(), 0);
    EXPECT_EQ(missed.GetRate(), 11025);

    // A fact chunk is read past; a second data chunk replaces the first.
    WriteBytes("two.wav", Wav({}, Chunk("fact", {4, 0, 0, 0}) + Chunk("data", Ramp(8)) +
                                      Chunk("data", Ramp(4, 50))));
    SoundX two;
    ASSERT_TRUE(two.Load("two.wav"));
    EXPECT_EQ(Samples(two), Ramp(4, 50));
}

TEST_F(WavLoadTest, OtherEncodingsAreRefusedQuietlyAndKeepTheSound) {
    SoundX sound;
    ASSERT_TRUE(sound.Load(Fixture("mono8_11025.wav").c_str()));
    sound.SetSlot(0);
    sound.SetChanged(0);
    EXPECT_FALSE(sound.Load(Fixture("float_11025.wav").c_str()));
    EXPECT_EQ(sound.GetBits(), 8);
    EXPECT_EQ(sound.GetRate(), 11025);
    EXPECT_EQ(sound.GetFrames(), 11025);
    EXPECT_FALSE(sound.NeedsUpload());
    EXPECT_TRUE(headless::MessageBoxes().empty());
    EXPECT_EQ(ReadDebugLog(), "");
}

TEST_F(WavLoadTest, FormatsNoSoundCanHaveAreRefusedWithALogLine) {
    struct Case {
        const char* name;
        FormatChunk format;
        const char* reason;
    };
    FormatChunk noChannels;
    noChannels.channels = 0;
    FormatChunk fourBits;
    fourBits.bits = 4;
    FormatChunk noRate;
    noRate.rate = 0;
    FormatChunk shortChunk;
    shortChunk.size = 14;
    const Case cases[] = {
        {"zero.wav", noChannels, "no channels"},
        {"four.wav", fourBits, "fewer than 8 bits per sample"},
        {"still.wav", noRate, "no samples per second"},
        {"short.wav", shortChunk, "format chunk shorter than 16 bytes"},
    };
    SoundX sound;
    ASSERT_TRUE(sound.Load(Fixture("stereo16_22050.wav").c_str()));
    const std::uint8_t* samples = sound.GetData();
    for (const Case& c : cases) {
        WriteBytes(c.name, Wav(c.format, Chunk("data", Ramp(64))));
        EXPECT_FALSE(sound.Load(c.name)) << c.name;
        EXPECT_NE(ReadDebugLog().find(std::string("SoundX::Load: WAV format not supported (") +
                                      c.reason + "): " + c.name + "\n"),
                  std::string::npos)
            << ReadDebugLog();
        // Nothing was allocated or changed.
        EXPECT_EQ(sound.GetData(), samples);
        EXPECT_EQ(sound.GetChannels(), 2);
        EXPECT_EQ(sound.GetBits(), 16);
        EXPECT_EQ(sound.GetRate(), 22050);
        EXPECT_EQ(sound.GetFrames(), 1000);
    }
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(WavLoadTest, HostileSizesNeverReachPastTheFile) {
    // A data size far past the end: only the 10 bytes the file holds.
    WriteBytes("huge.wav", Wav({}, Chunk("data", 0xFFFFFFF0u, Ramp(10))));
    SoundX huge;
    ASSERT_TRUE(huge.Load("huge.wav"));
    EXPECT_EQ(huge.GetLength(), 10);
    EXPECT_EQ(huge.GetFrames(), 10);
    EXPECT_EQ(Samples(huge), Ramp(10));

    // 16-bit stereo cut inside its seventh frame: six whole frames, the two bytes
    // of the partial one are not kept.
    FormatChunk stereo;
    stereo.channels = 2;
    stereo.bits = 16;
    WriteBytes("cut.wav", Wav(stereo, Chunk("data", 4000, Ramp(26))));
    SoundX cut;
    ASSERT_TRUE(cut.Load("cut.wav"));
    EXPECT_EQ(cut.GetFrames(), 6);
    EXPECT_EQ(cut.GetLength(), 26);
    std::vector<std::uint8_t> expected = Ramp(24);
    expected.resize(26, 0);
    EXPECT_EQ(Samples(cut), expected);

    // A chunk size that is not whole frames: the last transfer would cross the
    // allocation and is dropped.
    WriteBytes("odd.wav", Wav(stereo, Chunk("data", Ramp(10)) + Ramp(2, 200)));
    SoundX odd;
    ASSERT_TRUE(odd.Load("odd.wav"));
    EXPECT_EQ(odd.GetFrames(), 2);
    expected = Ramp(8);
    expected.resize(10, 0);
    EXPECT_EQ(Samples(odd), expected);

    // A format chunk claiming 4 GB skips to the end: nothing to load.
    FormatChunk endless;
    endless.size = 0xFFFFFFFFu;
    WriteBytes("endless.wav", Wav(endless, Chunk("data", Ramp(16))));
    SoundX none;
    ASSERT_TRUE(none.Load("endless.wav"));
    EXPECT_EQ(none.GetData(), nullptr);

    // 24-bit samples are sized but not read; the walk goes on through them.
    FormatChunk wide;
    wide.bits = 24;
    WriteBytes("wide.wav", Wav(wide, Chunk("data", Ramp(12))));
    SoundX deep;
    ASSERT_TRUE(deep.Load("wide.wav"));
    EXPECT_EQ(deep.GetFrames(), 4);
    EXPECT_EQ(Samples(deep), std::vector<std::uint8_t>(12, 0));

    // Cut short right after the format chunk's size: there is no PCM format tag.
    std::vector<std::uint8_t> header = Wav({}, {});
    header.resize(20);
    WriteBytes("stub.wav", header);
    SoundX stub;
    EXPECT_FALSE(stub.Load("stub.wav"));
}

TEST_F(WavLoadTest, ShortenKeepsTheFirstPartAndMarksTheSoundChanged) {
    SoundX sound;
    ASSERT_TRUE(sound.Load(Fixture("mono8_11025.wav").c_str()));
    const std::vector<std::uint8_t> before = Samples(sound);
    sound.SetSlot(0);
    sound.SetChanged(0);
    ASSERT_FALSE(sound.NeedsUpload());

    sound.Shorten(2.0f);
    EXPECT_EQ(sound.GetFrames(), 11025);
    EXPECT_FALSE(sound.NeedsUpload());

    sound.Shorten(0.5f);
    EXPECT_EQ(sound.GetFrames(), 5512);
    EXPECT_EQ(sound.GetLength(), 5512);
    EXPECT_FLOAT_EQ(sound.GetDuration(), 0.5f);
    EXPECT_EQ(Samples(sound), Slice(before, 0, 5512));
    EXPECT_TRUE(sound.NeedsUpload());

    SoundX empty;
    empty.Shorten(0.1f);
    EXPECT_EQ(empty.GetData(), nullptr);
    EXPECT_EQ(empty.GetFrames(), 0);
}

TEST_F(WavLoadTest, MissingFileShowsItsNameAndEndsTheProcess) {
    headless::EchoMessageBoxes(true);
    SoundX sound;
    EXPECT_EXIT(
        sound.Load("missing.wav"), ::testing::ExitedWithCode(255),
        "\\[Corvane Error\\] \\.WAV File Not Found: missing\\.wav\n\nMake sure paths and "
        "names of WAV files are correct\\. If you started the game outside of Visual C\\+\\+,"
        " make sure the executable is in the correct location to find sounds\\.");
}

TEST_F(WavLoadTest, MalformedHeadersEndTheProcessWithTheFormatMessage) {
    headless::EchoMessageBoxes(true);
    const char* message =
        "\\[Corvane Error\\] \\.WAV Format Invalid: \n\nInvalid WAV Format\\. Not all types of "
        "WAV files are supported\\. Try saving your WAV file with a different program, or with "
        "'extra wav information' turned off\\.";
    std::vector<std::uint8_t> good = Wav({}, Chunk("data", Ramp(4)));
    for (std::size_t at : {0u, 8u, 12u}) {
        std::vector<std::uint8_t> bad = good;
        bad[at] = 'X';
        WriteBytes("bad.wav", bad);
        SoundX sound;
        EXPECT_EXIT(sound.Load("bad.wav"), ::testing::ExitedWithCode(255), message) << at;
    }
    WriteBytes("empty.wav", {});
    SoundX sound;
    EXPECT_EXIT(sound.Load("empty.wav"), ::testing::ExitedWithCode(255), message);
}

}  // namespace
