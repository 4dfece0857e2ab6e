// The 3D stand-in's pixels: fill rules, sampling, filtering, blending, lines,
// the viewport, and the device's checks and failures.
#include "platform/d3d/Direct3D.h"
#include "platform/d3d/Direct3D8.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

using namespace plat;

namespace {

D3DTLVertex V(float x, float y, uint32_t color = 0xFFFFFFFF, float u = 0, float v = 0)
{
    return D3DTLVertex(x, y, color, u, v);
}

class Device3D : public ::testing::Test {
protected:
    Device3D()
    {
        DirectDrawDevice::Get().Reset();
        D3DSettings::Get().Reset();
        EXPECT_EQ(DirectDrawCreateEx(&dd), DD_OK);
    }
    ~Device3D() override
    {
        if (device)
            device->Release();
        if (d3d)
            d3d->Release();
        for (DDSurface* s : surfaces)
            s->Release();
        dd->Release();
        DirectDrawDevice::Get().Reset();
        D3DSettings::Get().Reset();
    }

    DDSurface* Surface(int w, int h, uint32_t caps, const DDPixelFormat* format = nullptr)
    {
        DDSurfaceDesc desc;
        desc.flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | (format ? uint32_t(DDSD_PIXELFORMAT) : 0u);
        desc.width = w;
        desc.height = h;
        desc.caps = caps;
        if (format)
            desc.pixelFormat = *format;
        DDSurface* s = nullptr;
        EXPECT_EQ(dd->CreateSurface(desc, &s), DD_OK);
        surfaces.push_back(s);
        return s;
    }

    // A target of the desktop's format and a device on it, in a scene.
    void Start(int w, int h)
    {
        target = Surface(w, h, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
        ASSERT_EQ(QueryDirect3D(dd, &d3d), D3D_OK);
        ASSERT_EQ(d3d->CreateDevice(target, &device), D3D_OK);
        device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        ASSERT_EQ(device->BeginScene(), D3D_OK);
    }

    // A 32-bit texture with alpha holding the pixels.
    DDSurface* Texture(int w, int h, const std::vector<uint32_t>& argb)
    {
        DDPixelFormat f = D3DSettings::Get().textureFormats[0];
        DDSurface* t = Surface(w, h, DDSCAPS_TEXTURE, &f);
        DDSurfaceDesc desc;
        EXPECT_EQ(t->Lock(nullptr, desc, DDLOCK_WAIT | DDLOCK_WRITEONLY), DD_OK);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(desc.surface) + y * desc.pitch)[x] =
                    argb[size_t(y) * w + x];
        t->Unlock();
        return t;
    }

    void Draw(uint32_t type, const std::vector<D3DTLVertex>& v)
    {
        ASSERT_EQ(device->DrawPrimitive(type, D3DFVF_TLVERTEX, v.data(), uint32_t(v.size()), 0), D3D_OK);
    }
    // A quad in strip order from (x0, y0) to (x1, y1) with texture coordinates 0..u, 0..v.
    void Quad(float x0, float y0, float x1, float y1, uint32_t color = 0xFFFFFFFF, float u = 1, float v = 1)
    {
        Draw(D3DPT_TRIANGLESTRIP, {V(x0, y0, color, 0, 0), V(x0, y1, color, 0, v), V(x1, y0, color, u, 0),
                                   V(x1, y1, color, u, v)});
    }
    void Blend(uint32_t src, uint32_t dest)
    {
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        device->SetRenderState(D3DRENDERSTATE_SRCBLEND, src);
        device->SetRenderState(D3DRENDERSTATE_DESTBLEND, dest);
    }
    uint32_t Pixel(int x, int y) { return target->PixelARGB(x, y) & 0xFFFFFF; }

    DirectDraw* dd = nullptr;
    Direct3D* d3d = nullptr;
    D3DDevice* device = nullptr;
    DDSurface* target = nullptr;
    std::vector<DDSurface*> surfaces;
};

} // namespace

