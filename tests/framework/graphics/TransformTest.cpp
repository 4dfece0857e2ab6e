#include "GraphicsFixtures.h"

#include "framework/graphics/StretchMapping.h"
#include "framework/graphics/TriangleRasterizer.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <random>

using namespace Zelk;
using namespace Zelk::test;

TEST(RotatedBlit, NarrowingDropsTheFirstColumnAtIntegerPositions)
{
    auto src = MakeFilled(8, 4, 0xFFFFFFFF);
    auto dest = MakeFilled(30, 30, 0);
    dest->BlitFloat(src.get(), 10.0f, 20.0f, Rect(0, 0, 8, 4), Rect(0, 0, 30, 30), Color::White, DRAWMODE_NORMAL);
    // Columns 1..6 and rows 0..2 of the source area; white arrives as 253
    // (w00 = 65534, k = 254, 255 x 254 >> 8).
    const uint32_t* p = dest->GetBits();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            bool in = x >= 11 && x <= 16 && y >= 20 && y <= 22;
            EXPECT_EQ(p[y * 30 + x], in ? 0xFFFDFDFDu : 0u) << x << "," << y;
        }

    auto rotated = MakeFilled(30, 30, 0);
    rotated->BlitRotated(src.get(), 10.0f, 20.0f, Rect(0, 0, 8, 4), Rect(0, 0, 30, 30), Color::White,
                         DRAWMODE_NORMAL, 0.0, 0.0f, 0.0f);
    EXPECT_EQ(Pixels(*rotated), Pixels(*dest));
}

TEST(RotatedBlit, NothingToDraw)
{
    auto src = MakeFilled(8, 4, 0xFFFFFFFF);
    auto dest = MakeFilled(30, 30, 0);
    int count = dest->mChangeCount;
    dest->BlitRotated(src.get(), 100.0f, 100.0f, Rect(0, 0, 8, 4), Rect(0, 0, 30, 30), Color::White,
                      DRAWMODE_NORMAL, 0.3, 4.0f, 2.0f);
    EXPECT_EQ(dest->mChangeCount, count); // wholly outside the clip
    auto thin = MakeFilled(1, 8, 0xFFFFFFFF);
    dest->BlitRotated(thin.get(), 5.0f, 5.0f, Rect(0, 0, 1, 8), Rect(0, 0, 30, 30), Color::White, DRAWMODE_NORMAL,
                      0.0, 0.0f, 0.0f);
    EXPECT_EQ(Pixels(*dest), std::vector<uint32_t>(900, 0)); // no 2 x 2 sample fits
}

TEST(RotatedBlit, QuarterTurnAndAdditive)
{
    auto src = MakeImage(3, 3, {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFFFF0000,
                                0xFFFF0000, 0xFFFF0000});
    auto dest = MakeFilled(12, 12, 0xFF000000);
    dest->BlitRotated(src.get(), 4.25f, 4.25f, Rect(0, 0, 3, 3), Rect(0, 0, 12, 12), Color::White,
                      DRAWMODE_ADDITIVE, 1.5707963267948966, 1.5f, 1.5f);
    // Something was added, nothing outside the rotated box, alpha kept.
    int lit = 0;
    const uint32_t* p = dest->GetBits();
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(p[y * 12 + x] >> 24, 0xFFu);
            if (p[y * 12 + x] != 0xFF000000) {
                ++lit;
                EXPECT_TRUE(x >= 4 && x < 8 && y >= 4 && y < 8) << x << "," << y;
            }
        }
    EXPECT_GT(lit, 0);
}

