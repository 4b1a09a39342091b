// What each draw routine does to one destination pixel. The plain row loops use
// these for every pixel; a faster loop uses them for the pixels at the ends of
// a row that it cannot handle in bulk, so both give the same words.
#pragma once

#include <cstdint>

#include "display/pixel_format.h"

// The display masks, read once per draw call instead of once per pixel.
struct ChannelMasks {
    std::int32_t red;
    std::int32_t green;
    std::int32_t blue;
};

inline ChannelMasks CurrentMasks() {
    return {RedMask, GreenMask, BlueMask};
}

// Colour key: the word 0 is transparent.
inline std::uint16_t MaskedPixel(std::uint16_t dst, std::uint16_t src) {
    return src != 0 ? src : dst;
}

// Premultiplied blend. keep is the stored complement of alpha, the weight the
// destination keeps; 255 leaves the destination alone. Each destination channel
// is scaled by keep / 256 and the source is added without saturation: a source
// premultiplied by alpha and a destination scaled by 255 - alpha never overflow a
// channel.
inline std::uint16_t AlphaPixel(std::uint16_t dst, std::uint16_t src, std::uint8_t keep,
                                const ChannelMasks& m) {
    if (keep == 255) return dst;
    const std::int32_t d = dst;
    std::int32_t out = ((d & m.blue) * keep) >> 8;
    out |= (((d & m.green) * keep) >> 8) & m.green;
    out |= (((d & m.red) * keep) >> 8) & m.red;
    return static_cast<std::uint16_t>(out + src);
}

// Saturating add per channel. A destination word of exactly 255 is left alone,
// as is a source word of 0.
inline std::uint16_t AdditivePixel(std::uint16_t dst, std::uint16_t src, const ChannelMasks& m) {
    if (dst == 255 || src == 0) return dst;
    std::int32_t sum = (dst & m.blue) + (src & m.blue);
    std::int32_t out = sum > m.blue ? m.blue : sum;
    sum = (dst & m.green) + (src & m.green);
    out |= sum > m.green ? m.green : sum;
    sum = (dst & m.red) + (src & m.red);
    out |= sum > m.red ? m.red : sum;
    return static_cast<std::uint16_t>(out);
}

// Whether each mask is one run of bits (or none) and no two masks share a bit,
// as in every display format: the vector sums then take a shorter way.
inline bool MasksAreFields(const ChannelMasks& m) {
    const auto run = [](std::int32_t mask) {
        const auto bits = static_cast<std::uint32_t>(mask);
        return ((bits + (bits & (0u - bits))) & bits) == 0;
    };
    return run(m.red) && run(m.green) && run(m.blue) && (m.red & m.green) == 0 &&
           (m.red & m.blue) == 0 && (m.green & m.blue) == 0;
}

// Rows of `count` pixels by the rules above.
inline void MaskedPixels(std::uint16_t* dst, const std::uint16_t* src, int count) {
    for (int i = 0; i < count; ++i) dst[i] = MaskedPixel(dst[i], src[i]);
}

inline void AlphaPixels(std::uint16_t* dst, const std::uint16_t* src, const std::uint8_t* keep,
                        int count, const ChannelMasks& m) {
    for (int i = 0; i < count; ++i) dst[i] = AlphaPixel(dst[i], src[i], keep[i], m);
}

inline void AdditivePixels(std::uint16_t* dst, const std::uint16_t* src, int count,
                           const ChannelMasks& m) {
    for (int i = 0; i < count; ++i) dst[i] = AdditivePixel(dst[i], src[i], m);
}