// Every pixel whose centre lies inside a mesh of triangles is drawn exactly
// once: adding 1 per coverage leaves 1 everywhere inside and 0 outside,
// whether the edges run through pixel centres or between them.
TEST_F(Device3D, SharedEdgesDrawEachPixelOnce)
{
    Start(64, 64);
    Blend(D3DBLEND_ONE, D3DBLEND_ONE);
    struct Mesh {
        const char* name;
        float left, top, right, bottom;
        float jitter;
        int firstX, lastX, firstY, lastY; // pixels inside
    } meshes[] = {
        {"edges between centres", 3.3f, 4.7f, 50.6f, 41.2f, 0.37f, 4, 50, 5, 41},
        {"edges through centres", 10.0f, 8.0f, 42.0f, 40.0f, 0.0f, 10, 41, 8, 39},
        {"edges on half pixels", 9.5f, 7.5f, 45.5f, 37.5f, 0.5f, 10, 45, 8, 37},
    };
    uint32_t seed = 7;
    auto next = [&seed] {
        seed = seed * 214013u + 2531011u;
        return float((seed >> 16) & 0x7FFF) / 32767.0f - 0.5f;
    };
    for (const Mesh& m : meshes) {
        SCOPED_TRACE(m.name);
        DDBltFx fx;
        ASSERT_EQ(target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
        // A 6 x 5 grid of cells; inner points moved about, the outline kept.
        const int cols = 6, rows = 5;
        float px[rows + 1][cols + 1], py[rows + 1][cols + 1];
        for (int j = 0; j <= rows; ++j)
            for (int i = 0; i <= cols; ++i) {
                const bool inner = i > 0 && i < cols && j > 0 && j < rows;
                px[j][i] = m.left + (m.right - m.left) * i / cols + (inner ? m.jitter * next() * 4 : 0);
                py[j][i] = m.top + (m.bottom - m.top) * j / rows + (inner ? m.jitter * next() * 4 : 0);
                if (m.jitter == 0.5f && inner) { // land inner points exactly on pixel edges
                    px[j][i] = float(int(px[j][i])) + 0.5f;
                    py[j][i] = float(int(py[j][i])) + 0.5f;
                }
            }
        const uint32_t one = 0xFF010101;
        for (int j = 0; j < rows; ++j)
            for (int i = 0; i < cols; ++i) {
                D3DTLVertex a = V(px[j][i], py[j][i], one), b = V(px[j][i + 1], py[j][i + 1], one);
                D3DTLVertex c = V(px[j + 1][i], py[j + 1][i], one), d = V(px[j + 1][i + 1], py[j + 1][i + 1], one);
                // Both diagonals, both windings, lists, strips and fans.
                switch ((i + j) % 3) {
                case 0: Draw(D3DPT_TRIANGLELIST, {a, b, d, a, c, d}); break;
                case 1: Draw(D3DPT_TRIANGLESTRIP, {a, c, b, d}); break;
                default: Draw(D3DPT_TRIANGLEFAN, {b, a, c, d}); break;
                }
            }
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool inside = x >= m.firstX && x <= m.lastX && y >= m.firstY && y <= m.lastY;
                ASSERT_EQ(Pixel(x, y), inside ? 0x010101u : 0u) << x << ", " << y;
            }
    }
}

TEST_F(Device3D, PointAndBilinearSamplingAtCentresGiveTheTexels)
{
    Start(40, 30);
    std::vector<uint32_t> texels(16 * 8);
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    DDSurface* texture = Texture(16, 8, texels);
    device->SetTexture(0, texture);
    for (uint32_t filter : {D3DTFG_POINT, D3DTFG_LINEAR}) {
        SCOPED_TRACE(filter);
        device->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
        device->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
        // Texels 3..12 x 2..7 at (5, 9), biased by half a pixel, as a quad and as two triangles.
        const float u0 = 3 / 16.0f, u1 = 13 / 16.0f, v0 = 2 / 8.0f, v1 = 1.0f;
        Draw(D3DPT_TRIANGLESTRIP,
             {V(4.5f, 8.5f, 0xFFFFFFFF, u0, v0), V(4.5f, 14.5f, 0xFFFFFFFF, u0, v1),
              V(14.5f, 8.5f, 0xFFFFFFFF, u1, v0), V(14.5f, 14.5f, 0xFFFFFFFF, u1, v1)});
        Draw(D3DPT_TRIANGLELIST,
             {V(19.5f, 8.5f, 0xFFFFFFFF, u0, v0), V(19.5f, 14.5f, 0xFFFFFFFF, u0, v1),
              V(29.5f, 8.5f, 0xFFFFFFFF, u1, v0), V(19.5f, 14.5f, 0xFFFFFFFF, u0, v1),
              V(29.5f, 8.5f, 0xFFFFFFFF, u1, v0), V(29.5f, 14.5f, 0xFFFFFFFF, u1, v1)});
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 10; ++x) {
                const uint32_t want = texels[size_t(y + 2) * 16 + size_t(x + 3)] & 0xFFFFFF;
                ASSERT_EQ(Pixel(5 + x, 9 + y), want) << x << ", " << y;
                ASSERT_EQ(Pixel(20 + x, 9 + y), want) << x << ", " << y;
            }
    }
}

