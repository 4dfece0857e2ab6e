#include "platform/d3d/Direct3D.h"
#include "platform/d3d/SoftRasterizer.h"

#include <algorithm>

namespace plat {

namespace {

int32_t Failure(const char* operation) { return DirectDrawDevice::Get().TakeFailure(operation); }

DDPixelFormat Format(uint32_t flags, uint32_t bits, uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    DDPixelFormat f;
    f.flags = flags;
    f.rgbBitCount = bits;
    f.rBitMask = r;
    f.gBitMask = g;
    f.bBitMask = b;
    f.alphaBitMask = a;
    return f;
}

bool IsRenderTarget(const DDSurface* s)
{
    const uint32_t bits = s->PixelFormat().rgbBitCount;
    return (s->Caps() & DDSCAPS_3DDEVICE) && (bits == 16 || bits == 32);
}

} // namespace

// ---- settings ----

D3DSettings& D3DSettings::Get()
{
    static D3DSettings settings;
    return settings;
}

void D3DSettings::Reset()
{
    direct3DAvailable = true;
    desc = D3DDeviceDesc();
    textureFormats = {
        Format(DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000),
        Format(DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000),
        Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0),
        Format(DDPF_RGB | DDPF_PALETTEINDEXED8, 8, 0, 0, 0, 0),
    };
    recorder = nullptr;
    rasterize = true;
    distort = nullptr;
    scalarRows = false;
    direct3D8Present = false;
    direct3D8Adapter = DeviceIdentifier();
    direct3D8Adapter.description = "Zelk Software Rasterizer";
}

// ---- the 3D object ----

int32_t QueryDirect3D(DirectDraw* directDraw, Direct3D** out)
{
    *out = nullptr;
    if (int32_t f = Failure("QueryDirect3D"))
        return f;
    if (!directDraw || !D3DSettings::Get().direct3DAvailable)
        return E_NOINTERFACE;
    *out = new Direct3D();
    return D3D_OK;
}

void Direct3D::Release()
{
    if (--mRefs <= 0)
        delete this;
}

int32_t Direct3D::CreateDevice(DDSurface* target, D3DDevice** out)
{
    *out = nullptr;
    if (int32_t f = Failure("CreateDevice"))
        return f;
    if (!target)
        return DDERR_INVALIDPARAMS;
    if (!IsRenderTarget(target))
        return DDERR_INVALIDCAPS;
    if (target->IsLost())
        return DDERR_SURFACELOST;
    *out = new D3DDevice(target);
    return D3D_OK;
}

// ---- the device ----

D3DDevice::D3DDevice(DDSurface* target) : mTarget(target)
{
    mTarget->AddRef();
    const D3DSettings& settings = D3DSettings::Get();
    mDesc = settings.desc;
    mFormats = settings.textureFormats;
    mViewport.width = uint32_t(target->Width());
    mViewport.height = uint32_t(target->Height());
}

D3DDevice::~D3DDevice()
{
    SafeRelease(mTexture);
    mTarget->Release();
}

RasterTarget D3DDevice::Raster() const
{
    RasterTarget t;
    t.bits = mTarget->Memory();
    t.pitch = mTarget->Pitch();
    t.bitCount = int(mTarget->BitCount());
    t.rgb555 = mTarget->PixelFormat().gBitMask == 0x03E0;
    t.clipLeft = int(mViewport.x);
    t.clipTop = int(mViewport.y);
    t.clipRight = int(std::min<uint64_t>(uint64_t(mViewport.x) + mViewport.width, uint64_t(mTarget->Width())));
    t.clipBottom = int(std::min<uint64_t>(uint64_t(mViewport.y) + mViewport.height, uint64_t(mTarget->Height())));
    return t;
}

void D3DDevice::Release()
{
    if (--mRefs <= 0)
        delete this;
}

int32_t D3DDevice::GetCaps(D3DDeviceDesc& out)
{
    if (int32_t f = Failure("GetCaps"))
        return f;
    out = mDesc;
    return D3D_OK;
}

int32_t D3DDevice::EnumTextureFormats(D3DEnumPixelFormatsCallback callback, void* context)
{
    if (int32_t f = Failure("EnumTextureFormats"))
        return f;
    if (!callback)
        return DDERR_INVALIDPARAMS;
    for (const DDPixelFormat& format : mFormats)
        if (callback(&format, context) == int(D3DENUMRET_CANCEL))
            break;
    return D3D_OK;
}

