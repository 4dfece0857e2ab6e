// The vector row kernels against the channel definitions they stand for, on
// random rows of every length up to a few vector widths (so the 256-bit,
// 128-bit and scalar parts and their seams all run), with plenty of the
// alphas 0 and 255 the kernels treat specially.
#include "framework/graphics/SurfaceFormat.h"
#include "framework/graphics/WideRows.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace Zelk;

namespace {

uint32_t Ch(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

struct RandomRows {
    std::mt19937 rng{2024};
    uint32_t Word()
    {
        uint32_t p = rng();
        switch (rng() % 4) {
        case 0: return p | 0xFF000000u;
        case 1: return p & 0x00FFFFFFu;
        default: return p;
        }
    }
};

} // namespace

TEST(WideRows, AddColorsSaturatesEachChannelAndKeepsTheAlpha)
{
    RandomRows r;
    for (int n = 0; n <= 40; ++n) {
        std::vector<uint32_t> d(size_t(n) + 1), s(size_t(n) + 1);
        for (int i = 0; i <= n; ++i) {
            d[size_t(i)] = r.Word();
            s[size_t(i)] = r.Word() & 0x00FFFFFF;
        }
        std::vector<uint32_t> got = d;
        BlendRow::AddColors(got.data(), s.data(), n);
        for (int i = 0; i < n; ++i) {
            uint32_t want = d[size_t(i)] & 0xFF000000;
            for (int shift : {0, 8, 16})
                want |= std::min<uint32_t>(Ch(d[size_t(i)], shift) + Ch(s[size_t(i)], shift), 255) << shift;
            ASSERT_EQ(got[size_t(i)], want) << "n " << n << " i " << i;
        }
        EXPECT_EQ(got[size_t(n)], d[size_t(n)]) << "wrote past the row, n " << n;
    }
}

TEST(WideRows, OverNativeSkipMatchesTheScalarBlend)
{
    RandomRows r;
    for (int n = 0; n <= 40; ++n) {
        std::vector<uint32_t> d(size_t(n) + 1), s(size_t(n) + 1);
        for (int i = 0; i <= n; ++i) {
            d[size_t(i)] = r.rng();
            // Premultiplied: no channel above the alpha.
            uint32_t w = r.Word(), a = w >> 24;
            s[size_t(i)] = a << 24 | (Ch(w, 16) * a / 255) << 16 | (Ch(w, 8) * a / 255) << 8 | Ch(w, 0) * a / 255;
        }
        std::vector<uint32_t> got = d;
        BlendRow::OverNativeSkip(got.data(), s.data(), n);
        for (int i = 0; i < n; ++i) {
            uint32_t dp = d[size_t(i)], sp = s[size_t(i)], a = sp >> 24;
            uint32_t want = dp;
            if (a != 0) {
                want = sp & 0xFF000000;
                for (int shift : {0, 8, 16})
                    want += ((Ch(dp, shift) * (256 - a) >> 8) + Ch(sp, shift)) << shift;
            }
            ASSERT_EQ(got[size_t(i)], want) << std::hex << "dest " << dp << " src " << sp;
        }
        EXPECT_EQ(got[size_t(n)], d[size_t(n)]) << "wrote past the row, n " << n;
    }
}

TEST(WideRows, OverNativeSkip565MatchesTheSpreadForm)
{
    RandomRows r;
    for (int n = 0; n <= 40; ++n) {
        std::vector<uint16_t> d(size_t(n) + 1);
        std::vector<uint32_t> s(size_t(n) + 1);
        for (int i = 0; i <= n; ++i) {
            d[size_t(i)] = uint16_t(r.rng());
            uint32_t w = r.Word(), a = w >> 24;
            // A 5-6-5 colour premultiplied by the alpha.
            uint32_t red = (w >> 11 & 31) * a / 255, green = (w >> 5 & 63) * a / 255, blue = (w & 31) * a / 255;
            s[size_t(i)] = a << 24 | red << 11 | green << 5 | blue;
        }
        std::vector<uint16_t> got = d;
        BlendRow::OverNativeSkip565(got.data(), s.data(), n);
        for (int i = 0; i < n; ++i) {
            uint32_t dp = d[size_t(i)], sp = s[size_t(i)], a = sp >> 24;
            uint32_t want = dp;
            if (a != 0)
                want = (Surface::Fold(((Surface::Spread565(dp) * ((256 - a) >> 3)) >> 5) & Surface::K565) + sp) &
                       0xFFFF;
            ASSERT_EQ(got[size_t(i)], want) << std::hex << "dest " << dp << " src " << sp;
        }
        EXPECT_EQ(got[size_t(n)], d[size_t(n)]) << "wrote past the row, n " << n;
    }
}

// Rows start at every offset of a vector width, so unaligned loads and every
// seam between the 256-bit, 128-bit and scalar parts run.
TEST(WideRows, OverSeparateMatchesTheChannelDefinition)
{
    RandomRows r;
    for (int offset = 0; offset < 8; ++offset)
        for (int n = 0; n <= 40; ++n) {
            std::vector<uint32_t> d(size_t(offset + n) + 1), s(d.size());
            for (size_t i = 0; i < d.size(); ++i) {
                // Mostly opaque destinations, so whole groups blend at once.
                d[i] = r.rng() % 8 == 0 ? r.rng() : r.rng() | 0xFF000000u;
                s[i] = r.Word();
            }
            std::vector<uint32_t> got = d;
            BlendRow::OverSeparate(got.data() + offset, s.data() + offset, n);
            for (int i = offset; i < offset + n; ++i) {
                const uint32_t dp = d[size_t(i)], sp = s[size_t(i)], a = sp >> 24;
                uint32_t want = dp;
                if (a != 0) {
                    const uint32_t da = dp >> 24, alpha = da + (255 - da) * a / 255, w = a * 255 / alpha;
                    want = alpha << 24;
                    for (int shift : {0, 8, 16})
                        want |= ((Ch(dp, shift) * (256 - w) >> 8) + (Ch(sp, shift) * w >> 8)) << shift;
                }
                ASSERT_EQ(got[size_t(i)], want) << std::hex << "dest " << dp << " src " << sp;
            }
            for (int i = 0; i < offset; ++i)
                EXPECT_EQ(got[size_t(i)], d[size_t(i)]) << "wrote before the row";
            EXPECT_EQ(got.back(), d.back()) << "wrote past the row, n " << n;
        }
}

TEST(WideRows, AddNativeSkipKeepsPixelsUnderColourZero)
{
    RandomRows r;
    for (int offset = 0; offset < 8; ++offset)
        for (int n = 0; n <= 40; ++n) {
            std::vector<uint32_t> d(size_t(offset + n) + 1), s(d.size());
            for (size_t i = 0; i < d.size(); ++i) {
                d[i] = r.rng();
                // Runs of colour 0 (with any top byte), as a sprite's clear parts.
                s[i] = r.rng() % 3 == 0 ? r.rng() & 0xFF000000u : r.rng();
            }
            std::vector<uint32_t> got = d;
            BlendRow::AddNativeSkip(got.data() + offset, s.data() + offset, n);
            for (int i = offset; i < offset + n; ++i) {
                const uint32_t dp = d[size_t(i)], sp = s[size_t(i)];
                uint32_t want = dp;
                if (sp & 0xFFFFFF) {
                    want = 0;
                    for (int shift : {0, 8, 16})
                        want |= std::min<uint32_t>(Ch(dp, shift) + Ch(sp, shift), 255) << shift;
                }
                ASSERT_EQ(got[size_t(i)], want) << std::hex << "dest " << dp << " src " << sp;
            }
            for (int i = 0; i < offset; ++i)
                EXPECT_EQ(got[size_t(i)], d[size_t(i)]) << "wrote before the row";
            EXPECT_EQ(got.back(), d.back()) << "wrote past the row, n " << n;
        }
}

TEST(WideRows, AddNative565SaturatesEachChannelAtItsLargestValue)
{
    RandomRows r;
    for (int offset = 0; offset < 16; ++offset)
        for (int n = 0; n <= 40; ++n) {
            std::vector<uint16_t> d(size_t(offset + n) + 1);
            std::vector<uint32_t> s(d.size());
            for (size_t i = 0; i < d.size(); ++i) {
                d[i] = uint16_t(r.rng());
                // Any alpha above the colour; channels near their ends half the time.
                s[i] = r.rng() % 2 ? (r.rng() & 0xFF000000u) | 0xF7DEu : r.rng() & 0xFF00FFFFu;
            }
            std::vector<uint16_t> got = d;
            BlendRow::AddNative565(got.data() + offset, s.data() + offset, n);
            for (int i = offset; i < offset + n; ++i) {
                const uint32_t dp = d[size_t(i)], sp = s[size_t(i)];
                const uint32_t red = std::min<uint32_t>((dp >> 11) + (sp >> 11 & 31), 31);
                const uint32_t green = std::min<uint32_t>((dp >> 5 & 63) + (sp >> 5 & 63), 63);
                const uint32_t blue = std::min<uint32_t>((dp & 31) + (sp & 31), 31);
                ASSERT_EQ(got[size_t(i)], red << 11 | green << 5 | blue) << std::hex << "dest " << dp << " src " << sp;
            }
            for (int i = 0; i < offset; ++i)
                EXPECT_EQ(got[size_t(i)], d[size_t(i)]) << "wrote before the row";
            EXPECT_EQ(got.back(), d.back()) << "wrote past the row, n " << n;
        }
}

// Indices as an enlargement, a reduction and a shuffle give them, over rows
// held in buffers of their exact width, so a read past the row's end shows.
TEST(WideRows, GatherReadsEachIndexAndNothingElse)
{
    RandomRows r;
    for (int kind = 0; kind < 3; ++kind)
        for (int n = 0; n <= 40; ++n) {
            const int width = 1 + int(r.rng() % 24);
            std::vector<uint32_t> row(static_cast<size_t>(width));
            for (uint32_t& p : row)
                p = r.rng();
            std::vector<int> index(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i)
                index[size_t(i)] = kind == 0   ? std::min(i * 2 / 3 + width / 2, width - 1)
                                   : kind == 1 ? std::min(i * 3 / 2, width - 1)
                                               : int(r.rng() % uint32_t(width));
            std::vector<uint32_t> got(size_t(n) + 1, 0x5A5A5A5Au);
            BlendRow::Gather(got.data(), row.data(), width, index.data(), n);
            for (int i = 0; i < n; ++i)
                ASSERT_EQ(got[size_t(i)], row[size_t(index[size_t(i)])]) << "kind " << kind << " n " << n << " i " << i;
            EXPECT_EQ(got.back(), 0x5A5A5A5Au) << "wrote past the row, n " << n;
        }
}

namespace {

// The alpha blends of memory images, channel by channel as the blitters
// define them. d: the pixel, s: the source pixel (not premultiplied).
uint32_t OwnAlphaOpaqueModel(uint32_t dp, uint32_t sp)
{
    const uint32_t a = sp >> 24, iw = 256 - a;
    // Red and green truncated once, blue twice.
    const uint32_t red = (Ch(dp, 16) * iw + Ch(sp, 16) * a) >> 8;
    const uint32_t green = (Ch(dp, 8) * iw + Ch(sp, 8) * a) >> 8;
    const uint32_t blue = (Ch(dp, 0) * iw >> 8) + (Ch(sp, 0) * a >> 8);
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

uint32_t AnyAlphaModel(uint32_t dp, uint32_t sp)
{
    const uint32_t a = sp >> 24, da = dp >> 24;
    if (a == 0)
        return dp;
    const uint32_t n = da + (255 - da) * a / 255, w = a * 255 / n, iw = 256 - w;
    const uint32_t red = (Ch(dp, 16) * iw + Ch(sp, 16) * w) >> 8;
    const uint32_t green = (Ch(dp, 8) * iw + Ch(sp, 8) * w) >> 8;
    const uint32_t blue = (Ch(dp, 0) * iw >> 8) + (Ch(sp, 0) * w >> 8);
    return n << 24 | red << 16 | green << 8 | blue;
}

uint32_t SmoothModel(uint32_t dp, uint32_t sp)
{
    const uint32_t a = sp >> 24, da = dp >> 24;
    if (a == 0)
        return dp;
    uint32_t out = (da + (255 - da) * a / 255) << 24;
    for (int shift : {0, 8, 16})
        out |= std::min<uint32_t>((Ch(dp, shift) * (256 - a) >> 8) + (a * Ch(sp, shift) >> 8), 255) << shift;
    return out;
}

struct AlphaKernelCase {
    const char* name;
    void (*kernel)(uint32_t*, const uint32_t*, int);
    uint32_t (*model)(uint32_t, uint32_t);
    bool opaqueDest; // the kernel is defined on opaque destinations only
};

} // namespace

// Rows start at every offset of the widest vector, with lengths past two of
// its groups, so the 512-, 256- and 128-bit parts, the scalar tail and their
// seams all run; destinations mix opaque groups with pixels of any alpha.
TEST(WideRows, AlphaBlendsOfMemoryImagesMatchTheirChannelDefinitions)
{
    const AlphaKernelCase cases[] = {
        {"OverOwnAlphaOpaque", BlendRow::OverOwnAlphaOpaque, OwnAlphaOpaqueModel, true},
        {"OverAnyAlpha", BlendRow::OverAnyAlpha, AnyAlphaModel, false},
        {"SmoothOver", BlendRow::SmoothOver, SmoothModel, false},
    };
    for (const AlphaKernelCase& c : cases) {
        RandomRows r;
        for (int offset = 0; offset < 16; ++offset)
            for (int n = 0; n <= 40; ++n) {
                std::vector<uint32_t> d(size_t(offset + n) + 1), s(d.size());
                // Whole stretches of opaque destinations or of clear sources,
                // as sprites and back buffers have them, and random ones.
                const int kind = int(r.rng() % 4);
                for (size_t i = 0; i < d.size(); ++i) {
                    d[i] = c.opaqueDest || kind == 0 ? r.rng() | 0xFF000000u : r.Word();
                    if (!c.opaqueDest && r.rng() % 16 == 0)
                        d[i] &= 0x00FFFFFFu; // clear pixels, where a new alpha may be 0
                    s[i] = kind == 1 ? r.rng() & 0x00FFFFFFu : r.Word();
                }
                std::vector<uint32_t> got = d;
                c.kernel(got.data() + offset, s.data() + offset, n);
                for (int i = offset; i < offset + n; ++i)
                    ASSERT_EQ(got[size_t(i)], c.model(d[size_t(i)], s[size_t(i)]))
                        << c.name << std::hex << " dest " << d[size_t(i)] << " src " << s[size_t(i)];
                for (int i = 0; i < offset; ++i)
                    EXPECT_EQ(got[size_t(i)], d[size_t(i)]) << c.name << " wrote before the row";
                EXPECT_EQ(got.back(), d.back()) << c.name << " wrote past the row, n " << n;
            }
    }
}

// Every pair of source and destination alpha (the weights come from a
// division per pixel in the wide forms), a row of 256 for each destination
// alpha.
TEST(WideRows, AlphaBlendsAgreeForEveryPairOfAlphas)
{
    RandomRows r;
    for (uint32_t da = 0; da < 256; ++da) {
        std::vector<uint32_t> d(256), s(256);
        for (uint32_t a = 0; a < 256; ++a) {
            d[a] = da << 24 | (r.rng() & 0x00FFFFFFu);
            s[a] = a << 24 | (r.rng() & 0x00FFFFFFu);
        }
        std::vector<uint32_t> any = d, smooth = d;
        BlendRow::OverAnyAlpha(any.data(), s.data(), 256);
        BlendRow::SmoothOver(smooth.data(), s.data(), 256);
        for (uint32_t a = 0; a < 256; ++a) {
            ASSERT_EQ(any[a], AnyAlphaModel(d[a], s[a])) << "OverAnyAlpha, alphas " << da << " " << a;
            ASSERT_EQ(smooth[a], SmoothModel(d[a], s[a])) << "SmoothOver, alphas " << da << " " << a;
        }
    }
}
