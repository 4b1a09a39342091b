#include "display/colour.h"

#include "display/pixel_format.h"

namespace {

// An 8-bit component's top `bits` bits, placed at the channel's shift.
std::uint32_t Place(std::uint8_t component, std::int32_t bits, std::int32_t shift) {
    if (bits <= 0 || shift < 0 || shift > 15) return 0;
    const std::uint32_t value = component;
    const std::uint32_t top = bits >= 8 ? value << (bits - 8) : value >> (8 - bits);
    return top << shift;
}

}  // namespace

std::uint16_t Colour::Word() const {
    return static_cast<std::uint16_t>(Place(red, RedBits, RedShift) |
                                      Place(green, GreenBits, GreenShift) |
                                      Place(blue, BlueBits, BlueShift));
}
