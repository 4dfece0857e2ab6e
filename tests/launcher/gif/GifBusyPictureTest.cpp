#include "GifBytes.h"
#include "launcher/gif/TGIFAppExtNSLoop.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFSubImage.h"
#include "tools/imagefixtures/BusyPicture.h"
#include <gtest/gtest.h>

using namespace GIFImage;

TEST(GifBusyPicture, HasTheLaunchersFormat)
{
    std::string bytes = fixtures::BusyPictureGif();
    ASSERT_EQ(bytes.substr(0, 6), "GIF89a");
    TGIFImage image;
    giftest::Loaded loaded = giftest::Load(image, bytes);
    ASSERT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.warnings, std::vector<std::string>{});
    EXPECT_EQ(image.Width(), 32);
    EXPECT_EQ(image.Height(), 32);
    EXPECT_EQ(image.GlobalColorMap().Count(), 128);
    ASSERT_EQ(image.Images().Count(), 18);
    auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(image.Images().SubImage(0)->Extensions().Extension(0));
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->Identifier() + loop->Authentication(), "NETSCAPE2.0");
    EXPECT_EQ(loop->Loops(), 0);
    for (int i = 0; i < 18; ++i) {
        SCOPED_TRACE(i);
        TGIFSubImage* f = image.Images().SubImage(i);
        EXPECT_EQ(f->ColorMap().Count(), 128);
        TGIFGraphicControlExtension* gce = f->GraphicControlExtension();
        ASSERT_NE(gce, nullptr);
        EXPECT_EQ(gce->Delay(), 0);
        EXPECT_EQ(gce->Disposal(), TDisposalMethod::dmNoDisposal);
        EXPECT_FALSE(gce->Transparent());
    }
    // Minimum code size 7 after the first frame's 10-byte descriptor and table.
    size_t descriptor = bytes.find('\x2C', 13 + 128 * 3);
    ASSERT_NE(descriptor, std::string::npos);
    EXPECT_EQ(bytes[descriptor + 10 + 128 * 3], 7);
}

TEST(GifBusyPicture, ReencodedByTheUnitGivesTheSamePixels)
{
    TGIFImage image;
    ASSERT_EQ(giftest::Load(image, fixtures::BusyPictureGif()).error, "");
    for (TGIFCompression c : {gcLZW, gcRLE}) {
        image.SetCompression(c);
        TGIFImage again;
        ASSERT_EQ(giftest::Load(again, giftest::Save(image)).error, "");
        ASSERT_EQ(again.Images().Count(), 18);
        for (int i = 0; i < 18; ++i) {
            TGIFSubImage* a = image.Images().SubImage(i);
            TGIFSubImage* b = again.Images().SubImage(i);
            EXPECT_EQ(std::vector<uint8_t>(a->Data(), a->Data() + a->DataSize()),
                std::vector<uint8_t>(b->Data(), b->Data() + b->DataSize()))
                << i;
        }
    }
}
