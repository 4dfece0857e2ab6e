#include "framework/graphics/SurfaceFormat.h"

#include "framework/graphics/DDInterface.h"

#include <algorithm>

namespace Zelk {
namespace Surface {

Drawing::Drawing(DDImage& image, bool testSurfaceOnly) : mImage(image)
{
    if (testSurfaceOnly && image.mSurfaceOnly)
        return;
    if (!image.LockSurface())
        return;
    mLocked = true;
    const plat::DDSurfaceDesc& desc = image.mLockDesc;
    f.base = static_cast<uint8_t*>(desc.surface);
    f.pitch = desc.pitch;
    f.bitCount = int(desc.pixelFormat.rgbBitCount);
    f.mask[0] = desc.pixelFormat.rBitMask;
    f.mask[1] = desc.pixelFormat.gBitMask;
    f.mask[2] = desc.pixelFormat.bBitMask;
    if (const DDInterface* display = image.mDDInterface) {
        f.shift[0] = display->mRedShift;
        f.shift[1] = display->mGreenShift;
        f.shift[2] = display->mBlueShift;
        f.bits[0] = display->mRedBits;
        f.bits[1] = display->mGreenBits;
        f.bits[2] = display->mBlueBits;
        if (!display->mRedAddTable.empty() && !display->mGreenAddTable.empty() && !display->mBlueAddTable.empty()) {
            f.table[0] = display->mRedAddTable.data();
            f.table[1] = display->mGreenAddTable.data();
            f.table[2] = display->mBlueAddTable.data();
        }
    }
    f.form565 = f.mask[1] == 0x07E0;
    f.form555 = f.mask[1] == 0x03E0;
    f.standardOrder = gDisplayRGBOrder;
    mOk = f.base && (f.bitCount == 16 || f.bitCount == 32);
}

Drawing::~Drawing()
{
    if (mLocked)
        mImage.UnlockSurface();
}

bool OpenNative(MemoryImage* src, const NativeDisplay* display, NativeSource& out)
{
    if (!display)
        return false;
    out.native = src->GetNativeBits(display);
    if (!out.native)
        return false;
    out.indices = src->mColorIndices && src->mNativeBitsCount == 256 ? src->mColorIndices : nullptr;
    if (!out.indices && src->mNativeBitsCount != src->PixelCount())
        return false;
    out.width = src->mWidth;
    return true;
}

bool ClipBlit(const Image* src, const Image* dest, int& x, int& y, Rect& srcRect, bool mirrored)
{
    // Rows.
    int64_t top = std::max(srcRect.mY, 0);
    int64_t bottom = std::min(int64_t(srcRect.mY) + srcRect.mHeight, int64_t(src->mHeight));
    int64_t destTop = int64_t(y) + top - srcRect.mY;
    if (destTop < 0) {
        top -= destTop;
        destTop = 0;
    }
    bottom = std::min(bottom, top + dest->mHeight - destTop);
    // Columns.
    int64_t left = std::max(srcRect.mX, 0);
    int64_t right = std::min(int64_t(srcRect.mX) + srcRect.mWidth, int64_t(src->mWidth));
    int64_t destLeft = mirrored ? int64_t(x) + srcRect.mX + srcRect.mWidth - right : int64_t(x) + left - srcRect.mX;
    if (destLeft < 0) {
        // Cut on the destination's left: the source's left, or its right when mirrored.
        if (mirrored)
            right += destLeft;
        else
            left -= destLeft;
        destLeft = 0;
    }
    const int64_t over = destLeft + (right - left) - dest->mWidth;
    if (over > 0) {
        if (mirrored)
            left += over;
        else
            right -= over;
    }
    if (right <= left || bottom <= top)
        return false;
    x = int(destLeft);
    y = int(destTop);
    srcRect = Rect(int(left), int(top), int(right - left), int(bottom - top));
    return true;
}

} // namespace Surface
} // namespace Zelk
