// Playing SoundX sounds through the engine's DirectSound buffers.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/control.h"
#include "shell/windx.h"
#include "sound/soundx.h"
#include "tests/sound/wav_bytes.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/sound_bytes.h"

namespace {

using headless::Op;
using namespace wavtest;

using testsupport::Words;

class PlaybackTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_EQ(DirectSoundCreate(nullptr, &Corvane.directSound, nullptr), DS_OK);
        Corvane.status = INIT_OK;
    }

    // Writes a WAV file of the format and sample bytes and loads it.
    static void Make(SoundX& sound, const std::string& name, const FormatChunk& format,
                     const std::vector<std::uint8_t>& samples) {
        WriteBytes(name, Wav(format, Chunk("data", samples)));
        ASSERT_TRUE(sound.Load(name.c_str()));
    }

    static FormatChunk Format(int rate, int bits, int channels) {
        FormatChunk format;
        format.rate = static_cast<std::uint32_t>(rate);
        format.bits = static_cast<std::uint16_t>(bits);
        format.channels = static_cast<std::uint16_t>(channels);
        return format;
    }

    // The titles of the error reports shown so far, oldest first.
    static std::vector<std::string> Reports() {
        std::vector<std::string> titles;
        for (const auto& box : headless::MessageBoxes()) {
            const std::size_t start = box.text.find("\n\n") + 2;
            titles.push_back(box.text.substr(start, box.text.find("\n\n", start) - start));
        }
        return titles;
    }

    static headless::SoundBufferInfo BufferOf(const SoundX& sound) {
        return headless::DescribeSoundBuffer(Corvane.soundBuffers[sound.GetSlot()]);
    }
};

const char kMatchTitle[] = "Error: SOUNDMATCH_FAILED (Loaded sounds do not match.";
const char kLengthTitle[] =
    "Error: SOUNDBUFLEN_FAILED (Direct Sound buffer and SoundX buffers do not match.";

TEST_F(PlaybackTest, FirstSoundGetsABufferOfItsFormatHoldingItsSamples) {
    SoundX sound;
    ASSERT_TRUE(sound.Load(Fixture("stereo16_22050.wav").c_str()));
    Corvane.PlaySound(&sound, 0);

    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(sound.GetSlot(), 0);
    EXPECT_FALSE(sound.NeedsUpload());
    EXPECT_EQ(Corvane.soundCount, 1);
    EXPECT_EQ(Corvane.soundRate, 22050);
    EXPECT_EQ(Corvane.soundBits, 16);
    EXPECT_EQ(Corvane.soundChannels, 2);
    EXPECT_EQ(Corvane.sounds[0], &sound);

    // The description: its own structure size, the three controls, 1000 frames
    // of four bytes, PCM in the sound's format.
    const auto created = headless::CallsOf(Op::CreateSoundBuffer);
    ASSERT_EQ(created.size(), 1u);
    const std::vector<long long> description = {
        sizeof(DSBUFFERDESC), 0xE0, 4000, 1, 2, 22050, 22050 * 4, 4, 16, 0, 1};
    EXPECT_EQ(created[0].args, description);
    EXPECT_EQ(headless::CallsOf(Op::GetCaps)[0].args[1], static_cast<long long>(sizeof(DSBCAPS)));

    const headless::SoundBufferInfo buffer = BufferOf(sound);
    EXPECT_EQ(buffer.data, std::vector<std::uint8_t>(sound.GetData(), sound.GetData() + 4000));
    EXPECT_TRUE(buffer.playing);
    EXPECT_FALSE(buffer.looping);
    EXPECT_EQ(headless::CallsOf(Op::SoundUnlock).size(), 1u);
}

TEST_F(PlaybackTest, ASilentGamesSoundsPlayNothingAndReportNothing) {
    Corvane.soundWanted = false;
    Corvane.directSound = nullptr;
    SoundX sound;
    ASSERT_TRUE(sound.Load(Fixture("stereo16_22050.wav").c_str()));
    Corvane.PlaySound(&sound, 0);
    Corvane.PlaySoundEx(&sound, 1, 0.5f, 0.5f);
    Corvane.RewindSound(&sound);
    Corvane.StopSound(&sound);
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(Corvane.GetStatus(), INIT_OK);
    EXPECT_EQ(headless::CallCount(Op::CreateSoundBuffer), 0);
    EXPECT_EQ(sound.GetSlot(), 0) << "registered, without a buffer";
}

