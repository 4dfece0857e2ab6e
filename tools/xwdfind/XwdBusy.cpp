// Looks for the launcher's busy picture in screen dumps made by xwd: in every
// dump the 32 x 32 block at (X, Y) must be one of the picture's frames, pixel
// for pixel, and the dumps together must show at least two different frames
// (the picture is animated). Prints the frame seen in each dump and exits 0,
// or says what is there instead and exits 1.
//
//   xwdbusy X Y dump.xwd dump.xwd...
#include "tools/imagefixtures/BusyPicture.h"
#include "tools/xwdfind/XwdDump.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>

namespace {

// The frame the block at (x, y) shows, or -1; mismatch tells the fewest
// differing pixels of any frame.
int FrameAt(const xwd::Dump& d, int x, int y, const fixtures::GifFile& gif, int& mismatch)
{
    mismatch = 1 << 30;
    for (size_t k = 0; k < gif.frames.size(); ++k) {
        const fixtures::GifFrame& f = gif.frames[k];
        const std::vector<uint32_t>& palette = f.localPalette.empty() ? gif.palette : f.localPalette;
        int differing = 0;
        for (int row = 0; row < f.height; ++row)
            for (int col = 0; col < f.width; ++col) {
                const int sx = x + f.left + col, sy = y + f.top + row;
                const uint32_t want = palette[f.indices[size_t(row) * size_t(f.width) + size_t(col)]] & 0xFFFFFF;
                if (sx < 0 || sy < 0 || sx >= d.width || sy >= d.height || d.At(sx, sy) != want)
                    ++differing;
            }
        if (differing == 0)
            return int(k);
        mismatch = std::min(mismatch, differing);
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: xwdbusy X Y dump.xwd...\n");
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const fixtures::GifFile gif = fixtures::BusyPictureFile();
    std::set<int> seen;
    for (int i = 3; i < argc; ++i) {
        xwd::Dump d;
        std::string error;
        if (!xwd::Read(argv[i], d, error)) {
            fprintf(stderr, "xwdbusy: %s: %s\n", argv[i], error.c_str());
            return 1;
        }
        int mismatch = 0;
        const int frame = FrameAt(d, x, y, gif, mismatch);
        if (frame < 0) {
            fprintf(stderr, "xwdbusy: %s: no frame of the busy picture at %d,%d (%d of %d pixels differ at best; "
                            "top left is %06X)\n",
                    argv[i], x, y, mismatch, 32 * 32, x >= 0 && y >= 0 && x < d.width && y < d.height ? d.At(x, y) : 0);
            return 1;
        }
        printf("%s: frame %d at %d,%d\n", argv[i], frame, x, y);
        seen.insert(frame);
    }
    if (seen.size() < 2) {
        fprintf(stderr, "xwdbusy: every dump shows the same frame: the picture is not animated\n");
        return 1;
    }
    printf("busy picture animated at %d,%d (%zu different frames)\n", x, y, seen.size());
    return 0;
}
