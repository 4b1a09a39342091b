// DirectSound over SDL audio: one SDL audio device whose callback mixes every
// playing buffer, each converted to the device's format by SDL when it is
// unlocked and scaled by its volume and pan with the same arithmetic as the
// headless mixer. The callback and the engine share the device's mutex.
// Without a device no sound object can be had, and the engine reports
// SOUNDINIT_FAILED.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/api/platform.h"
#include "platform/common/sound_buffer_desc.h"
#include "platform/common/sound_mix.h"
#include "platform/sdl/sdl_video.h"

namespace {

// What the device is asked for; SDL converts to the hardware's own format.
constexpr int kDeviceRate = 44100;
constexpr int kDeviceChannels = 2;
constexpr Uint16 kDeviceFrames = 1024;

class SoundDevice;

// A secondary buffer. The engine writes its memory between Lock and Unlock;
// Unlock converts the memory to the device's format, which is all the audio
// callback reads. Play state and the converted samples are guarded by the
// device's mutex.
class SoundBuffer final : public IDirectSoundBuffer {
public:
    SoundBuffer(SoundDevice& device, const DSBUFFERDESC& desc);

    ULONG Release() override;
    HRESULT GetCaps(LPDSBCAPS caps) override;
    HRESULT GetStatus(LPDWORD status) override;
    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1, LPVOID* region2,
                 LPDWORD bytes2, DWORD flags) override;
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
    HRESULT SetCurrentPosition(DWORD position) override;
    HRESULT SetVolume(LONG volume) override;
    HRESULT SetPan(LONG pan) override;
    HRESULT Stop() override;
    HRESULT Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) override;
    HRESULT Restore() override { return DS_OK; }

    // Adds this buffer's next frames to the mix (device frames, two int32 per
    // frame). Called by the audio callback with the mutex held.
    void MixInto(std::int32_t* mix, int frames);

private:
    // The memory in the device's format: 16-bit stereo at the device's rate.
    std::vector<std::int16_t> Convert() const;

    SoundDevice& device_;
    const DWORD flags_;
    const WAVEFORMATEX format_;
    std::vector<std::uint8_t> memory_;
    ULONG refs_ = 1;
    // Guarded by the device's mutex.
    std::vector<std::int16_t> converted_;
    std::size_t frame_ = 0;  // play position in device frames
    bool playing_ = false;
    bool looping_ = false;
    LONG volume_ = DSBVOLUME_MAX;
    LONG pan_ = DSBPAN_CENTER;
};

// The DirectSound object: the open SDL audio device and the buffers made from it.
class SoundDevice final : public IDirectSound {
public:
    // Opens the default audio device; false if there is none.
    bool Open();
    ~SoundDevice();

    ULONG Release() override;
    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, IDirectSoundBuffer** buffer,
                              IUnknown* outer) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

    // Frees a buffer whose last reference went.
    void Forget(SoundBuffer* buffer);

    std::mutex mutex;
    int rate = kDeviceRate;

private:
    void Close();
    static void SDLCALL Callback(void* device, Uint8* stream, int length);

    SDL_AudioDeviceID id_ = 0;
    ULONG refs_ = 1;
    std::vector<std::unique_ptr<SoundBuffer>> buffers_;  // guarded by mutex
    std::vector<std::int32_t> mix_;                      // used by the callback only
};

// Devices live until their last Release or the end of the program; the engine
// never releases its DirectSound object.
std::vector<std::unique_ptr<SoundDevice>>& Devices() {
    static std::vector<std::unique_ptr<SoundDevice>> devices;
    return devices;
}

SoundBuffer::SoundBuffer(SoundDevice& device, const DSBUFFERDESC& desc)
    : device_(device),
      flags_(desc.dwFlags),
      format_(*desc.lpwfxFormat),
      memory_(desc.dwBufferBytes, desc.lpwfxFormat->wBitsPerSample == 8 ? 0x80 : 0x00) {
    converted_ = Convert();
}

ULONG SoundBuffer::Release() {
    const ULONG left = --refs_;
    if (left == 0) device_.Forget(this);
    return left;
}