TEST_F(PlaybackTest, ALaterSoundOfAnotherFormatIsReportedAndFittedToTheFirst) {
    SoundX bytes;
    SoundX words;
    Make(bytes, "bytes.wav", Format(11025, 8, 1), Ramp(100));
    Make(words, "words.wav", Format(11025, 16, 1), Ramp(200));
    Corvane.PlaySound(&bytes, 0);
    Corvane.PlaySound(&words, 0);

    // One mismatch (bits), then the length check of the 8-bit buffer.
    EXPECT_EQ(Reports(), (std::vector<std::string>{kMatchTitle, kLengthTitle}));
    EXPECT_EQ(Corvane.GetStatus(), SOUNDBUFLEN_FAILED);
    const headless::SoundBufferInfo buffer = BufferOf(words);
    EXPECT_EQ(buffer.format.wBitsPerSample, 8);
    // 100 frames of one byte: the copy stops at the buffer's end.
    EXPECT_EQ(buffer.data, Ramp(100));

    // Channels and rate differ too: one report for each of the three.
    headless::ClearMessageBoxes();
    SoundX other;
    Make(other, "other.wav", Format(22050, 16, 2), Ramp(400));
    Corvane.AddSound(&other);
    EXPECT_EQ(Reports(), (std::vector<std::string>{kMatchTitle, kMatchTitle, kMatchTitle}));
}

TEST_F(PlaybackTest, TheSoundTablesGrowByTenKeepingWhatTheyHold) {
    std::vector<SoundX> sounds(11);
    std::vector<int> capacities;
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        Make(sounds[i], "s" + std::to_string(i) + ".wav", Format(11025, 8, 1),
             Ramp(4 + i, static_cast<std::uint8_t>(i)));
        EXPECT_EQ(Corvane.AddSound(&sounds[i]), static_cast<int>(i));
        capacities.push_back(Corvane.soundCapacity);
    }
    EXPECT_EQ(capacities, (std::vector<int>{10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 20}));
    const std::vector<IDirectSoundBuffer*> created = headless::SoundBuffers();
    ASSERT_EQ(created.size(), 11u);
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        EXPECT_EQ(Corvane.sounds[i], &sounds[i]);
        EXPECT_EQ(Corvane.soundBuffers[i], created[i]);
        EXPECT_EQ(headless::DescribeSoundBuffer(created[i]).data.size(), 4 + i);
    }
}

TEST_F(PlaybackTest, ALostBufferIsRestoredTenTimesBeforeTheLossIsReported) {
    SoundX sound;
    Make(sound, "lost.wav", Format(11025, 8, 1), Ramp(40));
    headless::QueueResults(Op::SoundLock, std::vector<long>(10, DSERR_BUFFERLOST));
    Corvane.PlaySound(&sound, 0);
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(headless::CallCount(Op::SoundRestore), 10);
    EXPECT_EQ(headless::CallCount(Op::SoundLock), 11);
    EXPECT_EQ(BufferOf(sound).data, Ramp(40));

    SoundX again;
    Make(again, "again.wav", Format(11025, 8, 1), Ramp(40, 9));
    headless::QueueResults(Op::SoundLock, std::vector<long>(11, DSERR_BUFFERLOST));
    Corvane.PlaySound(&again, 0);
    EXPECT_EQ(Reports(),
              std::vector<std::string>{"Error: SOUNDLOST_FAIL (Direct Sound buffer was lost."});
    EXPECT_EQ(Corvane.GetStatus(), SOUNDLOST_FAIL);
    EXPECT_EQ(headless::CallCount(Op::SoundRestore), 20);
    EXPECT_EQ(headless::CallCount(Op::SoundLock), 22);
    // Nothing was copied or unlocked; the next play tries again and succeeds.
    EXPECT_EQ(headless::CallCount(Op::SoundUnlock), 1);
    EXPECT_TRUE(again.NeedsUpload());
    Corvane.PlaySound(&again, 0);
    EXPECT_EQ(BufferOf(again).data, Ramp(40, 9));
    EXPECT_FALSE(again.NeedsUpload());
}

