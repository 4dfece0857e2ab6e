// A whole frame through the display in 3D: the application makes its display
// with Direct3D, draws the golden scene into its screen image, presents, and
// the window shows the same picture as the 2D drawing, within the 3D filter's
// tolerance.
#include "AppFixture.h"
#include "GoldenScenes.h"
#include "PngFile.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "platform/ddraw/DirectDraw.h"

#include <cstdlib>

using namespace Zelk;
using namespace Zelk::test;

TEST(DisplayIn3D, GoldenSceneThroughTheWholeFrame)
{
    plat::DirectDrawDevice::Get().Reset();
    gLast3DError.clear();
    plat::NullPlatform platform;
    platform.settings.SetDword("SOFTWARE\\Test Co\\Test Game", "Is3D", 1);
    {
        TestApp app;
        app.mWidth = 96;
        app.mHeight = 64;
        app.mTest3D = false;
        app.changeEveryUpdate = false;
        app.Init();
        DDInterface* dd = app.mDDInterface;
        ASSERT_TRUE(dd->mIs3D);
        DDImage* screen = dd->GetScreenImage();
        ASSERT_NE(screen, nullptr);

        MemoryImage disc(&app), panel(&app);
        disc.SetBits(DiscPixels().data(), 16, 16);
        panel.SetBits(PanelPixels().data(), 12, 12);
        {
            Graphics g(screen);
            g.SetColor(Color(0xFF202840));
            g.FillRect(0, 0, 96, 64);
            DrawPanelScene(g, &disc, &panel);
        }
        app.mForcePresent = true;
        ASSERT_TRUE(app.Draw());
        EXPECT_TRUE(gLast3DError.empty()) << gLast3DError;

        int fw = 0, fh = 0;
        const std::vector<uint32_t> frame = platform.windows.LastFrame(fw, fh);
        ASSERT_EQ(fw, 96);
        ASSERT_EQ(fh, 64);
        int w = 0, h = 0;
        std::vector<uint32_t> want;
        ASSERT_TRUE(ReadPng(std::string(ZELK_FIXTURES) + "/graphics/panel_scene.png", w, h, want));
        // Outside the two stretched discs within 2 per channel; inside them the
        // average difference stays small (texel-centre sampling).
        const Rect smooth(14, 10, 40, 28), nearest(44, 46, 24, 16);
        long sum = 0, count = 0;
        int worstInside = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 96; ++x) {
                const uint32_t got = frame[size_t(y) * 96 + size_t(x)] & 0xFFFFFF;
                const uint32_t expected = want[size_t(y) * 96 + size_t(x)] & 0xFFFFFF;
                int worst = 0, total = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int d = std::abs(int(got >> shift & 0xFF) - int(expected >> shift & 0xFF));
                    worst = std::max(worst, d);
                    total += d;
                }
                if (smooth.Contains(x, y) || nearest.Contains(x, y)) {
                    sum += total;
                    count += 3;
                    worstInside = std::max(worstInside, worst);
                } else {
                    ASSERT_LE(worst, 2) << x << ", " << y;
                }
            }
        EXPECT_LE(double(sum) / double(count), 6.0);
        EXPECT_LE(worstInside, kWorstInsideDiscs);
    }
    plat::DirectDrawDevice::Get().Reset();
}
