// Software drawing on locked surfaces: exact values of the fills, lines, the
// coverage fill and the plain, additive and mirrored blits in each layout.
#include "SurfaceFixture.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/SurfaceFormat.h"

#include <climits>
#include <random>

using namespace Zelk;
using namespace Zelk::test;

namespace {

using Raw = std::vector<uint32_t>;

// An opaque surface image of width x height whose every surface value is v.
std::unique_ptr<DDImage> Target(SurfaceDisplay& t, int w, int h, uint32_t v) { return t.Surface(w, h, v); }

Raw Row(DDImage& image, int y) { return SurfaceDisplay::RawRow(image.mSurface, y, image.mWidth); }

// An image that is no memory image.
class PlainImage : public Image {
public:
    PlainImage()
    {
        mWidth = 4;
        mHeight = 4;
    }
};

} // namespace

TEST(SurfaceDraw, FillNormal)
{
    struct Case {
        Layout layout;
        Color color;
        uint32_t dest, result;
    } cases[] = {
        {Layout::R5G6B5, Color::White, 0x0000, 0xFFFF},
        {Layout::R5G5B5, Color::White, 0x0000, 0x7FFF},
        {Layout::X8R8G8B8, Color::White, 0xFF000000, 0x00FEFEFE}, // 255 comes out 254, top byte 0
        // (128 + 1) x 0xFF0000 >> 8 keeps 0x7F of the colour's 128.
        {Layout::X8R8G8B8, Color(255, 255, 255, 128), 0x00000000, 0x007F7F7F},
        {Layout::X8R8G8B8, Color(255, 0, 0, 128), 0x0000FF00, 0x007F7F00},
        {Layout::R5G6B5, Color(255, 255, 255, 128), 0x0000, 0x7BEF},
        {Layout::R5G6B5, Color(0, 0, 255, 64), 0xFFFF, 0xBDFE},
    };
    for (const Case& c : cases) {
        SurfaceDisplay t(c.layout);
        auto image = Target(t, 4, 3, c.dest);
        image->FillRect(Rect(1, 1, 2, 1), c.color, DRAWMODE_NORMAL);
        EXPECT_EQ(Row(*image, 1), (Raw{c.dest, c.result, c.result, c.dest})) << Name(c.layout);
        EXPECT_EQ(Row(*image, 0), Raw(4, c.dest));
        EXPECT_EQ(Row(*image, 2), Raw(4, c.dest));
    }
}

TEST(SurfaceDraw, FillAdditiveSaturates)
{
    struct Case {
        Layout layout;
        Color color;
        uint32_t dest, result;
    } cases[] = {
        {Layout::R5G6B5, Color(200, 0, 0, 255), 20u << 11, 0xF800}, // 20 + 25 is 31
        {Layout::R5G6B5, Color(16, 8, 255, 255), 0x0000, (2u << 11) | (2u << 5) | 31},
        {Layout::X8R8G8B8, Color(200, 0, 0, 255), 0x00640000, 0x00FF0000},
        {Layout::X8R8G8B8, Color(100, 50, 10, 128), 0x00101010, 0x00422915},
    };
    for (const Case& c : cases) {
        SurfaceDisplay t(c.layout);
        auto image = Target(t, 2, 1, c.dest);
        image->FillRect(Rect(0, 0, 1, 1), c.color, DRAWMODE_ADDITIVE);
        EXPECT_EQ(Row(*image, 0), (Raw{c.result, c.dest})) << Name(c.layout);
    }
}

TEST(SurfaceDraw, LinesVisitTheMemoryImagesPixelsAndStayInside)
{
    struct {
        double x1, y1, x2, y2;
    } lines[] = {{0.5, 0.5, 4.5, 2.5}, {7.9, 0.2, 0.1, 5.7}, {2.0, 7.5, 3.5, 0.0}, {-5.0, -3.0, 20.0, 9.0},
                 {9.5, 1.0, -2.0, 4.0}};
    for (auto& l : lines) {
        SurfaceDisplay t;
        auto image = Target(t, 8, 8, 0);
        image->DrawLine(l.x1, l.y1, l.x2, l.y2, Color::White, DRAWMODE_NORMAL);
        auto memory = t.Memory(8, 8, std::vector<uint32_t>(64, 0xFF000000));
        memory->DrawLine(l.x1, l.y1, l.x2, l.y2, Color::White, DRAWMODE_NORMAL);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, x, y) != 0, memory->GetBits()[y * 8 + x] != 0xFF000000)
                    << l.x1 << "," << l.y1 << " " << x << "," << y;
    }
    // From (0.5, 0.5) to (4.5, 2.5): (0, 0) and then one pixel in each of columns 1 to 4.
    SurfaceDisplay t;
    auto image = Target(t, 6, 4, 0);
    image->DrawLine(0.5, 0.5, 4.5, 2.5, Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 0, 0), 0x00FEFEFEu);
    for (int x = 0; x < 6; ++x) {
        int drawn = 0;
        for (int y = 0; y < 4; ++y)
            drawn += SurfaceDisplay::Raw(image->mSurface, x, y) != 0;
        EXPECT_EQ(drawn, x <= 4 ? 1 : 0) << x;
    }
}

