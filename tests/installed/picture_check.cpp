// A PNG loaded with PictureFile and the TIFF corvane-asset converted it into,
// loaded with TiffFile, for the same purpose: the same picture, word for word.
//   picture_check PICTURE.png PICTURE.tif
#include <cstdio>
#include <cstring>

#include "corvane.h"
#include "pictures/picture_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: picture_check PICTURE.png PICTURE.tif\n");
        return 2;
    }
    SetPixelFormat(0xF800, 0x07E0, 0x001F);
    Image loaded, converted;
    PictureFile file;
    if (!file.Load(argv[1], &loaded, DRAW_ALPHA)) {
        std::fprintf(stderr, "picture_check: %s: %s\n", argv[1], file.Problem().c_str());
        return 1;
    }
    TiffFile().Load(argv[2], &converted, DRAW_ALPHA);
    const std::size_t count = std::size_t(loaded.width) * std::size_t(loaded.height);
    const bool same = loaded.width == converted.width && loaded.height == converted.height &&
                      loaded.Words() != nullptr && converted.Words() != nullptr &&
                      std::memcmp(loaded.Words(), converted.Words(), count * 2) == 0 &&
                      loaded.AlphaPlane() != nullptr && converted.AlphaPlane() != nullptr &&
                      std::memcmp(loaded.AlphaPlane(), converted.AlphaPlane(), count) == 0;
    if (!same) {
        std::fprintf(stderr, "picture_check: %s and %s do not load as the same picture\n", argv[1],
                     argv[2]);
        return 1;
    }
    std::printf("picture_check: %s loads as %s does: %d x %d\n", argv[1], argv[2], loaded.width,
                loaded.height);
    return 0;
}