// A quarter turn either way of an opaque source onto opaque black, against
// the bilinear rotated blit worked out here from its description: bounds of
// the turned corners, 16.16 source positions per row, the row narrowed to
// whole 2 x 2 samples, weights from the fractions and channel sums >> 8.
// The positions carry fractions far from any 16.16 step, so the tiny cosine
// of a quarter turn cannot tip a truncation.
TEST(RotatedBlit, QuarterTurnsMatchTheBilinearSampleExactly)
{
    const int W = 5, H = 4;
    std::vector<uint32_t> pixels;
    for (int i = 0; i < W * H; ++i)
        pixels.push_back(0xFF000000u | uint32_t(i * 12) << 16 | uint32_t(250 - i * 11) << 8 | uint32_t(i * i % 256));
    auto src = MakeImage(W, H, pixels);
    const float x = 4.3f, y = 3.6f, cx = 2.2f, cy = 1.7f;
    for (double angle : {1.5707963267948966, -1.5707963267948966}) {
        SCOPED_TRACE(angle);
        auto dest = MakeFilled(16, 16, 0xFF000000);
        dest->BlitRotated(src.get(), x, y, Rect(0, 0, W, H), Rect(0, 0, 16, 16), Color::White, DRAWMODE_NORMAL,
                          angle, cx, cy);

        std::vector<uint32_t> expected(256, 0xFF000000);
        const double c = std::cos(angle), s = std::sin(angle);
        double x0 = 1e7, y0 = 1e7, x1 = -1e7, y1 = -1e7;
        for (double u : {0.0, double(W)})
            for (double v : {0.0, double(H)}) {
                const double px = x + cx + (u - cx) * c + (v - cy) * s, py = y + cy - (u - cx) * s + (v - cy) * c;
                x0 = std::min(x0, px), x1 = std::max(x1, px), y0 = std::min(y0, py), y1 = std::max(y1, py);
            }
        const int du = int(c * 65536.0), dv = int(s * 65536.0);
        ASSERT_EQ(du, 0);
        ASSERT_EQ(std::abs(dv), 65536);
        const int X0 = int(x0);
        for (int j = 0; j < y1 - y0; ++j) {
            const int Y = int(y0) + j;
            int u = int(65536.0 * ((X0 - cx - x) * c - (Y - cy - y) * s + cx));
            int v = int(65536.0 * ((X0 - cx - x) * s + (Y - cy - y) * c + cy));
            if (u < 0 || u >= W * 65536 - 65536)
                continue;
            int first = 0, last = int(x1 - x0 - 1.0);
            if (dv > 0) {
                if ((v >> 16) >= H - 1)
                    continue;
                if ((65536 - v) / dv > 0)
                    first = std::max(first, (65536 - v) / dv);
                last = std::min(last, (H * 65536 - v - 0x17FFF) / dv);
            } else {
                if ((v >> 16) < 0)
                    continue;
                if ((H * 65536 - v - 0x27FFF) / dv >= 0)
                    first = std::max(first, (H * 65536 - v - 0x27FFF) / dv);
                last = std::min(last, -(v / dv));
            }
            v += first * dv;
            for (int i = first; i <= last; ++i, v += dv) {
                const int64_t fu = (u & 0xFFFE) + 1, fv = (v & 0xFFFE) + 1;
                const int64_t w[4] = {((65536 - fu) * (65536 - fv)) >> 16, ((65536 - fv) * fu) >> 16,
                                      ((65536 - fu) * fv) >> 16, (fu * fv) >> 16};
                const int su = u >> 16, sv = v >> 16;
                const uint32_t p[4] = {pixels[size_t(sv * W + su)], pixels[size_t(sv * W + su + 1)],
                                       pixels[size_t((sv + 1) * W + su)], pixels[size_t((sv + 1) * W + su + 1)]};
                int64_t S[3] = {0, 0, 0};
                for (int q = 0; q < 4; ++q) {
                    const int64_t k = (w[q] * 255) >> 16;
                    for (int ch = 0; ch < 3; ++ch)
                        S[ch] += int64_t((p[q] >> (16 - 8 * ch)) & 0xFF) * k;
                }
                // Over opaque black every channel is S >> 8, whatever the sample's alpha.
                expected[size_t(Y * 16 + X0 + i)] =
                    0xFF000000u | uint32_t(S[0] >> 8) << 16 | uint32_t(S[1] >> 8) << 8 | uint32_t(S[2] >> 8);
            }
        }
        int drawn = 0;
        for (uint32_t e : expected)
            drawn += e != 0xFF000000u;
        EXPECT_GE(drawn, 4); // the fixture does reach inside the source
        const uint32_t* got = dest->GetBits();
        for (int py = 0; py < 16; ++py)
            for (int px = 0; px < 16; ++px)
                EXPECT_EQ(got[py * 16 + px], expected[size_t(py * 16 + px)]) << std::hex << "at " << std::dec << px
                                                                               << "," << py;
    }
}

