#include "framework/app/Ratio.h"

namespace Zelk {

void Ratio::Set(int32_t numerator, int32_t denominator)
{
    if (numerator == 0 && denominator == 0)
        return;
    // Euclid on the signed values; the divisor is the numerator when the
    // denominator is 0. Work in 64 bits so INT32_MIN cannot overflow.
    int64_t a = numerator, b = denominator;
    while (b != 0) {
        int64_t t = a % b;
        a = b;
        b = t;
    }
    mNumerator = int32_t(numerator / a);
    mDenominator = int32_t(denominator / a);
}

} // namespace Zelk
