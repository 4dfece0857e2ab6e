#include "GifBytes.h"
#include "launcher/gif/TGIFAppExtNSLoop.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFSubImage.h"
#include "tools/hostilefiles/ImageBombs.h"
#include "tools/imagefixtures/FixturePattern.h"
#include "tools/imagefixtures/GifWriter.h"
#include <functional>
#include <gtest/gtest.h>

using namespace GIFImage;
using giftest::Bytes;
using giftest::PackCodes;

namespace {

// Minimum code size 2: clear 4, end 5, codes of 3 bits at first.
std::string Codes2(const std::vector<int>& codes)
{
    std::vector<std::pair<int, int>> sized;
    for (int c : codes)
        sized.push_back({c, 3});
    return PackCodes(sized);
}

// A 2 x 1 frame of pixels 1, 2 with minimum code size 2.
Bytes& Frame12(Bytes& b)
{
    return b.Descriptor(0, 0, 2, 1).U8(2).SubBlocks(Codes2({4, 1, 2, 5}));
}

std::string Simple(const std::string& signature)
{
    Bytes b;
    b.Raw(signature).Screen(2, 1, 2);
    return Frame12(b).Raw(";").s;
}

std::vector<uint8_t> PixelsOf(TGIFImage& image, int frame)
{
    TGIFSubImage* f = image.Images().SubImage(frame);
    return std::vector<uint8_t>(f->Data(), f->Data() + f->DataSize());
}

struct ReaderCase {
    const char* name;
    std::function<std::string()> bytes;
    std::vector<std::string> warnings;
    std::string error;
    std::function<void(TGIFImage&)> check;
};

const std::vector<uint8_t> k12{1, 2};

const ReaderCase kCases[] = {
    {"four bytes before the signature", [] { return std::string("\x00\x00\x00\x2a", 4) + Simple("GIF89a"); }, {}, "",
        [](TGIFImage& i) { EXPECT_EQ(PixelsOf(i, 0), k12); }},
    {"lower-case signature", [] { return Simple("gif89a"); }, {}, "",
        [](TGIFImage& i) { EXPECT_EQ(PixelsOf(i, 0), k12); }},
    {"unknown version", [] { return Simple("GIF90z"); }, {}, "",
        [](TGIFImage& i) { EXPECT_EQ(i.Images().Count(), 1); }},
    {"bad signature", [] { return Simple("PNG89a") + std::string(8, '\0'); }, {}, "Invalid GIF signature", nullptr},
    {"width 0 takes the screen size",
        [] { return Bytes().Raw("GIF89a").Screen(3, 2, 2).Descriptor(0, 0, 0, 5).U8(2)
                 .SubBlocks(Codes2({4, 1, 1, 1, 5})).Raw(";").s; },
        {"Image exceeds Logical Screen size"}, "",
        [](TGIFImage& i) {
            EXPECT_EQ(i.Images().SubImage(0)->Width(), 3);
            EXPECT_EQ(i.Images().SubImage(0)->Height(), 2);
        }},
    {"frame beyond the screen grows it",
        [] { Bytes b; b.Raw("GIF89a").Screen(1, 1, 2); return b.Descriptor(5, 7, 2, 1).U8(2)
                 .SubBlocks(Codes2({4, 1, 2, 5})).Raw(";").s; },
        {}, "",
        [](TGIFImage& i) {
            EXPECT_EQ(i.Width(), 7);
            EXPECT_EQ(i.Height(), 8);
        }},
    {"extension at the end becomes a frame without pixels",
        [] { Bytes b; b.Raw("GIF89a").Screen(2, 1, 2); Frame12(b); return b.Gce(0, 5, 0).Raw(";").s; }, {}, "",
        [](TGIFImage& i) {
            ASSERT_EQ(i.Images().Count(), 2);
            EXPECT_TRUE(i.Images().SubImage(1)->Empty());
            EXPECT_EQ(i.Images().SubImage(1)->GraphicControlExtension()->Delay(), 5);
        }},
    {"minimum code size 9 decodes as 8",
        [] { return Bytes().Raw("GIF89a").Screen(1, 1, 8).Descriptor(0, 0, 1, 1).U8(9)
                 .SubBlocks(PackCodes({{256, 9}, {200, 9}, {257, 9}})).Raw(";").s; },
        {}, "", [](TGIFImage& i) { EXPECT_EQ(PixelsOf(i, 0), std::vector<uint8_t>{200}); }},
    {"truncated data keeps the transparent index",
        [] { return Bytes().Raw("GIF89a").Screen(4, 1, 2).Gce(1, 0, 3).Descriptor(0, 0, 4, 1).U8(2)
                 .U8(5).Raw(Codes2({4, 1})).s; },
        {"Premature end of data"}, "",
        [](TGIFImage& i) { EXPECT_EQ(PixelsOf(i, 0), (std::vector<uint8_t>{1, 3, 3, 3})); }},
    {"entry that is its own prefix",
        [] { return Bytes().Raw("GIF89a").Screen(4, 1, 2).Descriptor(0, 0, 4, 1).U8(2)
                 .SubBlocks(Codes2({4, 6, 0, 6, 5})).Raw(";").s; },
        {}, "Circular decoder table entry", nullptr},
    {"longer table cycle",
        [] { return Bytes().Raw("GIF89a").Screen(8, 8, 2).Descriptor(0, 0, 8, 8).U8(2)
                 .SubBlocks(PackCodes({{4, 3}, {7, 3}, {6, 3}, {0, 3}, {6, 4}, {5, 4}})).Raw(";").s; },
        {}, "Circular decoder table entry", nullptr},
    {"missing trailer is silent",
        [] { Bytes b; b.Raw("GIF89a").Screen(2, 1, 2); return Frame12(b).s; }, {}, "",
        [](TGIFImage& i) { EXPECT_EQ(PixelsOf(i, 0), k12); }},
    {"wrong trailer warns",
        [] { Bytes b; b.Raw("GIF89a").Screen(2, 1, 2); return Frame12(b).Raw("x").s; },
        {"Unknown GIF block type", "Invalid Image trailer"}, "", nullptr},
    {"ANIMEXTS1.0 is a loop block",
        [] { Bytes b; b.Raw("GIF89a").Screen(2, 1, 2).Raw("\x21\xFF\x0B" "ANIMEXTS1.0").U8(3).U8(1).U16(5).U8(0);
             return Frame12(b).Raw(";").s; },
        {}, "",
        [](TGIFImage& i) {
            auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(i.Images().SubImage(0)->Extensions().Extension(0));
            ASSERT_NE(loop, nullptr);
            EXPECT_EQ(loop->Loops(), 5);
        }},
    {"loop block of 12 identifier bytes",
        [] { Bytes b; b.Raw("GIF89a").Screen(2, 1, 2).Raw("\x21\xFF\x0C" "NETSCAPE2.0X").U8(3).U8(1).U16(4).U8(0);
             return Frame12(b).Raw(";").s; },
        {}, "",
        [](TGIFImage& i) {
            auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(i.Images().SubImage(0)->Extensions().Extension(0));
            ASSERT_NE(loop, nullptr);
            EXPECT_EQ(loop->Loops(), 4);
            EXPECT_EQ(PixelsOf(i, 0), k12);
        }},
    {"NETSCAPE data cut by the end of the stream",
        [] { return Bytes().Raw("GIF89a").Screen(2, 1, 2).Raw("\x21\xFF\x0B" "NETSCAPE2.0").U8(3).U8(1).U16(2).s; },
        {}, "", [](TGIFImage& i) { EXPECT_EQ(i.Images().Count(), 1); }},
    {"NETSCAPE sub-block too short", [] {
         return Bytes().Raw("GIF89a").Screen(2, 1, 2).Raw("\x21\xFF\x0B" "NETSCAPE2.0").U8(2).U8(1).U8(0).U8(0).s; },
        {}, "Invalid GIF data", nullptr},
    {"unregistered extension label",
        [] { Bytes b; b.Raw("GIF89a").Screen(2, 1, 2).U8(0x21).U8(0x42).U8(0); return Frame12(b).s; }, {},
        "Unknown extension type", nullptr},
    {"short application block", [] { return Bytes().Raw("GIF89a").Screen(2, 1, 2).Raw("\x21\xFF\x09").s + "ABCDEFGHIJKLM"; },
        {}, "Unsupported Application Extension block size", nullptr},
    {"control block cut short",
        [] { return Bytes().Raw("GIF89a").Screen(2, 1, 2).Raw("\x21\xF9\x04\x01").s; },
        {"Premature end of data"}, "", [](TGIFImage& i) { EXPECT_EQ(i.Images().Count(), 1); }},
    {"data in 1-byte sub-blocks",
        [] { return Bytes().Raw("GIF89a").Screen(4, 1, 8).Descriptor(0, 0, 4, 1).U8(8)
                 .SubBlocks(PackCodes({{256, 9}, {10, 9}, {20, 9}, {30, 9}, {40, 9}, {257, 9}}), 1).Raw(";").s; },
        {}, "", [](TGIFImage& i) { EXPECT_EQ(PixelsOf(i, 0), (std::vector<uint8_t>{10, 20, 30, 40})); }},
    {"65535 x 65535 in a few bytes",
        [] { return Bytes().Raw("GIF89a").Screen(1, 1, 0).Descriptor(0, 0, 65535, 65535).U8(2)
                 .SubBlocks(Codes2({4, 5})).Raw(";").s; },
        {}, "Invalid image dimensions", nullptr},
    // A frame of one colour takes a few bytes per thousand pixels: the frame
    // limit, not the data, bounds what a small file makes.
    {"a frame of one colour past the frame limit",
        [] { return hostile::GifOfOneColour(2048, 2049, 2048, 2049, 1); }, {}, "Invalid image dimensions", nullptr},
    {"a frame of one colour at the frame limit",
        [] { return hostile::GifOfOneColour(2048, 2048, 2048, 2048, 1); }, {}, "",
        [](TGIFImage& i) { EXPECT_EQ(i.Images().SubImage(0)->Pixel(2047, 2047), 0); }},
    {"clear then end leaves the data at the next block",
        [] { Bytes b; b.Raw("GIF89a").Screen(2, 1, 2).Descriptor(0, 0, 2, 1).U8(2).SubBlocks(Codes2({4, 5, 1, 1, 1}));
             return Frame12(b).Raw(";").s; },
        {}, "",
        [](TGIFImage& i) {
            ASSERT_EQ(i.Images().Count(), 2);
            EXPECT_EQ(PixelsOf(i, 0), (std::vector<uint8_t>{0, 0}));
            EXPECT_EQ(PixelsOf(i, 1), k12);
        }},
    {"codes after the last pixel are skipped",
        [] { Bytes b; b.Raw("GIF89a").Screen(2, 1, 2).Descriptor(0, 0, 2, 1).U8(2)
                 .SubBlocks(Codes2({4, 2, 1, 3, 3, 3, 1, 5}), 1);
             return Frame12(b).Raw(";").s; },
        {}, "",
        [](TGIFImage& i) {
            ASSERT_EQ(i.Images().Count(), 2);
            EXPECT_EQ(PixelsOf(i, 0), (std::vector<uint8_t>{2, 1}));
            EXPECT_EQ(PixelsOf(i, 1), k12);
        }},
};

} // namespace

