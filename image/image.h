// A picture in memory: a pixel plane and an optional alpha plane, converted once
// at load time into the display's 16-bit format and prepared for one way of
// drawing (its purpose).
#pragma once

#include <cstdint>

// Purposes: how an image will be drawn.
constexpr std::int8_t DRAW_PLAIN = 1;
constexpr std::int8_t DRAW_MASKED = 2;
constexpr std::int8_t DRAW_ALPHA = 3;
constexpr std::int8_t DRAW_ADDITIVE = 4;

// Format flags.
constexpr std::uint8_t IMAGE_ALPHA = 0x01;
constexpr std::uint8_t IMAGE_EXTRABYTE = 0x02;
constexpr std::uint8_t IMAGE_4BIT = 0x04;
constexpr std::uint8_t IMAGE_8BIT = 0x08;
constexpr std::uint8_t IMAGE_16BIT = 0x10;
constexpr std::uint8_t IMAGE_32BIT = 0x20;
constexpr std::uint8_t IMAGE_MASKED = 0x40;

class Image {
public:
    Image();
    Image(int width, int height, std::uint8_t format);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // (Re)allocates the pixel plane, and the alpha plane when format is not 0.
    // The new planes are not initialised.
    Image& Size(int width, int height, std::uint8_t format);
    static int BytesPerPixel(std::uint8_t format);
    static int Depth(std::uint8_t format);
    static int HasAlpha(std::uint8_t format) { return format & IMAGE_ALPHA; }
    Image& FlipFormat(std::uint8_t bits);
    Image& AddFormat(std::uint8_t bits);

    // A black display-format image for a purpose.
    Image& Create(int width, int height, std::int8_t purpose);
    // Display-format pixel access, in channel units.
    void Fill(int r, int g, int b);
    void SetPixel(int x, int y, int r, int g, int b);
    void GetPixel(int x, int y, int& r, int& g, int& b) const;

    // True colour to display format; the depth flags change in any case.
    Image& ConvertDepth(std::uint8_t target);
    // Load-time preparation for the purpose.
    Image& Prepare(std::int8_t purpose);
    void BuildMask();
    void PremultiplyAlpha();
    Image& SetPurpose(std::int8_t newPurpose);

    // Rotated and scaled copy (angle in degrees) into an already sized destination.
    Image& Rotate(Image& dest, float angle, float scale);
    void RotateColour(Image& dest, float angle, float scale);
    void RotateAlpha(Image& dest, float angle, float scale);

    // Planes are owned; an empty image has null planes.
    std::uint8_t* pixels = nullptr;
    std::uint8_t* alpha = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int8_t purpose = 0;
    std::uint8_t format = 0;
    std::uint8_t fresh = 1;
};
