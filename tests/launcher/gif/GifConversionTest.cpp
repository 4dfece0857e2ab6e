#include "GifBytes.h"
#include "launcher/gif/Clipboard.h"
#include "launcher/gif/ClipboardFormats.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/TGIFCommentExtension.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFSubImage.h"
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace GIFImage;
using giftest::ErrorOf;

namespace {

Palette Colours(int n)
{
    Palette p;
    for (int i = 0; i < n; ++i)
        p.Add(TGIFColor{uint8_t(i * 3), uint8_t(100 + i), uint8_t(255 - i)});
    return p;
}

std::vector<uint8_t> PixelsOf(const TGIFSubImage* f)
{
    return std::vector<uint8_t>(f->Data(), f->Data() + f->DataSize());
}

} // namespace

TEST(GifConversion, IndexedBitmapsKeepPaletteAndIndices)
{
    struct Case {
        TPixelFormat format;
        int width, colours;
    } cases[] = {{pf8bit, 4, 200}, {pf4bit, 3, 16}, {pf4bit, 5, 16}, {pf1bit, 5, 2}, {pf1bit, 11, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        Bitmap b(c.width, 2, c.format);
        b.SetPalette(Colours(c.colours));
        std::vector<uint8_t> expected;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < c.width; ++x) {
                int v = (x * 7 + y * 3) % c.colours;
                b.SetPixelIndex(x, y, v);
                expected.push_back(uint8_t(v));
            }
        TGIFImage image;
        TGIFSubImage* f = image.Images().SubImage(image.Add(b));
        EXPECT_EQ(PixelsOf(f), expected);
        ASSERT_EQ(f->ColorMap().Count(), c.colours);
        EXPECT_EQ(f->ColorMap().Data()[c.colours - 1], b.GetPalette().Entries.back());
    }
}

TEST(GifConversion, TrueColourGoesToTheWebPaletteByDefault)
{
    Bitmap b(6, 1, pf24bit);
    for (int x = 0; x < 6; ++x)
        b.SetPixelColor(x, 0, TGIFColor{uint8_t(51 * x), uint8_t(255 - 51 * x), 102});
    TGIFImage image;
    TGIFSubImage* f = image.Images().SubImage(image.Add(b));
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(f->Data()[x], 36 * x + 6 * (5 - x) + 2);
    ASSERT_EQ(f->ColorMap().Count(), 216);
    EXPECT_EQ(f->ColorMap().Data()[215], (TGIFColor{255, 255, 255}));
}

TEST(GifConversion, TrueColourWithoutReductionOverflowsPast256Colours)
{
    Bitmap b(257, 1, pf24bit);
    for (int x = 0; x < 257; ++x)
        b.SetPixelColor(x, 0, TGIFColor{uint8_t(x), uint8_t(x >> 8), 0});
    TGIFImage image;
    image.SetColorReduction(TColorReduction::rmNone);
    EXPECT_EQ(ErrorOf([&] { image.Add(b); }), "Color table overflow");
    Bitmap few(3, 1, pf24bit);
    few.SetPixelColor(1, 0, TGIFColor{9, 8, 7});
    TGIFSubImage* f = image.Images().SubImage(image.Add(few));
    EXPECT_EQ(PixelsOf(f), (std::vector<uint8_t>{0, 1, 0}));
    EXPECT_EQ(f->ColorMap().Data()[1], (TGIFColor{9, 8, 7}));
}

