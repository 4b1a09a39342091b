// The display pixel format, set from the back surface's masks at start-up and
// read by the image and drawing code.
#pragma once

#include <cstdint>

extern std::int32_t RedMask, GreenMask, BlueMask;
extern std::int32_t RedShift, GreenShift, BlueShift;
extern std::int32_t RedBits, GreenBits, BlueBits;

// Index of the mask's lowest one bit; 0 for a zero mask.
std::int32_t MaskShift(std::uint32_t mask);
// Length of the mask's run of ones; 0 for a zero mask.
std::int32_t MaskBits(std::uint32_t mask);
// Sets the nine globals from three masks (start-up, tests and tools).
void SetPixelFormat(std::uint32_t redMask, std::uint32_t greenMask, std::uint32_t blueMask);
