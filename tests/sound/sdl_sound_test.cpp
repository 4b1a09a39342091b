// DirectSound on the SDL backend, heard through SDL's disk audio driver: the
// device writes every mixed sample (16-bit stereo at 44100 per second) to a file.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/api/platform.h"
#include "tests/platform/dsound_rules_check.h"
#include "tests/support/sound_bytes.h"

namespace {

using testsupport::Pcm;

class SdlSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        output_ = std::string(info->name()) + ".raw";
        std::remove(output_.c_str());
    }

    void TearDown() override {
        if (device_ != nullptr) device_->Release();
    }

    // Opens the default device on the disk driver, writing to this test's file
    // many times faster than real time.
    void OpenDiskDevice() {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "2", 1);
        ASSERT_EQ(DirectSoundCreate(nullptr, &device_, nullptr), DS_OK);
        ASSERT_NE(device_, nullptr);
    }

    // A buffer of the format holding the samples, not playing.
    IDirectSoundBuffer* Buffer(WAVEFORMATEX format, const std::vector<std::int16_t>& samples) {
        DSBUFFERDESC desc = {};
        desc.dwSize = sizeof(DSBUFFERDESC);
        desc.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
        desc.dwBufferBytes = static_cast<DWORD>(samples.size() * 2);
        desc.lpwfxFormat = &format;
        IDirectSoundBuffer* buffer = nullptr;
        EXPECT_EQ(device_->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
        if (buffer == nullptr) return nullptr;
        LPVOID region = nullptr;
        DWORD bytes = 0;
        EXPECT_EQ(buffer->Lock(0, desc.dwBufferBytes, &region, &bytes, nullptr, nullptr, 0), DS_OK);
        std::copy(samples.begin(), samples.end(), static_cast<std::int16_t*>(region));
        EXPECT_EQ(buffer->Unlock(region, bytes, nullptr, 0), DS_OK);
        return buffer;
    }

    // Waits until the buffer has stopped by itself (at most ten seconds).
    static void WaitUntilStopped(IDirectSoundBuffer* buffer) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        DWORD status = DSBSTATUS_PLAYING;
        while ((status & DSBSTATUS_PLAYING) != 0 && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ASSERT_EQ(buffer->GetStatus(&status), DS_OK);
        }
        EXPECT_EQ(status & DSBSTATUS_PLAYING, 0u) << "the buffer never ended";
    }

    // Waits until the device has written at least `bytes` (at most ten seconds).
    void WaitForOutput(std::uintmax_t bytes) const {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::error_code error;
        while (std::chrono::steady_clock::now() < until &&
               !(std::filesystem::file_size(output_, error) >= bytes && !error))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    // Closes the device and answers what it wrote, as 16-bit samples.
    std::vector<std::int16_t> Heard() {
        if (device_ != nullptr) device_->Release();
        device_ = nullptr;
        std::ifstream in(output_, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        std::vector<std::int16_t> samples(bytes.size() / 2);
        std::copy_n(bytes.data(), samples.size() * 2, reinterpret_cast<char*>(samples.data()));
        return samples;
    }

    // Where `part` starts in `whole` on a frame boundary, or -1.
    static long Find(const std::vector<std::int16_t>& whole,
                     const std::vector<std::int16_t>& part) {
        auto at = whole.begin();
        while ((at = std::search(at, whole.end(), part.begin(), part.end())) != whole.end()) {
            if ((at - whole.begin()) % 2 == 0) return static_cast<long>(at - whole.begin());
            ++at;
        }
        return -1;
    }

    std::string output_;
    IDirectSound* device_ = nullptr;
};

bool Silent(std::vector<std::int16_t>::const_iterator from,
            std::vector<std::int16_t>::const_iterator to) {
    return std::all_of(from, to, [](std::int16_t s) { return s == 0; });
}

TEST_F(SdlSoundTest, WithoutAnAudioDeviceTheDirectSoundIsSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    IDirectSound* device = nullptr;
    EXPECT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Release(), 0u);
    // A device that exists afterwards opens normally.
    OpenDiskDevice();
}

