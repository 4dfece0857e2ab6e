// Image fonts built from small descriptions over a generated glyph image:
// 'a', 'b' and 'c' are 4 x 6 cells of one colour each in a 12 x 6 image.
#include "FontTestSupport.h"

#include "framework/app/StringUtil.h"
#include "framework/fonts/FontData.h"
#include "framework/fonts/ImageFont.h"
#include "framework/fonts/TextRenderPool.h"
#include "framework/graphics/Graphics.h"

#include <cstdlib>
#include <future>
#include <gtest/gtest.h>

using namespace Zelk;
using namespace fonttest;

namespace {

const uint32_t kA = 0xFFFFFFFF, kB = 0xFF80FF80, kC = 0xFF8080FF;

// Channels within tol of each other (stretching and modulating lose a little).
bool Near(uint32_t a, uint32_t b, int tol)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tol)
            return false;
    return true;
}

const wchar_t* const kMain = L"SetDefaultPointSize 12;\n"
                             L"Define Chars ('a' 'b' 'c');\n"
                             L"Define Cells ((0 0 4 6) (4 0 4 6) (8 0 4 6));\n"
                             L"CreateLayer Main;\n"
                             L"LayerSetImage Main 'glyphs.png';\n"
                             L"LayerSetImageMap Main Chars Cells;\n"
                             L"LayerSetCharWidths Main Chars (5 5 5);\n"
                             L"LayerSetAscent Main 6;\n"
                             L"LayerSetPointSize Main 12;\n";

class ImageFontTest : public ::testing::Test {
protected:
    ImageFontTest()
    {
        std::vector<uint32_t> px(12 * 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 12; ++x)
                px[size_t(y) * 12 + x] = x < 4 ? kA : x < 8 ? kB : kC;
        auto image = std::make_unique<MemoryImage>(nullptr);
        image->SetBits(px.data(), 12, 6);
        images.Add(dir / "glyphs.png", std::move(image));
    }

    std::unique_ptr<ImageFont> MakeFont(const std::wstring& text)
    {
        static int count = 0;
        std::string name = "font" + std::to_string(++count) + ".txt";
        dir.Write(name, Utf16(text));
        return std::make_unique<ImageFont>(&test.app, dir / name);
    }
    // The records the last drawing queued, in drawing order.
    static std::vector<TextRenderRecord> Queued()
    {
        std::vector<TextRenderRecord> out;
        gTextRenderPool.Each([&](const TextRenderRecord& r) { out.push_back(r); });
        return out;
    }

    TestApp test;
    testsupport::TempDir dir;
    TestImages images;
};

} // namespace

TEST_F(ImageFontTest, LayersFollowPointSizeAndTags)
{
    auto font = MakeFont(std::wstring(kMain) + L"CreateLayer Range; LayerPointRange Range 10 20;\n"
                                           L"CreateLayer Open; LayerPointRange Open 10 -1;\n"
                                           L"CreateLayer Bold; LayerRequireTags Bold ('BOLD');\n"
                                           L"CreateLayer Plain; LayerExcludeTags Plain ('bold');\n");
    ASSERT_TRUE(font->mFontData->mInitialized);
    EXPECT_EQ(font->GetDefaultPointSize(), 12);
    EXPECT_EQ(font->GetPointSize(), 12);
    using Names = std::vector<std::string>;
    struct {
        int pointSize;
        Names active;
    } sizes[] = {
        {9, {"MAIN", "PLAIN"}},
        {10, {"MAIN", "RANGE", "OPEN", "PLAIN"}},
        {20, {"MAIN", "RANGE", "OPEN", "PLAIN"}},
        {21, {"MAIN", "OPEN", "PLAIN"}},
        {100, {"MAIN", "OPEN", "PLAIN"}},
    };
    for (auto& c : sizes) {
        font->SetPointSize(c.pointSize);
        EXPECT_EQ(ActiveLayerNames(*font), c.active) << c.pointSize;
    }
    font->SetPointSize(9);
    EXPECT_TRUE(font->AddTag("bold"));
    EXPECT_TRUE(font->HasTag("BoLd"));
    EXPECT_FALSE(font->AddTag("BOLD"));
    EXPECT_EQ(ActiveLayerNames(*font), (Names{"MAIN", "BOLD"}));
    EXPECT_TRUE(font->RemoveTag("Bold"));
    EXPECT_FALSE(font->HasTag("bold"));
    EXPECT_FALSE(font->RemoveTag("bold"));
    EXPECT_EQ(ActiveLayerNames(*font), (Names{"MAIN", "PLAIN"}));
}

