#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

#include "shell/windx.h"
#include "sound/soundx.h"

namespace {

// Every buffer is created with volume, pan and frequency controls.
constexpr DWORD kSoundBufferFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
constexpr int kSoundTableStep = 10;
constexpr int kMaxRestores = 10;

// The buffer of a registered sound, or null if it has none (never registered,
// or its creation failed and was reported).
IDirectSoundBuffer* BufferOf(const WinDX& engine, const SoundX* sound) {
    const int slot = sound->GetSlot();
    if (slot < 0 || slot >= engine.soundCount) return nullptr;
    return engine.soundBuffers[slot];
}

// A DirectSound level (hundredths of a decibel) from a scaled float, truncated
// toward zero. Computed in double: a float 0.3 is slightly above 0.3 and must
// give -3499, not the -3500 that float rounding would produce. Values far out
// of range are pinned to the 32-bit range; DirectSound refuses them either way.
LONG TruncatedLevel(double value) {
    constexpr double kLow = std::numeric_limits<LONG>::min();
    constexpr double kHigh = std::numeric_limits<LONG>::max();
    if (std::isnan(value) || value <= kLow) return std::numeric_limits<LONG>::min();
    if (value >= kHigh) return std::numeric_limits<LONG>::max();
    return static_cast<LONG>(value);
}

// The status that a failed lock of a sound buffer reports; 0 keeps the current one.
int LockFailureStatus(HRESULT result) {
    switch (result) {
        case DSERR_BUFFERLOST:
            return SOUNDLOST_FAIL;
        case DSERR_INVALIDCALL:
            return SOUNDINVALID_FAIL;
        case DSERR_INVALIDPARAM:
            return SOUNDPARAM_FAIL;
        case DSERR_PRIOLEVELNEEDED:
            return SOUNDPRIORITY_FAIL;
        default:
            return 0;
    }
}

// The format every buffer is created in: the first sound's.
WAVEFORMATEX BufferFormat(int channels, int bits, int rate) {
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = static_cast<WORD>(bits);
    format.nBlockAlign = static_cast<WORD>((bits / 8) * channels);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    format.cbSize = 0;
    return format;
}

// The description of a buffer holding all of a sound's frames in the format.
DSBUFFERDESC BufferDescription(const SoundX& sound, WAVEFORMATEX& format) {
    // The structure's own size: the 64-bit DSBUFFERDESC is larger than 20 bytes.
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof(DSBUFFERDESC);
    desc.dwFlags = kSoundBufferFlags;
    const std::uint64_t bytes =
        static_cast<std::uint64_t>(std::max(sound.GetFrames(), 0)) * format.nBlockAlign;
    desc.dwBufferBytes =
        static_cast<DWORD>(std::min<std::uint64_t>(bytes, std::numeric_limits<DWORD>::max()));
    desc.lpwfxFormat = &format;
    return desc;
}

// Room for kSoundTableStep more sounds and their buffers.
void GrowSoundTable(WinDX& engine) {
    const int capacity = engine.soundCapacity + kSoundTableStep;
    auto grownSounds = std::make_unique<SoundX*[]>(capacity);
    auto grownBuffers = std::make_unique<IDirectSoundBuffer*[]>(capacity);
    if (engine.soundCount > 0) {
        std::copy_n(engine.sounds.get(), engine.soundCount, grownSounds.get());
        std::copy_n(engine.soundBuffers.get(), engine.soundCount, grownBuffers.get());
    }
    engine.sounds = std::move(grownSounds);
    engine.soundBuffers = std::move(grownBuffers);
    engine.soundCapacity = capacity;
}

}  // namespace

int WinDX::AddSound(SoundX* sound) {
    if (soundCount == soundCapacity) GrowSoundTable(*this);
    sounds[soundCount] = sound;

    // The first sound fixes the format of every buffer; a later one that differs
    // is reported once per differing value and still gets a buffer in that format.
    if (soundCount == 0) {
        soundChannels = sound->GetChannels();
        soundBits = sound->GetBits();
        soundRate = sound->GetRate();
    } else {
        if (sound->GetChannels() != soundChannels) RaiseError(SOUNDMATCH_FAILED);
        if (sound->GetBits() != soundBits) RaiseError(SOUNDMATCH_FAILED);
        if (sound->GetRate() != soundRate) RaiseError(SOUNDMATCH_FAILED);
    }

    soundBuffers[soundCount] = nullptr;
    // A game without sound has no device: its sounds get no buffer and play nothing.
    if (!soundWanted) {
        ++soundCount;
        return soundCount - 1;
    }
    WAVEFORMATEX format = BufferFormat(soundChannels, soundBits, soundRate);
    const DSBUFFERDESC desc = BufferDescription(*sound, format);
    IDirectSoundBuffer* created = nullptr;
    const HRESULT result = directSound != nullptr
                               ? directSound->CreateSoundBuffer(&desc, &created, nullptr)
                               : DSERR_NODRIVER;
    if (FAILED(result))
        RaiseError(SOUNDCREATE_FAILED);
    else
        soundBuffers[soundCount] = created;

    ++soundCount;
    return soundCount - 1;
}

