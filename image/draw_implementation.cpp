#include "image/draw_implementation.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "image/draw_kernels.h"

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define CORVANE_PROCESSOR_HAS(feature) (__builtin_cpu_supports(feature) != 0)
#else
#define CORVANE_PROCESSOR_HAS(feature) false
#endif

namespace {

// A set of row loops the draw routines can run.
struct DrawSet {
    DrawImplementation which;
    const char* name;            // the word CORVANE_DRAW uses
    const DrawKernels* kernels;  // null when this build has none
    bool (*processorRuns)();
};

// Every set, widest first; the plain loops, which run everywhere, last.
const DrawSet kSets[] = {
    {DrawImplementation::Avx512, "avx512", CORVANE_AVX512_LOOPS,
     [] {
         return CORVANE_PROCESSOR_HAS("avx512f") && CORVANE_PROCESSOR_HAS("avx512bw") &&
                CORVANE_PROCESSOR_HAS("avx512vl");
     }},
    {DrawImplementation::Avx2, "avx2", CORVANE_AVX2_LOOPS,
     [] { return CORVANE_PROCESSOR_HAS("avx2"); }},
    {DrawImplementation::Sse2, "sse2", CORVANE_SSE2_LOOPS,
     [] { return CORVANE_PROCESSOR_HAS("sse2"); }},
    {DrawImplementation::Reference, "reference", &kReferenceKernels, [] { return true; }},
};

const DrawSet* SetOf(DrawImplementation which) {
    for (const DrawSet& set : kSets) {
        if (set.which == which) return &set;
    }
    return nullptr;
}

bool Runs(const DrawSet& set) {
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
    // The choice is made while static objects are built, before the C
    // library would have read the processor's features itself.
    __builtin_cpu_init();
#endif
    return set.kernels != nullptr && set.processorRuns();
}

// The widest set that runs here (the plain loops at the least).
const DrawSet& BestSet() {
    for (const DrawSet& set : kSets) {
        if (Runs(set)) return set;
    }
    return kSets[std::size(kSets) - 1];
}

// Constant-initialised, so a draw made before start-up's choice runs the
// reference loops rather than a null table.
const DrawKernels* activeKernels = &kReferenceKernels;
DrawImplementation activeImplementation = DrawImplementation::Reference;

// "reference, sse2, avx2, avx512, best": the names CORVANE_DRAW takes.
std::string NameList() {
    std::string list;
    for (auto set = std::rbegin(kSets); set != std::rend(kSets); ++set)
        list += std::string(set->name) + ", ";
    return list + DrawImplementationName(DrawImplementation::Best);
}

// The start-up choice: CORVANE_DRAW when it names an available set, otherwise
// the best one, with a line on standard error saying why the name was not used.
bool ChooseAtStart() {
    DrawImplementation wanted = DrawImplementation::Best;
    if (const char* name = std::getenv("CORVANE_DRAW"); name != nullptr && *name != '\0') {
        if (!ParseDrawImplementation(name, wanted)) {
            std::fprintf(stderr, "CORVANE_DRAW=%s: not one of %s; using best\n", name,
                         NameList().c_str());
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

std::vector<DrawImplementation> DrawImplementations() {
    std::vector<DrawImplementation> all;
    for (auto set = std::rbegin(kSets); set != std::rend(kSets); ++set) all.push_back(set->which);
    return all;
}

bool DrawImplementationAvailable(DrawImplementation which) {
    if (which == DrawImplementation::Best) return true;
    const DrawSet* set = SetOf(which);
    return set != nullptr && Runs(*set);
}

bool SetDrawImplementation(DrawImplementation which) {
    if (!DrawImplementationAvailable(which)) return false;
    const DrawSet& set = which == DrawImplementation::Best ? BestSet() : *SetOf(which);
    activeImplementation = set.which;
    activeKernels = set.kernels;
    return true;
}

DrawImplementation ActiveDrawImplementation() {
    return activeImplementation;
}

const char* DrawImplementationName(DrawImplementation which) {
    if (which == DrawImplementation::Best) return "best";
    const DrawSet* set = SetOf(which);
    return set != nullptr ? set->name : "unknown";
}

bool ParseDrawImplementation(const char* name, DrawImplementation& which) {
    if (name == nullptr) return false;
    for (DrawImplementation candidate : DrawImplementations()) {
        if (std::strcmp(name, DrawImplementationName(candidate)) == 0) {
            which = candidate;
            return true;
        }
    }
    if (std::strcmp(name, DrawImplementationName(DrawImplementation::Best)) != 0) return false;
    which = DrawImplementation::Best;
    return true;
}

const DrawKernels& ActiveKernels() {
    return *activeKernels;
}
