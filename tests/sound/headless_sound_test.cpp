// The headless DirectSound buffers and their mixer.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/headless/control.h"
#include "tests/platform/dsound_rules_check.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/sound_bytes.h"

namespace {

using headless::Op;

using dsoundcheck::Describe;
using testsupport::Pcm;
using testsupport::Words;

class HeadlessSoundTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        ASSERT_EQ(DirectSoundCreate(nullptr, &device_, nullptr), DS_OK);
    }

    HRESULT Create(DSBUFFERDESC* desc, IDirectSoundBuffer** buffer) {
        return device_->CreateSoundBuffer(desc, buffer, nullptr);
    }

    // A buffer of the format holding the bytes, not playing.
    IDirectSoundBuffer* Buffer(WAVEFORMATEX format, const std::vector<std::uint8_t>& bytes) {
        DSBUFFERDESC desc = Describe(&format, static_cast<DWORD>(bytes.size()));
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(Create(&desc, &buffer), DS_OK);
        Fill(buffer, bytes);
        return buffer;
    }

    void Fill(IDirectSoundBuffer* buffer, const std::vector<std::uint8_t>& bytes) {
        LPVOID region = nullptr;
        DWORD length = 0;
        ASSERT_EQ(buffer->Lock(0, static_cast<DWORD>(bytes.size()), &region, &length, nullptr,
                               nullptr, 0),
                  DS_OK);
        ASSERT_EQ(length, bytes.size());
        std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(region));
        ASSERT_EQ(buffer->Unlock(region, length, nullptr, 0), DS_OK);
    }

    IDirectSound* device_ = nullptr;
};

TEST_F(HeadlessSoundTest, CreationChecksTheDescriptionAsDirectSoundDoes) {
    dsoundcheck::CheckRefusedDescriptions(device_);
    EXPECT_TRUE(headless::SoundBuffers().empty());

    WAVEFORMATEX format = Pcm(11025, 8, 1);
    DSBUFFERDESC desc = Describe(&format, 5);
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(Create(&desc, &buffer), DS_OK);
    const headless::SoundBufferInfo info = headless::DescribeSoundBuffer(buffer);
    EXPECT_EQ(info.id, 1);
    // A new 8-bit buffer holds silence, which is 128 for unsigned samples.
    EXPECT_EQ(info.data, std::vector<std::uint8_t>(5, 0x80));
    EXPECT_FALSE(info.playing);
    const auto calls = headless::CallsOf(Op::CreateSoundBuffer);
    ASSERT_EQ(calls.size(), 11u);
    const std::vector<long long> args = {
        sizeof(DSBUFFERDESC), 0xE0, 5, 1, 1, 11025, 11025, 1, 8, 0, 1};
    EXPECT_EQ(calls.back().args, args);
}

TEST_F(HeadlessSoundTest, BuffersAnswerAsDirectSoundAnswers) {
    dsoundcheck::CheckCreationRules(device_);
    dsoundcheck::CheckBufferRules(device_);
}

