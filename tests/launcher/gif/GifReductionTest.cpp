#include "launcher/gif/DitherFactory.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/Palettes.h"
#include "launcher/gif/ReduceBitmapColors.h"
#include "launcher/gif/TColorQuantizer.h"
#include "launcher/gif/TDIBWriter.h"
#include "launcher/gif/TFastColorLookup.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGrayScaleLookup.h"
#include "launcher/gif/TMonochromeLookup.h"
#include "launcher/gif/TNetscapeColorLookup.h"
#include "launcher/gif/TSlowColorLookup.h"
#include <gtest/gtest.h>
#include <map>

using namespace GIFImage;

namespace {

Bitmap Uniform(int w, int h, TGIFColor c)
{
    Bitmap b(w, h, pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixelColor(x, y, c);
    return b;
}

std::map<int, int> Histogram(const Bitmap& b)
{
    std::map<int, int> counts;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            ++counts[b.PixelIndex(x, y)];
    return counts;
}

Palette Of(std::initializer_list<TGIFColor> colours)
{
    Palette p;
    for (TGIFColor c : colours)
        p.Add(c);
    return p;
}

const TDitherMode kAllModes[] = {TDitherMode::dmNearest, TDitherMode::dmFloydSteinberg, TDitherMode::dmStucki,
    TDitherMode::dmSierra, TDitherMode::dmJaJuNI, TDitherMode::dmSteveArche, TDitherMode::dmBurkes};

} // namespace

TEST(GifReduction, LookupsAnswerTheirEntries)
{
    TNetscapeColorLookup web;
    TGrayScaleLookup grey;
    TMonochromeLookup mono;
    struct Case {
        TColorLookup* lookup;
        TGIFColor in;
        int index, out;
    } cases[] = {
        {&web, {128, 128, 128}, 86, 102},
        {&web, {150, 150, 150}, 129, 153},
        {&web, {255, 255, 255}, 215, 255},
        {&grey, {255, 0, 0}, 76, 76},
        {&mono, {127, 127, 127}, 0, 0},
        {&mono, {128, 128, 128}, 1, 255},
    };
    for (const Case& c : cases) {
        int r, g, b;
        EXPECT_EQ(c.lookup->Lookup(c.in.Red, c.in.Green, c.in.Blue, r, g, b), c.index) << int(c.in.Red);
        EXPECT_EQ(r, c.out);
        EXPECT_EQ(b, c.out);
    }
}

TEST(GifReduction, FastLookupFirstClaimsItsCellAndSearchesBySum)
{
    TFastColorLookup fast(Of({{8, 8, 8}, {9, 9, 9}, {100, 0, 0}, {0, 100, 0}}));
    int r, g, b;
    EXPECT_EQ(fast.Lookup(9, 9, 9, r, g, b), 0) << "both entries share a cell; the first claimed it";
    EXPECT_EQ(fast.Lookup(10, 90, 0, r, g, b), 3);
    TFastColorLookup tie(Of({{100, 0, 0}, {0, 100, 0}}));
    EXPECT_EQ(tie.Lookup(50, 50, 0, r, g, b), 0) << "equal sums: the first wins";
    TSlowColorLookup slow(Of({{0, 0, 0}, {60, 60, 60}, {60, 60, 60}}));
    EXPECT_EQ(slow.Lookup(50, 50, 50, r, g, b), 1);
}

TEST(GifReduction, FloydSteinbergMixesTheTwoNearestWebGreys)
{
    Bitmap grey = Uniform(64, 64, {128, 128, 128});
    auto dithered = Histogram(ReduceBitmapColors(grey, TColorReduction::rmNetscape, TDitherMode::dmFloydSteinberg, {}, 8));
    ASSERT_EQ(dithered.size(), 2u);
    int a = dithered[86], b = dithered[129];
    EXPECT_EQ(a + b, 64 * 64);
    EXPECT_LE(std::abs(a - b), 64 * 64 / 20);
    auto nearest = Histogram(ReduceBitmapColors(grey, TColorReduction::rmNetscape, TDitherMode::dmNearest, {}, 8));
    EXPECT_EQ(nearest, (std::map<int, int>{{86, 64 * 64}}));
}

TEST(GifReduction, EveryDithererKeepsTheMeanAndItsBounds)
{
    for (TDitherMode mode : kAllModes) {
        SCOPED_TRACE(int(mode));
        for (int width = 1; width <= 8; ++width)
            ReduceBitmapColors(Uniform(width, 5, {100, 100, 100}), TColorReduction::rmMonochrome, mode, {}, 8);
        if (mode == TDitherMode::dmNearest)
            continue;
        for (int level : {64, 100, 128}) {
            Bitmap out = ReduceBitmapColors(Uniform(64, 64, {uint8_t(level), uint8_t(level), uint8_t(level)}),
                TColorReduction::rmMonochrome, mode, {}, 8);
            double mean = Histogram(out)[1] * 255.0 / (64 * 64);
            EXPECT_NEAR(mean, level, 255 * 0.02) << level;
        }
    }
}

TEST(GifReduction, RowsAreVisitedInSerpentineOrder)
{
    struct Recording : TColorLookup {
        std::vector<int> seen;
        Recording() : TColorLookup(1) {}
        int Lookup(int red, int, int, int& r, int& g, int& b) override
        {
            seen.push_back(red);
            r = g = b = 0;
            return 0;
        }
    } recording;
    auto engine = CreateDitherer(TDitherMode::dmNearest, 3, &recording);
    int r, g, b;
    for (int row = 0; row < 2; ++row) {
        for (int n = 0; n < 3; ++n)
            engine->Dither(engine->Column(), 0, 0, r, g, b);
        engine->NextLine();
    }
    EXPECT_EQ(recording.seen, (std::vector<int>{0, 1, 2, 2, 1, 0}));
}

TEST(GifReduction, GreyRampMapsToItsOwnIndices)
{
    Bitmap ramp(256, 1, pf24bit);
    for (int x = 0; x < 256; ++x)
        ramp.SetPixelColor(x, 0, TGIFColor{uint8_t(x), uint8_t(x), uint8_t(x)});
    Bitmap out = ReduceBitmapColors(ramp, TColorReduction::rmGrayScale, TDitherMode::dmNearest, {}, 8);
    for (int x = 0; x < 256; ++x)
        EXPECT_EQ(out.PixelIndex(x, 0), x);
}

TEST(GifReduction, OctreeKeepsFewColoursAndStaysWithinItsLimit)
{
    TColorQuantizer five(8, 8);
    const TGIFColor colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}, {200, 200, 200}};
    for (TGIFColor c : colours)
        five.AddColor(c);
    EXPECT_EQ(five.ColorCount(), 5);
    std::vector<TGIFColor> table = five.GetColorTable();
    for (TGIFColor c : colours)
        EXPECT_NE(std::find(table.begin(), table.end(), c), table.end());

    TColorQuantizer limited(16, 8);
    for (int i = 0; i < 300; ++i) {
        limited.AddColor(TGIFColor{uint8_t(i * 37), uint8_t(i * 11), uint8_t(i)});
        ASSERT_LE(limited.ColorCount(), 16);
    }
    EXPECT_EQ(int(limited.GetColorTable().size()), limited.ColorCount());
    EXPECT_THROW(TColorQuantizer(8, 9), GIFException);
}

