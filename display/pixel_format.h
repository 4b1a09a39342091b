/// @file
/// The display pixel format, set from the back surface's masks at start-up and
/// read by the image and drawing code.
#pragma once

#include <cstdint>

///@{
/// The back surface's bit masks of red, green and blue: 0xF800, 0x07E0, 0x001F
/// on a 5:6:5 display, 0x7C00, 0x03E0, 0x001F on a 5:5:5 one.
extern std::int32_t RedMask, GreenMask, BlueMask;
///@}
///@{
/// The index of each mask's lowest one bit: 11, 5, 0 (5:6:5) or 10, 5, 0 (5:5:5).
extern std::int32_t RedShift, GreenShift, BlueShift;
///@}
///@{
/// The length of each mask's run of ones: 5, 6, 5 or 5, 5, 5. A channel value
/// is (word & mask) >> shift, from 0 to 2^bits - 1.
extern std::int32_t RedBits, GreenBits, BlueBits;
///@}

/// Index of the mask's lowest one bit; 0 for a zero mask.
std::int32_t MaskShift(std::uint32_t mask);
/// Length of the mask's run of ones; 0 for a zero mask.
std::int32_t MaskBits(std::uint32_t mask);
/// Sets the nine globals from three masks (start-up, tests and tools).
void SetPixelFormat(std::uint32_t redMask, std::uint32_t greenMask, std::uint32_t blueMask);
