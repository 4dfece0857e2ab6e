#include "tools/hostilefiles/ImageBombs.h"

#include <jpeglib.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace hostile {

namespace {

void Be32(std::string& out, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        out += char(v >> (8 * i) & 0xFF);
}

void Le16(std::string& out, uint32_t v)
{
    out += char(v & 0xFF);
    out += char(v >> 8 & 0xFF);
}

void Le32(std::string& out, uint32_t v)
{
    Le16(out, v & 0xFFFF);
    Le16(out, v >> 16);
}

void PngChunk(std::string& out, const char* type, const std::string& data)
{
    Be32(out, uint32_t(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    Be32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

// Appends codes of growing widths, least significant bit first, as GIF
// sub-blocks are filled.
class CodeWriter {
public:
    void Put(uint32_t code, int size)
    {
        mBits |= uint64_t(code) << mCount;
        mCount += size;
        while (mCount >= 8) {
            mBytes += char(mBits & 0xFF);
            mBits >>= 8;
            mCount -= 8;
        }
    }
    std::string SubBlocks()
    {
        if (mCount > 0)
            mBytes += char(mBits & 0xFF);
        mCount = 0;
        std::string out;
        for (size_t at = 0; at < mBytes.size(); at += 255) {
            size_t n = mBytes.size() - at < 255 ? mBytes.size() - at : 255;
            out += char(n);
            out += mBytes.substr(at, n);
        }
        return out + '\0';
    }

private:
    uint64_t mBits = 0;
    int mCount = 0;
    std::string mBytes;
};

// The LZW data of count pixels of colour 0 with minimum code size 2: the
// strings of colour 0 grow by one pixel per code until the table is full,
// then the longest one is repeated (the table is never cleared). Code
// widths follow the decoder, which adds an entry for every code after the
// first.
std::string OneColourLzw(uint64_t count)
{
    const uint32_t clear = 4, end = 5;
    const uint32_t longest = 4095 - (clear + 2) + 2; // the string of code 4095
    auto codeOf = [&](uint64_t length) { return length == 1 ? 0u : uint32_t(clear + 2 + (length - 2)); };
    CodeWriter w;
    int size = 3;
    w.Put(clear, size);
    uint32_t next = clear + 2;
    bool first = true;
    auto emit = [&](uint32_t code) {
        w.Put(code, size);
        if (!first && next < 4096 && ++next == (1u << size) && size < 12)
            ++size;
        first = false;
    };
    uint64_t length = 1;
    while (count > 0) {
        uint64_t n = length < count ? length : count;
        emit(codeOf(n));
        count -= n;
        if (length < longest)
            ++length;
    }
    w.Put(end, size);
    return w.SubBlocks();
}

} // namespace

std::string PngOfBlack(uint32_t width, uint32_t height)
{
    std::string out = "\x89PNG\r\n\x1A\n";
    std::string ihdr;
    Be32(ihdr, width);
    Be32(ihdr, height);
    ihdr += std::string("\x08\x06\x00\x00\x00", 5); // 8-bit RGBA
    PngChunk(out, "IHDR", ihdr);
    z_stream z{};
    deflateInit(&z, 9);
    std::vector<unsigned char> row(1 + size_t(width) * 4, 0), buffer(1 << 16);
    std::string idat;
    for (uint32_t y = 0; y <= height; ++y) {
        z.next_in = row.data();
        z.avail_in = y < height ? uInt(row.size()) : 0;
        int flush = y < height ? Z_NO_FLUSH : Z_FINISH;
        do {
            z.next_out = buffer.data();
            z.avail_out = uInt(buffer.size());
            deflate(&z, flush);
            idat.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    PngChunk(out, "IDAT", idat);
    PngChunk(out, "IEND", "");
    return out;
}

std::string JpegOfBlack(uint32_t width, uint32_t height)
{
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &memory, &size);
    c.image_width = width;
    c.image_height = height;
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    c.optimize_coding = TRUE;
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(width, 0);
    while (c.next_scanline < c.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    std::string out(reinterpret_cast<char*>(memory), size);
    jpeg_destroy_compress(&c);
    free(memory);
    return out;
}

std::string GifOfOneColour(uint16_t screenWidth, uint16_t screenHeight, uint16_t frameWidth, uint16_t frameHeight,
                           int frames)
{
    std::string out = "GIF89a";
    Le16(out, screenWidth);
    Le16(out, screenHeight);
    out += std::string("\x80\x00\x00", 3); // a global table of two colours
    out += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
    const std::string data = OneColourLzw(uint64_t(frameWidth) * frameHeight);
    for (int f = 0; f < frames; ++f) {
        out += '\x2C';
        Le16(out, 0);
        Le16(out, 0);
        Le16(out, frameWidth);
        Le16(out, frameHeight);
        out += '\0';
        out += '\x02';
        out += data;
    }
    return out + ';';
}

std::string TgaClaiming(uint16_t width, uint16_t height)
{
    std::string out(12, '\0');
    out[2] = 2; // uncompressed true colour
    Le16(out, width);
    Le16(out, height);
    out += '\x20';
    out += '\x28';
    return out + std::string(64, '\x7F');
}

std::string BmpClaiming(int32_t width, int32_t height, uint16_t bits)
{
    std::string info;
    Le32(info, 40);
    Le32(info, uint32_t(width));
    Le32(info, uint32_t(height));
    Le16(info, 1);
    Le16(info, bits);
    for (int i = 0; i < 6; ++i)
        Le32(info, 0);
    std::string out = "BM";
    Le32(out, uint32_t(14 + info.size() + 64));
    Le32(out, 0);
    Le32(out, uint32_t(14 + info.size()));
    return out + info + std::string(64, '\x55');
}

} // namespace hostile
