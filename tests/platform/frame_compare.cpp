// Compares two pictures (binary PPM) in 16-bit 5:6:5 terms: each channel is cut
// to its top 5, 6 and 5 bits first, since a display may widen a 5:6:5 picture
// to 8 bits per channel in its own way (a full 6-bit green as 252, 254 or 255).
//   frame_compare ACTUAL.ppm EXPECTED.ppm
// Exit code 0 when they match, 1 when they differ, 2 when a file is unreadable.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> words;
};

bool ReadNumber(std::istream& in, int& value) {
    in >> std::ws;
    while (in.peek() == '#') {
        std::string comment;
        std::getline(in, comment);
        in >> std::ws;
    }
    return static_cast<bool>(in >> value);
}

bool Read(const char* path, Picture& picture) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    if (!(in >> magic) || magic != "P6" || !ReadNumber(in, picture.width) ||
        !ReadNumber(in, picture.height) || !ReadNumber(in, maxValue) || maxValue != 255 ||
        picture.width <= 0 || picture.height <= 0 || picture.width > 16384 ||
        picture.height > 16384) {
        std::fprintf(stderr, "frame_compare: %s is not an 8-bit binary PPM\n", path);
        return false;
    }
    in.get();  // the one whitespace byte before the samples
    const size_t count = static_cast<size_t>(picture.width) * picture.height;
    std::vector<unsigned char> rgb(count * 3);
    if (!in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()))) {
        std::fprintf(stderr, "frame_compare: %s is cut short\n", path);
        return false;
    }
    picture.words.resize(count);
    for (size_t i = 0; i < count; ++i)
        picture.words[i] = static_cast<std::uint16_t>(
            (rgb[3 * i] >> 3) << 11 | (rgb[3 * i + 1] >> 2) << 5 | (rgb[3 * i + 2] >> 3));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: frame_compare ACTUAL.ppm EXPECTED.ppm\n");
        return 2;
    }
    Picture actual;
    Picture expected;
    if (!Read(argv[1], actual) || !Read(argv[2], expected)) return 2;
    if (actual.width != expected.width || actual.height != expected.height) {
        std::printf("sizes differ: %d x %d against %d x %d\n", actual.width, actual.height,
                    expected.width, expected.height);
        return 1;
    }
    size_t differing = 0;
    size_t first = 0;
    for (size_t i = 0; i < actual.words.size(); ++i)
        if (actual.words[i] != expected.words[i] && differing++ == 0) first = i;
    if (differing == 0) {
        std::printf("identical, %d x %d\n", actual.width, actual.height);
        return 0;
    }
    std::printf("%zu of %zu pixels differ; first at (%zu, %zu): 0x%04X against 0x%04X\n", differing,
                actual.words.size(), first % actual.width, first / actual.width,
                actual.words[first], expected.words[first]);
    return 1;
}
