// The text device: rounding of sizes, the metrics of the faces the project
// installs (Liberation and DejaVu), the width rule and drawing into 32-bit and
// 16-bit targets.
#include "platform/text/FreeTypeTextDevice.h"
#include "platform/text/NullTextDevice.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

using namespace plat;

namespace {

std::unique_ptr<TextFont> Make(TextDevice& device, const char* face, int height, int weight = 400,
                               bool underline = false)
{
    TextFontDesc desc;
    desc.face = face;
    desc.height = height;
    desc.weight = weight;
    desc.underline = underline;
    return device.CreateFont(desc);
}

} // namespace

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero)
{
    struct {
        int a, b, c, want;
    } cases[] = {
        {12, 96, 72, 16},  {12, 120, 72, 20}, {10, 96, 72, 13}, {11, 96, 72, 15}, {1, 1, 2, 1},
        {-1, 1, 2, -1},    {3, -1, 2, -2},    {-3, -1, 2, 2},   {7, 3, -2, -11},  {0, 5, 3, 0},
        {5, 5, 0, -1},     {0x7FFFFFFF, 2, 1, -1},
    };
    for (auto& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.want) << c.a << " x " << c.b << " / " << c.c;
}

TEST(FreeTypeTextDevice, MetricsOfTheInstalledFaces)
{
    FreeTypeTextDevice device;
    struct {
        const char* face;
        int height, weight;
        const char* family;
        int ascent, descent, height_;
        int helloWidth; // "Hello, World!"
    } cases[] = {
        {"Liberation Sans", 16, 400, "Liberation Sans", 14, 3, 17, 92},
        {"Liberation Sans", 16, 700, "Liberation Sans", 14, 3, 17, 97},
        {"Liberation Sans", 12, 400, "Liberation Sans", 11, 3, 14, 70},
        {"liberation mono", 16, 400, "Liberation Mono", 13, 5, 18, 130},
        {"DejaVu Sans", 16, 400, "DejaVu Sans", 15, 4, 19, 103},
        {"DejaVu Sans", 20, 700, "DejaVu Sans", 19, 5, 24, 150},
    };
    for (auto& c : cases) {
        auto font = Make(device, c.face, c.height, c.weight);
        ASSERT_TRUE(font) << c.face;
        EXPECT_EQ(font->Family(), c.family);
        EXPECT_EQ(font->Metrics().ascent, c.ascent) << c.face << " " << c.height;
        EXPECT_EQ(font->Metrics().descent, c.descent) << c.face << " " << c.height;
        EXPECT_EQ(font->Metrics().height, c.height_) << c.face << " " << c.height;
        EXPECT_EQ(font->Extent(L"Hello, World!"), c.helloWidth) << c.face << " " << c.height;
    }
}

TEST(FreeTypeTextDevice, WindowsFaceNamesGetMetricCompatibleFaces)
{
    FreeTypeTextDevice device;
    struct {
        const char* asked;
        const char* compatible;
    } cases[] = {{"Arial", "Liberation Sans"}, {"Courier New", "Liberation Mono"}, {"Times New Roman", "Liberation Serif"}};
    for (auto& c : cases) {
        auto asked = Make(device, c.asked, 16), compatible = Make(device, c.compatible, 16);
        ASSERT_TRUE(asked && compatible) << c.asked;
        EXPECT_EQ(asked->Metrics().ascent, compatible->Metrics().ascent) << c.asked;
        EXPECT_EQ(asked->Metrics().height, compatible->Metrics().height) << c.asked;
    }
    // A face nobody has still gives a font; only an impossible size fails.
    for (const char* face : {"Arial Unicode MS", "Tahoma", "No Such Face At All", ""}) {
        auto font = Make(device, face, 16);
        ASSERT_TRUE(font) << face;
        EXPECT_GT(font->Metrics().height, 0) << face;
        EXPECT_GT(font->Extent(L"x"), 0) << face;
    }
    EXPECT_FALSE(Make(device, "Liberation Sans", 0));
    EXPECT_FALSE(Make(device, "Liberation Sans", -16));
}

