// Rotated and stretched software blits on surfaces.
#include "SurfaceFixture.h"

using namespace Zelk;
using namespace Zelk::test;

namespace {

using Raw = std::vector<uint32_t>;

Raw Row(DDImage& image, int y) { return SurfaceDisplay::RawRow(image.mSurface, y, image.mWidth); }

} // namespace

TEST(SurfaceTransform, UnturnedRotatedBlitLosesItsOuterColumnsAndLastRow)
{
    SurfaceDisplay t;
    auto image = t.Surface(16, 16, 0x00FFFFFF);
    auto src = t.Memory(10, 10, std::vector<uint32_t>(100, 0xFF102030));
    image->BlitRotated(src.get(), 2.0f, 3.0f, Rect(0, 0, 10, 10), Rect(0, 0, 16, 16), Color::White,
                       DRAWMODE_NORMAL, 0.0, 0.0f, 0.0f);
    // Each sample weighs 254: a channel becomes (254 p + 2 d) >> 8.
    const uint32_t drawn = 0x00112131, white = 0x00FFFFFF;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 3 && x <= 10 && y >= 3 && y <= 11;
            EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, x, y), inside ? drawn : white) << x << "," << y;
        }
    }
    EXPECT_FALSE(image->HasPixelArray());

    // A fractional blit in 2D is the same rotated blit.
    auto again = t.Surface(16, 16, 0x00FFFFFF);
    again->BlitFloat(src.get(), 2.0f, 3.0f, Rect(0, 0, 10, 10), Rect(0, 0, 16, 16), Color::White, DRAWMODE_NORMAL);
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(Row(*again, y), Row(*image, y)) << y;

    // One pixel wide: no sample pair fits, nothing is drawn.
    auto thin = t.Surface(4, 4, white);
    thin->BlitRotated(src.get(), 1.0f, 0.0f, Rect(0, 0, 1, 4), Rect(0, 0, 4, 4), Color::White, DRAWMODE_NORMAL, 0.0,
                      0.0f, 0.0f);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(Row(*thin, y), Raw(4, white));
}

// A quarter turn either way on a black 32-bit surface: each channel is
// (T + d (256 - Wt)) >> 8 with d = 0, the T >> 8 the memory image writes over
// opaque black, so every pixel matches the memory image's quarter turn.
TEST(SurfaceTransform, QuarterTurnsMatchTheMemoryImagePixelForPixel)
{
    SurfaceDisplay t;
    const int W = 5, H = 4;
    std::vector<uint32_t> pixels;
    for (int i = 0; i < W * H; ++i)
        pixels.push_back(0xFF000000u | uint32_t(i * 12) << 16 | uint32_t(250 - i * 11) << 8 | uint32_t(i * i % 256));
    auto src = t.Memory(W, H, pixels);
    for (double angle : {1.5707963267948966, -1.5707963267948966}) {
        SCOPED_TRACE(angle);
        auto image = t.Surface(16, 16, 0);
        auto memory = t.Memory(16, 16, std::vector<uint32_t>(256, 0xFF000000));
        for (Image* dest : {static_cast<Image*>(image.get()), static_cast<Image*>(memory.get())})
            dest->BlitRotated(src.get(), 4.3f, 3.6f, Rect(0, 0, W, H), Rect(0, 0, 16, 16), Color::White,
                              DRAWMODE_NORMAL, angle, 2.2f, 1.7f);
        const uint32_t* m = memory->GetBits();
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                drawn += m[y * 16 + x] != 0xFF000000u;
                EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, x, y) & 0xFFFFFF, m[y * 16 + x] & 0xFFFFFF)
                    << x << "," << y;
            }
        EXPECT_GE(drawn, 4);
    }
}

