#include "platform/common/sound_mix.h"
#include "platform/headless/headless_sound_buffers.h"
#include "platform/headless/sound_control.h"

namespace headless {

std::vector<std::int16_t> MixSound(int frames, int rate) {
    if (frames <= 0 || rate <= 0) return {};
    std::vector<std::int32_t> mix(2 * static_cast<std::size_t>(frames), 0);
    for (detail::SoundBuffer* buffer : detail::LiveSoundBuffers()) {
        const soundmix::StereoGain gain = soundmix::BufferGains(buffer->volume, buffer->pan);
        const int bits = buffer->format.wBitsPerSample;
        const int sampleBytes = bits / 8;
        const bool stereo = buffer->format.nChannels == 2;
        for (int frame = 0; frame < frames && buffer->playing; ++frame) {
            const std::uint8_t* at = buffer->memory.data() + buffer->position;
            const std::int32_t left = soundmix::ReadSample(at, bits);
            const std::int32_t right = stereo ? soundmix::ReadSample(at + sampleBytes, bits) : left;
            soundmix::AddFrame(&mix[2 * static_cast<std::size_t>(frame)], left, right, gain);
            // Step through the buffer at its own rate: one source frame per
            // output frame when the rates agree, nearest sample otherwise.
            buffer->phase += buffer->format.nSamplesPerSec;
            while (buffer->phase >= static_cast<std::uint64_t>(rate) && buffer->playing) {
                buffer->phase -= static_cast<std::uint64_t>(rate);
                buffer->AdvanceFrame();
            }
        }
    }
    std::vector<std::int16_t> out(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) out[i] = soundmix::ClampToS16(mix[i]);
    return out;
}

}  // namespace headless
