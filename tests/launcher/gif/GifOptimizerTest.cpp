#include "launcher/gif/GIFException.h"
#include "launcher/gif/TGIFAppExtNSLoop.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"
#include <gtest/gtest.h>
#include <set>

using namespace GIFImage;

namespace {

const uint32_t kBack = 0x01000000; // cleared to the background

struct Shown {
    std::vector<uint32_t> pixels;
    int delay;
    bool operator==(const Shown& o) const { return pixels == o.pixels && delay == o.delay; }
};

// What a viewer shows, frame by frame with the time each picture stays;
// consecutive equal pictures count as one.
std::vector<Shown> Compose(TGIFImage& image)
{
    const int w = image.Width(), h = image.Height();
    std::vector<uint32_t> canvas(size_t(w) * size_t(h), kBack);
    std::vector<Shown> shown;
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage* f = image.Images().SubImage(i);
        TGIFGraphicControlExtension* gce = f->GraphicControlExtension();
        TDisposalMethod disposal = gce ? gce->Disposal() : TDisposalMethod::dmNone;
        std::vector<uint32_t> saved = canvas;
        const TGIFColorMap& map = f->ActiveColorMap();
        for (int y = 0; y < f->Height() && !f->Empty(); ++y)
            for (int x = 0; x < f->Width(); ++x) {
                uint8_t p = f->Data()[size_t(y) * size_t(f->Width()) + size_t(x)];
                if (f->Transparent() && gce && p == gce->TransparentColorIndex())
                    continue;
                TGIFColor c = p < map.Count() ? map.Data()[p] : TGIFColor{};
                canvas[size_t(f->Top() + y) * size_t(w) + size_t(f->Left() + x)] = RGB2Color(c);
            }
        int delay = gce ? gce->Delay() : 0;
        if (!shown.empty() && shown.back().pixels == canvas)
            shown.back().delay += delay;
        else
            shown.push_back(Shown{canvas, delay});
        if (disposal == TDisposalMethod::dmBackground)
            for (int y = f->Top(); y < f->Top() + f->Height(); ++y)
                for (int x = f->Left(); x < f->Left() + f->Width(); ++x)
                    canvas[size_t(y) * size_t(w) + size_t(x)] = kBack;
        else if (disposal == TDisposalMethod::dmPrevious)
            canvas = saved;
    }
    return shown;
}

TGIFSubImage* AddFrame(TGIFImage& image, TRect r, const std::vector<uint8_t>& pixels)
{
    auto* f = image.Images().SubImage(image.Add(std::make_unique<TGIFSubImage>(&image)));
    f->SetBoundsRect(r);
    f->SetData(pixels);
    return f;
}

TGIFGraphicControlExtension* Control(TGIFSubImage* f, int delay, TDisposalMethod disposal, int transparent = -1)
{
    auto gce = std::make_unique<TGIFGraphicControlExtension>(f);
    auto* g = gce.get();
    f->Extensions().Add(std::move(gce));
    g->SetDelay(delay);
    g->SetDisposal(disposal);
    if (transparent >= 0) {
        g->SetTransparentColorIndexRaw(uint8_t(transparent));
        g->SetTransparent(true);
    }
    return g;
}

void Greys(TGIFColorMap& map, int count)
{
    for (int i = 0; i < count; ++i)
        map.Add(TGIFColor{uint8_t(i * 40 + 10), uint8_t(i * 40 + 10), uint8_t(i * 40 + 10)});
}

void ExpectSameShow(TGIFImage& image, unsigned options)
{
    std::vector<Shown> before = Compose(image);
    image.Optimize(options, TColorReduction::rmNetscape, TDitherMode::dmNearest, 8);
    EXPECT_EQ(Compose(image), before);
}

} // namespace

