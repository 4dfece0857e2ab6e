#include "framework/app/AppCursors.h"

#include <cstring>

namespace Zelk {

namespace {

// '#' black outline, '.' white fill, anything else clear.
const char* const kHand[32] = {
    "           ##                   ",
    "          #..#                  ",
    "          #..#                  ",
    "          #..#                  ",
    "          #..#                  ",
    "          #..###                ",
    "          #..#..###             ",
    "          #..#..#..##           ",
    "          #..#..#..#.#          ",
    "       ## #..#..#..#..#         ",
    "      #..##........#..#         ",
    "      #...#...........#         ",
    "       #..............#         ",
    "        #.............#         ",
    "        #.............#         ",
    "         #............#         ",
    "         #...........#          ",
    "          #..........#          ",
    "          #.........#           ",
    "           #........#           ",
    "           #........#           ",
    "           ##########           ",
};

const char* const kDragging[32] = {
    "",
    "",
    "",
    "",
    "",
    "            ## ## ##            ",
    "           #..#..#..##          ",
    "           #..#..#..#.#         ",
    "         ###..#..#..#..#        ",
    "        #..#...........#        ",
    "        #...............#       ",
    "         #..............#       ",
    "          #.............#       ",
    "          #............#        ",
    "           #...........#        ",
    "           #..........#         ",
    "            #.........#         ",
    "            #.........#         ",
    "            ###########         ",
};

CursorMasks Build(const char* const* rows, int hotX, int hotY)
{
    CursorMasks m;
    memset(m.andMask, 0xFF, sizeof m.andMask); // clear
    memset(m.xorMask, 0x00, sizeof m.xorMask);
    m.hotX = hotX;
    m.hotY = hotY;
    for (int y = 0; y < 32 && rows[y]; ++y) {
        const char* row = rows[y];
        for (int x = 0; x < 32 && row[x]; ++x) {
            const int byte = y * 4 + x / 8;
            const uint8_t bit = uint8_t(0x80 >> (x % 8));
            if (row[x] == '#') {
                m.andMask[byte] &= uint8_t(~bit); // black
            } else if (row[x] == '.') {
                m.andMask[byte] &= uint8_t(~bit); // white
                m.xorMask[byte] |= bit;
            }
        }
    }
    return m;
}

} // namespace

const CursorMasks& HandCursorMasks()
{
    static const CursorMasks m = Build(kHand, 11, 4);
    return m;
}

const CursorMasks& DraggingCursorMasks()
{
    static const CursorMasks m = Build(kDragging, 15, 10);
    return m;
}

} // namespace Zelk
