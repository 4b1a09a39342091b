// Sound formats and samples as DirectSound and WAV files hold them.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/api/platform.h"

namespace testsupport {

// A PCM format of `channels` channels of `bits`-bit samples at `rate` frames a
// second, with its block alignment and byte rate.
WAVEFORMATEX Pcm(int rate, int bits, int channels);
// Little-endian bytes of 16-bit samples.
std::vector<std::uint8_t> Words(const std::vector<int>& samples);

}  // namespace testsupport
