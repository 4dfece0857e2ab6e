#include "GifBytes.h"
#include "launcher/gif/TGIFCommentExtension.h"
#include "launcher/gif/TGIFSubImage.h"
#include "launcher/gif/TGIFWriter.h"
#include "tests/support/TempDir.h"
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace GIFImage;
using giftest::ErrorOf;

namespace {

void AddColours(TGIFColorMap& map, int count)
{
    // Distinct, not grey: an independent decoder keeps them as a palette.
    for (int i = 0; i < count; ++i)
        map.Add(TGIFColor{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)});
}

TGIFSubImage* AddFrame(TGIFImage& image, int width, int height, const std::vector<uint8_t>& pixels)
{
    auto* frame = image.Images().SubImage(image.Add(std::make_unique<TGIFSubImage>(&image)));
    frame->SetBounds(0, 0, width, height);
    frame->SetData(pixels);
    return frame;
}

std::vector<uint8_t> PixelsOf(TGIFImage& image, int frame)
{
    TGIFSubImage* f = image.Images().SubImage(frame);
    return std::vector<uint8_t>(f->Data(), f->Data() + f->DataSize());
}

struct Picture {
    std::string name;
    int bits, width, height;
    bool interlaced;
    std::vector<uint8_t> pixels;
    bool localTable = false;
};

std::vector<Picture> RoundTripPictures()
{
    std::vector<Picture> pictures;
    auto make = [&](std::string name, int bits, int w, int h, bool interlaced, auto pixel, bool local = false) {
        Picture p{std::move(name), bits, w, h, interlaced, {}, local};
        for (int i = 0; i < w * h; ++i)
            p.pixels.push_back(uint8_t(pixel(i, i % w, i / w) % (1 << bits)));
        pictures.push_back(std::move(p));
    };
    make("uniform", 8, 40, 30, false, [](int, int, int) { return 7; });
    make("stripes", 4, 33, 17, false, [](int, int x, int) { return x / 3; });
    make("gradient", 8, 256, 20, false, [](int, int x, int y) { return x + y; });
    make("noise", 8, 200, 100, false, [](int i, int, int) {
        uint32_t s = uint32_t(i) * 2654435761u;
        return int((s ^ s >> 15) >> 7);
    });
    // Runs of every length from 1 to 300, alternating two values.
    {
        Picture p{"runs 1-300", 2, 0, 1, false, {}};
        for (int n = 1; n <= 300; ++n)
            p.pixels.insert(p.pixels.end(), size_t(n), uint8_t(n % 2 + 1));
        p.width = int(p.pixels.size());
        pictures.push_back(p);
    }
    make("run past the RLE table limit", 8, 1000, 100, false, [](int i, int, int) { return i < 99999 ? 3 : 4; });
    for (int bits = 1; bits <= 8; ++bits)
        make("bits " + std::to_string(bits), bits, 37, 11, false, [](int i, int, int) { return i * 5 + i / 7; });
    for (int h = 1; h <= 9; ++h)
        make("interlaced height " + std::to_string(h), 4, 5, h, true, [](int, int x, int y) { return y * 3 + x; });
    for (int h : {1, 6, 9, 40})
        make("interlaced with a local table, height " + std::to_string(h), 8, 7, h, true,
             [](int i, int, int y) { return y * 11 + i % 5; }, true);
    return pictures;
}

std::string Encode(const Picture& p, TGIFCompression compression)
{
    TGIFImage image;
    if (!p.localTable)
        AddColours(image.GlobalColorMap(), 1 << p.bits);
    TGIFSubImage* frame = AddFrame(image, p.width, p.height, p.pixels);
    if (p.localTable)
        AddColours(frame->ColorMap(), 1 << p.bits);
    frame->SetInterlaced(p.interlaced);
    image.SetCompression(compression);
    return giftest::Save(image);
}

} // namespace

TEST(GifWriter, OnePixelOfTwoColoursIsByteExact)
{
    TGIFImage image;
    AddColours(image.GlobalColorMap(), 2);
    AddFrame(image, 1, 1, {0});
    std::string expected = std::string("GIF87a\x01\x00\x01\x00\x80\x00\x00", 13)
        + std::string("\x00\xFF\x00\x01\xFE\x07", 6) + std::string("\x2C\0\0\0\0\x01\0\x01\0\0", 10)
        + std::string("\x02\x02\x44\x01\x00;", 6);
    EXPECT_EQ(giftest::Save(image), expected);
}

TEST(GifWriter, SubBlocksCarry255BytesAndNoEmptyBlock)
{
    for (int count : {255, 256}) {
        MemoryStream s;
        TGIFWriter writer(s);
        for (int i = 0; i < count; ++i)
            writer.WriteByte(uint8_t(i));
        writer.Flush();
        ASSERT_EQ(s.Size(), count == 255 ? 256 : 258);
        EXPECT_EQ(s.Bytes()[0], 0xFF);
        EXPECT_EQ(s.Bytes()[255], 254);
        if (count == 256) {
            EXPECT_EQ(s.Bytes()[256], 1);
            EXPECT_EQ(s.Bytes()[257], 255);
        }
    }
}

TEST(GifWriter, PixelAtMaxColorIsRefused)
{
    TGIFImage image;
    TGIFSubImage* frame = AddFrame(image, 2, 1, {0, 5});
    AddColours(frame->ColorMap(), 5);
    EXPECT_EQ(ErrorOf([&] { giftest::Save(image); }), "Color not in color table");
}

