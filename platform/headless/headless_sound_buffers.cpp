#include "platform/headless/headless_sound_buffers.h"

#include <algorithm>
#include <memory>

#include "platform/common/sound_buffer_desc.h"
#include "platform/headless/control.h"
#include "platform/headless/headless_reset_parts.h"

namespace headless {
namespace detail {
namespace {

struct SoundSystem {
    std::vector<std::unique_ptr<SoundBuffer>> owned;
    std::vector<SoundBuffer*> live;
    int nextId = 1;
};

SoundSystem& Sound() {
    static SoundSystem system;
    return system;
}

std::vector<long long> DescriptionArgs(LPCDSBUFFERDESC desc) {
    if (desc == nullptr) return {};
    std::vector<long long> args = {desc->dwSize, desc->dwFlags, desc->dwBufferBytes};
    if (desc->lpwfxFormat != nullptr) {
        const WAVEFORMATEX& f = *desc->lpwfxFormat;
        args.insert(args.end(), {f.wFormatTag, f.nChannels, f.nSamplesPerSec, f.nAvgBytesPerSec,
                                 f.nBlockAlign, f.wBitsPerSample, f.cbSize});
    }
    return args;
}

// Whether [region, region + bytes) lies inside the buffer's memory.
bool InsideMemory(const std::vector<std::uint8_t>& memory, const void* region, DWORD bytes) {
    const auto* start = memory.data();
    const auto* at = static_cast<const std::uint8_t*>(region);
    if (at < start || at > start + memory.size()) return false;
    return bytes <= static_cast<DWORD>(start + memory.size() - at);
}

}  // namespace

SoundBuffer::SoundBuffer(int bufferId, const DSBUFFERDESC& desc)
    : id(bufferId),
      flags(desc.dwFlags),
      format(*desc.lpwfxFormat),
      // A new DirectSound buffer holds silence in its format.
      memory(desc.dwBufferBytes, desc.lpwfxFormat->wBitsPerSample == 8 ? 0x80 : 0x00) {}

ULONG SoundBuffer::Release() {
    const ULONG left = --refs_;
    Record(Op::SoundRelease, {id, left}, "", 0);
    if (left == 0) {
        SoundSystem& system = Sound();
        system.live.erase(std::find(system.live.begin(), system.live.end(), this));
        // Destroys this buffer: nothing may touch a member after the erase.
        system.owned.erase(std::find_if(system.owned.begin(), system.owned.end(),
                                        [this](const auto& owned) { return owned.get() == this; }));
    }
    return left;
}

HRESULT SoundBuffer::GetCaps(LPDSBCAPS caps) {
    long result = DS_OK;
    if (!TakeFault(Op::GetCaps, &result)) {
        if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS)) {
            result = DSERR_INVALIDPARAM;
        } else {
            caps->dwFlags = flags;
            caps->dwBufferBytes = static_cast<DWORD>(memory.size());
            caps->dwUnlockTransferRate = 0;
            caps->dwPlayCpuOverhead = 0;
        }
    }
    Record(Op::GetCaps, {id, caps ? static_cast<long long>(caps->dwSize) : -1}, "", result);
    return static_cast<HRESULT>(result);
}

HRESULT SoundBuffer::GetStatus(LPDWORD status) {
    long result = DS_OK;
    if (!TakeFault(Op::SoundGetStatus, &result)) {
        if (status == nullptr)
            result = DSERR_INVALIDPARAM;
        else
            *status = playing ? DSBSTATUS_PLAYING : 0;
    }
    Record(Op::SoundGetStatus, {id}, "", result);
    return static_cast<HRESULT>(result);
}

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1,
                          LPVOID* region2, LPDWORD bytes2, DWORD lockFlags) {
    // A failed lock hands out no region, so a caller that writes anyway is caught.
    if (region1 != nullptr) *region1 = nullptr;
    if (bytes1 != nullptr) *bytes1 = 0;
    if (region2 != nullptr) *region2 = nullptr;
    if (bytes2 != nullptr) *bytes2 = 0;

    long result = DS_OK;
    const DWORD size = static_cast<DWORD>(memory.size());
    if (!TakeFault(Op::SoundLock, &result)) {
        const DWORD first = offset < size ? std::min(bytes, size - offset) : 0;
        const bool wraps = first < bytes;
        if (region1 == nullptr || bytes1 == nullptr || lockFlags != 0 || offset >= size ||
            bytes == 0 || bytes > size || (wraps && (region2 == nullptr || bytes2 == nullptr))) {
            result = DSERR_INVALIDPARAM;
        } else {
            *region1 = memory.data() + offset;
            *bytes1 = first;
            if (wraps) {
                *region2 = memory.data();
                *bytes2 = bytes - first;
            }
        }
    }
    Record(Op::SoundLock, {id, offset, bytes, lockFlags}, "", result);
    return static_cast<HRESULT>(result);
}

HRESULT SoundBuffer::Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) {
    long result = DS_OK;
    long long offset = -1;
    if (!TakeFault(Op::SoundUnlock, &result)) {
        if (region1 == nullptr || !InsideMemory(memory, region1, bytes1) ||
            (region2 != nullptr && !InsideMemory(memory, region2, bytes2))) {
            result = DSERR_INVALIDPARAM;
        } else {
            offset = static_cast<const std::uint8_t*>(region1) - memory.data();
        }
    }
    Record(Op::SoundUnlock, {id, offset, bytes1, bytes2}, "", result);
    return static_cast<HRESULT>(result);
}