TEST_F(Device3D, BilinearStretchClampsOrWraps)
{
    Start(8, 2);
    // Two equal rows, so that rows are blended too and only columns matter.
    DDSurface* texture = Texture(2, 2, {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF});
    device->SetTexture(0, texture);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    Quad(-0.5f, -0.5f, 7.5f, 0.5f);
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_WRAP);
    Quad(-0.5f, 0.5f, 7.5f, 1.5f);
    const uint32_t clamped[8] = {0, 0, 31, 95, 159, 223, 255, 255};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(Pixel(x, 0), clamped[x] * 0x010101u) << x;
    EXPECT_NE(Pixel(0, 1), 0u) << "wrapping blends in the far texel";
    EXPECT_NE(Pixel(7, 1), 0xFFFFFFu);
}

TEST_F(Device3D, BlendsAndModulation)
{
    struct Case {
        const char* name;
        bool blend;
        uint32_t src, dest, alphaOp;
        uint32_t texel, diffuse, before, after;
    } cases[] = {
        {"source over, half alpha", true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG1, 0x80FF0000,
         0xFFFFFFFF, 0x0000FF, 0x7F007F},
        {"source over, opaque", true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG1, 0xFF123456,
         0xFFFFFFFF, 0xABCDEF, 0x123456},
        {"source over, transparent", true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG1, 0x00123456,
         0xFFFFFFFF, 0xABCDEF, 0xABCDEF},
        {"additive saturates", true, D3DBLEND_ONE, D3DBLEND_ONE, D3DTOP_SELECTARG1, 0xFF40C0FF, 0xFFFFFFFF, 0x808080,
         0xC0FFFF},
        {"alpha-weighted add", true, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DTOP_SELECTARG1, 0x80808080, 0xFFFFFFFF,
         0x404040, 0x808080},
        {"no blending copies", false, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG1, 0x10203040,
         0xFFFFFFFF, 0xFFFFFF, 0x203040},
        {"colour modulated", true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG1, 0xFFFF8040,
         0xFF80FF00, 0x000000, 0x808000},
        {"alpha modulated", true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE, 0xFFFF0000, 0x80FFFFFF,
         0x0000FF, 0x7F007F},
        {"alpha from the texture only", true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG1,
         0xFFFF0000, 0x80FFFFFF, 0x0000FF, 0xFF0000},
    };
    Start(4, 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DDBltFx fx;
        fx.fillColor = c.before;
        ASSERT_EQ(target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
        DDSurface* texture = Texture(1, 1, {c.texel});
        device->SetTexture(0, texture);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, c.blend);
        device->SetRenderState(D3DRENDERSTATE_SRCBLEND, c.src);
        device->SetRenderState(D3DRENDERSTATE_DESTBLEND, c.dest);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, c.alphaOp);
        Quad(-0.5f, -0.5f, 1.5f, 1.5f, c.diffuse);
        EXPECT_EQ(Pixel(0, 0), c.after);
        EXPECT_EQ(Pixel(1, 1), c.after);
        EXPECT_EQ(Pixel(2, 2), c.before);
    }
}