TEST_F(PlaybackTest, EachLockFailureHasItsStatus) {
    struct Case {
        long result;
        int status;
        const char* title;
    };
    const Case cases[] = {
        {DSERR_INVALIDCALL, SOUNDINVALID_FAIL,
         "Error: SOUNDINVALID_FAIL (Direct Sound Invalid Call."},
        {DSERR_INVALIDPARAM, SOUNDPARAM_FAIL,
         "Error: SOUNDPARAM_FAIL (Direct Sound Invalid Parameter."},
        {DSERR_PRIOLEVELNEEDED, SOUNDPRIORITY_FAIL,
         "Error: SOUNDPARAM_FAIL (Direct Sound needs Priority Level"},
        // Any other failure keeps the status; 19 has no report of its own.
        {E_FAIL, INIT_OK, "Error: UNREGISTERED"},
    };
    for (const Case& c : cases) {
        headless::ClearMessageBoxes();
        Corvane.status = INIT_OK;
        SoundX sound;
        Make(sound, "lock.wav", Format(11025, 8, 1), Ramp(8));
        headless::QueueResults(Op::SoundLock, {c.result});
        Corvane.PlaySound(&sound, 0);
        EXPECT_EQ(Corvane.GetStatus(), c.status);
        EXPECT_EQ(Reports(), std::vector<std::string>{c.title});
        EXPECT_EQ(headless::CallCount(Op::SoundRestore), 0);
    }
}

TEST_F(PlaybackTest, FailedCreationOrCapsAreReportedAndNothingIsTouched) {
    SoundX sound;
    Make(sound, "a.wav", Format(11025, 8, 1), Ramp(8));
    headless::FailCall(Op::CreateSoundBuffer, 1, DSERR_OUTOFMEMORY);
    Corvane.PlaySound(&sound, 0);
    Corvane.PlaySoundEx(&sound, 0, 1.0f, 0.0f);
    Corvane.RewindSound(&sound);
    Corvane.StopSound(&sound);
    EXPECT_EQ(Reports(), std::vector<std::string>{
                             "Error: SOUNDCREATE_FAILED (Unable to create Direct Sound buffer."});
    EXPECT_EQ(sound.GetSlot(), 0);
    EXPECT_EQ(Corvane.soundBuffers[0], nullptr);
    EXPECT_EQ(headless::CallCount(Op::GetCaps), 0);

    headless::ClearMessageBoxes();
    SoundX second;
    Make(second, "b.wav", Format(11025, 8, 1), Ramp(8));
    headless::FailCall(Op::GetCaps, 1, DSERR_GENERIC);
    Corvane.PlaySound(&second, 0);
    EXPECT_EQ(Reports(), std::vector<std::string>{
                             "Error: SOUNDCAPS_FAILED (Unable to get Sound Buffer Capabilities."});
    EXPECT_EQ(headless::CallCount(Op::SoundLock), 0);
    EXPECT_TRUE(second.NeedsUpload());
}

TEST_F(PlaybackTest, VolumeAndPanAreTruncatedHundredthsOfADecibel) {
    SoundX sound;
    Make(sound, "v.wav", Format(11025, 8, 1), Ramp(8));
    struct Case {
        float volume;
        float pan;
        long expectedVolume;
        long expectedPan;
    };
    const Case cases[] = {{0.5f, -0.25f, -2500, -2500},
                          {0.3f, 0.0f, -3499, 0},
                          {1.0f, 1.0f, 0, 10000},
                          {0.0f, -1.0f, -5000, -10000}};
    for (const Case& c : cases) {
        Corvane.PlaySoundEx(&sound, 0, c.volume, c.pan);
        EXPECT_EQ(headless::CallsOf(Op::SoundSetVolume).back().args[1], c.expectedVolume);
        EXPECT_EQ(headless::CallsOf(Op::SoundSetPan).back().args[1], c.expectedPan);
    }
    // They stay on the buffer for a plain play.
    Corvane.PlaySound(&sound, 0);
    EXPECT_EQ(BufferOf(sound).volume, -5000);
    EXPECT_EQ(BufferOf(sound).pan, -10000);
    EXPECT_EQ(headless::CallCount(Op::SoundSetVolume), 4);
}

