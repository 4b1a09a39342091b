// Builds WAV files byte by byte for the sound tests, and copies the committed
// fixtures into a test's working folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"

namespace wavtest {

// The fields of a "fmt " chunk; size is what the chunk's size field says.
struct FormatChunk {
    std::uint32_t size = 16;
    std::uint16_t tag = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 11025;
    std::uint16_t bits = 8;
};

// A RIFF WAVE file: header, format chunk (its extra bytes zero), then `rest`.
std::vector<std::uint8_t> Wav(const FormatChunk& format, const std::vector<std::uint8_t>& rest);
// A chunk: tag, size field (the payload's size unless given) and payload.
std::vector<std::uint8_t> Chunk(const char* tag, const std::vector<std::uint8_t>& payload);
std::vector<std::uint8_t> Chunk(const char* tag, std::uint32_t sizeField,
                                const std::vector<std::uint8_t>& payload);
// Concatenation.
std::vector<std::uint8_t> operator+(std::vector<std::uint8_t> a,
                                    const std::vector<std::uint8_t>& b);
// n bytes counting up from `first` (wrapping at 256).
std::vector<std::uint8_t> Ramp(std::size_t n, std::uint8_t first = 1);

// Whole files as bytes.
using testsupport::ReadBytes;
using testsupport::WriteBytes;
// Copies a committed fixture into the working folder; returns its name there.
std::string Fixture(const std::string& name);

}  // namespace wavtest
