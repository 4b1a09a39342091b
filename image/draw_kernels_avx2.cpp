// Row loops sixteen pixels at a time with AVX2; rows narrower than that go
// eight at a time, then pixel by pixel. Tiles are the C library's memcpy, which
// no AVX2 loop beat.
#include "image/draw_kernels.h"

#ifdef CORVANE_WIDE_KERNELS

#define CORVANE_LANES __attribute__((target("avx2")))
#include "image/lanes_avx2.h"
#include "image/row_loops.h"

CORVANE_LANES void Avx2PlainRows(const DrawArea& area) {
    PlainRows<Avx2Lanes>(area);
}

const DrawKernels kAvx2Kernels = {Avx2PlainRows,        KeyedRows<Avx2Lanes>,
                                  AlphaRows<Avx2Lanes>, AdditiveRows<Avx2Lanes>,
                                  MemcpyTiledRows,      ClearRowsJoined};

#endif
