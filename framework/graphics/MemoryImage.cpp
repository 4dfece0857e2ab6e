#include "framework/graphics/MemoryImage.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

namespace Zelk {

bool (*MemoryImage::sReadTextureBits)(MemoryImage*, uint32_t*) = nullptr;

namespace {

template <typename T> T* CopyArray(const T* src, size_t count)
{
    if (!src)
        return nullptr;
    T* copy = new T[count];
    std::memcpy(copy, src, count * sizeof(T));
    return copy;
}

uint32_t ToNative(uint32_t argb, const PixelLayout& l)
{
    uint32_t a = argb >> 24;
    uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    return (a << 24) | ((((r * (a + 1)) >> (16 - l.mRedBits)) << l.mRedShift) & l.mRedMask) |
           ((((g * (a + 1)) >> (16 - l.mGreenBits)) << l.mGreenShift) & l.mGreenMask) |
           ((((b * (a + 1)) >> (16 - l.mBlueBits)) << l.mBlueShift) & l.mBlueMask);
}

uint32_t FromNativeChannel(uint32_t q, uint32_t a, uint32_t mask, int shift, int bits)
{
    uint32_t v = (((q & mask) << 8) / (a + 1)) & mask;
    return (v << 8) >> (shift + bits);
}

uint32_t FromNative(uint32_t q, const PixelLayout& l)
{
    uint32_t a = q >> 24;
    return (a << 24) | (FromNativeChannel(q, a, l.mRedMask, l.mRedShift, l.mRedBits) << 16) |
           (FromNativeChannel(q, a, l.mGreenMask, l.mGreenShift, l.mGreenBits) << 8) |
           FromNativeChannel(q, a, l.mBlueMask, l.mBlueShift, l.mBlueBits);
}

// Per pixel: how many pixels from it to the right, itself included, share its
// class without interruption within the row, capped at 255.
template <typename ClassOf> uint8_t* BuildRunLengths(int width, int height, ClassOf classOf)
{
    uint8_t* runs = new uint8_t[size_t(width) * size_t(height)];
    for (int y = 0; y < height; ++y) {
        size_t row = size_t(y) * size_t(width);
        int run = 0;
        int prevClass = -1;
        for (int x = width - 1; x >= 0; --x) {
            int c = classOf(row + size_t(x));
            run = (c == prevClass) ? run + 1 : 1;
            prevClass = c;
            runs[row + size_t(x)] = uint8_t(std::min(run, 255));
        }
    }
    return runs;
}

int AlphaClass(uint32_t pixel)
{
    uint32_t a = pixel >> 24;
    return a == 0 ? 0 : a == 255 ? 1 : 2;
}

} // namespace

MemoryImage::MemoryImage() : MemoryImage(gAppBase) {}

MemoryImage::MemoryImage(ZelkAppBase* app) : mApp(app)
{
    if (mApp)
        mApp->AddMemoryImage(this);
}

MemoryImage::MemoryImage(const MemoryImage& other)
    : Image(other), mChangeCount(other.mChangeCount), mTextureFlags(other.mTextureFlags),
      mAlphaKindForced(other.mAlphaKindForced), mHasTransparency(other.mHasTransparency),
      mHasAlpha(other.mHasAlpha), mVolatile(other.mVolatile), mBitsDiscarded(other.mBitsDiscarded),
      mPalettized(other.mPalettized), mNeedsAnalysis(other.mNeedsAnalysis), mApp(other.mApp)
{
    // The source may hold its pixels only in a derived form: rebuild them for
    // the copy and drop them again, so the source ends as it began.
    MemoryImage& source = const_cast<MemoryImage&>(other);
    bool rebuilt = false;
    if (!source.mBits && !source.mColorTable) {
        source.GetBits();
        rebuilt = source.mBits != nullptr;
    }
    size_t count = other.PixelCount();
    if (source.mBits) {
        mBits = CopyArray(source.mBits, count + 1);
        mBits[count] = kPixelGuard;
    }
    if (rebuilt) {
        delete[] source.mBits;
        source.mBits = nullptr;
    }
    if (other.mColorTable && other.mColorIndices) {
        mColorTable = CopyArray(other.mColorTable, 256);
        mColorIndices = CopyArray(other.mColorIndices, count);
    }
    if (other.mNativeBits) {
        mNativeBits = CopyArray(other.mNativeBits, other.mNativeBitsCount);
        mNativeBitsCount = other.mNativeBitsCount;
        mNativeLayout = other.mNativeLayout;
    }
    mAlphaRunLengths = CopyArray(other.mAlphaRunLengths, count);
    mAdditiveRunLengths = CopyArray(other.mAdditiveRunLengths, count);
    if (mApp)
        mApp->AddMemoryImage(this);
}

MemoryImage::~MemoryImage()
{
    if (mApp)
        mApp->RemoveMemoryImage(this);
    FreeBits();
    FreeNativeBits();
    FreeRunLengths();
    FreePalette();
}

MemoryImage* MemoryImage::BlitSource(Image* image)
{
    MemoryImage* src = dynamic_cast<MemoryImage*>(image);
    if (src)
        src->mDrawn = true;
    return src;
}

bool MemoryImage::CheckedPixelCount(int width, int height, size_t& count)
{
    if (width < 0 || height < 0)
        return false;
    int64_t n = int64_t(width) * int64_t(height);
    if (n >= int64_t(INT_MAX))
        return false;
    count = size_t(n);
    return true;
}

void MemoryImage::FreeBits()
{
    delete[] mBits;
    mBits = nullptr;
}

void MemoryImage::FreePalette()
{
    delete[] mColorTable;
    mColorTable = nullptr;
    delete[] mColorIndices;
    mColorIndices = nullptr;
}

void MemoryImage::FreeNativeBits()
{
    delete[] mNativeBits;
    mNativeBits = nullptr;
    mNativeBitsCount = 0;
}

void MemoryImage::FreeRunLengths()
{
    delete[] mAlphaRunLengths;
    mAlphaRunLengths = nullptr;
    delete[] mAdditiveRunLengths;
    mAdditiveRunLengths = nullptr;
    delete[] mAdditiveColors;
    mAdditiveColors = nullptr;
}

NativeDisplay* MemoryImage::AppDisplay() const
{
    return mApp ? mApp->mDDInterface.load() : nullptr;
}

uint32_t* MemoryImage::GetBits()
{
    if (mBits)
        return mBits;
    size_t count;
    if (!CheckedPixelCount(mWidth, mHeight, count))
        return nullptr;
    uint32_t* bits = new uint32_t[count + 1];
    bits[count] = kPixelGuard;
    if (mColorTable && mColorIndices) {
        for (size_t i = 0; i < count; ++i)
            bits[i] = mColorTable[mColorIndices[i]];
        // No longer palettised; the flag stays so the reduction is reapplied.
        FreePalette();
        FreeNativeBits();
    } else if (mNativeBits && mNativeBitsCount == count) {
        for (size_t i = 0; i < count; ++i)
            bits[i] = FromNative(mNativeBits[i], mNativeLayout);
    } else if (!(mTextureData && sReadTextureBits && sReadTextureBits(this, bits))) {
        std::memset(bits, 0, count * sizeof(uint32_t));
    }
    mBits = bits;
    return mBits;
}

void MemoryImage::SetBits(const uint32_t* bits, int width, int height, bool analyzeNow)
{
    if (bits == mBits && bits)
        return;
    size_t count;
    if (!CheckedPixelCount(width, height, count))
        return;
    FreePalette();
    if (width != mWidth || height != mHeight || !mBits) {
        FreeBits();
        mBits = new uint32_t[count + 1];
        mWidth = width;
        mHeight = height;
    }
    if (count)
        std::memcpy(mBits, bits, count * sizeof(uint32_t));
    mBits[count] = kPixelGuard;
    MarkBitsChanged();
    if (analyzeNow)
        AnalyzeBits();
}

void MemoryImage::Create(int width, int height)
{
    size_t count;
    if (!CheckedPixelCount(width, height, count))
        return;
    FreeBits();
    // An old palette would describe pixels of the old size.
    FreePalette();
    mWidth = width;
    mHeight = height;
    mHasTransparency = true;
    mHasAlpha = true;
    MarkBitsChanged();
}

void MemoryImage::Clear()
{
    uint32_t* bits = GetBits();
    if (!bits)
        return;
    std::memset(bits, 0, PixelCount() * sizeof(uint32_t));
    MarkBitsChanged();
}

void MemoryImage::MarkBitsChanged()
{
    mChangeCount++;
    mNeedsAnalysis = true;
    FreeNativeBits();
    FreeRunLengths();
}

void MemoryImage::AnalyzeBits()
{
    if (!mNeedsAnalysis || mAlphaKindForced)
        return;
    mHasAlpha = false;
    if (!mBits && !mColorTable) {
        mHasTransparency = true;
        mNeedsAnalysis = false;
        return;
    }
    mHasTransparency = false;
    const uint32_t* pixels = mBits ? mBits : mColorTable;
    size_t count = mBits ? PixelCount() : 256;
    for (size_t i = 0; i < count; ++i) {
        uint32_t a = pixels[i] >> 24;
        if (a == 0)
            mHasTransparency = true;
        else if (a != 255)
            mHasAlpha = true;
    }
    mNeedsAnalysis = false;
}

void MemoryImage::SetAlphaKind(bool hasTransparency, bool hasAlpha)
{
    mAlphaKindForced = true;
    mHasTransparency = hasTransparency;
    mHasAlpha = hasAlpha;
}

void MemoryImage::SetChangesOften(bool changesOften)
{
    mVolatile = changesOften;
}

uint32_t* MemoryImage::GetNativeBits(const NativeDisplay* display)
{
    if (mNativeBits)
        return mNativeBits;
    AnalyzeBits();
    if (mColorTable && mColorIndices) {
        mNativeBits = new uint32_t[256];
        mNativeBitsCount = 256;
        for (int i = 0; i < 256; ++i)
            mNativeBits[i] = ToNative(mColorTable[i], *display);
    } else {
        uint32_t* bits = GetBits();
        if (!bits)
            return nullptr;
        size_t count = PixelCount();
        mNativeBits = new uint32_t[count ? count : 1];
        mNativeBitsCount = count;
        for (size_t i = 0; i < count; ++i)
            mNativeBits[i] = ToNative(bits[i], *display);
    }
    mNativeLayout = *display;
    return mNativeBits;
}

uint8_t* MemoryImage::GetAlphaRunLengths()
{
    if (mAlphaRunLengths)
        return mAlphaRunLengths;
    AnalyzeBits();
    if (mNativeBits && mNativeBitsCount == PixelCount() && !mColorIndices) {
        const uint32_t* native = mNativeBits;
        mAlphaRunLengths = BuildRunLengths(mWidth, mHeight, [native](size_t i) { return AlphaClass(native[i]); });
    } else if (mColorTable && mColorIndices) {
        // A palette's native bits are its 256 entries: read through the indices.
        const uint32_t* table = mNativeBits ? mNativeBits : mColorTable;
        const uint8_t* indices = mColorIndices;
        mAlphaRunLengths = BuildRunLengths(mWidth, mHeight,
                                           [table, indices](size_t i) { return AlphaClass(table[indices[i]]); });
    } else {
        const uint32_t* bits = GetBits();
        if (!bits)
            return nullptr;
        mAlphaRunLengths = BuildRunLengths(mWidth, mHeight, [bits](size_t i) { return AlphaClass(bits[i]); });
    }
    return mAlphaRunLengths;
}

uint8_t* MemoryImage::GetAdditiveRunLengths(const NativeDisplay* display)
{
    if (mAdditiveRunLengths)
        return mAdditiveRunLengths;
    const uint32_t* native = GetNativeBits(display);
    if (!native)
        return nullptr;
    if (mColorIndices && mNativeBitsCount == 256) {
        const uint8_t* indices = mColorIndices;
        mAdditiveRunLengths = BuildRunLengths(
            mWidth, mHeight, [native, indices](size_t i) { return (native[indices[i]] & 0xFFFFFF) ? 1 : 0; });
    } else {
        mAdditiveRunLengths =
            BuildRunLengths(mWidth, mHeight, [native](size_t i) { return (native[i] & 0xFFFFFF) ? 1 : 0; });
    }
    return mAdditiveRunLengths;
}

const uint32_t* MemoryImage::GetAdditiveColors()
{
    if (mAdditiveColors)
        return mAdditiveColors;
    AnalyzeBits();
    if (!mBits || !mHasAlpha)
        return nullptr;
    size_t count = PixelCount();
    mAdditiveColors = new uint32_t[count];
    for (size_t i = 0; i < count; ++i) {
        uint32_t p = mBits[i], a = p >> 24;
        mAdditiveColors[i] = ((((p >> 16) & 0xFF) * a) >> 8) << 16 | ((((p >> 8) & 0xFF) * a) >> 8) << 8 |
                             (((p & 0xFF) * a) >> 8);
    }
    return mAdditiveColors;
}

void MemoryImage::DiscardBits()
{
    mBitsDiscarded = true;
    bool in3D = mApp && mApp->Is3DAccelerated();
    if (!in3D) {
        if (!mBits && !mColorIndices)
            return;
        // Without a display there is no native form to keep the pixels in.
        NativeDisplay* display = AppDisplay();
        if (!display)
            return;
        GetNativeBits(display);
        // A palette's native bits are only its table: the indices stay.
        if (mNativeBits && mNativeBitsCount == PixelCount() && mBits) {
            FreeBits();
            if (mTextureData)
                FreePalette();
        }
    } else {
        if (!mTextureData)
            return;
        FreeBits();
        FreePalette();
    }
}

void MemoryImage::FreeDerivedBuffers()
{
    if (!mBits && !mColorIndices)
        GetBits();
    FreeNativeBits();
    FreeRunLengths();
}

void MemoryImage::FreeNativeData()
{
    if (!mBits && !mColorIndices)
        GetBits();
    FreeNativeBits();
    delete[] mAdditiveRunLengths;
    mAdditiveRunLengths = nullptr;
}

void MemoryImage::FreeTextureData()
{
    if (mApp)
        mApp->RemoveImageTextures(this);
}

void MemoryImage::FreeExtraBuffers()
{
    FreeDerivedBuffers();
    FreeTextureData();
}

void MemoryImage::ReapplyReductions()
{
    if (mPalettized)
        Palettize();
    if (mBitsDiscarded)
        DiscardBits();
}

bool MemoryImage::Palettize()
{
    AnalyzeBits();
    if (mColorTable)
        return true;
    const uint32_t* bits = GetBits();
    if (!bits)
        return false;
    size_t count = PixelCount();
    if (count == 0) {
        mPalettized = false;
        return false;
    }

    uint32_t* table = new uint32_t[256];
    std::memset(table, 0, 256 * sizeof(uint32_t));
    uint8_t* indices = new uint8_t[count];
    // Colours found so far, sorted by value for the search, with their index.
    std::vector<std::pair<uint32_t, uint8_t>> sorted;
    sorted.reserve(256);
    int numColors = 0;
    for (size_t i = 0; i < count; ++i) {
        uint32_t c = bits[i];
        auto it = std::lower_bound(sorted.begin(), sorted.end(), c,
                                   [](const std::pair<uint32_t, uint8_t>& e, uint32_t v) { return e.first < v; });
        if (it != sorted.end() && it->first == c) {
            indices[i] = it->second;
            continue;
        }
        if (numColors == 256) {
            delete[] table;
            delete[] indices;
            mPalettized = false;
            return false;
        }
        sorted.insert(it, std::make_pair(c, uint8_t(numColors)));
        table[numColors] = c;
        indices[i] = uint8_t(numColors);
        numColors++;
    }
    mColorTable = table;
    mColorIndices = indices;
    FreeBits();
    FreeNativeBits();
    mPalettized = true;
    return true;
}

} // namespace Zelk
