// The byte-order converter's unpacking of bilevel rows and the PackBits coder:
// beyond what the sanitizers see, decoding never reports more than the room it
// was given, everything decoded comes back unchanged through the encoder in
// runs of at most 127 bytes, and unpacked bits repack to the input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "files/byte_order.h"
#include "tests/fuzz/fuzz_support.h"
#include "tiff/packbits.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The coding of data, checked to be made of runs of 1 to 127 bytes.
Bytes Encode(const Bytes& data) {
    Bytes coded;
    PackBitsEncode(data.data(), data.size(), coded);
    for (std::size_t at = 0; at < coded.size();) {
        const int header = static_cast<std::int8_t>(coded[at]);
        FUZZ_CHECK(header >= -126, "every run of the encoder holds at most 127 bytes");
        at += header >= 0 ? 2 + static_cast<std::size_t>(header) : 2;
        FUZZ_CHECK(at <= coded.size(), "the encoder's runs are complete");
    }
    return coded;
}

// Decodes coded into exactly as many bytes as expected holds (so that a write
// past them is caught) and checks that it gives expected.
void ExpectDecodes(const Bytes& coded, const Bytes& expected) {
    Bytes out(expected.size());
    std::size_t written = 0;
    FUZZ_CHECK(PackBitsDecode(coded.data(), coded.size(), out.data(), out.size(), written),
               "the encoder's coding decodes");
    FUZZ_CHECK(written == expected.size() && out == expected,
               "decoding the encoder's coding gives its input back");
}

void CheckPackBits(const std::uint8_t* data, std::size_t size) {
    // The first byte sets the room the decoder gets, in steps of 16 bytes.
    const std::size_t room = 16u * data[0];
    Bytes out(room);
    std::size_t written = 0;
    PackBitsDecode(data + 1, size - 1, out.data(), room, written);
    FUZZ_CHECK(written <= room, "the decoder reports no more than its room");
    out.resize(written);
    ExpectDecodes(Encode(out), out);

    const Bytes input(data, data + size);
    ExpectDecodes(Encode(input), input);
}

void CheckUnpacking(const std::uint8_t* data, std::size_t size) {
    const auto count = static_cast<std::int32_t>(size);
    Bytes bits(size * 8);
    FUZZ_CHECK(ByteOrder::UnpackBits(data, bits.data(), count) == count * 8,
               "unpacking answers eight bytes a byte");
    for (std::size_t i = 0; i < size; ++i) {
        unsigned repacked = 0;
        for (int j = 0; j < 8; ++j) {
            const std::uint8_t bit = bits[i * 8 + static_cast<std::size_t>(j)];
            FUZZ_CHECK(bit <= 1, "an unpacked pixel is 0 or 1");
            repacked = repacked << 1 | bit;
        }
        FUZZ_CHECK(repacked == data[i], "the unpacked bits, most significant first, repack");
    }
    // Scaled and inverted as a WhiteIsZero bilevel row is.
    Bytes grey = bits;
    ByteOrder::ScaleBytes(grey.data(), static_cast<std::uint32_t>(grey.size()), 255);
    ByteOrder::InvertBytes(grey.data(), static_cast<std::uint32_t>(grey.size()));
    for (std::size_t i = 0; i < grey.size(); ++i)
        FUZZ_CHECK(grey[i] == (bits[i] ? 0 : 255), "a set bit ends black, a clear one white");

    // Motorola-order values read and written back are the raw values.
    ByteOrder order;
    order.SetOrder(ORDER_MBF);
    for (std::size_t at = 0; at + 4 <= size; at += 4) {
        std::uint32_t raw;
        std::memcpy(&raw, data + at, 4);
        const std::uint32_t value = order.ReadUL(raw);
        FUZZ_CHECK(value == (std::uint32_t{data[at]} << 24 | std::uint32_t{data[at + 1]} << 16 |
                             std::uint32_t{data[at + 2]} << 8 | data[at + 3]),
                   "a Motorola-order long reads most significant byte first");
        FUZZ_CHECK(order.WriteUL(value) == raw, "writing a value back gives the raw bytes");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    CheckPackBits(data, size);
    CheckUnpacking(data, size);
    return 0;
}
