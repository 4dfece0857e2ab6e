#include "GraphicsFixtures.h"

#include "framework/graphics/Display3DTarget.h"

#include <gtest/gtest.h>

#include <climits>

using namespace Zelk;
using namespace Zelk::test;

using Log = std::vector<std::string>;

TEST(Graphics, Construction)
{
    RecordingImage dest(30, 20);
    Graphics g(&dest);
    EXPECT_EQ(g.mClipRect, Rect(0, 0, 30, 20));
    EXPECT_EQ(g.GetColor(), Color::Black);
    EXPECT_TRUE(g.mColorCodes);
    EXPECT_FALSE(g.mModulateImages || g.mNearestStretch || g.mFilter || g.mIs3D);

    Graphics measuring;
    EXPECT_EQ(measuring.mDestImage, Graphics::EmptyImage());
    EXPECT_EQ(measuring.mClipRect, Rect(0, 0, 0, 0));

    gIsDisplay3DTarget = [](const Image* image) { return image->mWidth == 30; };
    EXPECT_TRUE(Graphics(&dest).mIs3D);
    gIsDisplay3DTarget = nullptr;
}

TEST(Graphics, StateStack)
{
    RecordingImage dest(30, 20);
    Graphics g(&dest);
    g.PopState(); // empty stack: nothing
    EXPECT_EQ(g.mClipRect, Rect(0, 0, 30, 20));

    g.PushState();
    g.SetColor(Color(1, 2, 3));
    g.ClipRect(2, 2, 4, 4);
    g.Translate(5, 5);
    EXPECT_EQ(g.mClipRect, Rect(2, 2, 4, 4));
    g.ClipRect(0, 0, 3, 3); // translated: (5, 5, 3, 3)
    EXPECT_EQ(g.mClipRect, Rect(5, 5, 1, 1));

    Graphics copy(g);
    EXPECT_TRUE(copy.mStateStack.empty());
    copy.PopState();
    EXPECT_EQ(copy.GetColor(), Color(1, 2, 3));

    std::unique_ptr<Graphics> heap(g.CreateCopy());
    EXPECT_EQ(heap->mTransX, 5.0f);

    g.PopState();
    EXPECT_EQ(g.GetColor(), Color::Black);
    EXPECT_EQ(g.mClipRect, Rect(0, 0, 30, 20));
    EXPECT_EQ(g.mTransX, 0.0f);
}

TEST(Graphics, CoordinatesTruncateTowardZero)
{
    struct {
        float trans;
        int x, want;
    } cases[] = {{2.5f, 1, 3}, {-2.5f, 1, -1}, {-2.5f, 0, -2}, {0.75f, -1, 0}};
    for (auto& c : cases) {
        RecordingImage dest(100, 100);
        Graphics g(&dest);
        g.mClipRect = Rect(-50, -50, 200, 200);
        g.mTransX = c.trans;
        g.FillRect(c.x, 0, 1, 1);
        EXPECT_EQ(dest.log, Log{"FillRect(" + std::to_string(c.want) + ",0,1,1)"});
    }
}

TEST(Graphics, FillsAndOutlines)
{
    RecordingImage dest(30, 20);
    Graphics g(&dest);
    g.FillRect(-5, 2, 10, 40);
    g.SetColor(Color(255, 255, 255, 0));
    g.FillRect(0, 0, 5, 5); // alpha 0: nothing
    g.DrawRect(0, 0, 5, 5);
    g.SetColor(Color::White);
    g.DrawRect(0, 0, 10, 5);
    EXPECT_EQ(dest.log, (Log{"FillRect(0,2,5,18)", "DrawRect(0,0,10,5)"}));

    dest.log.clear();
    g.ClipRect(0, 0, 10, 30); // cuts the right edge: four clipped fills
    g.DrawRect(0, 0, 10, 5);
    EXPECT_EQ(dest.log, (Log{"FillRect(0,0,10,1)", "FillRect(0,5,10,1)", "FillRect(0,1,1,4)", "FillRect(10,1,0,4)"}));
}

