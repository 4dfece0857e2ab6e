// What the renderer puts on the draw surface, compared with the 2D drawing of
// the same images: exact where both sample texel centres, close where the 3D
// path filters (bilinear stretches).
#include "D3DFixture.h"
#include "GoldenScenes.h"
#include "PngFile.h"

#include "framework/graphics/Graphics.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace Zelk;
using namespace Zelk::test;

namespace {

// The draw surface as an image whose drawing goes to the renderer, as the
// display's screen image does while it is the 3D target (what the golden
// scene draws: fills and plain and stretched blits).
class RendererTarget : public Image {
public:
    RendererTarget(D3DInterface& renderer, int w, int h) : mRenderer(renderer)
    {
        mWidth = w;
        mHeight = h;
    }
    void FillRect(const Rect& r, const Color& c, int mode) override { mRenderer.FillRect(r, c, mode); }
    void Blit(Image* src, int x, int y, const Rect& s, const Color& c, int mode) override
    {
        mRenderer.Blt(src, float(x), float(y), s, c, mode, false);
    }
    void BlitStretched(Image* src, const Rect& d, const Rect& s, const Rect& clip, const Color& c, int mode,
                       bool fast) override
    {
        mRenderer.BltStretched(src, d, s, clip, c, mode, fast, false);
    }

private:
    D3DInterface& mRenderer;
};

class RendererPixels : public D3DFixture {
protected:
    std::vector<uint32_t> Frame()
    {
        std::vector<uint32_t> out;
        for (int y = 0; y < target->Height(); ++y)
            for (int x = 0; x < target->Width(); ++x)
                out.push_back(Pixel(x, y));
        return out;
    }
};

} // namespace

TEST_F(RendererPixels, PointSampledBlitEqualsTheMemoryBlit)
{
    // Images larger than one piece, drawn at whole pixels: opaque and
    // transparent pixels come out exactly as the memory blit draws them;
    // half-transparent and additive ones round their terms differently and
    // may differ by one.
    ASSERT_TRUE(Start(320, 200));
    auto background = Pattern(320, 200);
    struct Case {
        const char* name;
        bool translucent;
        int x, y;
        Rect src;
        int mode;
        int tolerance;
    } cases[] = {
        {"opaque and clear", false, 3, 5, Rect(0, 0, 300, 150), 0, 0},
        {"part of it, hanging over the edge", false, -20, 40, Rect(10, 20, 280, 100), 0, 0},
        {"half-transparent", true, 3, 5, Rect(0, 0, 300, 150), 0, 1},
        {"additive", true, 7, 9, Rect(250, 3, 40, 140), 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint32_t> px(300 * 150);
        for (size_t i = 0; i < px.size(); ++i) {
            const uint32_t alpha = (i / 7) % 5 == 0 ? 0 : c.translucent && (i / 11) % 3 == 0 ? 0x80 : 0xFF;
            px[i] = alpha << 24 | uint32_t(i * 2654435761u >> 8 & 0xFFFFFF);
        }
        auto sprite = Image(300, 150, px);
        auto memory = Image(320, 200, std::vector<uint32_t>(background->GetBits(), background->GetBits() + 320 * 200));
        renderer->Blt(background.get(), 0, 0, Rect(0, 0, 320, 200), Color::White, 0, false);
        renderer->Blt(sprite.get(), float(c.x), float(c.y), c.src, Color::White, c.mode, false);
        Graphics g(memory.get());
        g.SetDrawMode(c.mode);
        g.DrawImageRegion(sprite.get(), c.x, c.y, c.src);
        const uint32_t* want = memory->GetBits();
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x) {
                const uint32_t got = Pixel(x, y), expected = want[y * 320 + x] & 0xFFFFFF;
                int worst = 0;
                for (int shift = 0; shift < 24; shift += 8)
                    worst = std::max(worst, std::abs(int(got >> shift & 0xFF) - int(expected >> shift & 0xFF)));
                ASSERT_LE(worst, c.tolerance) << x << ", " << y;
            }
    }
}

TEST_F(RendererPixels, GoldenSceneMatchesThe2DDrawing)
{
    ASSERT_TRUE(Start(96, 64));
    ClearTarget(0xFF202840);
    auto disc = Image(16, 16, DiscPixels());
    auto panel = Image(12, 12, PanelPixels());
    RendererTarget screen(*renderer, 96, 64);
    Graphics g(&screen);
    DrawPanelScene(g, disc.get(), panel.get());
    renderer->EndScene();

    int w = 0, h = 0;
    std::vector<uint32_t> want;
    ASSERT_TRUE(ReadPng(std::string(ZELK_FIXTURES) + "/graphics/panel_scene.png", w, h, want));
    ASSERT_EQ(w, 96);
    ASSERT_EQ(h, 64);
    // Outside the two stretched discs the frames agree within 2 per channel.
    // Inside them the 3D filter samples at texel centres, half a texel away
    // from where the 2D stretches sample, so only the average difference is
    // held small (smooth gradients shift by a few levels, hard edges by a pixel).
    const Rect smooth(14, 10, 40, 28), nearest(44, 46, 24, 16);
    long sum[2] = {0, 0};
    int worstInside = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x) {
            const uint32_t got = Pixel(x, y), expected = want[size_t(y) * 96 + x] & 0xFFFFFF;
            int worst = 0, total = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const int d = std::abs(int(got >> shift & 0xFF) - int(expected >> shift & 0xFF));
                worst = std::max(worst, d);
                total += d;
            }
            if (nearest.Contains(x, y) || smooth.Contains(x, y))
                worstInside = std::max(worstInside, worst);
            if (nearest.Contains(x, y))
                sum[1] += total;
            else if (smooth.Contains(x, y))
                sum[0] += total;
            else
                ASSERT_LE(worst, 2) << x << ", " << y;
        }
    EXPECT_LE(sum[0] / (3.0 * smooth.mWidth * smooth.mHeight), 6.0);
    EXPECT_LE(sum[1] / (3.0 * nearest.mWidth * nearest.mHeight), 6.0);
    EXPECT_LE(worstInside, kWorstInsideDiscs);
}
