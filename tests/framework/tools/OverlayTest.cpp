// The frame-rate overlay drawn over the finished frame.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/NullPlatform.h"

#include <gtest/gtest.h>
#include <memory>

using namespace Zelk;

namespace {

class OverlayApp : public ZelkAppBase {
public:
    OverlayApp()
    {
        mProdName = "TestProduct";
        mLoadingThreadWanted = false;
        mTest3D = false;
    }
};

// A pixel of the frame as the draw surface holds it.
uint32_t Pixel(DDInterface* dd, int x, int y) { return dd->mDrawSurface->PixelARGB(x, y) & 0xFFFFFF; }

// Counts pixels of the box that are not its black background: the text.
int TextPixels(DDInterface* screen, int x0, int y0, int w, int h)
{
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (Pixel(screen, x, y) != 0)
                ++n;
    return n;
}

} // namespace

TEST(Overlay, FrameRateBoxSitsTenPixelsFromTheCornerOverTheFrame)
{
    plat::NullPlatform platform;
    platform.clock.Set(1000);
    OverlayApp app;
    app.Init();
    DDInterface* dd = app.mDDInterface;
    ASSERT_NE(dd->GetScreenImage(), nullptr);
    {
        Graphics g(dd->GetScreenImage());
        g.SetColor(Color(0, 0, 255));
        g.FillRect(0, 0, 800, 600);
    }
    app.mShowFPS = true;
    app.mShowFPSMode = 0;
    app.mForcePresent = true;
    ASSERT_TRUE(app.Draw());
    ASSERT_NE(app.mOverlayImage, nullptr);
    const int w = app.mOverlayImage->mWidth, h = app.mOverlayImage->mHeight;
    EXPECT_EQ(w, 50);
    const int x = 800 - w - 10, y = 600 - h - 10;
    // Black box with white text, the frame around it untouched.
    EXPECT_EQ(Pixel(dd, x, y), 0u);
    EXPECT_EQ(Pixel(dd, x + w - 1, y + h - 1), 0u);
    EXPECT_GT(TextPixels(dd, x, y, w, h), 10);
    EXPECT_EQ(Pixel(dd, x - 1, y - 1) & 0xF0F0F0, 0x0000F0u);
    EXPECT_EQ(Pixel(dd, x + w, y + h) & 0xF0F0F0, 0x0000F0u);

    // The mouse position instead of the rate: the box is redrawn every frame.
    app.mShowFPSMode = 1;
    app.mWidgetManager->mLastMouseX = 123;
    app.mWidgetManager->mLastMouseY = 45;
    const int before = TextPixels(dd, x, y, w, h);
    app.mForcePresent = true;
    ASSERT_TRUE(app.Draw());
    EXPECT_NE(TextPixels(dd, x, y, w, h), before);
}
