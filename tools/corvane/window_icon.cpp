#include "tools/corvane/window_icon.h"

#include <png.h>

#include <cstddef>
#include <cstring>

namespace embedded {
extern const unsigned char corvaneIcon[];
extern const std::size_t corvaneIconSize;
}  // namespace embedded

namespace player {

bool AddWindowIcon(sdl::WindowLabel& label, std::string& error) {
    png_image icon;
    std::memset(&icon, 0, sizeof icon);
    icon.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&icon, embedded::corvaneIcon,
                                          embedded::corvaneIconSize)) {
        error = icon.message;
        return false;
    }
    icon.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(icon));
    if (!png_image_finish_read(&icon, nullptr, pixels.data(), 0, nullptr)) {
        error = icon.message;
        png_image_free(&icon);
        return false;
    }
    label.iconWidth = static_cast<int>(icon.width);
    label.iconHeight = static_cast<int>(icon.height);
    label.iconPixels = std::move(pixels);
    return true;
}

}  // namespace player