HRESULT SoundBuffer::GetCaps(LPDSBCAPS caps) {
    if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
    caps->dwFlags = flags_;
    caps->dwBufferBytes = static_cast<DWORD>(memory_.size());
    caps->dwUnlockTransferRate = 0;
    caps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

HRESULT SoundBuffer::GetStatus(LPDWORD status) {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(device_.mutex);
    *status = playing_ ? DSBSTATUS_PLAYING : 0;
    return DS_OK;
}

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1,
                          LPVOID* region2, LPDWORD bytes2, DWORD flags) {
    if (region1 != nullptr) *region1 = nullptr;
    if (bytes1 != nullptr) *bytes1 = 0;
    if (region2 != nullptr) *region2 = nullptr;
    if (bytes2 != nullptr) *bytes2 = 0;
    const DWORD size = static_cast<DWORD>(memory_.size());
    if (region1 == nullptr || bytes1 == nullptr || flags != 0 || offset >= size || bytes == 0 ||
        bytes > size)
        return DSERR_INVALIDPARAM;
    const DWORD first = std::min(bytes, size - offset);
    if (first < bytes && (region2 == nullptr || bytes2 == nullptr)) return DSERR_INVALIDPARAM;
    *region1 = memory_.data() + offset;
    *bytes1 = first;
    if (first < bytes) {
        *region2 = memory_.data();
        *bytes2 = bytes - first;
    }
    return DS_OK;
}

HRESULT SoundBuffer::Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) {
    const auto inside = [this](const void* region, DWORD bytes) {
        const auto* at = static_cast<const std::uint8_t*>(region);
        return at >= memory_.data() && at <= memory_.data() + memory_.size() &&
               bytes <= static_cast<DWORD>(memory_.data() + memory_.size() - at);
    };
    if (region1 == nullptr || !inside(region1, bytes1) ||
        (region2 != nullptr && !inside(region2, bytes2)))
        return DSERR_INVALIDPARAM;
    // Converted outside the lock: the callback goes on with the old samples meanwhile.
    std::vector<std::int16_t> samples = Convert();
    std::lock_guard<std::mutex> lock(device_.mutex);
    converted_.swap(samples);
    if (2 * frame_ >= converted_.size()) frame_ = 0;
    return DS_OK;
}

HRESULT SoundBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    if (reserved != 0 || priority != 0 || (flags & ~DWORD{DSBPLAY_LOOPING}) != 0)
        return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(device_.mutex);
    playing_ = true;
    looping_ = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD position) {
    if (position >= memory_.size()) return DSERR_INVALIDPARAM;
    const std::uint64_t sourceFrame = position / format_.nBlockAlign;
    std::lock_guard<std::mutex> lock(device_.mutex);
    frame_ = static_cast<std::size_t>(sourceFrame * static_cast<std::uint64_t>(device_.rate) /
                                      format_.nSamplesPerSec);
    return DS_OK;
}

HRESULT SoundBuffer::SetVolume(LONG volume) {
    if ((flags_ & DSBCAPS_CTRLVOLUME) == 0) return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(device_.mutex);
    volume_ = volume;
    return DS_OK;
}

HRESULT SoundBuffer::SetPan(LONG pan) {
    if ((flags_ & DSBCAPS_CTRLPAN) == 0) return DSERR_CONTROLUNAVAIL;
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(device_.mutex);
    pan_ = pan;
    return DS_OK;
}

HRESULT SoundBuffer::Stop() {
    std::lock_guard<std::mutex> lock(device_.mutex);
    playing_ = false;
    return DS_OK;
}

std::vector<std::int16_t> SoundBuffer::Convert() const {
    const SDL_AudioFormat from = format_.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(format_.nChannels),
                          static_cast<int>(format_.nSamplesPerSec), AUDIO_S16SYS, kDeviceChannels,
                          device_.rate) < 0)
        return {};
    const std::size_t bytes = memory_.size();
    std::vector<std::uint8_t> work(bytes * static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
    std::memcpy(work.data(), memory_.data(), bytes);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(bytes);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) return {};
    const std::size_t out = cvt.needed ? static_cast<std::size_t>(cvt.len_cvt) : bytes;
    std::vector<std::int16_t> samples(out / (2 * kDeviceChannels) * kDeviceChannels);
    std::memcpy(samples.data(), work.data(), samples.size() * sizeof(std::int16_t));
    return samples;
}

