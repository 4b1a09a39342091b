#include "tools/corvane-replay/sound_record.h"

#include <cstdio>
#include <memory>

namespace replay {

namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::uint32_t SoundChecksum(const std::vector<std::int16_t>& samples) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::int16_t sample : samples) {
        const auto word = static_cast<std::uint16_t>(sample);
        for (std::uint8_t byte :
             {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8)}) {
            crc ^= byte;
            for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

bool WriteStereoWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate,
                    std::string& error) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> bytes;
    for (char c : std::string("RIFF")) bytes.push_back(static_cast<std::uint8_t>(c));
    PutLe(bytes, 36 + dataBytes, 4);
    for (char c : std::string("WAVEfmt ")) bytes.push_back(static_cast<std::uint8_t>(c));
    PutLe(bytes, 16, 4);
    PutLe(bytes, 1, 2);  // PCM
    PutLe(bytes, 2, 2);  // stereo
    PutLe(bytes, static_cast<std::uint32_t>(rate), 4);
    PutLe(bytes, static_cast<std::uint32_t>(rate) * 4, 4);
    PutLe(bytes, 4, 2);
    PutLe(bytes, 16, 2);
    for (char c : std::string("data")) bytes.push_back(static_cast<std::uint8_t>(c));
    PutLe(bytes, dataBytes, 4);
    for (std::int16_t sample : samples) PutLe(bytes, static_cast<std::uint16_t>(sample), 2);

    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                               &std::fclose);
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace replay