TEST(Graphics, OutlinePixels)
{
    auto image = MakeFilled(16, 16, 0);
    auto count = [&]() {
        int n = 0;
        for (uint32_t p : Pixels(*image))
            n += p != 0;
        return n;
    };
    Graphics g(image.get());
    g.SetColor(Color::White);
    g.DrawRect(0, 0, 10, 5);
    EXPECT_EQ(count(), 30); // the 11 x 6 outline
    EXPECT_EQ(image->GetBits()[5 * 16 + 10], 0xFFFFFFFFu);
    image->Clear();
    g.ClipRect(0, 0, 8, 16);
    g.DrawRect(0, 0, 10, 5);
    EXPECT_EQ(count(), 8 + 8 + 4); // top and bottom cut at 8, the left edge only
}

TEST(Graphics, ImageClipping)
{
    RecordingImage dest(16, 16);
    auto image = MakeFilled(10, 10, 0xFFFFFFFF);
    Graphics g(&dest);
    g.DrawImage(image.get(), -3, -2);
    g.DrawImageRegion(image.get(), 0, 0, Rect(1, 0, 10, 10)); // one pixel wider than the image
    g.DrawImageRegion(image.get(), 0, 0, Rect(-1, 0, 5, 5));  // negative x: rejected too
    g.DrawImageRegion(image.get(), 0, 0, Rect(0, -1, 5, 5));
    g.DrawImageRegion(image.get(), 12, 14, Rect(2, 3, 5, 5));
    g.DrawImage(nullptr, 0, 0);
    g.DrawImage(image.get(), 16, 0); // clipped to nothing
    EXPECT_EQ(dest.log, (Log{"Blit(0,0)(3,2,7,8)", "Blit(12,14)(2,3,4,2)"}));
}

TEST(Graphics, ScaledImages)
{
    RecordingImage dest(16, 16);
    auto image = MakeFilled(10, 10, 0xFFFFFFFF);
    Graphics g(&dest);
    g.Translate(1, 2);
    g.DrawImageScaled(image.get(), 0, 0, 20, 5);
    g.SetNearestStretch(true);
    g.DrawImageRegionScaled(image.get(), Rect(1, 1, 4, 4), Rect(2, 2, 8, 8));
    g.DrawImageRegionScaledMirror(image.get(), Rect(1, 1, 4, 4), Rect(2, 2, 8, 8), true);
    // Source rectangles reaching outside the image draw nothing.
    g.DrawImageRegionScaled(image.get(), Rect(1, 1, 4, 4), Rect(2, 2, 9, 8));
    g.DrawImageRegionScaled(image.get(), Rect(1, 1, 4, 4), Rect(-1, 0, 4, 4));
    g.DrawImageScaled(nullptr, 0, 0, 4, 4);
    EXPECT_EQ(dest.log, (Log{"BlitStretched(1,2,20,5)(0,0,10,10)(0,0,16,16)smooth",
                             "BlitStretched(2,3,4,4)(2,2,8,8)(0,0,16,16)fast",
                             "BlitStretchedMirrored(2,3,4,4)(2,2,8,8)"}));
}

TEST(Graphics, ImageColourFollowsTheModulateSwitch)
{
    auto dest = MakeFilled(1, 1, 0xFF000000);
    dest->SetAlphaKind(true, true);
    auto image = MakeFilled(1, 1, 0xFFFFFFFF);
    Graphics g(dest.get());
    g.SetColor(Color(255, 0, 0));
    g.DrawImage(image.get(), 0, 0);
    EXPECT_EQ(dest->GetBits()[0], 0xFFFEFEFEu); // opaque white: unmodulated
    dest->Clear();
    g.SetModulateImages(true);
    g.DrawImage(image.get(), 0, 0);
    EXPECT_EQ(dest->GetBits()[0], 0xFFFD0000u); // red: 255 x 255 x 255 >> 16
}

namespace {

// Counts the tiles an image box draws, by the size of their source piece.
struct BoxCount {
    int corners = 0, topBottom = 0, leftRight = 0, centre = 0;
};

BoxCount CountBox(const Log& log, int cw, int ch)
{
    BoxCount n;
    for (const std::string& entry : log) {
        int x, y, sx, sy, w, h;
        if (sscanf(entry.c_str(), "Blit(%d,%d)(%d,%d,%d,%d)", &x, &y, &sx, &sy, &w, &h) != 6)
            continue;
        (void)x;
        (void)y;
        if (sx == cw && sy == ch)
            n.centre++;
        else if (sy == ch)
            n.leftRight++;
        else if (sx == cw)
            n.topBottom++;
        else
            n.corners++;
    }
    return n;
}

} // namespace