TEST(FreeTypeTextDevice, WidthIsTheWidestLineAndMissingGlyphsMeasureZero)
{
    FreeTypeTextDevice device;
    auto font = Make(device, "Liberation Mono", 16); // every glyph advances 10
    ASSERT_TRUE(font);
    struct {
        const wchar_t* text;
        int width;
    } cases[] = {
        {L"", 0},          {L"abc", 30},       {L"ab\ncdef", 40}, {L"abcd\r\nxy", 40}, {L"ab\rcde\n", 30},
        // A private-use character no installed face has, not even a fallback.
        {L"\U0010FFFD", 0}, {L"a\U0010FFFD" L"b", 20}, {L"\t\x01", 0}, {L"\xE9\xDF", 20},
    };
    for (auto& c : cases)
        EXPECT_EQ(font->Extent(c.text), c.width) << testing::PrintToString(std::wstring(c.text));
    EXPECT_EQ(font->GetGlyph(0x10FFFD), nullptr);
}

TEST(TextTarget, BlendsInTheTargetsOwnLayout)
{
    struct {
        int depth;
        uint32_t r, g, b;
        uint32_t before, rgb;
        int coverage;
        uint32_t after;
    } cases[] = {
        {32, 0xFF0000, 0xFF00, 0xFF, 0x12000000, 0xFFFFFF, 255, 0x12FFFFFF}, // bits outside the masks stay
        {32, 0xFF0000, 0xFF00, 0xFF, 0x00FFFFFF, 0x000000, 128, 0x007F7F7F},
        {32, 0xFF0000, 0xFF00, 0xFF, 0x00000000, 0x204060, 128, 0x00102030},
        {16, 0xF800, 0x07E0, 0x001F, 0x0000, 0xFFFFFF, 255, 0xFFFF},
        {16, 0xF800, 0x07E0, 0x001F, 0x0000, 0xFFFFFF, 128, 0x8410},
        {16, 0x7C00, 0x03E0, 0x001F, 0x8000, 0xFF0000, 255, 0xFC00},          // 5-5-5 keeps its top bit
        {16, 0xF800, 0x07E0, 0x001F, 0xFFFF, 0x000000, 0, 0xFFFF},
    };
    for (auto& c : cases) {
        std::vector<uint8_t> bytes(3 * 16, 0xAB); // 3 rows, pitch 16 bytes, 2 pixels wide
        TextTarget t;
        t.pixels = bytes.data();
        t.pitch = 16;
        t.width = 2;
        t.height = 3;
        t.bitDepth = c.depth;
        t.redMask = c.r;
        t.greenMask = c.g;
        t.blueMask = c.b;
        int size = c.depth / 8;
        std::memcpy(&bytes[16 + size], &c.before, size_t(size));
        t.Blend(1, 1, c.rgb, c.coverage);
        uint32_t after = 0;
        std::memcpy(&after, &bytes[16 + size], size_t(size));
        EXPECT_EQ(after, c.after) << std::hex << c.before << " " << c.rgb << " " << std::dec << c.coverage;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (i < 16 + size_t(size) || i >= 16 + 2 * size_t(size)) {
                ASSERT_EQ(bytes[i], 0xAB) << "byte " << i << " outside the pixel changed";
            }
        }
    }
}

TEST(TextTarget, DrawingStaysInsideTargetAndClip)
{
    NullTextDevice device;
    auto font = Make(device, "Box", 16, 400, true); // boxes of 8 pixels advance
    ASSERT_TRUE(font);
    const int w = 40, h = 30;
    std::vector<uint32_t> px(size_t(w) * h, 0);
    TextTarget t = TextTarget::Bitmap32(px.data(), w, h);
    t.IntersectClip(4, 0, 20, 15);
    font->Draw(t, -3, 2, L"XXXXXX", 0xFFFFFF);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (px[size_t(y) * w + x] != 0) {
                EXPECT_TRUE(x >= 4 && x < 20 && y < 15) << x << "," << y;
            }
    // The underline runs under the whole text, one row below the baseline.
    std::vector<uint32_t> full(size_t(w) * h, 0);
    font->Draw(TextTarget::Bitmap32(full.data(), w, h), 0, 0, L"XX", 0xFFFFFF);
    for (int x = 0; x < w; ++x)
        EXPECT_EQ(full[size_t(17) * w + x], x < 16 ? 0xFFFFFFu : 0u) << x;
}