TEST(SurfaceTransform, RotatedBlitColourAndAdditiveForms)
{
    struct Case {
        Layout layout;
        Color color;
        int mode;
        uint32_t dest, result;
    } cases[] = {
        // Weight 254 x 128 >> 8 = 127; the colour's channel + 1 scales T >> 8.
        {Layout::X8R8G8B8, Color(255, 255, 255, 128), DRAWMODE_NORMAL, 0x00000000, 0x00070F17},
        {Layout::X8R8G8B8, Color::White, DRAWMODE_ADDITIVE, 0x00101010, 0x001F2F3F},
        {Layout::R5G6B5, Color::White, DRAWMODE_NORMAL, 0xFFFF, 0x08E5},
    };
    for (const Case& c : cases) {
        SurfaceDisplay t(c.layout);
        auto image = t.Surface(4, 4, c.dest);
        auto src = t.Memory(4, 4, std::vector<uint32_t>(16, 0xFF102030));
        image->BlitRotated(src.get(), 0.0f, 0.0f, Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), c.color, c.mode, 0.0, 0.0f,
                           0.0f);
        EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 1, 1), c.result) << Name(c.layout) << " " << c.mode;
        EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 0, 0), c.dest);
    }
}

TEST(SurfaceTransform, AdditiveRotationReadsPlainPixels)
{
    SurfaceDisplay t;
    for (int mode : {DRAWMODE_NORMAL, DRAWMODE_ADDITIVE}) {
        auto image = t.Surface(4, 4, 0);
        auto src = t.Memory(4, 4, std::vector<uint32_t>(16, 0xFF102030));
        ASSERT_TRUE(src->Palettize());
        image->BlitRotated(src.get(), 0.0f, 0.0f, Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), Color::White, mode, 0.0, 0.0f,
                           0.0f);
        EXPECT_EQ(src->IsPalettized(), mode == DRAWMODE_NORMAL) << mode;
        // Inside, each sample weighs 254 over black: a channel becomes 254 p >> 8
        // whether blended or added.
        EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 1, 1), 0x000F1F2Fu) << mode;
        // Every pixel as the same rotated blit gives on a memory image.
        auto memory = t.Memory(4, 4, std::vector<uint32_t>(16, 0));
        auto plain = t.Memory(4, 4, std::vector<uint32_t>(16, 0xFF102030));
        memory->BlitRotated(plain.get(), 0.0f, 0.0f, Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), Color::White, mode, 0.0,
                            0.0f, 0.0f);
        const uint32_t* m = memory->GetBits();
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, x, y) & 0xFFFFFF, m[y * 4 + x] & 0xFFFFFF)
                    << mode << " at " << x << "," << y;
    }
}

TEST(SurfaceTransform, NearestStretchRepeatsPixelsAndSkipsTransparentOnes)
{
    for (Layout layout : {Layout::R5G6B5, Layout::X8R8G8B8}) {
        SurfaceDisplay t(layout);
        const uint32_t d = layout == Layout::X8R8G8B8 ? 0x00123456 : 0x1234;
        auto image = t.Surface(4, 4, d);
        auto src = t.Memory(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x00FFFFFF});
        image->BlitStretched(src.get(), Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), Rect(0, 0, 4, 4), Color::White,
                             DRAWMODE_NORMAL, true);
        const bool is32 = layout == Layout::X8R8G8B8;
        const uint32_t red = is32 ? 0xFFFF0000 : 0xF800, green = is32 ? 0xFF00FF00 : 0x07E0,
                       blue = is32 ? 0xFF0000FF : 0x001F;
        EXPECT_EQ(Row(*image, 0), (Raw{red, red, green, green})) << Name(layout);
        EXPECT_EQ(Row(*image, 1), (Raw{red, red, green, green}));
        EXPECT_EQ(Row(*image, 2), (Raw{blue, blue, d, d}));
        EXPECT_EQ(Row(*image, 3), (Raw{blue, blue, d, d}));
    }
}