TEST_F(ImageFontTest, ScaledLayersScaleCellsMetricsAndAdvancesAlike)
{
    struct {
        int pointSize;
        double scale;
        int cellW, cellH, advance, ascent, height;
        bool ownImage;
    } cases[] = {
        {12, 1.0, 4, 6, 5, 6, 6, false},
        {24, 1.0, 8, 12, 10, 12, 12, true},
        {18, 1.0, 6, 9, 7, 9, 9, true},  // 1.5, truncated
        {12, 2.0, 8, 12, 10, 12, 12, true},
        {6, 1.0, 2, 3, 2, 3, 3, true},
    };
    for (auto& c : cases) {
        auto font = MakeFont(kMain);
        font->SetPointSize(c.pointSize);
        font->SetScale(c.scale);
        // The metrics are those of the new size at once.
        EXPECT_EQ(font->GetAscent(), c.ascent) << c.pointSize << " x " << c.scale;
        EXPECT_EQ(font->GetHeight(), c.height);
        EXPECT_EQ(font->GetLineSpacing(), c.height);
        EXPECT_EQ(font->CharWidth(L'b'), c.advance);
        ASSERT_EQ(font->mActiveLayerList.size(), 1u);
        ActiveFontLayer& active = font->mActiveLayerList.front();
        EXPECT_EQ(active.mOwnsImage, c.ownImage);
        EXPECT_EQ(active.Cell(L'b'), Rect(c.ownImage ? c.cellW : 4, 0, c.cellW, c.cellH));
        EXPECT_EQ(active.mScaledImage->mWidth, c.ownImage ? 3 * c.cellW : 12);

        auto canvas = Filled(80, 40, 0xFF000000);
        Graphics g(canvas.get());
        std::vector<Rect> rects;
        int width = 0;
        font->DrawStringTagged(&g, 10, 20, L"abc", Color::White, Rect(), &rects, &width);
        EXPECT_EQ(width, 3 * c.advance);
        EXPECT_EQ(width, font->StringWidth(L"abc"));
        ASSERT_EQ(rects.size(), 3u);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(rects[size_t(i)], Rect(10 + i * c.advance, 20 - c.ascent, c.cellW, c.cellH));
        // The middle of each scaled glyph keeps its colour.
        uint32_t middle = Pixels(*canvas)[size_t(20 - c.ascent + c.cellH / 2) * 80 + 10 + c.advance + c.cellW / 2];
        EXPECT_TRUE(Near(middle, kB, 1)) << std::hex << middle;
    }
}

TEST_F(ImageFontTest, SizesOfZeroOrLessDrawAndMeasureNothing)
{
    struct {
        int pointSize;
        double scale;
        const wchar_t* layerPointSize;
    } cases[] = {
        {12, 0.0, L"12"}, {12, -1.0, L"12"}, {0, 1.0, L"12"}, {-6, 1.0, L"12"}, {12, 1.0, L"-12"},
        {12, -2.0, L"0"}, {12, 2000.0, L"12"}, {12, 1e300, L"12"},
    };
    for (auto& c : cases) {
        auto font = MakeFont(std::wstring(kMain) + L"LayerSetPointSize Main " + c.layerPointSize + L";");
        font->SetPointSize(c.pointSize);
        font->SetScale(c.scale);
        auto canvas = Filled(40, 20, 0xFF000000);
        Graphics g(canvas.get());
        int width = -1;
        std::vector<Rect> rects;
        font->DrawStringTagged(&g, 2, 10, L"abc", Color::White, Rect(), &rects, &width);
        bool huge = c.scale > 100;
        EXPECT_EQ(font->mActiveLayerList.empty(), !huge) << c.pointSize << " " << c.scale;
        if (huge) {
            // Glyphs scaled beyond any screen: no image is made, nothing drawn.
            EXPECT_EQ(font->mActiveLayerList.front().mScaledImage->mWidth, 0);
            for (const Rect& r : rects)
                EXPECT_EQ(r.mWidth, 0);
            for (uint32_t p : Pixels(*canvas))
                ASSERT_EQ(p, 0xFF000000u);
            continue;
        }
        EXPECT_EQ(width, 0);
        EXPECT_EQ(font->StringWidth(L"abc"), 0);
        EXPECT_TRUE(rects.empty());
        EXPECT_EQ(font->GetHeight(), 0);
        for (uint32_t p : Pixels(*canvas))
            ASSERT_EQ(p, 0xFF000000u);
    }
}

