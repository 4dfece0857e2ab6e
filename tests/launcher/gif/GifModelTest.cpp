#include "GifBytes.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/TGIFAppExtNSLoop.h"
#include "launcher/gif/TGIFCommentExtension.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"
#include "launcher/gif/TGIFTextExtension.h"
#include <gtest/gtest.h>

using namespace GIFImage;
using giftest::ErrorOf;

namespace {

struct Table : TGIFColorMap {
    using TGIFColorMap::SetCapacity;
};

// An image with a 32 x 32 screen and one 4 x 4 frame at the origin, its
// warnings collected.
struct ImageFixture : ::testing::Test {
    TGIFImage image;
    TGIFSubImage* frame = nullptr;
    std::vector<std::string> warnings;
    void SetUp() override
    {
        image.OnWarning = [this](const void*, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
        image.SetWidth(32);
        image.SetHeight(32);
        frame = image.Images().SubImage(image.Add(std::make_unique<TGIFSubImage>(&image)));
        frame->SetBounds(0, 0, 4, 4);
    }
};

} // namespace

TEST(GifColorMap, CapacityGrowsInSteps)
{
    const int cases[][2] = {{1, 16}, {16, 16}, {17, 32}, {33, 64}, {250, 256}, {300, 256}};
    for (auto [request, capacity] : cases) {
        Table t;
        t.SetCapacity(request);
        EXPECT_EQ(t.Capacity(), capacity) << request;
        t.SetCapacity(2);
        EXPECT_EQ(t.Capacity(), capacity) << "a smaller request changes nothing";
    }
}

TEST(GifColorMap, BitsPerPixelByCount)
{
    const int cases[][2] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {5, 3}, {129, 8}, {256, 8}};
    for (auto [count, bits] : cases) {
        TGIFColorMap t;
        for (int i = 0; i < count; ++i)
            t.Add(TGIFColor{uint8_t(i), 0, 0});
        EXPECT_EQ(t.BitsPerPixel(), bits) << count;
    }
}

TEST(GifColorMap, OverflowAndDeleteErrors)
{
    TGIFColorMap t;
    for (int i = 0; i < 256; ++i)
        t.Add(TGIFColor{uint8_t(i), 1, 2});
    EXPECT_EQ(ErrorOf([&] { t.Add(TGIFColor{}); }), "Color table overflow");
    EXPECT_EQ(ErrorOf([&] { t.Delete(300); }), "Invalid color index");
    t.Delete(0);
    EXPECT_EQ(t.Count(), 255);
    EXPECT_EQ(t.Data()[0].Red, 1);
}

TEST(GifColorMap, SavePadsWithBlackToAPowerOfTwo)
{
    TGIFColorMap t;
    MemoryStream empty;
    t.SaveToStream(empty);
    EXPECT_EQ(empty.Size(), 0);
    for (int i = 1; i <= 5; ++i)
        t.Add(TGIFColor{uint8_t(i), uint8_t(i), uint8_t(i)});
    MemoryStream s;
    t.SaveToStream(s);
    ASSERT_EQ(s.Size(), 24);
    EXPECT_EQ(s.Bytes()[12], 5);
    for (int i = 15; i < 24; ++i)
        EXPECT_EQ(s.Bytes()[size_t(i)], 0);
}

TEST(GifColorMap, IndexOfDependsOnOptimized)
{
    TGIFColorMap t;
    const TGIFColor red{255, 0, 0};
    for (TGIFColor c : {TGIFColor{0, 0, 0}, red, TGIFColor{1, 1, 1}, TGIFColor{2, 2, 2}, red})
        t.Add(c);
    EXPECT_EQ(t.IndexOf(red), 4);
    t.SetOptimized(true);
    EXPECT_EQ(t.IndexOf(red), 1);
    EXPECT_EQ(t.IndexOf(TGIFColor{9, 9, 9}), -1);
}

TEST_F(ImageFixture, ColourByIndexWarnsOrFails)
{
    EXPECT_EQ(ErrorOf([&] { frame->ColorMap().ColorAt(0); }), "Color table is empty");
    for (int i = 0; i < 5; ++i)
        frame->ColorMap().Add(TGIFColor{uint8_t(10 + i), 0, 0});
    EXPECT_EQ(frame->ColorMap().ColorAt(7).Red, 10);
    EXPECT_EQ(warnings, std::vector<std::string>{"Invalid color index"});
}

TEST_F(ImageFixture, WidthBelowAFrameIsRefused)
{
    frame->SetLeft(20);
    EXPECT_EQ(ErrorOf([&] { image.SetWidth(23); }), "Image width too small for contained frames");
    EXPECT_EQ(ErrorOf([&] { image.SetHeight(3); }), "Image height too small for contained frames");
    image.SetWidth(24);
    EXPECT_EQ(image.Width(), 24);
}

