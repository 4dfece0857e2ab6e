#include "tools/imagefixtures/BusyPicture.h"
#include "tools/imagefixtures/GifWriter.h"

#include <cmath>

namespace fixtures {

GifFile BusyPictureFile()
{
    const int kSize = 32, kFrames = 18, kColours = 128;
    GifFile gif;
    gif.screenWidth = gif.screenHeight = kSize;
    // Entry 0 is the window's white; then a ramp from pale to deep blue.
    gif.palette.push_back(0xFFFFFFFFu);
    for (int i = 1; i < kColours; ++i) {
        uint32_t r = uint32_t(230 - i * 180 / kColours), g = uint32_t(235 - i * 150 / kColours);
        gif.palette.push_back(0xFF000000u | r << 16 | g << 8 | 255u);
    }
    gif.minCodeSize = 7;
    gif.loopCount = 0;
    const double kPi = 3.14159265358979323846;
    for (int k = 0; k < kFrames; ++k) {
        GifFrame f;
        f.width = f.height = kSize;
        f.localPalette = gif.palette;
        f.delay = 0;
        f.disposal = 1;
        double head = k * 2 * kPi / kFrames;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                double dx = x + 0.5 - kSize / 2.0, dy = y + 0.5 - kSize / 2.0;
                double radius = std::sqrt(dx * dx + dy * dy);
                int index = 0;
                if (radius >= 8 && radius <= 14) {
                    // Brightest at the head of the ring, fading behind it.
                    double behind = std::fmod(head - std::atan2(dy, dx) + 4 * kPi, 2 * kPi);
                    index = 1 + int((1 - behind / (2 * kPi)) * (kColours - 2));
                }
                f.indices.push_back(uint8_t(index));
            }
        gif.frames.push_back(f);
    }
    return gif;
}

std::string BusyPictureGif()
{
    return EncodeGif(BusyPictureFile());
}

} // namespace fixtures