TEST_F(ImageFontTest, HigherOrdersCoverLaterCharacters)
{
    // "Top" is a black copy of "Main" 3 pixels to the right: at x = 15 Main's
    // 'b' (columns 15..18) meets Top's 'a' (13..16), at x = 18 Top's 'b'
    // (18..21).
    const std::wstring layers =
        std::wstring(kMain) + L"CreateLayerFrom Top Main; LayerSetOffset Top (3 0); LayerSetColorMult Top 0xFF000000;\n";
    const uint32_t black = 0xFF000000;
    struct {
        const wchar_t* orders;
        uint32_t at15, at18;
    } cases[] = {
        {L"LayerSetBaseOrder Top 1;", black, black}, // all of Top over all of Main
        {L"LayerSetBaseOrder Main 1;", kB, kB},
        {L"", kB, black}, // equal orders: text order, the layers of a character in turn
        {L"LayerSetCharOrders Top ('a') (5);", black, black},
    };
    for (auto& c : cases) {
        auto font = MakeFont(layers + c.orders);
        auto canvas = Filled(40, 20, 0xFF303030);
        Graphics g(canvas.get());
        font->DrawString(&g, 10, 10, L"ab", Color::White, Rect());
        auto px = Pixels(*canvas);
        EXPECT_EQ(px[size_t(6) * 40 + 15], c.at15) << WStringToString(c.orders);
        EXPECT_EQ(px[size_t(6) * 40 + 18], c.at18) << WStringToString(c.orders);
    }
}

TEST_F(ImageFontTest, LayerColourMultipliesAddsAndClamps)
{
    struct {
        const wchar_t* mult;
        const wchar_t* add;
        Color text, queued;
    } cases[] = {
        {L"(1 0 0 1)", L"0", {200, 200, 200, 255}, {200, 0, 0, 255}},
        {L"0xFFFFFFFF", L"(0.5 0 0 0)", {200, 10, 10, 255}, {255, 10, 10, 255}},
        {L"(-1 1 1 1)", L"0", {200, 10, 10, 128}, {0, 10, 10, 128}},
        {L"0xFFFFFFFF", L"(0 -1 0 0)", {200, 10, 10, 128}, {200, 0, 10, 128}},
        {L"(0.5 0.5 0.5 0.5)", L"0x01020304", {100, 100, 100, 100}, {51, 52, 53, 50}},
    };
    for (auto& c : cases) {
        auto font = MakeFont(std::wstring(kMain) + L"LayerSetColorMult Main " + c.mult + L";LayerSetColorAdd Main " +
                         c.add + L";");
        ASSERT_TRUE(font->mFontData->mInitialized) << WStringToString(c.mult);
        auto canvas = Filled(20, 20, 0xFF000000);
        Graphics g(canvas.get());
        g.SetColor(Color(1, 2, 3, 4));
        font->DrawString(&g, 2, 10, L"a", c.text, Rect());
        auto queued = Queued();
        ASSERT_EQ(queued.size(), 1u);
        EXPECT_EQ(queued[0].mColor, c.queued) << WStringToString(c.mult) << " + " << WStringToString(c.add);
        EXPECT_EQ(g.GetColor(), Color(1, 2, 3, 4)); // restored
    }
    // Drawn: the glyph image modulated by the queued colour, as Graphics
    // draws it.
    auto font = MakeFont(std::wstring(kMain) + L"LayerSetColorMult Main (1 0 0 1);");
    auto canvas = Filled(20, 20, 0xFF000000), reference = Filled(20, 20, 0xFF000000);
    Graphics g(canvas.get());
    font->DrawString(&g, 2, 10, L"a", Color(200, 200, 200), Rect());
    Graphics r(reference.get());
    r.SetModulateImages(true);
    r.SetColor(Color(200, 0, 0));
    r.DrawImageRegion(font->mActiveLayerList.front().mScaledImage, 2, 4, Rect(0, 0, 4, 6));
    EXPECT_EQ(Pixels(*canvas), Pixels(*reference));
    EXPECT_NE(Pixels(*canvas)[size_t(6) * 20 + 3], 0xFF000000u);
}

