// Writes the office floor picture of the game's data set (GFX_GAME_GROUND):
// an 800 x 600 Targa file of 32-bit pixels, top-left origin, in a pattern
// of floor boards.
//   make_ground_image OUT.tga
#include <cstdint>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_ground_image OUT.tga\n");
        return 2;
    }
    const int width = 800, height = 600;
    uint8_t header[18] = {};
    header[2] = 2; // uncompressed true colour
    header[12] = width & 0xFF;
    header[13] = width >> 8;
    header[14] = height & 0xFF;
    header[15] = height >> 8;
    header[16] = 32;
    header[17] = 0x28; // eight alpha bits, top-left origin
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Boards 40 pixels high, their joints staggered row by row.
            int row = y / 40;
            int joint = (x + row * 130) % 260;
            bool seam = y % 40 == 0 || joint == 0;
            int grain = ((x * 7 + y * 13 + row * 29) >> 3) % 12;
            uint8_t* p = &pixels[(size_t(y) * width + x) * 4];
            p[0] = uint8_t(seam ? 40 : 70 + grain);  // blue
            p[1] = uint8_t(seam ? 60 : 110 + grain); // green
            p[2] = uint8_t(seam ? 80 : 150 + grain); // red
            p[3] = 255;
        }
    }
    FILE* out = fopen(argv[1], "wb");
    if (!out) {
        perror(argv[1]);
        return 1;
    }
    bool ok = fwrite(header, 1, sizeof header, out) == sizeof header &&
              fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    ok = fclose(out) == 0 && ok;
    return ok ? 0 : 1;
}