TEST(Graphics, NineSliceTiles)
{
    auto image = MakeFilled(10, 10, 0xFFFFFFFF);
    struct {
        int dw, dh;
        int corners, topBottom, leftRight, centre;
    } cases[] = {
        {30, 20, 4, 6 + 6, 4 + 4, 6 * 4}, // corners 3 x 3, middle 4 x 4
        {5, 20, 4, 0, 4 + 4, 0},          // narrower than two corners: overlapping corners, no top or bottom
        {6, 6, 4, 0, 0, 0},
    };
    for (auto& c : cases) {
        RecordingImage dest(100, 100);
        Graphics g(&dest);
        g.DrawNineSliceImage(Rect(0, 0, c.dw, c.dh), image.get());
        BoxCount n = CountBox(dest.log, 3, 3);
        EXPECT_EQ(n.corners, c.corners) << c.dw;
        EXPECT_EQ(n.topBottom, c.topBottom) << c.dw;
        EXPECT_EQ(n.leftRight, c.leftRight) << c.dw;
        EXPECT_EQ(n.centre, c.centre) << c.dw;
    }
    RecordingImage dest(100, 100);
    Graphics g(&dest);
    g.DrawNineSlice(Rect(0, 0, 0, 10), Rect(0, 0, 30, 30), image.get());
    EXPECT_TRUE(dest.log.empty());
}

TEST(Graphics, NineSlicePixels)
{
    // A 6 x 6 source: corners 2 x 2 (value 1), edges (2), centre (3).
    std::vector<uint32_t> src(36);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            int edges = (x >= 2 && x < 4) + (y >= 2 && y < 4);
            src[y * 6 + x] = 0xFF000000u | uint32_t(edges == 2 ? 3 : edges == 1 ? 2 : 1);
        }
    auto image = MakeImage(6, 6, src);
    auto dest = MakeFilled(9, 5, 0xFF000000);
    Graphics g(dest.get());
    g.DrawNineSliceImage(Rect(0, 0, 9, 5), image.get());
    std::vector<uint32_t> want = {
        1, 1, 2, 2, 2, 2, 2, 1, 1, //
        1, 1, 2, 2, 2, 2, 2, 1, 1, //
        2, 2, 3, 3, 3, 3, 3, 2, 2, //
        1, 1, 2, 2, 2, 2, 2, 1, 1, //
        1, 1, 2, 2, 2, 2, 2, 1, 1,
    };
    for (auto& p : want)
        p |= 0xFF000000u;
    EXPECT_EQ(Pixels(*dest), want);
}

// Image boxes of any size tile only what the clip shows, and positions at the
// ends of the int range neither wrap nor draw.
TEST(Graphics, ImageBoxesAtTheEndsOfTheIntRange)
{
    std::vector<uint32_t> src(36);
    for (size_t i = 0; i < src.size(); ++i)
        src[i] = 0xFF000000u | uint32_t(i * 7);
    auto image = MakeImage(6, 6, src);
    auto draw = [&](const Rect& box, float transX) {
        auto dest = MakeFilled(20, 20, 0xFF123456);
        Graphics g(dest.get());
        g.mTransX = transX;
        g.DrawNineSliceImage(box, image.get());
        return Pixels(*dest);
    };
    const std::vector<uint32_t> untouched(400, 0xFF123456);
    // The visible corner of a box too large to tile is the one of a large box.
    EXPECT_EQ(draw(Rect(0, 0, INT_MAX, INT_MAX), 0.0f), draw(Rect(0, 0, 1000, 1000), 0.0f));
    EXPECT_EQ(draw(Rect(-7, -5, INT_MAX, INT_MAX), 0.0f), draw(Rect(-7, -5, 1000, 1000), 0.0f));
    EXPECT_EQ(draw(Rect(INT_MAX - 10, 0, INT_MAX, 50), 0.0f), untouched);
    EXPECT_EQ(draw(Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), 0.0f), untouched);
    EXPECT_EQ(draw(Rect(INT_MIN, 0, INT_MAX, 20), -3.0e9f), untouched);
    // Translations beyond the int range put everything far outside.
    EXPECT_EQ(draw(Rect(0, 0, 10, 10), 1.0e12f), untouched);
    EXPECT_EQ(draw(Rect(0, 0, 10, 10), -1.0e12f), untouched);
}
