#include "tests/framework/resources/FakePakInterface.h"
#include "tests/framework/resources/ImageTestSupport.h"
#include "tools/imagefixtures/FixturePattern.h"

using fixtures::PaletteColour;
using fixtures::PatternPixel;

namespace {

std::vector<std::string> Kinds(const std::string& base)
{
    std::vector<std::string> out;
    for (const char* ext : {".tga", ".jpg", ".png", ".gif", ".j2k", ".jp2"})
        out.push_back(base + ext);
    return out;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(ImageLibTest, NamesAreTriedByExtensionInTheFixedOrder)
{
    ImageLib::LoadJ2kCodec();
    ASSERT_NE(ImageLib::gJ2kCodecModule, nullptr);
    struct Case {
        std::string name;
        bool alpha;
        std::vector<std::string> opened;
    } cases[] = {
        {"logo", false, Kinds("logo")},
        {"logo.PNG", false, {"logo.png"}},
        {"logo.Jp2", false, {"logo.jp2"}},
        {"logo.jpeg", false, {}},
        {"logo.bmp", false, {}},
        {"data.old\\logo", false, Kinds("data.old\\logo")},
        {"img/a.b\\logo", true, Join({Kinds("img/a.b\\logo"), Kinds("img/a.b\\_logo"), Kinds("img/a.b\\logo_")})},
        {"img\\logo.png", true, {"img\\logo.png", "img\\_logo.png"}}, // "logo.png_" tries no reader
    };
    for (const Case& c : cases) {
        FakePakInterface pak;
        ASSERT_TRUE(pak.Publish());
        EXPECT_EQ(ImageLib::GetImage(c.name, c.alpha), nullptr);
        EXPECT_EQ(pak.opened, c.opened) << c.name;
    }

    // Without the codec the JPEG-2000 kinds open nothing.
    ImageLib::FreeJ2kCodec();
    FakePakInterface pak;
    ASSERT_TRUE(pak.Publish());
    ImageLib::gLoadAlphaImages = false;
    EXPECT_EQ(ImageLib::GetImage("logo"), nullptr);
    EXPECT_EQ(pak.opened, std::vector<std::string>({"logo.tga", "logo.jpg", "logo.png", "logo.gif"}));
}

TEST_F(ImageLibTest, AlphaImagesGiveTheAlphaChannelOrStandIn)
{
    const std::string rgba = ImageFixture("rgba.png"); // 5 x 4, the pattern
    const std::string mask = ImageFixture("mask.gif");  // 5 x 4, palette entry i at pixel i
    const std::string small = ImageFixture("transparent.gif"); // 2 x 2

    std::vector<uint32_t> pattern, merged, fromMask, maskPixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            uint32_t blue = PaletteColour(y * 5 + x) & 0xFF;
            pattern.push_back(PatternPixel(x, y));
            merged.push_back((PatternPixel(x, y) & 0xFFFFFF) | blue << 24);
            fromMask.push_back(blue << 24 | 0x123456);
            maskPixels.push_back(PaletteColour(y * 5 + x));
        }

    struct Case {
        std::vector<std::pair<std::string, std::string>> files;
        std::string name;
        std::vector<uint32_t> expect;
    } cases[] = {
        {{{"Images/Button.png", rgba}, {"Images/_button.gif", mask}}, "images\\button", merged},
        {{{"images/button.png", rgba}, {"images/_button.gif", small}}, "images\\button", pattern},
        {{{"images/shadow_.gif", mask}}, "images\\shadow", fromMask},
        {{{"images/_shadow.gif", mask}}, "images/shadow", fromMask},
        {{{"images/shadow.gif", mask}}, "images/shadow", maskPixels},
    };
    ImageLib::gAlphaImageColor = 0xFF123456; // only the colour bits count
    for (const Case& c : cases) {
        testsupport::TempDir files;
        for (const auto& f : c.files)
            files.Write(f.first, f.second);
        ImagePtr image(ImageLib::GetImage(files.Path() + "/" + c.name));
        ASSERT_NE(image, nullptr) << c.name;
        EXPECT_EQ(Pixels(image.get()), c.expect) << c.name;
    }

    // Switched off, the alpha image is not looked for.
    ImageLib::gLoadAlphaImages = false;
    dir.Write("_only.gif", mask);
    EXPECT_EQ(ImageLib::GetImage(dir / "only"), nullptr);
}

TEST_F(ImageLibTest, TargaReadsOnlyUncompressedTopDownTrueColour)
{
    const std::vector<uint32_t> px = {0x80102030, 0xFF405060, 0x00708090, 0x12345678, 0xFFFFFFFF, 0x00000001};
    struct Case {
        const char* what;
        std::string bytes;
        bool loads;
    } cases[] = {
        {"plain", Tga(2, 32, 0x28, 3, 2, px), true},
        {"image ID and colour map skipped", Tga(2, 32, 0x28, 3, 2, px, 7, 2), true},
        {"bottom-up", Tga(2, 32, 0x08, 3, 2, px), false},
        {"24 bits", Tga(2, 24, 0x28, 3, 2, px), false},
        {"run-length", Tga(10, 32, 0x28, 3, 2, px), false},
        {"colour-mapped", Tga(1, 32, 0x28, 3, 2, px), false},
        {"pixels cut short", Tga(2, 32, 0x28, 3, 2, px).substr(0, 18 + 5 * 4 + 2), false},
        {"colour map, no pixels", Tga(2, 32, 0x28, 3, 2, {}, 0, 40), false},
        {"header cut short", Tga(2, 32, 0x28, 3, 2, px).substr(0, 17), false},
        {"no pixels", Tga(2, 32, 0x28, 0, 2, {}), false},
        {"huge", Tga(2, 32, 0x28, 65535, 65535, px), false},
    };
    for (const Case& c : cases) {
        dir.Write("t.tga", c.bytes);
        ImagePtr image(ImageLib::GetImage(dir / "t", false));
        if (!c.loads) {
            EXPECT_EQ(image, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(image, nullptr) << c.what;
        EXPECT_EQ(image->mWidth, 3);
        EXPECT_EQ(image->mHeight, 2);
        EXPECT_EQ(Pixels(image.get()), px) << c.what;
    }
}

} // namespace
