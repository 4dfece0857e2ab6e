#include "framework/sound/MuLaw.h"

namespace Zelk {

int16_t MuLawToLinear(uint8_t b)
{
    int sign = b >= 128 ? 1 : -1;
    int y = b | 128;
    int m;
    if (y > 239)
        m = (255 - y) * 2;
    else if (y > 223)
        m = (247 - y) * 4;
    else if (y > 207)
        m = (235 - y) * 8;
    else if (y > 191)
        m = (221 - y) * 16;
    else if (y > 175)
        m = (206 - y) * 32;
    else if (y > 159)
        m = 12192 - 64 * y;
    else if (y > 143)
        m = 22368 - 128 * y;
    else
        // The loudest segment, 128 included: its bytes 128 and 0 are the
        // largest magnitudes, one step beyond 129 and 1.
        m = 40672 - 256 * y;
    return int16_t(sign * m * 4);
}

} // namespace Zelk
