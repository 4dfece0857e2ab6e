#include "platform/NullPlatform.h"
#include "platform/ddraw/DirectDraw.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace plat;

class DirectDrawStandIn : public ::testing::Test {
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
    DDSurface* Offscreen(int w, int h, uint32_t bits = 32)
    {
        DDSurfaceDesc d;
        d.flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        d.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        d.width = w;
        d.height = h;
        if (bits != 32) {
            d.flags |= DDSD_PIXELFORMAT;
            d.pixelFormat = {DDPF_RGB, bits, 0xF800, 0x07E0, 0x001F, 0};
        }
        DDSurface* s = nullptr;
        EXPECT_EQ(dd->CreateSurface(d, &s), DD_OK);
        return s;
    }
    void Fill(DDSurface* s, const DDRect& r, uint32_t color)
    {
        DDBltFx fx;
        fx.fillColor = color;
        ASSERT_EQ(s->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }
    NullPlatform platform;
    DirectDraw* dd = nullptr;
};

TEST_F(DirectDrawStandIn, RowsArePaddedAndLockAddressesTheRectangle)
{
    DDSurface* s = Offscreen(10, 4);
    DDSurfaceDesc d;
    ASSERT_EQ(s->Lock(nullptr, d, DDLOCK_WAIT), DD_OK);
    EXPECT_GT(d.pitch, 10 * 4); // rows are wider than their pixels
    uint8_t* base = static_cast<uint8_t*>(d.surface);
    s->Unlock();
    DDRect r{2, 1, 4, 3};
    ASSERT_EQ(s->Lock(&r, d, DDLOCK_WAIT), DD_OK);
    EXPECT_EQ(static_cast<uint8_t*>(d.surface), base + d.pitch + 2 * 4);
    EXPECT_EQ(s->Unlock(), DD_OK);
    EXPECT_EQ(s->Unlock(), DDERR_NOTLOCKED);
    DDRect outside{8, 0, 11, 1};
    EXPECT_EQ(s->Lock(&outside, d, 0), DDERR_INVALIDRECT);
    s->Release();
}

TEST_F(DirectDrawStandIn, BltCopiesStretchesFillsAndSkipsTheColourKey)
{
    DDSurface* src = Offscreen(2, 2);
    DDSurface* dst = Offscreen(4, 4);
    Fill(src, {0, 0, 1, 1}, 0x110000);
    Fill(src, {1, 0, 2, 1}, 0x002200);
    Fill(src, {0, 1, 1, 2}, 0x000033);
    Fill(src, {1, 1, 2, 2}, 0x0000FF); // the key colour
    Fill(dst, {0, 0, 4, 4}, 0x777777);

    DDRect whole{0, 0, 4, 4};
    ASSERT_EQ(dst->Blt(&whole, src, nullptr, DDBLT_WAIT, nullptr), DD_OK); // a 2x stretch
    EXPECT_EQ(dst->PixelARGB(1, 1), 0xFF110000u);
    EXPECT_EQ(dst->PixelARGB(2, 1), 0xFF002200u);
    EXPECT_EQ(dst->PixelARGB(3, 3), 0xFF0000FFu);

    Fill(dst, whole, 0x777777);
    src->SetColorKey(DDCKEY_SRCBLT, {0x0000FF, 0x0000FF});
    DDRect at{1, 1, 3, 3};
    ASSERT_EQ(dst->Blt(&at, src, nullptr, DDBLT_WAIT | DDBLT_KEYSRC, nullptr), DD_OK);
    EXPECT_EQ(dst->PixelARGB(1, 1), 0xFF110000u);
    EXPECT_EQ(dst->PixelARGB(2, 2), 0xFF777777u); // keyed out
    EXPECT_EQ(dst->PixelARGB(0, 0), 0xFF777777u);

    DDRect bad{3, 3, 5, 5};
    EXPECT_EQ(dst->Blt(&bad, src, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
    DDSurface* s16 = Offscreen(2, 2, 16);
    EXPECT_EQ(dst->Blt(&whole, s16, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPIXELFORMAT);
    s16->Release();
    src->Release();
    dst->Release();
}

TEST_F(DirectDrawStandIn, SixteenBitLayouts)
{
    struct {
        bool rgb555;
        uint32_t raw;
        uint32_t argb;
    } cases[] = {{false, 0xF800, 0xFFFF0000}, {false, 0x07E0, 0xFF00FF00}, {false, 0x001F, 0xFF0000FF},
                 {true, 0x7C00, 0xFFFF0000}, {true, 0x03E0, 0xFF00FF00}, {true, 0x0000, 0xFF000000}};
    for (auto& c : cases) {
        DirectDrawDevice::Get().config.bitDepth = 16;
        DirectDrawDevice::Get().config.rgb555 = c.rgb555;
        DDSurfaceDesc d;
        d.flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        d.caps = DDSCAPS_OFFSCREENPLAIN;
        d.width = d.height = 1;
        DDSurface* s = nullptr;
        ASSERT_EQ(dd->CreateSurface(d, &s), DD_OK);
        EXPECT_EQ(s->BitCount(), 16u);
        Fill(s, {0, 0, 1, 1}, c.raw);
        EXPECT_EQ(s->PixelARGB(0, 0), c.argb) << std::hex << c.raw;
        s->Release();
    }
}

TEST_F(DirectDrawStandIn, DesktopOfOtherDepthsRefusesSurfaces)
{
    for (int depth : {8, 24}) {
        DirectDrawDevice::Get().config.bitDepth = depth;
        DDSurfaceDesc d;
        d.flags = DDSD_CAPS;
        d.caps = DDSCAPS_PRIMARYSURFACE;
        DDSurface* s = nullptr;
        EXPECT_EQ(dd->CreateSurface(d, &s), DDERR_INVALIDPIXELFORMAT) << depth;
        EXPECT_EQ(s, nullptr);
    }
}

TEST_F(DirectDrawStandIn, LostSurfacesFailUntilRestored)
{
    DDSurfaceDesc d;
    d.flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    d.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    d.width = d.height = 4;
    DDSurface* video = nullptr;
    ASSERT_EQ(dd->CreateSurface(d, &video), DD_OK);
    DDSurface* system = Offscreen(4, 4);
    DirectDrawDevice::Get().LoseSurfaces();
    DDSurfaceDesc l;
    EXPECT_EQ(video->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(video->Lock(nullptr, l, 0), DDERR_SURFACELOST);
    EXPECT_EQ(system->Blt(nullptr, video, nullptr, 0, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(system->IsLost(), DD_OK); // system memory is never lost
    EXPECT_EQ(video->Restore(), DD_OK);
    EXPECT_EQ(video->Lock(nullptr, l, 0), DD_OK);
    video->Unlock();
    video->Release();
    system->Release();
}

TEST_F(DirectDrawStandIn, FullScreenFlipShowsTheBackBuffer)
{
    WindowDesc wd;
    WindowHandle w = platform.windows.Create(wd);
    ASSERT_EQ(dd->SetCooperativeLevel(w, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(800, 600, 32), DD_OK);
    DDSurfaceDesc d;
    d.flags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    d.backBufferCount = 1;
    d.caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    DDSurface* primary = nullptr;
    ASSERT_EQ(dd->CreateSurface(d, &primary), DD_OK);
    EXPECT_EQ(primary->Width(), 800);
    DDSurface* back = nullptr;
    ASSERT_EQ(primary->GetAttachedSurface(DDSCAPS_BACKBUFFER, &back), DD_OK);
    Fill(back, {0, 0, 800, 600}, 0x123456);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(primary->PixelARGB(10, 10), 0xFF123456u);
    int fw = 0, fh = 0;
    std::vector<uint32_t> frame = platform.windows.LastFrame(fw, fh);
    ASSERT_EQ(fw, 800);
    EXPECT_EQ(frame[size_t(5 * fw + 5)], 0xFF123456u);

    DirectDrawDevice::Get().FailNext("Flip", DDERR_SURFACELOST);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK); // the failure was for one call
    back->Release();
    primary->Release();
}

TEST_F(DirectDrawStandIn, WindowedPrimaryPresentsTheClientArea)
{
    WindowDesc wd;
    wd.width = 100;
    wd.height = 50;
    WindowHandle w = platform.windows.Create(wd);
    platform.windows.clientOriginX = 20;
    platform.windows.clientOriginY = 10;
    dd->SetCooperativeLevel(w, DDSCL_NORMAL);
    DDSurfaceDesc d;
    d.flags = DDSD_CAPS;
    d.caps = DDSCAPS_PRIMARYSURFACE;
    DDSurface* primary = nullptr;
    ASSERT_EQ(dd->CreateSurface(d, &primary), DD_OK);
    EXPECT_EQ(primary->Width(), 1024); // the whole desktop, addressed in screen coordinates
    Fill(primary, {20, 10, 21, 11}, 0xABCDEF);
    int fw = 0, fh = 0;
    std::vector<uint32_t> frame = platform.windows.LastFrame(fw, fh);
    EXPECT_EQ(fw, 100);
    EXPECT_EQ(fh, 50);
    EXPECT_EQ(frame[0], 0xFFABCDEFu);
    primary->Release();
}

// A 16-bit primary reaches the window as the surface's own reading of every
// value, for both layouts; the client area starts at an odd column and has a
// width of no whole number of vector steps, so rows start anywhere and end in
// a remainder. A second present of other pixels into the same frame size
// shows no trace of the first.
TEST_F(DirectDrawStandIn, SixteenBitPrimaryPresentsEveryValueAsItsSurfaceReadsIt)
{
    for (bool rgb555 : {false, true}) {
        SCOPED_TRACE(rgb555 ? "5-5-5" : "5-6-5");
        DirectDrawDevice::Get().config.bitDepth = 16;
        DirectDrawDevice::Get().config.rgb555 = rgb555;
        WindowDesc wd;
        wd.width = 263;
        wd.height = 251;
        WindowHandle w = platform.windows.Create(wd);
        platform.windows.clientOriginX = 3;
        platform.windows.clientOriginY = 2;
        ASSERT_EQ(dd->SetCooperativeLevel(w, DDSCL_NORMAL), DD_OK);
        DDSurfaceDesc d;
        d.flags = DDSD_CAPS;
        d.caps = DDSCAPS_PRIMARYSURFACE;
        DDSurface* primary = nullptr;
        ASSERT_EQ(dd->CreateSurface(d, &primary), DD_OK);
        for (uint32_t salt : {0u, 0x9E37u}) {
            DDSurfaceDesc locked;
            ASSERT_EQ(primary->Lock(nullptr, locked, DDLOCK_WAIT), DD_OK);
            for (int y = 0; y < primary->Height(); ++y) {
                uint16_t* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(locked.surface) +
                                                            size_t(y) * size_t(locked.pitch));
                for (int x = 0; x < primary->Width(); ++x)
                    row[x] = uint16_t((uint32_t(y) * 1031u + uint32_t(x) * 7u) ^ salt);
            }
            ASSERT_EQ(primary->Unlock(), DD_OK);
            int fw = 0, fh = 0;
            const std::vector<uint32_t> frame = platform.windows.LastFrame(fw, fh);
            ASSERT_EQ(fw, 263);
            ASSERT_EQ(fh, 251);
            for (int y = 0; y < fh; ++y)
                for (int x = 0; x < fw; ++x)
                    ASSERT_EQ(frame[size_t(y) * size_t(fw) + size_t(x)], primary->PixelARGB(x + 3, y + 2))
                        << "x " << x << " y " << y;
        }
        primary->Release();
    }
}

// A copy onto the primary (the windowed present) is made as its rows reach
// the window: the primary holds the source's bytes inside the rectangle and
// its own outside, and the frame shows the client area as the primary reads,
// for rectangles that are the client area, stick out of it on every side, or
// only cover part of it, in 32 and 16 bits.
TEST_F(DirectDrawStandIn, CopyOntoThePrimaryLandsThereAndInTheFrame)
{
    struct Case {
        DDRect to;
        uint32_t bits;
    } cases[] = {
        {{3, 2, 3 + 263, 2 + 251}, 32}, {{0, 0, 300, 260}, 32}, {{50, 40, 120, 200}, 32},
        {{3, 2, 3 + 263, 2 + 251}, 16}, {{1, 0, 301, 290}, 16}, {{60, 100, 61, 400}, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.to.left) + "," + std::to_string(c.to.top));
        DirectDrawDevice::Get().config.bitDepth = int(c.bits);
        WindowDesc wd;
        wd.width = 263;
        wd.height = 251;
        WindowHandle w = platform.windows.Create(wd);
        platform.windows.clientOriginX = 3;
        platform.windows.clientOriginY = 2;
        ASSERT_EQ(dd->SetCooperativeLevel(w, DDSCL_NORMAL), DD_OK);
        DDSurfaceDesc d;
        d.flags = DDSD_CAPS;
        d.caps = DDSCAPS_PRIMARYSURFACE;
        DDSurface* primary = nullptr;
        ASSERT_EQ(dd->CreateSurface(d, &primary), DD_OK);
        const int bytes = int(c.bits) / 8;
        // Every byte of both surfaces from its place, the source's other than the primary's.
        auto paint = [&](DDSurface* s, uint32_t salt) {
            DDSurfaceDesc locked;
            ASSERT_EQ(s->Lock(nullptr, locked, DDLOCK_WAIT), DD_OK);
            for (int y = 0; y < s->Height(); ++y)
                for (int i = 0; i < s->Width() * bytes; ++i)
                    static_cast<uint8_t*>(locked.surface)[size_t(y) * size_t(locked.pitch) + size_t(i)] =
                        uint8_t((uint32_t(y) * 131u + uint32_t(i) * 7u) ^ salt);
            ASSERT_EQ(s->Unlock(), DD_OK);
        };
        DDSurface* source = Offscreen(c.to.Width() + 5, c.to.Height() + 3, c.bits);
        paint(primary, 0x5A);
        paint(source, 0xC3);
        const size_t primaryBytes = size_t(primary->Pitch()) * size_t(primary->Height());
        const std::vector<uint8_t> before(primary->Memory(), primary->Memory() + primaryBytes);
        const DDRect from{5, 3, 5 + c.to.Width(), 3 + c.to.Height()};
        DDRect to = c.to;
        ASSERT_EQ(primary->Blt(&to, source, &from, DDBLT_WAIT, nullptr), DD_OK);

        int fw = 0, fh = 0;
        const std::vector<uint32_t> frame = platform.windows.LastFrame(fw, fh);
        ASSERT_EQ(fw, 263);
        ASSERT_EQ(fh, 251);
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < fw; ++x)
                ASSERT_EQ(frame[size_t(y) * size_t(fw) + size_t(x)], primary->PixelARGB(x + 3, y + 2) | 0xFF000000u)
                    << "x " << x << " y " << y;
        for (int y = 0; y < primary->Height(); ++y)
            for (int i = 0; i < primary->Width() * bytes; ++i) {
                const size_t at = size_t(y) * size_t(primary->Pitch()) + size_t(i);
                const int x = i / bytes;
                const bool inside = x >= to.left && x < to.right && y >= to.top && y < to.bottom;
                const uint8_t want =
                    inside ? source->Memory()[size_t(from.top + y - to.top) * size_t(source->Pitch()) +
                                             size_t(from.left + x - to.left) * size_t(bytes) + size_t(i % bytes)]
                           : before[at];
                ASSERT_EQ(primary->Memory()[at], want) << "x " << x << " y " << y;
            }
        source->Release();
        primary->Release();
    }
}

// A surface is opaque when its format has no alpha, or when every pixel's
// alpha is 255; the answer follows changes of the pixels.
TEST_F(DirectDrawStandIn, OpaqueFollowsTheAlphaOfEveryPixel)
{
    struct Case {
        const char* name;
        uint32_t bits, alphaMask;
        uint32_t pixel; // the value of every pixel
        int x, y;       // where the second value goes
        uint32_t other;
        bool opaque;
    } cases[] = {
        {"alpha 255 everywhere", 32, 0xFF000000u, 0xFF102030u, 6, 2, 0xFFFFFFFFu, true},
        {"one pixel of alpha 254", 32, 0xFF000000u, 0xFF102030u, 6, 2, 0xFE102030u, false},
        {"the last pixel transparent", 32, 0xFF000000u, 0xFF102030u, 6, 2, 0x00102030u, false},
        {"no alpha in the format", 32, 0, 0x00102030u, 0, 0, 0x00000000u, true},
        {"4-4-4-4, one pixel of alpha 14 of 15", 16, 0xF000, 0xF123, 3, 1, 0xE123, false},
        {"4-4-4-4, alpha 15 everywhere", 16, 0xF000, 0xF123, 3, 1, 0xF000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DDSurfaceDesc d;
        d.flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        d.caps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
        d.width = 7;
        d.height = 3;
        d.pixelFormat = c.bits == 32 ? DDPixelFormat{DDPF_RGB | (c.alphaMask ? DDPF_ALPHAPIXELS : 0u), 32, 0xFF0000,
                                                     0xFF00, 0xFF, c.alphaMask}
                                     : DDPixelFormat{DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
        DDSurface* s = nullptr;
        ASSERT_EQ(dd->CreateSurface(d, &s), DD_OK);
        auto put = [&](int x, int y, uint32_t v) {
            DDSurfaceDesc locked;
            ASSERT_EQ(s->Lock(nullptr, locked, DDLOCK_WAIT), DD_OK);
            uint8_t* row = static_cast<uint8_t*>(locked.surface) + size_t(y) * size_t(locked.pitch);
            std::memcpy(row + size_t(x) * (c.bits / 8), &v, c.bits / 8);
            ASSERT_EQ(s->Unlock(), DD_OK);
        };
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                put(x, y, c.pixel);
        EXPECT_TRUE(s->Opaque());
        put(c.x, c.y, c.other);
        EXPECT_EQ(s->Opaque(), c.opaque);
        // And back once the pixel is as the others again.
        put(c.x, c.y, c.pixel);
        EXPECT_TRUE(s->Opaque());
        s->Release();
    }
}

// ---- device contexts for text ----

TEST_F(DirectDrawStandIn, TextDrawnThroughTheDeviceContextLandsInTheSurfacesLayout)
{
    TextFontDesc desc;
    desc.height = 16; // a box glyph: columns 1..5 full, 6 half, rows 4..15 of the cell
    auto font = platform.text.CreateFont(desc);
    for (uint32_t bits : {16u, 32u}) {
        DDSurface* s = Offscreen(20, 24, bits);
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

TEST_F(DirectDrawStandIn, TheDeviceContextIsRefusedWhileTheSurfaceIsBusy)
{
    DDSurfaceDesc v;
    v.flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    v.caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    v.width = 8;
    v.height = 8;
    DDSurface* s = nullptr;
    ASSERT_EQ(dd->CreateSurface(v, &s), DD_OK);
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
