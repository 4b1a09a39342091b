#include <algorithm>

#include "platform/common/dsound_objects.h"
#include "platform/common/platform_call.h"

namespace platform {
namespace {

using Call = PlatformCall;
using Guard = std::lock_guard<std::mutex>;

}  // namespace

SoundBuffer::SoundBuffer(SoundDevice& device, int id, const DSBUFFERDESC& desc)
    : device_(device),
      id_(id),
      flags_(desc.dwFlags),
      format_(*desc.lpwfxFormat),
      // A new DirectSound buffer holds silence in its format.
      memory_(desc.dwBufferBytes, desc.lpwfxFormat->wBitsPerSample == 8 ? 0x80 : 0x00) {}

ULONG SoundBuffer::Release() {
    const ULONG left = --refs_;
    Note(Call::SoundRelease, {id_, left}, "", 0);
    // Destroys this buffer: nothing may touch a member afterwards.
    if (left == 0) device_.Forget(this);
    return left;
}

void SoundBuffer::Finish() {
    playing_ = false;
    position_ = 0;
}

HRESULT SoundBuffer::GetCaps(LPDSBCAPS caps) {
    return Answer(Call::GetCaps, {id_, caps != nullptr ? static_cast<long long>(caps->dwSize) : -1},
                  "", [&] {
                      if (caps == nullptr || caps->dwSize != sizeof(DSBCAPS))
                          return DSERR_INVALIDPARAM;
                      caps->dwFlags = flags_;
                      caps->dwBufferBytes = static_cast<DWORD>(memory_.size());
                      caps->dwUnlockTransferRate = 0;
                      caps->dwPlayCpuOverhead = 0;
                      return DS_OK;
                  });
}

HRESULT SoundBuffer::GetStatus(LPDWORD status) {
    return Answer(Call::SoundGetStatus, {id_}, "", [&] {
        if (status == nullptr) return DSERR_INVALIDPARAM;
        const Guard guard(device_.Mutex());
        *status = playing_ ? DSBSTATUS_PLAYING : 0;
        return DS_OK;
    });
}

HRESULT SoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1,
                          LPVOID* region2, LPDWORD bytes2, DWORD flags) {
    // A failed lock hands out no region, so a caller that writes anyway is caught.
    if (region1 != nullptr) *region1 = nullptr;
    if (bytes1 != nullptr) *bytes1 = 0;
    if (region2 != nullptr) *region2 = nullptr;
    if (bytes2 != nullptr) *bytes2 = 0;
    return Answer(Call::SoundLock, {id_, offset, bytes, flags}, "", [&] {
        return LockRegions(offset, bytes, region1, bytes1, region2, bytes2, flags);
    });
}

// The buffer is a ring: a lock running past its end goes on at its start, in
// the second region.
HRESULT SoundBuffer::LockRegions(DWORD offset, DWORD bytes, LPVOID* region1, LPDWORD bytes1,
                                 LPVOID* region2, LPDWORD bytes2, DWORD flags) {
    const DWORD size = static_cast<DWORD>(memory_.size());
    if (region1 == nullptr || bytes1 == nullptr || flags != 0 || offset >= size || bytes == 0 ||
        bytes > size)
        return DSERR_INVALIDPARAM;
    const DWORD first = std::min(bytes, size - offset);
    const bool wraps = first < bytes;
    if (wraps && (region2 == nullptr || bytes2 == nullptr)) return DSERR_INVALIDPARAM;
    *region1 = memory_.data() + offset;
    *bytes1 = first;
    if (wraps) {
        *region2 = memory_.data();
        *bytes2 = bytes - first;
    }
    return DS_OK;
}

bool SoundBuffer::InsideMemory(const void* region, DWORD bytes) const {
    const auto* start = memory_.data();
    const auto* at = static_cast<const std::uint8_t*>(region);
    if (at < start || at > start + memory_.size()) return false;
    return bytes <= static_cast<DWORD>(start + memory_.size() - at);
}

HRESULT SoundBuffer::Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) {
    const bool mine = region1 != nullptr && InsideMemory(region1, bytes1) &&
                      (region2 == nullptr || InsideMemory(region2, bytes2));
    // Recorded by where the first region starts in the buffer, -1 when it is not the buffer's.
    const long long offset = mine ? static_cast<const std::uint8_t*>(region1) - memory_.data() : -1;
    return Answer(Call::SoundUnlock, {id_, offset, bytes1, bytes2}, "", [&] {
        if (!mine) return DSERR_INVALIDPARAM;
        TheSoundOutput().Written(*this);
        return DS_OK;
    });
}

HRESULT SoundBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    return Answer(Call::SoundPlay, {id_, reserved, priority, flags}, "", [&] {
        if (reserved != 0 || priority != 0 || (flags & ~DWORD{DSBPLAY_LOOPING}) != 0)
            return DSERR_INVALIDPARAM;
        const Guard guard(device_.Mutex());
        playing_ = true;
        looping_ = (flags & DSBPLAY_LOOPING) != 0;
        return DS_OK;
    });
}

HRESULT SoundBuffer::SetCurrentPosition(DWORD position) {
    return Answer(Call::SoundSetPosition, {id_, position}, "", [&] {
        if (position >= memory_.size()) return DSERR_INVALIDPARAM;
        const Guard guard(device_.Mutex());
        // The play cursor always stands on a frame boundary.
        position_ = position - position % format_.nBlockAlign;
        TheSoundOutput().Moved(*this);
        return DS_OK;
    });
}

HRESULT SoundBuffer::SetVolume(LONG volume) {
    return SetControl(Call::SoundSetVolume, DSBCAPS_CTRLVOLUME, volume, DSBVOLUME_MIN,
                      DSBVOLUME_MAX, volume_);
}

HRESULT SoundBuffer::SetPan(LONG pan) {
    return SetControl(Call::SoundSetPan, DSBCAPS_CTRLPAN, pan, DSBPAN_LEFT, DSBPAN_RIGHT, pan_);
}

// A control works only where the buffer was made with its flag, and only in its range.
HRESULT SoundBuffer::SetControl(PlatformCall call, DWORD control, LONG value, LONG lowest,
                                LONG highest, LONG& setting) {
    return Answer(call, {id_, value}, "", [&] {
        if ((flags_ & control) == 0) return DSERR_CONTROLUNAVAIL;
        if (value < lowest || value > highest) return DSERR_INVALIDPARAM;
        const Guard guard(device_.Mutex());
        setting = value;
        return DS_OK;
    });
}

HRESULT SoundBuffer::Stop() {
    return Answer(Call::SoundStop, {id_}, "", [&] {
        const Guard guard(device_.Mutex());
        playing_ = false;
        return DS_OK;
    });
}

// The memory is the program's own: it is never lost.
HRESULT SoundBuffer::Restore() {
    return Answer(Call::SoundRestore, {id_}, "", [] { return DS_OK; });
}

}  // namespace platform
