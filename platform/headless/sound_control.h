/// @file
/// Controls of the headless DirectSound: the buffers the engine created, what
/// they hold and how they play, and a mixer that renders them on request.
/// Playing a buffer advances nothing until a test asks MixSound for frames, so
/// sound tests are deterministic.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/platform.h"

namespace headless {

/// What a headless sound buffer holds and how it plays.
struct SoundBufferInfo {
    int id = 0;       ///< 1 for the first buffer since Reset, then 2, ...; 0: no such buffer
    DWORD flags = 0;  ///< its DSBCAPS_* flags
    WAVEFORMATEX format = {};        ///< the samples' format
    std::vector<std::uint8_t> data;  ///< the buffer's bytes
    DWORD position = 0;              ///< play position in bytes
    bool playing = false;            ///< playing now
    bool looping = false;            ///< playing round and round
    LONG volume = 0;                 ///< hundredths of a decibel, 0 = full volume
    LONG pan = 0;                    ///< hundredths of a decibel, negative = left
};

/// Buffers that have not been released, oldest first.
std::vector<IDirectSoundBuffer*> SoundBuffers();
/// The state of one buffer; id 0 if it is not a live headless buffer.
SoundBufferInfo DescribeSoundBuffer(const IDirectSoundBuffer* buffer);
/// The id of a buffer (as in its call records' first argument), 0 if unknown.
int SoundBufferId(const IDirectSoundBuffer* buffer);

/// Renders `frames` frames of 16-bit stereo at `rate` frames per second from
/// every playing buffer (interleaved left, right) and advances their play
/// positions. Each buffer contributes its sample at its position scaled by its
/// volume and pan; a buffer of another rate is stepped by nearest sample. A
/// buffer that is not looping stops at its end and rewinds to the start.
std::vector<std::int16_t> MixSound(int frames, int rate);
/// DirectSound device objects created and not yet released.
int LiveSoundDevices();

}  // namespace headless