TEST_F(PlaybackTest, RestartPlaysFromTheStartAndResumeGoesOn) {
    SoundX sound;
    Make(sound, "r.wav", Format(11025, 16, 1), Words({100, 200, 300, 400, 500, 600}));
    Corvane.PlaySound(&sound, 0);
    EXPECT_EQ(headless::MixSound(2, 11025), (std::vector<std::int16_t>{100, 100, 200, 200}));

    Corvane.PlaySound(&sound, 1);
    EXPECT_EQ(headless::MixSound(1, 11025), (std::vector<std::int16_t>{300, 300}));
    Corvane.StopSound(&sound);
    EXPECT_EQ(headless::MixSound(1, 11025), (std::vector<std::int16_t>{0, 0}));
    Corvane.PlaySound(&sound, 1);
    EXPECT_EQ(headless::MixSound(1, 11025), (std::vector<std::int16_t>{400, 400}));

    Corvane.PlaySound(&sound, 0);
    EXPECT_EQ(headless::MixSound(1, 11025), (std::vector<std::int16_t>{100, 100}));
    // Rewinding moves the position without starting or stopping.
    Corvane.RewindSound(&sound);
    EXPECT_TRUE(BufferOf(sound).playing);
    EXPECT_EQ(headless::MixSound(1, 11025), (std::vector<std::int16_t>{100, 100}));
}

TEST_F(PlaybackTest, MixedOutputFollowsVolumeAndPan) {
    SoundX sound;
    Make(sound, "m.wav", Format(22050, 16, 1), Words({20000, -1000}));
    // 0.88 gives -600 (-6 dB); pan -0.2 takes 20 dB more off the right side.
    Corvane.PlaySoundEx(&sound, 0, 0.88f, -0.2f);
    EXPECT_EQ(BufferOf(sound).volume, -600);
    EXPECT_EQ(headless::MixSound(3, 22050),
              (std::vector<std::int16_t>{10024, 1002, -501, -50, 0, 0}));
}

TEST_F(PlaybackTest, StopAndRewindRegisterOnlyWhenTheyMust) {
    SoundX sound;
    Make(sound, "s.wav", Format(11025, 8, 1), Ramp(8));
    Corvane.StopSound(&sound);
    EXPECT_EQ(sound.GetSlot(), -1);
    EXPECT_EQ(headless::CallCount(Op::CreateSoundBuffer), 0);
    EXPECT_EQ(headless::CallCount(Op::SoundStop), 0);

    // A rewind registers and uploads the sound but does not play it.
    Corvane.RewindSound(&sound);
    EXPECT_EQ(sound.GetSlot(), 0);
    EXPECT_FALSE(BufferOf(sound).playing);
    EXPECT_EQ(BufferOf(sound).data, Ramp(8));

    Corvane.PlaySound(&sound, 0);
    Corvane.StopSound(&sound);
    EXPECT_FALSE(BufferOf(sound).playing);
    EXPECT_EQ(headless::CallCount(Op::CreateSoundBuffer), 1);
}

TEST_F(PlaybackTest, AChangedSoundIsCopiedAgainIntoItsOldBuffer) {
    SoundX sound;
    ASSERT_TRUE(sound.Load(Fixture("mono8_11025.wav").c_str()));
    Corvane.PlaySound(&sound, 0);
    const std::vector<std::uint8_t> first = BufferOf(sound).data;

    // Loaded again, shorter: the length check fails, the new samples are copied
    // over the start of the old buffer.
    Make(sound, "loud.wav", Format(11025, 8, 1), std::vector<std::uint8_t>(5512, 0xF0));
    Corvane.PlaySound(&sound, 0);
    EXPECT_EQ(Reports(), std::vector<std::string>{kLengthTitle});
    const std::vector<std::uint8_t> now = BufferOf(sound).data;
    ASSERT_EQ(now.size(), 11025u);
    EXPECT_EQ(std::vector<std::uint8_t>(now.begin(), now.begin() + 5512),
              std::vector<std::uint8_t>(5512, 0xF0));
    EXPECT_EQ(std::vector<std::uint8_t>(now.begin() + 5512, now.end()),
              std::vector<std::uint8_t>(first.begin() + 5512, first.end()));
    EXPECT_EQ(headless::CallCount(Op::CreateSoundBuffer), 1);
}

}  // namespace