TEST(SurfaceDraw, LineColours)
{
    struct Case {
        Layout layout;
        Color color;
        int mode;
        uint32_t dest, result;
    } cases[] = {
        {Layout::X8R8G8B8, Color::White, DRAWMODE_NORMAL, 0, 0x00FEFEFE},
        {Layout::R5G6B5, Color::White, DRAWMODE_NORMAL, 0, 0xF7DE},
        {Layout::X8R8G8B8, Color(255, 255, 255, 128), DRAWMODE_NORMAL, 0x00FF0000, 0x00FE7F7F},
        {Layout::X8R8G8B8, Color(200, 0, 0, 255), DRAWMODE_ADDITIVE, 0x00640000, 0x00FF0000},
    };
    for (const Case& c : cases) {
        SurfaceDisplay t(c.layout);
        auto image = Target(t, 3, 3, c.dest);
        image->DrawLine(0.0, 0.0, 2.0, 2.0, c.color, c.mode);
        EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 1, 1), c.result) << Name(c.layout);
        EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 1, 0), c.dest);
    }
}

TEST(SurfaceDraw, AntiAliasedLineWeights)
{
    SurfaceDisplay t;
    auto image = Target(t, 8, 8, 0);
    // A whole-number start has the full weight 255: 254 x 255 >> 8.
    image->DrawAntiAliasedLine(1.0, 1.0, 6.0, 3.0, Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(SurfaceDisplay::Raw(image->mSurface, 1, 1), 0x00FDFDFDu);
    auto half = Target(t, 8, 8, 0);
    half->DrawAntiAliasedLine(1.5, 1.5, 6.0, 3.0, Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(SurfaceDisplay::Raw(half->mSurface, 1, 1), 0x00BDBDBDu); // weight 191

    // End points that truncate to one pixel draw just that pixel.
    auto dot = Target(t, 4, 4, 0);
    dot->DrawAntiAliasedLine(1.2, 1.3, 1.7, 1.9, Color::White, DRAWMODE_NORMAL);
    int drawn = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            drawn += SurfaceDisplay::Raw(dot->mSurface, x, y) != 0;
    EXPECT_EQ(drawn, 1);

    // The additive form draws nothing.
    auto additive = Target(t, 4, 4, 0x00101010);
    additive->DrawAntiAliasedLine(0.0, 0.0, 3.0, 2.0, Color::White, DRAWMODE_ADDITIVE);
    EXPECT_EQ(Row(*additive, 0), Raw(4, 0x00101010));
}

TEST(SurfaceDraw, AntiAliasedLineNeverLeavesTheSurface)
{
    // A steep line running left down to column 0 has no neighbour beyond it;
    // in 5-6-5 the weights keep five bits.
    SurfaceDisplay t(Layout::R5G6B5);
    auto steep = Target(t, 4, 8, 0);
    steep->DrawAntiAliasedLine(2.5, 0.5, 0.0, 7.0, Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(SurfaceDisplay::Raw(steep->mSurface, 0, 7), 0x6B6Du); // weight 113 cut to 14/32
    EXPECT_EQ(SurfaceDisplay::Raw(steep->mSurface, 3, 4), 0u);      // where x - 1 of row 5 would wrap to
    auto wide = Target(t, 4, 4, 0);
    wide->DrawAntiAliasedLine(-3.0, -2.0, 9.0, 6.0, Color::White, DRAWMODE_NORMAL);
    EXPECT_NE(SurfaceDisplay::Raw(wide->mSurface, 1, 1), 0u);
}

TEST(SurfaceDraw, CoverageFill)
{
    SurfaceDisplay t;
    auto image = Target(t, 6, 3, 0);
    const uint8_t coverage[10] = {0, 255, 127, 0, 9, 9, 9, 9, 9, 9};
    const Span spans[] = {{1, 2, 3}, {5, 0, 6}, {1, -3, 2}};
    image->FillCoverageSpans(spans, 3, Color::White, DRAWMODE_NORMAL, coverage, 1, 1, 5, 2);
    // Weight 255 (not 256) for full coverage: 254 x 255 >> 8.
    EXPECT_EQ(Row(*image, 1), (Raw{0, 0, 0x00FDFDFD, 0x007E7E7E, 0, 0}));
    EXPECT_EQ(Row(*image, 0), Raw(6, 0));
    EXPECT_EQ(Row(*image, 2), Raw(6, 0));
    EXPECT_FALSE(image->HasPixelArray());
}

namespace {

// A source row of the blit cases: three transparent pixels, two opaque, one
// of alpha 128.
const std::vector<uint32_t> kRunRow = {0x00000000, 0x00FF00FF, 0x00000000, 0xFF112233, 0xFF445566, 0x80FFFFFF};

} // namespace

TEST(SurfaceDraw, BlitSkipsCopiesAndBlendsByRuns)
{
    struct Case {
        Layout layout;
        Color color;
        uint32_t dest;
        Raw row;
    } cases[] = {
        {Layout::R5G6B5, Color::White, 0xF800, {0xF800, 0xF800, 0xF800, 0x1106, 0x42AC, 0xFC10}},
        {Layout::R5G5B5, Color::White, 0x7C00, {0x7C00, 0x7C00, 0x7C00, 0x0886, 0x214C, 0x7E10}},
        // Copies keep the source's alpha byte.
        {Layout::X8R8G8B8, Color::White, 0x00FF0000,
         {0x00FF0000, 0x00FF0000, 0x00FF0000, 0xFF112233, 0xFF445566, 0x80FF8080}},
        // A grey: one factor for every channel (the spread form in 16 bits).
        {Layout::X8R8G8B8, Color(128, 128, 128, 255), 0x00FF0000,
         {0x00FF0000, 0x00FF0000, 0x00FF0000, 0x00081119, 0x00222A33, 0x00BF4040}},
        {Layout::R5G6B5, Color(128, 128, 128, 255), 0xF800, {0xF800, 0xF800, 0xF800, 0x0883, 0x2146, 0xBA08}},
        // Red only: a factor per channel.
        {Layout::X8R8G8B8, Color(255, 0, 0, 255), 0x00FF0000,
         {0x00FF0000, 0x00FF0000, 0x00FF0000, 0x00100000, 0x00430000, 0x00FF0000}},
    };
    for (const Case& c : cases) {
        SurfaceDisplay t(c.layout);
        auto image = Target(t, 6, 1, c.dest);
        auto src = t.Memory(6, 1, kRunRow);
        image->Blit(src.get(), 0, 0, Rect(0, 0, 6, 1), c.color, DRAWMODE_NORMAL);
        EXPECT_EQ(Row(*image, 0), c.row) << Name(c.layout) << " " << c.color.mRed;
        EXPECT_TRUE(src->mDrawn);
    }
}

TEST(SurfaceDraw, OpaqueAndVolatileSourcesSkipTheRunLengths)
{
    // Opaque source with transparent pixels: values copied, holes kept.
    SurfaceDisplay t(Layout::R5G6B5);
    auto image = Target(t, 3, 1, 0x001F);
    auto opaque = t.Memory(3, 1, {0xFFFF0000, 0x00FFFFFF, 0xFF00FF00});
    image->Blit(opaque.get(), 0, 0, Rect(0, 0, 3, 1), Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(Row(*image, 0), (Raw{0xF800, 0x001F, 0x07E0}));
    EXPECT_EQ(opaque->mAlphaRunLengths, nullptr);

    // A volatile source is blended from its own pixels, without native bits.
    struct Case {
        Layout layout;
        uint32_t dest, result;
    } cases[] = {{Layout::R5G6B5, 0x001F, 0x780F}, {Layout::X8R8G8B8, 0x000000FF, 0x007F007F}};
    for (const Case& c : cases) {
        SurfaceDisplay tv(c.layout);
        auto target = Target(tv, 2, 1, c.dest);
        auto source = tv.Memory(2, 1, {0x80FF0000, 0x00000000});
        source->SetChangesOften(true);
        target->Blit(source.get(), 0, 0, Rect(0, 0, 2, 1), Color::White, DRAWMODE_NORMAL);
        EXPECT_EQ(Row(*target, 0), (Raw{c.result, c.dest})) << Name(c.layout);
        EXPECT_EQ(source->mNativeBits, nullptr);
    }
}

TEST(SurfaceDraw, AdditiveBlit)
{
    struct Case {
        Layout layout;
        Color color;
        uint32_t dest, result;
    } cases[] = {
        {Layout::X8R8G8B8, Color::White, 0x00F01010, 0x00FF3040},
        {Layout::X8R8G8B8, Color(128, 128, 128, 255), 0x00F01010, 0x00F82028},
        {Layout::R5G6B5, Color::White, (30u << 11) | (10u << 5) | 5u, 0xFA4B},
    };
    for (const Case& c : cases) {
        SurfaceDisplay t(c.layout);
        auto image = Target(t, 3, 1, c.dest);
        auto src = t.Memory(3, 1, {0xFF102030, 0x00FFFFFF, 0xFF000000});
        image->Blit(src.get(), 0, 0, Rect(0, 0, 3, 1), c.color, DRAWMODE_ADDITIVE);
        // Transparent and black source pixels add nothing.
        EXPECT_EQ(Row(*image, 0), (Raw{c.result, c.dest, c.dest})) << Name(c.layout);
    }
}

// The additive blit adds whole rows on the 8-8-8 and 5-6-5 layouts; the
// mirrored blit of the mirrored source still goes run by run, and must give
// the same bytes. Sources have clear runs, targets start as noise (top bytes
// too), widths cross every vector seam and rows start at any column. Tables
// that do not saturate (set by hand) keep the run-by-run arithmetic.
TEST(SurfaceDraw, AdditiveRowsMatchTheRunByRunBlit)
{
    struct Case {
        Layout layout;
        bool wrappingTables;
    } cases[] = {{Layout::X8R8G8B8, false}, {Layout::R5G6B5, false}, {Layout::R5G6B5, true}, {Layout::R5G5B5, false}};
    std::mt19937 rng(18);
    for (const Case& c : cases) {
        SurfaceDisplay t(c.layout);
        if (c.wrappingTables)
            for (std::vector<int>* table : {&t.display->mRedAddTable, &t.display->mGreenAddTable,
                                            &t.display->mBlueAddTable})
                for (size_t i = 0; i < table->size(); ++i)
                    (*table)[i] = int(i % (table->size() / 2 + 1));
        for (int round = 0; round < 24; ++round) {
            const int w = round < 18 ? round + 1 : 20 + int(rng() % 30), h = 1 + int(rng() % 3);
            const int x = int(rng() % 8), y = int(rng() % 2), tw = x + w + 3, th = y + h + 1;
            std::vector<uint32_t> pixels(size_t(w) * h), flipped(pixels.size());
            for (size_t i = 0; i < pixels.size();) {
                const bool clear = rng() % 3 == 0;
                for (size_t k = 1 + rng() % 6; k > 0 && i < pixels.size(); --k, ++i)
                    pixels[i] = clear ? (rng() % 2 ? rng() & 0x00FFFFFF : rng() & 0xFF000000u) : rng();
            }
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i)
                    flipped[size_t(j) * w + size_t(w - 1 - i)] = pixels[size_t(j) * w + size_t(i)];
            auto rows = Target(t, tw, th, 0), runs = Target(t, tw, th, 0);
            for (int j = 0; j < th; ++j)
                for (int i = 0; i < tw; ++i) {
                    const uint32_t v = c.layout == Layout::X8R8G8B8 ? uint32_t(rng()) : rng() & 0xFFFF;
                    SurfaceDisplay::SetRaw(rows->mSurface, i, j, v);
                    SurfaceDisplay::SetRaw(runs->mSurface, i, j, v);
                }
            auto source = t.Memory(w, h, pixels), mirrored = t.Memory(w, h, flipped);
            rows->Blit(source.get(), x, y, Rect(0, 0, w, h), Color::White, DRAWMODE_ADDITIVE);
            runs->BlitMirrored(mirrored.get(), x, y, Rect(0, 0, w, h), Color::White, DRAWMODE_ADDITIVE);
            for (int j = 0; j < th; ++j)
                ASSERT_EQ(Row(*rows, j), Row(*runs, j))
                    << Name(c.layout) << (c.wrappingTables ? ", wrapping tables" : "") << ", width " << w
                    << ", column " << x << ", row " << j;
        }
    }
}

TEST(SurfaceDraw, MirroredBlitRunsRightToLeft)
{
    SurfaceDisplay t;
    auto src = t.Memory(3, 1, {0xFF000001, 0xFF000002, 0xFF000003});
    auto image = Target(t, 5, 1, 0);
    image->BlitMirrored(src.get(), 1, 0, Rect(0, 0, 3, 1), Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(Row(*image, 0), (Raw{0, 0xFF000003, 0xFF000002, 0xFF000001, 0}));
    // Cut at the left edge: the source's right end is what falls off.
    auto cut = Target(t, 3, 1, 0);
    cut->BlitMirrored(src.get(), -1, 0, Rect(0, 0, 3, 1), Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(Row(*cut, 0), (Raw{0xFF000002, 0xFF000001, 0}));
    auto additive = Target(t, 3, 1, 0x00000010);
    additive->BlitMirrored(src.get(), 0, 0, Rect(0, 0, 2, 1), Color::White, DRAWMODE_ADDITIVE);
    EXPECT_EQ(Row(*additive, 0), (Raw{0x00000012, 0x00000011, 0x00000010}));
}

TEST(SurfaceDraw, AnyOtherSixteenBitLayoutUsesOneChannelAtATime)
{
    SurfaceDisplay t(Layout::R5G6B5);
    // A 4-4-4 surface and a display laid out the same way.
    DDInterface* d = t.display;
    d->SetLayout(16, 0x0F00, 0x00F0, 0x000F);
    d->mRedAddTable = d->mGreenAddTable = d->mBlueAddTable = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                                               15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15};
    plat::DDSurfaceDesc desc;
    desc.flags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT | plat::DDSD_PIXELFORMAT;
    desc.caps = plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_SYSTEMMEMORY;
    desc.width = 3;
    desc.height = 1;
    desc.pixelFormat = {plat::DDPF_RGB, 16, 0x0F00, 0x00F0, 0x000F, 0};
    plat::DDSurface* surface = nullptr;
    ASSERT_EQ(d->CreateSurface(desc, &surface), plat::DD_OK);
    DDImage image(d);
    image.SetSurface(surface);
    surface->Release();
    image.SetAlphaKind(false, false);

    image.FillRect(Rect(0, 0, 1, 1), Color::White, DRAWMODE_NORMAL);
    image.FillRect(Rect(1, 0, 1, 1), Color(255, 255, 255, 128), DRAWMODE_NORMAL);
    SurfaceDisplay::SetRaw(surface, 2, 0, 0x0F00);
    auto src = t.Memory(1, 1, {0x80FFFFFF});
    image.Blit(src.get(), 2, 0, Rect(0, 0, 1, 1), Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(SurfaceDisplay::RawRow(surface, 0, 3), (Raw{0x0FFF, 0x0777, 0x0F88}));
    image.FillRect(Rect(1, 0, 1, 1), Color(255, 0, 0, 255), DRAWMODE_ADDITIVE);
    EXPECT_EQ(SurfaceDisplay::Raw(surface, 1, 0), 0x0F77u);
}

TEST(SurfaceDraw, RoutinesLeaveWhatTheyMayNotTouch)
{
    // The four 16-bit and 32-bit forms, and a 24-bit surface.
    struct Case {
        const char* what;
        int bits;
        uint32_t r, g, b;
    } cases[] = {{"565", 16, 0xF800, 0x07E0, 0x001F},
                 {"555", 16, 0x7C00, 0x03E0, 0x001F},
                 {"444", 16, 0x0F00, 0x00F0, 0x000F},
                 {"32-bit", 32, 0xFF0000, 0x00FF00, 0x0000FF},
                 {"24-bit", 24, 0xFF0000, 0x00FF00, 0x0000FF}};
    const uint32_t fill = 0x00001234;
    for (const Case& c : cases) {
        SurfaceDisplay t(c.bits == 16 ? Layout::R5G6B5 : Layout::X8R8G8B8);
        if (c.bits == 16)
            t.display->SetLayout(16, c.r, c.g, c.b);
        plat::DDSurfaceDesc desc;
        desc.flags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT | plat::DDSD_PIXELFORMAT;
        desc.caps = plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_SYSTEMMEMORY;
        desc.width = 4;
        desc.height = 4;
        desc.pixelFormat = {plat::DDPF_RGB, uint32_t(c.bits), c.r, c.g, c.b, 0};
        plat::DDSurface* surface = nullptr;
        ASSERT_EQ(t.display->mDD->CreateSurface(desc, &surface), plat::DD_OK);
        plat::DDBltFx fx;
        fx.fillColor = fill;
        surface->Blt(nullptr, nullptr, nullptr, plat::DDBLT_COLORFILL, &fx);
        auto unchanged = [&] {
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x)
                    if (surface->PixelARGB(x, y) != surface->PixelARGB(0, 0))
                        return false;
            return true;
        };
        DDImage image(t.display);
        image.SetSurface(surface);
        image.SetAlphaKind(false, false);
        auto transparent = t.Memory(2, 2, {0, 0, 0x00FFFFFF, 0});
        auto opaque = t.Memory(2, 2, std::vector<uint32_t>(4, 0xFFFF00FF));
        PlainImage plain;
        const Rect r(0, 0, 2, 2);
        // Sources with nothing to show, on any surface.
        for (int mode : {DRAWMODE_NORMAL, DRAWMODE_ADDITIVE}) {
            image.Blit(transparent.get(), 1, 1, r, Color::White, mode);
            image.BlitMirrored(transparent.get(), 1, 1, r, Color(10, 20, 30, 200), mode);
            image.Blit(&plain, 1, 1, r, Color::White, mode);
            image.BlitMirrored(&plain, 1, 1, r, Color::White, mode);
        }
        EXPECT_TRUE(unchanged()) << c.what;
        // A surface the CPU must not touch: every software routine returns.
        image.mSurfaceOnly = true;
        image.FillRect(r, Color::White, DRAWMODE_NORMAL);
        image.FillRect(r, Color::White, DRAWMODE_ADDITIVE);
        image.DrawLine(0.0, 0.0, 3.0, 2.0, Color::White, DRAWMODE_NORMAL);
        image.Blit(opaque.get(), 0, 0, r, Color::White, DRAWMODE_NORMAL);
        image.Blit(opaque.get(), 0, 0, r, Color(1, 2, 3, 4), DRAWMODE_ADDITIVE);
        image.BlitMirrored(opaque.get(), 0, 0, r, Color::White, DRAWMODE_NORMAL);
        image.BlitStretched(opaque.get(), Rect(0, 0, 4, 4), r, Rect(0, 0, 4, 4), Color::White, DRAWMODE_NORMAL,
                            true);
        EXPECT_TRUE(unchanged()) << c.what << " surface only";
        image.mSurfaceOnly = false;
        if (c.bits == 24) {
            image.FillRect(r, Color::White, DRAWMODE_NORMAL);
            image.Blit(opaque.get(), 0, 0, r, Color::White, DRAWMODE_NORMAL);
            EXPECT_TRUE(unchanged()) << "24-bit";
        }
        surface->Release();
    }
}

TEST(SurfaceDraw, WholeRowFormsMatchTheChannelFormulas)
{
    // Random pixels through the 32-bit row forms, against the formulas
    // applied one channel at a time. Alpha comes in runs (transparent,
    // opaque, any), so whole groups of transparent or opaque pixels occur.
    SurfaceDisplay t;
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 8;
    };
    const int w = 37, h = 5;
    std::vector<uint32_t> srcPixels(size_t(w) * h), destRaw(size_t(w) * h);
    for (size_t i = 0; i < srcPixels.size();) {
        const uint32_t pick = next() % 4, run = 1 + next() % 9;
        for (uint32_t k = 0; k < run && i < srcPixels.size(); ++k, ++i) {
            const uint32_t alpha = pick == 0 ? 0 : pick == 1 ? 255 : next() & 0xFF;
            srcPixels[i] = alpha << 24 | (next() & 0xFFFFFF);
            destRaw[i] = next();
        }
    }
    const uint32_t M[3] = {0xFF0000, 0xFF00, 0xFF};
    auto prepare = [&] {
        auto image = t.Surface(w, h, 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                SurfaceDisplay::SetRaw(image->mSurface, x, y, destRaw[size_t(y * w + x)]);
        return image;
    };
    auto src = t.Memory(w, h, srcPixels);
    const uint32_t* native = src->GetNativeBits(t.display);

    auto normal = prepare();
    normal->Blit(src.get(), 0, 0, Rect(0, 0, w, h), Color::White, DRAWMODE_NORMAL);
    auto additive = prepare();
    additive->Blit(src.get(), 0, 0, Rect(0, 0, w, h), Color::White, DRAWMODE_ADDITIVE);
    auto stretched = prepare();
    stretched->BlitStretched(src.get(), Rect(0, 0, w, h), Rect(0, 0, w, h), Rect(0, 0, w, h), Color::White,
                             DRAWMODE_NORMAL, true);
    auto mirrored = prepare();
    mirrored->BlitStretchedMirrored(src.get(), Rect(0, 0, w, h), Rect(0, 0, w, h), Rect(0, 0, w, h), Color::White,
                                    DRAWMODE_NORMAL, true);
    auto filled = prepare();
    filled->FillRect(Rect(0, 0, w, h), Color(200, 100, 50, 77), DRAWMODE_NORMAL);
    const uint32_t fillColor[3] = {200, 100, 50};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y * w + x);
            const uint32_t d = destRaw[i], n = native[i], a = n >> 24;
            uint32_t over = n, add = 0, fill = 0;
            for (int c = 0; c < 3; ++c) {
                over += (((d & M[c]) * (256 - a)) >> 8) & M[c];
                const uint32_t shift = 16 - 8 * c;
                add |= std::min<uint32_t>(((d & M[c]) >> shift) + ((n & M[c]) >> shift), 255) << shift;
                fill += (((((fillColor[c] * 77) + 127) >> 8) + 1) * M[c] >> 8) & M[c];
                fill += (((d & M[c]) * (256 - 77)) >> 8) & M[c];
            }
            const uint32_t expectNormal = a == 0 ? d : a == 255 ? n : over;
            EXPECT_EQ(SurfaceDisplay::Raw(normal->mSurface, x, y), expectNormal) << x << "," << y;
            EXPECT_EQ(SurfaceDisplay::Raw(stretched->mSurface, x, y), a == 0 ? d : over) << x << "," << y;
            // The mirrored stretch puts this source pixel at w - 1 - x.
            const uint32_t dm = destRaw[size_t(y * w + w - 1 - x)];
            uint32_t overMirrored = n;
            for (int c = 0; c < 3; ++c)
                overMirrored += (((dm & M[c]) * (256 - a)) >> 8) & M[c];
            EXPECT_EQ(SurfaceDisplay::Raw(mirrored->mSurface, w - 1 - x, y), a == 0 ? dm : overMirrored)
                << x << "," << y;
            EXPECT_EQ(SurfaceDisplay::Raw(additive->mSurface, x, y), (n & 0xFFFFFF) ? add : d) << x << "," << y;
            EXPECT_EQ(SurfaceDisplay::Raw(filled->mSurface, x, y), fill) << x << "," << y;
        }
    }
}

namespace {

// Every drawing routine that takes a colour, on one image.
void DrawWithColour(Image& image, Image& source, const Color& c)
{
    const uint8_t coverage[4] = {255, 128, 64, 1};
    const Span spans[] = {{3, 0, 4}}; // row 3, columns 0..3
    for (int mode : {DRAWMODE_NORMAL, DRAWMODE_ADDITIVE}) {
        image.FillRect(Rect(0, 0, 6, 1), c, mode);
        image.Blit(&source, 0, 1, Rect(0, 0, 6, 1), c, mode);
        image.DrawLine(0.0, 2.0, 5.0, 4.5, c, mode);
    }
    image.DrawAntiAliasedLine(0.5, 2.0, 5.5, 4.0, c, DRAWMODE_NORMAL);
    image.FillCoverageSpans(spans, 1, c, DRAWMODE_NORMAL, coverage, 0, 3, 4, 1);
}

// The pixels of an image as both paths keep them: a surface's raw values or
// the memory words.
std::vector<uint32_t> Contents(Image& image, bool surface)
{
    if (surface) {
        std::vector<uint32_t> out;
        for (int y = 0; y < image.mHeight; ++y)
            for (uint32_t v : SurfaceDisplay::RawRow(static_cast<DDImage&>(image).GetSurface(), y, image.mWidth))
                out.push_back(v & 0xFFFFFF); // the top byte of a 32-bit surface is no channel
        return out;
    }
    uint32_t* bits = static_cast<MemoryImage&>(image).GetBits();
    return std::vector<uint32_t>(bits, bits + image.mWidth * image.mHeight);
}

} // namespace

// Channels outside 0..255 never index past a table: memory images draw them
// as their low 8 bits, as surfaces do, so both paths agree with the colour
// whose channels are cut to 8 bits.
TEST(SurfaceDraw, OutOfRangeColoursDrawAsTheirLowEightBitsOnBothPaths)
{
    const Color colours[] = {Color(300, 300, 300, 255), Color(10, 20, 30, -1), Color(-5, 256, 511, 128),
                             Color(255, 255, 255, 300), Color(INT_MIN, INT_MAX, -256, 1000)};
    std::vector<uint32_t> sourcePixels = {0xFF102030, 0x80FFFFFF, 0x00FFFFFF, 0xFFFFFFFF, 0x40806040, 0xFF000000};
    for (bool surface : {false, true}) {
        for (const Color& c : colours) {
            SCOPED_TRACE(std::string(surface ? "surface " : "memory ") + std::to_string(c.mRed) + "," +
                         std::to_string(c.mGreen) + "," + std::to_string(c.mBlue) + "," + std::to_string(c.mAlpha));
            SurfaceDisplay t;
            std::vector<uint32_t> start(36, 0xFF204060);
            std::unique_ptr<Image> hostile, masked;
            if (surface) {
                hostile = t.Surface(6, 6, 0x00204060);
                masked = t.Surface(6, 6, 0x00204060);
            } else {
                hostile = t.Memory(6, 6, start);
                masked = t.Memory(6, 6, start);
            }
            auto source = t.Memory(6, 1, sourcePixels);
            DrawWithColour(*hostile, *source, c);
            DrawWithColour(*masked, *source, c.Masked());
            EXPECT_EQ(Contents(*hostile, surface), Contents(*masked, surface));
        }
    }
}

// Positions and sizes at the ends of the int range neither wrap nor reach
// outside the images; what lies inside is drawn as usual.
TEST(SurfaceDraw, ExtremeRectanglesStayInsideOnBothPaths)
{
    struct Case {
        const char* what;
        int x, y;
        Rect src;
        int drawnAt; // column of the one source pixel that lands, -1: none
    } cases[] = {
        {"source at INT_MIN", 0, 0, Rect(INT_MIN, 0, INT_MAX, 1), -1},
        {"destination at INT_MIN", INT_MIN, 0, Rect(0, 0, 4, 1), -1},
        {"both at INT_MIN", INT_MIN, 0, Rect(INT_MIN, 0, 4, 1), -1},
        {"destination far right", 2000000000, 0, Rect(0, 0, 2000000000, 1), -1},
        {"source far right", 0, 0, Rect(2000000000, 0, 2000000000, 1), -1},
        {"huge source ending inside", -3, 0, Rect(-2000000000, 0, INT_MAX, 1), -1},
        {"source starting left of the image", 2, 0, Rect(-1, 0, 2, 1), 3},
        {"destination at INT_MAX", INT_MAX, 0, Rect(0, 0, INT_MAX, 1), -1},
    };
    for (bool surface : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(surface ? "surface " : "memory ") + c.what);
            SurfaceDisplay t;
            std::unique_ptr<Image> image;
            if (surface)
                image = t.Surface(6, 2, 0);
            else
                image = t.Memory(6, 2, std::vector<uint32_t>(12, 0xFF000000));
            auto source = t.Memory(1, 1, {0xFFFFFFFF});
            image->Blit(source.get(), c.x, c.y, c.src, Color::White, DRAWMODE_NORMAL);
            std::vector<uint32_t> pixels = Contents(*image, surface);
            for (int x = 0; x < 6; ++x) {
                uint32_t background = surface ? 0u : 0xFF000000u;
                EXPECT_EQ(pixels[size_t(x)] != background, x == c.drawnAt) << x;
                EXPECT_EQ(pixels[size_t(6 + x)], background) << x;
            }
        }
    }
}

