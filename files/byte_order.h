/// @file
/// Conversion between the byte order of a file and the host's (Intel, least
/// significant byte first). Reads take the raw value as it stood in the file;
/// writes return the raw value to put in the file.
#pragma once

#include <cstdint>

constexpr std::int32_t ORDER_IBF = 0;  ///< Intel byte format: least significant byte first
constexpr std::int32_t ORDER_MBF = 1;  ///< Motorola byte format: most significant byte first

///@{
/// Intel order: every integer conversion is the identity; float slots
/// reinterpret the raw bits.
std::uint8_t ReadUC_IBF(std::uint8_t raw);
std::int8_t ReadC_IBF(std::uint8_t raw);
std::uint16_t ReadUS_IBF(std::uint16_t raw);
std::int16_t ReadS_IBF(std::uint16_t raw);
std::uint32_t ReadUL_IBF(std::uint32_t raw);
std::int32_t ReadL_IBF(std::uint32_t raw);
float ReadF_IBF(std::uint32_t raw);
double ReadD_IBF(std::uint64_t raw);
std::uint8_t WriteUC_IBF(std::uint8_t value);
std::uint8_t WriteC_IBF(std::int8_t value);
std::uint16_t WriteUS_IBF(std::uint16_t value);
std::uint16_t WriteS_IBF(std::int16_t value);
std::uint32_t WriteUL_IBF(std::uint32_t value);
std::uint32_t WriteL_IBF(std::int32_t value);
std::uint32_t WriteF_IBF(float value);
std::uint64_t WriteD_IBF(double value);
///@}

///@{
/// Motorola order: 16- and 32-bit values have their bytes reversed. ReadD_MBF
/// does not reverse: it prints a notice on standard output and converts the raw
/// value numerically, as a signed 64-bit integer.
std::uint8_t ReadUC_MBF(std::uint8_t raw);
std::int8_t ReadC_MBF(std::uint8_t raw);
std::uint16_t ReadUS_MBF(std::uint16_t raw);
std::int16_t ReadS_MBF(std::uint16_t raw);
std::uint32_t ReadUL_MBF(std::uint32_t raw);
std::int32_t ReadL_MBF(std::uint32_t raw);
float ReadF_MBF(std::uint32_t raw);
double ReadD_MBF(std::uint64_t raw);
std::uint8_t WriteUC_MBF(std::uint8_t value);
std::uint8_t WriteC_MBF(std::int8_t value);
std::uint16_t WriteUS_MBF(std::uint16_t value);
std::uint16_t WriteS_MBF(std::int16_t value);
std::uint32_t WriteUL_MBF(std::uint32_t value);
std::uint32_t WriteL_MBF(std::int32_t value);
std::uint32_t WriteF_MBF(float value);
std::uint64_t WriteD_MBF(double value);
///@}

/// The sixteen conversion slots: eight reads, then eight writes.
struct ByteOrderTable {
    ///@{
    /// Reads of an unsigned and a signed byte, 16-bit, 32-bit, float and double
    /// value from its raw bits, then writes of the same eight into raw bits.
    std::uint8_t (*ReadUC)(std::uint8_t);
    std::int8_t (*ReadC)(std::uint8_t);
    std::uint16_t (*ReadUS)(std::uint16_t);
    std::int16_t (*ReadS)(std::uint16_t);
    std::uint32_t (*ReadUL)(std::uint32_t);
    std::int32_t (*ReadL)(std::uint32_t);
    float (*ReadF)(std::uint32_t);
    double (*ReadD)(std::uint64_t);
    std::uint8_t (*WriteUC)(std::uint8_t);
    std::uint8_t (*WriteC)(std::int8_t);
    std::uint16_t (*WriteUS)(std::uint16_t);
    std::uint16_t (*WriteS)(std::int16_t);
    std::uint32_t (*WriteUL)(std::uint32_t);
    std::uint32_t (*WriteL)(std::int32_t);
    std::uint32_t (*WriteF)(float);
    std::uint64_t (*WriteD)(double);
    ///@}
};

/// The byte order of one file being read or written, as a table of conversions.
class ByteOrder {
public:
    /// Starts in Intel order.
    ByteOrder();

    /// 0 selects Intel order, any other value Motorola order; takes effect for
    /// the next conversion.
    void SetOrder(std::int32_t newOrder);

    ///@{
    /// A 16- or 32-bit value read from its raw bits in the file, or written into them.
    std::uint16_t ReadUS(std::uint16_t raw) const { return table.ReadUS(raw); }
    std::uint32_t ReadUL(std::uint32_t raw) const { return table.ReadUL(raw); }
    std::uint16_t WriteUS(std::uint16_t value) const { return table.WriteUS(value); }
    std::uint32_t WriteUL(std::uint32_t value) const { return table.WriteUL(value); }
    ///@}

    /// Each of length bytes becomes its complement (255 - b).
    static void InvertBytes(std::uint8_t* bytes, std::uint32_t length);
    /// Each of length bytes becomes the low 8 bits of b * factor.
    static void ScaleBytes(std::uint8_t* bytes, std::uint32_t length, std::int32_t factor);
    /// Eight output bytes of 0 or 1 per packed byte, most significant bit first;
    /// out must hold count * 8 bytes. Returns count * 8.
    static std::int32_t UnpackBits(const std::uint8_t* packed, std::uint8_t* out,
                                   std::int32_t count);

    std::int32_t order = ORDER_IBF;  ///< ORDER_IBF or ORDER_MBF
    ByteOrderTable table;            ///< the conversions of that order
};