// A reduction to a given palette maps to the image's palette; an image
// without one refuses the picture instead of adding an empty frame.
TEST(GifConversion, ReductionToAGivenPaletteUsesTheImagesPalette)
{
    Bitmap b(4, 1, pf24bit);
    const TGIFColor colours[] = {{250, 10, 5}, {0, 0, 0}, {240, 250, 255}, {10, 5, 245}};
    for (int x = 0; x < 4; ++x)
        b.SetPixelColor(x, 0, colours[x]);
    Palette given;
    for (TGIFColor c : {TGIFColor{255, 255, 255}, TGIFColor{0, 0, 255}, TGIFColor{255, 0, 0}, TGIFColor{0, 0, 0}})
        given.Add(c);
    struct Case {
        const char* what;
        std::function<void(TGIFImage&)> prepare;
        std::string error;
    } cases[] = {
        {"no palette", [](TGIFImage&) {}, "No global or local color table defined"},
        {"the palette set", [&](TGIFImage& i) { i.SetPalette(std::make_shared<Palette>(given)); }, ""},
        {"the global table's",
         [&](TGIFImage& i) { i.GlobalColorMap().ImportColorMap(given.Entries.data(), given.Count()); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TGIFImage image;
        image.SetColorReduction(TColorReduction::rmPalette);
        c.prepare(image);
        int index = -1;
        EXPECT_EQ(ErrorOf([&] { index = image.Add(b); }), c.error);
        if (!c.error.empty()) {
            EXPECT_EQ(image.Images().Count(), 0);
            continue;
        }
        ASSERT_EQ(index, 0);
        const TGIFSubImage* f = image.Images().SubImage(0);
        EXPECT_EQ(f->Width(), 4);
        EXPECT_EQ(PixelsOf(f), (std::vector<uint8_t>{2, 3, 0, 1}));
        ASSERT_EQ(f->ColorMap().Count(), 4);
        EXPECT_EQ(f->ColorMap().Data()[1], (TGIFColor{0, 0, 255}));
        // What is written reads back as the same frame.
        TGIFImage copy;
        ASSERT_EQ(giftest::Load(copy, giftest::Save(image)).error, "");
        ASSERT_EQ(copy.Images().Count(), 1);
        EXPECT_EQ(PixelsOf(copy.Images().SubImage(0)), PixelsOf(f));
    }
}

TEST(GifConversion, IconBackgroundBecomesATransparentBlackEntryAtTheEnd)
{
    Icon icon;
    icon.Image = Bitmap(3, 1, pf24bit);
    icon.Image.SetPixelColor(0, 0, TGIFColor{255, 0, 0});
    icon.Image.SetPixelColor(1, 0, TGIFColor{0, 255, 0});
    icon.Mask = Bitmap(3, 1, pf1bit);
    icon.Mask.SetPixelIndex(2, 0, 1);
    TGIFImage image;
    TGIFSubImage* f = image.Images().SubImage(image.Add(icon));
    ASSERT_TRUE(f->Transparent());
    int t = f->GraphicControlExtension()->TransparentColorIndex();
    EXPECT_EQ(t, f->ColorMap().Count() - 1);
    EXPECT_EQ(f->ColorMap().Data()[t], (TGIFColor{0, 0, 0}));
    EXPECT_EQ(f->Data()[2], t);
    EXPECT_NE(f->Data()[0], t);
}

TEST(GifConversion, VectorPictureIsTransparentWhereItDrewNothing)
{
    struct Square : VectorPicture {
        int Width() const override { return 4; }
        int Height() const override { return 1; }
        void Draw(Bitmap& canvas) const override
        {
            canvas.SetPixelColor(1, 0, TGIFColor{255, 255, 255});
            canvas.SetPixelColor(2, 0, TGIFColor{0, 0, 0});
        }
    } square;
    TGIFImage image;
    TGIFSubImage* f = image.Images().SubImage(image.Add(square));
    ASSERT_TRUE(f->Transparent());
    int t = f->GraphicControlExtension()->TransparentColorIndex();
    EXPECT_EQ(f->Data()[0], t);
    EXPECT_EQ(f->Data()[3], t);
    EXPECT_NE(f->Data()[1], t);
    EXPECT_NE(f->Data()[2], t);
}

TEST(GifConversion, CopyTakesFramesAndExtensionsButNoHandlers)
{
    TGIFImage source;
    source.OnWarning = [](const void*, TGIFSeverity, const std::string&) {};
    source.OnProgress = [](const void*, TProgressStage, int, bool, const std::string&) {};
    Bitmap b(2, 1, pf8bit);
    b.SetPalette(Colours(2));
    b.SetPixelIndex(1, 0, 1);
    TGIFSubImage* f = source.Images().SubImage(source.Add(b));
    auto comment = std::make_unique<TGIFCommentExtension>(f);
    comment->Text() = {"kept"};
    f->Extensions().Add(std::move(comment));
    TGIFImage copy;
    copy.Assign(source);
    EXPECT_FALSE(copy.OnWarning);
    EXPECT_FALSE(copy.OnProgress);
    ASSERT_EQ(copy.Images().Count(), 1);
    TGIFSubImage* c = copy.Images().SubImage(0);
    EXPECT_EQ(PixelsOf(c), (std::vector<uint8_t>{0, 1}));
    auto* copied = dynamic_cast<TGIFCommentExtension*>(c->Extensions().Extension(0));
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, f->Extensions().Extension(0));
    EXPECT_EQ(copied->Text(), std::vector<std::string>{"kept"});
    EXPECT_EQ(copied->SubImage(), c);
}

TEST(GifConversion, AssignToABitmapGivesTheFramesAndTheImagesPictures)
{
    TGIFImage image;
    Bitmap b(3, 2, pf8bit);
    b.SetPalette(Colours(4));
    b.SetPixelIndex(1, 0, 2);
    Bitmap dest;
    image.AssignTo(dest);
    EXPECT_TRUE(dest.Empty()) << "an empty image";
    image.Add(b);
    image.Images().SubImage(0)->AssignTo(dest);
    ASSERT_EQ(dest.PixelFormat(), pf8bit);
    EXPECT_EQ(dest.PixelIndex(1, 0), 2);
    EXPECT_EQ(dest.GetPalette().Entries, b.GetPalette().Entries);
    image.AssignTo(dest);
    ASSERT_EQ(dest.Width(), 3);
    EXPECT_EQ(dest.PixelColor(1, 0), b.GetPalette().Entries[2]);
    EXPECT_FALSE(dest.OnChange) << "the copy reports to nobody";
}

TEST(GifConversion, ClipboardCarriesTheGifBytes)
{
    Clipboard clipboard;
    TGIFImage image;
    Bitmap b(3, 2, pf8bit);
    b.SetPalette(Colours(4));
    b.SetPixelIndex(2, 1, 3);
    image.Add(b);
    image.SaveToClipboardFormat(clipboard);
    EXPECT_GE(TGIFImage::ClipboardFormat(), 0xC000u);
    auto bytes = clipboard.Data(TGIFImage::ClipboardFormat());
    ASSERT_TRUE(bytes);
    std::string saved = giftest::Save(image);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), saved);
    // The bitmap half: the image as a picture, colours and all.
    auto picture = clipboard.GetBitmap();
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->Width(), 3);
    ASSERT_EQ(picture->Height(), 2);
    EXPECT_EQ(picture->PixelColor(2, 1), b.GetPalette().Entries[3]);
    EXPECT_EQ(picture->PixelColor(0, 0), b.GetPalette().Entries[0]);
    TGIFImage back;
    back.LoadFromClipboardFormat(TGIFImage::ClipboardFormat(), clipboard);
    EXPECT_EQ(PixelsOf(back.Images().SubImage(0)), PixelsOf(image.Images().SubImage(0)));
    EXPECT_EQ(ErrorOf([&] { back.LoadFromClipboardFormat(ClipboardFormats::Register("Other"), clipboard); }),
        "Unsupported clipboard format");
    clipboard.SetBitmap(b);
    back.LoadFromClipboardFormat(ClipboardFormats::kBitmap, clipboard);
    EXPECT_EQ(back.Images().SubImage(0)->Data()[5], 3);
}
