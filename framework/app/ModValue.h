#pragma once
#include <cstdint>
#include <string>

namespace Zelk {

// The current value of one tunable constant. A reload that finds the constant
// in its source file stores all three fields: the parsed one, and zero or
// empty for the other two.
struct ModValue {
    uint8_t changed = 0; // 1 once a reload has stored a value
    int32_t integer = 0;
    double real = 0.0;
    std::string text;
};

} // namespace Zelk
