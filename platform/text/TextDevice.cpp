#include "platform/text/TextDevice.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace plat {

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    int64_t product = int64_t(a) * b;
    bool negative = (product < 0) != (c < 0);
    uint64_t magnitude = product < 0 ? uint64_t(-product) : uint64_t(product);
    uint64_t divisor = c < 0 ? uint64_t(-int64_t(c)) : uint64_t(c);
    uint64_t q = (magnitude + divisor / 2) / divisor; // halves away from zero
    int64_t result = negative ? -int64_t(q) : int64_t(q);
    if (result < INT_MIN || result > INT_MAX)
        return -1;
    return int(result);
}

// ---- pixel targets ----

namespace {

struct Channel {
    uint32_t mask;
    int shift;
    uint32_t max; // largest channel value
};

Channel MakeChannel(uint32_t mask)
{
    if (mask == 0)
        return {0, 0, 0};
    int shift = __builtin_ctz(mask);
    int bits = __builtin_popcount(mask);
    return {mask, shift, bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1};
}

uint32_t Widen(uint32_t pixel, const Channel& ch)
{
    if (ch.max == 0)
        return 0;
    uint64_t v = (pixel & ch.mask) >> ch.shift;
    return uint32_t((v * 255 + ch.max / 2) / ch.max);
}

uint32_t Narrow(uint32_t value8, const Channel& ch)
{
    if (ch.max == 0)
        return 0;
    uint64_t v = (uint64_t(value8) * ch.max + 127) / 255;
    return (uint32_t(v) << ch.shift) & ch.mask;
}

uint32_t LoadPixel(const uint8_t* row, int x, int bitDepth)
{
    if (bitDepth == 16) {
        uint16_t p;
        std::memcpy(&p, row + x * 2, 2);
        return p;
    }
    uint32_t p;
    std::memcpy(&p, row + x * 4, 4);
    return p;
}

void StorePixel(uint8_t* row, int x, int bitDepth, uint32_t pixel)
{
    if (bitDepth == 16) {
        uint16_t p = uint16_t(pixel);
        std::memcpy(row + x * 2, &p, 2);
    } else {
        std::memcpy(row + x * 4, &pixel, 4);
    }
}

uint32_t Mix(uint32_t oldValue, uint32_t newValue, int coverage)
{
    return (oldValue * uint32_t(255 - coverage) + newValue * uint32_t(coverage) + 127) / 255;
}

} // namespace

TextTarget TextTarget::Bitmap32(uint32_t* words, int width, int height)
{
    TextTarget t;
    t.pixels = words;
    t.pitch = width * 4;
    t.width = width;
    t.height = height;
    return t;
}

void TextTarget::IntersectClip(int left, int top, int right, int bottom)
{
    clipLeft = std::max(clipLeft, left);
    clipTop = std::max(clipTop, top);
    clipRight = std::min(clipRight, right);
    clipBottom = std::min(clipBottom, bottom);
}