int32_t D3DDevice::SetViewport(const D3DViewport& viewport)
{
    if (int32_t f = Failure("SetViewport"))
        return f;
    if (uint64_t(viewport.x) + viewport.width > uint64_t(mTarget->Width()) ||
        uint64_t(viewport.y) + viewport.height > uint64_t(mTarget->Height()))
        return DDERR_INVALIDPARAMS;
    mViewport = viewport;
    return D3D_OK;
}

int32_t D3DDevice::Clear(uint32_t rectCount, const DDRect* rects, uint32_t flags, uint32_t color, float z,
                         uint32_t stencil)
{
    if (int32_t f = Failure("Clear"))
        return f;
    if (mTarget->IsLost())
        return DDERR_SURFACELOST;
    if (mTarget->LockCount() > 0)
        return DDERR_SURFACEBUSY;
    if (!(flags & D3DCLEAR_TARGET))
        return D3D_OK;
    const RasterTarget t = Raster();
    if (rectCount == 0 || !rects) {
        SoftRasterizer::Fill(t, t.clipLeft, t.clipTop, t.clipRight, t.clipBottom, color);
    } else {
        for (uint32_t i = 0; i < rectCount; ++i)
            SoftRasterizer::Fill(t, rects[i].left, rects[i].top, rects[i].right, rects[i].bottom, color);
    }
    return D3D_OK;
}

int32_t D3DDevice::SetRenderTarget(DDSurface* surface, uint32_t flags)
{
    if (int32_t f = Failure("SetRenderTarget"))
        return f;
    if (!surface)
        return DDERR_INVALIDPARAMS;
    if (surface->IsLost())
        return DDERR_SURFACELOST;
    if (!IsRenderTarget(surface))
        return DDERR_INVALIDCAPS;
    surface->AddRef();
    mTarget->Release();
    mTarget = surface;
    mViewport = D3DViewport();
    mViewport.width = uint32_t(surface->Width());
    mViewport.height = uint32_t(surface->Height());
    return D3D_OK;
}

int32_t D3DDevice::BeginScene()
{
    if (int32_t f = Failure("BeginScene"))
        return f;
    if (mInScene)
        return D3DERR_SCENE_IN_SCENE;
    if (mTarget->IsLost())
        return DDERR_SURFACELOST;
    mInScene = true;
    return D3D_OK;
}

