#pragma once
// The display stand-in: a DirectDraw-like device whose surfaces live in plain
// memory. Surfaces can be locked, blitted (copy, stretch, colour fill, source
// colour key), flipped and lost; the primary surface is handed to the window
// system's presenter whenever it changes. A test chooses the desktop (size,
// depth, refresh rate, which entry points exist), fails any call with a chosen
// result code and loses surfaces.
#include "platform/dx/DxResult.h"
#include "platform/text/TextDevice.h"
#include "platform/window/WindowSystem.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Flag values, as the display interfaces document them.
enum : uint32_t {
    DDSD_CAPS = 0x1, DDSD_HEIGHT = 0x2, DDSD_WIDTH = 0x4, DDSD_PITCH = 0x8,
    DDSD_BACKBUFFERCOUNT = 0x20, DDSD_LPSURFACE = 0x800, DDSD_PIXELFORMAT = 0x1000,
    DDSD_CKSRCBLT = 0x10000,
    DDSCAPS_BACKBUFFER = 0x4, DDSCAPS_COMPLEX = 0x8, DDSCAPS_FLIP = 0x10, DDSCAPS_FRONTBUFFER = 0x20,
    DDSCAPS_OFFSCREENPLAIN = 0x40, DDSCAPS_PRIMARYSURFACE = 0x200, DDSCAPS_SYSTEMMEMORY = 0x800,
    DDSCAPS_TEXTURE = 0x1000, DDSCAPS_3DDEVICE = 0x2000, DDSCAPS_VIDEOMEMORY = 0x4000,
    DDLOCK_WAIT = 0x1, DDLOCK_READONLY = 0x10, DDLOCK_WRITEONLY = 0x20,
    DDBLT_COLORFILL = 0x400, DDBLT_DDFX = 0x800, DDBLT_KEYSRC = 0x8000, DDBLT_WAIT = 0x1000000,
    DDBLTFX_ARITHSTRETCHY = 0x1,
    DDPF_ALPHAPIXELS = 0x1, DDPF_PALETTEINDEXED8 = 0x20, DDPF_RGB = 0x40,
    DDCKEY_SRCBLT = 0x8,
    DDSCAPS2_D3DTEXTUREMANAGE = 0x20000,
    DDPCAPS_8BIT = 0x4, DDPCAPS_ALLOW256 = 0x40, DDPCAPS_ALPHA = 0x400,
    DDSCL_FULLSCREEN = 0x1, DDSCL_NORMAL = 0x8, DDSCL_EXCLUSIVE = 0x10,
    DDWAITVB_BLOCKBEGIN = 0x1, DDFLIP_WAIT = 0x1,
};

struct DDPixelFormat {
    uint32_t flags = 0;
    uint32_t rgbBitCount = 0;
    uint32_t rBitMask = 0, gBitMask = 0, bBitMask = 0, alphaBitMask = 0;
};

struct DDColorKey {
    uint32_t low = 0, high = 0;
};

struct DDSurfaceDesc {
    uint32_t flags = 0;
    int32_t width = 0, height = 0;
    int32_t pitch = 0;
    int32_t backBufferCount = 0;
    void* surface = nullptr; // filled by Lock
    DDColorKey srcColorKey;
    DDPixelFormat pixelFormat;
    uint32_t caps = 0;
    uint32_t caps2 = 0;
};

struct DDRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

struct DDBltFx {
    uint32_t ddfx = 0;
    uint32_t fillColor = 0;
};

class DirectDrawDevice;

// One palette entry in the byte order the display uses: red, green, blue, then
// the flags byte, which an alpha palette uses as the entry's alpha.
struct PaletteEntry {
    uint8_t red = 0, green = 0, blue = 0, flags = 0;
};

// A 256-entry palette of 8-bit surfaces. Reference counted like surfaces.
class DDPalette {
public:
    void AddRef() { ++mRefs; }
    void Release();
    int32_t GetEntries(uint32_t flags, int start, int count, PaletteEntry* out) const;
    int32_t SetEntries(uint32_t flags, int start, int count, const PaletteEntry* entries);
    uint32_t Caps() const { return mCaps; }
    // Raised by every change of the entries.
    uint64_t Version() const { return mVersion; }

private:
    friend class DirectDraw;
    friend class DDSurface;
    DDPalette(uint32_t caps, const PaletteEntry* entries);
    ~DDPalette() = default;
    uint32_t mCaps;
    PaletteEntry mEntries[256];
    std::atomic<int> mRefs{1};
    uint64_t mVersion;
};

