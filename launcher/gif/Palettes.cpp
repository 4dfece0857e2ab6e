#include "launcher/gif/Palettes.h"
#include "launcher/gif/Bitmap.h"
#include "launcher/gif/TColorQuantizer.h"

namespace GIFImage::Palettes {

namespace {

const TGIFColor kSystem20[20] = {{0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
    {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}, {0, 0, 255}, {255, 0, 255}, {0, 255, 255},
    {255, 255, 255}};

} // namespace

Palette Web()
{
    Palette p;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            for (int k = 0; k < 6; ++k)
                p.Add(TGIFColor{uint8_t(51 * i), uint8_t(51 * j), uint8_t(51 * k)}, Palette::kNoCollapse);
    return p;
}

Palette System20()
{
    Palette p;
    for (const TGIFColor& c : kSystem20)
        p.Add(c);
    return p;
}

Palette Halftone()
{
    Palette p = System20();
    for (const TGIFColor& c : Web().Entries)
        p.Add(c);
    for (int i = 1; i <= 20; ++i) {
        uint8_t v = uint8_t(i * 255 / 21);
        p.Add(TGIFColor{v, v, v});
    }
    return p;
}

Palette Gray4()
{
    Palette p;
    for (uint8_t v : {0, 85, 170, 255})
        p.Add(TGIFColor{v, v, v});
    return p;
}

Palette Monochrome()
{
    Palette p;
    p.Add(TGIFColor{0, 0, 0});
    p.Add(TGIFColor{255, 255, 255});
    return p;
}

Palette GrayScale()
{
    Palette p;
    for (int i = 0; i < 256; ++i)
        p.Add(TGIFColor{uint8_t(i), uint8_t(i), uint8_t(i)});
    return p;
}

Palette Quantized(const Bitmap& picture, int colors, bool withSystemColors)
{
    TColorQuantizer quantizer(withSystemColors ? 236 : colors, 8);
    quantizer.ProcessImage(picture);
    std::vector<TGIFColor> table = quantizer.GetColorTable();
    int count = withSystemColors ? 256 : colors;
    Palette p;
    p.Entries.assign(size_t(count), TGIFColor{});
    p.Flags.assign(size_t(count), Palette::kNoCollapse);
    int at = 0;
    if (withSystemColors) {
        for (int i = 0; i < 10; ++i) {
            p.Entries[size_t(i)] = kSystem20[i];
            p.Entries[size_t(246 + i)] = kSystem20[10 + i];
        }
        at = 10;
    }
    for (size_t i = 0; i < table.size() && at + int(i) < count; ++i)
        p.Entries[size_t(at) + i] = table[i];
    return p;
}

} // namespace GIFImage::Palettes