TEST(RotatedBlit, RandomTransformsStayInsideTheImages)
{
    std::mt19937 rng(7);
    auto src = MakeFilled(9, 7, 0);
    uint32_t* s = src->GetBits();
    for (int i = 0; i < 63; ++i)
        s[i] = rng();
    src->MarkBitsChanged();
    for (int round = 0; round < 300; ++round) {
        auto dest = MakeFilled(13, 11, rng());
        std::uniform_real_distribution<double> pos(-20.0, 30.0), angle(-7.0, 7.0), centre(-5.0, 12.0);
        Rect clip(int(rng() % 20) - 5, int(rng() % 20) - 5, int(rng() % 25), int(rng() % 25));
        Rect part(int(rng() % 12) - 2, int(rng() % 10) - 2, int(rng() % 12), int(rng() % 10));
        dest->BlitRotated(src.get(), float(pos(rng)), float(pos(rng)), part, clip, Color(rng() | 0x01000000),
                          int(rng() % 2), angle(rng), float(centre(rng)), float(centre(rng)));
        EXPECT_EQ(dest->GetBits()[13 * 11], kPixelGuard);
    }
    EXPECT_EQ(src->GetBits()[63], kPixelGuard);
}

TEST(Stretch, FastStretch)
{
    auto src = MakeImage(2, 2, {0xFFFFFFFF, 0xFF0000FF, 0x00FFFFFF, 0xFF00FF00});
    auto dest = MakeFilled(4, 4, 0);
    dest->BlitStretched(src.get(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), Color::White,
                        DRAWMODE_NORMAL, true);
    const uint32_t W = 0xFFFEFEFE, B = 0xFF0000FE, G = 0xFF00FE00;
    EXPECT_EQ(Pixels(*dest), (std::vector<uint32_t>{W, W, B, B, W, W, B, B, 0, 0, G, G, 0, 0, G, G}));

    auto other = MakeFilled(4, 4, 0);
    other->BlitStretched(src.get(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), Color(255, 255, 255, 254),
                         DRAWMODE_NORMAL, true);
    EXPECT_EQ(Pixels(*other), std::vector<uint32_t>(16, 0)); // modulated: nothing

    // Clipped: the right half of the destination takes the right source column.
    auto half = MakeFilled(4, 4, 0);
    half->BlitStretched(src.get(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(2, 0, 2, 1), Color::White,
                        DRAWMODE_NORMAL, true);
    EXPECT_EQ(Pixels(*half), (std::vector<uint32_t>{0, 0, B, B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(Stretch, FastStretchMatchesTheChannelDefinitionOnRandomImages)
{
    std::mt19937 rng(4);
    auto ch = [](uint32_t p, int k) { return (p >> (8 * k)) & 0xFF; };
    for (int round = 0; round < 30; ++round) {
        int w = 1 + int(rng() % 20), h = 1 + int(rng() % 4), scale = 1 + int(rng() % 2);
        std::vector<uint32_t> src(size_t(w) * h), dst(size_t(w * scale) * (h * scale));
        // Alpha in runs on odd rounds, so whole groups of transparent samples occur.
        for (size_t i = 0; i < src.size();) {
            const bool clear = rng() % 4 == 0;
            const size_t run = round % 2 ? 1 + rng() % 9 : 1;
            for (size_t k = 0; k < run && i < src.size(); ++k, ++i)
                src[i] = clear ? (rng() & 0x00FFFFFF) : rng();
        }
        for (auto& p : dst)
            p = rng() % 3 == 0 ? rng() : (rng() | 0xFF000000u);
        auto s = MakeImage(w, h, src), d = MakeImage(w * scale, h * scale, dst);
        d->BlitStretched(s.get(), Rect(0, 0, w * scale, h * scale), Rect(0, 0, w, h), Rect(0, 0, 99, 99),
                         Color::White, DRAWMODE_NORMAL, true);
        const uint32_t* got = d->GetBits();
        for (int y = 0; y < h * scale; ++y)
            for (int x = 0; x < w * scale; ++x) {
                uint32_t sp = src[size_t(y / scale) * w + x / scale], dp = dst[size_t(y) * w * scale + x];
                uint32_t sa = sp >> 24, want = dp;
                if (sa != 0) {
                    uint32_t da = dp >> 24, n = da + (255 - da) * sa / 255, wt = sa * 255 / n;
                    want = n << 24;
                    for (int k = 0; k < 3; ++k) // each channel's two terms truncated separately
                        want |= ((ch(dp, k) * (256 - wt) >> 8) + (ch(sp, k) * wt >> 8)) << (8 * k);
                }
                ASSERT_EQ(got[size_t(y) * w * scale + x], want) << std::hex << dp << " " << sp;
            }
    }
}

TEST(Stretch, SmoothEnlargeAndShrink)
{
    auto grey = [](uint32_t v) { return 0xFF000000u | v * 0x010101u; };
    struct {
        std::vector<uint32_t> src;
        int destWidth;
        std::vector<uint32_t> want;
    } cases[] = {
        // Enlarging: weights 257, 192/65, 128/129, 64/193, 257 of the two neighbours.
        {{grey(0), grey(255)}, 5, {grey(0), grey(0x3F), grey(0x7F), grey(0xBF), grey(0xFE)}},
        // Shrinking: each source pixel covers 0.4 of an output pixel.
        {{grey(0), grey(64), grey(128), grey(192), grey(255)}, 2, {0xFE323232, 0xFEC9C9C9}},
    };
    for (auto& c : cases) {
        int w = int(c.src.size());
        auto src = MakeImage(w, 1, c.src);
        auto dest = MakeFilled(c.destWidth, 1, 0);
        dest->BlitStretched(src.get(), Rect(0, 0, c.destWidth, 1), Rect(0, 0, w, 1), Rect(0, 0, 99, 99),
                            Color::White, DRAWMODE_NORMAL, false);
        EXPECT_EQ(Pixels(*dest), c.want) << w << " -> " << c.destWidth;
    }
    auto src = MakeFilled(4, 4, 0xFFFFFFFF);
    auto dest = MakeFilled(4, 4, 0);
    int count = dest->mChangeCount;
    dest->BlitStretched(src.get(), Rect(0, 0, 4, 4), Rect(1, 1, 0, 3), Rect(0, 0, 4, 4), Color::White,
                        DRAWMODE_NORMAL, false);
    EXPECT_EQ(dest->mChangeCount, count); // an empty source area draws nothing
}

TEST(Stretch, SourceRectanglesAreKeptInsideTheImage)
{
    auto src = MakeFilled(3, 3, 0xFFFFFFFF);
    for (bool fast : {true, false}) {
        auto dest = MakeFilled(7, 5, 0);
        dest->BlitStretched(src.get(), Rect(-2, -1, 9, 9), Rect(-1, 1, 5, 4), Rect(0, 0, 7, 5), Color::White,
                            DRAWMODE_NORMAL, fast);
        dest->BlitStretched(src.get(), Rect(0, 0, 7, 5), Rect(0, 0, 3, 3), Rect(-10, -10, 100, 100), Color::White,
                            DRAWMODE_NORMAL, fast);
        EXPECT_EQ(dest->GetBits()[35], kPixelGuard);
    }
}

TEST(Stretch, MirroredSourceMapping)
{
    Rect cd;
    DoubleRect cs;
    // Destination 10 wide from a 5-wide source, clipped to its left 4 pixels.
    ASSERT_TRUE(StretchSourceRect(Rect(0, 0, 10, 2), Rect(0, 0, 5, 1), Rect(0, 0, 4, 2), false, cd, cs));
    EXPECT_EQ(cd, Rect(0, 0, 4, 2));
    EXPECT_DOUBLE_EQ(cs.mX, 0.0);
    EXPECT_DOUBLE_EQ(cs.mWidth, 2.0);
    ASSERT_TRUE(StretchSourceRect(Rect(0, 0, 10, 2), Rect(0, 0, 5, 1), Rect(0, 0, 4, 2), true, cd, cs));
    EXPECT_DOUBLE_EQ(cs.mX, 3.0); // counted from the mirrored side
    EXPECT_FALSE(StretchSourceRect(Rect(0, 0, 0, 2), Rect(0, 0, 5, 1), Rect(0, 0, 4, 2), false, cd, cs));

    // Memory images draw no mirrored blits.
    auto src = MakeFilled(2, 2, 0xFFFFFFFF);
    auto dest = MakeFilled(2, 2, 0);
    dest->BlitStretchedMirrored(src.get(), Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), Rect(0, 0, 2, 2), Color::White, 0,
                                true);
    dest->BlitMirrored(src.get(), 0, 0, Rect(0, 0, 2, 2), Color::White, 0);
    EXPECT_EQ(Pixels(*dest), std::vector<uint32_t>(4, 0));
}

TEST(Triangles, RasteriserHandsClippedTrianglesToAnEmptyTable)
{
    auto src = MakeFilled(4, 4, 0xFFFFFFFF);
    auto dest = MakeFilled(8, 8, 0);
    int count = dest->mChangeCount;
    TriVertex tri[1][3] = {{{1, 1, 0, 0, 0}, {6, 1, 1, 0, 0}, {1, 6, 0, 1, 0}}};
    dest->BlitTriangles(src.get(), tri, 1, Rect(0, 0, 8, 8), Color::White, 0, 0.5f, 0.5f, false);
    Matrix3 m;
    m.Rotate(0.3f);
    dest->BlitMatrix(src.get(), 4, 4, m, Rect(0, 0, 8, 8), Color::White, 0, Rect(0, 0, 4, 4), true);
    EXPECT_EQ(Pixels(*dest), std::vector<uint32_t>(64, 0)); // no drawers in this system
    EXPECT_EQ(dest->mChangeCount, count + 2);
    EXPECT_TRUE(src->mDrawn);

    // Inside the clip: one triangle; a strip of four: two; a corner cut off:
    // a quadrilateral, so two; the corner kept: one; wholly outside: none.
    TriVertex strip[4] = {{0, 0, 0, 0, 0}, {4, 0, 0, 0, 0}, {0, 4, 0, 0, 0}, {4, 4, 0, 0, 0}};
    EXPECT_EQ(RasterizeTriangles(strip, 3, nullptr, Color::White, Rect(0, 0, 8, 8), nullptr, 0, 0x8888, false, false),
              1);
    EXPECT_EQ(RasterizeTriangles(strip, 4, nullptr, Color::White, Rect(0, 0, 8, 8), nullptr, 0, 0x8888, false, false),
              2);
    EXPECT_EQ(RasterizeTriangles(strip, 3, nullptr, Color::White, Rect(0, 0, 3, 8), nullptr, 0, 0x8888, false, false),
              2);
    EXPECT_EQ(RasterizeTriangles(strip, 3, nullptr, Color::White, Rect(2, 0, 8, 8), nullptr, 0, 0x8888, false, false),
              1);
    EXPECT_EQ(RasterizeTriangles(strip, 3, nullptr, Color::White, Rect(6, 6, 8, 8), nullptr, 0, 0x8888, false, false),
              0);

    struct {
        bool source, alpha, smooth, vertexColors, modulated;
        int format, code;
    } codes[] = {
        {true, false, false, false, false, 0x8888, 16}, {true, true, false, false, false, 0x8888, 24},
        {true, false, true, false, false, 0x8888, 25},  {false, false, false, true, true, 0x8888, 6},
        {true, false, false, false, false, 0x0888, 48}, {true, false, false, false, false, 0x0565, 80},
        {false, false, false, false, false, 0x0555, 96},
    };
    for (auto& c : codes)
        EXPECT_EQ(TriangleDrawerCode(c.source, c.alpha, c.smooth, c.vertexColors, c.modulated, c.format), c.code);
}
