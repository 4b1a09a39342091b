// The headless DirectSound buffer and its creation, shared by the DirectSound
// object, the mixer and the controls.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/platform.h"

namespace headless::detail {

// A secondary buffer: memory with a play position, volume and pan. Owned by
// the headless sound system until its last Release or the next Reset.
class SoundBuffer final : public IDirectSoundBuffer {
public:
    SoundBuffer(int id, const DSBUFFERDESC& desc);

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

    // Steps the play position by one frame; a one-shot buffer that reaches its
    // end stops and rewinds.
    void AdvanceFrame();

    const int id;
    const DWORD flags;
    const WAVEFORMATEX format;
    std::vector<std::uint8_t> memory;
    DWORD position = 0;
    bool playing = false;
    bool looping = false;
    LONG volume = DSBVOLUME_MAX;
    LONG pan = DSBPAN_CENTER;
    // Output frames owed toward the next source frame when the mixer's rate
    // differs from the buffer's (in units of 1 / mixer rate).
    std::uint64_t phase = 0;

private:
    ULONG refs_ = 1;
};

// Checks a buffer description the way DirectSound does (structure size, flags,
// PCM format, byte count) and creates the buffer.
HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, IDirectSoundBuffer** buffer);

// The live buffers, oldest first.
const std::vector<SoundBuffer*>& LiveSoundBuffers();
// Frees every buffer, released or not (a new machine has none).
void ResetSoundBuffers();

}  // namespace headless::detail
