#include "GraphicsFixtures.h"

#include "framework/graphics/MemoryImage.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <random>

using namespace Zelk;
using namespace Zelk::test;

TEST(Fill, BlendTable)
{
    struct {
        uint32_t dest;
        Color color;
        uint32_t want;
    } cases[] = {
        {0x00000000, Color(255, 0, 0, 128), 0x80FE0000}, // n 128, w 255
        {0xFF0000FF, Color(255, 0, 0, 128), 0xFF7F007F}, // n 255, w 128
        {0x00000000, Color(10, 20, 30, 255), 0xFF0A141E}, // opaque: stored as is
        {0x12345678, Color(0, 0, 0, 0), 0x12345678},       // nothing over something
        {0x00000000, Color(9, 9, 9, 0), 0x00000000},       // zero new alpha: unchanged
    };
    for (auto& c : cases) {
        auto image = MakeFilled(2, 2, c.dest);
        image->FillRect(Rect(0, 0, 2, 1), c.color, DRAWMODE_ADDITIVE); // the mode is not used
        EXPECT_EQ(Pixels(*image), (std::vector<uint32_t>{c.want, c.want, c.dest, c.dest})) << std::hex << c.dest;
    }
    auto image = MakeFilled(3, 2, 0xFFFFFFFF);
    int count = image->mChangeCount;
    image->ClearRect(Rect(1, 0, 2, 2));
    EXPECT_EQ(Pixels(*image), (std::vector<uint32_t>{0xFFFFFFFF, 0, 0, 0xFFFFFFFF, 0, 0}));
    EXPECT_EQ(image->mChangeCount, count + 1);
}

// One source pixel blitted onto one destination pixel.
TEST(Blit, CaseTable)
{
    const Color white = Color::White;
    struct {
        const char* what;
        uint32_t dest, src;
        Color color;
        int mode;
        uint32_t want;
    } cases[] = {
        {"white over transparent black", 0x00000000, 0xFFFFFFFF, white, 0, 0xFFFEFEFE},
        {"red and green truncated once, blue twice", 0xFF7F7F7F, 0x01808080, white, 0, 0xFF7F7F7E},
        {"transparent source skipped", 0x80102030, 0x00FFFFFF, white, 0, 0x80102030},
        {"half over half", 0x80000000, 0x80FF0000, white, 0, 0xBFA90000},
        {"grey modulation", 0xFF000000, 0xFF804020, Color(128, 128, 128), 0, 0xFF3F1F0F},
        {"white at half alpha is grey", 0xFF000000, 0xFFFFFFFF, Color(255, 255, 255, 128), 0, 0xFF7F7F7F},
        {"colour modulation", 0xFF000000, 0xFF804020, Color(255, 128, 0), 0, 0xFF7F1F00},
        {"modulated to nothing", 0xFF000000, 0x01FFFFFF, Color(255, 0, 0, 100), 0, 0xFF000000},
        {"additive white saturates", 0xFF909090, 0xFF808080, white, 1, 0xFFFFFFFF},
        {"additive keeps the destination alpha", 0x40101010, 0xFF202020, white, 1, 0x40303030},
        {"additive without alpha: transparent pixels add too", 0xFF101010, 0x00FF8040, Color(255, 255, 0, 128),
         1, 0xFF8F5010},
        {"unknown mode draws nothing", 0xFF000000, 0xFFFFFFFF, white, 2, 0xFF000000},
    };
    for (auto& c : cases) {
        auto dest = MakeImage(1, 1, {c.dest});
        dest->SetAlphaKind(true, true); // general path
        auto src = MakeImage(1, 1, {c.src});
        dest->Blit(src.get(), 0, 0, Rect(0, 0, 1, 1), c.color, c.mode);
        EXPECT_EQ(dest->GetBits()[0], c.want) << c.what << std::hex << " got " << dest->GetBits()[0];
        EXPECT_EQ(src->mDrawn, c.mode < 2) << c.what;
    }
}

TEST(Blit, AdditiveWithSourceAlphaWeightsByIt)
{
    auto dest = MakeFilled(2, 1, 0xFF101010);
    auto src = MakeImage(2, 1, {0x80FF8040, 0xC8000000}); // alpha 200 marks the source as having alpha
    dest->Blit(src.get(), 0, 0, Rect(0, 0, 2, 1), Color(255, 255, 0, 128), DRAWMODE_ADDITIVE);
    EXPECT_EQ(dest->GetBits()[0], 0xFF4F3010u);
    dest->Blit(src.get(), 0, 0, Rect(0, 0, 1, 1), Color::White, DRAWMODE_ADDITIVE);
    EXPECT_EQ(dest->GetBits()[0], 0xFFCE7030u); // + (255, 128, 64) x 128 >> 8
}

