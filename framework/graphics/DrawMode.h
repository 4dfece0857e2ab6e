#pragma once

namespace Zelk {

// 0: the source is blended over the destination by its alpha; 1: the source,
// weighted by its alpha and the modulating colour, is added with saturation.
enum DrawMode { DRAWMODE_NORMAL = 0, DRAWMODE_ADDITIVE = 1 };

} // namespace Zelk
