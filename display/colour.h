/// @file
/// The colour a game draws with: 8-bit red, green and blue, whatever the display's
/// 16-bit layout. Every drawing call that takes a Colour turns it into the
/// display's word the same way, through the display pixel format.
#pragma once

#include <cstdint>

/// A colour of 8-bit red, green and blue components, 0 to 255 each.
struct Colour {
    std::uint8_t red = 0;    ///< 0 to 255
    std::uint8_t green = 0;  ///< 0 to 255
    std::uint8_t blue = 0;   ///< 0 to 255

    /// Black.
    constexpr Colour() = default;
    /// A colour from three components; each is kept within 0 to 255 (300 is 255, -5 is 0).
    constexpr Colour(int r, int g, int b) : red(Clamp(r)), green(Clamp(g)), blue(Clamp(b)) {}

    /// The display's 16-bit word for this colour (5:6:5 or 5:5:5 alike): each
    /// component keeps its top bits, as pictures loaded from files do. Read
    /// from the display pixel format, so only meaningful once the display is open.
    std::uint16_t Word() const;

    ///@{
    /// True when all three components are equal (==) or any differs (!=).
    constexpr bool operator==(const Colour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
    constexpr bool operator!=(const Colour& other) const { return !(*this == other); }
    ///@}

private:
    static constexpr std::uint8_t Clamp(int value) {
        return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
    }
};

///@{
/// A few colours by name.
constexpr Colour COLOUR_BLACK{0, 0, 0};
constexpr Colour COLOUR_WHITE{255, 255, 255};
constexpr Colour COLOUR_GREY{128, 128, 128};
constexpr Colour COLOUR_RED{255, 0, 0};
constexpr Colour COLOUR_GREEN{0, 255, 0};
constexpr Colour COLOUR_BLUE{0, 0, 255};
constexpr Colour COLOUR_YELLOW{255, 255, 0};
///@}