TEST(GifOptimizer, TablesOfTheSameColoursBecomeOneGlobalTable)
{
    TGIFImage image;
    TGIFSubImage* a = AddFrame(image, {0, 0, 2, 2}, {0, 1, 2, 0});
    TGIFSubImage* b = AddFrame(image, {0, 0, 2, 2}, {2, 1, 0, 0});
    Greys(a->ColorMap(), 3);
    const TGIFColor reversed[] = {a->ColorMap().Data()[2], a->ColorMap().Data()[1], a->ColorMap().Data()[0]};
    b->ColorMap().ImportColorMap(reversed, 3);
    ExpectSameShow(image, ooColorMap);
    EXPECT_EQ(image.GlobalColorMap().Count(), 3);
    EXPECT_EQ(a->ColorMap().Count(), 0);
    EXPECT_EQ(b->ColorMap().Count(), 0);
}

TEST(GifOptimizer, RepeatedFrameIsMergedAwayAndItsDelayKept)
{
    TGIFImage image;
    Greys(image.GlobalColorMap(), 4);
    TGIFSubImage* first = AddFrame(image, {0, 0, 3, 2}, {0, 1, 2, 2, 1, 0});
    Control(first, 10, TDisposalMethod::dmNoDisposal, 3);
    TGIFSubImage* second = AddFrame(image, {0, 0, 3, 2}, {0, 1, 2, 2, 1, 0});
    Control(second, 20, TDisposalMethod::dmNoDisposal);
    ExpectSameShow(image, ooMerge | ooCrop);
    ASSERT_EQ(image.Images().Count(), 1);
    EXPECT_EQ(image.Images().SubImage(0)->GraphicControlExtension()->Delay(), 30);
}

TEST(GifOptimizer, OneFrameLosesItsLoopAndControlBlocks)
{
    TGIFImage image;
    Greys(image.GlobalColorMap(), 2);
    TGIFSubImage* f = AddFrame(image, {0, 0, 2, 1}, {0, 1});
    f->Extensions().Add(std::make_unique<TGIFAppExtNSLoop>(f));
    Control(f, 50, TDisposalMethod::dmNoDisposal);
    image.Optimize(ooCleanup, TColorReduction::rmNetscape, TDitherMode::dmNearest, 8);
    EXPECT_EQ(f->Extensions().Count(), 0);
    EXPECT_EQ(f->GraphicControlExtension(), nullptr);
}

TEST(GifOptimizer, ThreeHundredColoursLeaveTheMostUsed)
{
    for (bool transparent : {false, true}) {
        SCOPED_TRACE(transparent);
        TGIFImage image;
        std::set<uint32_t> source;
        for (int k = 0; k < 2; ++k) {
            std::vector<uint8_t> pixels;
            for (int i = 0; i < 150; ++i)
                pixels.insert(pixels.end(), size_t(i < 100 ? 3 : 1), uint8_t(i));
            TGIFSubImage* f = AddFrame(image, {0, 0, int(pixels.size()), 1}, pixels);
            for (int i = 0; i < 150; ++i) {
                TGIFColor c{uint8_t(k * 100 + i / 2), uint8_t(i * 3), uint8_t(k * 7)};
                f->ColorMap().Add(c);
                source.insert(RGB2Color(c));
            }
            if (transparent && k == 1) {
                f->ColorMap().Add(TGIFColor{1, 2, 3});
                f->Data()[0] = 150;
                Control(f, 0, TDisposalMethod::dmNone, 150);
            }
        }
        ASSERT_EQ(source.size(), 300u);
        image.OptimizeColorMap();
        EXPECT_EQ(image.GlobalColorMap().Count(), 256);
        for (int k = 0; k < 2; ++k) {
            TGIFSubImage* f = image.Images().SubImage(k);
            EXPECT_EQ(f->ColorMap().Count(), 0);
            for (int x = 0; x < 300; ++x) {
                uint8_t p = f->Data()[x];
                if (transparent && k == 1 && x == 0) {
                    EXPECT_EQ(p, 255);
                    continue;
                }
                EXPECT_LT(p, transparent ? 255 : 256);
                if (x < 3 * 100 && !(transparent && k == 1)) {
                    EXPECT_EQ(f->ActiveColorMap().Data()[p], (TGIFColor{uint8_t(k * 100 + x / 3 / 2), uint8_t(x / 3 * 3), uint8_t(k * 7)}))
                        << "a used colour keeps its value";
                }
            }
        }
    }
}

