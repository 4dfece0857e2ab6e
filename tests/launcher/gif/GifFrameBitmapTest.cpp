#include "launcher/gif/GIFException.h"
#include "launcher/gif/ScreenIsPaletted.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"
#include "tests/launcher/gif/GifBytes.h"
#include <gtest/gtest.h>
#include <set>

using namespace GIFImage;

namespace {

// A 64 x 64 frame of grey 128 (index 1), with white (index 2) transparent
// at its top-left pixel.
struct GreyFrame {
    TGIFImage image;
    TGIFSubImage* frame;
    std::vector<std::string> progress;

    explicit GreyFrame(unsigned options)
    {
        image.SetDrawOptions(options);
        image.GlobalColorMap().Add(TGIFColor{0, 0, 0});
        image.GlobalColorMap().Add(TGIFColor{128, 128, 128});
        image.GlobalColorMap().Add(TGIFColor{255, 255, 255});
        frame = image.Images().SubImage(image.Add(std::make_unique<TGIFSubImage>(&image)));
        frame->SetBounds(0, 0, 64, 64);
        std::vector<uint8_t> pixels(64 * 64, 1);
        pixels[0] = 2;
        frame->SetData(pixels);
        auto gce = std::make_unique<TGIFGraphicControlExtension>(frame);
        gce->SetTransparentColorIndexRaw(2);
        gce->SetTransparent(true);
        frame->Extensions().Add(std::move(gce));
        image.OnProgress = [this](const void*, TProgressStage stage, int percent, bool, const std::string& m) {
            progress.push_back(m + " " + std::to_string(int(stage)) + " " + std::to_string(percent));
        };
    }
};

struct PalettedScreen {
    explicit PalettedScreen(bool value) { SetScreenIsPaletted(value); }
    ~PalettedScreen() { SetScreenIsPaletted(false); }
};

} // namespace