int32_t D3DDevice::EndScene()
{
    if (int32_t f = Failure("EndScene"))
        return f;
    if (!mInScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    mInScene = false;
    return D3D_OK;
}

int32_t D3DDevice::SetRenderState(uint32_t state, uint32_t value)
{
    if (int32_t f = Failure("SetRenderState"))
        return f;
    switch (state) {
    case D3DRENDERSTATE_ALPHABLENDENABLE: mStates.alphaBlend = value != 0; break;
    case D3DRENDERSTATE_SRCBLEND: mStates.srcBlend = value; break;
    case D3DRENDERSTATE_DESTBLEND: mStates.destBlend = value; break;
    case D3DRENDERSTATE_CULLMODE: mStates.cullMode = value; break;
    default: break; // states this device does not need to follow
    }
    return D3D_OK;
}

int32_t D3DDevice::SetTextureStageState(uint32_t stage, uint32_t state, uint32_t value)
{
    if (int32_t f = Failure("SetTextureStageState"))
        return f;
    if (stage > 7)
        return DDERR_INVALIDPARAMS;
    if (stage != 0)
        return D3D_OK;
    switch (state) {
    case D3DTSS_COLOROP: mStates.colorOp = value; break;
    case D3DTSS_COLORARG1: mStates.colorArg1 = value; break;
    case D3DTSS_COLORARG2: mStates.colorArg2 = value; break;
    case D3DTSS_ALPHAOP: mStates.alphaOp = value; break;
    case D3DTSS_ALPHAARG1: mStates.alphaArg1 = value; break;
    case D3DTSS_ALPHAARG2: mStates.alphaArg2 = value; break;
    case D3DTSS_ADDRESS: mStates.addressU = mStates.addressV = value; break;
    case D3DTSS_ADDRESSU: mStates.addressU = value; break;
    case D3DTSS_ADDRESSV: mStates.addressV = value; break;
    case D3DTSS_MAGFILTER: mStates.magFilter = value; break;
    case D3DTSS_MINFILTER: mStates.minFilter = value; break;
    default: break;
    }
    return D3D_OK;
}

int32_t D3DDevice::SetTexture(uint32_t stage, DDSurface* texture)
{
    if (int32_t f = Failure("SetTexture"))
        return f;
    if (stage > 7 || (texture && !(texture->Caps() & DDSCAPS_TEXTURE)))
        return DDERR_INVALIDPARAMS;
    if (stage != 0)
        return D3D_OK;
    if (texture)
        texture->AddRef();
    if (mTexture)
        mTexture->Release();
    mTexture = texture;
    return D3D_OK;
}

int32_t D3DDevice::DrawPrimitive(uint32_t type, uint32_t vertexFormat, const void* data, uint32_t count,
                                 uint32_t flags)
{
    if (int32_t f = Failure("DrawPrimitive"))
        return f;
    if (vertexFormat != D3DFVF_TLVERTEX || (!data && count))
        return D3DERR_INVALIDVERTEXTYPE;
    if (type < D3DPT_LINESTRIP || type > D3DPT_TRIANGLEFAN)
        return D3DERR_INVALIDPRIMITIVETYPE;
    if (!mInScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    if (mTarget->IsLost())
        return DDERR_SURFACELOST;
    if (mTarget->LockCount() > 0)
        return DDERR_SURFACEBUSY;
    if (mTexture && mTexture->LockCount() > 0)
        return D3DERR_TEXTURE_LOCKED;
    const D3DTLVertex* v = static_cast<const D3DTLVertex*>(data);
    D3DSettings& settings = D3DSettings::Get();
    if (settings.recorder) {
        D3DPrimitiveRecord record;
        record.type = type;
        record.vertices.assign(v, v + count);
        record.texture = mTexture;
        record.states = mStates;
        settings.recorder->push_back(record);
    }
    if (!settings.rasterize)
        return D3D_OK;

    const RasterTarget t = Raster();
    RasterTexture texture;
    if (mTexture) {
        texture.texels = mTexture->ARGBView(texture.pitch);
        texture.width = mTexture->Width();
        texture.height = mTexture->Height();
        texture.opaque = mTexture->Opaque();
    }
    SoftRasterizer raster(t, mStates, mTexture ? &texture : nullptr, &settings.distort);

    // Culling by the winding on the screen (y grows downwards): clockwise
    // triangles have a positive area here. Every second triangle of a strip
    // is wound the other way round.
    const uint32_t cull = mStates.cullMode;
    auto triangle = [&](const D3DTLVertex& a, const D3DTLVertex& b, const D3DTLVertex& c, bool flipped = false) {
        if (cull == D3DCULL_CW || cull == D3DCULL_CCW) {
            const double area = (double(b.sx) - a.sx) * (double(c.sy) - a.sy) - (double(c.sx) - a.sx) * (double(b.sy) - a.sy);
            const bool clockwise = flipped ? area < 0 : area > 0;
            if (clockwise == (cull == D3DCULL_CW))
                return;
        }
        raster.Triangle(a, b, c);
    };
    switch (type) {
    case D3DPT_LINESTRIP:
        for (uint32_t i = 0; i + 1 < count; ++i)
            raster.Line(v[i], v[i + 1]);
        break;
    case D3DPT_TRIANGLELIST:
        for (uint32_t i = 0; i + 2 < count; i += 3)
            triangle(v[i], v[i + 1], v[i + 2]);
        break;
    case D3DPT_TRIANGLESTRIP:
        if (count == 4 && cull == D3DCULL_NONE && raster.StripQuad(v))
            break;
        for (uint32_t i = 0; i + 2 < count; ++i)
            triangle(v[i], v[i + 1], v[i + 2], (i & 1) != 0);
        break;
    case D3DPT_TRIANGLEFAN:
        for (uint32_t i = 1; i + 1 < count; ++i)
            triangle(v[0], v[i], v[i + 1]);
        break;
    }
    mTarget->Touch();
    return D3D_OK;
}

} // namespace plat