// An image without a picture to show is refused before anything is written.
TEST(GifWriter, AnImageWithoutPixelsWritesNothing)
{
    struct Case {
        const char* what;
        int emptyFrames;
        bool comment;
        std::string error;
    } cases[] = {
        {"no frames", 0, false, "Unsupported GIF version"},
        {"one empty frame", 1, false, "Image is empty"},
        {"two empty frames, one with a comment", 2, true, "Image is empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TGIFImage image;
        AddColours(image.GlobalColorMap(), 2);
        for (int i = 0; i < c.emptyFrames; ++i)
            image.Add(std::make_unique<TGIFSubImage>(&image));
        if (c.comment) {
            TGIFSubImage* frame = image.Images().SubImage(0);
            auto comment = std::make_unique<TGIFCommentExtension>(frame);
            comment->Text() = {"no picture"};
            frame->Extensions().Add(std::move(comment));
        }
        MemoryStream s;
        EXPECT_EQ(ErrorOf([&] { image.SaveToStream(s); }), c.error);
        EXPECT_EQ(s.Size(), 0);
    }
}

TEST(GifWriter, SmallGlobalAndFullLocalTablesReadBack)
{
    TGIFImage image;
    AddColours(image.GlobalColorMap(), 4);
    std::vector<uint8_t> pixels(256);
    for (int i = 0; i < 256; ++i)
        pixels[size_t(i)] = uint8_t(255 - i);
    TGIFSubImage* big = AddFrame(image, 16, 16, pixels);
    AddColours(big->ColorMap(), 256);
    big->SetInterlaced(true);
    AddFrame(image, 2, 2, {0, 1, 2, 3});
    TGIFImage copy;
    giftest::Loaded loaded = giftest::Load(copy, giftest::Save(image));
    ASSERT_EQ(loaded.error, "");
    EXPECT_EQ(loaded.warnings, std::vector<std::string>{});
    ASSERT_EQ(copy.Images().Count(), 2);
    EXPECT_EQ(copy.GlobalColorMap().Count(), 4);
    EXPECT_EQ(copy.Images().SubImage(0)->ColorMap().Count(), 256);
    EXPECT_EQ(copy.Images().SubImage(0)->ColorMap().Data()[200], big->ColorMap().Data()[200]);
    EXPECT_TRUE(big->Interlaced()) << "saving keeps the frame's interlace flag";
    EXPECT_TRUE(copy.Images().SubImage(0)->Interlaced());
    EXPECT_FALSE(copy.Images().SubImage(1)->Interlaced());
    EXPECT_EQ(PixelsOf(copy, 0), pixels);
    EXPECT_EQ(PixelsOf(copy, 1), (std::vector<uint8_t>{0, 1, 2, 3}));
}

TEST(GifWriter, EmptyTextLineWritesNothing)
{
    TGIFImage image;
    AddColours(image.GlobalColorMap(), 2);
    TGIFSubImage* frame = AddFrame(image, 1, 1, {1});
    auto comment = std::make_unique<TGIFCommentExtension>(frame);
    comment->Text() = {"a", "", "b"};
    frame->Extensions().Add(std::move(comment));
    TGIFImage copy;
    ASSERT_EQ(giftest::Load(copy, giftest::Save(image)).error, "");
    auto* read = static_cast<TGIFCommentExtension*>(copy.Images().SubImage(0)->Extensions().Extension(0));
    EXPECT_EQ(read->Text(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(PixelsOf(copy, 0), std::vector<uint8_t>{1});
}

TEST(GifWriter, BothEncodersRoundTrip)
{
    for (const Picture& p : RoundTripPictures()) {
        for (TGIFCompression c : {gcLZW, gcRLE}) {
            SCOPED_TRACE(p.name + (c == gcLZW ? " LZW" : " RLE"));
            TGIFImage copy;
            giftest::Loaded loaded = giftest::Load(copy, Encode(p, c));
            ASSERT_EQ(loaded.error, "");
            EXPECT_EQ(loaded.warnings, std::vector<std::string>{});
            EXPECT_EQ(PixelsOf(copy, 0), p.pixels);
            EXPECT_EQ(copy.Images().SubImage(0)->Interlaced(), p.interlaced);
            EXPECT_EQ(copy.Images().SubImage(0)->ColorMap().Count(), p.localTable ? 1 << p.bits : 0);
        }
    }
}

// Pillow decodes what both encoders write to the same pixels.
TEST(GifWriter, IndependentDecoderAgrees)
{
    testsupport::TempDir dir;
    std::vector<std::string> files;
    std::vector<std::string> expected;
    for (const Picture& p : RoundTripPictures()) {
        for (TGIFCompression c : {gcLZW, gcRLE}) {
            std::string file = dir.Path() + "/" + std::to_string(files.size()) + ".gif";
            std::ofstream(file, std::ios::binary) << Encode(p, c);
            files.push_back(file);
            static const char* hex = "0123456789abcdef";
            std::string line;
            for (uint8_t v : p.pixels)
                line += std::string{hex[v >> 4], hex[v & 15]};
            expected.push_back(line);
        }
    }
    // The distribution's interpreter is the one its python3-pil belongs to.
    std::string python = access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
    std::string command = python + " " + ZELK_GIF_PIL_CHECK;
    for (const std::string& f : files)
        command += " " + f;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    int status = pclose(pipe);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "python3-pil is not installed";
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    std::vector<std::string> lines;
    for (size_t at = 0; at < output.size();) {
        size_t end = output.find('\n', at);
        lines.push_back(output.substr(at, end - at));
        at = end == std::string::npos ? output.size() : end + 1;
    }
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << files[i];
}
