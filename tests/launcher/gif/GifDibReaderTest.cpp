#include "launcher/gif/BitmapFileImage.h"
#include "tests/launcher/gif/BitmapPattern.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/TDIBReader.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>

using namespace GIFImage;

namespace {

void ExpectSamePixels(const Bitmap& a, const Bitmap& b)
{
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.PixelColor(x, y), b.PixelColor(x, y)) << x << "," << y;
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(v >> (8 * i));
}

// The text of the GIFException a load raises, or "" when it loads.
std::string LoadError(const std::vector<uint8_t>& bytes)
{
    try {
        LoadBitmapFileImage(bytes.data(), bytes.size());
    } catch (const GIFException& e) {
        return e.what();
    }
    return "";
}

// Field offsets of a file image: file header, then the information header.
constexpr size_t kPixelOffset = 10, kInfoSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26, kBits = 28,
                 kCompression = 30, kColorsUsed = 46, kTable = 54;

} // namespace

TEST(GifDibReader, FileImagesOfEveryDepthLoadBack)
{
    struct Case {
        TPixelFormat format;
        int width, height, colours;
    };
    // Odd widths leave padding inside the last byte and at the row's end.
    for (const Case& c : {Case{pf1bit, 9, 3, 2}, Case{pf4bit, 5, 4, 16}, Case{pf8bit, 7, 2, 5},
                          Case{pf24bit, 3, 3, 0}, Case{pf32bit, 1, 5, 0}}) {
        SCOPED_TRACE(Bitmap::BitsOf(c.format));
        const Bitmap original = fixtures::BitmapPattern(c.width, c.height, c.format, c.colours);
        const std::vector<uint8_t> bytes = SaveBitmapFileImage(original);
        // Rows padded to 32 bits, colour table of the palette's entries.
        const size_t stride = (size_t(c.width) * Bitmap::BitsOf(c.format) + 31) / 32 * 4;
        EXPECT_EQ(bytes.size(), kTable + 4 * size_t(c.colours) + stride * size_t(c.height));
        const Bitmap loaded = LoadBitmapFileImage(bytes.data(), bytes.size());
        EXPECT_EQ(loaded.PixelFormat(), c.format);
        EXPECT_EQ(loaded.GetPalette(), original.GetPalette());
        ExpectSamePixels(loaded, original);
    }
}

