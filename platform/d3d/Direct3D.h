#pragma once
// The 3D stand-in: a Direct3D 7 subset drawn by our own software rasteriser
// into the display stand-in's surfaces. It takes transformed-and-lit vertices
// (screen positions, a diffuse colour, one pair of texture coordinates) and
// draws triangle strips, fans and lists and line strips with the pixel-centre
// and top-left conventions of that interface, so a quad from (x - 0.5, y - 0.5)
// to (x + w - 0.5, y + h - 0.5) covers exactly the pixels x .. x + w - 1.
//
// What a device offers (texture size limits, aspect, formats, palette alpha)
// is configured through D3DSettings, so tests can offer or deny each; every
// call can be failed with a chosen result code through the display device's
// failure table (DirectDrawDevice::FailNext with the operation's name), and
// losing the display's surfaces loses the device's render target.
#include "platform/ddraw/DirectDraw.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plat {

// Values as the 3D interface documents them.
enum : uint32_t {
    D3DPT_POINTLIST = 1, D3DPT_LINELIST = 2, D3DPT_LINESTRIP = 3,
    D3DPT_TRIANGLELIST = 4, D3DPT_TRIANGLESTRIP = 5, D3DPT_TRIANGLEFAN = 6,
    D3DFVF_TLVERTEX = 0x1C4,
    D3DDP_WAIT = 0x1,
    D3DCLEAR_TARGET = 0x1, D3DCLEAR_ZBUFFER = 0x2,
    D3DENUMRET_CANCEL = 0, D3DENUMRET_OK = 1,
    D3DPTEXTURECAPS_ALPHAPALETTE = 0x80,

    D3DRENDERSTATE_ZENABLE = 7, D3DRENDERSTATE_SHADEMODE = 9, D3DRENDERSTATE_ZWRITEENABLE = 14,
    D3DRENDERSTATE_SRCBLEND = 19, D3DRENDERSTATE_DESTBLEND = 20, D3DRENDERSTATE_CULLMODE = 22,
    D3DRENDERSTATE_DITHERENABLE = 26, D3DRENDERSTATE_ALPHABLENDENABLE = 27,
    D3DRENDERSTATE_SPECULARENABLE = 29, D3DRENDERSTATE_LIGHTING = 137,

    D3DBLEND_ZERO = 1, D3DBLEND_ONE = 2, D3DBLEND_SRCCOLOR = 3, D3DBLEND_INVSRCCOLOR = 4,
    D3DBLEND_SRCALPHA = 5, D3DBLEND_INVSRCALPHA = 6,
    D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3,

    D3DTSS_COLOROP = 1, D3DTSS_COLORARG1 = 2, D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4, D3DTSS_ALPHAARG1 = 5, D3DTSS_ALPHAARG2 = 6,
    D3DTSS_ADDRESS = 12, D3DTSS_ADDRESSU = 13, D3DTSS_ADDRESSV = 14,
    D3DTSS_MAGFILTER = 16, D3DTSS_MINFILTER = 17, D3DTSS_MIPFILTER = 18,
    D3DTOP_DISABLE = 1, D3DTOP_SELECTARG1 = 2, D3DTOP_SELECTARG2 = 3, D3DTOP_MODULATE = 4,
    D3DTA_DIFFUSE = 0, D3DTA_CURRENT = 1, D3DTA_TEXTURE = 2,
    D3DTADDRESS_WRAP = 1, D3DTADDRESS_MIRROR = 2, D3DTADDRESS_CLAMP = 3,
    D3DTFG_POINT = 1, D3DTFG_LINEAR = 2,
};

// A transformed-and-lit vertex: 32 bytes.
struct D3DTLVertex {
    D3DTLVertex() = default;
    // At (x, y), z 0 and rhw 1, no specular colour.
    D3DTLVertex(float x, float y, uint32_t diffuse, float u = 0.0f, float v = 0.0f)
        : sx(x), sy(y), color(diffuse), tu(u), tv(v)
    {
    }
    float sx = 0.0f, sy = 0.0f, sz = 0.0f, rhw = 1.0f;
    uint32_t color = 0;    // diffuse 0xAARRGGBB
    uint32_t specular = 0;
    float tu = 0.0f, tv = 0.0f;
};
static_assert(sizeof(D3DTLVertex) == 32, "a transformed-and-lit vertex is 32 bytes");

struct D3DViewport {
    uint32_t x = 0, y = 0, width = 0, height = 0;
    float minZ = 0.0f, maxZ = 1.0f;
};

// The part of a device description the framework reads.
struct D3DDeviceDesc {
    uint32_t minTextureWidth = 1, minTextureHeight = 1;
    uint32_t maxTextureWidth = 2048, maxTextureHeight = 2048;
    uint32_t maxTextureAspectRatio = 2048;
    uint32_t triTextureCaps = D3DPTEXTURECAPS_ALPHAPALETTE;
};

