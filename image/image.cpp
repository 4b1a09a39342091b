#include "image/image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "display/pixel_format.h"

namespace {

// Offsets into a plane are 32-bit, so no plane may be larger than that.
constexpr std::int64_t kMaxPlaneBytes = std::numeric_limits<std::int32_t>::max();

// Degrees to radians with pi taken as 3.141592.
constexpr float kDegree = 0.01745328888888889f;

// Channel values are not range-checked; the shifts are unsigned so that any
// value gives a defined word.
std::uint16_t DisplayWord(int r, int g, int b) {
    return static_cast<std::uint16_t>((static_cast<unsigned>(r) << RedShift) +
                                      (static_cast<unsigned>(g) << GreenShift) +
                                      (static_cast<unsigned>(b) << BlueShift));
}

// A display word with each channel scaled by a / 256.
std::uint16_t ScaleWord(std::uint16_t word, int a) {
    const int r = ((word & RedMask) >> RedShift) * a >> 8;
    const int g = ((word & GreenMask) >> GreenShift) * a >> 8;
    const int b = ((word & BlueMask) >> BlueShift) * a >> 8;
    return DisplayWord(r, g, b);
}

// Bytes of a plane of `count` pixels of perPixel bytes, or 0 (no plane) when
// that is more than a plane may hold; checked before multiplying, so that any
// width and height are safe.
std::int64_t PlaneBytes(std::int64_t count, int perPixel) {
    return perPixel > 0 && count <= kMaxPlaneBytes / perPixel ? count * perPixel : 0;
}

bool InsideSource(float x, float y, int width, int height) {
    // Written so that a NaN position (scale 0) counts as outside.
    return x >= 0.0f && x < static_cast<float>(width) && y >= 0.0f &&
           y < static_cast<float>(height);
}

// Walks the destination row by row through the source along the rotated and
// scaled axes. Pixels whose position falls outside the source get `trim`.
// `quotient` stretches the vertical step (the colour plane uses width / height).
template <typename T>
void RotatePlane(const T* src, int srcWidth, int srcHeight, T* dst, int dstWidth, int dstHeight,
                 float angle, float scale, int quotient, T trim) {
    const float q = static_cast<float>(quotient);
    const std::int64_t squares =
        std::int64_t{dstWidth} * dstWidth + std::int64_t{dstHeight} * dstHeight;
    const float diagonal = std::sqrt(static_cast<float>(squares));
    const float corner = (135.0f - angle) * kDegree;
    float x0 = (diagonal / 2.0f * std::cos(corner)) / scale + static_cast<float>(srcWidth) / 2.0f;
    float y0 =
        static_cast<float>(srcHeight) / 2.0f - (diagonal / 2.0f * std::sin(corner) * q) / scale;
    const float dx = std::cos(angle * kDegree) / scale;
    const float dy = std::sin(angle * kDegree) * q / scale;

    for (int row = 0; row < dstHeight; ++row) {
        T* out = dst + std::int64_t{row} * dstWidth;
        int n = dstWidth;
        // Right end first: a pixel goes as soon as the step beyond it is outside.
        float x = x0 + static_cast<float>(dstWidth) * dx;
        float y = y0 + static_cast<float>(dstWidth) * dy;
        while (n > 0 && !InsideSource(x, y, srcWidth, srcHeight)) {
            out[n - 1] = trim;
            x -= dx;
            y -= dy;
            --n;
        }
        x = x0;
        y = y0;
        while (n > 0 && !InsideSource(x, y, srcWidth, srcHeight)) {
            *out++ = trim;
            x += dx;
            y += dy;
            --n;
        }
        // Both ends of this run are inside, so every position between them is
        // too; the test per pixel only guards against rounding in the steps.
        for (; n > 0; --n) {
            *out++ = InsideSource(x, y, srcWidth, srcHeight)
                         ? src[std::int64_t{static_cast<int>(y)} * srcWidth + static_cast<int>(x)]
                         : trim;
            x += dx;
            y += dy;
        }
        x0 -= dy;
        y0 += dx;
    }
}

}  // namespace

Image::Image() = default;

Image::Image(int newWidth, int newHeight, std::uint8_t newFormat) {
    Size(newWidth, newHeight, newFormat);
}

Image::~Image() {
    ReplacePixels(0);
    FreeAlpha();
    width = 0;
    height = 0;
    format = 0;
}

void Image::Replace(Plane& plane, std::uint8_t*& view, std::int64_t bytes) {
    plane.bytes.reset();
    plane.size = 0;
    if (bytes > 0 && bytes <= kMaxPlaneBytes) {
        plane.bytes.reset(new (std::nothrow) std::uint8_t[bytes]());
        if (plane.bytes) plane.size = static_cast<std::size_t>(bytes);
    }
    view = plane.bytes.get();
}

