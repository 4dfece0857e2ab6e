#pragma once
#include <cstdint>

namespace Zelk {

// A reduced fraction.
class Ratio {
public:
    Ratio() = default;
    Ratio(int32_t numerator, int32_t denominator) { Set(numerator, denominator); }
    // Both divided by their greatest common divisor. (0, 0) has no ratio and
    // leaves the value unchanged.
    void Set(int32_t numerator, int32_t denominator);
    bool operator==(const Ratio& o) const { return mNumerator == o.mNumerator && mDenominator == o.mDenominator; }
    bool operator!=(const Ratio& o) const { return !(*this == o); }

    int32_t mNumerator = 1;
    int32_t mDenominator = 1;
};

// Whether aspect a is narrower than aspect b, in 32-bit integer arithmetic
// truncating toward zero. A zero denominator compares false.
bool operator<(const Ratio& a, const Ratio& b);

} // namespace Zelk
