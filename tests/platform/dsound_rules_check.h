// DirectSound's rules, checked alike through each backend's own objects (the
// rules live once, in platform/common: sound_buffer_desc.h and dsound_objects.h).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/api/platform.h"
#include "tests/support/sound_bytes.h"

namespace dsoundcheck {

inline DSBUFFERDESC Describe(WAVEFORMATEX* format, DWORD bytes,
                             DWORD flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                                           DSBCAPS_CTRLVOLUME) {
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof(DSBUFFERDESC);
    desc.dwFlags = flags;
    desc.dwBufferBytes = bytes;
    desc.lpwfxFormat = format;
    return desc;
}

// device: a DirectSound object. Each description DirectSound refuses makes
// one call, which answers DirectSound's code and hands out no buffer.
inline void CheckRefusedDescriptions(IDirectSound* device) {
    struct Case {
        const char* what;
        void (*spoil)(DSBUFFERDESC&, WAVEFORMATEX&);
        HRESULT expected;
    };
    const Case cases[] = {
        {"old 20-byte size", [](DSBUFFERDESC& d, WAVEFORMATEX&) { d.dwSize = 20; },
         DSERR_INVALIDPARAM},
        {"unknown flag", [](DSBUFFERDESC& d, WAVEFORMATEX&) { d.dwFlags |= 0x8000; },
         DSERR_INVALIDPARAM},
        {"no format", [](DSBUFFERDESC& d, WAVEFORMATEX&) { d.lpwfxFormat = nullptr; },
         DSERR_INVALIDPARAM},
        {"float samples", [](DSBUFFERDESC&, WAVEFORMATEX& f) { f.wFormatTag = 3; },
         DSERR_BADFORMAT},
        {"no channels",
         [](DSBUFFERDESC&, WAVEFORMATEX& f) {
             f.nChannels = 0;
             f.nBlockAlign = 0;
             f.nAvgBytesPerSec = 0;
         },
         DSERR_BADFORMAT},
        {"24-bit samples",
         [](DSBUFFERDESC&, WAVEFORMATEX& f) {
             f.wBitsPerSample = 24;
             f.nBlockAlign = 6;
             f.nAvgBytesPerSec = 6 * 11025;
         },
         DSERR_BADFORMAT},
        {"block alignment off", [](DSBUFFERDESC&, WAVEFORMATEX& f) { f.nBlockAlign = 2; },
         DSERR_BADFORMAT},
        {"rate 0",
         [](DSBUFFERDESC&, WAVEFORMATEX& f) {
             f.nSamplesPerSec = 0;
             f.nAvgBytesPerSec = 0;
         },
         DSERR_BADFORMAT},
        {"no bytes", [](DSBUFFERDESC& d, WAVEFORMATEX&) { d.dwBufferBytes = 0; },
         DSERR_INVALIDPARAM},
        {"partial frame", [](DSBUFFERDESC& d, WAVEFORMATEX&) { d.dwBufferBytes = 4002; },
         DSERR_INVALIDPARAM},
    };
    for (const Case& c : cases) {
        WAVEFORMATEX format = testsupport::Pcm(11025, 16, 2);
        DSBUFFERDESC desc = Describe(&format, 4000);
        c.spoil(desc, format);
        IDirectSoundBuffer* buffer = reinterpret_cast<IDirectSoundBuffer*>(&desc);
        EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), c.expected) << c.what;
        EXPECT_EQ(buffer, nullptr) << c.what;
    }
}

// device: a DirectSound object. Refused descriptions and requests hand out no
// buffer; the device's level takes any window.
inline void CheckCreationRules(IDirectSound* device) {
    EXPECT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(device->SetCooperativeLevel(nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(device->SetCooperativeLevel(nullptr, 5), DSERR_INVALIDPARAM);
    CheckRefusedDescriptions(device);
    WAVEFORMATEX format = testsupport::Pcm(11025, 8, 1);
    DSBUFFERDESC desc = Describe(&format, 3);
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DSERR_INVALIDPARAM)
        << "three bytes";
    desc.dwBufferBytes = 8;
    EXPECT_EQ(device->CreateSoundBuffer(&desc, nullptr, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, reinterpret_cast<IUnknown*>(&desc)),
              DSERR_INVALIDPARAM)
        << "an outer object";
}

// buffer: 8 bytes, unlocked. Its memory is a ring that Lock hands out in one
// or two regions; a lock past it, too long or empty, or wrapping with no second
// region is refused and hands out nothing, and so is unlocking memory not its own.
inline void CheckLockRing(IDirectSoundBuffer* buffer) {
    LPVOID first = nullptr;
    LPVOID second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    ASSERT_EQ(buffer->Lock(6, 4, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(firstBytes, 2u);
    EXPECT_EQ(secondBytes, 2u);
    EXPECT_EQ(static_cast<std::uint8_t*>(first) - static_cast<std::uint8_t*>(second), 6);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    EXPECT_EQ(buffer->Lock(8, 1, &first, &firstBytes, &second, &secondBytes, 0),
              DSERR_INVALIDPARAM);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(buffer->Lock(0, 9, &first, &firstBytes, &second, &secondBytes, 0),
              DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, 0),
              DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(6, 4, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    std::uint8_t elsewhere[8];
    EXPECT_EQ(buffer->Unlock(elsewhere, 8, nullptr, 0), DSERR_INVALIDPARAM);
}

// device: a DirectSound object. A new buffer holds silence and its memory is
// a ring (CheckLockRing); its controls need their flags and stay in range.
inline void CheckBufferRules(IDirectSound* device) {
    WAVEFORMATEX format = testsupport::Pcm(11025, 8, 1);
    DSBUFFERDESC desc = Describe(&format, 8);
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    LPVOID memory = nullptr;
    DWORD bytes = 0;
    ASSERT_EQ(buffer->Lock(0, 8, &memory, &bytes, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(static_cast<std::uint8_t*>(memory)[7], 0x80) << "8-bit silence is 128";
    EXPECT_EQ(buffer->Unlock(memory, bytes, nullptr, 0), DS_OK);
    CheckLockRing(buffer);

    EXPECT_EQ(buffer->SetCurrentPosition(8), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetCurrentPosition(7), DS_OK);
    EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(DSBVOLUME_MIN - 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetPan(DSBPAN_RIGHT + 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(0, 1, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(1, 0, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Play(0, 0, 2), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->GetStatus(nullptr), DSERR_INVALIDPARAM);
    DSBCAPS caps = {};
    EXPECT_EQ(buffer->GetCaps(&caps), DSERR_INVALIDPARAM) << "an unsized DSBCAPS";
    EXPECT_EQ(buffer->Release(), 0u);

    IDirectSoundBuffer* plain = nullptr;
    desc = Describe(&format, 8, 0);
    ASSERT_EQ(device->CreateSoundBuffer(&desc, &plain, nullptr), DS_OK);
    EXPECT_EQ(plain->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->SetPan(100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->Release(), 0u);
}

}  // namespace dsoundcheck
