#pragma once
#include "framework/app/CriticalSection.h"
#include "framework/graphics/NativeDisplay.h"

#include <atomic>
#include <cstdint>

namespace Zelk {

class ZelkAppBase;

// The display: the screen image, presenting and the program-drawn cursor.
// (So far only what the main loop uses: presenting, the cursor position and
// the refresh timing.)
class DDInterface : public NativeDisplay {
public:
    explicit DDInterface(ZelkAppBase* app) : mApp(app) {}
    ~DDInterface() override = default;

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

private:
    ZelkAppBase* mApp;
};

} // namespace Zelk