TEST(GifFrameBitmap, DitheredOverTheWebColoursOnlyWhenTheOptionsAndScreenAsk)
{
    struct Case {
        const char* name;
        unsigned options;
        bool paletted;
        bool dithered;
    } cases[] = {
        {"auto dither, true-colour screen", kDefaultDrawOptions, false, false},
        {"auto dither, paletted screen", kDefaultDrawOptions, true, true},
        {"dither always", kDefaultDrawOptions & ~goAutoDither, false, true},
        {"no dither, paletted screen", kDefaultDrawOptions & ~goDither, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PalettedScreen screen(c.paletted);
        GreyFrame g(c.options);
        EXPECT_EQ(g.image.Dithers(), c.dithered);
        const Bitmap& b = g.frame->GetBitmap();
        ASSERT_EQ(b.PixelFormat(), pf8bit);
        std::set<int> values;
        int high = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (x || y) {
                    values.insert(b.PixelIndex(x, y));
                    high += b.PixelIndex(x, y) == 129;
                }
        if (c.dithered) {
            EXPECT_EQ(b.GetPalette().Count(), 216);
            EXPECT_EQ(values, (std::set<int>{86, 129}));
            // Grey 128 lies nearly halfway between 102 and 153.
            EXPECT_NEAR(high, 4095 / 2, 4095 / 20);
            EXPECT_EQ(b.PixelIndex(0, 0), 215) << "the transparent pixel keeps white's web index";
        } else {
            EXPECT_EQ(b.GetPalette().Count(), 3);
            EXPECT_EQ(values, (std::set<int>{1}));
            EXPECT_EQ(b.PixelIndex(0, 0), 2);
        }
        ASSERT_TRUE(b.Transparent);
        ASSERT_EQ(b.Mask.size(), size_t(64 * 64));
        EXPECT_EQ(std::count(b.Mask.begin(), b.Mask.end(), 1), 1);
        EXPECT_EQ(b.Mask[0], 1);
    }
}

TEST(GifFrameBitmap, BuiltOnceWithProgressAndAgainAfterAChange)
{
    GreyFrame g(kDefaultDrawOptions);
    EXPECT_FALSE(g.frame->HasBitmap());
    g.frame->GetBitmap();
    g.frame->GetBitmap();
    EXPECT_EQ(g.progress, (std::vector<std::string>{"Rendering... 0 0", "Rendering... 1 50", "Rendering... 1 100",
                              "Rendering... 2 100"}));
    // New pixels, a new table entry or new options build it again.
    std::vector<uint8_t> pixels(64 * 64, 0);
    g.frame->SetData(pixels);
    EXPECT_FALSE(g.frame->HasBitmap());
    EXPECT_EQ(g.frame->GetBitmap().PixelIndex(5, 5), 0);
    g.image.GlobalColorMap().SetColorAt(0, TGIFColor{1, 2, 3});
    EXPECT_FALSE(g.frame->HasBitmap());
    Bitmap canvas(64, 64, pf32bit);
    g.image.Draw(canvas, TRect{0, 0, 64, 64});
    EXPECT_EQ(canvas.PixelColor(5, 5), (TGIFColor{1, 2, 3}));
    g.image.SetDrawOptions(kDefaultDrawOptions & ~goAutoDither);
    EXPECT_FALSE(g.frame->HasBitmap());
}

TEST(GifFrameBitmap, DrawingADitheredFrameShowsWebColoursAndLeavesTheTransparentPixel)
{
    GreyFrame g(kDefaultDrawOptions & ~goAutoDither);
    Bitmap canvas(64, 64, pf32bit);
    canvas.FillRect(TRect{0, 0, 64, 64}, TGIFColor{9, 9, 9});
    g.image.Draw(canvas, TRect{0, 0, 64, 64});
    EXPECT_EQ(canvas.PixelColor(0, 0), (TGIFColor{9, 9, 9}));
    std::set<int> greys;
    for (int x = 1; x < 64; ++x)
        greys.insert(canvas.PixelColor(x, 10).Red);
    EXPECT_EQ(greys, (std::set<int>{102, 153}));
}

TEST(GifFrameBitmap, PalettesComeFromTheTablesTheWebOrNowhere)
{
    {
        GreyFrame g(kDefaultDrawOptions);
        std::shared_ptr<const Palette> p = g.image.GetPalette();
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(p->Count(), 3);
        EXPECT_EQ(p->Entries[1], (TGIFColor{128, 128, 128}));
        EXPECT_EQ(p->Flags, std::vector<uint8_t>(3, Palette::kNoCollapse));
        EXPECT_EQ(g.frame->GetPalette()->Count(), 3) << "no table of its own: the image's";
    }
    {
        GreyFrame g(kDefaultDrawOptions & ~goAutoDither);
        EXPECT_EQ(g.image.GetPalette()->Count(), 216);
        EXPECT_EQ(g.frame->GetPalette()->Count(), 216);
    }
    {
        TGIFImage empty;
        EXPECT_EQ(empty.GetPalette(), nullptr);
    }
    {
        // Neither the image nor frame 0 has a table: the frame asks the image again.
        GreyFrame g(kDefaultDrawOptions);
        g.image.GlobalColorMap().Clear();
        try {
            g.image.GetPalette();
            ADD_FAILURE() << "no error";
        } catch (const GIFException& e) {
            EXPECT_EQ(std::string(e.what()), "No global or local color table defined");
        }
        g.frame->ColorMap().Add(TGIFColor{4, 5, 6});
        EXPECT_EQ(g.image.GetPalette()->Entries.at(0), (TGIFColor{4, 5, 6})) << "not left inside after the error";
    }
}

// A 45-byte file may give its logical screen 65535 x 65535 pixels over two
// 1 x 1 frames: the off-screen bitmap of an animated draw is held to the
// unit's frame limit and the draw fails with the unit's error.
TEST(GifFrameBitmap, TheScreenBitmapKeepsToTheFrameLimit)
{
    struct {
        const char* what;
        int width, height;
        uint64_t frameLimit; // 0: the unit's own
        const char* error;
    } cases[] = {
        {"a screen of 65535 x 65535", 65535, 65535, 0, "Invalid image dimensions"},
        {"a screen above a lowered limit", 2048, 2048, 1 << 20, "Invalid image dimensions"},
        {"a screen within it", 1024, 1024, 1 << 20, ""},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string pixel = giftest::PackCodes({{4, 3}, {1, 3}, {5, 3}});
        giftest::Bytes b;
        b.Raw("GIF89a").Screen(c.width, c.height, 1);
        for (int i = 0; i < 2; ++i)
            b.Descriptor(i, 0, 1, 1).U8(2).SubBlocks(pixel);
        b.Raw(";");
        TGIFImage image;
        if (c.frameLimit)
            image.SetPixelLimits(c.frameLimit, c.frameLimit);
        ASSERT_EQ(giftest::Load(image, b.s).error, "");
        ASSERT_EQ(image.Width(), c.width);
        Bitmap canvas(4, 4, pf32bit);
        EXPECT_EQ(giftest::ErrorOf([&] { image.Draw(canvas, TRect{0, 0, 4, 4}); }), c.error);
        EXPECT_EQ(giftest::ErrorOf([&] { image.GetBitmap(); }), c.error);
        EXPECT_EQ(image.HasBitmap(), !*c.error);
        image.PaintStop();
    }
}
