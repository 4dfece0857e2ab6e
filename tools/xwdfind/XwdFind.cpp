// Looks for the test pattern of the window smoke test in a screen dump made
// by xwd: four quadrants (red, green, blue, yellow from the top left) of a
// w x h scene, shown at any scale and whole (the four blocks the same size).
// Prints where it found the scene and exits
// 0, or says what is missing and exits 1.
//
//   xwdfind dump.xwd
#include "tools/xwdfind/XwdDump.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <algorithm>
#include <vector>

namespace {

using xwd::Dump;

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    long count = 0;
};

// Colours match within a few steps per channel: the program's own fills may
// end a step short of full intensity.
bool Near(uint32_t a, uint32_t b)
{
    for (int shift : {0, 8, 16}) {
        const int ca = int((a >> shift) & 0xFF), cb = int((b >> shift) & 0xFF);
        if (ca - cb > 8 || cb - ca > 8)
            return false;
    }
    return true;
}

Box Find(const Dump& d, uint32_t color)
{
    Box b;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x)
            if (Near(d.rgb[size_t(y) * d.width + x], color)) {
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y);
                ++b.count;
            }
    return b;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: xwdfind dump.xwd\n");
        return 2;
    }
    Dump d;
    std::string error;
    if (!xwd::Read(argv[1], d, error)) {
        fprintf(stderr, "xwdfind: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const struct {
        const char* name;
        uint32_t color;
    } quadrants[] = {{"red", 0xFF0000}, {"green", 0x00FF00}, {"blue", 0x0000FF}, {"yellow", 0xFFFF00}};
    Box boxes[4];
    for (int i = 0; i < 4; ++i) {
        boxes[i] = Find(d, quadrants[i].color);
        const Box& b = boxes[i];
        const long area = long(b.right - b.left + 1) * (b.bottom - b.top + 1);
        // Each quadrant is a solid block of its colour (a little may be covered).
        if (b.count < 1000 || b.count < area * 9 / 10) {
            fprintf(stderr, "xwdfind: no %s block on the screen (%ld pixels)\n", quadrants[i].name, b.count);
            return 1;
        }
    }
    const bool placed = boxes[1].left > boxes[0].right - 2 && boxes[2].top > boxes[0].bottom - 2 &&
                        boxes[3].left > boxes[2].right - 2 && boxes[3].top > boxes[1].bottom - 2;
    if (!placed) {
        fprintf(stderr, "xwdfind: the colour blocks are not in their quadrants\n");
        return 1;
    }
    // A cut scene shows its last blocks smaller than the first: all four must
    // be the same size (within a pixel or two of scaling).
    for (int i = 1; i < 4; ++i) {
        const int w = boxes[i].right - boxes[i].left, h = boxes[i].bottom - boxes[i].top;
        const int w0 = boxes[0].right - boxes[0].left, h0 = boxes[0].bottom - boxes[0].top;
        if (w - w0 > 3 || w0 - w > 3 || h - h0 > 3 || h0 - h > 3) {
            fprintf(stderr, "xwdfind: the %s block is %dx%d, the red one %dx%d: the scene is cut\n",
                    quadrants[i].name, w + 1, h + 1, w0 + 1, h0 + 1);
            return 1;
        }
    }
    printf("scene found at %d,%d size %dx%d\n", boxes[0].left, boxes[0].top, boxes[3].right - boxes[0].left + 1,
           boxes[3].bottom - boxes[0].top + 1);
    return 0;
}
