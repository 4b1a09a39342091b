// The headless sound: the shared DirectSound objects of platform/common, played
// by the shared mixer only when a test asks it for frames, so sound tests are
// deterministic.
#include <algorithm>

#include "platform/common/dsound_objects.h"
#include "platform/common/sound_mixer.h"
#include "platform/headless/headless_reset_parts.h"
#include "platform/headless/sound_control.h"

namespace headless {
namespace {

class HeadlessSoundOutput final : public platform::SoundOutput {
public:
    void Made(platform::SoundBuffer& buffer) override { platform::StartMixing(buffer); }
    void Moved(platform::SoundBuffer& buffer) override { platform::PositionMoved(buffer); }
};

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
    return platform::MixLiveBuffers(frames, rate);
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
