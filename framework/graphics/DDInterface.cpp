// The display: DirectDraw objects, surfaces, presenting and the 3D decision.
// (The program-drawn cursor is in DDInterfaceCursor.cpp.)
#include "framework/graphics/DDInterface.h"

#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/D3DTester.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DirectXErrorName.h"
#include "framework/graphics/Display3DTarget.h"
#include "platform/Platform.h"
#include "platform/clock/Clock.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <cstring>

namespace Zelk {

bool gDisplayRGBOrder = false;

namespace {


bool Failed(int32_t hr) { return hr < 0; }

bool IsSurfaceImage3DTarget(const Image* image)
{
    const DDImage* dd = dynamic_cast<const DDImage*>(image);
    return dd && dd->mDDInterface && dd->mDDInterface->Is3DTarget(dd);
}

std::vector<int> SaturationTable(int bits)
{
    const int max = (1 << bits) - 1;
    std::vector<int> table(size_t(2 * max + 1));
    for (int i = 0; i <= 2 * max; ++i)
        table[size_t(i)] = std::min(i, max);
    return table;
}

} // namespace

std::string DisplayResultName(int result)
{
    switch (result) {
    case RESULT_OK: return "RESULT_OK";
    case RESULT_FAIL: return "RESULT_FAIL";
    case RESULT_DD_CREATE_FAIL: return "RESULT_DD_CREATE_FAIL";
    case RESULT_SURFACE_FAIL: return "RESULT_SURFACE_FAIL";
    case RESULT_EXCLUSIVE_FAIL: return "RESULT_EXCLUSIVE_FAIL";
    case RESULT_DISPCHANGE_FAIL: return "RESULT_DISPCHANGE_FAIL";
    case RESULT_INVALID_COLORDEPTH: return "RESULT_INVALID_COLORDEPTH";
    default: return "RESULT_UNKNOWN";
    }
}

DDInterface::DDInterface(ZelkAppBase* app) : mApp(app), mD3DInterface(new D3DInterface())
{
    // Graphics asks through this whether an image is a renderer's target.
    gIsDisplay3DTarget = IsSurfaceImage3DTarget;
}

DDInterface::~DDInterface()
{
    mRedAddTable.clear();
    mGreenAddTable.clear();
    mBlueAddTable.clear();
    Cleanup();
    delete mD3DInterface;
    mD3DInterface = nullptr;
    delete mD3DTester;
    mD3DTester = nullptr;
    mErrorText.clear();
    // Images that outlive the display keep their pixels in memory and forget it.
    CritSectGuard g(mCritSect);
    std::set<DDImage*> images;
    images.swap(mDDImageSet);
    for (DDImage* image : images)
        image->DetachFromDisplay();
}

bool DDInterface::Is3DTarget(const DDImage* image) const
{
    return mIs3D && image->mSurface != nullptr && image->mSurface == mDrawSurface;
}

void DDInterface::ClientOrigin(int& x, int& y) const
{
    x = y = 0;
    plat::WindowSystem* windows = plat::Get().windows;
    if (windows && mHWnd && mIsWindowed)
        windows->ClientOrigin(mHWnd, x, y);
}

bool DDInterface::CheckResult(int32_t result, const char* context)
{
    if (!Failed(result))
        return false;
    mErrorText = StrFormat("%s: %s", context, DirectXErrorName(result).c_str());
    return true;
}

void DDInterface::Cleanup()
{
    CritSectGuard g(mCritSect);
    mInitialized = false;
    if (mD3DInterface)
        mD3DInterface->Cleanup();
    delete mOldCursorAreaImage;
    mOldCursorAreaImage = nullptr;
    delete mNewCursorAreaImage;
    mNewCursorAreaImage = nullptr;
    SafeRelease(mOldCursorArea);
    SafeRelease(mNewCursorArea);
    delete mScreenImage;
    mScreenImage = nullptr;
    SafeRelease(mDrawSurface);
    SafeRelease(mSecondarySurface);
    SafeRelease(mPrimarySurface);
    if (mDD) {
        mDD->SetCooperativeLevel(mHWnd, plat::DDSCL_NORMAL);
        SafeRelease(mDD);
    }
    SafeRelease(mDD7);
}

int32_t DDInterface::CreateSurface(plat::DDSurfaceDesc& desc, plat::DDSurface** out)
{
    CritSectGuard g(mCritSect);
    *out = nullptr;
    plat::DirectDraw* dd = mDD7 ? mDD7 : mDD;
    if (!dd)
        return plat::DDERR_NOTINITIALIZED;
    int32_t result = dd->CreateSurface(desc, out);
    if (Failed(result))
        return result;
    // The desktop's layout decides the blitters' forms and what can be shown.
    // (The primary itself, when it is the surface being made.)
    plat::DDSurfaceDesc primary;
    (mPrimarySurface ? mPrimarySurface : *out)->GetSurfaceDesc(primary);
    const plat::DDPixelFormat& format = primary.pixelFormat;
    gDisplayRGBOrder = format.bBitMask < format.gBitMask && format.gBitMask < format.rBitMask;
    if (format.rgbBitCount != 16 && format.rgbBitCount != 32) {
        (*out)->Release();
        *out = nullptr;
        return plat::DDERR_INVALIDPIXELFORMAT;
    }
    return result;
}

int DDInterface::Init(plat::WindowHandle window, bool windowed)
{
    CritSectGuard g(mCritSect);
    mInitialized = false;
    Cleanup();

    // DirectDraw, through the newer interface when the module offers it.
    int32_t createResult = plat::DD_OK;
    if (plat::HasDirectDrawCreateEx()) {
        if (CheckResult(plat::DirectDrawCreateEx(&mDD7), "DirectDrawCreateEx"))
            return RESULT_DD_CREATE_FAIL;
        if (CheckResult(mDD7->QueryInterface(&mDD), "QueryrInterface IID_IDirectDraw"))
            return RESULT_DD_CREATE_FAIL;
    } else {
        createResult = plat::HasDirectDrawCreate() ? plat::DirectDrawCreate(&mDD) : plat::DDERR_NODIRECTDRAWSUPPORT;
    }

    if (DecideUse3D(window) && mD3DTester->mResultChanged && mApp)
        mApp->OnNew3DTestResult();

    mHWnd = window;
    mWidth = mApp ? mApp->mWidth : 800;
    mHeight = mApp ? mApp->mHeight : 600;
    mAspect.Set(mWidth, mHeight);
    const plat::DesktopConfig& desktop = plat::DirectDrawDevice::Get().config;
    mDesktopWidth = desktop.width;
    mDesktopHeight = desktop.height;
    mDesktopAspect.Set(mDesktopWidth, mDesktopHeight);
    mDisplayWidth = mWidth;
    mDisplayHeight = mHeight;
    mDisplayAspect = mAspect;
    mIsWidescreen = false;
    mPresentationRect = Rect(0, 0, mWidth, mHeight);
    if (mApp) {
        mApp->mScreenX = 0;
        mApp->mScreenY = 0;
        mApp->mScreenWidth = mWidth;
        mApp->mScreenHeight = mHeight;
        mFullscreenBits = mApp->mColorDepth;
    }
    mHasOldCursorArea = false;
    mIsWindowed = windowed;
    DebugPrint("Application requests %4lu x %4lu [%2d:%2d]\n", (unsigned long)mWidth, (unsigned long)mHeight,
               mAspect.mNumerator, mAspect.mDenominator);

    if (!mDD7 && CheckResult(createResult, "DirectDrawCreate"))
        return RESULT_DD_CREATE_FAIL;

    const int result = windowed ? InitWindowed() : InitFullScreen();
    if (result != RESULT_OK)
        return result;

    DebugPrint("Draw buffer is       %4lu x %4lu [%2d:%2d]\n", (unsigned long)mWidth, (unsigned long)mHeight,
               mAspect.mNumerator, mAspect.mDenominator);

    // The refresh rate, kept within 60..100 Hz.
    uint32_t hz = 0;
    const int32_t freq = mDD->GetMonitorFrequency(&hz);
    mRefreshRate = int32_t(hz);
    if (Failed(freq) || hz < 60 || hz > 100) {
        mRefreshRate = Failed(freq) || hz < 60 ? 60 : 100;
        if (mApp)
            mApp->mRefreshRateAdjusted = true;
    }
    mMillisecondsPerFrame = 1000 / mRefreshRate;

    // The cursor's two areas.
    plat::DDSurfaceDesc area;
    area.flags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
    area.caps = plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_SYSTEMMEMORY;
    area.width = mCursorWidth;
    area.height = mCursorHeight;
    if (CheckResult(CreateSurface(area, &mOldCursorArea), "CreateSurface OldCursorArea"))
        return RESULT_SURFACE_FAIL;
    if (CheckResult(CreateSurface(area, &mNewCursorArea), "CreateSurface NewCursorArea"))
        return RESULT_SURFACE_FAIL;
    mOldCursorAreaImage = new DDImage(this);
    mOldCursorAreaImage->SetSurface(mOldCursorArea);
    mOldCursorAreaImage->SetAlphaKind(false, false);
    mNewCursorAreaImage = new DDImage(this);
    mNewCursorAreaImage->SetSurface(mNewCursorArea);
    mNewCursorAreaImage->SetAlphaKind(false, false);

    // The pixel layout and the additive tables.
    plat::DDSurfaceDesc desc;
    mPrimarySurface->GetSurfaceDesc(desc);
    const plat::DDPixelFormat& pf = desc.pixelFormat;
    if (pf.rgbBitCount != 16 && pf.rgbBitCount != 32)
        return RESULT_INVALID_COLORDEPTH;
    SetLayout(int(pf.rgbBitCount), pf.rBitMask, pf.gBitMask, pf.bBitMask);
    mRedAddTable = SaturationTable(mRedBits);
    mGreenAddTable = SaturationTable(mGreenBits);
    mBlueAddTable = SaturationTable(mBlueBits);
    PrepareCursorImage();

    RecreateScreenImage(mVideoOnlyDraw);

    if (mIs3D && !mD3DInterface->Init(this)) {
        mErrorText = "3D init error: " + gLast3DError;
        return RESULT_3D_FAIL;
    }
    mInitialized = true;
    return RESULT_OK;
}

int DDInterface::InitWindowed()
{
    const Ratio forced = mApp ? mApp->mAspectRatio : Ratio(4, 3);
    DebugPrint("Hack aspect is                   [%2d:%2d]\n", forced.mNumerator, forced.mDenominator);
    if (mApp && mApp->mForceWindowAspect && mAspect < forced) {
        // Shown wider than drawn; the window itself keeps its size here.
        mIsWidescreen = true;
        mDisplayWidth = forced.mNumerator * mHeight / forced.mDenominator;
        mDisplayHeight = mHeight;
        mDisplayAspect = forced;
        if (mApp->mWidenDrawingArea) {
            mWidth = mDisplayWidth;
            mHeight = mDisplayHeight;
            mAspect = mDisplayAspect;
            mPresentationRect = Rect(0, 0, mDisplayWidth, mDisplayHeight);
        } else {
            mPresentationRect = Rect((mDisplayWidth - mWidth) / 2, 0, mWidth, mHeight);
        }
    }
    DebugPrint("Window is            %4lu x %4lu [%2d:%2d]\n", (unsigned long)mDisplayWidth,
               (unsigned long)mDisplayHeight, mDisplayAspect.mNumerator, mDisplayAspect.mDenominator);

    mDD->SetCooperativeLevel(mHWnd, plat::DDSCL_NORMAL);

    plat::DDSurfaceDesc primary;
    primary.flags = plat::DDSD_CAPS;
    primary.caps = plat::DDSCAPS_PRIMARYSURFACE | (mIs3D ? uint32_t(plat::DDSCAPS_3DDEVICE) : 0u);
    const int32_t created = CreateSurface(primary, &mPrimarySurface);
    if (created == plat::DDERR_INVALIDPIXELFORMAT) {
        CheckResult(created, "CreateSurface Windowed Primary");
        return RESULT_INVALID_COLORDEPTH;
    }
    if (CheckResult(created, "CreateSurface Windowed Primary"))
        return RESULT_SURFACE_FAIL;

    return CreateDrawSurfaceAndClipper("CreateSurface Windowed DrawSurface", "CreateClipper Windowed");
}

int DDInterface::CreateDrawSurfaceAndClipper(const char* surfaceContext, const char* clipperContext)
{
    plat::DDSurfaceDesc draw;
    draw.flags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
    draw.caps = plat::DDSCAPS_OFFSCREENPLAIN |
                (mIs3D ? plat::DDSCAPS_3DDEVICE | plat::DDSCAPS_VIDEOMEMORY : plat::DDSCAPS_SYSTEMMEMORY);
    draw.width = mWidth;
    draw.height = mHeight;
    if (CheckResult(CreateSurface(draw, &mDrawSurface), surfaceContext))
        return RESULT_SURFACE_FAIL;

    plat::DDClipper* clipper = nullptr;
    if (CheckResult(mDD->CreateClipper(0, &clipper), clipperContext))
        return RESULT_FAIL;
    if (!Failed(clipper->SetHWnd(0, mHWnd)))
        mPrimarySurface->SetClipper(clipper);
    clipper->Release();
    return RESULT_OK;
}

int DDInterface::InitFullScreen()
{
    DebugPrint("Desktop is           %4lu x %4lu [%2d:%2d]\n", (unsigned long)mDesktopWidth,
               (unsigned long)mDesktopHeight, mDesktopAspect.mNumerator, mDesktopAspect.mDenominator);
    if (mIs3D && mAspect < mDesktopAspect) {
        mIsWidescreen = true;
        mDisplayWidth = mDesktopWidth;
        mDisplayHeight = mDesktopHeight;
        mDisplayAspect = mDesktopAspect;
        if (mApp && mApp->mWidenDrawingArea) {
            mAspect = mDesktopAspect;
            mWidth = mDesktopAspect.mNumerator * mHeight / mDesktopAspect.mDenominator;
            mPresentationRect = Rect(0, 0, mDesktopWidth, mDesktopHeight);
        } else {
            const int width = mWidth * mDesktopHeight / mHeight;
            mPresentationRect = Rect((mDesktopWidth - width) / 2, 0, width, mDesktopHeight);
        }
    }
    DebugPrint("Display is           %4lu x %4lu [%2d:%2d]\n", (unsigned long)mDisplayWidth,
               (unsigned long)mDisplayHeight, mDisplayAspect.mNumerator, mDisplayAspect.mDenominator);

    if (CheckResult(mDD->SetCooperativeLevel(mHWnd, plat::DDSCL_EXCLUSIVE | plat::DDSCL_FULLSCREEN),
                    "SetCooperativeLevel FullScreen"))
        return RESULT_EXCLUSIVE_FAIL;
    if (CheckResult(mDD->SetDisplayMode(mDisplayWidth, mDisplayHeight, mFullscreenBits), "SetDisplayMode FullScreen"))
        return RESULT_DISPCHANGE_FAIL;

    plat::DDSurfaceDesc primary;
    primary.flags = plat::DDSD_CAPS | plat::DDSD_BACKBUFFERCOUNT;
    primary.backBufferCount = 1;
    primary.caps = plat::DDSCAPS_PRIMARYSURFACE | plat::DDSCAPS_FLIP | plat::DDSCAPS_COMPLEX |
                   (mIs3D ? uint32_t(plat::DDSCAPS_3DDEVICE) : 0u);
    if (CheckResult(CreateSurface(primary, &mPrimarySurface), "CreateSurface FullScreen Primary"))
        return RESULT_SURFACE_FAIL;
    if (CheckResult(mPrimarySurface->GetAttachedSurface(plat::DDSCAPS_BACKBUFFER, &mSecondarySurface),
                    "GetAttachedSurface"))
        return RESULT_SURFACE_FAIL;
    if (mIsWidescreen) {
        ClearSurface(mPrimarySurface);
        ClearSurface(mSecondarySurface);
    }

    if (int result = CreateDrawSurfaceAndClipper("CreateSurface FullScreen DrawSurface", "CreateClipper FullScreen"))
        return result;
    if (mApp && !mApp->mPageFlippingAllowed)
        mDD->FlipToGDISurface();
    return RESULT_OK;
}

int32_t DDInterface::FlipToGDISurface()
{
    CritSectGuard g(mCritSect);
    return mDD ? mDD->FlipToGDISurface() : plat::DD_OK;
}

void DDInterface::ClearSurface(plat::DDSurface* surface)
{
    if (!surface)
        return;
    plat::DDSurfaceDesc desc;
    if (Failed(surface->Lock(nullptr, desc, plat::DDLOCK_WAIT | plat::DDLOCK_WRITEONLY)))
        return;
    uint8_t* row = static_cast<uint8_t*>(desc.surface);
    for (int y = 0; y < desc.height; ++y, row += desc.pitch)
        std::memset(row, 0, size_t(desc.width) * (desc.pixelFormat.rgbBitCount / 8));
    surface->Unlock();
}

void DDInterface::RecreateScreenImage(bool inVideoMemory)
{
    CritSectGuard g(mCritSect);
    mVideoOnlyDraw = inVideoMemory;
    if (mVideoOnlyDraw && !mSecondarySurface) {
        plat::DDSurfaceDesc desc;
        desc.flags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
        desc.caps = plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_VIDEOMEMORY;
        desc.width = mWidth;
        desc.height = mHeight;
        if (Failed(CreateSurface(desc, &mSecondarySurface)))
            mVideoOnlyDraw = false;
    }
    delete mScreenImage;
    mScreenImage = new DDImage(this);
    mScreenImage->SetSurface(mVideoOnlyDraw ? mSecondarySurface : mDrawSurface);
    mScreenImage->mSurfaceOnly = mVideoOnlyDraw;
    mScreenImage->mInVideoMemory = mVideoOnlyDraw;
    mScreenImage->SetAlphaKind(false, false);
}

bool DDInterface::Redraw(const Rect*)
{
    CritSectGuard g(mCritSect);
    if (!mInitialized)
        return false;
    plat::DDBltFx fx;
    mInRedraw = true;
    if (mIs3D) {
        if (!gLast3DError.empty()) {
            mInRedraw = false;
            mIs3D = false;
            return false;
        }
        if (mD3DInterface->mSceneOpen)
            mD3DInterface->EndScene();
    }

    plat::DDRect src{0, 0, mWidth, mHeight};
    plat::DDRect dest{mPresentationRect.mX, mPresentationRect.mY, mPresentationRect.mX + mPresentationRect.mWidth,
                      mPresentationRect.mY + mPresentationRect.mHeight};
    if (mIsWidescreen)
        fx.ddfx |= plat::DDBLTFX_ARITHSTRETCHY;
    int ox, oy;
    ClientOrigin(ox, oy);
    dest.left += ox;
    dest.right += ox;
    dest.top += oy;
    dest.bottom += oy;

    // Waits until drawing into the surface has finished.
    plat::DDSurfaceDesc flush;
    if (!Failed(mDrawSurface->Lock(nullptr, flush, plat::DDLOCK_READONLY | plat::DDLOCK_WAIT)))
        mDrawSurface->Unlock();

    const bool waitForBlank = mApp && mApp->mWaitForVSync && !mApp->mVBlankWaitSuppressed;
    int32_t result = plat::DD_OK;
    const char* context;
    if (mIsWindowed && !mVideoOnlyDraw) {
        mCursorDrawnX = mCursorX.load();
        mCursorDrawnY = mCursorY.load();
        DrawCursor(mDrawSurface, false);
        if (!waitForBlank) {
            result = mPrimarySurface->Blt(&dest, mDrawSurface, &src, plat::DDBLT_WAIT, &fx);
        } else if (mScanLineFailCount < 3) {
            result = SplitPresent(dest, src, fx);
        } else {
            mDD->WaitForVerticalBlank(plat::DDWAITVB_BLOCKBEGIN);
            result = mPrimarySurface->Blt(&dest, mDrawSurface, &src, plat::DDBLT_WAIT, &fx);
        }
        if (mHasOldCursorArea) {
            // The primary shows the cursor; the old area holds what lies under it.
            RestoreCursorArea(mDrawSurface, false);
            mHasOldCursorArea = true;
        }
        context = "Redraw Windowed";
    } else if (mIsWindowed) {
        if (waitForBlank)
            mDD->WaitForVerticalBlank(plat::DDWAITVB_BLOCKBEGIN);
        mCursorDrawnX = mCursorX.load();
        mCursorDrawnY = mCursorY.load();
        DrawCursor(mSecondarySurface, false);
        result = mPrimarySurface->Blt(&dest, mSecondarySurface, &src, plat::DDBLT_WAIT, &fx);
        context = "Redraw Windowed";
    } else if (!(mApp && mApp->mGDISurfaceShown) && (!mApp || mApp->mPageFlippingAllowed)) {
        if (!mVideoOnlyDraw)
            mSecondarySurface->Blt(&dest, mDrawSurface, &src, plat::DDBLT_WAIT, &fx);
        mCursorDrawnX = mCursorX.load();
        mCursorDrawnY = mCursorY.load();
        DrawCursor(mSecondarySurface, true);
        result = mPrimarySurface->Flip(nullptr, plat::DDFLIP_WAIT);
        context = "Redraw FullScreen Flip";
    } else {
        result = mPrimarySurface->Blt(&dest, mDrawSurface, &src, plat::DDBLT_WAIT, &fx);
        context = "Redraw FullScreen Blt";
    }
    mInRedraw = false;
    return !CheckResult(result, context);
}

int32_t DDInterface::SplitPresent(const plat::DDRect& dest, const plat::DDRect& src, plat::DDBltFx& fx)
{
    const int half = (mApp ? mApp->mHeight : mHeight) / 2;
    const uint32_t target = uint32_t(dest.top + half);
    const uint32_t bottom = uint32_t(dest.top + mHeight);
    const uint32_t screenHeight = uint32_t(mDesktopHeight);

    // Wait until the beam has passed the middle of the frame's area.
    const uint32_t start = plat::GetTickCount();
    bool seenAbove = false, go = false;
    uint32_t line = 0, lastRead = 0;
    while (plat::GetTickCount() - start < 200) {
        const int32_t r = mDD->GetScanLine(&line);
        if (r == plat::DDERR_VERTICALBLANKINPROGRESS) {
            go = seenAbove;
            if (go)
                break;
            continue;
        }
        if (Failed(r))
            break;
        lastRead = line;
        if (line < target && line < screenHeight) {
            seenAbove = true;
        } else if (seenAbove) {
            go = true;
            break;
        }
    }
    if (!go) {
        ++mScanLineFailCount;
        mDD->WaitForVerticalBlank(plat::DDWAITVB_BLOCKBEGIN);
        return mPrimarySurface->Blt(&dest, mDrawSurface, &src, plat::DDBLT_WAIT, &fx);
    }
    plat::DDRect topDest{dest.left, dest.top, dest.right, int32_t(target)};
    plat::DDRect topSrc{src.left, src.top, src.right, half};
    mPrimarySurface->Blt(&topDest, mDrawSurface, &topSrc, plat::DDBLT_WAIT, &fx);
    // Then until the beam has wrapped or passed the bottom of the area.
    const uint32_t before = lastRead;
    const uint32_t again = plat::GetTickCount();
    while (plat::GetTickCount() - again < 200) {
        if (Failed(mDD->GetScanLine(&line)))
            continue;
        if (line < before || line >= bottom)
            break;
    }
    plat::DDRect bottomDest{dest.left, int32_t(target), dest.right, int32_t(bottom)};
    plat::DDRect bottomSrc{src.left, half, src.right, src.bottom};
    mScanLineFailCount = 0;
    return mPrimarySurface->Blt(&bottomDest, mDrawSurface, &bottomSrc, plat::DDBLT_WAIT, &fx);
}

void DDInterface::AddImage(DDImage* image)
{
    CritSectGuard g(mCritSect);
    mDDImageSet.insert(image);
}

void DDInterface::RemoveImage(DDImage* image)
{
    CritSectGuard g(mCritSect);
    mDDImageSet.erase(image);
}

void DDInterface::RemoveImageTextures(MemoryImage* image)
{
    if (mD3DInterface)
        mD3DInterface->RemoveImageTextures(image);
}

bool DDInterface::Use3DAfterTest(bool current, bool auto3D, const D3DTester& tester, bool choiceStored)
{
    const bool failed = !tester.mFailureReason.empty();
    const bool warned = !tester.mWarning.empty();
    if (auto3D && !failed && !warned)
        return true;
    if (failed)
        return false;
    if (tester.mResultChanged && warned)
        return false;
    if (warned && !choiceStored)
        return false; // an unlisted or denied adapter is not chosen on its own
    return current;
}

bool DDInterface::Tester3DClean() const
{
    return mD3DTester && mD3DTester->mFailureReason.empty() && mD3DTester->mWarning.empty();
}

bool DDInterface::TesterNewResult() const { return mD3DTester && mD3DTester->mResultChanged; }

bool DDInterface::DecideUse3D(plat::WindowHandle window)
{
    if (mD3DTester || !mApp || (!mApp->mAuto3D && !mApp->mTest3D))
        return false;
    mD3DTester = new D3DTester();
    mD3DTester->mMinVidMemory = mApp->mMinVidMemory3D;
    mD3DTester->mRecommendedVidMemory = mApp->mRecommendedVidMemory3D;
    mD3DTester->RunAndRecord(window, mDD7);
    mIs3D = Use3DAfterTest(mIs3D, mApp->mAuto3D, *mD3DTester, m3DChoiceStored);
    return true;
}

} // namespace Zelk