void WinDX::UploadSound(SoundX* sound) {
    if (sound == nullptr) return;
    if (sound->GetSlot() == -1) sound->SetSlot(AddSound(sound));
    IDirectSoundBuffer* buffer = BufferOf(*this, sound);
    // No buffer: its creation failed and was reported when the sound was added.
    if (buffer == nullptr) return;

    // The caps record's own size, as with the buffer description.
    DSBCAPS caps = {};
    caps.dwSize = sizeof(DSBCAPS);
    if (buffer->GetCaps(&caps) != DS_OK) {
        // Without the caps the buffer's length is unknown: nothing is copied, and
        // the sound stays marked changed so the next play tries again.
        RaiseError(SOUNDCAPS_FAILED);
        return;
    }

    const std::int64_t frameBytes =
        static_cast<std::int64_t>(sound->GetBits() / 8) * sound->GetChannels();
    if (frameBytes == 0 ||
        static_cast<std::int64_t>(caps.dwBufferBytes) / frameBytes != sound->GetFrames())
        RaiseError(SOUNDBUFLEN_FAILED);

    LPVOID region1 = nullptr;
    LPVOID region2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    HRESULT result = buffer->Lock(0, caps.dwBufferBytes, &region1, &bytes1, &region2, &bytes2, 0);
    for (int restores = 0; result == DSERR_BUFFERLOST && restores < kMaxRestores; ++restores) {
        buffer->Restore();
        result = buffer->Lock(0, caps.dwBufferBytes, &region1, &bytes1, &region2, &bytes2, 0);
    }
    if (FAILED(result)) {
        // The regions are not valid: nothing is copied and the sound stays
        // marked changed, so the next play tries again.
        const int failure = LockFailureStatus(result);
        if (failure != 0) status = failure;
        ReportError();
        return;
    }

    // frames x channels samples in their stored order, bytes for 8-bit sounds and
    // 16-bit words otherwise, never past the sound's data or the locked region.
    const std::int64_t sampleBytes = sound->GetBits() <= 8 ? 1 : 2;
    std::int64_t copy = static_cast<std::int64_t>(std::max(sound->GetFrames(), 0)) *
                        sound->GetChannels() * sampleBytes;
    copy = std::min<std::int64_t>(copy, std::max(sound->GetLength(), 0));
    copy = std::min<std::int64_t>(copy, bytes1);
    if (copy > 0 && sound->GetData() != nullptr && region1 != nullptr)
        std::memcpy(region1, sound->GetData(), static_cast<std::size_t>(copy));

    buffer->Unlock(region1, bytes1, region2, bytes2);
    sound->SetChanged(0);
}

void WinDX::PlaySound(SoundX* sound, int resume) {
    if (sound == nullptr) return;
    if (sound->NeedsUpload()) UploadSound(sound);
    IDirectSoundBuffer* buffer = BufferOf(*this, sound);
    if (buffer == nullptr) return;
    if (resume == 0) buffer->SetCurrentPosition(0);
    buffer->Play(0, 0, 0);
}

void WinDX::PlaySoundEx(SoundX* sound, int resume, float volume, float pan) {
    if (sound == nullptr) return;
    if (sound->NeedsUpload()) UploadSound(sound);
    IDirectSoundBuffer* buffer = BufferOf(*this, sound);
    if (buffer == nullptr) return;
    if (resume == 0) buffer->SetCurrentPosition(0);
    // 1.0 is full volume (0), 0.0 is -50 dB; pan -1.0 is left only, 1.0 right only.
    buffer->SetVolume(TruncatedLevel(static_cast<double>(volume) * 5000.0 - 5000.0));
    buffer->SetPan(TruncatedLevel(static_cast<double>(pan) * 10000.0));
    buffer->Play(0, 0, 0);
}

void WinDX::RewindSound(SoundX* sound) {
    if (sound == nullptr) return;
    if (sound->NeedsUpload()) UploadSound(sound);
    IDirectSoundBuffer* buffer = BufferOf(*this, sound);
    if (buffer != nullptr) buffer->SetCurrentPosition(0);
}

void WinDX::StopSound(SoundX* sound) {
    // A sound never played has no buffer: nothing to stop, nothing is created.
    if (sound == nullptr || sound->GetSlot() < 0) return;
    IDirectSoundBuffer* buffer = BufferOf(*this, sound);
    if (buffer != nullptr) buffer->Stop();
}
