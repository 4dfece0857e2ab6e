#include "framework/app/ZelkAppBase.h"

#include <gtest/gtest.h>

using Zelk::PlaceWindow;

TEST(WindowPlacement, Table)
{
    struct {
        const char* what;
        int outerW, outerH, prefX, prefY;
        int wx, wy, ww, wh;
        int x, y;
    } cases[] = {
        // centred, top at 38.2 % of the free height: 0.382 x (740 - 625) = 43.93
        {"first start", 806, 625, -1, -1, 0, 28, 1024, 740, 109, 28 + 43},
        {"remembered, inside", 806, 625, 100, 50, 0, 0, 1280, 1024, 100, 50},
        {"remembered, left of the work area", 806, 625, -300, 50, 0, 0, 1280, 1024, 4, 50},
        {"remembered, above the work area", 806, 625, 100, -10, 0, 30, 1280, 1024, 100, 34},
        {"remembered, past the right edge", 806, 625, 600, 50, 0, 0, 1280, 1024, 1280 - 4 - 806, 50},
        {"remembered, past the bottom", 806, 625, 100, 500, 0, 0, 1280, 1024, 100, 1024 - 4 - 625},
        {"remembered, touching the margin", 806, 625, 470, 50, 0, 0, 1280, 1024, 470, 50},
        {"remembered, one pixel into the margin", 806, 625, 471, 50, 0, 0, 1280, 1024, 470, 50},
        // a window taller than the work area keeps its caption on it
        {"taller than the work area", 806, 625, -1, -1, 0, 0, 1024, 600, 109, 0},
    };
    for (auto& c : cases) {
        Zelk::WindowPlacement p = PlaceWindow(c.outerW, c.outerH, c.prefX, c.prefY, c.wx, c.wy, c.ww, c.wh);
        EXPECT_EQ(p.x, c.x) << c.what;
        EXPECT_EQ(p.y, c.y) << c.what;
    }
}
