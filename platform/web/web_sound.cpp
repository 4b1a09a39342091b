// DirectSound in the page: the shared DirectSound objects of platform/common,
// mixed by the shared mixer into the page's Web Audio device, which asks for
// samples as it plays them (corvane_web_mix). A script's run mixes frame by
// frame instead (web_frames.h) and plays nothing. Without Web Audio no sound
// object can be had, and the engine reports SOUNDINIT_FAILED.
#include <emscripten.h>

#include <vector>

#include "platform/common/dsound_objects.h"
#include "platform/common/sound_mixer.h"
#include "platform/web/web_frames.h"
#include "platform/web/web_page.h"

namespace {

// What the device is asked for; a browser that takes another rate mixes at its own.
constexpr int kDeviceRate = 44100;
int deviceRate = 0;

class WebSoundOutput final : public platform::SoundOutput {
public:
    bool Open(platform::SoundDevice&) override {
        deviceRate = web::RunsScript() ? web::kScriptSoundRate : web::OpenPageSound(kDeviceRate);
        return deviceRate > 0;
    }
    void Close(platform::SoundDevice&) override {
        if (!web::RunsScript()) web::ClosePageSound();
        deviceRate = 0;
    }
    void Made(platform::SoundBuffer& buffer) override { platform::StartMixing(buffer); }
    void Moved(platform::SoundBuffer& buffer) override { platform::PositionMoved(buffer); }
};

}  // namespace

// The page's sound device takes `frames` frames of 16-bit stereo from here; the
// samples stay valid until the next call.
extern "C" EMSCRIPTEN_KEEPALIVE const std::int16_t* corvane_web_mix(int frames) {
    static std::vector<std::int16_t> mixed;
    mixed = platform::MixLiveBuffers(frames, deviceRate);
    return mixed.empty() ? nullptr : mixed.data();
}

platform::SoundOutput& platform::TheSoundOutput() {
    static WebSoundOutput output;
    return output;
}
