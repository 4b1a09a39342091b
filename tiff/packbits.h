// The PackBits run-length scheme (TIFF compression 32773). A header byte n
// followed by n + 1 literal bytes for n in 0..127, or by one byte repeated
// 1 - n times for n in -127..-1; -128 is skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Appends the coding of size bytes to out. Every run the encoder emits holds
// at most 127 bytes, repeated or literal.
void PackBitsEncode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out);

// Decodes size coded bytes into out, which holds capacity bytes; written gets
// the number of bytes produced. False when a run is cut short by the end of the
// data or would not fit in out (nothing is written past capacity).
bool PackBitsDecode(const std::uint8_t* data, std::size_t size, std::uint8_t* out,
                    std::size_t capacity, std::size_t& written);
