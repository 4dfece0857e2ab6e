// Writes the seed bitmap file images of the TDIBReader fuzz target into the
// folder given: every bit count, odd widths, a short palette, top-down rows.
#include "launcher/gif/BitmapFileImage.h"
#include <cstdio>
#include <string>

using namespace GIFImage;

namespace {

void Write(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
    if (!f)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

Bitmap Pattern(int width, int height, TPixelFormat format, int colors)
{
    Bitmap b(width, height, format);
    Palette p;
    for (int i = 0; i < colors; ++i)
        p.Add(TGIFColor{uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 5)});
    b.SetPalette(p);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (format == pf24bit || format == pf32bit)
                b.SetPixelColor(x, y, TGIFColor{uint8_t(x * 40), uint8_t(y * 30), uint8_t(x ^ y)});
            else
                b.SetPixelIndex(x, y, (x + 3 * y) % colors);
        }
    return b;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    Write(folder, "1bit-odd.bmp", SaveBitmapFileImage(Pattern(9, 3, pf1bit, 2)));
    Write(folder, "4bit-odd.bmp", SaveBitmapFileImage(Pattern(5, 4, pf4bit, 16)));
    Write(folder, "8bit-short-palette.bmp", SaveBitmapFileImage(Pattern(7, 2, pf8bit, 5)));
    Write(folder, "24bit.bmp", SaveBitmapFileImage(Pattern(3, 3, pf24bit, 0)));
    Write(folder, "32bit.bmp", SaveBitmapFileImage(Pattern(2, 5, pf32bit, 0)));
    // The same 8-bit picture stored top-down: a negative height.
    std::vector<uint8_t> topDown = SaveBitmapFileImage(Pattern(4, 1, pf8bit, 3));
    topDown[22] = topDown[23] = topDown[24] = topDown[25] = 0xFF;
    Write(folder, "8bit-top-down.bmp", topDown);
    return 0;
}
