#include "tiff/packbits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encode(const Bytes& data) {
    Bytes out;
    PackBitsEncode(data.data(), data.size(), out);
    return out;
}

// Checks that every run of the coding holds 1..127 bytes and returns the runs'
// lengths, repeated runs negative.
std::vector<int> Runs(const Bytes& coded) {
    std::vector<int> runs;
    for (std::size_t at = 0; at < coded.size();) {
        const int header = static_cast<std::int8_t>(coded[at]);
        if (header >= 0) {
            runs.push_back(header + 1);
            at += 1 + header + 1;
        } else {
            runs.push_back(header - 1);
            at += 2;
        }
    }
    return runs;
}

TEST(PackBitsTest, RandomRoundTripsWithRunsOfAtMost127Bytes) {
    std::mt19937 random(42);
    for (int trial = 0; trial < 500; ++trial) {
        const std::size_t size = random() % 700;
        Bytes data(size);
        // Mixtures of long runs and noise, from a small alphabet.
        for (std::size_t i = 0; i < size;) {
            const std::size_t run = random() % 3 == 0 ? 1 + random() % 300 : 1;
            const std::uint8_t value = static_cast<std::uint8_t>(random() % 4);
            for (std::size_t k = 0; k < run && i < size; ++k) data[i++] = value;
        }
        const Bytes coded = Encode(data);
        for (int run : Runs(coded)) {
            ASSERT_LE(std::abs(run), 127) << "trial " << trial;
            ASSERT_GE(std::abs(run), 1);
        }
        Bytes decoded(size);
        std::size_t written = 0;
        ASSERT_TRUE(PackBitsDecode(coded.data(), coded.size(), decoded.data(), size, written));
        EXPECT_EQ(written, size);
        EXPECT_EQ(decoded, data) << "trial " << trial;
    }
}

TEST(PackBitsTest, KnownCodings) {
    EXPECT_EQ(Encode({}), Bytes{});
    EXPECT_EQ(Encode({7}), (Bytes{0, 7}));
    EXPECT_EQ(Encode(Bytes(3, 9)), (Bytes{0xFE, 9}));
    // 300 equal bytes: 127 + 127 + 46.
    EXPECT_EQ(Encode(Bytes(300, 5)), (Bytes{0x82, 5, 0x82, 5, 0xD3, 5}));
    EXPECT_EQ(Encode({1, 2, 3, 3, 3, 3, 4}), (Bytes{1, 1, 2, 0xFD, 3, 0, 4}));
    // Literal stretches stop at 127 bytes.
    Bytes ramp(200);
    for (std::size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(Runs(Encode(ramp)), (std::vector<int>{127, 73}));
}

TEST(PackBitsTest, DecoderTakesFullLengthRunsAndSkipsTheNoOpHeader) {
    Bytes coded = {0x81, 6, 0x80, 0x7F};
    Bytes literal(128, 1);
    coded.insert(coded.end(), literal.begin(), literal.end());
    Bytes out(256);
    std::size_t written = 0;
    ASSERT_TRUE(PackBitsDecode(coded.data(), coded.size(), out.data(), out.size(), written));
    EXPECT_EQ(written, 256u);
    EXPECT_EQ(out[127], 6);
    EXPECT_EQ(out[128], 1);
}

TEST(PackBitsTest, DecoderRefusesRunsCutShortOrTooLongForTheOutput) {
    std::size_t written = 0;
    Bytes out(4, 0xEE);
    const Bytes literalCut = {3, 1, 2};
    EXPECT_FALSE(PackBitsDecode(literalCut.data(), literalCut.size(), out.data(), 4, written));
    const Bytes repeatCut = {0xFE};
    EXPECT_FALSE(PackBitsDecode(repeatCut.data(), repeatCut.size(), out.data(), 4, written));
    const Bytes tooLong = {0xFB, 9};
    EXPECT_FALSE(PackBitsDecode(tooLong.data(), tooLong.size(), out.data(), 4, written));
    // Nothing was written past the output's four bytes, and a failed run wrote nothing.
    EXPECT_EQ(out, Bytes(4, 0xEE));
}

}  // namespace
