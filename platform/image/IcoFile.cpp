#include "platform/image/IcoFile.h"

#include <cstring>
#include <png.h>

namespace plat {

namespace {

constexpr int kMaxSide = 1024;

uint16_t Le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void PngRead(png_structp png, png_bytep out, png_size_t n)
{
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (n > src->size - src->pos)
        png_error(png, "truncated");
    memcpy(out, src->data + src->pos, n);
    src->pos += n;
}

void PngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

bool ReadPng(const uint8_t* data, size_t size, IconImage& out)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    PngSource src{data, size, 0};
    IconImage img;
    std::vector<uint8_t> rgba;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &src, PngRead);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info);
    const png_uint_32 h = png_get_image_height(png, info);
    if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide)
        png_error(png, "size");
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(w) * 4)
        png_error(png, "layout");
    rgba.resize(size_t(w) * h * 4);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        rows[y] = rgba.data() + size_t(y) * w * 4;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    img.width = int(w);
    img.height = int(h);
    img.argb.resize(size_t(w) * h);
    for (size_t i = 0; i < img.argb.size(); ++i) {
        const uint8_t* p = &rgba[i * 4];
        img.argb[i] = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
    out = std::move(img);
    return true;
}

// A device-independent bitmap: header, palette, XOR rows, AND rows, both
// bottom-up, rows padded to four bytes.
bool ReadDib(const uint8_t* data, size_t size, IconImage& out)
{
    if (size < 40)
        return false;
    const uint32_t headerSize = Le32(data);
    const int32_t width = int32_t(Le32(data + 4));
    const int32_t doubleHeight = int32_t(Le32(data + 8));
    const uint16_t bits = Le16(data + 14);
    const uint32_t compression = Le32(data + 16);
    uint32_t colours = Le32(data + 32);
    if (headerSize < 40 || headerSize > size || compression != 0)
        return false;
    if (width <= 0 || width > kMaxSide || doubleHeight <= 0 || doubleHeight > 2 * kMaxSide)
        return false;
    const int height = doubleHeight / 2;
    if (height <= 0)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return false;
    if (bits <= 8) {
        if (colours == 0 || colours > (1u << bits))
            colours = 1u << bits;
    } else {
        colours = 0;
    }
    const size_t paletteAt = headerSize;
    const size_t paletteSize = size_t(colours) * 4;
    const size_t xorStride = ((size_t(width) * bits + 31) / 32) * 4;
    const size_t andStride = ((size_t(width) + 31) / 32) * 4;
    const size_t xorAt = paletteAt + paletteSize;
    const size_t andAt = xorAt + xorStride * size_t(height);
    if (xorAt > size || andAt > size)
        return false;
    // The AND mask may be missing in 32-bit pictures, which carry alpha.
    const bool haveMask = andAt + andStride * size_t(height) <= size;
    if (!haveMask && bits != 32)
        return false;
    IconImage img;
    img.width = width;
    img.height = height;
    img.argb.resize(size_t(width) * size_t(height));
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = data + xorAt + xorStride * size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint32_t c = 0;
            switch (bits) {
            case 32:
                c = Le32(row + size_t(x) * 4);
                anyAlpha = anyAlpha || (c >> 24) != 0;
                break;
            case 24:
                c = 0xFF000000u | uint32_t(row[x * 3 + 2]) << 16 | uint32_t(row[x * 3 + 1]) << 8 | row[x * 3];
                break;
            default: {
                const size_t bit = size_t(x) * bits;
                const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index >= colours)
                    return false;
                const uint8_t* q = data + paletteAt + index * 4;
                c = 0xFF000000u | uint32_t(q[2]) << 16 | uint32_t(q[1]) << 8 | q[0];
            }
            }
            img.argb[size_t(y) * width + x] = c;
        }
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* mask = haveMask ? data + andAt + andStride * size_t(height - 1 - y) : nullptr;
        for (int x = 0; x < width; ++x) {
            uint32_t& c = img.argb[size_t(y) * width + x];
            if (bits == 32 && !anyAlpha)
                c |= 0xFF000000u; // a 32-bit picture without alpha is opaque but for its mask
            if (mask && (mask[x / 8] >> (7 - x % 8) & 1) && !(bits == 32 && anyAlpha))
                c = 0;
        }
    }
    out = std::move(img);
    return true;
}

} // namespace

bool ReadIco(const uint8_t* data, size_t size, IconImage& out)
{
    if (size < 6 || Le16(data) != 0 || Le16(data + 2) != 1)
        return false;
    const size_t count = Le16(data + 4);
    if (count == 0 || 6 + count * 16 > size)
        return false;
    // Try the entries from the largest down until one reads.
    std::vector<size_t> order;
    for (size_t i = 0; i < count; ++i)
        order.push_back(i);
    auto area = [&](size_t i) {
        const uint8_t* e = data + 6 + i * 16;
        return (e[0] ? e[0] : 256) * (e[1] ? e[1] : 256);
    };
    for (size_t i = 1; i < order.size(); ++i)
        for (size_t j = i; j > 0 && area(order[j]) > area(order[j - 1]); --j)
            std::swap(order[j], order[j - 1]);
    for (size_t i : order) {
        const uint8_t* e = data + 6 + i * 16;
        const uint32_t length = Le32(e + 8);
        const uint32_t offset = Le32(e + 12);
        if (offset > size || length > size - offset || length < 8)
            continue;
        const uint8_t* picture = data + offset;
        static const uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        const bool ok = memcmp(picture, pngSignature, 8) == 0 ? ReadPng(picture, length, out)
                                                               : ReadDib(picture, length, out);
        if (ok)
            return true;
    }
    return false;
}

} // namespace plat
