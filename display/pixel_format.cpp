#include "display/pixel_format.h"

std::int32_t RedMask = 0, GreenMask = 0, BlueMask = 0;
std::int32_t RedShift = 0, GreenShift = 0, BlueShift = 0;
std::int32_t RedBits = 0, GreenBits = 0, BlueBits = 0;

std::int32_t MaskShift(std::uint32_t mask) {
    if (mask == 0) return 0;
    std::int32_t shift = 0;
    while ((mask & 1u) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

std::int32_t MaskBits(std::uint32_t mask) {
    if (mask == 0) return 0;
    mask >>= MaskShift(mask);
    std::int32_t bits = 0;
    while (mask != 0) {
        mask >>= 1;
        ++bits;
    }
    return bits;
}

void SetPixelFormat(std::uint32_t redMask, std::uint32_t greenMask, std::uint32_t blueMask) {
    RedMask = static_cast<std::int32_t>(redMask);
    GreenMask = static_cast<std::int32_t>(greenMask);
    BlueMask = static_cast<std::int32_t>(blueMask);
    RedShift = MaskShift(redMask);
    GreenShift = MaskShift(greenMask);
    BlueShift = MaskShift(blueMask);
    RedBits = MaskBits(redMask);
    GreenBits = MaskBits(greenMask);
    BlueBits = MaskBits(blueMask);
}
