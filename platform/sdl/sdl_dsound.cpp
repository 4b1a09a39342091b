// DirectSound over SDL audio: the device. A sound object holds SDL's default
// playback device open (paused, silent) for as long as it lives; without a
// device no sound object can be had, and the engine reports SOUNDINIT_FAILED.
// Sound buffers and their mixing are not built yet: creating one is refused.
#include <SDL.h>

#include <memory>
#include <vector>

#include "platform/api/platform.h"
#include "platform/sdl/sdl_video.h"

namespace {

class DirectSound final : public IDirectSound {
public:
    explicit DirectSound(SDL_AudioDeviceID device) : device_(device) {}
    ~DirectSound() {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);  // balances DirectSoundCreate's start
    }
    DirectSound(const DirectSound&) = delete;
    DirectSound& operator=(const DirectSound&) = delete;

    ULONG Release() override;

    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, IDirectSoundBuffer** buffer,
                              IUnknown* outer) override {
        if (desc == nullptr || buffer == nullptr || outer != nullptr) return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        return DSERR_UNSUPPORTED;
    }

    HRESULT SetCooperativeLevel(HWND, DWORD level) override {
        // DSSCL_NORMAL, PRIORITY, EXCLUSIVE or WRITEPRIMARY.
        if (level < 1 || level > 4) return DSERR_INVALIDPARAM;
        level_ = level;
        return DS_OK;
    }

private:
    SDL_AudioDeviceID device_;
    DWORD level_ = 0;
    ULONG refs_ = 1;
};

std::vector<std::unique_ptr<DirectSound>>& Devices() {
    static std::vector<std::unique_ptr<DirectSound>> devices;
    return devices;
}

ULONG DirectSound::Release() {
    const ULONG left = --refs_;
    if (left == 0)
        for (auto it = Devices().begin(); it != Devices().end(); ++it)
            if (it->get() == this) {
                Devices().erase(it);  // destroys this object
                break;
            }
    return left;
}

}  // namespace

HRESULT WINAPI DirectSoundCreate(const GUID*, IDirectSound** directSound, IUnknown* outer) {
    if (directSound == nullptr || outer != nullptr) return DSERR_INVALIDPARAM;
    *directSound = nullptr;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        sdl::ReportSdlError("no sound device");
        return DSERR_NODRIVER;
    }
    SDL_AudioSpec wanted = {};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    SDL_AudioSpec obtained = {};
    const SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (device == 0) {
        sdl::ReportSdlError("no sound device");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return DSERR_NODRIVER;
    }
    Devices().push_back(std::make_unique<DirectSound>(device));
    *directSound = Devices().back().get();
    return DS_OK;
}
