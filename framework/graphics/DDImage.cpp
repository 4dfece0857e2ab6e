// Surface images: making the surface from the memory copy, reading it back,
// nested locks, and the memory image's buffer operations that must know
// about the surface.
#include "framework/graphics/DDImage.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"

#include <cstring>
#include <vector>

namespace Zelk {

namespace {

bool Failed(int32_t hr) { return hr < 0; }

// The lowest colour no pixel uses; `used` has one bit per colour.
uint32_t LowestUnused(const std::vector<uint32_t>& used, uint32_t fallback)
{
    for (size_t word = 0; word < used.size(); ++word)
        if (used[word] != 0xFFFFFFFFu)
            return uint32_t(word * 32) + uint32_t(__builtin_ctz(~used[word]));
    return fallback;
}

} // namespace

DDImage::DDImage(DDInterface* display) : MemoryImage(display ? display->mApp : nullptr), mDDInterface(display)
{
    if (mDDInterface)
        mDDInterface->AddImage(this);
}

DDImage::~DDImage()
{
    DropSurface();
    if (mDDInterface)
        mDDInterface->RemoveImage(this);
}

bool DDImage::Is3DTarget() const { return mDDInterface && mDDInterface->Is3DTarget(this); }

void DDImage::DropSurface()
{
    if (!mSurface)
        return;
    if (mLockCount > 0)
        mSurface->Unlock();
    mLockCount = 0;
    mSurface->Release();
    mSurface = nullptr;
}

void DDImage::DetachFromDisplay()
{
    if (!mExternalSurface)
        ReleaseSurface();
    DropSurface();
    mDDInterface = nullptr;
}

plat::DDSurface* DDImage::GetSurface()
{
    if (!mSurface)
        CreateSurfaceFromBits();
    return mSurface;
}

void DDImage::ReleaseSurface()
{
    if (!mSurface)
        return;
    if (!mColorTable && !mBits && !mTextureData)
        GetBits();
    DropSurface();
}

void DDImage::DropMemoryCopies()
{
    FreeBits();
    FreeNativeBits();
    FreeRunLengths();
    FreePalette();
}

void DDImage::SetSurface(plat::DDSurface* surface)
{
    mExternalSurface = true;
    mSurface = surface;
    mSurfaceOnly = false;
    if (!surface)
        return;
    surface->AddRef();
    plat::DDSurfaceDesc desc;
    surface->GetSurfaceDesc(desc);
    mWidth = desc.width;
    mHeight = desc.height;
}

void DDImage::SetSurfaceInVideoMemory(bool inVideoMemory)
{
    if (inVideoMemory == mInVideoMemory)
        return;
    mInVideoMemory = inVideoMemory;
    GetBits();
    ReleaseSurface();
}

void DDImage::ApplySurfaceColorKey() { CreateSurfaceFromBits(); }

bool DDImage::LockSurface()
{
    if (Is3DTarget())
        return false;
    if (mLockCount == 0) {
        mLockDesc = plat::DDSurfaceDesc();
        if (!mSurface && !CreateSurfaceFromBits())
            return false;
        if (Failed(mSurface->Lock(nullptr, mLockDesc, plat::DDLOCK_WAIT)))
            return false;
    }
    ++mLockCount;
    return true;
}

bool DDImage::UnlockSurface()
{
    if (Is3DTarget())
        return false;
    // An unlock without its lock changes nothing.
    if (mLockCount <= 0)
        return false;
    if (--mLockCount == 0 && mSurface)
        mSurface->Unlock();
    return true;
}

void DDImage::RebuildBitsFromDerivedForms()
{
    if (mBits)
        return;
    if ((mColorTable && mColorIndices) || (mNativeBits && mNativeBitsCount == PixelCount()))
        MemoryImage::GetBits();
}

bool DDImage::CreateSurfaceFromBits()
{
    if (mSurface)
        return true;
    if (!mDDInterface)
        return false;
    AnalyzeBits();
    if (mHasAlpha)
        return false;
    mSurfaceWanted = true;
    RebuildBitsFromDerivedForms();

    plat::DDSurfaceDesc desc;
    desc.flags = plat::DDSD_CAPS | plat::DDSD_HEIGHT | plat::DDSD_WIDTH;
    desc.width = mWidth;
    desc.height = mHeight;
    desc.caps = mInVideoMemory ? plat::DDSCAPS_VIDEOMEMORY : plat::DDSCAPS_SYSTEMMEMORY;

    CritSectGuard g(mDDInterface->mCritSect);
    if (Failed(mDDInterface->CreateSurface(desc, &mSurface))) {
        mSurface = nullptr;
        return false;
    }
    if (!LockSurface()) {
        // A surface that was never filled must not stand for the image.
        DropSurface();
        return false;
    }

    const PixelLayout& l = *mDDInterface;
    const uint32_t rMask = mLockDesc.pixelFormat.rBitMask, gMask = mLockDesc.pixelFormat.gBitMask,
                   bMask = mLockDesc.pixelFormat.bBitMask;
    auto convert = [&](uint32_t c) {
        return (((c >> (8 - l.mBlueBits)) << l.mBlueShift) & bMask) |
               (((c >> (16 - l.mGreenBits)) << l.mGreenShift) & gMask) |
               (((c >> (24 - l.mRedBits)) << l.mRedShift) & rMask);
    };
    uint8_t* base = static_cast<uint8_t*>(mLockDesc.surface);
    const int pitch = mLockDesc.pitch;
    const size_t count = PixelCount();
    const int w = mWidth, h = mHeight;
    const bool keyed = mHasTransparency && mBits;
    plat::DDColorKey key;

    if (mLockDesc.pixelFormat.rgbBitCount == 16) {
        std::vector<uint16_t> converted;
        uint32_t candidate = 0;
        bool candidateFound = false;
        if (mBits) {
            converted.resize(count);
            for (size_t i = 0; i < count; ++i) {
                converted[i] = uint16_t(convert(mBits[i]));
                if (!candidateFound && (mBits[i] >> 24) < 255) {
                    candidate = converted[i];
                    candidateFound = true;
                }
            }
        }
        uint32_t keyValue = candidate;
        if (keyed) {
            bool collides = false;
            for (size_t i = 0; i < count && !collides; ++i)
                collides = (mBits[i] >> 24) == 255 && converted[i] == candidate;
            if (collides) {
                std::vector<uint32_t> used(2048, 0);
                for (size_t i = 0; i < count; ++i)
                    if (mBits[i] >> 24)
                        used[converted[i] >> 5] |= 1u << (converted[i] & 31);
                keyValue = LowestUnused(used, candidate);
            }
        }
        for (int y = 0; y < h && mBits; ++y) {
            uint16_t* row = reinterpret_cast<uint16_t*>(base + size_t(y) * size_t(pitch));
            const size_t start = size_t(y) * size_t(w);
            for (int x = 0; x < w; ++x) {
                const size_t i = start + size_t(x);
                row[x] = !keyed || (mBits[i] >> 24) == 255 ? converted[i] : uint16_t(keyValue);
            }
        }
        if (mHasTransparency) {
            key.low = key.high = keyValue;
            mSurface->SetColorKey(plat::DDCKEY_SRCBLT, key);
        }
    } else if (mLockDesc.pixelFormat.rgbBitCount == 32) {
        uint32_t keyValue = 0;
        if (keyed) {
            for (size_t i = 0; i < count; ++i)
                if ((mBits[i] >> 24) < 255) {
                    keyValue = mBits[i];
                    break;
                }
            bool collides = false;
            for (size_t i = 0; i < count && !collides; ++i)
                collides = (mBits[i] >> 24) == 255 && (mBits[i] & 0xFFFFFF) == keyValue;
            if (collides) {
                std::vector<uint32_t> used(524288, 0);
                for (size_t i = 0; i < count; ++i)
                    if (mBits[i] >> 24) {
                        const uint32_t c = mBits[i] & 0xFFFFFF;
                        used[c >> 5] |= 1u << (c & 31);
                    }
                keyValue = LowestUnused(used, keyValue);
            }
        }
        for (int y = 0; y < h && mBits; ++y) {
            uint32_t* row = reinterpret_cast<uint32_t*>(base + size_t(y) * size_t(pitch));
            const size_t start = size_t(y) * size_t(w);
            for (int x = 0; x < w; ++x) {
                const uint32_t c = mBits[start + size_t(x)];
                row[x] = !keyed || (c >> 24) == 255 ? convert(c) : keyValue;
            }
        }
        if (keyed) {
            key.low = key.high = keyValue;
            mSurface->SetColorKey(plat::DDCKEY_SRCBLT, key);
        }
    }
    UnlockSurface();
    return true;
}

uint32_t* DDImage::GetBits()
{
    if (mBits)
        return mBits;
    if (!mSurface || !mDDInterface)
        return MemoryImage::GetBits();
    if (mSurfaceOnly || !LockSurface())
        return nullptr;
    size_t count;
    if (!CheckedPixelCount(mWidth, mHeight, count)) {
        UnlockSurface();
        return nullptr;
    }
    uint32_t* bits = new uint32_t[count + 1];
    bits[count] = kPixelGuard;

    const PixelLayout& l = *mDDInterface;
    const plat::DDPixelFormat& f = mLockDesc.pixelFormat;
    const uint32_t colorBits = f.rBitMask | f.gBitMask | f.bBitMask;
    // Pixels of the colour key are the transparent ones.
    plat::DDColorKey key;
    const bool keyed = mHasTransparency && !Failed(mSurface->GetColorKey(plat::DDCKEY_SRCBLT, key));
    auto expand = [&](uint32_t p) -> uint32_t {
        if (keyed && (p & colorBits) == (key.low & colorBits))
            return 0;
        return 0xFF000000u | ((((p >> l.mRedShift) << (8 - l.mRedBits)) & 0xFF) << 16) |
               ((((p >> l.mGreenShift) << (8 - l.mGreenBits)) & 0xFF) << 8) |
               (((p >> l.mBlueShift) << (8 - l.mBlueBits)) & 0xFF);
    };
    const uint8_t* base = static_cast<const uint8_t*>(mLockDesc.surface);
    for (int y = 0; y < mHeight; ++y) {
        const uint8_t* row = base + size_t(y) * size_t(mLockDesc.pitch);
        uint32_t* out = bits + size_t(y) * size_t(mWidth);
        if (f.rgbBitCount == 16) {
            const uint16_t* p = reinterpret_cast<const uint16_t*>(row);
            for (int x = 0; x < mWidth; ++x)
                out[x] = expand(p[x]);
        } else if (f.rgbBitCount == 32) {
            const uint32_t* p = reinterpret_cast<const uint32_t*>(row);
            for (int x = 0; x < mWidth; ++x)
                out[x] = expand(p[x]);
        } else {
            std::memset(out, 0, size_t(mWidth) * sizeof(uint32_t));
        }
    }
    mBits = bits;
    UnlockSurface();
    return mBits;
}

void DDImage::Create(int width, int height)
{
    // As a memory image's, but the transparency flags stay as they were.
    const bool hasTransparency = mHasTransparency, hasAlpha = mHasAlpha;
    MemoryImage::Create(width, height);
    mHasTransparency = hasTransparency;
    mHasAlpha = hasAlpha;
}

void DDImage::MarkBitsChanged()
{
    MemoryImage::MarkBitsChanged();
    // The memory copy is the newer one. A surface of the display stays.
    if (!mExternalSurface)
        DropSurface();
}

void DDImage::AnalyzeBits()
{
    // The pixels were analysed before the surface was made.
    if (mSurface)
        return;
    MemoryImage::AnalyzeBits();
}

void DDImage::DiscardBits()
{
    if (mExternalSurface)
        return;
    mBitsDiscarded = true;
    AnalyzeBits();
    if (mApp && mApp->Is3DAccelerated()) {
        // In 3D the renderer's textures, not surfaces, hold discarded images.
        if (mSurface) {
            GetBits();
            ReleaseSurface();
        }
        MemoryImage::DiscardBits();
    } else if (mSurfaceWanted && CreateSurfaceFromBits()) {
        FreeBits();
        FreePalette();
    } else {
        MemoryImage::DiscardBits();
    }
}

void DDImage::FreeExtraBuffers()
{
    if (mExternalSurface)
        return;
    FreeDerivedBuffers();
    FreeTextureData();
    ReleaseSurface();
}

void DDImage::FreeNativeData()
{
    if (mExternalSurface)
        return;
    if (!mBits && !mColorIndices)
        GetBits();
    FreeNativeBits();
    delete[] mAdditiveRunLengths;
    mAdditiveRunLengths = nullptr;
    ReleaseSurface();
}

void DDImage::ReapplyReductions()
{
    if (mPalettized)
        Palettize();
    if (mBitsDiscarded)
        DiscardBits();
    if (mSurfaceWanted)
        CreateSurfaceFromBits();
}

bool DDImage::Palettize()
{
    if (!MemoryImage::Palettize())
        return false;
    if (mSurface)
        ReleaseSurface();
    return true;
}

} // namespace Zelk
