// DirectSound's objects, shared by every backend without the system's
// DirectSound: the sound object and its secondary buffers, with the checks and
// answers of DirectSound itself. Each call passes through the backend's
// watcher (platform_call.h); where the samples go is the backend's
// (sound_output.h).
//
// A device owns its buffers; they go with their last Release, or with the
// device's. Devices stay allocated until ResetDirectSound, so a call through a
// released one answers DSERR_GENERIC instead of touching freed memory.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/api/platform.h"
#include "platform/common/platform_call.h"
#include "platform/common/sound_output.h"

namespace platform {

// A secondary buffer: memory with a play position, volume and pan. Its play
// state is read and changed with its device's mutex held, so a mixer may run
// on a thread of its own.
class SoundBuffer final : public IDirectSoundBuffer {
public:
    // desc has passed soundmix::CheckBufferDescription.
    SoundBuffer(SoundDevice& device, int id, const DSBUFFERDESC& desc);

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
    HRESULT Restore() override;

    // 1 for the first buffer since the last reset, then 2, ...
    int Id() const { return id_; }
    DWORD Flags() const { return flags_; }
    const WAVEFORMATEX& Format() const { return format_; }
    const std::vector<std::uint8_t>& Memory() const { return memory_; }
    SoundDevice& Device() const { return device_; }

    // Play state, with the device's mutex held. The position is in bytes, on a
    // frame boundary; a mixer that keeps its own place need not move it.
    DWORD Position() const { return position_; }
    void MoveTo(DWORD position) { position_ = position; }
    bool Playing() const { return playing_; }
    bool Looping() const { return looping_; }
    LONG Volume() const { return volume_; }
    LONG Pan() const { return pan_; }
    // A one-shot buffer that reached its end stops and rewinds.
    void Finish();

    // The backend's own beside the buffer (sound_output.h).
    std::unique_ptr<BackendPart> part;

private:
    HRESULT LockRegions(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1, LPVOID* region2,
                        LPDWORD bytes2, DWORD flags);
    bool InsideMemory(const void* region, DWORD bytes) const;
    HRESULT SetControl(PlatformCall call, DWORD control, LONG value, LONG lowest, LONG highest,
                       LONG& setting);

    SoundDevice& device_;
    const int id_;
    const DWORD flags_;
    const WAVEFORMATEX format_;
    std::vector<std::uint8_t> memory_;
    ULONG refs_ = 1;
    DWORD position_ = 0;
    bool playing_ = false;
    bool looping_ = false;
    LONG volume_ = DSBVOLUME_MAX;
    LONG pan_ = DSBPAN_CENTER;
};

// The DirectSound object and the buffers made from it.
class SoundDevice final : public IDirectSound {
public:
    ~SoundDevice();

    ULONG Release() override;
    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, IDirectSoundBuffer** buffer,
                              IUnknown* outer) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

    bool Alive() const { return refs_ > 0; }
    // Guards the list of buffers and their play state.
    std::mutex& Mutex() { return mutex_; }
    // The live buffers, oldest first; read with the mutex held.
    const std::vector<std::unique_ptr<SoundBuffer>>& Buffers() const { return buffers_; }
    // Frees a buffer whose last reference went.
    void Forget(SoundBuffer* buffer);

    // The backend's own beside the device (sound_output.h); it goes before the buffers.
    std::unique_ptr<BackendPart> part;

private:
    ULONG refs_ = 1;
    std::mutex mutex_;
    std::vector<std::unique_ptr<SoundBuffer>> buffers_;
};

// Every device made since the last reset, oldest first, released ones included.
const std::vector<std::unique_ptr<SoundDevice>>& SoundDevices();
// The live buffers of every device, oldest first.
std::vector<SoundBuffer*> LiveSoundBuffers();
// Ends every device and buffer: a new machine has none.
void ResetDirectSound();

}  // namespace platform
