#pragma once
#include <cstddef>
#include <cstdint>

namespace Zelk {

// The 3D test's copy of its render target: ARGB words, rows one after the other.
class D3DTestImage {
public:
    D3DTestImage() = default;
    D3DTestImage(const D3DTestImage&) = delete;
    D3DTestImage& operator=(const D3DTestImage&) = delete;
    virtual ~D3DTestImage() { delete[] mBits; }

    // Frees the old pixels and, for positive sizes, makes new ones (not cleared).
    void Create(int width, int height)
    {
        delete[] mBits;
        mBits = nullptr;
        mWidth = width > 0 && height > 0 ? width : 0;
        mHeight = width > 0 && height > 0 ? height : 0;
        if (mWidth > 0)
            mBits = new uint32_t[size_t(mWidth) * size_t(mHeight)];
    }
    uint32_t At(int x, int y) const { return mBits[size_t(y) * size_t(mWidth) + size_t(x)]; }

    uint32_t* mBits = nullptr;
    int mWidth = 0;
    int mHeight = 0;
};

} // namespace Zelk
