// The mixer that plays the shared DirectSound buffers (dsound_objects.h) on
// every backend that mixes them itself, so a sound comes out alike on each:
// the headless backend mixes when a test asks, the browser's when its sound
// device or a scripted run does.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/common/dsound_objects.h"

namespace platform {

// For a backend's SoundOutput: Made gives the buffer the mixer's place in it,
// Moved puts that place back to the start of the buffer's new frame.
void StartMixing(SoundBuffer& buffer);
void PositionMoved(SoundBuffer& buffer);

// Renders `frames` frames of 16-bit stereo at `rate` frames a second from every
// playing buffer (interleaved left, right) and moves their play positions on.
// Each buffer adds its sample at its position scaled by its volume and pan; a
// buffer of another rate is stepped by nearest sample. A buffer that is not
// looping stops at its end and rewinds to the start. Empty for a count or rate
// below 1. Takes each buffer's device mutex while it reads it.
std::vector<std::int16_t> MixLiveBuffers(int frames, int rate);

}  // namespace platform
