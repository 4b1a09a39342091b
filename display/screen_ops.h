// Integer helpers of the whole-screen operations.
#pragma once

#include <cstdint>

// Floor division: quotient rounded towards minus infinity and the remainder
// a - quotient * n, which lies in [0, n). n must be at least 1; for n < 1 both
// are 0.
struct FloorDivision {
    std::int64_t quotient;
    std::int64_t remainder;
};
FloorDivision FloorDivMod(std::int64_t a, std::int64_t n);