// The 16-bit spread forms against the three channels taken one at a time:
// a seeded table of random pixel pairs and weights, each checked for the
// round trip, the scaling by a 5-bit weight and the blend of two pixels.
TEST(SurfaceDraw, SpreadFormsMatchTheChannelFormulasOnRandomPixels)
{
    struct Form {
        const char* name;
        uint32_t (*spread)(uint32_t);
        uint32_t k;
        int shift[3], bits[3];
    } forms[] = {
        {"565", Surface::Spread565, Surface::K565, {11, 5, 0}, {5, 6, 5}},
        {"555", Surface::Spread555, Surface::K555, {10, 5, 0}, {5, 5, 5}},
    };
    struct Pick {
        uint32_t s, d, w;
    };
    std::mt19937 rng(1717);
    std::vector<Pick> picks;
    for (uint32_t w : {0u, 7u, 8u, 128u, 255u, 256u})
        picks.push_back({0xFFFF, 0xFFFF, w}); // every channel at its top
    for (int i = 0; i < 2000; ++i)
        picks.push_back({uint32_t(rng() & 0xFFFF), uint32_t(rng() & 0xFFFF), uint32_t(rng() % 257)});

    for (const Form& f : forms) {
        SCOPED_TRACE(f.name);
        const uint32_t used = f.bits[1] == 6 ? 0xFFFF : 0x7FFF;
        // channel i of p, and a pixel rebuilt from three channels
        auto channel = [&f](uint32_t p, int i) { return (p >> f.shift[i]) & ((1u << f.bits[i]) - 1); };
        auto scaled = [&](uint32_t p, uint32_t k) {
            uint32_t out = 0;
            for (int i = 0; i < 3; ++i)
                out |= ((channel(p, i) * k) >> 5) << f.shift[i];
            return out;
        };
        for (const Pick& p : picks) {
            const uint32_t ks = p.w >> 3, kd = (256 - p.w) >> 3;
            EXPECT_EQ(Surface::Fold(f.spread(p.s)), p.s & used) << std::hex << p.s;
            EXPECT_EQ(Surface::Fold(((f.spread(p.d) * kd) >> 5) & f.k), scaled(p.d, kd))
                << std::hex << p.d << " weight " << std::dec << p.w;
            uint32_t expected = 0;
            for (int i = 0; i < 3; ++i)
                expected |= (((channel(p.s, i) * ks) >> 5) + ((channel(p.d, i) * kd) >> 5)) << f.shift[i];
            const uint32_t blend =
                Surface::Fold((((f.spread(p.s) * ks) >> 5) & f.k) + (((f.spread(p.d) * kd) >> 5) & f.k));
            EXPECT_EQ(blend, expected) << std::hex << p.s << " over " << p.d << " weight " << std::dec << p.w;
        }
    }
}
