// The mixed sound of a replay: a checksum to compare runs by, and a WAV file to
// listen to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// CRC-32 (the polynomial of zip and PNG) of the samples as little-endian bytes.
std::uint32_t SoundChecksum(const std::vector<std::int16_t>& samples);

// Writes interleaved 16-bit stereo samples as a PCM WAV file at `rate` frames
// per second. On failure returns false and sets error.
bool WriteStereoWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate,
                    std::string& error);

}  // namespace replay
