// Writes the image files the tests read (tests/fixtures/images): PNG, JPEG,
// GIF and JPEG-2000 files whose pixels follow tools/imagefixtures/FixturePattern.h.
// Usage: make_image_fixtures <folder>
#include "tools/imagefixtures/FixturePattern.h"
#include "tools/imagefixtures/GifWriter.h"
#include "tools/imagefixtures/J2kWriter.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <openjpeg.h>
#include <png.h>

using namespace fixtures;

namespace {

std::string gFolder;

bool Fail(const std::string& what)
{
    std::fprintf(stderr, "make_image_fixtures: %s\n", what.c_str());
    return false;
}

bool WriteFile(const std::string& name, const std::string& bytes)
{
    std::ofstream out(gFolder + "/" + name, std::ios::binary);
    out << bytes;
    return out.good() || Fail(name);
}

// rows: one vector of bytes per row, already in the file's sample layout.
bool WritePng(const std::string& name, int width, int height, int colourType, int bitDepth, bool interlaced,
              const std::vector<std::vector<uint8_t>>& rows, const std::vector<png_color>& palette = {},
              const std::vector<uint8_t>& trns = {})
{
    std::string path = gFolder + "/" + name;
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp)
        return Fail(path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        std::fclose(fp);
        return Fail(name);
    }
    png_init_io(png, fp);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!trns.empty())
        png_set_tRNS(png, info, trns.data(), int(trns.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const auto& row : rows)
        pointers.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(fp);
    return true;
}

bool WriteJpeg(const std::string& name, int width, int height, int components, J_COLOR_SPACE space,
               const std::function<void(int, int, JSAMPLE*)>& pixel)
{
    std::string path = gFolder + "/" + name;
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp)
        return Fail(path);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, fp);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    if (space == JCS_CMYK)
        jpeg_set_colorspace(&cinfo, JCS_CMYK); // writes the Adobe marker
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(width * components));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixel(x, y, &row[size_t(x * components)]);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(fp);
    return true;
}

bool WriteJ2k(const std::string& name, OPJ_CODEC_FORMAT format, int width, int height)
{
    return fixtures::WriteJ2k(gFolder + "/" + name, format, width, height, PatternPixel) || Fail(name);
}

