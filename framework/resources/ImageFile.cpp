#include "framework/resources/ImageFile.h"
#include "framework/resources/ImageLib.h"

namespace ImageLib {

Image* AdoptPixels(const DecodedPixels& decoded)
{
    Image* image = new Image;
    image->mWidth = decoded.width;
    image->mHeight = decoded.height;
    image->mBits = decoded.bits;
    return image;
}

int64_t ImageFile::Remaining() const
{
    long here = PakFTell(mFile);
    if (here < 0 || PakFSeek(mFile, 0, SEEK_END) != 0)
        return -1;
    long end = PakFTell(mFile);
    PakFSeek(mFile, here, SEEK_SET);
    return end < here ? -1 : int64_t(end) - here;
}

bool ImageFile::ReadAll(std::vector<uint8_t>* out, size_t maxBytes) const
{
    out->clear();
    uint8_t block[16384];
    for (;;) {
        size_t n = PakFRead(block, 1, sizeof block, mFile);
        if (n == 0)
            return true;
        if (out->size() + n > maxBytes)
            return false;
        out->insert(out->end(), block, block + n);
    }
}

} // namespace ImageLib
