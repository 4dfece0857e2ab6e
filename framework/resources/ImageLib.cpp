#include "framework/resources/ImageLib.h"

#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"

#include <new>

namespace ImageLib {

bool gLoadAlphaImages = true;
uint32_t gAlphaImageColor = 0xFFFFFF;

Image::~Image()
{
    delete[] mBits;
}

bool SizeIsSane(int64_t width, int64_t height, int64_t maxPixels)
{
    if (width <= 0 || height <= 0 || width > kMaxPixels || height > kMaxPixels)
        return false;
    int64_t pixels = width * height;
    return pixels <= kMaxPixels && (maxPixels < 0 || pixels <= maxPixels);
}

bool Image::Create(int width, int height)
{
    delete[] mBits;
    mBits = nullptr;
    mWidth = mHeight = 0;
    if (!SizeIsSane(width, height))
        return false;
    mBits = new (std::nothrow) uint32_t[size_t(width) * size_t(height)]();
    if (!mBits)
        return false;
    mWidth = width;
    mHeight = height;
    return true;
}

namespace {

using Reader = Image* (*)(const std::string&);

struct Kind {
    const char* extension;
    Reader read;
};

const Kind kKinds[] = {
    {".tga", ReadTgaImage}, {".jpg", ReadJpegImage},     {".png", ReadPngImage},
    {".gif", ReadGifImage}, {".j2k", ReadJpeg2000Image}, {".jp2", ReadJpeg2000Image},
};

} // namespace

Image* GetImage(const std::string& fileName, bool lookForAlphaImage)
{
    if (!gLoadAlphaImages)
        lookForAlphaImage = false;

    // The extension is the last dot's part of the name after the folders.
    const std::string name = Zelk::GetFileName(fileName);
    const std::string folder = fileName.substr(0, fileName.size() - name.size());
    size_t dot = name.rfind('.');
    std::string base = fileName, extension;
    if (dot != std::string::npos) {
        extension = name.substr(dot);
        base = folder + name.substr(0, dot);
    }

    Image* image = nullptr;
    for (const Kind& kind : kKinds) {
        if (!extension.empty() && Zelk::StringToLower(extension) != kind.extension)
            continue;
        image = kind.read(base + kind.extension);
        if (image)
            break;
    }
    if (!lookForAlphaImage)
        return image;

    Image* alpha = GetImage(folder + "_" + name, false);
    if (!alpha)
        alpha = GetImage(fileName + "_", false);
    if (!alpha)
        return image;

    if (image) {
        if (alpha->mWidth == image->mWidth && alpha->mHeight == image->mHeight) {
            size_t n = size_t(image->mWidth) * size_t(image->mHeight);
            for (size_t i = 0; i < n; ++i)
                image->mBits[i] = (image->mBits[i] & 0x00FFFFFF) | (alpha->mBits[i] << 24);
        }
        delete alpha;
        return image;
    }
    uint32_t colour = gAlphaImageColor & 0x00FFFFFF;
    size_t n = size_t(alpha->mWidth) * size_t(alpha->mHeight);
    for (size_t i = 0; i < n; ++i)
        alpha->mBits[i] = (alpha->mBits[i] << 24) | colour;
    return alpha;
}

} // namespace ImageLib
