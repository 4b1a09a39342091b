// The asset tool's readers on any bytes, all in memory: a PNG through libpng or
// a TIFF through libtiff, then the TIFF convert writes for the engine. Beyond
// what the sanitizers see: a refusal says why in one line; a picture read has
// its size and pixels that fill it; the TIFF written from it reads back as the
// same picture, and the engine's own reader loads it as it stands with those
// same pixels.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "image/image.h"
#include "pictures/picture_io.h"
#include "platform/headless/control.h"
#include "tests/fuzz/fuzz_support.h"
#include "tiff/tiff_file.h"

namespace {

// Larger pictures take long to read under the sanitizers and reach no code a
// smaller one does not; they are refused at this size as at the engine's.
constexpr long long kPixels = 1LL << 20;

bool SamePicture(const pictures::Picture& a, const pictures::Picture& b) {
    return a.width == b.width && a.height == b.height && a.hasAlpha == b.hasAlpha &&
           a.pixels == b.pixels;
}

// The engine's reader on the written file, as convert checks its result.
void CheckEngineLoads(const std::vector<std::uint8_t>& tiff, const pictures::Picture& picture) {
    const std::string& path = fuzz::WriteInput(tiff.data(), tiff.size(), ".tif");
    TiffFile inspected;
    FUZZ_CHECK(
        inspected.Inspect(path.c_str()) && inspected.compression == 1 && inspected.missingRows == 0,
        "the engine loads the written TIFF as it stands");
    Image image;
    TiffFile loader;
    const fuzz::Outcome outcome = fuzz::RunGuarded([&] { loader.LoadTiff(path.c_str(), &image); });
    headless::ClearMessageBoxes();
    FUZZ_CHECK(!outcome.exited && image.width == picture.width && image.height == picture.height &&
                   image.pixels != nullptr,
               "the engine loads the written TIFF at its size");
    FUZZ_CHECK(((image.format & IMAGE_ALPHA) != 0) == picture.hasAlpha &&
                   (!picture.hasAlpha || image.alpha != nullptr),
               "the engine finds the alpha the picture has");
    const std::size_t step = picture.hasAlpha ? 4 : 3;
    for (std::size_t i = 0; i < std::size_t(picture.width) * picture.height; ++i) {
        FUZZ_CHECK(std::memcmp(image.pixels + i * 3, &picture.pixels[i * step], 3) == 0 &&
                       (!picture.hasAlpha || image.alpha[i] == picture.pixels[i * step + 3]),
                   "the engine reads the picture's pixels from the written TIFF");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pictures::Picture picture;
    std::vector<std::string> notes;
    std::string error;
    if (!pictures::ReadPictureBytes(data, size, picture, notes, error, kPixels)) {
        FUZZ_CHECK(!error.empty() && error.find('\n') == std::string::npos,
                   "a refused file is refused in one line");
        return 0;
    }
    const long long pixels = static_cast<long long>(picture.width) * picture.height;
    FUZZ_CHECK(picture.width > 0 && picture.height > 0 && pixels <= kPixels,
               "a picture read has a size within the limit");
    FUZZ_CHECK(picture.pixels.size() == std::size_t(pixels) * (picture.hasAlpha ? 4 : 3),
               "the pixels fill the picture");

    std::vector<std::uint8_t> tiff;
    FUZZ_CHECK(pictures::WriteTiffBytes(picture, tiff, error), "every picture read is written");
    pictures::Picture again;
    std::vector<std::string> againNotes;
    FUZZ_CHECK(pictures::ReadPictureBytes(tiff.data(), tiff.size(), again, againNotes, error) &&
                   SamePicture(again, picture) && againNotes.empty(),
               "the written TIFF reads back as the same picture");
    CheckEngineLoads(tiff, picture);
    return 0;
}
