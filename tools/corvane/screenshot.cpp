#include "tools/corvane/screenshot.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/common/picture_png.h"

namespace player {
namespace {

namespace fs = std::filesystem;

// A name for now that no file in the folder has yet.
fs::path FreeName(const fs::path& folder) {
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    const std::string base = std::string("corvane_") + stamp;
    fs::path path = folder / (base + ".png");
    std::error_code error;
    for (int n = 2; fs::exists(path, error); ++n)
        path = folder / (base + "-" + std::to_string(n) + ".png");
    return path;
}

}  // namespace

void SaveScreenshot(const sdl::ShownPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 || picture.pixels == nullptr) {
        std::fprintf(stderr, "corvane: no picture has been shown yet: no screenshot taken\n");
        return;
    }
    const fs::path folder = fs::path(sdl::ProgramFolder()) / "screenshots";
    std::error_code made;
    fs::create_directories(folder, made);
    if (made) {
        std::fprintf(stderr, "corvane: cannot make the folder %s: %s\n", folder.c_str(),
                     made.message().c_str());
        return;
    }
    png_io::Picture16 view;
    view.width = picture.width;
    view.height = picture.height;
    view.pitchWords = picture.width;
    view.redMask = 0xF800;
    view.greenMask = 0x07E0;
    view.blueMask = 0x001F;
    view.pixels = picture.pixels;
    const fs::path path = FreeName(folder);
    std::string error;
    if (!png_io::WritePicturePng(path.string(), view, error)) {
        std::fprintf(stderr, "corvane: cannot save a screenshot: %s\n", error.c_str());
        return;
    }
    std::printf("screenshot saved: %s\n", path.c_str());
    std::fflush(stdout);
}

}  // namespace player