TEST(GifReduction, SettingsAndWriterErrors)
{
    TGIFImage image;
    for (int bits : {2, 9})
        EXPECT_THROW(image.SetReductionBits(bits), GIFException);
    image.SetReductionBits(3);
    EXPECT_EQ(image.ReductionBits(), 3);
    Bitmap target;
    EXPECT_THROW(TDIBWriter(target, pf16bit, 2, 2, {}), GIFException);
    EXPECT_THROW(TDIBWriter(target, pf8bit, 0, 2, {}), GIFException);
    TDIBWriter writer(target, pf8bit, 2, 2, Palettes::Gray4());
    EXPECT_THROW(writer.ScanLine(-1), GraphicError);
    EXPECT_THROW(writer.ScanLine(2), GraphicError);
    writer.ScanLine(1)[1] = 3;
    EXPECT_EQ(target.PixelColor(1, 1).Red, 255);
}

TEST(GifReduction, QuantizeKeepsAFewColoursExactly)
{
    Bitmap picture(4, 1, pf24bit);
    const TGIFColor colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {17, 34, 51}};
    for (int x = 0; x < 4; ++x)
        picture.SetPixelColor(x, 0, colours[x]);
    Bitmap out = ReduceBitmapColors(picture, TColorReduction::rmQuantize, TDitherMode::dmNearest, {}, 3);
    ASSERT_EQ(out.GetPalette().Count(), 8);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(out.PixelColor(x, 0), colours[x]);
}
