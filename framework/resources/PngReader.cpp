#include "framework/resources/ImageFile.h"
#include "framework/resources/ImageLib.h"
#include "framework/resources/PngCommon.h"

#include <new>

namespace ImageLib {

namespace {

void ReadFromPak(png_structp png, png_bytep data, png_size_t length)
{
    PakFile* file = static_cast<PakFile*>(png_get_io_ptr(png));
    if (PakFRead(data, 1, length, file) != length)
        png_error(png, "Read Error");
}

// Inflated PNG data holds at most about 1032 bytes per compressed byte, and
// a pixel takes at least one bit of it.
const int64_t kPixelsPerByte = 1032 * 8;

// Only trivially destructible locals here: libpng errors jump back into it.
bool DecodePng(PakFile* file, int64_t fileBytes, DecodedPixels* out)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    uint32_t* volatile bits = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        delete[] bits;
        return false;
    }
    png_set_read_fn(png, file, ReadFromPak);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // Mutated inputs reach the decoder instead of failing their checksums.
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
#endif
    png_read_info(png, info);
    png_uint_32 width, height;
    int bitDepth, colourType, interlace;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    if (!SizeIsSane(width, height, fileBytes < 0 ? -1 : fileBytes * kPixelsPerByte)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    // Every kind of file arrives as B, G, R, A bytes (0xAARRGGBB words).
    png_set_expand(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_strip_16(png);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_size_t(width) * 4) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    bits = new (std::nothrow) uint32_t[size_t(width) * size_t(height)]();
    if (!bits) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            png_bytep row = reinterpret_cast<png_bytep>(bits + size_t(y) * width);
            png_read_rows(png, &row, nullptr, 1);
        }
    }
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    out->width = int(width);
    out->height = int(height);
    out->bits = bits;
    return true;
}

} // namespace

Image* ReadPngImage(const std::string& path)
{
    ImageFile file(path);
    if (!file)
        return nullptr;
    DecodedPixels decoded;
    if (!DecodePng(file.Get(), file.Remaining(), &decoded))
        return nullptr;
    return AdoptPixels(decoded);
}

} // namespace ImageLib
