#pragma once
// A renderer on the 3D stand-in: an application on the null platform, a
// display that holds a DirectDraw object and a 3D-capable draw surface, and
// helpers to make images and read pixels.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/TextureData.h"
#include "platform/NullPlatform.h"
#include "platform/d3d/Direct3D.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace Zelk {
namespace test {

// The device stand-ins keep process-wide configuration: every test starts
// from the defaults.
struct CleanDevices {
    CleanDevices()
    {
        plat::DirectDrawDevice::Get().Reset();
        plat::D3DSettings::Get().Reset();
        gLast3DError.clear();
        gDeviceLost = false;
    }
    ~CleanDevices()
    {
        plat::DirectDrawDevice::Get().Reset();
        plat::D3DSettings::Get().Reset();
    }
};

class D3DFixture : public ::testing::Test {
protected:
    D3DFixture()
    {
        app.mRegKey = "Test Co\\Test Game";
        display = new DDInterface(&app);
        app.mDDInterface = display;
        renderer = display->mD3DInterface;
    }
    ~D3DFixture() override
    {
        renderer->Cleanup();
        if (target)
            target->Release();
        if (dd)
            dd->Release();
    }

    // Makes the draw surface (in the desktop's format) and starts the renderer.
    bool Start(int width = 64, int height = 48)
    {
        EXPECT_EQ(plat::DirectDrawCreateEx(&dd), plat::DD_OK);
        plat::DDSurfaceDesc desc;
        desc.flags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
        desc.width = width;
        desc.height = height;
        desc.caps = plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_3DDEVICE | plat::DDSCAPS_VIDEOMEMORY;
        EXPECT_EQ(dd->CreateSurface(desc, &target), plat::DD_OK);
        // The display holds references of its own, released by its cleanup.
        dd->AddRef();
        target->AddRef();
        display->mDD7 = dd;
        display->mDrawSurface = target;
        display->mWidth = width;
        display->mHeight = height;
        return renderer->Init(display);
    }

    // An image registered with the application (so its textures go with it).
    std::unique_ptr<MemoryImage> Image(int w, int h, const std::vector<uint32_t>& pixels)
    {
        auto image = std::make_unique<MemoryImage>(&app);
        image->SetBits(pixels.data(), w, h);
        return image;
    }
    std::unique_ptr<MemoryImage> Filled(int w, int h, uint32_t argb)
    {
        return Image(w, h, std::vector<uint32_t>(size_t(w) * size_t(h), argb));
    }
    // w x h pixels that differ everywhere, with the given alpha.
    std::unique_ptr<MemoryImage> Pattern(int w, int h, uint32_t alpha = 0xFF)
    {
        std::vector<uint32_t> px(size_t(w) * size_t(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                px[size_t(y) * w + x] = alpha << 24 | uint32_t(x * 7 % 256) << 16 | uint32_t(y * 5 % 256) << 8 |
                                        uint32_t((x + y) * 3 % 256);
        return Image(w, h, px);
    }

    static TextureData* Textures(MemoryImage& image) { return static_cast<TextureData*>(image.mTextureData); }

    uint32_t Pixel(int x, int y) const { return target->PixelARGB(x, y) & 0xFFFFFF; }

    // The draw surface filled with one colour, outside any scene.
    void ClearTarget(uint32_t argb)
    {
        plat::DDBltFx fx;
        fx.fillColor = argb;
        ASSERT_EQ(target->Blt(nullptr, nullptr, nullptr, plat::DDBLT_COLORFILL, &fx), plat::DD_OK);
    }

    CleanDevices devices;
    plat::NullPlatform platform;
    ZelkAppBase app;
    DDInterface* display;   // owned by the application
    D3DInterface* renderer; // owned by the display
    plat::DirectDraw* dd = nullptr;
    plat::DDSurface* target = nullptr;
};

} // namespace test
} // namespace Zelk
