// Row loops eight pixels at a time with SSE2, which every x86-64 processor has
// and the 32-bit Windows build runs where the processor has it.
#include "image/draw_kernels.h"

#ifdef CORVANE_SSE2_KERNELS

#define CORVANE_LANES __attribute__((target("sse2")))
#include "image/lanes_sse2.h"
#include "image/row_loops.h"
#include "image/tile_rows.h"

namespace {

// Where everything is built for SSE2 (x86-64) the compiler turns the plain
// keyed loop into an SSE2 loop of its own, which measured a few per cent
// faster than KeyedRows; the 32-bit build has no vectors but these.
#ifdef __SSE2__
constexpr auto kKeyedRows = PixelKeyedRows;
#else
constexpr auto kKeyedRows = KeyedRows<Sse2Lanes>;
#endif

// On 64-bit Linux the C library's memcpy copies a short row as fast as SSE2
// registers do; Windows' C library (under Wine, a sprite's rows in 1.4 times
// the time) and 32-bit builds' (2.7 times) take longer.
#if defined(__x86_64__) && !defined(_WIN32)
constexpr auto kPlainRows = MemcpyRows;
constexpr auto kTiledRows = MemcpyTiledRows;
#else
constexpr auto kPlainRows = PlainRows<Sse2Lanes>;
constexpr auto kTiledRows = TiledRows<Sse2Lanes>;
#endif

}  // namespace

const DrawKernels kSse2Kernels = {kPlainRows,           kKeyedRows,
                                  AlphaRows<Sse2Lanes>, AdditiveRows<Sse2Lanes>,
                                  kTiledRows,           ClearRowsJoined};

#endif
