#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "files/byte_order.h"
#include "files/file.h"
#include "platform/api/platform.h"
#include "shell/debugger.h"
#include "sound/soundx.h"

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint32_t kMinFormatChunk = 16;

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    if (size > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

// Bytes from the file's position to its end; restores the position.
std::uint32_t BytesLeft(File& file) {
    const std::int32_t here = file.Tell();
    file.Seek(-2);
    const std::int32_t end = file.Tell();
    file.Seek(here);
    return end > here ? static_cast<std::uint32_t>(end - here) : 0;
}

}  // namespace

const char* SoundX::FormatProblem(std::uint32_t formatSize, std::uint16_t channels,
                                  std::uint16_t bits, std::int32_t rate) {
    if (formatSize < kMinFormatChunk) return "format chunk shorter than 16 bytes";
    if (channels == 0) return "no channels";
    if (bits < 8) return "fewer than 8 bits per sample";
    if (rate <= 0) return "no samples per second";
    return nullptr;
}

bool SoundX::MatchTag(File& file, ByteOrder&, const char* tag) {
    char read[4] = {};
    file.Read(sizeof read, read);
    return std::memcmp(read, tag, sizeof read) == 0;
}

bool SoundX::ReadSize(File& file, ByteOrder& order, std::uint32_t* out) {
    std::uint32_t raw = 0;
    file.ReadLong(raw);
    *out = order.ReadUL(raw);
    return true;
}

void SoundX::FormatError() {
    MessageBoxA(nullptr,
                ".WAV Format Invalid: \n\nInvalid WAV Format. Not all types of WAV files are "
                "supported. Try saving your WAV file with a different program, or with 'extra "
                "wav information' turned off.",
                "Corvane Error", MB_OK);
    std::exit(-1);
}

bool SoundX::Load(const char* path) {
    File file;
    ByteOrder order;
    if (file.Open(path, FILE_READ + RANDOM) == FILE_NOTFOUND) {
        const std::string message = Format(
            ".WAV File Not Found: %s\n\nMake sure paths and names of WAV files are correct. If "
            "you started the game outside of Visual C++, make sure the executable is in the "
            "correct location to find sounds.",
            path);
        MessageBoxA(nullptr, message.c_str(), "Corvane Error", MB_OK);
        std::exit(-1);
    }
    // Every number in a WAV file is little-endian.
    order.SetOrder(ORDER_IBF);

    std::uint32_t riffSize = 0;
    std::uint32_t formatSize = 0;
    if (!MatchTag(file, order, "RIFF")) FormatError();
    ReadSize(file, order, &riffSize);
    if (!MatchTag(file, order, "WAVE")) FormatError();
    if (!MatchTag(file, order, "fmt ")) FormatError();
    ReadSize(file, order, &formatSize);
    if (!ReadFormat(file, order, formatSize, path)) {
        file.Close();
        return false;
    }

    // The rest of a longer format chunk (an extra-size field and the like).
    file.Seek(file.Tell() +
              static_cast<std::int32_t>(std::min(formatSize - kMinFormatChunk, BytesLeft(file))));
    ReadChunks(file, order);
    changed = 1;
    file.Close();
    return true;
}

bool SoundX::ReadFormat(File& file, ByteOrder& order, std::uint32_t formatSize, const char* path) {
    std::uint16_t raw16 = 0;
    std::uint32_t raw32 = 0;
    file.ReadShort(raw16);
    // Another encoding: refused quietly.
    if (order.ReadUS(raw16) != kFormatPcm) return false;
    raw16 = 0;
    file.ReadShort(raw16);
    const std::uint16_t newChannels = order.ReadUS(raw16);
    raw32 = 0;
    file.ReadLong(raw32);
    const std::int32_t newRate = static_cast<std::int32_t>(order.ReadUL(raw32));
    file.ReadLong(raw32);   // average bytes per second
    file.ReadShort(raw16);  // block alignment
    raw16 = 0;
    file.ReadShort(raw16);
    const std::uint16_t newBits = order.ReadUS(raw16);

    // A format no sound can have would divide by zero when the data is read:
    // refused with a log line, nothing allocated.
    const char* refusal = FormatProblem(formatSize, newChannels, newBits, newRate);
    if (refusal != nullptr) {
        Debug.Write(
            Format("SoundX::Load: WAV format not supported (%s): %s\n", refusal, path).c_str(), "");
        return false;
    }
    channels = newChannels;
    rate = newRate;
    bits = newBits;
    return true;
}

void SoundX::ReadChunks(File& file, ByteOrder& order) {
    // Other chunks are not skipped by their size: the scan looks at every fourth
    // byte for a "data" or "fact" tag.
    while (!file.EndOfFile()) {
        char tag[4];
        if (file.Read(sizeof tag, tag) != FILE_OK) break;
        if (std::memcmp(tag, "data", 4) == 0) {
            std::uint32_t size = 0;
            ReadSize(file, order, &size);
            ReadData(file, size);
        } else if (std::memcmp(tag, "fact", 4) == 0) {
            std::uint32_t raw32 = 0;
            file.ReadLong(raw32);  // the chunk's size
            file.ReadLong(raw32);  // its frame count
        }
    }
}

void SoundX::ReadData(File& file, std::uint32_t size) {
    // A size past the end of the file holds only what the file has: nothing is
    // allocated for bytes that are not there.
    const std::uint32_t held = std::min(size, BytesLeft(file));
    const std::int32_t frameBytes = (bits / 8) * channels;
    length = static_cast<std::int32_t>(held);
    frames = length / frameBytes;
    duration = static_cast<float>(static_cast<double>(frames) / rate);
    data = std::make_unique<std::uint8_t[]>(held);

    // Samples wider than 16 bits are not read: the scan goes on from the first
    // sample byte.
    if (bits > 16) return;
    const std::uint32_t transfer = (bits <= 8 ? 1u : 2u) * channels;
    std::uint32_t offset = 0;
    for (; offset + transfer <= held; offset += transfer) file.Read(transfer, data.get() + offset);
    // A partial last frame is read past, as a whole transfer, and dropped.
    if (offset < held) {
        std::vector<std::uint8_t> scratch(transfer);
        file.Read(transfer, scratch.data());
    }
}
