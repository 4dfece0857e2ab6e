#pragma once
#include "framework/app/CriticalSection.h"
#include "framework/app/Ratio.h"
#include "framework/graphics/NativeDisplay.h"
#include "framework/graphics/Rect.h"
#include "platform/ddraw/DirectDraw.h"

#include <atomic>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace Zelk {

class D3DInterface;
class D3DTester;
class DDImage;
class Image;
class MemoryImage;
class ZelkAppBase;

// Display results of DDInterface::Init.
enum DisplayResult {
    RESULT_OK = 0,
    RESULT_FAIL = 1,              // the clipper could not be made
    RESULT_DD_CREATE_FAIL = 2,    // no DirectDraw object
    RESULT_SURFACE_FAIL = 3,      // a primary, back buffer, draw or cursor surface could not be made
    RESULT_EXCLUSIVE_FAIL = 4,    // exclusive full screen was refused
    RESULT_DISPCHANGE_FAIL = 5,   // the display mode could not be set
    RESULT_INVALID_COLORDEPTH = 6,// the desktop is neither 16 nor 32 bits per pixel
    RESULT_3D_FAIL = 7,           // Direct3D could not start
};

// "RESULT_OK" ... "RESULT_INVALID_COLORDEPTH"; "RESULT_UNKNOWN" for any other.
std::string DisplayResultName(int result);

// Set whenever a surface is made: the desktop's masks run blue < green < red,
// so the surface blitters may take their fast forms.
extern bool gDisplayRGBOrder;

// The application's one display: the DirectDraw objects, the primary surface
// (the whole desktop when windowed, addressed in screen coordinates), the back
// buffer of full screen, the draw surface every frame is drawn into and the
// screen image wrapping it, the program-drawn cursor and its two 64 x 64
// areas, the additive saturation tables, the renderer and the 3D tester.
//
// Everything is guarded by the display lock (re-entrant). The main thread
// initialises, draws and presents; the cursor thread moves the cursor through
// SetCursorPosition, which reads the position and the in-redraw flag without
// the lock.
class DDInterface : public NativeDisplay {
public:
    explicit DDInterface(ZelkAppBase* app);
    ~DDInterface() override;

    // Builds the display for the window; a DisplayResult.
    virtual int Init(plat::WindowHandle window, bool windowed);
    void Cleanup();
    // Makes a surface in the desktop's format (under the display lock).
    int32_t CreateSurface(plat::DDSurfaceDesc& desc, plat::DDSurface** out);
    // For a failure code: the error text becomes "<context>: <name>"; true.
    bool CheckResult(int32_t result, const char* context);
    // Presents the draw surface; true when the presenting call succeeded.
    // Only the whole frame is presented (a rectangle is not used).
    virtual bool Redraw(const Rect* rect);
    DDImage* GetScreenImage() { return mScreenImage; }
    void RecreateScreenImage(bool inVideoMemory);
    // Shows the desktop's own surface in front of full screen (for a box).
    int32_t FlipToGDISurface();

    // The program-drawn cursor. The image is not owned: whoever deletes it
    // clears it here first.
    bool SetCursorImage(Image* image);
    void SetCursorPosition(int x, int y);

    void AddImage(DDImage* image);
    void RemoveImage(DDImage* image);
    void RemoveImageTextures(MemoryImage* image);
    // Runs the 3D test once in the display's life; true when it ran.
    bool DecideUse3D(plat::WindowHandle window);
    // The 3D choice after a test: what DecideUse3D sets.
    // choiceStored: the application has a stored 3D choice. Without one, a
    // test that ends with a warning leaves 3D off.
    static bool Use3DAfterTest(bool current, bool auto3D, const D3DTester& tester, bool choiceStored = true);
    bool m3DChoiceStored = false; // set by the application when it read a stored choice

    // Whether the image is the surface the renderer draws into.
    bool Is3DTarget(const DDImage* image) const;
    // The client area's origin on the primary ((0, 0) in full screen).
    void ClientOrigin(int& x, int& y) const;

    void ClearSurface(plat::DDSurface* surface);
    void DrawCursor(plat::DDSurface* surface, bool toScreen);
    void MoveCursor(plat::DDSurface* surface, bool toScreen, int x, int y);
    void RestoreCursorArea(plat::DDSurface* surface, bool toScreen);

    ZelkAppBase* mApp;
    D3DInterface* mD3DInterface;
    D3DTester* mD3DTester = nullptr;
    bool mIs3D = true;
    CriticalSection mCritSect; // the display lock
    std::atomic<bool> mInRedraw{false};
    plat::DirectDraw* mDD = nullptr;
    plat::DirectDraw* mDD7 = nullptr;
    plat::DDSurface* mPrimarySurface = nullptr;
    plat::DDSurface* mSecondarySurface = nullptr; // back buffer
    plat::DDSurface* mDrawSurface = nullptr;
    int mWidth = 0, mHeight = 0; // draw surface
    Ratio mAspect;
    int mDesktopWidth = 0, mDesktopHeight = 0;
    Ratio mDesktopAspect;
    bool mIsWidescreen = false; // presented stretched to another shape
    int mDisplayWidth = 0, mDisplayHeight = 0;
    Ratio mDisplayAspect;
    Rect mPresentationRect;
    int mFullscreenBits = 32;
    int32_t mRefreshRate = 60;
    int32_t mMillisecondsPerFrame = 16;
    int mScanLineFailCount = 0;
    std::vector<int> mRedAddTable, mGreenAddTable, mBlueAddTable;
    bool mInitialized = false;
    plat::WindowHandle mHWnd = 0;
    bool mIsWindowed = true;
    DDImage* mScreenImage = nullptr;
    std::set<DDImage*> mDDImageSet;
    bool mVideoOnlyDraw = false; // the screen image lives on the video-memory back buffer
    int mCursorWidth = 64, mCursorHeight = 64;
    std::atomic<int> mCursorX{0}, mCursorY{0};
    std::atomic<int> mCursorDrawnX{0}, mCursorDrawnY{0};
    Image* mCursorImage = nullptr;
    bool mHasOldCursorArea = false; // the cursor is on the primary, its background saved
    plat::DDSurface* mOldCursorArea = nullptr;
    plat::DDSurface* mNewCursorArea = nullptr;
    DDImage* mOldCursorAreaImage = nullptr;
    DDImage* mNewCursorAreaImage = nullptr;
    std::string mErrorText;

    // The 3D test's verdict, read when the application asks about hardware
    // acceleration: it ran and gave neither a failure reason nor a warning;
    // it gave another result than a run before it.
    bool Tester3DClean() const;
    bool TesterNewResult() const;

private:
    int InitWindowed();
    int InitFullScreen();
    int CreateDrawSurfaceAndClipper(const char* surfaceContext, const char* clipperContext);
    int32_t SplitPresent(const plat::DDRect& dest, const plat::DDRect& src, plat::DDBltFx& fx);
    // The cursor area at a cursor position, clipped to `bounds`; its offset
    // inside the 64 x 64 area; moved to screen coordinates when asked.
    struct CursorRect {
        plat::DDRect onSurface;
        plat::DDRect inArea;
    };
    CursorRect CursorRectAt(int x, int y, const Rect& bounds, bool toScreen) const;
    bool SaveUnderCursor(plat::DDSurface* surface, plat::DDSurface* area, CursorRect& r);
    void DrawCursorInto(DDImage* areaImage, int x, int y);
    void PrepareCursorImage();
};

} // namespace Zelk
