#include "framework/resources/ImageFile.h"
#include "framework/resources/ImageLib.h"

#include <memory>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixels are read as little-endian words");

namespace ImageLib {

// Uncompressed true-colour Targa files with 32 bits per pixel, eight alpha
// bits and the origin at the top left. The image ID and any colour map are
// skipped; every other kind of file is refused.
Image* ReadTgaImage(const std::string& path)
{
    ImageFile file(path);
    if (!file)
        return nullptr;
    uint8_t h[18];
    if (PakFRead(h, 1, sizeof h, file.Get()) != sizeof h)
        return nullptr;
    int idLength = h[0];
    int colourMapType = h[1];
    int imageType = h[2];
    int colourMapLength = h[5] | h[6] << 8;
    int colourMapEntryBits = h[7];
    int width = h[12] | h[13] << 8;
    int height = h[14] | h[15] << 8;
    int depth = h[16];
    int descriptor = h[17];
    if (imageType != 2 || depth != 32 || descriptor != 0x28)
        return nullptr;

    long skip = idLength;
    if (colourMapType == 1)
        skip += long(colourMapLength) * ((colourMapEntryBits + 7) / 8);
    if (PakFSeek(file.Get(), skip, SEEK_CUR) != 0 || PakFTell(file.Get()) != 18 + skip)
        return nullptr;
    // The whole pixel block must be there.
    int64_t pixels = int64_t(width) * height;
    if (!SizeIsSane(width, height) || file.Remaining() < pixels * 4)
        return nullptr;

    std::unique_ptr<Image> image(new Image);
    if (!image->Create(width, height))
        return nullptr;
    if (PakFRead(image->mBits, 4, size_t(pixels), file.Get()) != size_t(pixels))
        return nullptr;
    return image.release();
}

} // namespace ImageLib