TEST(GifReader, HandBuiltStreams)
{
    for (const ReaderCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TGIFImage image;
        std::string bytes = c.bytes();
        giftest::Loaded result = giftest::Load(image, bytes);
        EXPECT_EQ(result.error, c.error);
        if (c.error.empty()) {
            EXPECT_EQ(result.warnings, c.warnings);
        }
        if (c.check && result.error.empty())
            c.check(image);
    }
}

TEST(GifReader, ErrorPutsTheStreamBack)
{
    std::string bytes = "xx" + Simple("PNG89a") + std::string(8, '\0');
    TGIFImage image;
    MemoryStream s(bytes.data(), bytes.size());
    s.Seek(2);
    EXPECT_THROW(image.LoadFromStream(s), GIFException);
    EXPECT_EQ(s.Position(), 2);
}

TEST(GifReader, InterlacedFramesOfEveryHeightDecodeEveryRow)
{
    for (int height = 1; height <= 9; ++height) {
        SCOPED_TRACE(height);
        fixtures::GifFile gif;
        gif.screenWidth = 3;
        gif.screenHeight = height;
        for (int i = 0; i < 16; ++i)
            gif.palette.push_back(0xFF000000u | uint32_t(i * 16));
        gif.minCodeSize = 4;
        fixtures::GifFrame f;
        f.width = 3;
        f.height = height;
        f.interlaced = true;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < 3; ++x)
                f.indices.push_back(uint8_t(y + 1));
        gif.frames.push_back(f);
        TGIFImage image;
        giftest::Loaded result = giftest::Load(image, fixtures::EncodeGif(gif));
        ASSERT_EQ(result.error, "");
        EXPECT_EQ(PixelsOf(image, 0), f.indices);
    }
}

TEST(GifReader, LargeNoiseFrameMatchesTheFixtureWriter)
{
    fixtures::GifFile gif;
    gif.screenWidth = gif.screenHeight = 200;
    for (int i = 0; i < 256; ++i)
        gif.palette.push_back(fixtures::PaletteColour(i));
    for (bool deferred : {false, true}) {
        gif.deferredClear = deferred;
        fixtures::GifFrame f;
        f.width = f.height = 200;
        for (int i = 0; i < 200 * 200; ++i)
            f.indices.push_back(fixtures::NoiseIndex(i));
        gif.frames = {f};
        TGIFImage image;
        giftest::Loaded result = giftest::Load(image, fixtures::EncodeGif(gif));
        ASSERT_EQ(result.error, "");
        EXPECT_EQ(PixelsOf(image, 0), f.indices) << deferred;
    }
}