TEST(SurfaceTransform, MirroredStretchRunsRightToLeft)
{
    SurfaceDisplay t;
    auto image = t.Surface(4, 1, 0);
    auto src = t.Memory(2, 1, {0xFF000001, 0xFF000002});
    image->BlitStretchedMirrored(src.get(), Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(0, 0, 4, 1), Color::White,
                                 DRAWMODE_NORMAL, false);
    EXPECT_EQ(Row(*image, 0), (Raw{0xFF000002, 0xFF000002, 0xFF000001, 0xFF000001}));
    // Clipped on the left: what is cut is the source's right end.
    auto clipped = t.Surface(4, 1, 0);
    clipped->BlitStretchedMirrored(src.get(), Rect(0, 0, 4, 1), Rect(0, 0, 2, 1), Rect(1, 0, 3, 1), Color::White,
                                   DRAWMODE_NORMAL, true);
    EXPECT_EQ(Row(*clipped, 0), (Raw{0, 0xFF000002, 0xFF000001, 0xFF000001}));
}

TEST(SurfaceTransform, NearestStretchSamplesStayInsideTheSource)
{
    SurfaceDisplay t;
    auto image = t.Surface(4, 4, 0);
    auto src = t.Memory(2, 2, {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004});
    // A source rectangle reaching past the image's last row and column.
    ASSERT_TRUE(image->BlitStretchedOnSurface(src.get(), Rect(0, 0, 4, 4), DoubleRect(1.5, 1.5, 1.0, 1.0),
                                              Color::White, DRAWMODE_NORMAL, false));
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(Row(*image, y), Raw(4, 0xFF000004)) << y;
}

// The nearest stretch on 16-bit surfaces, plain and mirrored, against the
// formula applied one channel at a time to random pixels (alpha in runs).
TEST(SurfaceTransform, SixteenBitStretchMatchesTheChannelFormula)
{
    for (Layout layout : {Layout::R5G6B5, Layout::R5G5B5}) {
        SCOPED_TRACE(Name(layout));
        SurfaceDisplay t(layout);
        uint32_t seed = 99;
        auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return seed >> 8;
        };
        const int w = 29, h = 3;
        std::vector<uint32_t> srcPixels(size_t(w) * h), destRaw(size_t(w) * h);
        for (size_t i = 0; i < srcPixels.size();) {
            const uint32_t pick = next() % 3, run = 1 + next() % 7;
            for (uint32_t k = 0; k < run && i < srcPixels.size(); ++k, ++i) {
                const uint32_t alpha = pick == 0 ? 0 : pick == 1 ? 255 : next() & 0xFF;
                srcPixels[i] = alpha << 24 | (next() & 0xFFFFFF);
                destRaw[i] = next() & 0xFFFF;
            }
        }
        auto src = t.Memory(w, h, srcPixels);
        const uint32_t* native = src->GetNativeBits(t.display);
        const uint32_t M[3] = {layout == Layout::R5G6B5 ? 0xF800u : 0x7C00u, layout == Layout::R5G6B5 ? 0x07E0u : 0x03E0u,
                               0x001Fu};
        for (bool mirrored : {false, true}) {
            SCOPED_TRACE(mirrored ? "mirrored" : "plain");
            auto image = t.Surface(w, h, 0);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    SurfaceDisplay::SetRaw(image->mSurface, x, y, destRaw[size_t(y * w + x)]);
            if (mirrored)
                image->BlitStretchedMirrored(src.get(), Rect(0, 0, w, h), Rect(0, 0, w, h), Rect(0, 0, w, h),
                                             Color::White, DRAWMODE_NORMAL, true);
            else
                image->BlitStretched(src.get(), Rect(0, 0, w, h), Rect(0, 0, w, h), Rect(0, 0, w, h), Color::White,
                                     DRAWMODE_NORMAL, true);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const int dx = mirrored ? w - 1 - x : x;
                    const uint32_t n = native[size_t(y * w + x)], a = n >> 24, d = destRaw[size_t(y * w + dx)];
                    uint32_t over = n & 0xFFFF;
                    for (int c = 0; c < 3; ++c)
                        over += (((d & M[c]) * (256 - a)) >> 8) & M[c];
                    EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, dx, y), a == 0 ? d : over) << x << "," << y;
                }
        }
    }
}
