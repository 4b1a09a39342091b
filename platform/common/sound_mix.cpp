#include "platform/common/sound_mix.h"

#include <cmath>

namespace soundmix {

double DecibelGain(long hundredthsOfDb) {
    if (hundredthsOfDb >= 0) return 1.0;
    return std::pow(10.0, static_cast<double>(hundredthsOfDb) / 2000.0);
}

StereoGain BufferGains(long volume, long pan) {
    const long leftDb = volume - (pan > 0 ? pan : 0);
    const long rightDb = volume + (pan < 0 ? pan : 0);
    return {DecibelGain(leftDb), DecibelGain(rightDb)};
}

}  // namespace soundmix
