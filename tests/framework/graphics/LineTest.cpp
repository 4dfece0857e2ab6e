#include "GraphicsFixtures.h"

#include <gtest/gtest.h>

using namespace Zelk;
using namespace Zelk::test;

namespace {

// The pixels that differ from the background, as (x, y) pairs.
std::vector<std::pair<int, int>> Changed(MemoryImage& image, uint32_t background)
{
    std::vector<std::pair<int, int>> out;
    const uint32_t* bits = image.GetBits();
    for (int y = 0; y < image.mHeight; ++y)
        for (int x = 0; x < image.mWidth; ++x)
            if (bits[y * image.mWidth + x] != background)
                out.push_back({x, y});
    return out;
}

using Pts = std::vector<std::pair<int, int>>;

} // namespace

TEST(Line, Walks)
{
    struct {
        double x1, y1, x2, y2;
        Pts want;
    } cases[] = {
        {2, 5, 9, 5, {{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}, {9, 5}}}, // horizontal: a fill
        {1, 3, 1, 1, {{1, 1}, {1, 2}, {1, 3}}},                                         // vertical: a fill
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {3, 3, 0, 0, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {0, 0, 6, 2, {{0, 0}, {1, 0}, {2, 1}, {5, 2}, {3, 1}, {4, 1}, {6, 2}}},
    };
    for (auto& c : cases) {
        auto image = MakeFilled(10, 10, 0xFF000000);
        image->DrawLine(c.x1, c.y1, c.x2, c.y2, Color::White, DRAWMODE_NORMAL);
        Pts want = c.want;
        std::sort(want.begin(), want.end(), [](auto& a, auto& b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
        EXPECT_EQ(Changed(*image, 0xFF000000), want) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    }
}

TEST(Line, Colours)
{
    struct {
        Color color;
        int mode;
        uint32_t dest, want;
    } cases[] = {
        {Color::White, DRAWMODE_NORMAL, 0xFF000000, 0xFFFEFEFE},           // 255 is written as 254
        {Color(200, 100, 0), DRAWMODE_ADDITIVE, 0xFF808080, 0xFFFFE480},   // saturated add
        {Color(255, 0, 0, 128), DRAWMODE_NORMAL, 0x00000000, 0xFF7F0000},  // translucent: opaque result
        {Color(255, 0, 0, 128), DRAWMODE_NORMAL, 0xFF0000FF, 0xFF7F007F},
    };
    for (auto& c : cases) {
        auto image = MakeFilled(4, 4, c.dest);
        image->DrawLine(0, 0, 2, 1, c.color, c.mode);
        EXPECT_EQ(image->GetBits()[0], c.want) << std::hex << c.want;
    }
}

TEST(AntiAliasedLine, StaysInsideAndCountsChanges)
{
    auto image = MakeFilled(10, 10, 0);
    int count = image->mChangeCount;
    image->DrawAntiAliasedLine(0.5, 0.5, 7.5, 3.5, Color::White, DRAWMODE_ADDITIVE);
    EXPECT_EQ(Changed(*image, 0), Pts{});
    EXPECT_EQ(image->mChangeCount, count + 1);

    // Stepping left down to column 0: the neighbour at x = -1 is not written.
    image->DrawAntiAliasedLine(5.0, 0.0, 0.0, 9.0, Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(image->GetBits()[100], kPixelGuard);
    EXPECT_NE(image->GetBits()[9 * 10 + 0], 0u);

    // End points that truncate to one pixel: only that pixel.
    auto dot = MakeFilled(4, 4, 0);
    dot->DrawAntiAliasedLine(1.2, 1.3, 1.7, 1.9, Color::White, DRAWMODE_NORMAL);
    EXPECT_EQ(Changed(*dot, 0), (Pts{{1, 1}}));

    // A coverage split between a pixel and its neighbour.
    auto line = MakeFilled(8, 4, 0);
    line->DrawAntiAliasedLine(0.0, 0.0, 4.0, 2.0, Color::White, DRAWMODE_NORMAL);
    const uint32_t* p = line->GetBits();
    EXPECT_EQ(p[0], 0xFFFEFEFEu);
    EXPECT_EQ(p[1] >> 24, 0x7Fu);     // (1, 0): 255 - 128
    EXPECT_EQ(p[8 + 1] >> 24, 0x80u); // and its neighbour below: 128
}

TEST(CoverageSpans, WeightByCoverage)
{
    auto image = MakeFilled(4, 2, 0xFF000000);
    const uint8_t coverage[8] = {255, 127, 0, 255, 0, 0, 0, 0};
    Span spans[1] = {{0, 1, 3}};
    image->FillCoverageSpans(spans, 1, Color(255, 255, 255), DRAWMODE_NORMAL, coverage, 0, 0, 4, 2);
    // Index (y - 0) x 4 - 0 + x: pixels 1..3 read coverage 127, 0, 255;
    // coverage 127 gives a = 255 x 128 >> 8 = 127.
    EXPECT_EQ(Pixels(*image), (std::vector<uint32_t>{0xFF000000, 0xFF7E7E7E, 0xFF000000, 0xFFFEFEFE, 0xFF000000,
                                                     0xFF000000, 0xFF000000, 0xFF000000}));
    image->FillSpans(spans, 1, Color(1, 2, 3), DRAWMODE_NORMAL);
    EXPECT_EQ(image->GetBits()[1], 0xFF010203u);
}