uint32_t TextTarget::ReadRGB(int x, int y) const
{
    if (!pixels || x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    const uint8_t* row = static_cast<const uint8_t*>(pixels) + ptrdiff_t(y) * pitch;
    uint32_t pixel = LoadPixel(row, x, bitDepth);
    return Widen(pixel, MakeChannel(redMask)) << 16 | Widen(pixel, MakeChannel(greenMask)) << 8 |
           Widen(pixel, MakeChannel(blueMask));
}

void TextTarget::Blend(int x, int y, uint32_t rgb, int coverage) const
{
    if (coverage <= 0 || !pixels || (bitDepth != 16 && bitDepth != 32))
        return;
    if (x < 0 || y < 0 || x >= width || y >= height || x < clipLeft || y < clipTop || x >= clipRight ||
        y >= clipBottom)
        return;
    if (coverage > 255)
        coverage = 255;
    uint8_t* row = static_cast<uint8_t*>(pixels) + ptrdiff_t(y) * pitch;
    uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    uint32_t p = LoadPixel(row, x, bitDepth);
    uint32_t out;
    if (bitDepth == 32 && redMask == 0xFF0000 && greenMask == 0xFF00 && blueMask == 0xFF) {
        out = (p & 0xFF000000u) | Mix((p >> 16) & 0xFF, r, coverage) << 16 | Mix((p >> 8) & 0xFF, g, coverage) << 8 |
              Mix(p & 0xFF, b, coverage);
    } else {
        Channel rc = MakeChannel(redMask), gc = MakeChannel(greenMask), bc = MakeChannel(blueMask);
        out = (p & ~(redMask | greenMask | blueMask)) | Narrow(Mix(Widen(p, rc), r, coverage), rc) |
              Narrow(Mix(Widen(p, gc), g, coverage), gc) | Narrow(Mix(Widen(p, bc), b, coverage), bc);
    }
    StorePixel(row, x, bitDepth, out);
}

// ---- fonts ----

TextFont::~TextFont() = default;

TextFont::CacheEntry* TextFont::Entry(wchar_t c)
{
    if (c >= 0 && c < 256) {
        if (mLatin.empty())
            mLatin.resize(256);
        return &mLatin[size_t(c)];
    }
    return &mOthers[c];
}

const Glyph* TextFont::GetGlyph(wchar_t c)
{
    CacheEntry* e = Entry(c);
    if (!e->rendered) {
        e->rendered = true;
        e->present = RenderGlyph(c, e->glyph);
        if (!e->present)
            e->glyph = Glyph();
    }
    return e->present ? &e->glyph : nullptr;
}

int TextFont::Extent(const std::wstring& text)
{
    int64_t widest = 0, line = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            widest = std::max(widest, line);
            line = 0;
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            continue;
        }
        if (const Glyph* g = GetGlyph(c))
            line += g->advance;
    }
    widest = std::max(widest, line);
    return int(std::min<int64_t>(widest, INT_MAX));
}

TextFont::Box TextFont::InkBox(const std::wstring& text)
{
    int64_t left = 0, top = 0, right = Extent(text), bottom = mMetrics.height;
    int64_t pen = 0;
    for (wchar_t c : text) {
        const Glyph* g = GetGlyph(c);
        if (!g)
            continue;
        if (g->width > 0 && g->rows > 0) {
            int64_t gx = pen + g->left, gy = int64_t(mMetrics.ascent) - g->top;
            left = std::min(left, gx);
            top = std::min(top, gy);
            right = std::max(right, gx + g->width);
            bottom = std::max(bottom, gy + g->rows);
        }
        pen += g->advance;
    }
    right = std::max(right, pen);
    auto toInt = [](int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN / 2, INT_MAX / 2)); };
    Box box;
    box.left = toInt(left);
    box.top = toInt(top);
    box.right = toInt(right);
    box.bottom = toInt(bottom);
    return box;
}

void TextFont::Draw(const TextTarget& target, int left, int top, const std::wstring& text, uint32_t rgb)
{
    int64_t baseline = int64_t(top) + mMetrics.ascent;
    int64_t pen = left;
    for (wchar_t c : text) {
        const Glyph* g = GetGlyph(c);
        if (!g)
            continue;
        int64_t gx = pen + g->left, gy = baseline - g->top;
        // Only rows and columns that can land inside the target are visited.
        for (int row = 0; row < g->rows; ++row) {
            int64_t y = gy + row;
            if (y < 0 || y >= target.height)
                continue;
            const uint8_t* cov = g->coverage.data() + size_t(row) * size_t(g->width);
            for (int col = 0; col < g->width; ++col) {
                int64_t x = gx + col;
                if (cov[col] && x >= 0 && x < target.width)
                    target.Blend(int(x), int(y), rgb, cov[col]);
            }
        }
        pen += g->advance;
    }
    if (mDesc.underline && mMetrics.underlineThickness > 0) {
        for (int row = 0; row < mMetrics.underlineThickness; ++row) {
            int64_t y = baseline + mMetrics.underlinePosition + row;
            if (y < 0 || y >= target.height)
                continue;
            for (int64_t x = std::max<int64_t>(left, 0); x < std::min<int64_t>(pen, target.width); ++x)
                target.Blend(int(x), int(y), rgb, 255);
        }
    }
}

} // namespace plat
