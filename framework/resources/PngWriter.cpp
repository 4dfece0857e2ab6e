#include "framework/resources/ImageLib.h"
#include "framework/resources/PngCommon.h"
#include "platform/files/DiskFiles.h"

namespace ImageLib {

namespace {

// Only trivially destructible locals here: libpng errors jump back into it.
bool EncodePng(FILE* fp, const Image* image)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, fp);
    png_color_8 sigBits = {};
    sigBits.red = sigBits.green = sigBits.blue = sigBits.alpha = 8;
    png_set_sBIT(png, info, &sigBits);
    png_set_bgr(png);
    png_set_IHDR(png, info, png_uint_32(image->mWidth), png_uint_32(image->mHeight), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image->mHeight; ++y) {
        png_bytep row = reinterpret_cast<png_bytep>(const_cast<uint32_t*>(image->mBits) + size_t(y) * size_t(image->mWidth));
        png_write_rows(png, &row, 1);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WritePngImage(const std::string& path, const Image* image)
{
    if (!image || !image->mBits || image->mWidth <= 0 || image->mHeight <= 0)
        return false;
    FILE* fp = plat::OpenFile(path, "wb");
    if (!fp)
        return false;
    bool ok = EncodePng(fp, image);
    return fclose(fp) == 0 && ok;
}

} // namespace ImageLib
