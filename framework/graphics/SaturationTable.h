#pragma once
#include <cstdint>

namespace Zelk {

// The 512-entry table of the additive blitters: entries 0-255 hold their
// index, 256-511 hold 255, so table[a + b] adds two channels with saturation.
// The application's table when there is an application.
const uint8_t* GetSaturationTable();

} // namespace Zelk
