#pragma once
// A surface image in plain memory for the system fonts' surface path: 5-6-5
// or 32-bit pixels in rows wider than the image, a lock count, a device
// context that (as on the display) cannot be had while the surface is locked,
// and switches that make each step fail. Logs the steps it is asked for.
#include "framework/fonts/TextSurface.h"
#include "framework/graphics/Image.h"
#include "platform/text/TextDevice.h"

#include <cstring>
#include <string>
#include <vector>

namespace fonttest {

class FakeSurface : public Zelk::Image, public Zelk::TextSurface {
public:
    FakeSurface(int w, int h, int depth, uint32_t fill = 0) : mDepth(depth)
    {
        mWidth = w;
        mHeight = h;
        mPitch = w * depth / 8 + 12;
        mBytes.assign(size_t(mPitch) * size_t(h), 0);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Put(x, y, fill);
    }

    // Takes the image's lock as its own drawing would.
    void Lock()
    {
        ++lockCount;
        surfaceLocked = true;
        lockPointer = mBytes.data();
    }

    bool EnsureTextSurface() override
    {
        log.push_back("ensure");
        if (!hasSurface && canMakeSurface)
            hasSurface = true;
        return hasSurface;
    }
    int TextSurfaceLockCount() override { return lockCount; }
    void SuspendSurfaceLock() override
    {
        log.push_back("unlock");
        surfaceLocked = false;
    }
    bool ResumeSurfaceLock() override
    {
        log.push_back("relock");
        if (failRelock || surfaceLocked)
            return false;
        surfaceLocked = true;
        lockPointer = mBytes.data();
        return true;
    }
    void ResetSurfaceLock() override
    {
        log.push_back("reset");
        lockCount = 0;
        lockPointer = nullptr;
    }
    void EndRendererScene() override { log.push_back("endscene"); }
    bool GetTextDC(plat::TextTarget& t) override
    {
        log.push_back("getdc");
        if (failDC || surfaceLocked)
            return false;
        t = plat::TextTarget();
        t.pixels = mBytes.data();
        t.pitch = mPitch;
        t.width = mWidth;
        t.height = mHeight;
        t.bitDepth = mDepth;
        if (mDepth == 16) {
            t.redMask = 0xF800;
            t.greenMask = 0x07E0;
            t.blueMask = 0x001F;
        }
        t.clipLeft = t.clipTop = 0;
        t.clipRight = mWidth;
        t.clipBottom = mHeight;
        return true;
    }
    void ReleaseTextDC() override { log.push_back("releasedc"); }
    void DropMemoryCopies() override { log.push_back("drop"); }

    // The pixel widened to opaque ARGB.
    uint32_t Pixel(int x, int y) const
    {
        uint32_t p = 0;
        std::memcpy(&p, &mBytes[size_t(y) * mPitch + size_t(x) * (mDepth / 8)], size_t(mDepth / 8));
        if (mDepth == 32)
            return 0xFF000000u | (p & 0xFFFFFF);
        uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
        return 0xFF000000u | (r * 255 / 31) << 16 | (g * 255 / 63) << 8 | (b * 255 / 31);
    }
    std::vector<uint32_t> Pixels() const
    {
        std::vector<uint32_t> out;
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
                out.push_back(Pixel(x, y));
        return out;
    }
    // The bytes between the rows' ends and the next rows stay untouched.
    bool PaddingUntouched() const
    {
        for (int y = 0; y < mHeight; ++y)
            for (int i = mWidth * mDepth / 8; i < mPitch; ++i)
                if (mBytes[size_t(y) * mPitch + size_t(i)] != 0)
                    return false;
        return true;
    }

    bool hasSurface = true;
    bool canMakeSurface = true;
    bool failRelock = false;
    bool failDC = false;
    bool surfaceLocked = false;
    int lockCount = 0;
    void* lockPointer = nullptr;
    std::vector<std::string> log;

private:
    void Put(int x, int y, uint32_t argb)
    {
        uint32_t p = argb & 0xFFFFFF;
        if (mDepth == 16)
            p = ((argb >> 19) & 31) << 11 | ((argb >> 10) & 63) << 5 | ((argb >> 3) & 31);
        std::memcpy(&mBytes[size_t(y) * mPitch + size_t(x) * (mDepth / 8)], &p, size_t(mDepth / 8));
    }

    int mDepth;
    int mPitch;
    std::vector<uint8_t> mBytes;
};

} // namespace fonttest