TEST_F(Device3D, TextureFormatsAndSixteenBitTargets)
{
    DirectDrawDevice::Get().config.bitDepth = 16;
    Start(4, 1);
    Blend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    const std::vector<DDPixelFormat>& formats = D3DSettings::Get().textureFormats;
    // A4R4G4B4 0x8F0F: alpha 8, red F, blue F; over black on 5-6-5.
    DDPixelFormat a4 = formats[1];
    DDSurface* t16 = Surface(1, 1, DDSCAPS_TEXTURE, &a4);
    DDSurfaceDesc desc;
    ASSERT_EQ(t16->Lock(nullptr, desc, DDLOCK_WAIT), DD_OK);
    *static_cast<uint16_t*>(desc.surface) = 0x8F0F;
    t16->Unlock();
    device->SetTexture(0, t16);
    Quad(-0.5f, -0.5f, 0.5f, 0.5f);
    // Palette texture whose entry 1 is half-transparent green.
    DDPixelFormat p8 = formats[3];
    DDSurface* tp = Surface(2, 1, DDSCAPS_TEXTURE, &p8);
    PaletteEntry entries[256] = {};
    entries[1] = {0, 255, 0, 128};
    DDPalette* palette = nullptr;
    ASSERT_EQ(dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256 | DDPCAPS_ALPHA, entries, &palette), DD_OK);
    ASSERT_EQ(tp->SetPalette(palette), DD_OK);
    palette->Release();
    ASSERT_EQ(tp->Lock(nullptr, desc, DDLOCK_WAIT), DD_OK);
    static_cast<uint8_t*>(desc.surface)[0] = 1;
    static_cast<uint8_t*>(desc.surface)[1] = 0;
    tp->Unlock();
    device->SetTexture(0, tp);
    Quad(0.5f, -0.5f, 2.5f, 0.5f);
    // 0x88 alpha over black: red 0xFF x 0x88 >> 8 = 0x87, in 5 bits 0x10 -> 0x84.
    EXPECT_EQ(Pixel(0, 0), 0x840084u);
    EXPECT_EQ(Pixel(1, 0), 0x007D00u); // green 0x80 in 6 bits, read back as 0x7D
    EXPECT_EQ(Pixel(2, 0), 0x000000u) << "entry 0 is transparent";
}

TEST_F(Device3D, LineStripsLeaveOutTheirLastPixel)
{
    Start(12, 12);
    Draw(D3DPT_LINESTRIP, {V(2, 3, 0xFFFF0000), V(9, 3, 0xFFFF0000), V(9.5f, 3.5f, 0xFFFF0000)});
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(Pixel(x, 3), x >= 2 && x <= 9 ? 0xFF0000u : 0u) << x;
    Draw(D3DPT_LINESTRIP, {V(1, 5, 0xFF00FF00), V(4, 11, 0xFF00FF00)});
    int drawn = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            drawn += Pixel(x, y) == 0x00FF00u;
    EXPECT_EQ(drawn, 6) << "one pixel per row of a steep line, the end left out";
    EXPECT_EQ(Pixel(1, 5), 0x00FF00u);
    EXPECT_EQ(Pixel(4, 11), 0u);
}

TEST_F(Device3D, ViewportClipsAndClears)
{
    Start(20, 20);
    D3DViewport vp;
    vp.x = 5;
    vp.y = 6;
    vp.width = 10;
    vp.height = 4;
    ASSERT_EQ(device->SetViewport(vp), D3D_OK);
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0), D3D_OK);
    EXPECT_EQ(Pixel(5, 6), 0x0000FFu);
    EXPECT_EQ(Pixel(14, 9), 0x0000FFu);
    EXPECT_EQ(Pixel(4, 6), 0u);
    EXPECT_EQ(Pixel(15, 9), 0u);
    EXPECT_EQ(Pixel(14, 10), 0u);
    Quad(-100.5f, -100.5f, 100.5f, 100.5f, 0xFFFF0000);
    int red = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            red += Pixel(x, y) == 0xFF0000u;
    EXPECT_EQ(red, 40);
    vp.width = 16; // beyond the target
    EXPECT_EQ(device->SetViewport(vp), DDERR_INVALIDPARAMS);
}

