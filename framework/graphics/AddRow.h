#pragma once
#include <cstdint>

namespace Zelk {
namespace BlendRow {

// Saturating add of n colours whose alpha bytes are 0 (an image's additive
// form) to the destination pixels; the destination alpha stays. Takes the
// widest vector unit the processor has.
void AddColors(uint32_t* d, const uint32_t* s, int n);

} // namespace BlendRow
} // namespace Zelk
