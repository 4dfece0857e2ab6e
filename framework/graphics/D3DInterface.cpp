// The renderer's device, its per-scene states, the record of 3D failures and
// the texture cache of memory images.
#include "framework/graphics/D3DInterface.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/DirectXErrorName.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/PixelFormat.h"
#include "framework/graphics/TextureData.h"
#include "platform/Platform.h"

#include <algorithm>

namespace Zelk {

std::string gLast3DError;
int& gSupportedTextureFormats = gSupportedPixelFormats;
int gMinTextureWidth = 64, gMinTextureHeight = 64, gMaxTextureWidth = 64, gMaxTextureHeight = 64;
int gMaxTextureAspectRatio = 1;
int gTexturePieceSizes[1024];
bool gLinearFilter = false;
bool gDeviceLost = false;

namespace {

// The textures of an image as ARGB, while they hold its current pixels.
bool ReadTextureBits(MemoryImage* image, uint32_t* bits)
{
    TextureData* data = static_cast<TextureData*>(image->mTextureData);
    if (!data || data->mPixelFormat == 0 || data->mBitsChangedCount != image->mChangeCount ||
        data->mWidth != image->mWidth || data->mHeight != image->mHeight)
        return false;
    return data->ReadBack(image, bits);
}

} // namespace

plat::DDPixelFormat TexturePixelFormat(int code)
{
    SurfacePixelFormat f;
    BuildPixelFormat(code, f);
    plat::DDPixelFormat out;
    out.flags = f.mFlags;
    out.rgbBitCount = f.mRGBBitCount;
    out.rBitMask = f.mRedMask;
    out.gBitMask = f.mGreenMask;
    out.bBitMask = f.mBlueMask;
    out.alphaBitMask = f.mAlphaMask;
    return out;
}

int EnumTextureFormatCodes(const plat::DDPixelFormat* format, void* context)
{
    SurfacePixelFormat f;
    BuildPixelFormat(PixelFormat_Unknown, f);
    f.mFlags = format->flags;
    f.mRGBBitCount = format->rgbBitCount;
    f.mRedMask = format->rBitMask;
    f.mGreenMask = format->gBitMask;
    f.mBlueMask = format->bBitMask;
    f.mAlphaMask = format->alphaBitMask;
    return context ? EnumTextureFormatsToMask(&f, context) : EnumTextureFormatsToGlobal(&f, nullptr);
}

bool CheckD3DResult(int32_t result, const std::string& context)
{
    if (!plat::Failed(result))
        return false;
    gLast3DError = context + ": " + DirectXErrorName(result);
    if (gAppBase)
        gAppBase->WriteRegistryString("Test3D\\RuntimeError", gLast3DError);
    return true;
}

void SetLinearFilter(plat::D3DDevice* device, bool linear)
{
    if (linear == gLinearFilter)
        return;
    const uint32_t filter = linear ? plat::D3DTFG_LINEAR : plat::D3DTFG_POINT;
    const char* context = linear ? "SetTextureStageState LINEAR" : "SetTextureStageState Point";
    CheckD3DResult(device->SetTextureStageState(0, plat::D3DTSS_MINFILTER, filter), context);
    CheckD3DResult(device->SetTextureStageState(0, plat::D3DTSS_MAGFILTER, filter), context);
    CheckD3DResult(device->SetTextureStageState(0, plat::D3DTSS_MIPFILTER, filter), context);
    gLinearFilter = linear;
}

D3DInterface::D3DInterface()
{
    gMinTextureWidth = gMinTextureHeight = 64;
    gMaxTextureWidth = gMaxTextureHeight = 64;
    gMaxTextureAspectRatio = 1;
    MemoryImage::sReadTextureBits = &ReadTextureBits;
}

D3DInterface::~D3DInterface()
{
    Cleanup();
}

CriticalSection& D3DInterface::Lock()
{
    return mDDInterface ? mDDInterface->mCritSect : mOwnLock;
}

bool D3DInterface::Init(DDInterface* display)
{
    Cleanup();
    gLast3DError.clear();
    mDDInterface = display;
    mDD = display->mDD7;
    mHWnd = display->mHWnd;
    if (!display->mDrawSurface) {
        CheckD3DResult(plat::E_NOINTERFACE, "Query DrawSurface");
        return false;
    }
    display->mDrawSurface->AddRef();
    mDDSDrawSurface = display->mDrawSurface;
    return CreateDevice();
}

bool D3DInterface::CreateDevice()
{
    if (CheckD3DResult(plat::QueryDirect3D(mDD, &mD3D), "QueryInterface IID_IDirect3D7"))
        return false;
    if (CheckD3DResult(mD3D->CreateDevice(mDDSDrawSurface, &mD3DDevice), "CreateDevice IID_IDirect3DHALDevice"))
        return false;
    plat::D3DDeviceDesc desc;
    if (CheckD3DResult(mD3DDevice->GetCaps(desc), ""))
        return false;

    if (desc.maxTextureWidth == 0) {
        gMinTextureWidth = gMinTextureHeight = gMaxTextureWidth = gMaxTextureHeight = 64;
        gMaxTextureAspectRatio = 1;
    } else {
        gMinTextureWidth = std::max(int(desc.minTextureWidth), 1);
        gMinTextureHeight = std::max(int(desc.minTextureHeight), 1);
        gMaxTextureWidth = int(std::min<uint32_t>(desc.maxTextureWidth, 1024));
        gMaxTextureHeight = int(std::min<uint32_t>(desc.maxTextureHeight, 1024));
        gMaxTextureAspectRatio = desc.maxTextureAspectRatio ? int(std::min<uint32_t>(desc.maxTextureAspectRatio, 65536))
                                                            : 65536;
    }
    gLinearFilter = false;

    gSupportedTextureFormats = 0;
    mD3DDevice->EnumTextureFormats(&EnumTextureFormatCodes, nullptr);
    if (!(desc.triTextureCaps & plat::D3DPTEXTURECAPS_ALPHAPALETTE))
        gSupportedTextureFormats &= ~PixelFormat_Palette8;

    int width = 0, height = 0;
    if (plat::WindowSystem* windows = plat::Get().windows; windows && mHWnd)
        windows->ClientSize(mHWnd, width, height);
    if (width <= 0 || height <= 0) {
        // No window to measure: the draw surface is the client area.
        width = mDDSDrawSurface->Width();
        height = mDDSDrawSurface->Height();
    }
    mD3DViewport = plat::D3DViewport();
    mD3DViewport.width = uint32_t(std::max(width, 0));
    mD3DViewport.height = uint32_t(std::max(height, 0));
    mD3DDevice->SetViewport(mD3DViewport);
    mD3DDevice->Clear(0, nullptr, plat::D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
    return true;
}

void D3DInterface::Cleanup()
{
    if (mSceneOpen) {
        mD3DDevice->EndScene();
        mSceneOpen = false;
        gLast3DError.clear();
    }
    {
        CritSectGuard g(Lock());
        for (MemoryImage* image : mImageSet) {
            delete static_cast<TextureData*>(image->mTextureData);
            image->mTextureData = nullptr;
        }
        mImageSet.clear();
    }
    plat::SafeRelease(mD3DDevice);
    plat::SafeRelease(mD3D);
    plat::SafeRelease(mDDSDrawSurface);
    mDD = nullptr;
}

bool D3DInterface::BeginDraw()
{
    if (!mD3DDevice || (gAppBase && gAppBase->mMinimized))
        return false;
    if (mSceneOpen)
        return true;
    if (plat::Failed(mD3DDevice->SetRenderTarget(mDDSDrawSurface, 0))) {
        gDeviceLost = true;
        return false;
    }
    gDeviceLost = false;
    plat::D3DDevice* d = mD3DDevice;
    d->BeginScene();
    d->SetRenderState(plat::D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    d->SetRenderState(plat::D3DRENDERSTATE_SRCBLEND, plat::D3DBLEND_SRCALPHA);
    d->SetRenderState(plat::D3DRENDERSTATE_DESTBLEND, plat::D3DBLEND_INVSRCALPHA);
    d->SetRenderState(plat::D3DRENDERSTATE_LIGHTING, 0);
    d->SetTextureStageState(0, plat::D3DTSS_MINFILTER, plat::D3DTFG_POINT);
    d->SetTextureStageState(0, plat::D3DTSS_MAGFILTER, plat::D3DTFG_POINT);
    d->SetTextureStageState(0, plat::D3DTSS_MIPFILTER, plat::D3DTFG_POINT);
    d->SetTextureStageState(0, plat::D3DTSS_ALPHAOP, plat::D3DTOP_MODULATE);
    d->SetTextureStageState(0, plat::D3DTSS_ADDRESSU, plat::D3DTADDRESS_CLAMP);
    d->SetTextureStageState(0, plat::D3DTSS_ADDRESSV, plat::D3DTADDRESS_CLAMP);
    d->SetRenderState(plat::D3DRENDERSTATE_DITHERENABLE, 0);
    d->SetRenderState(plat::D3DRENDERSTATE_SPECULARENABLE, 0);
    d->SetRenderState(plat::D3DRENDERSTATE_ZWRITEENABLE, 0);
    d->SetRenderState(plat::D3DRENDERSTATE_ZENABLE, 0);
    d->SetRenderState(plat::D3DRENDERSTATE_CULLMODE, plat::D3DCULL_NONE);
    mSceneOpen = true;
    gLinearFilter = false;
    return true;
}

void D3DInterface::EndScene()
{
    if (!mSceneOpen)
        return;
    mD3DDevice->EndScene();
    mSceneOpen = false;
    gLast3DError.clear();
}

void D3DInterface::SetBlendMode(int drawMode)
{
    mD3DDevice->SetRenderState(plat::D3DRENDERSTATE_SRCBLEND, plat::D3DBLEND_SRCALPHA);
    mD3DDevice->SetRenderState(plat::D3DRENDERSTATE_DESTBLEND,
                               drawMode == 1 ? plat::D3DBLEND_ONE : plat::D3DBLEND_INVSRCALPHA);
}

bool D3DInterface::PrepareTextures(MemoryImage* image)
{
    TextureData* data = static_cast<TextureData*>(image->mTextureData);
    const bool isNew = data == nullptr;
    if (isNew) {
        data = new TextureData();
        image->mTextureData = data;
        CritSectGuard g(Lock());
        mImageSet.insert(image);
    }
    const bool discard = image->mBitsDiscarded;
    if (data->mPixelFormat != 0 && data->mWidth == image->mWidth && data->mHeight == image->mHeight &&
        data->mBitsChangedCount == image->mChangeCount && data->mImageFlags == image->mTextureFlags)
        return true;
    data->CreateTextures(image, mD3DDevice, mDD);
    if (isNew && discard)
        image->DiscardBits();
    return data->mPixelFormat != 0;
}

void D3DInterface::RemoveImageTextures(MemoryImage* image)
{
    CritSectGuard g(Lock());
    delete static_cast<TextureData*>(image->mTextureData);
    image->mTextureData = nullptr;
    mImageSet.erase(image);
}

bool D3DInterface::ReadBackTextures(MemoryImage* image, uint32_t* bits)
{
    return ReadTextureBits(image, bits);
}

} // namespace Zelk
