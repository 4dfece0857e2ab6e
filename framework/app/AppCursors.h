#pragma once
#include <cstdint>

namespace Zelk {

// The application's two cursors of its own, as 32 x 32 monochrome AND and XOR
// masks (128 bytes each): a pointing hand (hot spot 11, 4) and a closed,
// dragging hand (hot spot 15, 10).
struct CursorMasks {
    uint8_t andMask[128];
    uint8_t xorMask[128];
    int hotX, hotY;
};

const CursorMasks& HandCursorMasks();
const CursorMasks& DraggingCursorMasks();

} // namespace Zelk
