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
