#include "pictures/png_io.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace png_io {

namespace {

// Larger pictures than anything here needs; a file's header must not make the
// reader allocate without bound.
constexpr png_uint_32 kMaxPixels = 1u << 28;
// The most libpng may allocate at once. A chunk (a text, a colour profile) is
// read whole, however long the file says it is, and its length is only
// warned about; refused, the allocation fails and libpng ends the read or
// skips the chunk. Rows of the widest picture read take far less.
constexpr png_alloc_size_t kLargestAllocation = png_alloc_size_t{1} << 26;

png_voidp BoundedMalloc(png_structp, png_alloc_size_t size) {
    return size <= kLargestAllocation ? std::malloc(size) : nullptr;
}

void Free(png_structp, png_voidp memory) {
    std::free(memory);
}

void OnPngError(png_structp png, png_const_charp message) {
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// A PNG file in memory, read from the start.
struct MemoryPng {
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto& in = *static_cast<MemoryPng*>(png_get_io_ptr(png));
    if (count > in.size - in.at) png_error(png, "the file ends early");
    std::memcpy(out, in.bytes + in.at, count);
    in.at += count;
}

// The steps between libpng's calls, which jump back here on an error: nothing
// in this frame needs a destructor.
bool ReadRows(png_structp png, png_infop info, PngImage& image, std::string& error,
              const SizeCheck& sizeFits) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > kMaxPixels / height) {
        error = "the picture is too large";
        return false;
    }
    if (sizeFits && !sizeFits(width, height, error)) return false;
    const png_byte type = png_get_color_type(png, info);
    image.hasAlpha =
        (type & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    // Palettes, small greys and tRNS expand; 16-bit samples keep their high
    // byte, as the engine's TIFF reader takes them. Colours stay as stored: no
    // gamma is applied.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != std::size_t(width) * (image.hasAlpha ? 4 : 3)) {
        error = "libpng gives rows of an unexpected size";
        return false;
    }
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.assign(rowBytes * height, 0);
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, &image.pixels[y * rowBytes], nullptr);
    png_read_end(png, nullptr);
    return true;
}

// libpng over a source that connect gives it.
template <typename Connect>
bool ReadThrough(const Connect& connect, PngImage& image, std::string& error,
                 const SizeCheck& sizeFits) {
    png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &error, OnPngError,
                                               OnPngWarning, nullptr, BoundedMalloc, Free);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool read = false;
    if (info != nullptr) {
        connect(png);
        read = ReadRows(png, info, image, error, sizeFits);
    } else {
        error = "libpng cannot start";
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return read;
}

}  // namespace

bool ReadPng(const std::string& path, PngImage& image, std::string& error,
             const SizeCheck& sizeFits) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot be read";
        return false;
    }
    const bool read =
        ReadThrough([file](png_structp png) { png_init_io(png, file); }, image, error, sizeFits);
    std::fclose(file);
    return read;
}

bool ReadPngBytes(const std::uint8_t* bytes, std::size_t size, PngImage& image, std::string& error,
                  const SizeCheck& sizeFits) {
    MemoryPng in{bytes, size, 0};
    return ReadThrough([&in](png_structp png) { png_set_read_fn(png, &in, ReadFromMemory); }, image,
                       error, sizeFits);
}

bool WritePng(const std::string& path, const PngImage& image, std::string& error) {
    const std::size_t channels = image.hasAlpha ? 4 : 3;
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height) * channels) {
        error = "the picture is empty or its pixels do not match its size";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = image.hasAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr)) {
        error = png.message;
        return false;
    }
    return true;
}

}  // namespace png_io
