// Allegro 4: sprites drawn onto a 16-bit memory bitmap of the frame's size.
// Allegro keeps its own frame memory, so its bitmap stands in for the frame.
#define ALLEGRO_NO_MAGIC_MAIN
#include <allegro.h>

#include <cerrno>
#include <cstdlib>

#include "bench/peers.h"

namespace {

struct Allegro {
    BITMAP* frame = nullptr;
    BITMAP* plain = nullptr;
    BITMAP* keyed = nullptr;
    BITMAP* blended = nullptr;
    BITMAP* added = nullptr;
    BITMAP* tile = nullptr;
    bool installed = false;
} allegro;

bool Start(const PeerScene& scene) {
    if (!allegro.installed) {
        if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) return false;
        allegro.installed = true;
    }
    set_color_depth(16);
    const int n = scene.spriteSize;
    allegro.frame = create_bitmap_ex(16, scene.width, scene.height);
    allegro.plain = create_bitmap_ex(16, n, n);
    allegro.keyed = create_bitmap_ex(16, n, n);
    allegro.added = create_bitmap_ex(16, n, n);
    allegro.blended = create_bitmap_ex(32, n, n);
    allegro.tile = create_bitmap_ex(16, scene.tileSize, scene.tileSize);
    if (!allegro.frame || !allegro.plain || !allegro.keyed || !allegro.added || !allegro.blended ||
        !allegro.tile)
        return false;
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * n + x;
            const int r = scene.rgb[i * 3], g = scene.rgb[i * 3 + 1], b = scene.rgb[i * 3 + 2];
            const int a = scene.alpha[i];
            _putpixel16(allegro.plain, x, y, makecol16(r, g, b));
            _putpixel16(allegro.keyed, x, y, a == 0 ? MASK_COLOR_16 : makecol16(r, g, b));
            _putpixel16(allegro.added, x, y,
                        makecol16(Premultiplied(r, a), Premultiplied(g, a), Premultiplied(b, a)));
            _putpixel32(allegro.blended, x, y, makeacol32(r, g, b, a));
        }
    }
    for (int y = 0; y < scene.tileSize; ++y)
        for (int x = 0; x < scene.tileSize; ++x)
            _putpixel16(allegro.tile, x, y,
                        scene.tile[static_cast<std::size_t>(y) * scene.tileSize + x]);
    clear_bitmap(allegro.frame);
    return true;
}

void Plain(int x, int y) {
    blit(allegro.plain, allegro.frame, 0, 0, x, y, allegro.plain->w, allegro.plain->h);
}
void Masked(int x, int y) {
    draw_sprite(allegro.frame, allegro.keyed, x, y);
}
// A 32-bit sprite with alpha onto a 16-bit bitmap through the alpha blender.
void Alpha(int x, int y) {
    set_alpha_blender();
    draw_trans_sprite(allegro.frame, allegro.blended, x, y);
}
// The add blender at full strength: a saturating add per channel.
void Additive(int x, int y) {
    set_add_blender(0, 0, 0, 255);
    draw_trans_sprite(allegro.frame, allegro.added, x, y);
}

// A patterned fill: the tile repeats from the anchor, so the frame shows the
// plane at (x, y).
void Tiled(int x, int y) {
    drawing_mode(DRAW_MODE_COPY_PATTERN, allegro.tile, -x, -y);
    rectfill(allegro.frame, 0, 0, allegro.frame->w - 1, allegro.frame->h - 1, 0);
    solid_mode();
}

void Clear() {
    clear_bitmap(allegro.frame);
}

void Stop() {
    for (BITMAP** b : {&allegro.frame, &allegro.plain, &allegro.keyed, &allegro.blended,
                       &allegro.added, &allegro.tile}) {
        if (*b) destroy_bitmap(*b);
        *b = nullptr;
    }
}

const Peer kAllegro = {
    "allegro4",
    Start,
    Plain,
    Masked,
    Alpha,
    Additive,
    Tiled,
    Clear,
    Stop,
    "16-bit memory bitmap: blit; draw_sprite (mask colour); draw_trans_sprite of "
    "a 32-bit RGBA sprite with set_alpha_blender; draw_trans_sprite with "
    "set_add_blender(0, 0, 0, 255); rectfill with DRAW_MODE_COPY_PATTERN; "
    "clear_bitmap"};

}  // namespace

const Peer& AllegroPeer() {
    return kAllegro;
}
