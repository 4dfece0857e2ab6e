#pragma once
// Float-to-int truncation that saturates: values beyond the int32 range
// give its limits, not a number gives 0.
#include <cstdint>
#include <limits>

inline int32_t TruncateToInt32(float value)
{
    if (!(value == value))
        return 0;
    if (value >= 2147483648.0f)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0f)
        return std::numeric_limits<int32_t>::min();
    return int32_t(value);
}
