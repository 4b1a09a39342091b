// Other 2D libraries doing what the engine's draw routines do, on the same
// sprite and the same 5:6:5 frame, for the peer benchmark. Each library lives in
// its own file so that its headers never meet another's.
#pragma once

#include <cstdint>
#include <vector>

#include "bench/bench_pictures.h"

// The benchmark's pictures as a file would deliver them.
struct PeerScene {
    std::uint16_t* frame;  // width x height 5:6:5 words, rows packed; the peers that can draw here
    int width;
    int height;
    int spriteSize;                   // the sprite is spriteSize x spriteSize
    std::vector<std::uint8_t> rgb;    // sprite true colour, R, G, B per pixel
    std::vector<std::uint8_t> alpha;  // sprite coverage, 0 transparent .. 255 opaque
    int tileSize;                     // the background tile is tileSize x tileSize
    std::vector<std::uint16_t> tile;  // background tile, 5:6:5 words
};

// One library. start prepares its surfaces from the scene (false when it
// cannot); the drawing calls then put the sprite with its top-left pixel at
// (x, y): plain copy, colour key, per-pixel alpha, saturating add. tiled covers
// the frame with the tile scrolled by (x, y); clear sets the frame to black.
struct Peer {
    const char* name;
    bool (*start)(const PeerScene& scene);
    void (*plain)(int x, int y);
    void (*masked)(int x, int y);
    void (*alpha)(int x, int y);
    void (*additive)(int x, int y);
    void (*tiled)(int x, int y);
    void (*clear)();
    void (*stop)();
    // What each drawing call uses of the library, for the report.
    const char* how;
};

// A component scaled by coverage, for libraries that blend premultiplied colour.
inline int Premultiplied(int component, int coverage) {
    return component * coverage / 255;
}

const Peer& PixmanPeer();
const Peer& SdlPeer();
const Peer& AllegroPeer();
