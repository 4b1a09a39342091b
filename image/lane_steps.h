// The steps of the row loops written once over a set of lane operations, for
// every register width. A set of operations (Sse2Ops, Avx2Ops, Avx512Ops)
// gives kPixels, Register, Narrower and its instructions: Splat, Zero, Load,
// Store, And, Or, AndNot (~a & b), MulHi, Add, AddSat, SubSat, Min and Equal
// on unsigned 16-bit lanes, Select(where, a, b), and KeepHigh, the alpha
// bytes at a step's pixels in the high half of each lane. lanes_sse2.h says
// why every step gives exactly the words of its rule in pixel_rules.h. A set
// that does better with instructions of its own (masked stores, three-way
// logic) gives its own step under the same name, which hides this one.
#pragma once

#include <cstdint>

#include "image/pixel_rules.h"

#ifndef CORVANE_LANES
#error "define CORVANE_LANES (the kernel file's target attribute) before including lane_steps.h"
#endif

namespace {

template <class Ops>
struct LaneSteps : Ops {
    using Register = typename Ops::Register;
    using Ops::And;
    using Ops::Or;

    // The three channel masks in every lane.
    struct Masks {
        Register red, green, blue, all;
    };

    CORVANE_LANES static Masks Broadcast(const ChannelMasks& m) {
        return {Ops::Splat(m.red), Ops::Splat(m.green), Ops::Splat(m.blue),
                Ops::Splat(static_cast<std::uint16_t>(m.red | m.green | m.blue))};
    }

    CORVANE_LANES static void Copy(std::uint16_t* dst, const std::uint16_t* src) {
        Ops::Store(dst, Ops::Load(src));
    }

    CORVANE_LANES static Register KeyedResult(const std::uint16_t* dst, const std::uint16_t* src) {
        const Register s = Ops::Load(src);
        const Register key = Ops::Equal(s, Ops::Zero());
        // Where the source is the key word 0, s contributes nothing to the OR.
        return Or(s, And(key, Ops::Load(dst)));
    }

    // keepHigh: the alpha bytes in the high half of each lane (keep << 8).
    CORVANE_LANES static Register Blend(Register d, Register s, Register keepHigh, const Masks& m) {
        // The blue term is not masked again, as in AlphaPixel.
        Register out = Ops::MulHi(And(d, m.blue), keepHigh);
        out = Or(out, And(Ops::MulHi(And(d, m.green), keepHigh), m.green));
        out = Or(out, And(Ops::MulHi(And(d, m.red), keepHigh), m.red));
        return Ops::Add(out, s);
    }

    CORVANE_LANES static Register AlphaResult(const std::uint16_t* dst, const std::uint16_t* src,
                                              const std::uint8_t* keep, const Masks& m) {
        const Register d = Ops::Load(dst);
        const Register keepHigh = Ops::KeepHigh(keep);
        const Register skip = Ops::Equal(keepHigh, Ops::Splat(0xFF00));
        return Ops::Select(skip, d, Blend(d, Ops::Load(src), keepHigh, m));
    }

    CORVANE_LANES static Register SaturatedSum(Register d, Register s, Register mask) {
        return Ops::Min(Ops::AddSat(And(d, mask), And(s, mask)), mask);
    }

    // With kFields (MasksAreFields): M - min((D & M) + (S & M), M), the part of
    // the field the sum leaves free, is max((M & ~D) - (S & M), 0), since
    // M - (D & M) = M & ~D. For a run of bits it lies inside M, so M minus it is
    // M ^ it, and over fields apart from each other the sum is all & ~(the three).
    CORVANE_LANES static Register FreePart(Register d, Register s, Register mask) {
        return Ops::SubSat(Ops::AndNot(d, mask), And(s, mask));
    }

    template <bool kFields>
    CORVANE_LANES static Register AdditiveResult(const std::uint16_t* dst, const std::uint16_t* src,
                                                 const Masks& m) {
        const Register d = Ops::Load(dst);
        const Register s = Ops::Load(src);
        const Register skip = Or(Ops::Equal(d, Ops::Splat(255)), Ops::Equal(s, Ops::Zero()));
        Register sum;
        if constexpr (kFields) {
            const Register free =
                Or(Or(FreePart(d, s, m.blue), FreePart(d, s, m.green)), FreePart(d, s, m.red));
            sum = Ops::AndNot(free, m.all);
        } else {
            sum = Or(Or(SaturatedSum(d, s, m.blue), SaturatedSum(d, s, m.green)),
                     SaturatedSum(d, s, m.red));
        }
        return Ops::Select(skip, d, sum);
    }
};

}  // namespace