HRESULT SoundBuffer::Play(DWORD reserved, DWORD priority, DWORD playFlags) {
    long result = DS_OK;
    if (!TakeFault(Op::SoundPlay, &result)) {
        if (reserved != 0 || priority != 0 || (playFlags & ~DWORD{DSBPLAY_LOOPING}) != 0) {
            result = DSERR_INVALIDPARAM;
        } else {
            playing = true;
            looping = (playFlags & DSBPLAY_LOOPING) != 0;
        }
    }
    Record(Op::SoundPlay, {id, reserved, priority, playFlags}, "", result);
    return static_cast<HRESULT>(result);
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD newPosition) {
    long result = DS_OK;
    if (!TakeFault(Op::SoundSetPosition, &result)) {
        if (newPosition >= memory.size()) {
            result = DSERR_INVALIDPARAM;
        } else {
            // The play cursor always stands on a frame boundary.
            position = newPosition - newPosition % format.nBlockAlign;
            phase = 0;
        }
    }
    Record(Op::SoundSetPosition, {id, newPosition}, "", result);
    return static_cast<HRESULT>(result);
}

HRESULT SoundBuffer::SetVolume(LONG newVolume) {
    long result = DS_OK;
    if (!TakeFault(Op::SoundSetVolume, &result)) {
        if ((flags & DSBCAPS_CTRLVOLUME) == 0)
            result = DSERR_CONTROLUNAVAIL;
        else if (newVolume < DSBVOLUME_MIN || newVolume > DSBVOLUME_MAX)
            result = DSERR_INVALIDPARAM;
        else
            volume = newVolume;
    }
    Record(Op::SoundSetVolume, {id, newVolume}, "", result);
    return static_cast<HRESULT>(result);
}

HRESULT SoundBuffer::SetPan(LONG newPan) {
    long result = DS_OK;
    if (!TakeFault(Op::SoundSetPan, &result)) {
        if ((flags & DSBCAPS_CTRLPAN) == 0)
            result = DSERR_CONTROLUNAVAIL;
        else if (newPan < DSBPAN_LEFT || newPan > DSBPAN_RIGHT)
            result = DSERR_INVALIDPARAM;
        else
            pan = newPan;
    }
    Record(Op::SoundSetPan, {id, newPan}, "", result);
    return static_cast<HRESULT>(result);
}

HRESULT SoundBuffer::Stop() {
    long result = DS_OK;
    if (!TakeFault(Op::SoundStop, &result)) playing = false;
    Record(Op::SoundStop, {id}, "", result);
    return static_cast<HRESULT>(result);
}

HRESULT SoundBuffer::Restore() {
    long result = DS_OK;
    TakeFault(Op::SoundRestore, &result);
    Record(Op::SoundRestore, {id}, "", result);
    return static_cast<HRESULT>(result);
}

void SoundBuffer::AdvanceFrame() {
    position += format.nBlockAlign;
    if (position < memory.size()) return;
    position = 0;
    if (looping) return;
    playing = false;
    phase = 0;
}

HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, IDirectSoundBuffer** buffer) {
    long result = DS_OK;
    if (buffer != nullptr) *buffer = nullptr;
    if (!TakeFault(Op::CreateSoundBuffer, &result)) {
        result = buffer == nullptr ? DSERR_INVALIDPARAM : soundmix::CheckBufferDescription(desc);
    }
    std::vector<long long> args = DescriptionArgs(desc);
    if (result == DS_OK) {
        SoundSystem& system = Sound();
        auto created = std::make_unique<SoundBuffer>(system.nextId++, *desc);
        *buffer = created.get();
        system.live.push_back(created.get());
        args.push_back(created->id);
        system.owned.push_back(std::move(created));
    }
    Record(Op::CreateSoundBuffer, std::move(args), "", result);
    return static_cast<HRESULT>(result);
}

const std::vector<SoundBuffer*>& LiveSoundBuffers() {
    return Sound().live;
}

void ResetSoundBuffers() {
    Sound() = SoundSystem();
}

}  // namespace detail

std::vector<IDirectSoundBuffer*> SoundBuffers() {
    const auto& live = detail::LiveSoundBuffers();
    return std::vector<IDirectSoundBuffer*>(live.begin(), live.end());
}

int SoundBufferId(const IDirectSoundBuffer* buffer) {
    for (const detail::SoundBuffer* live : detail::LiveSoundBuffers())
        if (live == buffer) return live->id;
    return 0;
}

SoundBufferInfo DescribeSoundBuffer(const IDirectSoundBuffer* buffer) {
    SoundBufferInfo info;
    for (const detail::SoundBuffer* live : detail::LiveSoundBuffers()) {
        if (live != buffer) continue;
        info.id = live->id;
        info.flags = live->flags;
        info.format = live->format;
        info.data = live->memory;
        info.position = live->position;
        info.playing = live->playing;
        info.looping = live->looping;
        info.volume = live->volume;
        info.pan = live->pan;
    }
    return info;
}

}  // namespace headless
