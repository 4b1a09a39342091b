// Row loops eight pixels at a time with SSE2, which every x86-64 processor has.
// Plain rows and tiles are the C library's memcpy, which no SSE2 loop beat.
#include "image/draw_kernels.h"

#ifdef CORVANE_SSE2_KERNELS

#define CORVANE_LANES __attribute__((target("sse2")))
#include "image/lanes_sse2.h"
#include "image/row_loops.h"

namespace {

const DrawKernels kSse2Kernels = {MemcpyRows,           KeyedRows<Sse2Lanes>,
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