// One surface. Reference counted: Release deletes it when the last reference goes.
// As on the real device, a locked surface refuses a second Lock and takes
// part in no Blt (DDERR_SURFACEBUSY) until it is unlocked. A source colour key
// is compared on the colour bits only (the bits of the three channel masks).
class DDSurface {
public:
    void AddRef() { ++mRefs; }
    void Release();
    int32_t GetSurfaceDesc(DDSurfaceDesc& desc) const;
    int32_t Lock(const DDRect* rect, DDSurfaceDesc& desc, uint32_t flags);
    int32_t Unlock();
    int32_t Blt(const DDRect* dst, DDSurface* src, const DDRect* srcRect, uint32_t flags, const DDBltFx* fx);
    int32_t Flip(DDSurface* override, uint32_t flags);
    int32_t GetAttachedSurface(uint32_t caps, DDSurface** out);
    int32_t SetColorKey(uint32_t flags, const DDColorKey& key);
    // The source colour key; DDERR_NOCOLORKEY when none was set.
    int32_t GetColorKey(uint32_t flags, DDColorKey& key) const;
    int32_t SetClipper(class DDClipper* clipper);
    // Attaches a palette (a reference of the surface's own; null detaches).
    int32_t SetPalette(DDPalette* palette);
    // The attached palette with a reference added for the caller.
    int32_t GetPalette(DDPalette** out);
    int32_t IsLost() const;
    int32_t Restore();
    // The surface's device context for the text device: a pixel target over
    // the whole surface in its own layout, clipped to it. Refused while the
    // surface is locked, lost or already has a context out; while it is out
    // the surface counts as locked. ReleaseDC ends it.
    int32_t GetDC(TextTarget& target);
    int32_t ReleaseDC();

    int32_t Width() const { return mDesc.width; }
    int32_t Height() const { return mDesc.height; }
    int32_t Pitch() const { return mDesc.pitch; }
    uint32_t BitCount() const { return mDesc.pixelFormat.rgbBitCount; }
    uint8_t* Memory() { return mMemory.data(); }
    bool IsPrimary() const { return (mDesc.caps & DDSCAPS_PRIMARYSURFACE) != 0; }
    int LockCount() const { return mLocks; }
    // Reads one pixel as 0xAARRGGBB (tests and the presenter).
    uint32_t PixelARGB(int x, int y) const;
    uint32_t Caps() const { return mDesc.caps; }
    const DDPixelFormat& PixelFormat() const { return mDesc.pixelFormat; }
    // Raised by every change of the pixels (unlock, blit, flip, restore,
    // palette); unique across all surfaces of the process.
    uint64_t Version() const { return mVersion; }
    // Marks the pixels changed by a writer other than this class (the 3D device).
    void Touch();
    // The whole surface as ARGB words (a palettised surface through its
    // palette), rows `pitchPixels` apart; made again only after a change.
    // Valid until the next change of the surface.
    const uint32_t* ARGBView(int& pitchPixels);
    // Whether every pixel of the ARGB view has alpha 255 (always so for a
    // format without alpha); looked at again only after a change.
    bool Opaque();

private:
    friend class DirectDrawDevice;
    friend class DirectDraw;
    DDSurface(DirectDrawDevice* device, const DDSurfaceDesc& desc);
    ~DDSurface() = default;
    bool Inside(const DDRect& r) const;
    DirectDrawDevice* mDevice;
    DDSurfaceDesc mDesc;
    std::vector<uint8_t> mMemory;
    std::atomic<int> mRefs{1};
    int mLocks = 0;
    bool mDCOut = false;
    bool mLost = false;
    bool mHasColorKey = false;
    DDColorKey mColorKey;
    DDSurface* mBackBuffer = nullptr; // of a flipping primary
    DDSurface* mFrontBuffer = nullptr;
    class DDClipper* mClipper = nullptr;
    DDPalette* mPalette = nullptr;
    uint64_t mVersion = 0;
    // The ARGB view and what it was made from.
    std::vector<uint32_t> mView;
    uint64_t mViewVersion = 0;
    uint64_t mViewPaletteVersion = 0;
    // Opaque's answer and the versions it was found for.
    bool mOpaque = false;
    bool mOpaqueKnown = false;
    uint64_t mOpaqueVersion = 0, mOpaquePaletteVersion = 0;
};

class DDClipper {
public:
    int32_t SetHWnd(uint32_t flags, WindowHandle window);
    void Release() { delete this; }
    WindowHandle mWindow = 0;
};

// What the desktop offers; a test sets it before the display is created.
struct DesktopConfig {
    int width = 1024;
    int height = 768;
    int bitDepth = 32;          // 8, 16, 24 or 32
    bool rgb555 = false;        // 16-bit layout 5-5-5 instead of 5-6-5
    int refreshRate = 60;       // 0: the frequency cannot be read
    bool hasCreateEx = true;    // the module offers DirectDrawCreateEx
    bool hasCreate = true;      // the module offers DirectDrawCreate
    uint32_t videoMemory = 64u << 20;
    // What the display adapter says of itself.
    struct Adapter {
        std::string description = "Zelk Software Rasterizer";
        std::string driver;              // the driver file; a bare name lies in the system folder
        uint8_t guid[16] = {0x5A, 0x45, 0x4C, 0x4B, 0x33, 0x44, 0x00, 0x01};
    } adapter;
    std::string systemFolder;            // where bare driver names are looked for
};