// The states the rasteriser follows.
struct D3DRenderStates {
    bool alphaBlend = false;
    uint32_t srcBlend = D3DBLEND_ONE;
    uint32_t destBlend = D3DBLEND_ZERO;
    uint32_t colorOp = D3DTOP_MODULATE;
    uint32_t colorArg1 = D3DTA_TEXTURE, colorArg2 = D3DTA_CURRENT;
    uint32_t alphaOp = D3DTOP_SELECTARG1;
    uint32_t alphaArg1 = D3DTA_TEXTURE, alphaArg2 = D3DTA_CURRENT;
    uint32_t addressU = D3DTADDRESS_WRAP, addressV = D3DTADDRESS_WRAP;
    uint32_t magFilter = D3DTFG_POINT, minFilter = D3DTFG_POINT;
    uint32_t cullMode = D3DCULL_CCW;
};

// One primitive as a recording device saw it.
struct D3DPrimitiveRecord {
    uint32_t type = 0;
    std::vector<D3DTLVertex> vertices;
    DDSurface* texture = nullptr;
    D3DRenderStates states;
};

// What devices made from now on offer, and the test switches.
struct D3DSettings {
    static D3DSettings& Get();
    void Reset();

    bool direct3DAvailable = true; // the display object answers the 3D query
    D3DDeviceDesc desc;
    // The texture formats the device enumerates, in this order.
    std::vector<DDPixelFormat> textureFormats;
    // When set, every primitive is appended here (before it is drawn).
    std::vector<D3DPrimitiveRecord>* recorder = nullptr;
    // When false, primitives are checked and recorded but not rasterised.
    bool rasterize = true;
    // A device that misbehaves: every pixel a primitive writes passes
    // through this (states, position, the pixel as the device made it as
    // ARGB) before it is stored.
    std::function<uint32_t(const D3DRenderStates&, int x, int y, uint32_t argb)> distort;
    // The rasteriser's scalar row kernels instead of its SSE2 ones (they give
    // the same pixels; tests compare the two).
    bool scalarRows = false;

    // The other adapter interface, used only to identify the adapter: absent
    // unless a test makes it present.
    bool direct3D8Present = false;
    DeviceIdentifier direct3D8Adapter;

    D3DSettings() { Reset(); }
};

class D3DDevice;
struct RasterTarget;

// Lets go of one reference (when there is one) and forgets the object.
template <typename T> void SafeRelease(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

// The 3D object of a DirectDraw object.
class Direct3D {
public:
    void AddRef() { ++mRefs; }
    void Release();
    // A device that renders into the target, which must be a 3D-capable
    // surface of 16 or 32 bits.
    int32_t CreateDevice(DDSurface* target, D3DDevice** out);

private:
    friend int32_t QueryDirect3D(DirectDraw* directDraw, Direct3D** out);
    Direct3D() = default;
    int mRefs = 1;
};

// Asks a DirectDraw object for its 3D interface.
int32_t QueryDirect3D(DirectDraw* directDraw, Direct3D** out);

typedef int (*D3DEnumPixelFormatsCallback)(const DDPixelFormat* format, void* context);

class D3DDevice {
public:
    void AddRef() { ++mRefs; }
    void Release();
    int32_t GetCaps(D3DDeviceDesc& out);
    int32_t EnumTextureFormats(D3DEnumPixelFormatsCallback callback, void* context);
    int32_t SetViewport(const D3DViewport& viewport);
    int32_t Clear(uint32_t rectCount, const DDRect* rects, uint32_t flags, uint32_t color, float z,
                  uint32_t stencil);
    int32_t SetRenderTarget(DDSurface* surface, uint32_t flags);
    int32_t BeginScene();
    int32_t EndScene();
    int32_t SetRenderState(uint32_t state, uint32_t value);
    int32_t SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value);
    int32_t SetTexture(uint32_t stage, DDSurface* texture);
    int32_t DrawPrimitive(uint32_t type, uint32_t vertexFormat, const void* vertices, uint32_t count,
                          uint32_t flags);

    const D3DRenderStates& States() const { return mStates; }
    bool InScene() const { return mInScene; }
    DDSurface* RenderTarget() const { return mTarget; }

private:
    friend class Direct3D;
    explicit D3DDevice(DDSurface* target);
    ~D3DDevice();
    // The render target as the rasteriser draws into it, clipped to the viewport.
    RasterTarget Raster() const;
    int mRefs = 1;
    DDSurface* mTarget;
    DDSurface* mTexture = nullptr;
    D3DDeviceDesc mDesc;
    std::vector<DDPixelFormat> mFormats;
    D3DViewport mViewport;
    D3DRenderStates mStates;
    bool mInScene = false;
};

} // namespace plat
