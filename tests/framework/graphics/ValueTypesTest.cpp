#include "framework/app/Ratio.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Matrix3.h"
#include "framework/graphics/NativeDisplay.h"
#include "framework/graphics/PixelFormat.h"
#include "framework/graphics/Rect.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>

using namespace Zelk;

TEST(Color, PackedFormTakesAlphaFromTheTopByte)
{
    EXPECT_EQ(Color(0x00FF0000u), Color(255, 0, 0, 0));
    EXPECT_EQ(Color(0x00FF0000u + 0xFF000000u), Color(255, 0, 0));
    EXPECT_EQ(Color::Opaque(0x00FF00), Color(0, 255, 0, 255));
    EXPECT_EQ(Color(), Color::Black);
    EXPECT_EQ(Color(1, 2, 3, 4).ToInt(), 0x04010203u);
    const int table[3] = {10, 20, 30};
    EXPECT_EQ(Color(table), Color(10, 20, 30, 255));
    EXPECT_NE(Color(1, 2, 3, 4), Color(1, 2, 3, 5));
}

TEST(Rect, IntersectionTable)
{
    struct {
        Rect a, b, want;
    } cases[] = {
        {{0, 0, 10, 10}, {10, 0, 5, 5}, {10, 0, 0, 5}}, // touching: empty at the edge
        {{0, 0, 10, 10}, {11, 0, 5, 5}, {0, 0, 0, 0}},  // disjoint
        {{0, 0, 10, 10}, {2, 3, 4, 20}, {2, 3, 4, 7}},
        {{-5, -5, 10, 10}, {0, 0, 10, 10}, {0, 0, 5, 5}},
        // Edges beyond the int range must not overflow.
        {{INT_MAX - 1, 0, INT_MAX, 5}, {0, 0, INT_MAX, 5}, {INT_MAX - 1, 0, 1, 5}},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {-1, -1, 2, 2}, {-1, -1, 0, 0}},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.a.Intersection(c.b), c.want) << Rect(c.want).mX;
    DoubleRect d = DoubleRect(0, 0, 10, 10).Intersection(DoubleRect(2.5, 3, 4, 20));
    EXPECT_DOUBLE_EQ(d.mX, 2.5);
    EXPECT_DOUBLE_EQ(d.mHeight, 7);
}

TEST(Ratio, SetAndLessThan)
{
    struct {
        int n, d, wn, wd;
    } sets[] = {{640, 480, 4, 3}, {1280, 1024, 5, 4}, {-4, 6, -2, 3}};
    for (auto& c : sets) {
        Ratio r(c.n, c.d);
        EXPECT_EQ(r, Ratio(c.wn, c.wd));
    }
    struct {
        Ratio a, b;
        bool less;
    } compares[] = {
        {Ratio(4, 3), Ratio(16, 10), true},
        {Ratio(16, 10), Ratio(4, 3), false},
        {Ratio(4, 3), Ratio(4, 3), false},
        {Ratio(5, 0), Ratio(4, 3), false}, // a zero denominator never divides
        {Ratio(4, 3), Ratio(5, 0), false},
    };
    for (auto& c : compares)
        EXPECT_EQ(c.a < c.b, c.less);
}

TEST(Matrix3, TransformsMultiplyOnTheLeft)
{
    Matrix3 a;
    a.Translate(5, 0);
    a.Scale(2, 2);
    FPoint p = a.TransformPoint(FPoint{1, 1});
    EXPECT_FLOAT_EQ(p.mX, 12);
    EXPECT_FLOAT_EQ(p.mY, 2);

    Matrix3 b;
    b.Scale(2, 2);
    b.Translate(5, 0);
    p = b.TransformPoint(FPoint{1, 1});
    EXPECT_FLOAT_EQ(p.mX, 7);
    EXPECT_FLOAT_EQ(p.mY, 2);

    Matrix3 r;
    r.Rotate(0.5f);
    p = r.TransformPoint(FPoint{1, 0});
    EXPECT_FLOAT_EQ(p.mX, float(std::cos(0.5)));
    EXPECT_FLOAT_EQ(p.mY, -float(std::sin(0.5)));

    // Rotating about a centre leaves the centre in place.
    Matrix3 c;
    c.Translate(-3, -4);
    c.Rotate(1.0f);
    c.Translate(3, 4);
    p = c.TransformPoint(FPoint{3, 4});
    EXPECT_NEAR(p.mX, 3, 1e-5);
    EXPECT_NEAR(p.mY, 4, 1e-5);

    float v[3] = {1, 1, 1}, out[3];
    a.TransformVector(v, out);
    EXPECT_FLOAT_EQ(out[0], 12);
    EXPECT_FLOAT_EQ(out[2], 1);
}

