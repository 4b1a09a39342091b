/// @file
/// Which row loops the draw routines run: the plain reference loops, or vector
/// loops for an instruction set. All give the same pixels. The choice is made
/// once at start-up (the fastest set the processor runs, or the one named by the
/// environment variable CORVANE_DRAW) and can be changed by tests and tools to
/// compare sets or to find which one differs.
#pragma once

#include <vector>

/// A set of row loops the draw routines can run.
enum class DrawImplementation {
    Reference,  ///< one pixel at a time, as the rules are written
    Sse2,       ///< 8 pixels at a time (every x86-64 processor)
    Avx2,       ///< 16 pixels at a time
    Avx512,     ///< 32 pixels at a time (AVX-512 F, BW and VL)
    Best,       ///< the fastest of the above that this processor runs
};

/// Every set this build knows (not Best), narrowest first: Reference, then the
/// vector sets from the narrowest to the widest, whether or not they run here.
std::vector<DrawImplementation> DrawImplementations();
/// Whether this build and this processor can run it; Reference and Best always can.
bool DrawImplementationAvailable(DrawImplementation which);
/// Makes the draw routines use `which` from now on. False, and nothing changes,
/// when it is not available.
bool SetDrawImplementation(DrawImplementation which);
/// The implementation in use; never Best (Best is resolved when it is chosen).
DrawImplementation ActiveDrawImplementation();
/// The name CORVANE_DRAW uses: "reference", "sse2", "avx2", "avx512" or "best".
const char* DrawImplementationName(DrawImplementation which);
/// Reads such a name (exact, lower case). False for anything else.
bool ParseDrawImplementation(const char* name, DrawImplementation& which);