TEST_F(Device3D, CullingFollowsTheWinding)
{
    Start(10, 10);
    device->EndScene();
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    // Clockwise on the screen (y down), then counter-clockwise.
    Draw(D3DPT_TRIANGLELIST, {V(0, 0, 0xFFFF0000), V(5, 0, 0xFFFF0000), V(0, 5, 0xFFFF0000)});
    Draw(D3DPT_TRIANGLELIST, {V(5, 5, 0xFF00FF00), V(5, 10, 0xFF00FF00), V(10, 5, 0xFF00FF00)});
    EXPECT_EQ(Pixel(1, 1), 0xFF0000u);
    EXPECT_EQ(Pixel(6, 6), 0u);
}

TEST_F(Device3D, CallsAreCheckedAndCanBeFailed)
{
    // A device needs a 3D-capable target of 16 or 32 bits.
    DDSurface* plain = Surface(4, 4, DDSCAPS_OFFSCREENPLAIN);
    ASSERT_EQ(QueryDirect3D(dd, &d3d), D3D_OK);
    D3DDevice* none = nullptr;
    EXPECT_EQ(d3d->CreateDevice(plain, &none), DDERR_INVALIDCAPS);
    d3d->Release();
    d3d = nullptr;
    Start(8, 8);

    const D3DTLVertex tri[3] = {V(0, 0), V(4, 0), V(0, 4)};
    ASSERT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, tri, 3, 0), D3DERR_SCENE_NOT_IN_SCENE);
    EXPECT_EQ(device->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_SCENE_IN_SCENE);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0x142, tri, 3, 0), D3DERR_INVALIDVERTEXTYPE);
    EXPECT_EQ(device->SetTexture(0, plain), DDERR_INVALIDPARAMS) << "not a texture";
    DDSurfaceDesc desc;
    ASSERT_EQ(target->Lock(nullptr, desc, DDLOCK_WAIT), DD_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, tri, 3, 0), DDERR_SURFACEBUSY);
    target->Unlock();

    // Any call fails with a chosen code, once.
    for (const char* op : {"DrawPrimitive", "SetTexture", "SetRenderState", "Clear", "BeginScene"}) {
        SCOPED_TRACE(op);
        device->EndScene();
        ASSERT_EQ(device->BeginScene(), D3D_OK);
        DirectDrawDevice::Get().FailNext(op, D3DERR_INVALIDCURRENTVIEWPORT);
        const std::string name = op;
        auto call = [&] {
            if (name == "DrawPrimitive")
                return device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, tri, 3, 0);
            if (name == "SetTexture")
                return device->SetTexture(0, nullptr);
            if (name == "SetRenderState")
                return device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
            if (name == "Clear")
                return device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
            device->EndScene();
            return device->BeginScene();
        };
        EXPECT_EQ(call(), D3DERR_INVALIDCURRENTVIEWPORT);
        EXPECT_EQ(call(), D3D_OK);
    }

    // Losing the display's surfaces loses the target.
    DirectDrawDevice::Get().LoseSurfaces();
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, tri, 3, 0), DDERR_SURFACELOST);
    EXPECT_EQ(device->SetRenderTarget(target, 0), DDERR_SURFACELOST);
    target->Restore();
    EXPECT_EQ(device->SetRenderTarget(target, 0), D3D_OK);
}

TEST_F(Device3D, CapabilitiesAndFormatsAreConfigurable)
{
    D3DSettings& settings = D3DSettings::Get();
    settings.desc.maxTextureWidth = 512;
    settings.desc.maxTextureAspectRatio = 4;
    settings.textureFormats.erase(settings.textureFormats.begin()); // no A8R8G8B8
    Start(4, 4);
    D3DDeviceDesc desc;
    ASSERT_EQ(device->GetCaps(desc), D3D_OK);
    EXPECT_EQ(desc.maxTextureWidth, 512u);
    EXPECT_EQ(desc.maxTextureAspectRatio, 4u);
    std::vector<uint32_t> bits;
    auto collect = [](const DDPixelFormat* f, void* context) {
        static_cast<std::vector<uint32_t>*>(context)->push_back(f->rgbBitCount);
        return int(D3DENUMRET_OK);
    };
    ASSERT_EQ(device->EnumTextureFormats(collect, &bits), D3D_OK);
    EXPECT_EQ(bits, (std::vector<uint32_t>{16, 16, 8}));
    auto first = [](const DDPixelFormat*, void* context) {
        ++*static_cast<int*>(context);
        return int(D3DENUMRET_CANCEL);
    };
    int calls = 0;
    device->EnumTextureFormats(first, &calls);
    EXPECT_EQ(calls, 1);

    settings.direct3DAvailable = false;
    Direct3D* absent = nullptr;
    EXPECT_EQ(QueryDirect3D(dd, &absent), E_NOINTERFACE);
}

