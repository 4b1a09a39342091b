// Presented frames as PNG pictures: 8-bit RGB, each channel widened from its
// bit count in the frame's masks by repeating its top bits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/display_control.h"

namespace replay {

// An 8-bit RGB picture, rows of width * 3 bytes.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// The frame as the player's screen shows it.
RgbPicture ToRgb(const headless::Frame& frame);

// Writes the picture as a PNG file; false with a reason on failure.
bool WritePng(const std::string& path, const RgbPicture& picture, std::string& error);
// Reads an 8-bit RGB or RGBA PNG (alpha dropped); false with a reason otherwise.
bool ReadPng(const std::string& path, RgbPicture& picture, std::string& error);

}  // namespace replay