// The adapter identity as the display and 3D interfaces report it.
struct DeviceIdentifier {
    std::string driver;
    std::string description;
    uint8_t guid[16] = {};
};

// The device: one per process, shared by every DirectDraw object made on it.
class DirectDrawDevice {
public:
    static DirectDrawDevice& Get();
    DesktopConfig config;

    // Failure injection: the next calls of that operation ("CreateSurface",
    // "SetCooperativeLevel", "SetDisplayMode", "Blt", "Flip", "Lock",
    // "CreateClipper", "GetMonitorFrequency", "DirectDrawCreate", ...) return
    // the code, `count` times.
    void FailNext(const std::string& operation, int32_t code, int count = 1);
    int32_t TakeFailure(std::string_view operation);
    // Every surface in video memory (and the primary) becomes lost.
    void LoseSurfaces();
    void Reset(); // forget failures and configuration (tests)

    // The display mode now in force (full screen), or 0 x 0 for the desktop's.
    int modeWidth = 0, modeHeight = 0, modeDepth = 0;
    uint32_t cooperativeLevel = 0;
    WindowHandle cooperativeWindow = 0;
    int liveSurfaces = 0;
    int presents = 0;
    // The surface-to-surface blits so far, and the last one's rectangles and flags.
    int blts = 0;
    DDRect lastBltSource, lastBltDest;
    uint32_t lastBltFlags = 0;

    DDPixelFormat DesktopFormat() const;
    // A plain copy into the primary from another surface of its format: the
    // rows of `to` on the primary take those of `from` on the source.
    struct PrimaryCopy {
        const DDSurface* source;
        DDRect from, to;
    };
    // Called by surfaces when the primary changed: hands the visible pixels to
    // the window system. With a copy, makes the copy first, row by row as the
    // visible rows are handed over, so each copied row is read back while it
    // is still in cache.
    void PrimaryChanged(DDSurface* primary, const PrimaryCopy* copy = nullptr);
    // Waits on the clock until the next refresh boundary at the reported
    // refresh rate (boundaries at whole multiples of the period from clock 0):
    // what a flip and a vertical-blank wait do on a real display.
    void WaitForRefresh();

    std::mutex mutex; // guards the surface list and the failure table

private:
    friend class DDSurface;
    friend class DirectDraw;
    std::map<std::string, std::pair<int32_t, int>, std::less<>> mFailures;
    // Whether the failure table may hold anything: every call of every
    // surface and device asks it, so the common answer takes no lock.
    std::atomic<bool> mFailuresArmed{false};
    std::vector<DDSurface*> mSurfaces;
    std::vector<uint32_t> mFrame;   // the buffer the next frame is converted into (the window system keeps the last one)
    std::vector<uint32_t> mTable16; // ARGB of every 16-bit value of the primary's layout
    uint32_t mTable16Masks[3] = {0, 0, 0};
};

// A DirectDraw object (both interface versions are this one object).
class DirectDraw {
public:
    void AddRef() { ++mRefs; }
    void Release();
    int32_t SetCooperativeLevel(WindowHandle window, uint32_t flags);
    int32_t SetDisplayMode(int width, int height, int bitDepth);
    int32_t RestoreDisplayMode();
    int32_t CreateSurface(const DDSurfaceDesc& desc, DDSurface** out);
    int32_t CreateClipper(uint32_t flags, DDClipper** out);
    int32_t GetMonitorFrequency(uint32_t* hz);
    int32_t GetScanLine(uint32_t* line);
    int32_t WaitForVerticalBlank(uint32_t flags);
    int32_t FlipToGDISurface();
    // The other interface version of this object (a new reference).
    int32_t QueryInterface(DirectDraw** out);
    int32_t GetAvailableVidMem(uint32_t caps, uint32_t* total, uint32_t* free);
    int32_t CreatePalette(uint32_t flags, const PaletteEntry* entries, DDPalette** out);
    int32_t GetDeviceIdentifier(uint32_t flags, DeviceIdentifier& out);

private:
    friend int32_t DirectDrawCreate(DirectDraw** out);
    friend int32_t DirectDrawCreateEx(DirectDraw** out);

// The screen's size and depth as the desktop's device context reports them
// (the display mode while one is set).
void GetScreenDeviceCaps(int& width, int& height, int& bitsPerPixel);
// The system folder, where bare driver file names are found.
std::string GetSystemDirectory();
    DirectDraw() = default;
    std::atomic<int> mRefs{1};
};

// The module's two entry points. Each is absent (returns false from
// HasDirectDrawCreate...) when the desktop configuration says so or when
// "ddraw.dll" is reported absent.
bool HasDirectDrawCreate();
bool HasDirectDrawCreateEx();
int32_t DirectDrawCreate(DirectDraw** out);
int32_t DirectDrawCreateEx(DirectDraw** out);

// The screen's size and depth as the desktop's device context reports them
// (the display mode while one is set).
void GetScreenDeviceCaps(int& width, int& height, int& bitsPerPixel);
// The system folder, where bare driver file names are found.
std::string GetSystemDirectory();

} // namespace plat
