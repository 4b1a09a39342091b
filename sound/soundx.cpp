#include "sound/soundx.h"

#include <algorithm>
#include <cstring>

SoundX::SoundX() = default;

SoundX::~SoundX() = default;

void SoundX::Shorten(float seconds) {
    if (data == nullptr || !(duration > seconds)) return;
    // A negative length is a caller's error; it leaves an empty sound.
    const double kept = std::max(0.0, static_cast<double>(rate) * seconds);
    const std::int32_t newFrames = std::min(static_cast<std::int32_t>(kept), frames);
    const std::int32_t newLength = std::max((bits / 8) * channels * newFrames, 0);

    auto shorter = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(newLength));
    std::memcpy(shorter.get(), data.get(), static_cast<std::size_t>(std::min(newLength, length)));
    data = std::move(shorter);
    length = newLength;
    frames = newFrames;
    duration = std::max(seconds, 0.0f);
    changed = 1;
}
