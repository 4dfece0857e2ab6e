#include "framework/resources/ImageLib.h"

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

size_t LastSeparator(const std::string& name)
{
    size_t a = name.rfind('\\'), b = name.rfind('/');
    if (a == std::string::npos)
        return b;
    if (b == std::string::npos)
        return a;
    return a > b ? a : b;
}

} // namespace

Image* GetImage(const std::string& fileName, bool lookForAlphaImage)
{
    if (!gLoadAlphaImages)
        lookForAlphaImage = false;

    size_t sep = LastSeparator(fileName);
    size_t dot = fileName.rfind('.');
    std::string base = fileName, extension;
    if (dot != std::string::npos && (sep == std::string::npos || dot > sep)) {
        extension = fileName.substr(dot);
        base = fileName.substr(0, dot);
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

    size_t restAt = sep == std::string::npos ? 0 : sep + 1;
    Image* alpha = GetImage(fileName.substr(0, restAt) + "_" + fileName.substr(restAt), false);
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
