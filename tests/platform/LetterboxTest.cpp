#include "platform/window/Letterbox.h"

#include <gtest/gtest.h>

using plat::Letterbox;

namespace {

struct Size {
    int width, height;
};

// Window sizes around an 800 x 600 scene: one to one, the same aspect
// larger, bars on the sides, bars above and below, smaller.
const Size kWindows[] = {{800, 600}, {1024, 768}, {1280, 720}, {1000, 900}, {640, 480}, {1366, 768}};

} // namespace

TEST(Letterbox, PlacesTheSceneCentredWithItsAspectKept)
{
    struct {
        Size window, scene;
        int x, y, width, height;
    } cases[] = {
        {{800, 600}, {800, 600}, 0, 0, 800, 600},     {{1024, 768}, {800, 600}, 0, 0, 1024, 768},
        {{1280, 720}, {800, 600}, 160, 0, 960, 720}, {{1000, 900}, {800, 600}, 0, 75, 1000, 750},
        {{640, 480}, {800, 600}, 0, 0, 640, 480},     {{1366, 768}, {800, 600}, 171, 0, 1024, 768},
        // Nothing presented yet: the window is the scene.
        {{1280, 720}, {0, 0}, 0, 0, 1280, 720},
    };
    for (const auto& c : cases) {
        const Letterbox box(c.window.width, c.window.height, c.scene.width, c.scene.height);
        SCOPED_TRACE(testing::Message() << c.window.width << "x" << c.window.height);
        EXPECT_EQ(box.X(), c.x);
        EXPECT_EQ(box.Y(), c.y);
        EXPECT_EQ(box.Width(), c.width);
        EXPECT_EQ(box.Height(), c.height);
    }
}

TEST(Letterbox, WindowPointsReachTheScenePixelShownThere)
{
    struct {
        Size window;
        int x, y;         // in the window
        int sceneX, sceneY;
    } cases[] = {
        // One to one; beyond the window while captured, as reported.
        {{800, 600}, 0, 0, 0, 0},
        {{800, 600}, 799, 599, 799, 599},
        {{800, 600}, -5, 700, -5, 700},
        // Scaled by 1.28 without bars.
        {{1024, 768}, 100, 100, 78, 78},
        {{1024, 768}, 1023, 767, 799, 599},
        {{1024, 768}, 512, 384, 400, 300},
        // Bars on the sides: on a bar the position stops at the scene's edge.
        {{1280, 720}, 100, 100, 0, 83},
        {{1280, 720}, 0, 0, 0, 0},
        {{1280, 720}, 159, 719, 0, 599},
        {{1280, 720}, 160, 0, 0, 0},
        {{1280, 720}, 640, 360, 400, 300},
        {{1280, 720}, 1119, 719, 799, 599},
        {{1280, 720}, 1120, 360, 799, 300},
        {{1280, 720}, 1279, 719, 799, 599},
        // Beyond the window (a captured drag): the same scale, not clamped.
        {{1280, 720}, -40, 360, -167, 300},
        {{1280, 720}, 1300, -10, 950, -9},
        // Bars above and below.
        {{1000, 900}, 500, 10, 400, 0},
        {{1000, 900}, 500, 889, 400, 599},
        {{1000, 900}, 500, 450, 400, 300},
        {{1000, 900}, 999, 824, 799, 599},
        // Smaller than the scene.
        {{640, 480}, 320, 240, 400, 300},
        {{640, 480}, 639, 479, 798, 598},
    };
    for (const auto& c : cases) {
        const Letterbox box(c.window.width, c.window.height, 800, 600);
        int x = c.x, y = c.y;
        box.ToScene(x, y);
        EXPECT_EQ(x, c.sceneX) << c.window.width << "x" << c.window.height << " at " << c.x << "," << c.y;
        EXPECT_EQ(y, c.sceneY) << c.window.width << "x" << c.window.height << " at " << c.x << "," << c.y;
    }
}

TEST(Letterbox, ScenePointsGoToTheWindowAndBackUnchanged)
{
    for (const Size& w : kWindows) {
        const Letterbox box(w.width, w.height, 800, 600);
        SCOPED_TRACE(testing::Message() << w.width << "x" << w.height);
        const bool larger = w.width >= 800 && w.height >= 600;
        if (larger) {
            // Every scene pixel: along the top row, down the left column.
            for (int s = 0; s < 800; ++s) {
                int x = s, y = 0;
                box.ToWindow(x, y);
                EXPECT_GE(x, box.X());
                EXPECT_LT(x, box.X() + box.Width());
                box.ToScene(x, y);
                ASSERT_EQ(x, s);
                ASSERT_EQ(y, 0);
            }
            for (int s = 0; s < 600; ++s) {
                int x = 0, y = s;
                box.ToWindow(x, y);
                box.ToScene(x, y);
                ASSERT_EQ(x, 0);
                ASSERT_EQ(y, s);
            }
        } else {
            // Fewer window pixels than scene pixels: every window pixel of
            // the scene comes back to itself.
            for (int p = box.X(); p < box.X() + box.Width(); ++p) {
                int x = p, y = box.Y();
                box.ToScene(x, y);
                box.ToWindow(x, y);
                ASSERT_EQ(x, p);
                ASSERT_EQ(y, box.Y());
            }
        }
        // A scene point beyond the scene goes to its corner.
        int x = -10, y = 900;
        box.ToWindow(x, y);
        int cornerX = 0, cornerY = 599;
        box.ToWindow(cornerX, cornerY);
        EXPECT_EQ(x, cornerX);
        EXPECT_EQ(y, cornerY);
        EXPECT_EQ(x, box.X());
    }
}
