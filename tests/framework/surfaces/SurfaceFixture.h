#pragma once
// A display on the null platform with the desktop in a chosen layout, and
// helpers that read and write raw surface values.
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "platform/NullPlatform.h"
#include "platform/ddraw/DirectDraw.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace Zelk {
namespace test {

// The three desktop layouts the display runs on.
enum class Layout { R5G6B5, R5G5B5, X8R8G8B8 };

inline const char* Name(Layout l) { return l == Layout::R5G6B5 ? "565" : l == Layout::R5G5B5 ? "555" : "32-bit"; }

struct SurfaceDisplay {
    explicit SurfaceDisplay(Layout layout = Layout::X8R8G8B8)
    {
        plat::DirectDrawDevice& device = plat::DirectDrawDevice::Get();
        device.Reset();
        device.config.bitDepth = layout == Layout::X8R8G8B8 ? 32 : 16;
        device.config.rgb555 = layout == Layout::R5G5B5;
        gLast3DError.clear();
        window = platform.windows.Create(plat::WindowDesc());
        display = new DDInterface(&app);
        display->mIs3D = false;
        app.mTest3D = false;
        app.mDDInterface = display; // images register under the display lock
        EXPECT_EQ(display->Init(window, true), RESULT_OK);
    }
    ~SurfaceDisplay()
    {
        delete app.mDDInterface.exchange(nullptr);
        plat::DirectDrawDevice::Get().Reset();
    }
    std::unique_ptr<DDImage> Image(int w, int h, const std::vector<uint32_t>& pixels)
    {
        auto image = std::make_unique<DDImage>(display);
        image->SetBits(pixels.data(), w, h);
        return image;
    }
    // A memory image (not a surface image) of the pixels.
    std::unique_ptr<MemoryImage> Memory(int w, int h, const std::vector<uint32_t>& pixels)
    {
        auto image = std::make_unique<MemoryImage>(&app);
        image->SetBits(pixels.data(), w, h);
        return image;
    }
    // The raw value of a surface pixel (16 or 32 bits).
    static uint32_t Raw(plat::DDSurface* s, int x, int y)
    {
        plat::DDSurfaceDesc d;
        EXPECT_EQ(s->Lock(nullptr, d, plat::DDLOCK_WAIT), plat::DD_OK);
        const uint8_t* row = static_cast<const uint8_t*>(d.surface) + size_t(y) * size_t(d.pitch);
        uint32_t v = d.pixelFormat.rgbBitCount == 16 ? reinterpret_cast<const uint16_t*>(row)[x]
                                                     : reinterpret_cast<const uint32_t*>(row)[x];
        s->Unlock();
        return v;
    }
    static std::vector<uint32_t> RawRow(plat::DDSurface* s, int y, int count)
    {
        std::vector<uint32_t> row;
        for (int x = 0; x < count; ++x)
            row.push_back(Raw(s, x, y));
        return row;
    }
    static void SetRaw(plat::DDSurface* s, int x, int y, uint32_t v)
    {
        plat::DDSurfaceDesc d;
        ASSERT_EQ(s->Lock(nullptr, d, plat::DDLOCK_WAIT), plat::DD_OK);
        uint8_t* row = static_cast<uint8_t*>(d.surface) + size_t(y) * size_t(d.pitch);
        if (d.pixelFormat.rgbBitCount == 16)
            reinterpret_cast<uint16_t*>(row)[x] = uint16_t(v);
        else
            reinterpret_cast<uint32_t*>(row)[x] = v;
        s->Unlock();
    }
    // An opaque surface image of w x h raw values v, whose memory copies are gone.
    std::unique_ptr<DDImage> Surface(int w, int h, uint32_t v)
    {
        auto image = Image(w, h, std::vector<uint32_t>(size_t(w) * h, 0xFF000000u));
        EXPECT_NE(image->GetSurface(), nullptr);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                SetRaw(image->mSurface, x, y, v);
        image->DropMemoryCopies();
        return image;
    }

    plat::NullPlatform platform;
    ZelkAppBase app;
    plat::WindowHandle window = 0;
    DDInterface* display = nullptr;
};

// A renderer that records the calls a 3D target hands to it.
class SpyRenderer : public D3DInterface {
public:
    void Blt(Image*, float x, float y, const Rect&, const Color& c, int mode, bool linear) override
    {
        calls.push_back("Blt " + std::to_string(int(x)) + "," + std::to_string(int(y)) + " alpha " +
                        std::to_string(c.mAlpha) + (linear ? " linear" : ""));
    }
    void BltTranslated(Image*, float, float, const Rect&, const Rect&, const Color&, int) override
    {
        calls.push_back("BltTranslated");
    }
    void BltRotated(Image*, float, float, const Rect&, const Color&, int, double, float, float, const Rect&) override
    {
        calls.push_back("BltRotated");
    }
    void BltStretched(Image*, const Rect&, const Rect&, const Rect&, const Color&, int, bool nearest,
                      bool mirror) override
    {
        calls.push_back(std::string("BltStretched") + (nearest ? " nearest" : "") + (mirror ? " mirror" : ""));
    }
    void FillRect(const Rect&, const Color&, int) override { calls.push_back("FillRect"); }
    void DrawLine(double, double, double, double, const Color&, int) override { calls.push_back("DrawLine"); }
    void FillPolygon(const Point*, int, const Rect*, const Color&, int, int, int) override
    {
        calls.push_back("FillPolygon");
    }
    std::vector<std::string> calls;
};

} // namespace test
} // namespace Zelk
