#include "image/draw_implementation.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "image/draw_kernels.h"

namespace {

constexpr DrawImplementation kAll[] = {DrawImplementation::Reference, DrawImplementation::Sse2,
                                       DrawImplementation::Avx2, DrawImplementation::Avx512,
                                       DrawImplementation::Best};

bool ProcessorRuns(DrawImplementation which) {
#if defined(__x86_64__) && defined(__GNUC__)
    __builtin_cpu_init();
    switch (which) {
        case DrawImplementation::Sse2:
            return __builtin_cpu_supports("sse2");
        case DrawImplementation::Avx2:
            return __builtin_cpu_supports("avx2");
        case DrawImplementation::Avx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                   __builtin_cpu_supports("avx512vl");
        default:
            return true;
    }
#else
    return which == DrawImplementation::Reference || which == DrawImplementation::Best;
#endif
}

// The loops of one named set, or null when this build has none.
const DrawKernels* KernelsOf(DrawImplementation which) {
    switch (which) {
        case DrawImplementation::Reference:
            return &kReferenceKernels;
        case DrawImplementation::Sse2:
            return Sse2Kernels();
        case DrawImplementation::Avx2:
            return Avx2Kernels();
        case DrawImplementation::Avx512:
            return Avx512Kernels();
        case DrawImplementation::Best:
            break;
    }
    return nullptr;
}

DrawImplementation Resolve(DrawImplementation which) {
    if (which != DrawImplementation::Best) return which;
    for (DrawImplementation wide :
         {DrawImplementation::Avx512, DrawImplementation::Avx2, DrawImplementation::Sse2}) {
        if (DrawImplementationAvailable(wide)) return wide;
    }
    return DrawImplementation::Reference;
}

// Constant-initialised, so a draw made before start-up's choice runs the
// reference loops rather than a null table.
const DrawKernels* activeKernels = &kReferenceKernels;
DrawImplementation activeImplementation = DrawImplementation::Reference;

// The start-up choice: CORVANE_DRAW when it names an available set, otherwise
// the best one, with a line on standard error saying why the name was not used.
bool ChooseAtStart() {
    DrawImplementation wanted = DrawImplementation::Best;
    if (const char* name = std::getenv("CORVANE_DRAW"); name != nullptr && *name != '\0') {
        if (!ParseDrawImplementation(name, wanted)) {
            std::fprintf(stderr,
                         "CORVANE_DRAW=%s: not one of reference, sse2, avx2, avx512, best; "
                         "using best\n",
                         name);
            wanted = DrawImplementation::Best;
        } else if (!DrawImplementationAvailable(wanted)) {
            std::fprintf(stderr, "CORVANE_DRAW=%s: this processor or build lacks it; using best\n",
                         name);
            wanted = DrawImplementation::Best;
        }
    }
    return SetDrawImplementation(wanted);
}

const bool chosenAtStart = ChooseAtStart();

}  // namespace

bool DrawImplementationAvailable(DrawImplementation which) {
    if (which == DrawImplementation::Best) return true;
    return KernelsOf(which) != nullptr && ProcessorRuns(which);
}

bool SetDrawImplementation(DrawImplementation which) {
    if (!DrawImplementationAvailable(which)) return false;
    activeImplementation = Resolve(which);
    activeKernels = KernelsOf(activeImplementation);
    return true;
}

DrawImplementation ActiveDrawImplementation() {
    return activeImplementation;
}

const char* DrawImplementationName(DrawImplementation which) {
    switch (which) {
        case DrawImplementation::Reference:
            return "reference";
        case DrawImplementation::Sse2:
            return "sse2";
        case DrawImplementation::Avx2:
            return "avx2";
        case DrawImplementation::Avx512:
            return "avx512";
        case DrawImplementation::Best:
            return "best";
    }
    return "unknown";
}

bool ParseDrawImplementation(const char* name, DrawImplementation& which) {
    if (name == nullptr) return false;
    for (DrawImplementation candidate : kAll) {
        if (std::strcmp(name, DrawImplementationName(candidate)) == 0) {
            which = candidate;
            return true;
        }
    }
    return false;
}

const DrawKernels& ActiveKernels() {
    return *activeKernels;
}
