// Row loops eight pixels at a time with SSE2, which every x86-64 processor has
// and the 32-bit Windows build runs where the processor has it. Plain rows and
// tiles are the C library's memcpy, which no SSE2 loop beat.
#include "image/draw_kernels.h"

#ifdef CORVANE_SSE2_KERNELS

#define CORVANE_LANES __attribute__((target("sse2")))
#include "image/lanes_sse2.h"
#include "image/row_loops.h"

namespace {

// Where everything is built for SSE2 (x86-64) the compiler turns the plain
// keyed loop into an SSE2 loop of its own, which measured a few per cent
// faster than KeyedRows; the 32-bit build has no vectors but these.
#ifdef __SSE2__
constexpr auto kKeyedRows = PixelKeyedRows;
#else
constexpr auto kKeyedRows = KeyedRows<Sse2Lanes>;
#endif

const DrawKernels kSse2Kernels = {MemcpyRows,           kKeyedRows,
                                  AlphaRows<Sse2Lanes>, AdditiveRows<Sse2Lanes>,
                                  MemcpyTiledRows,      ClearRowsJoined};

}  // namespace

const DrawKernels* Sse2Kernels() {
    return &kSse2Kernels;
}

#else

const DrawKernels* Sse2Kernels() {
    return nullptr;
}

#endif
