#include <algorithm>

#include "platform/common/dsound_objects.h"
#include "platform/common/platform_call.h"
#include "platform/common/sound_buffer_desc.h"

namespace platform {
namespace {

using Call = PlatformCall;

struct SoundState {
    std::vector<std::unique_ptr<SoundDevice>> devices;
    int nextBufferId = 1;
};

SoundState& State() {
    static SoundState state;
    return state;
}

CallArgs DescriptionArgs(LPCDSBUFFERDESC desc) {
    if (desc == nullptr) return {};
    CallArgs args = {desc->dwSize, desc->dwFlags, desc->dwBufferBytes};
    if (desc->lpwfxFormat != nullptr) {
        const WAVEFORMATEX& f = *desc->lpwfxFormat;
        for (long long value : std::initializer_list<long long>{
                 f.wFormatTag, f.nChannels, f.nSamplesPerSec, f.nAvgBytesPerSec, f.nBlockAlign,
                 f.wBitsPerSample, f.cbSize})
            args.Add(value);
    }
    return args;
}

}  // namespace

const std::vector<std::unique_ptr<SoundDevice>>& SoundDevices() {
    return State().devices;
}

std::vector<SoundBuffer*> LiveSoundBuffers() {
    std::vector<SoundBuffer*> live;
    for (const auto& device : State().devices) {
        const std::lock_guard<std::mutex> guard(device->Mutex());
        for (const auto& buffer : device->Buffers()) live.push_back(buffer.get());
    }
    std::sort(live.begin(), live.end(),
              [](const SoundBuffer* a, const SoundBuffer* b) { return a->Id() < b->Id(); });
    return live;
}

void ResetDirectSound() {
    State() = SoundState();
}

SoundDevice::~SoundDevice() {
    // The backend's stream stops before the buffers it plays go.
    part.reset();
}

ULONG SoundDevice::Release() {
    if (refs_ > 0 && --refs_ == 0) {
        // Releasing the DirectSound object releases its buffers with it.
        TheSoundOutput().Close(*this);
        std::vector<std::unique_ptr<SoundBuffer>> gone;
        const std::lock_guard<std::mutex> guard(mutex_);
        gone.swap(buffers_);
    }
    Note(Call::Release, {static_cast<long long>(refs_)}, "directsound", static_cast<long>(refs_));
    return refs_;
}

HRESULT SoundDevice::CreateSoundBuffer(LPCDSBUFFERDESC desc, IDirectSoundBuffer** buffer,
                                       IUnknown* outer) {
    if (buffer != nullptr) *buffer = nullptr;
    CallArgs args = DescriptionArgs(desc);
    return Answer(Call::CreateSoundBuffer, args, "", [&] {
        if (!Alive()) return DSERR_GENERIC;
        if (buffer == nullptr || outer != nullptr) return DSERR_INVALIDPARAM;
        const HRESULT checked = soundmix::CheckBufferDescription(desc);
        if (checked != DS_OK) return checked;
        auto made = std::make_unique<SoundBuffer>(*this, State().nextBufferId++, *desc);
        SoundBuffer* created = made.get();
        args.Add(created->Id());
        TheSoundOutput().Made(*created);
        {
            const std::lock_guard<std::mutex> guard(mutex_);
            buffers_.push_back(std::move(made));
        }
        *buffer = created;
        return DS_OK;
    });
}

HRESULT SoundDevice::SetCooperativeLevel(HWND window, DWORD level) {
    const long long handle = static_cast<long long>(reinterpret_cast<std::intptr_t>(window));
    return Answer(Call::SoundCooperativeLevel, {handle, level}, "", [&] {
        if (!Alive()) return DSERR_GENERIC;
        // Levels run from DSSCL_NORMAL (1) to DSSCL_WRITEPRIMARY (4); the window
        // plays no part in how buffers sound.
        if (level < DSSCL_NORMAL || level > 4) return DSERR_INVALIDPARAM;
        return DS_OK;
    });
}

void SoundDevice::Forget(SoundBuffer* buffer) {
    std::unique_ptr<SoundBuffer> gone;
    const std::lock_guard<std::mutex> guard(mutex_);
    auto it = std::find_if(buffers_.begin(), buffers_.end(),
                           [buffer](const auto& owned) { return owned.get() == buffer; });
    if (it == buffers_.end()) return;
    gone = std::move(*it);
    buffers_.erase(it);
}

}  // namespace platform

HRESULT WINAPI DirectSoundCreate(const GUID* device, IDirectSound** directSound, IUnknown* outer) {
    if (directSound != nullptr) *directSound = nullptr;
    return platform::Answer(platform::PlatformCall::DirectSoundCreate, {device != nullptr ? 1 : 0},
                            "", [&] {
                                // Only the default device exists.
                                if (directSound == nullptr || outer != nullptr || device != nullptr)
                                    return DSERR_INVALIDPARAM;
                                auto made = std::make_unique<platform::SoundDevice>();
                                if (!platform::TheSoundOutput().Open(*made)) return DSERR_NODRIVER;
                                *directSound = made.get();
                                platform::State().devices.push_back(std::move(made));
                                return DS_OK;
                            });
}