std::int64_t Image::PixelCount() const {
    return width > 0 && height > 0 ? std::int64_t{width} * height : 0;
}

bool Image::Covers(const Plane& plane, const std::uint8_t* view, int perPixel) const {
    // Divided, not multiplied: any size stored in width and height is safe.
    return view != nullptr && view == plane.bytes.get() &&
           PixelCount() <= static_cast<std::int64_t>(plane.size / perPixel);
}

std::uint16_t* Image::Words() {
    return Covers(pixelPlane, pixels, 2) ? reinterpret_cast<std::uint16_t*>(pixels) : nullptr;
}

const std::uint16_t* Image::Words() const {
    return Covers(pixelPlane, pixels, 2) ? reinterpret_cast<const std::uint16_t*>(pixels) : nullptr;
}

std::uint8_t* Image::AlphaPlane() {
    return Covers(alphaPlane, alpha, 1) ? alpha : nullptr;
}

const std::uint8_t* Image::AlphaPlane() const {
    return Covers(alphaPlane, alpha, 1) ? alpha : nullptr;
}

Image& Image::Size(int newWidth, int newHeight, std::uint8_t newFormat) {
    // A negative size is an empty image rather than an impossible allocation.
    const std::int64_t count =
        newWidth > 0 && newHeight > 0 ? std::int64_t{newWidth} * newHeight : 0;
    ReplacePixels(PlaneBytes(count, BytesPerPixel(newFormat)));
    if (newFormat != 0) ReplaceAlpha(count);
    width = newWidth;
    height = newHeight;
    format = newFormat;
    return *this;
}

int Image::BytesPerPixel(std::uint8_t fmt) {
    const int extra = (fmt & IMAGE_EXTRABYTE) ? 1 : 0;
    if (fmt & IMAGE_4BIT) return 1 + extra;
    if (fmt & IMAGE_8BIT) return 1 + extra;
    if (fmt & IMAGE_16BIT) return 2 + extra;
    if (fmt & IMAGE_32BIT) return 3 + extra;
    return 0;
}

int Image::Depth(std::uint8_t fmt) {
    if (fmt & IMAGE_4BIT) return 4;
    if (fmt & IMAGE_8BIT) return 8;
    if (fmt & IMAGE_16BIT) return 16;
    if (fmt & IMAGE_32BIT) return 32;
    return 0;
}

Image& Image::FlipFormat(std::uint8_t bits) {
    format ^= bits;
    return *this;
}

Image& Image::AddFormat(std::uint8_t bits) {
    format |= bits;
    return *this;
}

Image& Image::Create(int newWidth, int newHeight, std::int8_t newPurpose) {
    if (newPurpose == DRAW_PLAIN) {
        Size(newWidth, newHeight, IMAGE_16BIT);
    } else if (newPurpose >= DRAW_MASKED && newPurpose <= DRAW_ADDITIVE) {
        Size(newWidth, newHeight, IMAGE_16BIT | IMAGE_ALPHA);
    }
    Fill(0, 0, 0);
    purpose = newPurpose;
    fresh = 0;
    return *this;
}

void Image::Fill(int r, int g, int b) {
    // A plane too small for one word per pixel is not a display-format image.
    std::uint16_t* out = Words();
    if (out == nullptr) return;
    const std::uint16_t word = DisplayWord(r, g, b);
    const std::int64_t count = PixelCount();
    for (std::int64_t i = 0; i < count; ++i) out[i] = word;
}

void Image::SetPixel(int x, int y, int r, int g, int b) {
    std::uint16_t* words = Words();
    if (x < 0 || y < 0 || x >= width || y >= height || words == nullptr) return;
    words[std::int64_t{y} * width + x] = DisplayWord(r, g, b);
}

std::uint16_t Image::PaintWord(Colour colour) const {
    const std::uint16_t word = colour.Word();
    return purpose == DRAW_MASKED && word == 0 ? std::uint16_t{1} : word;
}

void Image::Fill(Colour colour) {
    std::uint16_t* out = Words();
    if (out == nullptr) return;
    std::fill(out, out + PixelCount(), PaintWord(colour));
}

void Image::SetPixel(int x, int y, Colour colour) {
    std::uint16_t* words = Words();
    if (x < 0 || y < 0 || x >= width || y >= height || words == nullptr) return;
    words[std::int64_t{y} * width + x] = PaintWord(colour);
}

void Image::GetPixel(int x, int y, int& r, int& g, int& b) const {
    const std::uint16_t* words = Words();
    if (x < 0 || y < 0 || x >= width || y >= height || words == nullptr) {
        r = g = b = 0;
        return;
    }
    const int word = words[std::int64_t{y} * width + x];
    r = (word & RedMask) >> RedShift;
    g = (word & GreenMask) >> GreenShift;
    b = (word & BlueMask) >> BlueShift;
}

