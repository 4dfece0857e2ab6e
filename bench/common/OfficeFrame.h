#pragma once
// The office-like frame the blitter and renderer benchmarks share: an opaque
// 800 x 600 background and 150 sprites of 64 x 96 (opaque body, soft
// translucent rim, transparent corners), drawn through Graphics into the
// screen image of the null display and presented, as the game draws a frame.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "platform/NullPlatform.h"
#include "platform/ddraw/DirectDraw.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace bench {

constexpr int kFrameW = 800, kFrameH = 600, kSpriteW = 64, kSpriteH = 96, kSprites = 150;

// An ellipse filling the w x h box: opaque inside, a soft rim, transparent
// outside; the colour varies with the position.
inline uint32_t SoftSpritePixel(int x, int y, int w, int h)
{
    const int dx = 2 * x - w + 1, dy = (2 * y - h + 1) * w / h, r = w - 4, rim = r * 8 / 10;
    const int d2 = dx * dx + dy * dy;
    const uint32_t a =
        d2 >= r * r ? 0 : d2 <= rim * rim ? 255 : uint32_t((r * r - d2) * 255 / (r * r - rim * rim));
    return a << 24 | uint32_t((x * 7) & 0xFF) << 16 | uint32_t((y * 5) & 0xFF) << 8 | uint32_t((x ^ y) & 0xFF);
}

inline std::vector<uint32_t> SoftSpritePixels(int w, int h)
{
    std::vector<uint32_t> px(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[size_t(y) * size_t(w) + size_t(x)] = SoftSpritePixel(x, y, w, h);
    return px;
}

inline std::vector<uint32_t> OpaquePixels(int w, int h)
{
    std::vector<uint32_t> px(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[size_t(y) * size_t(w) + size_t(x)] = 0xFF000000u | ((uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u));
    return px;
}

// Top-left corners of the sprites, spread over the frame.
inline std::pair<int, int> SpritePlace(int i)
{
    return {(i * 137) % (kFrameW - kSpriteW), (i * 71) % (kFrameH - kSpriteH)};
}

// The null display, 800 x 600, in a 32-bit or 5-6-5 desktop, drawing in 2D
// (the screen image is the back buffer) or through the renderer.
struct Display {
    ::plat::NullPlatform platform;
    Zelk::ZelkAppBase app;
    Zelk::DDInterface* display;
    Display(bool rgb565, bool use3D)
    {
        plat::DirectDrawDevice::Get().Reset();
        plat::DirectDrawDevice::Get().config.bitDepth = rgb565 ? 16 : 32;
        plat::WindowDesc desc;
        const plat::WindowHandle window = platform.windows.Create(desc);
        display = new Zelk::DDInterface(&app);
        display->mIs3D = use3D;
        app.mTest3D = false;
        app.mDDInterface = display;
        display->Init(window, true);
    }
    ~Display() { delete app.mDDInterface.exchange(nullptr); }
    Zelk::DDImage* Screen() { return display->GetScreenImage(); }
};

struct OfficeScene {
    Zelk::MemoryImage background, sprite;
    explicit OfficeScene(Zelk::ZelkAppBase* app) : background(app), sprite(app)
    {
        background.SetBits(OpaquePixels(kFrameW, kFrameH).data(), kFrameW, kFrameH);
        sprite.SetBits(SoftSpritePixels(kSpriteW, kSpriteH).data(), kSpriteW, kSpriteH);
    }
    // One frame drawn into the screen image, presented when asked.
    void Draw(Display& d, bool present)
    {
        {
            Zelk::Graphics g(d.Screen());
            g.DrawImage(&background, 0, 0);
            for (int i = 0; i < kSprites; ++i)
                g.DrawImage(&sprite, SpritePlace(i).first, SpritePlace(i).second);
        }
        if (present)
            d.display->Redraw(nullptr);
    }
};

} // namespace bench