TEST_F(ImageFontTest, KerningSpacingAndWidths)
{
    auto font = MakeFont(std::wstring(kMain) + L"LayerSetKerningPairs Main ('ab' 'bc' 'ca') (254 200 3);\n"
                                           L"LayerSetSpacing Main 1;");
    ASSERT_TRUE(font->mFontData->mInitialized);
    EXPECT_EQ(font->CharWidthKerned(L'b', L'a'), 5 + 1 - 2); // 254 is -2
    EXPECT_EQ(font->CharWidthKerned(L'c', L'b'), 0);         // 200 is -56: never below 0
    EXPECT_EQ(font->CharWidthKerned(L'a', L'c'), 5 + 1 + 3);
    EXPECT_EQ(font->CharWidthKerned(L'a', 0), 5);
    EXPECT_EQ(font->CharWidth(L'z'), 0);
    EXPECT_EQ(font->mFontData->mFontLayerList.front().mGlyphs.Find(L'z'), nullptr) << "measuring inserts nothing";

    struct {
        const wchar_t* text;
        int width;
    } cases[] = {{L"", 0}, {L"a", 5}, {L"ab", 5 + 4}, {L"aa", 11}, {L"cab", 5 + 9 + 4}, {L"zz", 1}};
    for (auto& c : cases) {
        EXPECT_EQ(font->StringWidth(c.text), c.width) << WStringToString(c.text);
        Graphics g(nullptr);
        int drawn = -1;
        font->DrawStringTagged(&g, 7, 10, c.text, Color::White, Rect(), nullptr, &drawn);
        EXPECT_EQ(drawn, c.width) << WStringToString(c.text);
    }
    // Text order of the pen: 'b' after 'a' starts at 5 + 1 - 2.
    std::vector<Rect> rects;
    Graphics g(nullptr);
    font->DrawStringTagged(&g, 0, 10, L"ab", Color::White, Rect(), &rects, nullptr);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[1].mX, 4);
}

TEST_F(ImageFontTest, ThePoolHolds4096GlyphDrawsPerCall)
{
    struct {
        const wchar_t* extra;
        size_t length;
        size_t rects;
        int width;
    } cases[] = {
        {L"", 4096, 4096, 4096 * 5},
        {L"", 4097, 4096, 4096 * 5}, // the last character neither draws nor advances
        // Three layers: 1365 whole characters, then the pool ends after the
        // first layer of the 1366th, which still advances.
        {L"CreateLayerFrom Second Main;CreateLayerFrom Third Main;", 1400, 4096, 1366 * 5},
    };
    for (auto& c : cases) {
        auto font = MakeFont(std::wstring(kMain) + c.extra);
        Graphics g(nullptr);
        std::vector<Rect> rects;
        int width = 0;
        font->DrawStringTagged(&g, 0, 10, std::wstring(c.length, L'a'), Color::White, Rect(), &rects, &width);
        EXPECT_EQ(rects.size(), c.rects) << c.length;
        EXPECT_EQ(width, c.width) << c.length;
        EXPECT_EQ(gTextRenderPool.Used(), int(c.rects));
    }
}

namespace {

// An image whose blits ask another thread whether it can take the
// image-font lock.
class LockProbe : public Image {
public:
    LockProbe()
    {
        mWidth = 40;
        mHeight = 20;
    }
    void Blit(Image*, int, int, const Rect&, const Color&, int) override
    {
        ++blits;
        otherThreadGotLock = std::async(std::launch::async, [] {
                                 bool got = gImageFontLock.TryEnter();
                                 if (got)
                                     gImageFontLock.Leave();
                                 return got;
                             }).get();
    }
    int blits = 0;
    bool otherThreadGotLock = true;
};

} // namespace

