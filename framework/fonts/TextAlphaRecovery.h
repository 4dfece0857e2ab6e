#pragma once
#include <cstdint>

namespace Zelk {

// Turns text drawn twice, once on white and once on black, back into one
// ARGB pixel (0xAARRGGBB). Only the low 24 bits of each input count.
//   - equal pixels: opaque, that colour;
//   - white on white and black on black: transparent 0;
//   - otherwise per channel c: coverage a_c = B_c - W_c + 255 and value
//     v_c = B_c x 255 / a_c (0 when a_c is 0); alpha is the smallest coverage;
//     alpha and values are clamped to 0..255.
uint32_t RecoverTextPixel(uint32_t onWhite, uint32_t onBlack);

} // namespace Zelk
