#include "platform/common/sound_mixer.h"

#include <memory>
#include <mutex>

#include "platform/common/sound_mix.h"

namespace platform {
namespace {

// The mixer's place in a buffer: output frames owed toward the next source
// frame when the mixer's rate differs from the buffer's (in units of 1 / mixer rate).
struct MixerPlace final : BackendPart {
    std::uint64_t phase = 0;
};

MixerPlace& PlaceIn(SoundBuffer& buffer) {
    return static_cast<MixerPlace&>(*buffer.part);
}

// Steps the play position by one frame; a one-shot buffer that reaches its end
// stops and rewinds.
void AdvanceFrame(SoundBuffer& buffer) {
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
void MixBuffer(SoundBuffer& buffer, std::vector<std::int32_t>& mix, int frames, int rate) {
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

}  // namespace

void StartMixing(SoundBuffer& buffer) {
    buffer.part = std::make_unique<MixerPlace>();
}

void PositionMoved(SoundBuffer& buffer) {
    PlaceIn(buffer).phase = 0;
}

std::vector<std::int16_t> MixLiveBuffers(int frames, int rate) {
    if (frames <= 0 || rate <= 0) return {};
    std::vector<std::int32_t> mix(2 * static_cast<std::size_t>(frames), 0);
    for (SoundBuffer* buffer : LiveSoundBuffers()) {
        const std::lock_guard<std::mutex> guard(buffer->Device().Mutex());
        MixBuffer(*buffer, mix, frames, rate);
    }
    std::vector<std::int16_t> out(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) out[i] = soundmix::ClampToS16(mix[i]);
    return out;
}

}  // namespace platform