TEST_F(SdlSoundTest, BuffersAreCheckedAsDirectSoundChecksThem) {
    OpenDiskDevice();
    WAVEFORMATEX format = Pcm(44100, 16, 2);
    DSBUFFERDESC desc = {};
    desc.dwSize = 20;
    desc.dwBufferBytes = 400;
    desc.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(device_->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM);
    desc.dwSize = sizeof(DSBUFFERDESC);
    format.wBitsPerSample = 24;
    EXPECT_EQ(device_->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_BADFORMAT);
    EXPECT_EQ(buffer, nullptr);
    buffer = Buffer(Pcm(44100, 16, 2), std::vector<std::int16_t>(200, 0));
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    DSBCAPS caps = {};
    caps.dwSize = sizeof(DSBCAPS);
    EXPECT_EQ(buffer->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, 400u);
}

TEST_F(SdlSoundTest, BuffersAnswerAsDirectSoundAnswers) {
    OpenDiskDevice();
    dsoundcheck::CheckCreationRules(device_);
    dsoundcheck::CheckBufferRules(device_);
}

TEST_F(SdlSoundTest, APlayedBufferIsMixedWithItsVolumeAndPan) {
    OpenDiskDevice();
    IDirectSoundBuffer* buffer =
        Buffer(Pcm(44100, 16, 2), {20000, 20000, -1000, -1000, 32767, -32768});
    ASSERT_NE(buffer, nullptr);
    // -6 dB on both sides, 20 dB more off the right one: the same samples as the
    // headless mixer gives.
    ASSERT_EQ(buffer->SetVolume(-600), DS_OK);
    ASSERT_EQ(buffer->SetPan(-2000), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    WaitUntilStopped(buffer);
    const std::vector<std::int16_t> heard = Heard();
    const std::vector<std::int16_t> expected = {10024, 1002, -501, -50, 16422, -1642};
    const long at = Find(heard, expected);
    ASSERT_GE(at, 0) << "the mixed samples were not written";
    // Played once: silence before and after.
    EXPECT_TRUE(Silent(heard.begin(), heard.begin() + at));
    EXPECT_TRUE(Silent(heard.begin() + at + 6, heard.end()));
}

TEST_F(SdlSoundTest, ALoopingBufferRepeatsUntilStopped) {
    OpenDiskDevice();
    IDirectSoundBuffer* buffer = Buffer(Pcm(44100, 16, 2), {1000, -1000, 2000, -2000, 3000, -3000});
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    // Two of the device's 1024-frame periods, however slow the machine.
    WaitForOutput(2 * 1024 * 4);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    const std::vector<std::int16_t> heard = Heard();
    // Three frames over and over.
    const std::vector<std::int16_t> twice = {1000, -1000, 2000, -2000, 3000, -3000,
                                             1000, -1000, 2000, -2000, 3000, -3000};
    EXPECT_GE(Find(heard, twice), 0);
}

TEST_F(SdlSoundTest, ABufferOfAnotherRateIsConvertedAndLastsAsLong) {
    OpenDiskDevice();
    // A tenth of a second at 22050 per second, mono: SDL resamples it and puts
    // it on both sides (through floating point, so within a step or two).
    IDirectSoundBuffer* buffer = Buffer(Pcm(22050, 16, 1), std::vector<std::int16_t>(2205, 10000));
    ASSERT_NE(buffer, nullptr);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    WaitUntilStopped(buffer);
    const std::vector<std::int16_t> heard = Heard();
    long steady = 0;
    for (std::size_t i = 0; i + 1 < heard.size(); i += 2)
        if (std::abs(heard[i] - 10000) < 100 && std::abs(heard[i + 1] - 10000) < 100) ++steady;
    // 4410 device frames, give or take the resampler's edges.
    EXPECT_NEAR(steady, 4410, 40);
}

}  // namespace
