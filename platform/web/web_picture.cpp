#include "platform/web/web_picture.h"

namespace web {

void ToRgba(const std::uint16_t* pixels, int width, int height, int pitchBytes,
            std::vector<std::uint32_t>& out) {
    out.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::uint32_t* to = out.data();
    const auto* row = reinterpret_cast<const unsigned char*>(pixels);
    for (int y = 0; y < height; ++y, row += pitchBytes) {
        const auto* from = reinterpret_cast<const std::uint16_t*>(row);
        for (int x = 0; x < width; ++x) *to++ = RgbaOf(from[x]);
    }
}

}  // namespace web
