#include "tools/common/frame_png.h"

#include "tools/common/picture_png.h"

namespace png_io {
namespace {

Picture16 View(const headless::Frame& frame) {
    Picture16 picture;
    picture.width = frame.width;
    picture.height = frame.height;
    picture.pitchWords = frame.width;
    picture.redMask = frame.redMask;
    picture.greenMask = frame.greenMask;
    picture.blueMask = frame.blueMask;
    picture.pixels = frame.pixels.data();
    return picture;
}

}  // namespace

std::vector<std::uint8_t> FrameToRgb(const headless::Frame& frame) {
    return PictureToRgb(View(frame));
}

bool WriteFramePng(const std::string& path, const headless::Frame& frame, std::string& error) {
    return WritePicturePng(path, View(frame), error);
}

}  // namespace png_io