std::vector<std::vector<uint8_t>> PatternRows(int width, int height, int bytesPerSample, bool alpha)
{
    std::vector<std::vector<uint8_t>> rows;
    for (int y = 0; y < height; ++y) {
        std::vector<uint8_t> row;
        for (int x = 0; x < width; ++x) {
            uint32_t c = PatternPixel(x, y);
            uint8_t channels[4] = {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(c >> 24)};
            for (int i = 0; i < (alpha ? 4 : 3); ++i)
                for (int b = 0; b < bytesPerSample; ++b)
                    row.push_back(channels[i]); // 16-bit samples: v * 257
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<uint32_t> Palette(int n)
{
    std::vector<uint32_t> p;
    for (int i = 0; i < n; ++i)
        p.push_back(PaletteColour(i));
    return p;
}

GifFile OneFrameGif(int width, int height, int colours, int minCodeSize, std::vector<uint8_t> indices,
                    bool interlaced = false, int transparent = -1)
{
    GifFile g;
    g.screenWidth = width;
    g.screenHeight = height;
    g.palette = Palette(colours);
    g.minCodeSize = minCodeSize;
    GifFrame f;
    f.width = width;
    f.height = height;
    f.indices = std::move(indices);
    f.interlaced = interlaced;
    f.transparent = transparent;
    g.frames.push_back(f);
    return g;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_image_fixtures <folder>\n");
        return 2;
    }
    gFolder = argv[1];
    bool ok = true;

    // PNG: RGBA, Adam7-interlaced RGBA, 16-bit RGB, palette with tRNS, grey,
    // grey with alpha.
    ok &= WritePng("rgba.png", 5, 4, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, PatternRows(5, 4, 1, true));
    ok &= WritePng("interlaced.png", 9, 9, PNG_COLOR_TYPE_RGB_ALPHA, 8, true, PatternRows(9, 9, 1, true));
    ok &= WritePng("rgb16.png", 3, 2, PNG_COLOR_TYPE_RGB, 16, false, PatternRows(3, 2, 2, false));
    ok &= WritePng("palette_trns.png", 4, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {{0, 1, 2, 3}},
                   {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}}, {0, 128, 255});
    ok &= WritePng("grey.png", 3, 1, PNG_COLOR_TYPE_GRAY, 8, false, {{0, 128, 255}});
    ok &= WritePng("grey_alpha.png", 2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {{10, 0, 200, 77}});

    // JPEG: a grey ramp, a smooth colour picture, and one colour stored as
    // Adobe-style (inverted) CMYK.
    ok &= WriteJpeg("grey.jpg", 16, 8, 1, JCS_GRAYSCALE, [](int x, int, JSAMPLE* s) { s[0] = JSAMPLE(x * 16); });
    ok &= WriteJpeg("colour.jpg", 16, 8, 3, JCS_RGB, [](int x, int y, JSAMPLE* s) {
        uint32_t c = SmoothPixel(x, y);
        s[0] = JSAMPLE(c >> 16);
        s[1] = JSAMPLE(c >> 8);
        s[2] = JSAMPLE(c);
    });
    ok &= WriteJpeg("cmyk.jpg", 16, 8, 4, JCS_CMYK, [](int, int, JSAMPLE* s) {
        int k = std::max(kCmykR, std::max(kCmykG, kCmykB));
        s[0] = JSAMPLE((kCmykR * 255 + k / 2) / k);
        s[1] = JSAMPLE((kCmykG * 255 + k / 2) / k);
        s[2] = JSAMPLE((kCmykB * 255 + k / 2) / k);
        s[3] = JSAMPLE(k);
    });

    // GIF.
    std::vector<uint8_t> rows, steps, noise, run(40, 1);
    for (int y = 0; y < 9; ++y)
        rows.insert(rows.end(), 3, uint8_t(y));
    for (int i = 0; i < 20; ++i)
        steps.push_back(uint8_t(i));
    for (int i = 0; i < 96 * 64; ++i)
        noise.push_back(NoiseIndex(i));
    // 2 x 2 with index 1 transparent.
    ok &= WriteFile("transparent.gif", EncodeGif(OneFrameGif(2, 2, 4, 2, {0, 1, 2, 3}, false, 1)));
    // Row y in colour y, stored in the four interlace passes.
    ok &= WriteFile("interlaced.gif", EncodeGif(OneFrameGif(3, 9, 16, 4, rows, true)));
    // A 5 x 4 mask whose blue channel differs in every pixel.
    ok &= WriteFile("mask.gif", EncodeGif(OneFrameGif(5, 4, 32, 5, steps)));
    // A run of one colour: KwKwK codes and code-size growth.
    ok &= WriteFile("run.gif", EncodeGif(OneFrameGif(40, 1, 4, 2, run)));
    {
        // Noise that fills the code table; coding goes on with the full
        // table and no clear code.
        GifFile g = OneFrameGif(96, 64, 256, 8, noise);
        g.deferredClear = true;
        ok &= WriteFile("deferred_clear.gif", EncodeGif(g));
    }
    {
        // Two frames inside a larger screen, after comment and looping
        // extensions; the first frame has its own palette.
        GifFile g = OneFrameGif(4, 2, 4, 2, {0, 1, 2, 3, 3, 2, 1, 0});
        g.screenWidth = g.screenHeight = 10;
        g.extras = true;
        GifFrame& f = g.frames[0];
        f.left = 2;
        f.top = 3;
        f.localPalette = {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC};
        GifFrame second = f;
        second.localPalette.clear();
        second.indices.assign(8, 1);
        g.frames.push_back(second);
        ok &= WriteFile("frames.gif", EncodeGif(g));
    }

    // JPEG-2000, lossless.
    ok &= WriteJ2k("pattern.j2k", OPJ_CODEC_J2K, 4, 3);
    ok &= WriteJ2k("pattern.jp2", OPJ_CODEC_JP2, 4, 3);

    return ok ? 0 : 1;
}
