#include "framework/resources/ImageLib.h"
#include "framework/resources/JpegCommon.h"
#include "platform/files/DiskFiles.h"

namespace ImageLib {

namespace {

// Only trivially destructible locals here: libjpeg errors jump back into it.
bool EncodeJpeg(FILE* fp, const Image* image)
{
    jpeg_compress_struct cinfo;
    JpegErrors errors;
    cinfo.err = SetUpJpegErrors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    cinfo.image_width = JDIMENSION(image->mWidth);
    cinfo.image_height = JDIMENSION(image->mHeight);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 80, TRUE);
    jpeg_stdio_dest(&cinfo, fp);
    jpeg_start_compress(&cinfo, TRUE);
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                JDIMENSION(image->mWidth * 3), 1);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint32_t* src = image->mBits + size_t(cinfo.next_scanline) * size_t(image->mWidth);
        JSAMPLE* out = row[0];
        for (int x = 0; x < image->mWidth; ++x, out += 3) {
            out[0] = JSAMPLE(src[x] >> 16);
            out[1] = JSAMPLE(src[x] >> 8);
            out[2] = JSAMPLE(src[x]);
        }
        jpeg_write_scanlines(&cinfo, row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

bool WriteJpegImage(const std::string& path, const Image* image)
{
    if (!image || !image->mBits || image->mWidth <= 0 || image->mHeight <= 0)
        return false;
    FILE* fp = plat::OpenFile(path, "wb");
    if (!fp)
        return false;
    bool ok = EncodeJpeg(fp, image);
    return fclose(fp) == 0 && ok;
}

} // namespace ImageLib