Image& Image::ConvertDepth(std::uint8_t target) {
    const std::int64_t count = PixelCount();
    if (Depth(format) == 32 && Depth(target) == 16 && Covers(pixelPlane, pixels, 3)) {
        std::unique_ptr<std::uint8_t[]> source = std::move(pixelPlane.bytes);
        ReplacePixels(PlaneBytes(count, BytesPerPixel(target)));
        if (std::uint16_t* out = Words()) {
            const std::uint8_t* in = source.get();
            for (std::int64_t i = 0; i < count; ++i, in += 3) {
                // The top bits of each 8-bit component, placed at the channel's shift.
                out[i] = static_cast<std::uint16_t>((((in[0] << RedBits) >> 8) << RedShift) |
                                                    (((in[1] << GreenBits) >> 8) << GreenShift) |
                                                    (((in[2] << BlueBits) >> 8) << BlueShift));
            }
        }
    }
    FlipFormat(static_cast<std::uint8_t>(Depth(format)));
    AddFormat(static_cast<std::uint8_t>(Depth(target)));
    return *this;
}

Image& Image::Prepare(std::int8_t newPurpose) {
    purpose = newPurpose;
    ConvertDepth(IMAGE_16BIT);
    if (newPurpose == DRAW_MASKED) {
        BuildMask();
    } else if (newPurpose == DRAW_ALPHA || newPurpose == DRAW_ADDITIVE) {
        PremultiplyAlpha();
    }
    fresh = 0;
    return *this;
}

void Image::BuildMask() {
    if (!HasAlpha(format)) return;
    std::uint16_t* word = Words();
    if (Depth(format) == 16 && word != nullptr && AlphaPlane() != nullptr) {
        const std::int64_t count = PixelCount();
        for (std::int64_t i = 0; i < count; ++i) {
            // Opaque black must stay visible, so it becomes the smallest non-zero word.
            if (word[i] == 0) word[i] = 1;
            if (alpha[i] == 0) word[i] = 0;
        }
    }
    FreeAlpha();
    FlipFormat(IMAGE_ALPHA);
    AddFormat(IMAGE_MASKED);
}

void Image::PremultiplyAlpha() {
    const std::int64_t count = PixelCount();
    const int depth = Depth(format);
    const bool trueColour = depth == 32 && Covers(pixelPlane, pixels, 3);
    std::uint16_t* words = depth == 16 ? Words() : nullptr;

    if (!HasAlpha(format)) {
        // No coverage from the file: brightness stands in for it.
        ReplaceAlpha(count);
        AddFormat(IMAGE_ALPHA);
        if (AlphaPlane() == nullptr) return;
        for (std::int64_t i = 0; i < count; ++i) {
            if (words != nullptr) {
                const int word = words[i];
                const int sum = ((word & RedMask) >> RedShift) +
                                ((word & GreenMask) >> GreenShift) +
                                ((word & BlueMask) >> BlueShift);
                alpha[i] = static_cast<std::uint8_t>(sum * 4 / 3);
            } else if (trueColour) {
                const std::uint8_t* rgb = pixels + i * 3;
                alpha[i] = static_cast<std::uint8_t>((rgb[0] + rgb[1] + rgb[2]) / 3);
            }
        }
    }

    if ((words == nullptr && !trueColour) || AlphaPlane() == nullptr) return;
    for (std::int64_t i = 0; i < count; ++i) {
        const int a = alpha[i];
        if (words != nullptr) {
            words[i] = ScaleWord(words[i], a);
        } else {
            std::uint8_t* rgb = pixels + i * 3;
            for (int c = 0; c < 3; ++c) rgb[c] = static_cast<std::uint8_t>(rgb[c] * a >> 8);
        }
        // From here on the plane holds the weight that the destination keeps.
        alpha[i] = static_cast<std::uint8_t>(255 - a);
    }
}

Image& Image::SetPurpose(std::int8_t newPurpose) {
    purpose = newPurpose;
    return *this;
}

Image& Image::Rotate(Image& dest, float angle, float scale) {
    dest.purpose = purpose;
    RotateColour(dest, angle, scale);
    RotateAlpha(dest, angle, scale);
    return dest;
}

void Image::RotateColour(Image& dest, float angle, float scale) {
    // A source without rows has no width-to-height quotient.
    if (dest.Words() == nullptr || Words() == nullptr || width <= 0 || height <= 0) return;
    dest.purpose = purpose;
    RotatePlane<std::uint16_t>(Words(), width, height, dest.Words(), dest.width, dest.height, angle,
                               scale, width / height, 0);
}

void Image::RotateAlpha(Image& dest, float angle, float scale) {
    if (dest.AlphaPlane() == nullptr || AlphaPlane() == nullptr) return;
    dest.purpose = purpose;
    RotatePlane<std::uint8_t>(AlphaPlane(), width, height, dest.AlphaPlane(), dest.width,
                              dest.height, angle, scale, 1, 255);
}
