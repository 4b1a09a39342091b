#include "pictures/picture_file.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "files/file.h"
#include "image/image.h"
#include "pictures/picture_io.h"
#include "shell/debugger.h"

namespace {

// No picture the engine holds comes in a larger file: 2^26 pixels of four
// 16-bit samples, with room for the file's own structure.
constexpr std::size_t kLargestFile = std::size_t{1} << 30;
constexpr std::size_t kChunk = std::size_t{1} << 20;

void Log(const char* fileName, const std::string& line) {
    Debug.Write(("PictureFile::Load: " + std::string(fileName) + ": " + line + "\n").c_str(), "");
}

// The whole file through the engine's File, which names files as the game
// does (backslashes, at most 99 characters) and logs one that is missing.
bool ReadFileBytes(const char* fileName, std::vector<std::uint8_t>& bytes, std::string& problem) {
    if (std::strlen(fileName) >= FILE_NAME_SIZE) {
        problem = "the name is longer than the engine's 99 characters";
        return false;
    }
    File file;
    if (file.Open(fileName, FILE_READ | RANDOM) != FILE_OK) {
        problem = "the file cannot be read";
        return false;
    }
    bytes.clear();
    for (;;) {
        const std::size_t at = bytes.size();
        bytes.resize(at + kChunk);
        const std::size_t got = std::fread(bytes.data() + at, 1, kChunk, file.stream);
        bytes.resize(at + got);
        if (got < kChunk) break;
        if (bytes.size() > kLargestFile) {
            problem = "the file is larger than any picture the engine holds";
            return false;
        }
    }
    if (std::ferror(file.stream)) {
        problem = "the file cannot be read";
        return false;
    }
    return true;
}

}  // namespace

bool PictureFile::Load(const char* fileName, Image* target, int purpose) {
    problem.clear();
    notes.clear();
    if (target == nullptr) {
        problem = "no image to load into";
        return false;
    }
    if (fileName == nullptr) fileName = "";
    const bool loaded = Read(fileName, *target);
    if (!loaded) {
        target->Size(0, 0, IMAGE_32BIT);
        Log(fileName, problem);
    }
    for (const std::string& note : notes) Log(fileName, note);
    target->Prepare(static_cast<std::int8_t>(purpose));
    return loaded;
}

bool PictureFile::Read(const char* fileName, Image& target) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(fileName, bytes, problem)) return false;
    pictures::Picture picture;
    if (!pictures::ReadPictureBytes(bytes.data(), bytes.size(), picture, notes, problem))
        return false;
    bytes = {};
    if (!pictures::ToTrueColour(picture, target)) {
        problem = "there is not enough memory to hold the picture";
        return false;
    }
    return true;
}
