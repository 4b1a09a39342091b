#include "tests/sound/wav_bytes.h"

#include <cstdlib>
#include <filesystem>

namespace wavtest {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

std::vector<std::uint8_t> Wav(const FormatChunk& format, const std::vector<std::uint8_t>& rest) {
    std::vector<std::uint8_t> body;
    PutTag(body, "WAVE");
    PutTag(body, "fmt ");
    Put32(body, format.size);
    const std::uint32_t align = format.channels * (format.bits / 8u);
    Put16(body, format.tag);
    Put16(body, format.channels);
    Put32(body, format.rate);
    Put32(body, format.rate * align);
    Put16(body, align);
    Put16(body, format.bits);
    if (format.size > 16 && format.size < 1000) body.resize(body.size() + format.size - 16, 0);
    body.insert(body.end(), rest.begin(), rest.end());
    std::vector<std::uint8_t> file;
    PutTag(file, "RIFF");
    Put32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

std::vector<std::uint8_t> Chunk(const char* tag, std::uint32_t sizeField,
                                const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> out;
    PutTag(out, tag);
    Put32(out, sizeField);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

std::vector<std::uint8_t> Chunk(const char* tag, const std::vector<std::uint8_t>& payload) {
    return Chunk(tag, static_cast<std::uint32_t>(payload.size()), payload);
}

std::vector<std::uint8_t> operator+(std::vector<std::uint8_t> a,
                                    const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::uint8_t> Ramp(std::size_t n, std::uint8_t first) {
    std::vector<std::uint8_t> out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(first + i);
    return out;
}

std::string Fixture(const std::string& name) {
    const char* source = std::getenv("CORVANE_SOURCE_DIR");
    const std::filesystem::path from =
        std::filesystem::path(source ? source : ".") / "tests" / "sound" / "fixtures" / name;
    std::filesystem::copy_file(from, name, std::filesystem::copy_options::overwrite_existing);
    return name;
}

}  // namespace wavtest
