// The headless sound: the shared DirectSound objects of platform/common, played
// only when a test asks the mixer for frames, so sound tests are deterministic.
#include <algorithm>

#include "platform/common/dsound_objects.h"
#include "platform/common/sound_mix.h"
#include "platform/headless/headless_reset_parts.h"
#include "platform/headless/sound_control.h"

namespace headless {
namespace {

// The mixer's place in a buffer: output frames owed toward the next source
// frame when the mixer's rate differs from the buffer's (in units of 1 / mixer rate).
struct MixerPlace final : platform::BackendPart {
    std::uint64_t phase = 0;
};

MixerPlace& PlaceIn(platform::SoundBuffer& buffer) {
    return static_cast<MixerPlace&>(*buffer.part);
}

class HeadlessSoundOutput final : public platform::SoundOutput {
public:
    void Made(platform::SoundBuffer& buffer) override {
        buffer.part = std::make_unique<MixerPlace>();
    }
    void Moved(platform::SoundBuffer& buffer) override { PlaceIn(buffer).phase = 0; }
};

// Steps the play position by one frame; a one-shot buffer that reaches its end
// stops and rewinds.
void AdvanceFrame(platform::SoundBuffer& buffer) {
    const DWORD next = buffer.Position() + buffer.Format().nBlockAlign;
    if (next < buffer.Memory().size()) {
        buffer.MoveTo(next);
        return;
    }
    buffer.MoveTo(0);
    if (buffer.Looping()) return;
    buffer.Finish();
    PlaceIn(buffer).phase = 0;
}

// Adds `frames` frames of one buffer to the mix, stepping through it at its own
// rate: one source frame per output frame when the rates agree, nearest sample
// otherwise.
void MixBuffer(platform::SoundBuffer& buffer, std::vector<std::int32_t>& mix, int frames,
               int rate) {
    const soundmix::StereoGain gain = soundmix::BufferGains(buffer.Volume(), buffer.Pan());
    const int bits = buffer.Format().wBitsPerSample;
    const int sampleBytes = bits / 8;
    const bool stereo = buffer.Format().nChannels == 2;
    std::uint64_t& phase = PlaceIn(buffer).phase;
    for (int frame = 0; frame < frames && buffer.Playing(); ++frame) {
        const std::uint8_t* at = buffer.Memory().data() + buffer.Position();
        const std::int32_t left = soundmix::ReadSample(at, bits);
        const std::int32_t right = stereo ? soundmix::ReadSample(at + sampleBytes, bits) : left;
        soundmix::AddFrame(&mix[2 * static_cast<std::size_t>(frame)], left, right, gain);
        phase += buffer.Format().nSamplesPerSec;
        while (phase >= static_cast<std::uint64_t>(rate) && buffer.Playing()) {
            phase -= static_cast<std::uint64_t>(rate);
            AdvanceFrame(buffer);
        }
    }
}

platform::SoundBuffer* Live(const IDirectSoundBuffer* buffer) {
    for (platform::SoundBuffer* live : platform::LiveSoundBuffers())
        if (live == buffer) return live;
    return nullptr;
}

}  // namespace

namespace detail {
void ResetSound() {
    platform::ResetDirectSound();
}
}  // namespace detail

std::vector<std::int16_t> MixSound(int frames, int rate) {
    if (frames <= 0 || rate <= 0) return {};
    std::vector<std::int32_t> mix(2 * static_cast<std::size_t>(frames), 0);
    for (platform::SoundBuffer* buffer : platform::LiveSoundBuffers()) {
        const std::lock_guard<std::mutex> guard(buffer->Device().Mutex());
        MixBuffer(*buffer, mix, frames, rate);
    }
    std::vector<std::int16_t> out(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) out[i] = soundmix::ClampToS16(mix[i]);
    return out;
}

int LiveSoundDevices() {
    const auto& devices = platform::SoundDevices();
    return static_cast<int>(std::count_if(devices.begin(), devices.end(),
                                          [](const auto& device) { return device->Alive(); }));
}

std::vector<IDirectSoundBuffer*> SoundBuffers() {
    const std::vector<platform::SoundBuffer*> live = platform::LiveSoundBuffers();
    return std::vector<IDirectSoundBuffer*>(live.begin(), live.end());
}

int SoundBufferId(const IDirectSoundBuffer* buffer) {
    const platform::SoundBuffer* live = Live(buffer);
    return live != nullptr ? live->Id() : 0;
}

SoundBufferInfo DescribeSoundBuffer(const IDirectSoundBuffer* buffer) {
    SoundBufferInfo info;
    const platform::SoundBuffer* live = Live(buffer);
    if (live == nullptr) return info;
    info.id = live->Id();
    info.flags = live->Flags();
    info.format = live->Format();
    info.data = live->Memory();
    info.position = live->Position();
    info.playing = live->Playing();
    info.looping = live->Looping();
    info.volume = live->Volume();
    info.pan = live->Pan();
    return info;
}

}  // namespace headless

platform::SoundOutput& platform::TheSoundOutput() {
    static headless::HeadlessSoundOutput output;
    return output;
}