TEST_F(ImageFixture, FrameMovedPastTheScreenGrowsItWithWarnings)
{
    frame->SetLeft(30);
    EXPECT_EQ(image.Width(), 34);
    EXPECT_EQ(warnings, (std::vector<std::string>{"Image width too small for contained frames",
                            "Image exceeds Logical Screen size"}));
}

TEST_F(ImageFixture, ScreenGrowthStopsAt65535)
{
    frame->SetBounds(65000, 0, 1000, 4);
    EXPECT_EQ(image.Width(), 65535) << "no 16-bit wrap below the frame";
}

TEST_F(ImageFixture, ResizeReallocatesZeroedPixels)
{
    frame->SetPixel(3, 3, 9);
    frame->SetWidth(5);
    ASSERT_EQ(frame->DataSize(), 20u);
    EXPECT_EQ(frame->Pixel(3, 3), 0);
    EXPECT_EQ(ErrorOf([&] { frame->Pixel(5, 0); }), "Invalid pixel coordinates");
    EXPECT_EQ(ErrorOf([&] { frame->Pixel(0, 4); }), "Invalid pixel coordinates");
    frame->SetBounds(0, 0, 0, 0);
    EXPECT_EQ(ErrorOf([&] { frame->Pixel(0, 0); }), "Image is empty");
}

TEST_F(ImageFixture, BoundsRectReadsBackAsWritten)
{
    frame->SetBoundsRect(TRect{2, 3, 7, 9});
    EXPECT_EQ(frame->Width(), 5);
    EXPECT_EQ(frame->Height(), 6);
    TRect r = frame->BoundsRect();
    frame->SetBoundsRect(r);
    EXPECT_EQ(frame->BoundsRect(), (TRect{2, 3, 7, 9}));
}

TEST_F(ImageFixture, PackMovesTheOnlyFramesTableToTheGlobalOne)
{
    frame->ColorMap().Add(TGIFColor{1, 2, 3});
    frame->ColorMap().Add(TGIFColor{4, 5, 6});
    image.Pack();
    EXPECT_EQ(image.GlobalColorMap().Count(), 2);
    EXPECT_EQ(frame->ColorMap().Count(), 0);
    EXPECT_EQ(image.GlobalColorMap().Data()[1].Green, 5);
}

TEST_F(ImageFixture, VersionComesFromTheFrames)
{
    EXPECT_EQ(image.Version(), gv87a);
    frame->Extensions().Add(std::make_unique<TGIFCommentExtension>(frame));
    EXPECT_EQ(image.Version(), gv89a);
    image.Clear();
    EXPECT_EQ(image.Version(), gvUnknown);
}

TEST_F(ImageFixture, ApplicationIdentifierIsBlankFilledOrCut)
{
    TGIFAppExtNSLoop loop(frame);
    loop.SetIdentifier("AB");
    EXPECT_EQ(loop.Identifier(), "AB      ");
    loop.SetIdentifier("NETSCAPE2.0X");
    EXPECT_EQ(loop.Identifier(), "NETSCAPE");
    loop.SetAuthentication("2.0X");
    EXPECT_EQ(loop.Authentication(), "2.0");
}

TEST_F(ImageFixture, PlainTextColoursComeFromTheActiveTable)
{
    image.GlobalColorMap().Add(TGIFColor{0, 0, 0});
    image.GlobalColorMap().Add(TGIFColor{0x11, 0x22, 0x33});
    auto* text = static_cast<TGIFTextExtension*>(
        frame->Extensions().Item(frame->Extensions().Add(std::make_unique<TGIFTextExtension>(frame))));
    text->Record().TextFGColorIndex = 1;
    EXPECT_EQ(text->ForegroundColor(), 0x332211u);
    EXPECT_EQ(text->BackgroundColor(), 0u);
}

TEST_F(ImageFixture, OnlyTheLinkedControlBlockSwitchesTransparencyOff)
{
    auto& list = frame->Extensions();
    list.Add(std::make_unique<TGIFGraphicControlExtension>(frame));
    list.Add(std::make_unique<TGIFGraphicControlExtension>(frame));
    auto* linked = static_cast<TGIFGraphicControlExtension*>(list.Item(0));
    ASSERT_EQ(frame->GraphicControlExtension(), linked);
    linked->SetTransparent(true);
    static_cast<TGIFGraphicControlExtension*>(list.Item(1))->SetTransparent(true);
    list.Delete(1);
    EXPECT_TRUE(frame->Transparent()) << "the unlinked block does not speak for the frame";
    list.Delete(0);
    EXPECT_FALSE(frame->Transparent());
    EXPECT_EQ(frame->GraphicControlExtension(), nullptr);
}
