// DirectSound over SDL audio: the shared DirectSound objects of platform/common,
// each played on one SDL audio device whose callback mixes every playing
// buffer. A buffer is converted to the device's format by SDL when it is
// unlocked and scaled by its volume and pan with the same arithmetic as the
// headless mixer; the callback and the engine share the device's mutex.
// Without a sound device the game goes on silently, on SDL's silent driver,
// which takes the samples at a device's pace, and says so in one line (unless
// the program asks for DSERR_NODRIVER instead: sdl_program.h).
#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/common/dsound_objects.h"
#include "platform/common/sound_mix.h"
#include "platform/sdl/sdl_program.h"
#include "platform/sdl/sdl_video.h"

namespace {

// What the device is asked for; SDL converts to the hardware's own format.
constexpr int kDeviceRate = 44100;
constexpr int kDeviceChannels = 2;
constexpr Uint16 kDeviceFrames = 1024;

// An open SDL audio device.
struct Stream final : platform::BackendPart {
    ~Stream() override { Close(); }
    void Close() {
        if (id == 0) return;
        // Waits for a running callback; none comes after.
        SDL_CloseAudioDevice(id);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        id = 0;
    }

    SDL_AudioDeviceID id = 0;
    int rate = kDeviceRate;
    std::vector<std::int32_t> mix;  // used by the callback only
};

// A buffer's memory in the device's format (16-bit stereo at its rate), which
// is all the callback reads, and the callback's place in it. Both are guarded
// by the device's mutex.
struct Voice final : platform::BackendPart {
    std::vector<std::int16_t> samples;
    std::size_t frame = 0;
};

Stream& StreamOf(platform::SoundDevice& device) {
    return static_cast<Stream&>(*device.part);
}
Voice& VoiceOf(platform::SoundBuffer& buffer) {
    return static_cast<Voice&>(*buffer.part);
}

std::vector<std::int16_t> Convert(const platform::SoundBuffer& buffer, int rate) {
    const WAVEFORMATEX& format = buffer.Format();
    const SDL_AudioFormat from = format.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(format.nChannels),
                          static_cast<int>(format.nSamplesPerSec), AUDIO_S16SYS, kDeviceChannels,
                          rate) < 0)
        return {};
    const std::size_t bytes = buffer.Memory().size();
    std::vector<std::uint8_t> work(bytes * static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
    std::memcpy(work.data(), buffer.Memory().data(), bytes);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(bytes);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) return {};
    const std::size_t out = cvt.needed ? static_cast<std::size_t>(cvt.len_cvt) : bytes;
    std::vector<std::int16_t> samples(out / (2 * kDeviceChannels) * kDeviceChannels);
    std::memcpy(samples.data(), work.data(), samples.size() * sizeof(std::int16_t));
    return samples;
}

// Adds a buffer's next frames to the mix (two int32 per frame); mutex held.
void MixInto(platform::SoundBuffer& buffer, std::int32_t* mix, int frames) {
    if (!buffer.Playing()) return;
    Voice& voice = VoiceOf(buffer);
    const soundmix::StereoGain gain = soundmix::BufferGains(buffer.Volume(), buffer.Pan());
    const std::size_t available = voice.samples.size() / 2;
    for (int i = 0; i < frames; ++i) {
        if (voice.frame >= available) {
            voice.frame = 0;
            if (!buffer.Looping() || available == 0) {
                buffer.Finish();
                return;
            }
        }
        soundmix::AddFrame(mix + 2 * i, voice.samples[2 * voice.frame],
                           voice.samples[2 * voice.frame + 1], gain);
        ++voice.frame;
    }
}

void SDLCALL Callback(void* userdata, Uint8* stream, int length) {
    auto* device = static_cast<platform::SoundDevice*>(userdata);
    std::vector<std::int32_t>& mix = StreamOf(*device).mix;
    const int frames = length / static_cast<int>(kDeviceChannels * sizeof(std::int16_t));
    mix.assign(2 * static_cast<std::size_t>(frames), 0);
    {
        const std::lock_guard<std::mutex> guard(device->Mutex());
        for (const auto& buffer : device->Buffers()) MixInto(*buffer, mix.data(), frames);
    }
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    for (std::size_t i = 0; i < mix.size(); ++i) out[i] = soundmix::ClampToS16(mix[i]);
}