void SoundBuffer::MixInto(std::int32_t* mix, int frames) {
    if (!playing_) return;
    const soundmix::StereoGain gain = soundmix::BufferGains(volume_, pan_);
    const std::size_t available = converted_.size() / 2;
    for (int i = 0; i < frames; ++i) {
        if (frame_ >= available) {
            frame_ = 0;
            // A one-shot buffer that ran out stops and rewinds.
            if (!looping_ || available == 0) {
                playing_ = false;
                return;
            }
        }
        soundmix::AddFrame(mix + 2 * i, converted_[2 * frame_], converted_[2 * frame_ + 1], gain);
        ++frame_;
    }
}

bool SoundDevice::Open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        sdl::ReportSdlError("no sound device");
        return false;
    }
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = kDeviceRate;
    want.format = AUDIO_S16SYS;
    want.channels = kDeviceChannels;
    want.samples = kDeviceFrames;
    want.callback = &SoundDevice::Callback;
    want.userdata = this;
    SDL_AudioSpec have;
    // No changes allowed: SDL converts the mix for the hardware if it must.
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id_ == 0) {
        sdl::ReportSdlError("no sound device");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    rate = have.freq;
    SDL_PauseAudioDevice(id_, 0);
    return true;
}

SoundDevice::~SoundDevice() {
    Close();
}

void SoundDevice::Close() {
    if (id_ == 0) return;
    // Waits for a running callback; none comes after.
    SDL_CloseAudioDevice(id_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    id_ = 0;
}

ULONG SoundDevice::Release() {
    const ULONG left = --refs_;
    if (left == 0) {
        // Releasing the DirectSound object releases its buffers with it.
        Close();
        auto& devices = Devices();
        devices.erase(std::find_if(devices.begin(), devices.end(),
                                   [this](const auto& device) { return device.get() == this; }));
    }
    return left;
}

HRESULT SoundDevice::CreateSoundBuffer(LPCDSBUFFERDESC desc, IDirectSoundBuffer** buffer,
                                       IUnknown* outer) {
    if (buffer == nullptr) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (outer != nullptr) return DSERR_INVALIDPARAM;
    const HRESULT check = soundmix::CheckBufferDescription(desc);
    if (check != DS_OK) return check;
    auto created = std::make_unique<SoundBuffer>(*this, *desc);
    *buffer = created.get();
    std::lock_guard<std::mutex> lock(mutex);
    buffers_.push_back(std::move(created));
    return DS_OK;
}

HRESULT SoundDevice::SetCooperativeLevel(HWND, DWORD level) {
    // SDL's device is shared with other programs at every level; the window
    // plays no part.
    return level >= 1 && level <= 4 ? DS_OK : DSERR_INVALIDPARAM;
}

void SoundDevice::Forget(SoundBuffer* buffer) {
    std::unique_ptr<SoundBuffer> gone;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = std::find_if(buffers_.begin(), buffers_.end(),
                           [buffer](const auto& owned) { return owned.get() == buffer; });
    if (it == buffers_.end()) return;
    gone = std::move(*it);
    buffers_.erase(it);
}

void SDLCALL SoundDevice::Callback(void* userdata, Uint8* stream, int length) {
    auto* device = static_cast<SoundDevice*>(userdata);
    const int frames = length / static_cast<int>(kDeviceChannels * sizeof(std::int16_t));
    device->mix_.assign(2 * static_cast<std::size_t>(frames), 0);
    {
        std::lock_guard<std::mutex> lock(device->mutex);
        for (const auto& buffer : device->buffers_) buffer->MixInto(device->mix_.data(), frames);
    }
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    for (std::size_t i = 0; i < device->mix_.size(); ++i)
        out[i] = soundmix::ClampToS16(device->mix_[i]);
}

}  // namespace

HRESULT WINAPI DirectSoundCreate(const GUID*, IDirectSound** directSound, IUnknown* outer) {
    if (directSound == nullptr) return DSERR_INVALIDPARAM;
    *directSound = nullptr;
    if (outer != nullptr) return DSERR_INVALIDPARAM;
    auto device = std::make_unique<SoundDevice>();
    if (!device->Open()) return DSERR_NODRIVER;
    *directSound = device.get();
    Devices().push_back(std::move(device));
    return DS_OK;
}