TEST_F(HeadlessSoundTest, LockHandsOutTheBufferAndWrapsPastItsEnd) {
    IDirectSoundBuffer* buffer = Buffer(Pcm(11025, 8, 1), {1, 2, 3, 4, 5, 6, 7, 8});
    // Requests DirectSound refuses: past the end, too long, a wrap with no
    // second region; unlocking memory that is not the buffer's.
    dsoundcheck::CheckLockRing(buffer);
    LPVOID first = nullptr;
    LPVOID second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    ASSERT_EQ(buffer->Lock(6, 4, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(static_cast<std::uint8_t*>(first)[0], 7);
    EXPECT_EQ(static_cast<std::uint8_t*>(second)[0], 1);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);

    // A queued failure answers in place of the lock and hands out no region.
    headless::QueueResults(Op::SoundLock, {DSERR_BUFFERLOST, 0});
    EXPECT_EQ(buffer->Lock(0, 8, &first, &firstBytes, &second, &secondBytes, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(firstBytes, 0u);
    EXPECT_EQ(buffer->Lock(0, 8, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(headless::CallsOf(Op::SoundLock).back().args, (std::vector<long long>{1, 0, 8, 0}));
}

TEST_F(HeadlessSoundTest, ControlsNeedTheirFlagAndStayInRange) {
    WAVEFORMATEX format = Pcm(11025, 16, 1);
    DSBUFFERDESC desc = Describe(&format, 8, 0);
    IDirectSoundBuffer* plain = nullptr;
    ASSERT_EQ(Create(&desc, &plain), DS_OK);
    EXPECT_EQ(plain->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetPan(100), DSERR_CONTROLUNAVAIL);

    IDirectSoundBuffer* buffer = Buffer(format, Words({1, 2, 3, 4}));
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(-3499), DS_OK);
    EXPECT_EQ(buffer->SetPan(-2500), DS_OK);
    EXPECT_EQ(buffer->SetCurrentPosition(8), DSERR_INVALIDPARAM);
    // The play cursor lands on a frame boundary.
    EXPECT_EQ(buffer->SetCurrentPosition(5), DS_OK);
    EXPECT_EQ(buffer->Play(0, 1, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);

    headless::SoundBufferInfo info = headless::DescribeSoundBuffer(buffer);
    EXPECT_EQ(info.volume, -3499);
    EXPECT_EQ(info.pan, -2500);
    EXPECT_EQ(info.position, 4u);
    EXPECT_TRUE(info.playing);
    DWORD status = 0;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DWORD{DSBSTATUS_PLAYING});
    DSBCAPS caps = {};
    EXPECT_EQ(buffer->GetCaps(&caps), DSERR_INVALIDPARAM);
    caps.dwSize = sizeof(DSBCAPS);
    EXPECT_EQ(buffer->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, 8u);
    EXPECT_EQ(caps.dwFlags, 0xE0u);

    // The last Release frees the buffer.
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(headless::SoundBuffers(), std::vector<IDirectSoundBuffer*>{plain});
}

TEST_F(HeadlessSoundTest, MixerAppliesVolumeAndPanInDecibels) {
    IDirectSoundBuffer* buffer =
        Buffer(Pcm(22050, 16, 2), Words({20000, 20000, -1000, -1000, 32767, -32768}));
    // Playing alone moves nothing: only a render advances the buffer.
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(headless::DescribeSoundBuffer(buffer).position, 0u);

    // Volume -6 dB on both sides, pan -20 dB more on the right.
    buffer->SetVolume(-600);
    buffer->SetPan(-2000);
    EXPECT_EQ(headless::MixSound(3, 22050),
              (std::vector<std::int16_t>{10024, 1002, -501, -50, 16422, -1642}));
    // Ran out: a one-shot buffer stops and rewinds.
    headless::SoundBufferInfo info = headless::DescribeSoundBuffer(buffer);
    EXPECT_FALSE(info.playing);
    EXPECT_EQ(info.position, 0u);
    EXPECT_EQ(headless::MixSound(2, 22050), std::vector<std::int16_t>(4, 0));

    // A positive pan attenuates the left side instead.
    buffer->SetPan(2000);
    buffer->Play(0, 0, 0);
    EXPECT_EQ(headless::MixSound(1, 22050), (std::vector<std::int16_t>{1002, 10024}));
    buffer->SetVolume(DSBVOLUME_MIN);
    EXPECT_EQ(headless::MixSound(1, 22050), (std::vector<std::int16_t>{0, 0}));
}

TEST_F(HeadlessSoundTest, MixerSumsBuffersWidensBytesAndStepsByRate) {
    // 8-bit mono: unsigned around 128, the same sample on both sides.
    IDirectSoundBuffer* bytes = Buffer(Pcm(11025, 8, 1), {0x80, 0xFF, 0x00, 0xC0});
    IDirectSoundBuffer* words = Buffer(Pcm(22050, 16, 1), Words({30000, 30000, 1000, 200, -5, 7}));
    bytes->Play(0, 0, DSBPLAY_LOOPING);
    words->Play(0, 0, 0);
    // At 22050 per second the 11025 buffer gives each of its frames twice; the
    // sums clamp to the 16-bit range.
    const std::vector<std::int16_t> mixed = headless::MixSound(6, 22050);
    EXPECT_EQ(mixed, (std::vector<std::int16_t>{30000, 30000, 30000, 30000, 32767, 32767, 32712,
                                                32712, -32768, -32768, -32761, -32761}));
    EXPECT_FALSE(headless::DescribeSoundBuffer(words).playing);
    // The looping buffer wraps to its start and goes on.
    EXPECT_EQ(headless::MixSound(4, 22050),
              (std::vector<std::int16_t>{16384, 16384, 16384, 16384, 0, 0, 0, 0}));
    EXPECT_TRUE(headless::DescribeSoundBuffer(bytes).playing);
    // At half its rate a buffer skips every other frame.
    bytes->Stop();
    words->SetCurrentPosition(0);
    words->Play(0, 0, 0);
    EXPECT_EQ(headless::MixSound(2, 11025), (std::vector<std::int16_t>{30000, 30000, 1000, 1000}));
}

}  // namespace