TEST(GifDibReader, NegativeHeightStoresRowsTopDown)
{
    std::vector<uint8_t> bytes = SaveBitmapFileImage(fixtures::BitmapPattern(4, 3, pf8bit, 12));
    const Bitmap bottomUp = LoadBitmapFileImage(bytes.data(), bytes.size());
    Put32(bytes, kHeight, uint32_t(-3));
    const Bitmap topDown = LoadBitmapFileImage(bytes.data(), bytes.size());
    ASSERT_EQ(topDown.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(topDown.PixelIndex(x, y), bottomUp.PixelIndex(x, 2 - y));
}

TEST(GifDibReader, DamagedHeadersRaiseBeforeReadingOrAllocating)
{
    // 3 x 2, 8 bits, 4 colours: a 54-byte header, 16 bytes of table and two
    // rows of 4 bytes.
    const std::vector<uint8_t> good = SaveBitmapFileImage(fixtures::BitmapPattern(3, 2, pf8bit, 4));
    ASSERT_EQ(good.size(), 78u);
    using Edit = std::function<void(std::vector<uint8_t>&)>;
    auto set32 = [](size_t at, uint32_t v) -> Edit { return [=](std::vector<uint8_t>& b) { Put32(b, at, v); }; };
    auto set16 = [](size_t at, uint16_t v) -> Edit {
        return [=](std::vector<uint8_t>& b) {
            b[at] = uint8_t(v);
            b[at + 1] = uint8_t(v >> 8);
        };
    };
    auto cut = [](size_t size) -> Edit { return [=](std::vector<uint8_t>& b) { b.resize(size); }; };
    struct Case {
        const char* what;
        Edit edit;
        const char* error;
    };
    const Case cases[] = {
        {"intact", [](std::vector<uint8_t>&) {}, ""},
        {"empty", cut(0), Msg::kPrematureEnd},
        {"headers cut", cut(53), Msg::kPrematureEnd},
        {"last pixel byte cut", cut(77), Msg::kPrematureEnd},
        {"colour table cut", cut(60), Msg::kPrematureEnd},
        {"signature", [](std::vector<uint8_t>& b) { b[1] = 'A'; }, Msg::kInvalidData},
        {"information header of 12 bytes", set32(kInfoSize, 12), Msg::kInvalidData},
        {"information header past the end", set32(kInfoSize, 0xFFFFFFF0u), Msg::kPrematureEnd},
        {"two planes", set16(kPlanes, 2), Msg::kInvalidData},
        {"16 bits", set16(kBits, 16), Msg::kUnsupportedPixelFormat},
        {"0 bits", set16(kBits, 0), Msg::kUnsupportedPixelFormat},
        {"run-length compressed", set32(kCompression, 1), Msg::kUnsupportedPixelFormat},
        {"width 0", set32(kWidth, 0), Msg::kInvalidDimensions},
        {"negative width", set32(kWidth, uint32_t(-3)), Msg::kInvalidDimensions},
        {"height 0", set32(kHeight, 0), Msg::kInvalidDimensions},
        {"most negative height", set32(kHeight, 0x80000000u), Msg::kInvalidDimensions},
        {"65535 x 65535", [](std::vector<uint8_t>& b) { Put32(b, kWidth, 65535); Put32(b, kHeight, 65535); },
         Msg::kInvalidDimensions},
        {"one row over the frame limit", [](std::vector<uint8_t>& b) { Put32(b, kWidth, 2048); Put32(b, kHeight, 2049); },
         Msg::kInvalidDimensions},
        {"at the frame limit but no pixels", [](std::vector<uint8_t>& b) { Put32(b, kWidth, 2048); Put32(b, kHeight, 2048); },
         Msg::kPrematureEnd},
        {"row size past 32 bits", [](std::vector<uint8_t>& b) { Put32(b, kWidth, 0x7FFFFFFF); Put32(b, kHeight, 1); },
         Msg::kInvalidDimensions},
        {"more colours than 8 bits hold", set32(kColorsUsed, 257), Msg::kInvalidData},
        {"all 256 colours listed, table past the end", set32(kColorsUsed, 0), Msg::kPrematureEnd},
        {"pixels inside the colour table", set32(kPixelOffset, kTable + 8), Msg::kInvalidData},
        {"pixels far past the end", set32(kPixelOffset, 0xFFFFFFFFu), Msg::kPrematureEnd},
        {"pixels one byte late", set32(kPixelOffset, kTable + 17), Msg::kPrematureEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        c.edit(bytes);
        EXPECT_EQ(LoadError(bytes), c.error);
    }
}

TEST(GifDibReader, SwitchesTheBitmapAndHandsOutItsRows)
{
    Bitmap picture = fixtures::BitmapPattern(5, 3, pf4bit, 16);
    const Bitmap original = picture;
    {
        TDIBReader reader(picture, pf8bit);
        EXPECT_EQ(picture.PixelFormat(), pf8bit);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(reader.ScanLine(y)[x], original.PixelIndex(x, y));
        EXPECT_EQ(reader.ScanLine(2), picture.ScanLine(2));
    }
    TDIBReader colour(picture, pf24bit);
    ExpectSamePixels(picture, original);
    const uint8_t* row = colour.ScanLine(1);
    const TGIFColor expected = original.PixelColor(2, 1);
    EXPECT_EQ((TGIFColor{row[8], row[7], row[6]}), expected);
}

TEST(GifDibReader, RefusesWhatWouldLoseOrInventPixels)
{
    struct Case {
        const char* what;
        Bitmap picture;
        TPixelFormat format;
        const char* error;
    };
    Bitmap few = fixtures::BitmapPattern(4, 2, pf8bit, 16);
    Bitmap many = fixtures::BitmapPattern(4, 2, pf8bit, 16);
    many.SetPixelIndex(3, 1, 200);
    const Case cases[] = {
        {"16 bits", fixtures::BitmapPattern(2, 2, pf24bit, 0), pf16bit, Msg::kUnsupportedPixelFormat},
        {"colours to indices", fixtures::BitmapPattern(2, 2, pf24bit, 0), pf8bit, Msg::kUnsupportedPixelFormat},
        {"index 200 into 4 bits", many, pf4bit, Msg::kUnsupportedPixelFormat},
        {"indices below 16 into 4 bits", few, pf4bit, ""},
        {"indices below 2 into 1 bit", fixtures::BitmapPattern(9, 2, pf4bit, 2), pf1bit, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bitmap picture = c.picture;
        std::string error;
        try {
            TDIBReader reader(picture, c.format);
        } catch (const GIFException& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error);
        // Refused or not, the picture shows the same colours.
        ExpectSamePixels(picture, c.picture);
    }
}

TEST(GifDibReader, ScanLinesOutsideThePictureRaise)
{
    Bitmap picture = fixtures::BitmapPattern(2, 2, pf8bit, 4);
    TDIBReader reader(picture, pf8bit);
    for (int n : {-1, 2, 1 << 30}) {
        try {
            reader.ScanLine(n);
            ADD_FAILURE() << n;
        } catch (const GraphicError& e) {
            EXPECT_STREQ(e.what(), Msg::kScanLineRange);
        }
    }
    Bitmap empty;
    TDIBReader none(empty, pf24bit);
    try {
        none.ScanLine(0);
        ADD_FAILURE();
    } catch (const GraphicError& e) {
        EXPECT_STREQ(e.what(), Msg::kNoDIB);
    }
}
