// The display stand-in's surface device context: text drawn through it lands
// in the surface's own pixel layout, and the context behaves as a lock.
#include "platform/NullPlatform.h"
#include "platform/ddraw/DirectDraw.h"
#include "platform/text/NullTextDevice.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

class SurfaceDC : public ::testing::Test {
protected:
    void SetUp() override
    {
        DirectDrawDevice::Get().Reset();
        ASSERT_EQ(DirectDrawCreateEx(&dd), DD_OK);
    }
    void TearDown() override
    {
        dd->Release();
        DirectDrawDevice::Get().Reset();
    }
    DDSurface* Surface(uint32_t bits)
    {
        DDSurfaceDesc d;
        d.flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        d.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
        d.width = 20;
        d.height = 24;
        d.pixelFormat = bits == 16 ? DDPixelFormat{DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0}
                                   : DDPixelFormat{DDPF_RGB, 32, 0xFF0000, 0xFF00, 0xFF, 0};
        DDSurface* s = nullptr;
        EXPECT_EQ(dd->CreateSurface(d, &s), DD_OK);
        return s;
    }
    NullPlatform platform;
    DirectDraw* dd = nullptr;
};

} // namespace

TEST_F(SurfaceDC, TextLandsInTheSurfacesLayout)
{
    TextFontDesc desc;
    desc.height = 16; // a box glyph: columns 1..5 full, 6 half, rows 4..15 of the cell
    auto font = platform.text.CreateFont(desc);
    for (uint32_t bits : {16u, 32u}) {
        DDSurface* s = Surface(bits);
        TextTarget dc;
        ASSERT_EQ(s->GetDC(dc), DD_OK);
        EXPECT_EQ(dc.bitDepth, int(bits));
        EXPECT_EQ(dc.pitch, s->Pitch());
        EXPECT_EQ(s->LockCount(), 1);
        font->Draw(dc, 2, 0, L"A", 0xFFFFFF);
        ASSERT_EQ(s->ReleaseDC(), DD_OK);
        EXPECT_EQ(s->LockCount(), 0);
        EXPECT_EQ(s->PixelARGB(3, 4) & 0xFFFFFF, 0xFFFFFFu) << bits;
        EXPECT_EQ(s->PixelARGB(3, 3) & 0xFFFFFF, 0u) << bits;
        EXPECT_EQ(s->PixelARGB(2, 4) & 0xFFFFFF, 0u) << bits;
        uint32_t half = s->PixelARGB(8, 10) & 0xFF;
        EXPECT_GT(half, 0x70u) << bits;
        EXPECT_LT(half, 0x90u) << bits;
        s->Release();
    }
}

TEST_F(SurfaceDC, TheContextIsRefusedWhileTheSurfaceIsBusy)
{
    DDSurface* s = Surface(16);
    TextTarget dc;
    DDSurfaceDesc d;
    ASSERT_EQ(s->Lock(nullptr, d, DDLOCK_WAIT), DD_OK);
    EXPECT_EQ(s->GetDC(dc), DDERR_SURFACEBUSY);
    s->Unlock();
    ASSERT_EQ(s->GetDC(dc), DD_OK);
    EXPECT_EQ(s->GetDC(dc), DDERR_DCALREADYCREATED);
    EXPECT_EQ(s->ReleaseDC(), DD_OK);
    EXPECT_EQ(s->ReleaseDC(), DDERR_NODC);
    DirectDrawDevice::Get().FailNext("GetDC", DDERR_CANTCREATEDC);
    EXPECT_EQ(s->GetDC(dc), DDERR_CANTCREATEDC);
    DirectDrawDevice::Get().LoseSurfaces();
    EXPECT_EQ(s->GetDC(dc), DDERR_SURFACELOST);
    EXPECT_EQ(s->LockCount(), 0);
    s->Release();
}
