// Composed scenes compared pixel for pixel with PNG files made by this build
// and checked by eye once. ZELK_UPDATE_GOLDENS=1 writes them anew.
#include "GoldenScenes.h"
#include "GraphicsFixtures.h"
#include "PngFile.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace Zelk;
using namespace Zelk::test;

namespace {

std::unique_ptr<MemoryImage> Disc() { return MakeImage(16, 16, DiscPixels()); }
std::unique_ptr<MemoryImage> Panel() { return MakeImage(12, 12, PanelPixels()); }

void CheckGolden(const char* name, MemoryImage& image)
{
    std::string path = std::string(ZELK_FIXTURES) + "/graphics/" + name + ".png";
    std::vector<uint32_t> got = Pixels(image);
    const char* update = std::getenv("ZELK_UPDATE_GOLDENS");
    if (update && std::string(update) == "1") {
        ASSERT_TRUE(WritePng(path, image.mWidth, image.mHeight, got)) << path;
        return;
    }
    int w = 0, h = 0;
    std::vector<uint32_t> want;
    ASSERT_TRUE(ReadPng(path, w, h, want)) << path;
    ASSERT_EQ(w, image.mWidth);
    ASSERT_EQ(h, image.mHeight);
    for (size_t i = 0; i < want.size(); ++i)
        ASSERT_EQ(got[i], want[i]) << name << " differs at (" << i % size_t(w) << ", " << i / size_t(w) << ")";
}

} // namespace

TEST(Golden, PanelScene)
{
    auto screen = MakeFilled(96, 64, 0xFF202840); // analysed opaque, like a back buffer
    auto disc = Disc();
    auto panel = Panel();
    Graphics g(screen.get());
    DrawPanelScene(g, disc.get(), panel.get());
    CheckGolden("panel_scene", *screen);
}

TEST(Golden, TransformScene)
{
    auto layer = MakeFilled(64, 64, 0); // a layer with alpha
    auto disc = Disc();
    auto panel = Panel();
    layer->FillRect(Rect(34, 34, 30, 30), Color(40, 0, 60, 200), DRAWMODE_NORMAL);
    layer->BlitRotated(disc.get(), 6.0f, 6.0f, Rect(0, 0, 16, 16), Rect(0, 0, 64, 64), Color::White,
                       DRAWMODE_NORMAL, 0.6, 8.0f, 8.0f);
    layer->BlitFloat(disc.get(), 30.5f, 4.25f, Rect(0, 0, 16, 16), Rect(0, 0, 64, 64), Color(255, 255, 255, 160),
                     DRAWMODE_NORMAL);
    layer->BlitRotated(panel.get(), 40.0f, 40.0f, Rect(0, 0, 12, 12), Rect(0, 0, 60, 60), Color(100, 200, 255),
                       DRAWMODE_ADDITIVE, -0.4, 6.0f, 6.0f);
    layer->BlitStretched(disc.get(), Rect(4, 30, 30, 30), Rect(0, 0, 16, 16), Rect(0, 0, 64, 64), Color::White,
                         DRAWMODE_NORMAL, false);
    layer->DrawLine(2.0, 62.0, 61.0, 25.0, Color(255, 255, 255), DRAWMODE_NORMAL);
    layer->DrawLine(60.0, 2.0, 40.0, 61.0, Color(0, 255, 0, 128), DRAWMODE_ADDITIVE);
    layer->DrawAntiAliasedLine(2.5, 28.0, 60.0, 40.5, Color(255, 128, 0), DRAWMODE_NORMAL);
    CheckGolden("transform_scene", *layer);
}