TEST_F(ImageFontTest, DrawingHoldsTheImageFontLockAndRestoresTheGraphics)
{
    auto font = MakeFont(std::wstring(kMain) + L"LayerSetDrawMode Main 1;");
    LockProbe probe;
    Graphics g(&probe);
    g.SetDrawMode(0);
    g.SetModulateImages(false);
    font->DrawString(&g, 0, 10, L"a", Color::White, Rect());
    EXPECT_EQ(probe.blits, 1);
    EXPECT_FALSE(probe.otherThreadGotLock);
    EXPECT_EQ(Queued().at(0).mDrawMode, 1);
    EXPECT_EQ(g.GetDrawMode(), 0);
    EXPECT_FALSE(g.mModulateImages);
    EXPECT_TRUE(gImageFontLock.TryEnter()) << "released after drawing";
    gImageFontLock.Leave();
}

TEST_F(ImageFontTest, CopiesShareTheDescriptionAndOwnTheirScaledImages)
{
    auto font = MakeFont(kMain);
    font->SetPointSize(24);
    font->AddTag("x");
    font->Prepare();
    std::unique_ptr<ImageFont> copy(static_cast<ImageFont*>(font->Duplicate()));
    EXPECT_EQ(copy->mFontData, font->mFontData);
    EXPECT_EQ(font->mFontData->mRefCount, 2);
    EXPECT_EQ(copy->GetPointSize(), 24);
    EXPECT_TRUE(copy->HasTag("X"));
    EXPECT_EQ(copy->GetHeight(), 12);
    ASSERT_EQ(copy->mActiveLayerList.size(), 1u);
    Image* mine = font->mActiveLayerList.front().mScaledImage;
    Image* theirs = copy->mActiveLayerList.front().mScaledImage;
    EXPECT_NE(mine, theirs);
    EXPECT_TRUE(copy->mActiveLayerList.front().mOwnsImage);
    font.reset();
    EXPECT_EQ(copy->mFontData->mRefCount, 1);
    auto canvas = Filled(40, 20, 0xFF000000);
    Graphics g(canvas.get());
    copy->DrawString(&g, 0, 15, L"c", Color::White, Rect());
    EXPECT_TRUE(Near(Pixels(*canvas)[size_t(10) * 40 + 4], kC, 2));

    // Unscaled layers share the description's image.
    auto plain = MakeFont(kMain);
    std::unique_ptr<Zelk::Font> plainCopy(plain->Duplicate());
    EXPECT_EQ(static_cast<ImageFont*>(plainCopy.get())->mActiveLayerList.front().mScaledImage,
              plain->mActiveLayerList.front().mScaledImage);
}

TEST_F(ImageFontTest, AFailedDescriptionGivesAnEmptyFont)
{
    auto font = MakeFont(std::wstring(kMain) + L"Frobnicate;");
    EXPECT_FALSE(font->mFontData->mInitialized);
    EXPECT_EQ(test.Boxes().size(), 1u);
    EXPECT_TRUE(font->mActiveLayerList.empty());
    EXPECT_EQ(font->StringWidth(L"abc"), 0);
    EXPECT_EQ(font->GetHeight(), 0);
    auto canvas = Filled(20, 20, 0xFF000000);
    Graphics g(canvas.get());
    std::vector<Rect> rects{Rect(1, 1, 1, 1)};
    int width = -1;
    font->DrawStringTagged(&g, 2, 10, L"abc", Color::White, Rect(), &rects, &width);
    EXPECT_EQ(width, 0);
    EXPECT_TRUE(rects.empty());
    for (uint32_t p : Pixels(*canvas))
        ASSERT_EQ(p, 0xFF000000u);

    auto missing = std::make_unique<ImageFont>(&test.app, dir / "nothing-here.txt");
    EXPECT_EQ(missing->StringWidth(L"abc"), 0);
}
