// Compares a picture with one or more expected ones (binary PPM) in 16-bit
// 5:6:5 terms: each channel is cut to its top 5, 6 and 5 bits first, since a
// display may widen a 5:6:5 picture to 8 bits per channel in its own way (a full
// 6-bit green as 252, 254 or 255).
//   frame_compare ACTUAL.ppm EXPECTED.ppm...
// Prints the first expected picture that matches, or how the closest one
// differs. Exit code 0 on a match, 1 on none, 2 when a file is unreadable.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
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

// Number of differing pixels, or -1 when the sizes differ; first is the index of
// the first difference.
long long Differences(const Picture& a, const Picture& b, size_t& first) {
    if (a.width != b.width || a.height != b.height) return -1;
    long long differing = 0;
    for (size_t i = 0; i < a.words.size(); ++i)
        if (a.words[i] != b.words[i] && differing++ == 0) first = i;
    return differing;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: frame_compare ACTUAL.ppm EXPECTED.ppm...\n");
        return 2;
    }
    Picture actual;
    if (!Read(argv[1], actual)) return 2;
    long long best = -1;
    int bestIndex = 0;
    size_t bestFirst = 0;
    Picture bestPicture;
    for (int i = 2; i < argc; ++i) {
        Picture expected;
        if (!Read(argv[i], expected)) return 2;
        size_t first = 0;
        const long long differing = Differences(actual, expected, first);
        if (differing == 0) {
            std::printf("identical to %s, %d x %d\n", argv[i], actual.width, actual.height);
            return 0;
        }
        if (differing > 0 && (best < 0 || differing < best)) {
            best = differing;
            bestIndex = i;
            bestFirst = first;
            bestPicture = std::move(expected);
        }
    }
    if (best < 0) {
        std::printf("no expected picture is %d x %d\n", actual.width, actual.height);
        return 1;
    }
    std::printf(
        "no match; closest %s: %lld of %zu pixels differ, first at (%zu, %zu): "
        "0x%04X against 0x%04X\n",
        argv[bestIndex], best, actual.words.size(), bestFirst % actual.width,
        bestFirst / actual.width, actual.words[bestFirst], bestPicture.words[bestFirst]);
    return 1;
}
