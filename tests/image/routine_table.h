// The four image routines of the draw table with the purpose each accepts, for
// tests that run the same case through every routine.
#pragma once

#include <cstdint>

#include "image/draw_routines.h"
#include "image/image.h"

using DrawRoutine = int (*)(int, int, Image*);

struct Routine {
    const char* name;
    DrawRoutine draw;
    std::int8_t purpose;
};

inline const Routine kRoutines[] = {
    {"DrawPlain16", DrawPlain16, DRAW_PLAIN},
    {"DrawMasked16", DrawMasked16, DRAW_MASKED},
    {"DrawAlpha16", DrawAlpha16, DRAW_ALPHA},
    {"DrawAdditive16", DrawAdditive16, DRAW_ADDITIVE},
};
