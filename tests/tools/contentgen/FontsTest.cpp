// The baked image fonts, loaded through the framework's font description
// parser and layer image loader as the game loads them.
#include "assets/Assets.h"
#include "fonts/GlyphSheet.h"

#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/fonts/FontData.h"
#include "framework/fonts/ImageFont.h"
#include "framework/graphics/MemoryImage.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace contentgen;

namespace {

std::string DiskPath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

class BakedFonts : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sDir = new testsupport::TempDir;
        sFiles = new std::map<std::string, std::vector<uint8_t>>;
        for (OutFile& f : BakeFonts()) {
            sDir->Write(DiskPath(f.path), std::string(f.bytes.begin(), f.bytes.end()));
            (*sFiles)[f.path] = std::move(f.bytes);
        }
    }
    static void TearDownTestSuite()
    {
        delete sDir;
        delete sFiles;
    }
    static testsupport::TempDir* sDir;
    static std::map<std::string, std::vector<uint8_t>>* sFiles;

    plat::NullPlatform platform;
    Zelk::ZelkAppBase app;
};
testsupport::TempDir* BakedFonts::sDir = nullptr;
std::map<std::string, std::vector<uint8_t>>* BakedFonts::sFiles = nullptr;

} // namespace

// Every description loads without an error box, with the layers it plans,
// each with its glyph picture; every glyph of the set has a rectangle inside
// that picture, and the letters have ink there.
TEST_F(BakedFonts, EveryDescriptionLoadsWithItsLayers)
{
    const struct {
        const char* file;
        int pointSize;
        std::vector<std::string> layers;
    } kCases[] = {
        {"title", 30, {"FILL", "OUTLINE", "SHADOW", "GLOW"}},
        {"big", 24, {"FILL", "OUTLINE"}},
        {"button", 17, {"MAIN"}},
        {"button_outline", 17, {"MAIN"}},
        {"button_shadow", 17, {"MAIN"}},
        {"text", 15, {"FILL"}},
        {"hud", 16, {"SMALL", "LARGE"}},
        {"popup", 20, {"MAIN"}},
        {"popup_outline", 20, {"MAIN"}},
        {"tiny", 10, {"PLAIN", "OUTLINE", "OUTLINE_FILL"}},
    };
    size_t descriptions = 0;
    for (const auto& f : *sFiles)
        descriptions += f.first.size() > 4 && f.first.substr(f.first.size() - 4) == ".txt";
    EXPECT_EQ(descriptions, std::size(kCases));

    for (const auto& c : kCases) {
        SCOPED_TRACE(c.file);
        std::string name = std::string("fonts\\") + c.file + ".txt";
        ASSERT_EQ(sFiles->count(name), 1u);
        const std::vector<uint8_t>& bytes = (*sFiles)[name];
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_FALSE(bytes[0] == 0xFF && bytes[1] == 0xFE) << "font descriptions carry no byte-order mark";

        platform.messageBoxes.Clear();
        Zelk::ImageFont font(&app, *sDir / DiskPath(name));
        for (auto& shown : platform.messageBoxes.Log())
            ADD_FAILURE() << Zelk::WStringToString(shown.text);
        ASSERT_TRUE(font.mFontData->mInitialized);
        EXPECT_EQ(font.GetDefaultPointSize(), c.pointSize);
        std::vector<std::string> layers;
        for (auto& layer : font.mFontData->mFontLayerList)
            for (const auto& named : font.mFontData->mFontLayerMap)
                if (named.second == &layer)
                    layers.push_back(named.first);
        EXPECT_EQ(layers, c.layers);

        for (auto& layer : font.mFontData->mFontLayerList) {
            auto* image = dynamic_cast<Zelk::MemoryImage*>(layer.GetImage());
            ASSERT_NE(image, nullptr);
            const uint32_t* bits = image->GetBits();
            for (wchar_t ch : GlyphSet()) {
                const Zelk::GlyphInfo& g = layer.Glyph(ch);
                const Zelk::Rect& r = g.mImageRect;
                ASSERT_TRUE(r.mWidth > 0 && r.mHeight > 0 && r.mX >= 0 && r.mY >= 0 &&
                            r.mX + r.mWidth <= image->GetWidth() && r.mY + r.mHeight <= image->GetHeight())
                    << "glyph " << int(ch);
                EXPECT_GT(g.mWidth, 0) << "glyph " << int(ch);
                if (!iswalnum(ch))
                    continue;
                bool ink = false;
                for (int y = r.mY; y < r.mY + r.mHeight && !ink; ++y)
                    for (int x = r.mX; x < r.mX + r.mWidth && !ink; ++x)
                        ink = bits[size_t(y) * size_t(image->GetWidth()) + size_t(x)] >> 24 != 0;
                EXPECT_TRUE(ink) << "glyph " << int(ch) << " has no ink";
            }
        }
    }
}

// The stroke picture grows every glyph: it covers each inked pixel of the
// fill in the same cell, so an outline layer under the fill frames it.
TEST(GlyphSheets, TheStrokeCoversTheFill)
{
    GlyphSheet s = RenderGlyphSheet(true, 20, 2.0, false);
    ASSERT_EQ(s.fill.width, s.stroke.width);
    ASSERT_EQ(s.fill.height, s.stroke.height);
    for (size_t i = 0; i < s.fill.pixels.size(); ++i)
        if (s.fill.pixels[i] >> 24 == 0xFF) {
            ASSERT_GT(s.stroke.pixels[i] >> 24, 0u) << "pixel " << i;
        }
    // Cells do not overlap.
    for (size_t a = 0; a < s.cells.size(); ++a)
        for (size_t b = a + 1; b < s.cells.size(); ++b) {
            const GlyphCell &p = s.cells[a], &q = s.cells[b];
            bool apart = p.x + p.width <= q.x || q.x + q.width <= p.x || p.y + p.height <= q.y || q.y + q.height <= p.y;
            ASSERT_TRUE(apart) << int(p.ch) << " and " << int(q.ch);
        }
}
