#include "assets/ImageFiles.h"

#include "assets/Scratch.h"
#include "framework/resources/ImageLib.h"
#include "tools/imagefixtures/GifWriter.h"
#include "tools/imagefixtures/J2kWriter.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

namespace contentgen {

void Picture::Put(const Picture& src, int x, int y)
{
    for (int sy = 0; sy < src.height; ++sy)
        for (int sx = 0; sx < src.width; ++sx) {
            int dx = x + sx, dy = y + sy;
            if (dx >= 0 && dy >= 0 && dx < width && dy < height)
                At(dx, dy) = src.At(sx, sy);
        }
}

namespace {

using Writer = bool (*)(const std::string&, const ImageLib::Image*);

std::vector<uint8_t> ThroughWriter(const Picture& p, Writer write, const char* suffix)
{
    ImageLib::Image image;
    if (!image.Create(p.width, p.height))
        throw std::runtime_error("a picture of " + std::to_string(p.width) + " x " + std::to_string(p.height) +
                                 " is too large to write");
    std::copy(p.pixels.begin(), p.pixels.end(), image.GetBits());
    std::string path = ScratchPath(suffix);
    if (!write(path, &image))
        throw std::runtime_error(std::string("the framework's ") + suffix + " writer failed");
    return TakeScratchFile(path);
}

int Distance(uint32_t a, uint32_t b)
{
    int dr = int(a >> 16 & 0xFF) - int(b >> 16 & 0xFF);
    int dg = int(a >> 8 & 0xFF) - int(b >> 8 & 0xFF);
    int db = int(a & 0xFF) - int(b & 0xFF);
    return dr * dr + dg * dg + db * db;
}

} // namespace

std::vector<uint8_t> EncodePng(const Picture& p)
{
    return ThroughWriter(p, &ImageLib::WritePngImage, ".png");
}

std::vector<uint8_t> EncodeJpeg(const Picture& p)
{
    Picture opaque = p;
    for (uint32_t& px : opaque.pixels)
        px |= 0xFF000000u;
    return ThroughWriter(opaque, &ImageLib::WriteJpegImage, ".jpg");
}

std::vector<uint8_t> EncodeTga(const Picture& p)
{
    std::vector<uint8_t> out(18, 0);
    out[2] = 2; // uncompressed true colour
    out[12] = uint8_t(p.width);
    out[13] = uint8_t(p.width >> 8);
    out[14] = uint8_t(p.height);
    out[15] = uint8_t(p.height >> 8);
    out[16] = 32;
    out[17] = 0x28; // 8 alpha bits, rows from the top
    for (uint32_t px : p.pixels) {
        out.push_back(uint8_t(px));
        out.push_back(uint8_t(px >> 8));
        out.push_back(uint8_t(px >> 16));
        out.push_back(uint8_t(px >> 24));
    }
    return out;
}

std::vector<uint8_t> EncodeGif(const Picture& p)
{
    // The palette: the most used opaque colours (ties by value), index 0 transparent.
    std::map<uint32_t, int> counts;
    for (uint32_t px : p.pixels)
        if (px >> 24 >= 0x80)
            ++counts[px & 0xFFFFFF];
    std::vector<std::pair<int, uint32_t>> byUse;
    for (const auto& c : counts)
        byUse.push_back({-c.second, c.first});
    std::sort(byUse.begin(), byUse.end());
    fixtures::GifFile gif;
    gif.screenWidth = p.width;
    gif.screenHeight = p.height;
    gif.palette.push_back(0);
    for (size_t i = 0; i < byUse.size() && i < 255; ++i)
        gif.palette.push_back(byUse[i].second);
    while (gif.palette.size() < 2)
        gif.palette.push_back(0);
    fixtures::GifFrame frame;
    frame.width = p.width;
    frame.height = p.height;
    frame.transparent = 0;
    std::map<uint32_t, uint8_t> nearest;
    for (uint32_t px : p.pixels) {
        if (px >> 24 < 0x80) {
            frame.indices.push_back(0);
            continue;
        }
        uint32_t rgb = px & 0xFFFFFF;
        auto it = nearest.find(rgb);
        if (it == nearest.end()) {
            size_t best = 1;
            for (size_t i = 2; i < gif.palette.size(); ++i)
                if (Distance(gif.palette[i], rgb) < Distance(gif.palette[best], rgb))
                    best = i;
            it = nearest.emplace(rgb, uint8_t(best)).first;
        }
        frame.indices.push_back(it->second);
    }
    gif.frames.push_back(frame);
    std::string bytes = fixtures::EncodeGif(gif);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::vector<uint8_t> EncodeJp2(const Picture& p)
{
    std::string path = ScratchPath(".jp2");
    if (!fixtures::WriteJ2k(path, OPJ_CODEC_JP2, p.width, p.height, [&](int x, int y) { return p.At(x, y); }))
        throw std::runtime_error("OpenJPEG (libopenjp2-7-dev) failed to encode a picture");
    return TakeScratchFile(path);
}

std::vector<uint8_t> EncodeAlphaMask(const Picture& p)
{
    Picture mask(p.width, p.height);
    for (size_t i = 0; i < p.pixels.size(); ++i) {
        uint32_t a = p.pixels[i] >> 24;
        mask.pixels[i] = 0xFF000000u | a << 16 | a << 8 | a;
    }
    return EncodePng(mask);
}

} // namespace contentgen
