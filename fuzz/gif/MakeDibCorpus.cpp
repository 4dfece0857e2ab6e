// Writes the seed bitmap file images of the TDIBReader fuzz target into the
// folder given: every bit count, odd widths, a short palette, top-down rows.
#include "launcher/gif/BitmapFileImage.h"
#include "tests/launcher/gif/BitmapPattern.h"
#include <cstdio>
#include <string>

using namespace GIFImage;

namespace {

int failures = 0;

void Write(const std::string& folder, const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::string path = folder + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const bool written = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && std::fclose(f) != 0)
        ++failures;
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        ++failures;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    Write(folder, "1bit-odd.bmp", SaveBitmapFileImage(fixtures::BitmapPattern(9, 3, pf1bit, 2)));
    Write(folder, "4bit-odd.bmp", SaveBitmapFileImage(fixtures::BitmapPattern(5, 4, pf4bit, 16)));
    Write(folder, "8bit-short-palette.bmp", SaveBitmapFileImage(fixtures::BitmapPattern(7, 2, pf8bit, 5)));
    Write(folder, "24bit.bmp", SaveBitmapFileImage(fixtures::BitmapPattern(3, 3, pf24bit, 0)));
    Write(folder, "32bit.bmp", SaveBitmapFileImage(fixtures::BitmapPattern(2, 5, pf32bit, 0)));
    // The same 8-bit picture stored top-down: a negative height.
    std::vector<uint8_t> topDown = SaveBitmapFileImage(fixtures::BitmapPattern(4, 1, pf8bit, 3));
    topDown[22] = topDown[23] = topDown[24] = topDown[25] = 0xFF;
    Write(folder, "8bit-top-down.bmp", topDown);
    return failures == 0 ? 0 : 1;
}
