#include "framework/fonts/TextAlphaRecovery.h"

#include <algorithm>

namespace Zelk {

uint32_t RecoverTextPixel(uint32_t onWhite, uint32_t onBlack)
{
    uint32_t w = onWhite & 0xFFFFFF, b = onBlack & 0xFFFFFF;
    if (w == b)
        return 0xFF000000u | w;
    if (w == 0xFFFFFF && b == 0)
        return 0;
    int alpha = 255;
    uint32_t rgb = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        int wc = int((w >> shift) & 0xFF), bc = int((b >> shift) & 0xFF);
        int coverage = bc - wc + 255;
        // A channel can be white on white and black on black while another
        // differs (edges of shadows); it then carries no colour.
        int value = coverage > 0 ? std::min(255, bc * 255 / coverage) : 0;
        alpha = std::min(alpha, coverage);
        rgb |= uint32_t(value) << shift;
    }
    alpha = std::clamp(alpha, 0, 255);
    return uint32_t(alpha) << 24 | rgb;
}

} // namespace Zelk
