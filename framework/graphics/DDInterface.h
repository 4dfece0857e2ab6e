#pragma once
#include "framework/app/CriticalSection.h"
#include "framework/graphics/NativeDisplay.h"
#include "framework/graphics/Rect.h"
#include "platform/window/WindowSystem.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace plat {
class DirectDraw;
class DDSurface;
} // namespace plat

namespace Zelk {

class ZelkAppBase;
class D3DInterface;
class D3DTester;
class MemoryImage;

// The display: the screen image, presenting and the program-drawn cursor.
// (So far only what the main loop uses: presenting, the cursor position and
// the refresh timing.)
class DDInterface : public NativeDisplay {
public:
    explicit DDInterface(ZelkAppBase* app);
    ~DDInterface() override;

    // Builds the display for the window; a display result code (0 success,
    // 4 exclusive mode refused, 5 display mode refused, 6 colour depth not
    // usable, 7 3D failed to start, other values other failures).
    virtual int Init(plat::WindowHandle window, bool windowed);
    class Image* GetScreenImage() { return mScreenImage; }
    void RecreateScreenImage(bool videoMemory) {}
    int32_t FlipToGDISurface() { return 0; }
    class Image* mScreenImage = nullptr;
    std::string mErrorText;
    int32_t mDisplayWidth = 800, mDisplayHeight = 600;
    Rect mPresentationRect{0, 0, 800, 600};
    bool mTesterNewResult = false;
    int mInitResult = 0; // what Init returns (until the display is built)
    int mInitCount = 0;
    // Presents the screen image; false when presenting failed.
    virtual bool Redraw(const void* dirtyRect);
    virtual void SetCursorPosition(int x, int y);
    // The image the program draws as the cursor (null: none); true when it changed.
    virtual bool SetCursorImage(class Image* image);
    class Image* mCursorImage = nullptr;

    CriticalSection mCritSect; // the display lock
    int32_t mRefreshRate = 60;
    int32_t mMillisecondsPerFrame = 16;
    bool mIs3D = false;
    std::atomic<int> mCursorX{0}, mCursorY{0};
    std::atomic<int> mCursorDrawnX{0}, mCursorDrawnY{0};
    // The 3D capability tester's verdict and the renderer's render-target
    // failure, read when the application asks about hardware acceleration.
    bool mHave3DTester = false;
    bool mTester3DClean = false; // no failure reason and no warning
    bool mRenderTargetFailed = false;
    // Presents so far, and a switch that makes presenting fail (tests).
    std::atomic<int> mRedrawCount{0};
    bool mFailRedraw = false;

    // ---- what the renderer and the 3D test use of the display ----
    ZelkAppBase* mApp;
    D3DInterface* mD3DInterface;       // the renderer, owned
    D3DTester* mD3DTester = nullptr;   // the 3D capability test, owned
    plat::DirectDraw* mDD7 = nullptr;  // the DirectDraw object surfaces are made on
    plat::DDSurface* mDrawSurface = nullptr; // every frame is drawn here
    plat::WindowHandle mHWnd = 0;
    int32_t mWidth = 0, mHeight = 0;   // the draw surface's size
    // Drops the renderer's textures of the image.
    void RemoveImageTextures(MemoryImage* image);
};

// The name of a display result code ("RESULT_OK" ...), "RESULT_UNKNOWN" for others.
std::string DisplayResultName(int result);

} // namespace Zelk
