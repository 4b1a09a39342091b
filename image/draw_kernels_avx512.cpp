// Row loops 32 pixels at a time with AVX-512 (F, BW and VL); rows narrower than
// that go sixteen, then eight at a time, then pixel by pixel. Plain rows are
// AVX2's.
#include "image/draw_kernels.h"

#ifdef CORVANE_WIDE_KERNELS

#define CORVANE_LANES __attribute__((target("avx512f,avx512bw,avx512vl")))
#include "image/lanes_avx512.h"
#include "image/row_loops.h"
#include "image/tile_rows.h"

const DrawKernels kAvx512Kernels = {Avx2PlainRows,          KeyedRows<Avx512Lanes>,
                                    AlphaRows<Avx512Lanes>, AdditiveRows<Avx512Lanes>,
                                    TiledRows<Avx512Lanes>, ClearRowsJoined};

#endif