// The unmodulated additive blit adds a weighted copy of the source kept with
// the image: it must cover a part of the source at any offset and follow
// every change of the source's pixels.
TEST(Blit, AdditiveFormFollowsTheSourcesPixels)
{
    std::vector<uint32_t> pixels(40 * 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint32_t(i * 37 % 256) << 24 | uint32_t(i * 0x010203);
    auto src = MakeImage(40, 3, pixels);
    auto expect = [&](MemoryImage& dest, int srcX, int width) {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x) {
                uint32_t s = src->GetBits()[size_t(y + 1) * 40 + srcX + x], want = 0xFF000000;
                for (int shift : {0, 8, 16})
                    want |= std::min<uint32_t>(0x10 + (((s >> shift) & 0xFF) * (s >> 24) >> 8), 255) << shift;
                ASSERT_EQ(dest.GetBits()[size_t(y) * 40 + x], want) << "x " << x << " y " << y;
            }
    };
    for (int round = 0; round < 2; ++round) {
        for (int srcX : {0, 3, 17}) {
            int width = 40 - srcX;
            auto dest = MakeFilled(40, 2, 0xFF101010);
            dest->Blit(src.get(), 0, 0, Rect(srcX, 1, width, 2), Color::White, DRAWMODE_ADDITIVE);
            expect(*dest, srcX, width);
        }
        // New pixels: the next blits must add these.
        uint32_t* bits = src->GetBits();
        for (size_t i = 0; i < pixels.size(); ++i)
            bits[i] = ~bits[i] | 0x01000000;
        src->MarkBitsChanged();
    }
}

TEST(Blit, RunLengthCopyOntoAnOpaqueDestination)
{
    auto dest = MakeFilled(4, 2, 0xFF101010);
    ASSERT_FALSE(dest->mHasAlpha || dest->mHasTransparency);
    auto src = MakeImage(3, 2, {0xFF0000FF, 0x00FFFFFF, 0x80FF0000, 0x00000000, 0xFF00FF00, 0xFF00FF00});
    dest->Blit(src.get(), 1, 0, Rect(0, 0, 3, 2), Color::White, DRAWMODE_NORMAL);
    // Opaque runs copied, transparent ones untouched, translucent blended
    // with their own alpha into an opaque result.
    EXPECT_EQ(Pixels(*dest), (std::vector<uint32_t>{0xFF101010, 0xFF0000FF, 0xFF101010, 0xFF870808, 0xFF101010,
                                                    0xFF101010, 0xFF00FF00, 0xFF00FF00}));
}

TEST(Blit, PalettisedSourceDrawsLikeItsPixels)
{
    std::vector<uint32_t> pixels = {0xFF0000FF, 0x00FFFFFF, 0x80FF0000, 0xFF00FF00};
    for (Color color : {Color::White, Color(100, 100, 100), Color(255, 0, 128, 200)})
        for (int mode : {0, 1})
            for (bool opaqueDest : {false, true}) {
                auto plain = MakeImage(2, 2, pixels), pal = MakeImage(2, 2, pixels);
                ASSERT_TRUE(pal->Palettize());
                auto a = MakeFilled(2, 2, opaqueDest ? 0xFF404040 : 0x80404040);
                auto b = MakeFilled(2, 2, opaqueDest ? 0xFF404040 : 0x80404040);
                a->Blit(plain.get(), 0, 0, Rect(0, 0, 2, 2), color, mode);
                b->Blit(pal.get(), 0, 0, Rect(0, 0, 2, 2), color, mode);
                EXPECT_EQ(Pixels(*a), Pixels(*b));
                EXPECT_TRUE(pal->IsPalettized()); // drawn from the palette, not converted back
            }
}

TEST(Blit, NeverReadsOrWritesOutsideTheImages)
{
    auto dest = MakeFilled(4, 4, 0xFF000000);
    auto src = MakeFilled(2, 2, 0xFFFFFFFF);
    // The asked rectangle starts one pixel before the source: its pixel
    // (0, 0) lands at (0, 3), and the row below it would be outside.
    dest->Blit(src.get(), -1, 2, Rect(-1, -1, 4, 4), Color::White, DRAWMODE_NORMAL);
    std::vector<uint32_t> want(16, 0xFF000000);
    want[12] = want[13] = 0xFFFFFFFF;
    EXPECT_EQ(Pixels(*dest), want);
    EXPECT_EQ(dest->GetBits()[16], kPixelGuard);
    EXPECT_EQ(src->GetBits()[4], kPixelGuard);
    Image notMemory;
    dest->Blit(&notMemory, 0, 0, Rect(0, 0, 1, 1), Color::White, DRAWMODE_NORMAL); // draws nothing
}

