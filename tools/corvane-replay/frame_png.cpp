#include "tools/corvane-replay/frame_png.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace replay {

namespace {

struct Channel {
    int shift = 0;
    int bits = 0;
};

Channel ChannelOf(std::uint32_t mask) {
    Channel channel;
    if (mask == 0) return channel;
    while (((mask >> channel.shift) & 1u) == 0) ++channel.shift;
    while (((mask >> (channel.shift + channel.bits)) & 1u) != 0) ++channel.bits;
    return channel;
}

std::uint8_t Widen(std::uint32_t word, std::uint32_t mask, const Channel& channel) {
    if (channel.bits == 0) return 0;
    std::uint32_t value = (word & mask) >> channel.shift;
    // Repeat the top bits below, so full scale stays full scale (31 -> 255).
    std::uint32_t wide = 0;
    int filled = 0;
    while (filled < 8) {
        const int shift = 8 - filled - channel.bits;
        wide |= shift >= 0 ? value << shift : value >> -shift;
        filled += channel.bits;
    }
    return static_cast<std::uint8_t>(wide & 0xFF);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

RgbPicture ToRgb(const headless::Frame& frame) {
    RgbPicture picture;
    picture.width = frame.width;
    picture.height = frame.height;
    picture.rgb.resize(static_cast<std::size_t>(frame.width) * frame.height * 3);
    const Channel red = ChannelOf(frame.redMask);
    const Channel green = ChannelOf(frame.greenMask);
    const Channel blue = ChannelOf(frame.blueMask);
    for (std::size_t i = 0; i < frame.pixels.size() && i * 3 < picture.rgb.size(); ++i) {
        const std::uint16_t word = frame.pixels[i];
        picture.rgb[i * 3 + 0] = Widen(word, frame.redMask, red);
        picture.rgb[i * 3 + 1] = Widen(word, frame.greenMask, green);
        picture.rgb[i * 3 + 2] = Widen(word, frame.blueMask, blue);
    }
    return picture;
}

bool WritePng(const std::string& path, const RgbPicture& picture, std::string& error) {
    if (picture.width <= 0 || picture.height <= 0) {
        error = "no picture to write to " + path;
        return false;
    }
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = "cannot create " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        error = "out of memory writing " + path;
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "cannot write " + path;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, picture.rgb.data() + static_cast<std::size_t>(y) * picture.width * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool ReadPng(const std::string& path, RgbPicture& picture, std::string& error) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        error = "out of memory reading " + path;
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        error = path + " is not a readable PNG file";
        return false;
    }
    png_init_io(png, file.get());
    png_read_info(png, info);
    const int depth = png_get_bit_depth(png, info);
    const int type = png_get_color_type(png, info);
    if (depth != 8 || (type != PNG_COLOR_TYPE_RGB && type != PNG_COLOR_TYPE_RGB_ALPHA)) {
        png_destroy_read_struct(&png, &info, nullptr);
        error = path + " is not an 8-bit RGB picture";
        return false;
    }
    if (type == PNG_COLOR_TYPE_RGB_ALPHA) png_set_strip_alpha(png);
    png_read_update_info(png, info);
    picture.width = static_cast<int>(png_get_image_width(png, info));
    picture.height = static_cast<int>(png_get_image_height(png, info));
    picture.rgb.assign(static_cast<std::size_t>(picture.width) * picture.height * 3, 0);
    for (int y = 0; y < picture.height; ++y)
        png_read_row(png, picture.rgb.data() + static_cast<std::size_t>(y) * picture.width * 3,
                     nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

}  // namespace replay
