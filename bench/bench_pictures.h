// The pictures the draw benchmarks draw, as a file would deliver them, so that
// draw_bench and peer_bench measure the same work.
#pragma once

#include <cstdint>
#include <vector>

// The top bits of each component, as the engine's display-format conversion.
inline std::uint16_t Rgb565(int r, int g, int b) {
    return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// A size x size sprite: a shaded disc covering about 60 % of the square with
// graded coverage inside (R, G, B per pixel, and coverage 0 .. 255), transparent
// around it.
inline void DiscPicture(int size, std::vector<std::uint8_t>& rgb,
                        std::vector<std::uint8_t>& alpha) {
    rgb.assign(static_cast<std::size_t>(size) * size * 3, 0);
    alpha.assign(static_cast<std::size_t>(size) * size, 0);
    const float centre = (size - 1) / 2.0f;
    const float radius = size * 39.3f / 90.0f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int i = y * size + x;
            const float dx = x - centre, dy = y - centre;
            const bool inside = dx * dx + dy * dy <= radius * radius;
            rgb[i * 3 + 0] = static_cast<std::uint8_t>(x * 2 + 40);
            rgb[i * 3 + 1] = static_cast<std::uint8_t>(y * 2 + 40);
            rgb[i * 3 + 2] = static_cast<std::uint8_t>(200 - x - y / 2);
            alpha[i] = inside ? static_cast<std::uint8_t>(255 - (x + y) / 2) : 0;
        }
    }
}

// A patterned size x size background tile in 5:6:5 words.
inline std::vector<std::uint16_t> TilePicture(int size) {
    std::vector<std::uint16_t> words(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            words[static_cast<std::size_t>(y) * size + x] = Rgb565(x * 4, y * 4, (x + y) * 2);
    }
    return words;
}
