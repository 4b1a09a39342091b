#include "files/byte_order.h"

#include <cstdio>
#include <cstring>

namespace {

std::uint16_t Swap16(std::uint16_t v) {
    return static_cast<std::uint16_t>(((v & 0xFF00u) >> 8) | ((v & 0x00FFu) << 8));
}

std::uint32_t Swap32(std::uint32_t v) {
    return ((v & 0x000000FFu) << 24) | ((v & 0x0000FF00u) << 8) | ((v & 0x00FF0000u) >> 8) |
           ((v & 0xFF000000u) >> 24);
}

std::uint64_t Swap64(std::uint64_t v) {
    return (static_cast<std::uint64_t>(Swap32(static_cast<std::uint32_t>(v))) << 32) |
           Swap32(static_cast<std::uint32_t>(v >> 32));
}

// Same bits, other type (memcpy keeps this free of aliasing and range issues).
template <typename To, typename From>
To Bits(From from) {
    static_assert(sizeof(To) == sizeof(From), "same width");
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

const ByteOrderTable kIntel = {
    ReadUC_IBF,  ReadC_IBF,  ReadUS_IBF,  ReadS_IBF,  ReadUL_IBF,  ReadL_IBF,
    ReadF_IBF,   ReadD_IBF,  WriteUC_IBF, WriteC_IBF, WriteUS_IBF, WriteS_IBF,
    WriteUL_IBF, WriteL_IBF, WriteF_IBF,  WriteD_IBF,
};

const ByteOrderTable kMotorola = {
    ReadUC_MBF,  ReadC_MBF,  ReadUS_MBF,  ReadS_MBF,  ReadUL_MBF,  ReadL_MBF,
    ReadF_MBF,   ReadD_MBF,  WriteUC_MBF, WriteC_MBF, WriteUS_MBF, WriteS_MBF,
    WriteUL_MBF, WriteL_MBF, WriteF_MBF,  WriteD_MBF,
};

}  // namespace

std::uint8_t ReadUC_IBF(std::uint8_t raw) {
    return raw;
}
std::int8_t ReadC_IBF(std::uint8_t raw) {
    return Bits<std::int8_t>(raw);
}
std::uint16_t ReadUS_IBF(std::uint16_t raw) {
    return raw;
}
std::int16_t ReadS_IBF(std::uint16_t raw) {
    return Bits<std::int16_t>(raw);
}
std::uint32_t ReadUL_IBF(std::uint32_t raw) {
    return raw;
}
std::int32_t ReadL_IBF(std::uint32_t raw) {
    return Bits<std::int32_t>(raw);
}
float ReadF_IBF(std::uint32_t raw) {
    return Bits<float>(raw);
}
double ReadD_IBF(std::uint64_t raw) {
    return Bits<double>(raw);
}
std::uint8_t WriteUC_IBF(std::uint8_t value) {
    return value;
}
std::uint8_t WriteC_IBF(std::int8_t value) {
    return Bits<std::uint8_t>(value);
}
std::uint16_t WriteUS_IBF(std::uint16_t value) {
    return value;
}
std::uint16_t WriteS_IBF(std::int16_t value) {
    return Bits<std::uint16_t>(value);
}
std::uint32_t WriteUL_IBF(std::uint32_t value) {
    return value;
}
std::uint32_t WriteL_IBF(std::int32_t value) {
    return Bits<std::uint32_t>(value);
}
std::uint32_t WriteF_IBF(float value) {
    return Bits<std::uint32_t>(value);
}
std::uint64_t WriteD_IBF(double value) {
    return Bits<std::uint64_t>(value);
}

std::uint8_t ReadUC_MBF(std::uint8_t raw) {
    return raw;
}
std::int8_t ReadC_MBF(std::uint8_t raw) {
    return Bits<std::int8_t>(raw);
}
std::uint16_t ReadUS_MBF(std::uint16_t raw) {
    return Swap16(raw);
}
std::int16_t ReadS_MBF(std::uint16_t raw) {
    return Bits<std::int16_t>(Swap16(raw));
}
std::uint32_t ReadUL_MBF(std::uint32_t raw) {
    return Swap32(raw);
}
std::int32_t ReadL_MBF(std::uint32_t raw) {
    return Bits<std::int32_t>(Swap32(raw));
}
float ReadF_MBF(std::uint32_t raw) {
    return Bits<float>(Swap32(raw));
}

double ReadD_MBF(std::uint64_t raw) {
    std::printf("ReadD_MBF: Reversal of 8-bytes and conversion to double is not implemented.\n");
    return static_cast<double>(Bits<std::int64_t>(raw));
}

std::uint8_t WriteUC_MBF(std::uint8_t value) {
    return value;
}
std::uint8_t WriteC_MBF(std::int8_t value) {
    return Bits<std::uint8_t>(value);
}
std::uint16_t WriteUS_MBF(std::uint16_t value) {
    return Swap16(value);
}
std::uint16_t WriteS_MBF(std::int16_t value) {
    return Swap16(Bits<std::uint16_t>(value));
}
std::uint32_t WriteUL_MBF(std::uint32_t value) {
    return Swap32(value);
}
std::uint32_t WriteL_MBF(std::int32_t value) {
    return Swap32(Bits<std::uint32_t>(value));
}
std::uint32_t WriteF_MBF(float value) {
    return Swap32(Bits<std::uint32_t>(value));
}
std::uint64_t WriteD_MBF(double value) {
    return Swap64(Bits<std::uint64_t>(value));
}

ByteOrder::ByteOrder() {
    SetOrder(ORDER_IBF);
}

void ByteOrder::SetOrder(std::int32_t newOrder) {
    order = newOrder;
    table = newOrder != 0 ? kMotorola : kIntel;
}

void ByteOrder::InvertBytes(std::uint8_t* bytes, std::uint32_t length) {
    for (std::uint32_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(255 - bytes[i]);
}

void ByteOrder::ScaleBytes(std::uint8_t* bytes, std::uint32_t length, std::int32_t factor) {
    // Unsigned arithmetic: the low 8 bits are wanted, whatever the sign of factor.
    const std::uint32_t f = static_cast<std::uint32_t>(factor);
    for (std::uint32_t i = 0; i < length; ++i)
        bytes[i] = static_cast<std::uint8_t>((bytes[i] * f) & 0xFFu);
}

std::int32_t ByteOrder::UnpackBits(const std::uint8_t* packed, std::uint8_t* out,
                                   std::int32_t count) {
    static const std::uint8_t kMask[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    for (std::int32_t i = 0; i < count; ++i)
        for (int j = 0; j < 8; ++j)
            out[i * 8 + j] = static_cast<std::uint8_t>((packed[i] & kMask[j]) >> (7 - j));
    return count * 8;
}
