#include "framework/app/DebugToolHooks.h"
#include "framework/app/ImageDump.h"
#include "framework/app/PathUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

using namespace Zelk;

namespace {

ImageDumpEntry TestImage(int w, int h)
{
    ImageDumpEntry e;
    e.width = w;
    e.height = h;
    e.pixels = [w, h] {
        std::vector<uint32_t> px(size_t(w) * size_t(h));
        for (size_t i = 0; i < px.size(); ++i)
            px[i] = 0xFF000000u | uint32_t(i);
        return px;
    };
    return e;
}

struct Written {
    std::vector<std::string> calls;
    std::vector<std::vector<uint32_t>> pixels;
    ImageDump::Writer Writer(const char* kind)
    {
        return [this, kind](const std::string& path, int w, int h, const uint32_t* px) {
            calls.push_back(std::string(kind) + " " + GetFileName(path) + " " + std::to_string(w) + "x" +
                            std::to_string(h));
            pixels.emplace_back(px, px + size_t(w) * size_t(h));
            return true;
        };
    }
};

} // namespace

TEST(ImageDump, Sizes)
{
    struct {
        const char* name;
        std::function<void(ImageDumpEntry&)> set;
        int64_t total;
    } cases[] = {
        {"bits and surface", [](ImageDumpEntry& e) { e.hasBits = e.hasSurface = true; }, 480000},
        {"palette", [](ImageDumpEntry& e) { e.hasPalette = true; }, 60000 + 1024},
        {"native data", [](ImageDumpEntry& e) { e.hasNativeData = true; }, 240000},
        {"native data with a palette", [](ImageDumpEntry& e) { e.hasNativeData = e.hasPalette = true; },
         60000 + 1024 + 1024},
        {"run lengths", [](ImageDumpEntry& e) { e.hasRLAlpha = e.hasRLAdditive = true; }, 120000},
        {"texture", [](ImageDumpEntry& e) { e.hasTexture = true; e.textureBytes = 4096; }, 4096},
        {"texture bytes without a texture", [](ImageDumpEntry& e) { e.textureBytes = 4096; }, 0},
    };
    for (auto& c : cases) {
        ImageDumpEntry e = TestImage(300, 200);
        c.set(e);
        EXPECT_EQ(ImageDump::Sizes(e).total, c.total) << c.name;
    }
    struct {
        int32_t code;
        const char* name;
    } formats[] = {{1, "A8R8G8B8"}, {2, "A4R4G4B4"}, {4, "R5G6B5"}, {8, "Palette8"}, {3, ""}};
    for (auto& f : formats)
        EXPECT_STREQ(ImageDump::TextureFormatName(f.code), f.name);
}

TEST(ImageDump, ThumbnailTakesTheNearestPixel)
{
    // 3 x 2 source: thumbnail column x takes source column floor((x + 0.5) * 3 / 64).
    const uint32_t src[] = {1, 2, 3, 4, 5, 6};
    const std::vector<uint32_t> t = ImageDump::Thumbnail(src, 3, 2);
    ASSERT_EQ(t.size(), 64u * 64u);
    EXPECT_EQ(t[20], 1u);
    EXPECT_EQ(t[21], 2u);
    EXPECT_EQ(t[42], 2u);
    EXPECT_EQ(t[43], 3u);
    EXPECT_EQ(t[31 * 64 + 0], 1u);
    EXPECT_EQ(t[32 * 64 + 0], 4u);
    EXPECT_EQ(t[63 * 64 + 63], 6u);
}

