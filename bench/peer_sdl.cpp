// SDL2: SDL_BlitSurface onto an RGB565 surface that wraps the benchmark's frame.
#include <SDL.h>

#include "bench/peers.h"

namespace {

struct Sdl {
    SDL_Surface* frame = nullptr;
    SDL_Surface* plain = nullptr;
    SDL_Surface* keyed = nullptr;
    SDL_Surface* blended = nullptr;
    SDL_Surface* added = nullptr;
    SDL_Surface* tile = nullptr;
    int size = 0, tileSize = 0, width = 0, height = 0;
} sdl;

SDL_Surface* Make16(int size, const std::vector<std::uint16_t>& words) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, size, size, 16, SDL_PIXELFORMAT_RGB565);
    if (s == nullptr) return nullptr;
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(s->pixels) +
                                                     static_cast<std::ptrdiff_t>(y) * s->pitch);
        for (int x = 0; x < size; ++x) row[x] = words[static_cast<std::size_t>(y) * size + x];
    }
    return s;
}

bool Start(const PeerScene& scene) {
    const int n = scene.spriteSize;
    sdl.size = n;
    sdl.tileSize = scene.tileSize;
    sdl.width = scene.width;
    sdl.height = scene.height;
    const std::size_t count = static_cast<std::size_t>(n) * n;
    std::vector<std::uint16_t> plain(count), keyed(count), added(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int r = scene.rgb[i * 3], g = scene.rgb[i * 3 + 1], b = scene.rgb[i * 3 + 2];
        const int a = scene.alpha[i];
        plain[i] = Rgb565(r, g, b);
        // Key word 0 transparent, opaque black kept visible as 1, as the engine keys.
        keyed[i] = a == 0 ? 0 : plain[i] == 0 ? 1 : plain[i];
        added[i] = Rgb565(Premultiplied(r, a), Premultiplied(g, a), Premultiplied(b, a));
    }
    sdl.frame = SDL_CreateRGBSurfaceWithFormatFrom(scene.frame, scene.width, scene.height, 16,
                                                   scene.width * 2, SDL_PIXELFORMAT_RGB565);
    sdl.plain = Make16(n, plain);
    sdl.keyed = Make16(n, keyed);
    sdl.added = Make16(n, added);
    sdl.tile = Make16(scene.tileSize, scene.tile);
    sdl.blended = SDL_CreateRGBSurfaceWithFormat(0, n, n, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!sdl.frame || !sdl.plain || !sdl.keyed || !sdl.added || !sdl.tile || !sdl.blended)
        return false;
    for (int y = 0; y < n; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(sdl.blended->pixels) +
                                             static_cast<std::ptrdiff_t>(y) * sdl.blended->pitch);
        for (int x = 0; x < n; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * n + x;
            row[x] = static_cast<std::uint32_t>(scene.alpha[i]) << 24 | scene.rgb[i * 3] << 16 |
                     scene.rgb[i * 3 + 1] << 8 | scene.rgb[i * 3 + 2];
        }
    }
    SDL_SetSurfaceBlendMode(sdl.plain, SDL_BLENDMODE_NONE);
    SDL_SetSurfaceBlendMode(sdl.tile, SDL_BLENDMODE_NONE);
    SDL_SetColorKey(sdl.keyed, SDL_TRUE, 0);
    SDL_SetSurfaceRLE(sdl.keyed, 1);
    SDL_SetSurfaceBlendMode(sdl.blended, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceBlendMode(sdl.added, SDL_BLENDMODE_ADD);
    // The first blit of a surface builds its blitter (and the RLE runs).
    for (SDL_Surface* s : {sdl.plain, sdl.keyed, sdl.blended, sdl.added, sdl.tile}) {
        SDL_Rect at = {0, 0, 0, 0};
        SDL_BlitSurface(s, nullptr, sdl.frame, &at);
    }
    return true;
}

void Blit(SDL_Surface* source, int x, int y) {
    SDL_Rect at = {x, y, 0, 0};
    SDL_BlitSurface(source, nullptr, sdl.frame, &at);
}

void Plain(int x, int y) {
    Blit(sdl.plain, x, y);
}
void Masked(int x, int y) {
    Blit(sdl.keyed, x, y);
}
void Alpha(int x, int y) {
    Blit(sdl.blended, x, y);
}
void Additive(int x, int y) {
    Blit(sdl.added, x, y);
}

// SDL has no tiling: one blit per tile, as the engine's DrawTiled does.
void Tiled(int x, int y) {
    const int t = sdl.tileSize;
    const int rx = ((x % t) + t) % t, ry = ((y % t) + t) % t;
    for (int ty = -ry; ty < sdl.height; ty += t)
        for (int tx = -rx; tx < sdl.width; tx += t) Blit(sdl.tile, tx, ty);
}

void Clear() {
    SDL_FillRect(sdl.frame, nullptr, 0);
}

void Stop() {
    for (SDL_Surface** s :
         {&sdl.frame, &sdl.plain, &sdl.keyed, &sdl.blended, &sdl.added, &sdl.tile}) {
        SDL_FreeSurface(*s);
        *s = nullptr;
    }
}

const Peer kSdl = {
    "sdl2",
    Start,
    Plain,
    Masked,
    Alpha,
    Additive,
    Tiled,
    Clear,
    Stop,
    "SDL_BlitSurface onto RGB565: RGB565 copy; RGB565 with RLE colour key 0; ARGB8888 "
    "per-pixel alpha (BLEND); RGB565 with SDL_BLENDMODE_ADD; one blit per tile; "
    "SDL_FillRect"};

}  // namespace

const Peer& SdlPeer() {
    return kSdl;
}