TEST(GifOptimizer, DisposalIsDroppedOnlyUnderAFrameThatCoversIt)
{
    TGIFImage image;
    Greys(image.GlobalColorMap(), 3);
    Control(AddFrame(image, {0, 0, 4, 4}, std::vector<uint8_t>(16, 1)), 5, TDisposalMethod::dmBackground);
    Control(AddFrame(image, {1, 1, 3, 3}, std::vector<uint8_t>(4, 2)), 5, TDisposalMethod::dmNone);
    Control(AddFrame(image, {0, 0, 4, 4}, std::vector<uint8_t>(16, 0)), 5, TDisposalMethod::dmBackground);
    Control(AddFrame(image, {0, 0, 4, 4}, std::vector<uint8_t>(16, 2)), 5, TDisposalMethod::dmNone);
    ExpectSameShow(image, ooCleanup);
    EXPECT_EQ(image.Images().SubImage(0)->GraphicControlExtension()->Disposal(), TDisposalMethod::dmBackground);
    EXPECT_EQ(image.Images().SubImage(2)->GraphicControlExtension()->Disposal(), TDisposalMethod::dmNone);
}

TEST(GifOptimizer, MergeNeverTurnsAUsedColourTransparent)
{
    TGIFImage image;
    Greys(image.GlobalColorMap(), 4);
    Control(AddFrame(image, {0, 0, 2, 1}, {3, 3}), 5, TDisposalMethod::dmNone, 3);
    Control(AddFrame(image, {0, 0, 2, 1}, {0, 1}), 5, TDisposalMethod::dmNone);
    TGIFSubImage* third = AddFrame(image, {0, 0, 2, 1}, {0, 3});
    Control(third, 5, TDisposalMethod::dmNone);
    ExpectSameShow(image, ooMerge);
    EXPECT_TRUE(third->Transparent());
    EXPECT_EQ(third->GraphicControlExtension()->TransparentColorIndex(), 4) << "a black entry, not index 3";
}

TEST(GifOptimizer, CroppedAwayFrameKeepsDelayAndLoopBlock)
{
    TGIFImage image;
    Greys(image.GlobalColorMap(), 3);
    TGIFSubImage* gone = AddFrame(image, {0, 0, 2, 1}, {2, 2});
    auto loop = std::make_unique<TGIFAppExtNSLoop>(gone);
    loop->SetLoops(7);
    gone->Extensions().Add(std::move(loop));
    Control(gone, 9, TDisposalMethod::dmNone, 2);
    Control(AddFrame(image, {0, 0, 2, 1}, {0, 1}), 65000, TDisposalMethod::dmNone, 2);
    Control(AddFrame(image, {0, 0, 2, 1}, {2, 2}), 1000, TDisposalMethod::dmNone, 2);
    image.Optimize(ooCrop, TColorReduction::rmNetscape, TDitherMode::dmNearest, 8);
    ASSERT_EQ(image.Images().Count(), 1);
    TGIFSubImage* left = image.Images().SubImage(0);
    EXPECT_EQ(left->GraphicControlExtension()->Delay(), 65535) << "saturated, not wrapped";
    auto* moved = dynamic_cast<TGIFAppExtNSLoop*>(left->Extensions().Extension(0));
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->Loops(), 7);
}

TEST(GifOptimizer, BackgroundIndexFollowsItsColour)
{
    TGIFImage image;
    Greys(image.GlobalColorMap(), 4);
    image.SetBackgroundColorIndex(3);
    TColor background = image.BackgroundColor();
    AddFrame(image, {0, 0, 3, 1}, {1, 1, 0});
    ExpectSameShow(image, ooColorMap);
    EXPECT_EQ(image.BackgroundColor(), background);
    EXPECT_LT(image.BackgroundColorIndex(), image.GlobalColorMap().Count());
}

TEST(GifOptimizer, ReduceColorsWithAPaletteIsRefusedWithoutCleanup)
{
    TGIFImage image;
    Greys(image.GlobalColorMap(), 2);
    AddFrame(image, {0, 0, 1, 1}, {0});
    EXPECT_THROW(image.Optimize(ooReduceColors, TColorReduction::rmPalette, TDitherMode::dmNearest, 8), GIFException);
}