class SdlSoundOutput final : public platform::SoundOutput {
public:
    bool Open(platform::SoundDevice& device) override;
    void Close(platform::SoundDevice& device) override { StreamOf(device).Close(); }

    void Made(platform::SoundBuffer& buffer) override {
        auto voice = std::make_unique<Voice>();
        voice->samples = Convert(buffer, StreamOf(buffer.Device()).rate);
        buffer.part = std::move(voice);
    }
    // Converted outside the lock: the callback goes on with the old samples meanwhile.
    void Written(platform::SoundBuffer& buffer) override {
        std::vector<std::int16_t> samples = Convert(buffer, StreamOf(buffer.Device()).rate);
        const std::lock_guard<std::mutex> guard(buffer.Device().Mutex());
        Voice& voice = VoiceOf(buffer);
        voice.samples.swap(samples);
        if (2 * voice.frame >= voice.samples.size()) voice.frame = 0;
    }
    void Moved(platform::SoundBuffer& buffer) override {
        const std::uint64_t sourceFrame = buffer.Position() / buffer.Format().nBlockAlign;
        VoiceOf(buffer).frame = static_cast<std::size_t>(
            sourceFrame * static_cast<std::uint64_t>(StreamOf(buffer.Device()).rate) /
            buffer.Format().nSamplesPerSec);
    }
};

// While it lives, standard error goes nowhere: ALSA's library writes a dozen
// lines there when it finds no sound card, and the one line the backend
// writes instead says what matters to a player.
class StandardErrorMuted {
public:
    StandardErrorMuted() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int nowhere = open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && nowhere >= 0) dup2(nowhere, STDERR_FILENO);
        if (nowhere >= 0) close(nowhere);
    }
    ~StandardErrorMuted() {
        std::fflush(stderr);
        if (saved_ < 0) return;
        dup2(saved_, STDERR_FILENO);
        close(saved_);
    }
    StandardErrorMuted(const StandardErrorMuted&) = delete;
    StandardErrorMuted& operator=(const StandardErrorMuted&) = delete;

private:
    int saved_ = -1;
};

// SDL's audio and its default device; 0 (SDL saying why) without one.
SDL_AudioDeviceID OpenDevice(const SDL_AudioSpec& want, SDL_AudioSpec& have) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    // No changes allowed: SDL converts the mix for the hardware if it must.
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return id;
}

// The default device, or else (unless the program says otherwise) SDL's
// silent one; 0 when neither opens.
SDL_AudioDeviceID OpenDeviceOrSilence(const SDL_AudioSpec& want, SDL_AudioSpec& have) {
    SDL_AudioDeviceID id = 0;
    {
        const StandardErrorMuted quiet;
        id = OpenDevice(want, have);
    }
    if (id != 0) return id;
    const std::string reason = SDL_GetError();
    if (!sdl::SilentWithoutSoundDevice()) {
        std::fprintf(stderr, "Corvane: no sound device: %s\n", reason.c_str());
        return 0;
    }
    // The silent driver for this device only: the next one looks for sound again.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    id = OpenDevice(want, have);
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (id == 0) {
        sdl::ReportSdlError("no sound device");
        return 0;
    }
    std::fprintf(stderr, "Corvane: no sound device was found, so the game is silent (%s)\n",
                 reason.c_str());
    return id;
}

bool SdlSoundOutput::Open(platform::SoundDevice& device) {
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = kDeviceRate;
    want.format = AUDIO_S16SYS;
    want.channels = kDeviceChannels;
    want.samples = kDeviceFrames;
    want.callback = &Callback;
    want.userdata = &device;
    SDL_AudioSpec have;
    auto stream = std::make_unique<Stream>();
    stream->id = OpenDeviceOrSilence(want, have);
    if (stream->id == 0) return false;
    stream->rate = have.freq;
    device.part = std::move(stream);
    SDL_PauseAudioDevice(StreamOf(device).id, 0);
    return true;
}

}  // namespace

platform::SoundOutput& platform::TheSoundOutput() {
    static SdlSoundOutput output;
    return output;
}