// The blend written out channel by channel, as the arithmetic is defined:
// red and green truncated once, blue's two terms truncated separately.
namespace {

uint32_t Ch(uint32_t p, int shift)
{
    return (p >> shift) & 0xFF;
}

uint32_t ReferenceOver(uint32_t d, uint32_t s, uint32_t a, uint32_t mr, uint32_t mg, uint32_t mb, bool grey)
{
    uint32_t da = d >> 24;
    uint32_t n = da + (255 - da) * a / 255;
    uint32_t w = a * 255 / n, iw = 256 - w;
    uint32_t sr = Ch(s, 16), sg = Ch(s, 8), sb = Ch(s, 0);
    uint32_t r, g, b;
    if (grey) {
        // the grey scales red and blue first (truncated), then the weight
        uint32_t r1 = sr * mr >> 8, b1 = sb * mr >> 8;
        r = (Ch(d, 16) * iw + r1 * w) >> 8;
        g = (Ch(d, 8) * iw + (sg * w * mr >> 8)) >> 8;
        b = (Ch(d, 0) * iw >> 8) + (b1 * w >> 8);
    } else {
        r = ((Ch(d, 16) * iw << 8) + sr * w * mr) >> 16;
        g = (Ch(d, 8) * iw + (sg * w * mg >> 8)) >> 8;
        b = (Ch(d, 0) * iw >> 8) + (sb * w * mb >> 16);
    }
    return (n << 24) | (r << 16) | (g << 8) | b;
}

uint32_t ReferenceBlit(uint32_t d, uint32_t s, const Color& c, bool destOpaque)
{
    uint32_t sa = s >> 24;
    if (c == Color::White) {
        if (sa == 0)
            return d;
        if (destOpaque) { // run-length path: weight = alpha, result opaque
            if (sa == 255)
                return s;
            uint32_t iw = 256 - sa;
            uint32_t r = (Ch(d, 16) * iw + Ch(s, 16) * sa) >> 8, g = (Ch(d, 8) * iw + Ch(s, 8) * sa) >> 8;
            uint32_t b = (Ch(d, 0) * iw >> 8) + (Ch(s, 0) * sa >> 8);
            return 0xFF000000 | (r << 16) | (g << 8) | b;
        }
        uint32_t da = d >> 24;
        uint32_t n = da + (255 - da) * sa / 255, w = sa * 255 / n, iw = 256 - w;
        uint32_t r = (Ch(d, 16) * iw + Ch(s, 16) * w) >> 8, g = (Ch(d, 8) * iw + Ch(s, 8) * w) >> 8;
        uint32_t b = (Ch(d, 0) * iw >> 8) + (Ch(s, 0) * w >> 8);
        return (n << 24) | (r << 16) | (g << 8) | b;
    }
    uint32_t a = sa * uint32_t(c.mAlpha) / 255;
    if (a == 0)
        return d;
    bool grey = c.mRed == c.mGreen && c.mGreen == c.mBlue;
    return ReferenceOver(d, s, a, uint32_t(c.mRed), uint32_t(c.mGreen), uint32_t(c.mBlue), grey);
}

} // namespace