TEST(Direct3D8Adapter, AbsentUnlessConfigured)
{
    D3DSettings::Get().Reset();
    DeviceIdentifier id;
    EXPECT_FALSE(Direct3D8AdapterIdentifier(D3D8_SDK_VERSION, D3DENUM_NO_WHQL_LEVEL, id));
    D3DSettings::Get().direct3D8Present = true;
    D3DSettings::Get().direct3D8Adapter.description = "RADEON 9800";
    ASSERT_TRUE(Direct3D8AdapterIdentifier(D3D8_SDK_VERSION, D3DENUM_NO_WHQL_LEVEL, id));
    EXPECT_EQ(id.description, "RADEON 9800");
    EXPECT_FALSE(Direct3D8AdapterIdentifier(120, 0, id)) << "another SDK version makes no object";
    D3DSettings::Get().Reset();
}

// The row kernels (vector and scalar) against the pixel-by-pixel blend: a
// device whose distortion changes nothing takes the pixel-by-pixel path, so
// the same primitives must leave the same bytes through all three, for every
// target layout, blend, texture kind, colour and filter. Textures mix runs of
// transparent, opaque and translucent texels; the targets start as noise.
TEST_F(Device3D, RowKernelsMatchThePixelByPixelBlend)
{
    uint32_t seed = 11;
    auto random = [&seed] {
        seed = seed * 214013u + 2531011u;
        return (seed >> 16) & 0x7FFF;
    };
    const std::vector<DDPixelFormat>& formats = D3DSettings::Get().textureFormats;
    struct Layout {
        const char* name;
        int bitDepth;
        bool rgb555;
    } layouts[] = {{"32-bit", 32, false}, {"5-6-5", 16, false}, {"5-5-5", 16, true}};
    struct BlendCase {
        const char* name;
        bool enable;
        uint32_t src, dest;
    } blends[] = {
        {"source over", true, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
        {"alpha-weighted add", true, D3DBLEND_SRCALPHA, D3DBLEND_ONE},
        {"add", true, D3DBLEND_ONE, D3DBLEND_ONE},
        {"colour weights", true, D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR},
        {"no blending", false, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
    };
    // Texture formats: 32-bit with alpha, 4-4-4-4, and opaque 5-6-5.
    const int textureFormats[] = {0, 1, 2};
    const uint32_t colors[] = {0xFFFFFFFFu, 0x80FFFFFFu, 0xFF80C040u};
    // How the texel and the diffuse colour combine: each channel the texel,
    // the diffuse colour, their product, or the texel's square.
    struct Stage {
        const char* name;
        uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
    } stages[] = {
        {"modulated", D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE},
        {"texel colour, diffuse alpha", D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_SELECTARG2,
         D3DTA_TEXTURE, D3DTA_DIFFUSE},
        {"diffuse colour, modulated alpha", D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTOP_MODULATE,
         D3DTA_DIFFUSE, D3DTA_TEXTURE},
        {"squared colour", D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_TEXTURE, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
         D3DTA_DIFFUSE},
    };
    const int W = 45, H = 23;

    for (const Layout& layout : layouts)
        for (const BlendCase& blend : blends)
            for (int format : textureFormats)
                for (uint32_t color : colors)
                    for (const Stage& stage : stages)
                    for (bool linear : {false, true}) {
                        SCOPED_TRACE(std::string(layout.name) + ", " + blend.name + ", texture format " +
                                     std::to_string(format) + ", colour " + std::to_string(color) + ", " +
                                     stage.name + (linear ? ", bilinear" : ", point"));
                        // Texture: runs of one alpha class (0, 255 or any) with varied colour.
                        const int tw = 37, th = 19;
                        std::vector<uint32_t> texels(size_t(tw) * th);
                        for (size_t i = 0; i < texels.size();) {
                            const uint32_t kind = random() % 3, run = 1 + random() % 24;
                            for (uint32_t k = 0; k < run && i < texels.size(); ++k, ++i) {
                                const uint32_t a = kind == 0 ? 0 : kind == 1 ? 255 : random() & 0xFF;
                                texels[i] = a << 24 | (random() & 0xFF) << 16 | (random() & 0xFF) << 8 | (random() & 0xFF);
                            }
                        }
                        std::vector<uint8_t> noise;
                        for (int i = 0; i < W * H * 4; ++i)
                            noise.push_back(uint8_t(random()));

                        // The same drawing on three devices: pixel by pixel, scalar rows, vector rows.
                        std::vector<uint8_t> results[3];
                        for (int path = 0; path < 3; ++path) {
                            DirectDrawDevice::Get().config.bitDepth = layout.bitDepth;
                            DirectDrawDevice::Get().config.rgb555 = layout.rgb555;
                            D3DSettings::Get().distort = nullptr;
                            if (path == 0)
                                D3DSettings::Get().distort = [](const D3DRenderStates&, int, int, uint32_t argb) {
                                    return argb;
                                };
                            D3DSettings::Get().scalarRows = path == 1;
                            DDSurface* surface = Surface(W, H, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
                            ASSERT_EQ(surface->BitCount(), uint32_t(layout.bitDepth));
                            for (int y = 0; y < H; ++y)
                                std::copy(noise.begin() + y * W * 4,
                                          noise.begin() + y * W * 4 + W * layout.bitDepth / 8,
                                          surface->Memory() + size_t(y) * size_t(surface->Pitch()));
                            if (!d3d) {
                                ASSERT_EQ(QueryDirect3D(dd, &d3d), D3D_OK);
                            }
                            D3DDevice* dev = nullptr;
                            ASSERT_EQ(d3d->CreateDevice(surface, &dev), D3D_OK);
                            DDPixelFormat f = formats[size_t(format)];
                            DDSurface* texture = Surface(tw, th, DDSCAPS_TEXTURE, &f);
                            DDSurfaceDesc desc;
                            ASSERT_EQ(texture->Lock(nullptr, desc, DDLOCK_WAIT), DD_OK);
                            for (int y = 0; y < th; ++y)
                                for (int x = 0; x < tw; ++x) {
                                    const uint32_t p = texels[size_t(y) * tw + x];
                                    uint8_t* row = static_cast<uint8_t*>(desc.surface) + y * desc.pitch;
                                    if (format == 0)
                                        reinterpret_cast<uint32_t*>(row)[x] = p;
                                    else if (format == 1)
                                        reinterpret_cast<uint16_t*>(row)[x] =
                                            uint16_t((p >> 16 & 0xF000) | (p >> 12 & 0x0F00) | (p >> 8 & 0xF0) |
                                                     (p >> 4 & 0x0F));
                                    else
                                        reinterpret_cast<uint16_t*>(row)[x] =
                                            uint16_t((p >> 8 & 0xF800) | (p >> 5 & 0x07E0) | (p >> 3 & 0x1F));
                                }
                            texture->Unlock();
                            dev->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
                            dev->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, blend.enable);
                            dev->SetRenderState(D3DRENDERSTATE_SRCBLEND, blend.src);
                            dev->SetRenderState(D3DRENDERSTATE_DESTBLEND, blend.dest);
                            dev->SetTextureStageState(0, D3DTSS_COLOROP, stage.colorOp);
                            dev->SetTextureStageState(0, D3DTSS_COLORARG1, stage.colorArg1);
                            dev->SetTextureStageState(0, D3DTSS_COLORARG2, stage.colorArg2);
                            dev->SetTextureStageState(0, D3DTSS_ALPHAOP, stage.alphaOp);
                            dev->SetTextureStageState(0, D3DTSS_ALPHAARG1, stage.alphaArg1);
                            dev->SetTextureStageState(0, D3DTSS_ALPHAARG2, stage.alphaArg2);
                            dev->SetTextureStageState(0, D3DTSS_MAGFILTER, linear ? D3DTFG_LINEAR : D3DTFG_POINT);
                            dev->SetTextureStageState(0, D3DTSS_MINFILTER, linear ? D3DTFG_LINEAR : D3DTFG_POINT);
                            dev->SetTexture(0, texture);
                            ASSERT_EQ(dev->BeginScene(), D3D_OK);
                            auto draw = [&](uint32_t type, std::vector<D3DTLVertex> v) {
                                ASSERT_EQ(dev->DrawPrimitive(type, D3DFVF_TLVERTEX, v.data(), uint32_t(v.size()), 0),
                                          D3D_OK);
                            };
                            // Texel for pixel, at whole and at odd positions.
                            draw(D3DPT_TRIANGLESTRIP, {V(-0.5f, -0.5f, color, 0, 0), V(-0.5f, th - 0.5f, color, 0, 1),
                                                       V(tw - 0.5f, -0.5f, color, 1, 0),
                                                       V(tw - 0.5f, th - 0.5f, color, 1, 1)});
                            draw(D3DPT_TRIANGLESTRIP, {V(9.5f, 3.5f, color, 0, 0), V(9.5f, 3.5f + th, color, 0, 1),
                                                       V(9.5f + tw, 3.5f, color, 1, 0),
                                                       V(9.5f + tw, 3.5f + th, color, 1, 1)});
                            // Texel for pixel from the texture's middle row on: the rows
                            // below its last row wrap round.
                            draw(D3DPT_TRIANGLESTRIP, {V(4.5f, 1.5f, color, 0, 0.5f), V(4.5f, 1.5f + th, color, 0, 1.5f),
                                                       V(4.5f + tw, 1.5f, color, 1, 0.5f),
                                                       V(4.5f + tw, 1.5f + th, color, 1, 1.5f)});
                            // Stretched, and a rotated triangle with wrap-around.
                            draw(D3DPT_TRIANGLESTRIP, {V(2.3f, 1.7f, color, 0.1f, 0.2f), V(2.3f, 20.2f, color, 0.1f, 0.9f),
                                                       V(40.6f, 1.7f, color, 0.8f, 0.2f),
                                                       V(40.6f, 20.2f, color, 0.8f, 0.9f)});
                            draw(D3DPT_TRIANGLELIST, {V(1.0f, 21.0f, color, -0.3f, 1.4f), V(44.0f, 2.0f, 0xC0FF8040u, 1.7f, 0.1f),
                                                      V(30.0f, 22.5f, color, 0.6f, 1.2f)});
                            draw(D3DPT_LINESTRIP, {V(0.5f, 0.5f, color, 0, 0), V(44.5f, 22.5f, color, 1, 1)});
                            // The colour alone.
                            dev->SetTexture(0, nullptr);
                            draw(D3DPT_TRIANGLESTRIP, {V(6.5f, 0.5f, color), V(6.5f, 22.5f, color), V(30.5f, 0.5f, color),
                                                       V(30.5f, 22.5f, color)});
                            ASSERT_EQ(dev->EndScene(), D3D_OK);
                            dev->Release();
                            for (int y = 0; y < H; ++y) {
                                const uint8_t* row = surface->Memory() + size_t(y) * size_t(surface->Pitch());
                                results[path].insert(results[path].end(), row, row + W * layout.bitDepth / 8);
                            }
                        }
                        ASSERT_EQ(results[2], results[1]) << "vector rows against scalar rows";
                        // The unused bits (the top byte of a 32-bit pixel, the top bit of a
                        // 5-5-5 one): the rows leave them where they leave the pixel; the
                        // pixel-by-pixel path writes every pixel it covers.
                        for (int path = 0; path < 2; ++path)
                            for (size_t i = 0; i < results[path].size(); ++i) {
                                if (layout.bitDepth == 32 && i % 4 == 3)
                                    results[path][i] = 0;
                                if (layout.rgb555 && i % 2 == 1)
                                    results[path][i] &= 0x7F;
                            }
                        ASSERT_EQ(results[1], results[0]) << "rows against pixel by pixel";
                    }
}
