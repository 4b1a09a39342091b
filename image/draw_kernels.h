// The row loops behind the draw routines, one set per instruction set. Every
// set gives the same words as the plain set: the per-pixel rules of
// pixel_rules.h, with only the middle of each row done many pixels at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/draw_area.h"
#include "image/pixel_rules.h"

struct DrawKernels {
    // Copies the visible rectangle row by row.
    void (*plain)(const DrawArea& area);
    // Copies every source word that is not 0.
    void (*masked)(const DrawArea& area);
    // Blends by the stored complement of alpha (AlphaPixel).
    void (*alpha)(const DrawArea& area, const ChannelMasks& masks);
    // Adds with saturation per channel (AdditivePixel).
    void (*additive)(const DrawArea& area, const ChannelMasks& masks);
    // Covers the rectangle with copies of the tile.
    void (*tiled)(const TileArea& area);
    // Sets rowBytes bytes to 0 at each of `rows` row starts, step bytes apart.
    void (*clearRows)(std::uint8_t* first, int rows, std::size_t rowBytes, std::size_t step);
};

// The plain loops: one pixel at a time, one memcpy per plain row.
extern const DrawKernels kReferenceKernels;

// Loops of the plain set that other sets use where no vector loop beats them.
// Keyed rows pixel by pixel (which the compiler vectorises where its target
// has vectors), a row or a tile's run copied by the C library's memcpy:
void PixelKeyedRows(const DrawArea& area);
void MemcpyRows(const DrawArea& area);
void MemcpyTiledRows(const TileArea& area);
// Rows that touch or overlap (step <= rowBytes) cover one block, cleared by a
// single memset, which is already the C library's widest store loop; rows with
// gaps between them go one by one.
void ClearRowsJoined(std::uint8_t* first, int rows, std::size_t rowBytes, std::size_t step);

// The set chosen for the draw routines: at start-up the best one the processor
// runs (or the one CORVANE_DRAW names), later whatever SetDrawImplementation chose.
const DrawKernels& ActiveKernels();

// Vector lanes are 16 bits wide: masks with bits above bit 15, which no 16-bit
// display has, go through the plain loops so that they keep their exact words.
inline bool MasksFitLanes(const ChannelMasks& m) {
    return ((m.red | m.green | m.blue) & ~0xFFFF) == 0;
}

// Vector kernels are built for x86 (32- and 64-bit) with GCC or Clang. The 256-
// and 512-bit ones are left out on Windows, whose 16-byte stack alignment GCC
// does not raise for spilled wide registers.
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define CORVANE_SSE2_KERNELS 1
#if !defined(_WIN32)
#define CORVANE_WIDE_KERNELS 1
#endif
#endif

// Each vector set's loops, in a file of its own, where this build has them:
// the table of sets reads the *_LOOPS names, null where the build has none.
#ifdef CORVANE_SSE2_KERNELS
extern const DrawKernels kSse2Kernels;
#define CORVANE_SSE2_LOOPS (&kSse2Kernels)
#else
#define CORVANE_SSE2_LOOPS nullptr
#endif
#ifdef CORVANE_WIDE_KERNELS
extern const DrawKernels kAvx2Kernels;
extern const DrawKernels kAvx512Kernels;
// AVX2's plain rows, which the AVX-512 set takes: a 32-word copy measured about
// 10 % slower than two 16-word ones.
void Avx2PlainRows(const DrawArea& area);
#define CORVANE_AVX2_LOOPS (&kAvx2Kernels)
#define CORVANE_AVX512_LOOPS (&kAvx512Kernels)
#else
#define CORVANE_AVX2_LOOPS nullptr
#define CORVANE_AVX512_LOOPS nullptr
#endif
