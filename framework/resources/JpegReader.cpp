#include "framework/resources/ImageFile.h"
#include "framework/resources/ImageLib.h"
#include "framework/resources/JpegCommon.h"

#include <jerror.h>
#include <memory>
#include <new>

namespace ImageLib {

namespace {

const size_t kSourceBlock = 4096;

// A source manager like libjpeg's stdio one, reading through PakFRead.
struct PakSource {
    jpeg_source_mgr pub;
    PakFile* file;
    JOCTET* buffer;
    boolean startOfFile;
    bool atEnd; // the file is used up: the buffer holds the end-of-image marker
};

void InitSource(j_decompress_ptr cinfo)
{
    reinterpret_cast<PakSource*>(cinfo->src)->startOfFile = TRUE;
}

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    PakSource* src = reinterpret_cast<PakSource*>(cinfo->src);
    size_t n = PakFRead(src->buffer, 1, kSourceBlock, src->file);
    if (n == 0) {
        if (src->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        // An end-of-image marker ends a file that stops early.
        src->buffer[0] = JOCTET(0xFF);
        src->buffer[1] = JOCTET(JPEG_EOI);
        n = 2;
        src->atEnd = true;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = n;
    src->startOfFile = FALSE;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr* src = cinfo->src;
    while (size_t(count) > src->bytes_in_buffer) {
        count -= long(src->bytes_in_buffer);
        FillInputBuffer(cinfo);
        // A skip beyond the end stops at the end-of-image marker instead of
        // reading the end again for every two bytes left to skip.
        if (reinterpret_cast<PakSource*>(src)->atEnd)
            return;
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= size_t(count);
}

void TermSource(j_decompress_ptr) {}

void SetPakSource(j_decompress_ptr cinfo, PakFile* file)
{
    if (!cinfo->src) {
        PakSource* src = static_cast<PakSource*>(
            (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(PakSource)));
        src->buffer = static_cast<JOCTET*>(
            (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kSourceBlock));
        cinfo->src = &src->pub;
    }
    PakSource* src = reinterpret_cast<PakSource*>(cinfo->src);
    src->pub.init_source = InitSource;
    src->pub.fill_input_buffer = FillInputBuffer;
    src->pub.skip_input_data = SkipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = TermSource;
    src->file = file;
    src->atEnd = false;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = nullptr;
}

// Every 8 x 8 block of every component costs at least one bit of entropy-coded
// data, so a frame header that claims more blocks than the file has bits is
// refused before anything is allocated. fileBytes < 0: the size is unknown.
bool BlocksFitInFile(const jpeg_decompress_struct& cinfo, int64_t fileBytes)
{
    if (fileBytes < 0)
        return true;
    int64_t blocks = 0;
    for (int i = 0; i < cinfo.num_components; ++i)
        blocks += int64_t(cinfo.comp_info[i].width_in_blocks) * int64_t(cinfo.comp_info[i].height_in_blocks);
    return blocks <= fileBytes * 8;
}

// Only trivially destructible locals here: libjpeg errors jump back into it.
bool DecodeJpeg(PakFile* file, int64_t fileBytes, DecodedPixels* out)
{
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    uint32_t* volatile bits = nullptr;

    cinfo.err = SetUpJpegErrors(&errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        delete[] bits;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    SetPakSource(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);

    // Four-component files (CMYK, YCCK) are delivered as CMYK and converted
    // below; grey stays grey; everything else becomes RGB.
    bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (cmyk)
        cinfo.out_color_space = JCS_CMYK;
    else if (cinfo.jpeg_color_space != JCS_GRAYSCALE)
        cinfo.out_color_space = JCS_RGB;
    if (!SizeIsSane(cinfo.image_width, cinfo.image_height) || !BlocksFitInFile(cinfo, fileBytes)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    int width = int(cinfo.output_width);
    int height = int(cinfo.output_height);
    int components = cinfo.output_components;
    if (!SizeIsSane(width, height) || !(components == 1 || components == 3 || (cmyk && components == 4))) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    // Adobe writers store CMYK inverted.
    bool inverted = cinfo.saw_Adobe_marker;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                JDIMENSION(width * components), 1);
    bits = new (std::nothrow) uint32_t[size_t(width) * size_t(height)]();
    if (!bits) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        uint32_t* dest = bits + size_t(cinfo.output_scanline) * size_t(width);
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1)
            break;
        const JSAMPLE* s = row[0];
        if (components == 1) {
            for (int x = 0; x < width; ++x)
                dest[x] = 0xFF000000u | uint32_t(s[x]) * 0x010101u;
        } else if (components == 3) {
            for (int x = 0; x < width; ++x, s += 3)
                dest[x] = 0xFF000000u | uint32_t(s[0]) << 16 | uint32_t(s[1]) << 8 | s[2];
        } else {
            for (int x = 0; x < width; ++x, s += 4) {
                uint32_t c = s[0], m = s[1], y = s[2], k = s[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    y = 255 - y;
                    k = 255 - k;
                }
                dest[x] = 0xFF000000u | (c * k / 255) << 16 | (m * k / 255) << 8 | (y * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out->width = width;
    out->height = height;
    out->bits = bits;
    return true;
}

} // namespace

Image* ReadJpegImage(const std::string& path)
{
    ImageFile file(path);
    if (!file)
        return nullptr;
    DecodedPixels decoded;
    if (!DecodeJpeg(file.Get(), file.Remaining(), &decoded))
        return nullptr;
    return AdoptPixels(decoded);
}

} // namespace ImageLib