TEST(ImageDump, ListAndPictures)
{
    testsupport::TempDir dir;
    dir.Write("_dump/stale.png", "old");

    ImageDumpEntry small = TestImage(10, 10);
    small.hasBits = true;
    small.hasAlpha = true;
    small.filePath = "images\\a&b<1>.png";
    ImageDumpEntry big = TestImage(300, 200);
    big.hasBits = big.hasSurface = true;
    big.isVolatile = true;
    big.filePath = "images\\big.jpg";
    ImageDumpEntry empty = TestImage(0, 0);
    empty.hasPalette = true;
    empty.hasTexture = true;
    empty.textureFormat = 8;
    empty.textureBytes = 2048;

    Written w;
    ASSERT_TRUE(ImageDump::Write(dir / "_dump", "Mon Jan  1 00:00:00 2024\n", {small, big, empty}, w.Writer("png"),
                                 w.Writer("jpeg")));
    EXPECT_FALSE(dir.Exists("_dump/stale.png"));
    const std::string nb = "<TD>&nbsp;</TD>\n";
    const std::string expected =
        "<HTML><BODY BGCOLOR=EEEEFF><CENTER><FONT SIZE=+2><B>Mon Jan  1 00:00:00 2024\n</B></FONT><BR>\n"
        "Total Image Allocation: 483,472 bytes<BR><TABLE BORDER=1 CELLSPACING=0 CELLPADDING=4>"
        "<TR><TD><A HREF=img0000.png><IMG SRC=thumb0000.jpg WIDTH=64 HEIGHT=64></A></TD>\n"
        "<TD ALIGN=RIGHT>300 x 200<BR>480,000 bytes</TD>\n"
        "<TD>mBits<BR>240,000</TD>\n" + nb + "<TD>DDSurface<BR>240,000</TD>\n" + nb +
        "<TD>Volatile</TD>\n" + nb + nb + nb + nb + nb + nb +
        "<TD>images\\big.jpg</TD>\n"
        "</TR>\n"
        "<TR><TD><A HREF=img0001.png><IMG SRC=thumb0001.jpg WIDTH=64 HEIGHT=64></A></TD>\n"
        "<TD ALIGN=RIGHT>0 x 0<BR>3,072 bytes</TD>\n" + nb +
        "<TD>Palletized<BR>1,024</TD>\n" + nb + "<TD>Texture<BR>Palette8<BR>2,048</TD>\n" + nb + nb + nb + nb + nb +
        nb + nb + nb +
        "</TR>\n"
        "<TR><TD><A HREF=img0002.png><IMG SRC=thumb0002.jpg WIDTH=64 HEIGHT=64></A></TD>\n"
        "<TD ALIGN=RIGHT>10 x 10<BR>400 bytes</TD>\n"
        "<TD>mBits<BR>400</TD>\n" + nb + nb + nb + nb + nb + "<TD>HasAlpha</TD>\n" + nb + nb + nb + nb +
        "<TD>images\\a&amp;b&lt;1&gt;.png</TD>\n"
        "</TR>\n"
        "<TD>Totals</TD>\n<TD>483,472</TD>\n<TD>240,400</TD>\n<TD>1,024</TD>\n<TD>240,000</TD>\n<TD>2,048</TD>\n" +
        nb + nb + nb + nb + "<TD>0</TD>\n<TD>0</TD>\n<TD>0</TD>\n" + nb + "</TABLE></CENTER></BODY></HTML>\n";
    EXPECT_EQ(dir.Read("_dump/imagelist.html"), expected);

    // Pictures for the two images with pixels; the empty one has none.
    EXPECT_EQ(w.calls, (std::vector<std::string>{"jpeg thumb0000.jpg 64x64", "png img0000.png 300x200",
                                                 "jpeg thumb0002.jpg 64x64", "png img0002.png 10x10"}));
    EXPECT_EQ(w.pixels[1], big.pixels());
}

TEST(ImageDump, GrandTotalPastTwoGigabytes)
{
    testsupport::TempDir dir;
    std::vector<ImageDumpEntry> images;
    for (int i = 0; i < 3; ++i) {
        ImageDumpEntry e;
        e.width = e.height = 20000;
        e.hasBits = e.hasSurface = true;
        images.push_back(e);
    }
    ASSERT_TRUE(ImageDump::Write(dir / "_dump", "t\n", images, nullptr, nullptr));
    const std::string html = dir.Read("_dump/imagelist.html");
    EXPECT_NE(html.find("Total Image Allocation: 9,600,000,000 bytes<BR>"), std::string::npos);
    EXPECT_NE(html.find("<TD ALIGN=RIGHT>20000 x 20000<BR>3,200,000,000 bytes</TD>"), std::string::npos);
}

TEST(ImageDump, DumpImagesOfTheApplication)
{
    plat::NullPlatform platform;
    testsupport::TempDir dir;
    SetAppDataFolder(dir.Path() + "/");
    Written w;
    gDebugToolHooks.writePng = w.Writer("png");
    gDebugToolHooks.listImages = [](ZelkAppBase&, std::vector<ImageDumpEntry>& images) {
        ImageDumpEntry e = TestImage(2, 2);
        e.hasBits = true;
        images.push_back(e);
    };
    {
        ZelkAppBase app;
        app.DumpImages();
    }
    gDebugToolHooks = DebugToolHooks();
    SetAppDataFolder("");

    const std::string html = dir.Read("_dump/imagelist.html");
    // The local time as asctime writes it, then the one row.
    EXPECT_TRUE(std::regex_search(html, std::regex("^<HTML><BODY BGCOLOR=EEEEFF><CENTER><FONT SIZE=\\+2><B>"
                                                   "[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9]\\d \\d\\d:\\d\\d:\\d\\d \\d{4}\n"
                                                   "</B></FONT><BR>\n")))
        << html;
    EXPECT_NE(html.find("<TD ALIGN=RIGHT>2 x 2<BR>16 bytes</TD>"), std::string::npos);
    EXPECT_EQ(w.calls, std::vector<std::string>{"png img0000.png 2x2"});
}