TEST(PixelFormat, BuildMatchAndEnumerate)
{
    for (int code : {1, 2, 4, 8}) {
        SurfacePixelFormat f;
        BuildPixelFormat(code, f);
        EXPECT_EQ(f.mSize, 32u);
        EXPECT_EQ(MatchPixelFormat(f), code) << PixelFormatLabel(code);
    }
    SurfacePixelFormat f;
    BuildPixelFormat(16, f);
    EXPECT_EQ(f.mSize, 32u);
    EXPECT_EQ(f.mFlags, 0u);

    SurfacePixelFormat x555 = {32, 0x40, 0, 16, 0x7C00, 0x03E0, 0x001F, 0};
    EXPECT_EQ(MatchPixelFormat(x555), 0);
    SurfacePixelFormat pal = {32, 0x60, 0, 8, 1, 2, 3, 4}; // masks not looked at
    EXPECT_EQ(MatchPixelFormat(pal), 8);
    SurfacePixelFormat rgb565WithAlpha;
    BuildPixelFormat(4, rgb565WithAlpha);
    rgb565WithAlpha.mAlphaMask = 0x1;
    EXPECT_EQ(MatchPixelFormat(rgb565WithAlpha), 0);

    EXPECT_STREQ(PixelFormatLabel(2), "A4R4G4B4");
    int mask = 0;
    SurfacePixelFormat offered[3];
    BuildPixelFormat(1, offered[0]);
    offered[1] = x555;
    BuildPixelFormat(4, offered[2]);
    for (auto& o : offered)
        EXPECT_EQ(EnumTextureFormatsToMask(&o, &mask), 1);
    EXPECT_EQ(mask, 5);
    gSupportedPixelFormats = 0;
    EnumTextureFormatsToGlobal(&offered[2], nullptr);
    EXPECT_EQ(gSupportedPixelFormats, 4);
}

TEST(PixelLayout, BitsShiftsAndChannelConversion)
{
    struct {
        int depth;
        uint32_t r, g, b;
        int rb, gb, bb, rs, gs, bs;
    } cases[] = {
        {16, 0xF800, 0x07E0, 0x001F, 5, 6, 5, 11, 5, 0},
        {16, 0x7C00, 0x03E0, 0x001F, 5, 5, 5, 10, 5, 0},
        {32, 0xFF0000, 0xFF00, 0xFF, 8, 8, 8, 16, 8, 0},
        {16, 0, 0x07E0, 0x001F, 0, 6, 5, 0, 5, 0}, // an empty mask has no bits
    };
    for (auto& c : cases) {
        PixelLayout l;
        l.SetLayout(c.depth, c.r, c.g, c.b);
        EXPECT_EQ(l.mRedBits, c.rb);
        EXPECT_EQ(l.mGreenBits, c.gb);
        EXPECT_EQ(l.mBlueBits, c.bb);
        EXPECT_EQ(l.mRedShift, c.rs);
        EXPECT_EQ(l.mGreenShift, c.gs);
        EXPECT_EQ(l.mBlueShift, c.bs);
    }
    // 5-6-5: 0xFF red keeps its top five bits and comes back without the low three.
    EXPECT_EQ(PixelLayout::ToDisplay(0xFF, 5, 11, 0xF800), 0xF800u);
    EXPECT_EQ(PixelLayout::FromDisplay(0xF800, 5, 11, 0xF800), 0xF8u);
    EXPECT_EQ(PixelLayout::ToDisplay(0x84, 6, 5, 0x07E0), 0x0420u);
}
