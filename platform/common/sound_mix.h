// Per-sample arithmetic of the DirectSound mixers: sample decoding, volume and
// pan gains, accumulation and clamping. Every backend mixes with these, so a
// buffer sounds the same whichever backend plays it.
#pragma once

#include <cmath>
#include <cstdint>

namespace soundmix {

// Left and right gains of one buffer, each 0..1.
struct StereoGain {
    double left;
    double right;
};

// Gain of an attenuation in hundredths of a decibel (0 or below): 10^(db/2000).
double DecibelGain(long hundredthsOfDb);

// Gains of a buffer's volume (hundredths of a decibel, -10000..0) and pan
// (-10000..10000). A negative pan attenuates the right channel by |pan|
// hundredths of a decibel, a positive pan the left one, as DirectSound does.
StereoGain BufferGains(long volume, long pan);

// One sample of a PCM frame as a signed 16-bit value. 8-bit samples are
// unsigned around 128 and widened to 16 bits; 16-bit samples are signed
// little-endian. bits is 8 or 16.
inline std::int32_t ReadSample(const std::uint8_t* sample, int bits) {
    if (bits == 8) return (static_cast<std::int32_t>(sample[0]) - 128) * 256;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(sample[0] | (sample[1] << 8)));
}

// A sample scaled by a gain, rounded to nearest (halves away from zero).
inline std::int32_t Scale(std::int32_t sample, double gain) {
    return static_cast<std::int32_t>(std::lround(sample * gain));
}

// Adds one stereo frame, scaled by the buffer's gains, to a mix accumulator of
// two int32 values (left, right).
inline void AddFrame(std::int32_t* mix, std::int32_t left, std::int32_t right, StereoGain gain) {
    mix[0] += Scale(left, gain.left);
    mix[1] += Scale(right, gain.right);
}

// The accumulated sum of several buffers as a 16-bit output sample.
inline std::int16_t ClampToS16(std::int32_t value) {
    if (value > 32767) return 32767;
    if (value < -32768) return -32768;
    return static_cast<std::int16_t>(value);
}

}  // namespace soundmix
