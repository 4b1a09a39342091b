/// @file
/// A picture in memory: a pixel plane and an optional alpha plane, converted once
/// at load time into the display's 16-bit format and prepared for one way of
/// drawing (its purpose).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "display/colour.h"

///@{
/// Purposes: how an image will be drawn.
constexpr std::int8_t DRAW_PLAIN = 1;
constexpr std::int8_t DRAW_MASKED = 2;
constexpr std::int8_t DRAW_ALPHA = 3;
constexpr std::int8_t DRAW_ADDITIVE = 4;
///@}

///@{
/// Format flags.
constexpr std::uint8_t IMAGE_ALPHA = 0x01;
constexpr std::uint8_t IMAGE_EXTRABYTE = 0x02;
constexpr std::uint8_t IMAGE_4BIT = 0x04;
constexpr std::uint8_t IMAGE_8BIT = 0x08;
constexpr std::uint8_t IMAGE_16BIT = 0x10;
constexpr std::uint8_t IMAGE_32BIT = 0x20;
constexpr std::uint8_t IMAGE_MASKED = 0x40;
///@}

/// A picture in the display's 16-bit format, prepared for one purpose.
class Image {
public:
    /// An empty image: no planes, size 0 x 0, no purpose, no format.
    Image();
    /// An empty image, then Size(width, height, format).
    Image(int width, int height, std::uint8_t format);
    /// Frees both planes.
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    /// (Re)allocates the pixel plane, and the alpha plane when format is not 0
    /// (with format 0 the old alpha plane stays). New planes are zero-filled.
    Image& Size(int width, int height, std::uint8_t format);
    /// Bytes per pixel of the pixel plane for a format (0 without a depth flag).
    static int BytesPerPixel(std::uint8_t format);
    /// 4, 8, 16 or 32 for the first depth flag set, else 0.
    static int Depth(std::uint8_t format);
    /// Non-zero when the format carries IMAGE_ALPHA.
    static int HasAlpha(std::uint8_t format) { return format & IMAGE_ALPHA; }
    /// format ^= bits.
    Image& FlipFormat(std::uint8_t bits);
    /// format |= bits.
    Image& AddFormat(std::uint8_t bits);

    /// A black display-format image for a purpose; other purposes size nothing
    /// but still blacken the current size.
    Image& Create(int width, int height, std::int8_t purpose);
    ///@{
    /// Display-format pixel access, in channel units; out-of-range positions are
    /// ignored (GetPixel answers black).
    void Fill(int r, int g, int b);
    void SetPixel(int x, int y, int r, int g, int b);
    void GetPixel(int x, int y, int& r, int& g, int& b) const;
    ///@}
    /// Every pixel in one colour. In a DRAW_MASKED picture black is painted as
    /// visible black (the word 1, as a loaded picture keeps opaque black): only
    /// what Create leaves, and the channel-value calls' black, is transparent.
    void Fill(Colour colour);
    /// One pixel in a colour, black visible as with Fill; positions outside the picture are
    /// ignored.
    void SetPixel(int x, int y, Colour colour);

    /// True colour to display format; the depth flags change in any case.
    Image& ConvertDepth(std::uint8_t target);
    /// Load-time preparation for the purpose: display format, then the colour
    /// key (DRAW_MASKED) or premultiplied alpha (DRAW_ALPHA, DRAW_ADDITIVE).
    Image& Prepare(std::int8_t purpose);
    /// Colour key from the alpha plane: transparent pixels become the word 0,
    /// opaque black becomes 1; the alpha plane is freed.
    void BuildMask();
    /// Scales colours by alpha (derived from brightness when there is none) and
    /// stores the complement 255 - alpha, the weight the destination keeps.
    void PremultiplyAlpha();
    /// Stores the purpose.
    Image& SetPurpose(std::int8_t newPurpose);

    /// Rotated (angle in degrees) and scaled copy of both planes into an already
    /// sized destination; this image is the source. Returns dest.
    Image& Rotate(Image& dest, float angle, float scale);
    /// The colour half of Rotate: positions outside the source become 0.
    void RotateColour(Image& dest, float angle, float scale);
    /// The alpha half of Rotate: positions outside the source become 255.
    void RotateAlpha(Image& dest, float angle, float scale);

    ///@{
    /// The pixel plane as display words and the alpha plane, for the draw
    /// routines and anything else that walks a whole picture: null unless the
    /// plane holds width x height of them (a missing or short plane counts as
    /// missing). Owned by the image.
    std::uint16_t* Words();
    const std::uint16_t* Words() const;
    std::uint8_t* AlphaPlane();
    const std::uint8_t* AlphaPlane() const;
    ///@}

    ///@{
    /// Bytes held by each plane (0 when the plane is null). Code that reads or
    /// writes a plane in place stays within these.
    std::size_t PixelBytes() const { return pixelPlane.size; }
    std::size_t AlphaBytes() const { return alphaPlane.size; }
    ///@}

    ///@{
    /// Views of the two planes, which the image owns: read and write them in
    /// place, but (re)allocate and free them only through the operations above.
    /// An empty image has null planes.
    std::uint8_t* pixels = nullptr;
    std::uint8_t* alpha = nullptr;
    ///@}
    std::int32_t width = 0;   ///< in pixels
    std::int32_t height = 0;  ///< in pixels
    std::int8_t purpose = 0;  ///< how it is drawn: DRAW_PLAIN to DRAW_ADDITIVE, 0 for none
    std::uint8_t format = 0;  ///< the format flags (IMAGE_ALPHA, IMAGE_16BIT, ...)
    std::uint8_t fresh = 1;   ///< 1 until Create or Prepare; nothing reads it

private:
    // A plane's storage and its size in bytes; the one owner of the plane.
    struct Plane {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::size_t size = 0;
    };

    // Gives `plane` a new zero-filled storage of `bytes` (none for 0, or when
    // the allocation fails) and points `view` at it.
    static void Replace(Plane& plane, std::uint8_t*& view, std::int64_t bytes);
    void ReplacePixels(std::int64_t bytes) { Replace(pixelPlane, pixels, bytes); }
    void ReplaceAlpha(std::int64_t bytes) { Replace(alphaPlane, alpha, bytes); }
    void FreeAlpha() { ReplaceAlpha(0); }
    std::int64_t PixelCount() const;
    // The word a colour is painted with: never the colour key in a masked picture.
    std::uint16_t PaintWord(Colour colour) const;
    // True if `plane` (viewed by `view`) holds perPixel bytes for every pixel.
    bool Covers(const Plane& plane, const std::uint8_t* view, int perPixel) const;

    Plane pixelPlane;
    Plane alphaPlane;
};