TEST(Blit, MatchesTheChannelDefinitionOnRandomImages)
{
    std::mt19937 rng(12345);
    auto randomPixel = [&]() {
        uint32_t p = rng();
        switch (rng() % 4) { // plenty of the alphas the paths treat specially
        case 0: return p | 0xFF000000u;
        case 1: return p & 0x00FFFFFFu;
        default: return p;
        }
    };
    const Color colors[] = {Color::White, Color(77, 77, 77, 255), Color(255, 255, 255, 90), Color(200, 10, 99, 255),
                            Color(1, 254, 128, 33)};
    for (int round = 0; round < 40; ++round) {
        int w = 1 + int(rng() % 70), h = 1 + int(rng() % 6);
        std::vector<uint32_t> src(size_t(w) * h), dst(src.size());
        for (auto& p : src)
            p = randomPixel();
        for (auto& p : dst)
            p = round % 2 == 0 ? (rng() | 0xFF000000u) : randomPixel();
        for (const Color& c : colors) {
            auto s = MakeImage(w, h, src), d = MakeImage(w, h, dst);
            bool destOpaque = !d->mHasAlpha && !d->mHasTransparency;
            d->Blit(s.get(), 0, 0, Rect(0, 0, w, h), c, DRAWMODE_NORMAL);
            const uint32_t* got = d->GetBits();
            for (size_t i = 0; i < src.size(); ++i)
                ASSERT_EQ(got[i], ReferenceBlit(dst[i], src[i], c, destOpaque))
                    << std::hex << "dest " << dst[i] << " src " << src[i] << " colour " << c.ToInt();
        }
        // Additive, unmodulated: each channel gains the source channel (times
        // its alpha / 256 when the source has alpha), saturating at 255.
        auto s = MakeImage(w, h, src), d = MakeImage(w, h, dst);
        bool weighted = s->mHasAlpha;
        d->Blit(s.get(), 0, 0, Rect(0, 0, w, h), Color::White, DRAWMODE_ADDITIVE);
        const uint32_t* got = d->GetBits();
        for (size_t i = 0; i < src.size(); ++i) {
            uint32_t want = dst[i] & 0xFF000000;
            for (int shift : {0, 8, 16}) {
                uint32_t add = weighted ? Ch(src[i], shift) * (src[i] >> 24) >> 8 : Ch(src[i], shift);
                want |= std::min<uint32_t>(Ch(dst[i], shift) + add, 255) << shift;
            }
            ASSERT_EQ(got[i], want) << std::hex << "dest " << dst[i] << " src " << src[i];
        }
    }
}

namespace {

// A translucent fill of one pixel by its channel definition.
uint32_t FillModel(uint32_t dest, const Color& c)
{
    const uint32_t a = uint32_t(c.mAlpha), da = dest >> 24, n = da + (255 - da) * a / 255;
    if (n == 0)
        return dest;
    const uint32_t wgt = a * 255 / n;
    uint32_t want = n << 24;
    const uint32_t channel[3] = {uint32_t(c.mBlue), uint32_t(c.mGreen), uint32_t(c.mRed)};
    for (int k = 0; k < 3; ++k)
        want |= ((Ch(dest, 8 * k) * (256 - wgt) + channel[k] * wgt) >> 8) << (8 * k);
    return want;
}

} // namespace

TEST(Fill, MatchesTheChannelDefinitionOnRandomImages)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 30; ++round) {
        int w = 1 + int(rng() % 50), h = 1 + int(rng() % 4);
        std::vector<uint32_t> dst(size_t(w) * h);
        for (auto& p : dst)
            p = rng() % 3 == 0 ? rng() : (rng() | 0xFF000000u); // mostly opaque, like a frame
        Color c(int(rng() % 256), int(rng() % 256), int(rng() % 256), int(rng() % 255));
        auto d = MakeImage(w, h, dst);
        d->FillRect(Rect(0, 0, w, h), c, DRAWMODE_NORMAL);
        const uint32_t* got = d->GetBits();
        for (size_t i = 0; i < dst.size(); ++i)
            ASSERT_EQ(got[i], FillModel(dst[i], c)) << std::hex << "dest " << dst[i] << " colour " << c.ToInt();
    }
}

// Long opaque runs broken by a rare pixel of another alpha, so the fill
// steps over whole groups and drops to single pixels inside the row; the
// filled part starts at any column and is 0 to 17 pixels or several groups
// wide. Pixels outside it stay as they were.
TEST(Fill, OpaqueRunsMatchTheChannelDefinition)
{
    std::mt19937 rng(18);
    const int w = 72, h = 3;
    for (int round = 0; round < 60; ++round) {
        std::vector<uint32_t> dst(size_t(w) * h);
        for (auto& p : dst)
            p = rng() % 24 == 0 ? rng() : (rng() | 0xFF000000u);
        const int x = int(rng() % 9), width = round < 18 ? round : int(rng() % (w - x + 1));
        const Color c(int(rng() % 256), int(rng() % 256), int(rng() % 256), 1 + int(rng() % 254));
        auto d = MakeImage(w, h, dst);
        d->FillRect(Rect(x, 1, width, 1), c, DRAWMODE_NORMAL);
        const uint32_t* got = d->GetBits();
        for (int y = 0; y < h; ++y)
            for (int i = 0; i < w; ++i) {
                const uint32_t p = dst[size_t(y) * w + size_t(i)];
                const bool inside = y == 1 && i >= x && i < x + width;
                ASSERT_EQ(got[size_t(y) * w + size_t(i)], inside ? FillModel(p, c) : p)
                    << std::hex << "dest " << p << " colour " << c.ToInt() << std::dec << " column " << i
                    << " row " << y << " fill from " << x << " width " << width;
            }
    }
}
