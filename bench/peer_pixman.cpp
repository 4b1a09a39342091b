// pixman: composite onto an r5g6b5 image that wraps the benchmark's frame.
#include <pixman.h>

#include "bench/peers.h"

namespace {

struct Pixman {
    pixman_image_t* frame = nullptr;
    pixman_image_t* plain = nullptr;
    pixman_image_t* keyed = nullptr;
    pixman_image_t* blended = nullptr;
    pixman_image_t* tile = nullptr;
    std::vector<std::uint16_t> plainBits;
    std::vector<std::uint32_t> keyedBits;
    std::vector<std::uint32_t> blendedBits;
    std::vector<std::uint16_t> tileBits;
    std::uint16_t* frameBits = nullptr;
    int width = 0, height = 0, size = 0;
} pixman;

bool Start(const PeerScene& scene) {
    const int n = scene.spriteSize;
    pixman.size = n;
    pixman.width = scene.width;
    pixman.height = scene.height;
    pixman.frameBits = scene.frame;
    pixman.plainBits.resize(static_cast<std::size_t>(n) * n);
    pixman.keyedBits.resize(pixman.plainBits.size());
    pixman.blendedBits.resize(pixman.plainBits.size());
    for (std::size_t i = 0; i < pixman.plainBits.size(); ++i) {
        const int r = scene.rgb[i * 3], g = scene.rgb[i * 3 + 1], b = scene.rgb[i * 3 + 2];
        const int a = scene.alpha[i];
        pixman.plainBits[i] = Rgb565(r, g, b);
        // The colour key as alpha: opaque wherever there is any coverage.
        pixman.keyedBits[i] = a != 0 ? 0xFF000000u | (r << 16) | (g << 8) | b : 0;
        pixman.blendedBits[i] = static_cast<std::uint32_t>(a) << 24 | Premultiplied(r, a) << 16 |
                                Premultiplied(g, a) << 8 | Premultiplied(b, a);
    }
    pixman.tileBits = scene.tile;
    pixman.frame =
        pixman_image_create_bits(PIXMAN_r5g6b5, scene.width, scene.height,
                                 reinterpret_cast<std::uint32_t*>(scene.frame), scene.width * 2);
    pixman.plain = pixman_image_create_bits(
        PIXMAN_r5g6b5, n, n, reinterpret_cast<std::uint32_t*>(pixman.plainBits.data()), n * 2);
    pixman.keyed = pixman_image_create_bits(PIXMAN_a8r8g8b8, n, n, pixman.keyedBits.data(), n * 4);
    pixman.blended =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, n, n, pixman.blendedBits.data(), n * 4);
    pixman.tile = pixman_image_create_bits(PIXMAN_r5g6b5, scene.tileSize, scene.tileSize,
                                           reinterpret_cast<std::uint32_t*>(pixman.tileBits.data()),
                                           scene.tileSize * 2);
    if (!pixman.frame || !pixman.plain || !pixman.keyed || !pixman.blended || !pixman.tile)
        return false;
    pixman_image_set_repeat(pixman.tile, PIXMAN_REPEAT_NORMAL);
    return true;
}

void Composite(pixman_op_t op, pixman_image_t* source, int x, int y) {
    pixman_image_composite32(op, source, nullptr, pixman.frame, 0, 0, 0, 0, x, y, pixman.size,
                             pixman.size);
}

void Plain(int x, int y) {
    Composite(PIXMAN_OP_SRC, pixman.plain, x, y);
}
void Masked(int x, int y) {
    Composite(PIXMAN_OP_OVER, pixman.keyed, x, y);
}
void Alpha(int x, int y) {
    Composite(PIXMAN_OP_OVER, pixman.blended, x, y);
}
void Additive(int x, int y) {
    Composite(PIXMAN_OP_ADD, pixman.blended, x, y);
}

// The frame is a window at (x, y) onto the plane the repeating tile covers.
void Tiled(int x, int y) {
    pixman_image_composite32(PIXMAN_OP_SRC, pixman.tile, nullptr, pixman.frame, x, y, 0, 0, 0, 0,
                             pixman.width, pixman.height);
}

void Clear() {
    pixman_fill(reinterpret_cast<std::uint32_t*>(pixman.frameBits), pixman.width * 2 / 4, 16, 0, 0,
                pixman.width, pixman.height, 0);
}

void Stop() {
    for (pixman_image_t** image :
         {&pixman.frame, &pixman.plain, &pixman.keyed, &pixman.blended, &pixman.tile}) {
        if (*image) pixman_image_unref(*image);
        *image = nullptr;
    }
}

const Peer kPixman = {
    "pixman",
    Start,
    Plain,
    Masked,
    Alpha,
    Additive,
    Tiled,
    Clear,
    Stop,
    "pixman_image_composite32 onto r5g6b5: SRC r5g6b5; OVER a8r8g8b8 with alpha 0/255; OVER "
    "premultiplied a8r8g8b8; ADD premultiplied a8r8g8b8; SRC of a repeating r5g6b5 tile; "
    "pixman_fill"};

}  // namespace

const Peer& PixmanPeer() {
    return kPixman;
}
