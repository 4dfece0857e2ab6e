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

bool operator<(const Ratio& a, const Ratio& b)
{
    if (a.mDenominator == 0 || b.mDenominator == 0)
        return false;
    // Products wrap like the 32-bit arithmetic they stand for.
    int32_t left = int32_t(int64_t(int32_t(int64_t(a.mNumerator) * b.mDenominator)) / a.mDenominator);
    if (left < b.mNumerator)
        return true;
    int32_t right = int32_t(int64_t(int32_t(int64_t(b.mNumerator) * a.mDenominator)) / b.mDenominator);
    return a.mNumerator < right;
}

} // namespace Zelk
