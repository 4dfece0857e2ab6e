#pragma once
// The 3D capability test: whether this machine can draw the framework's 2D
// through the 3D device. It identifies the adapter and checks it against the
// allow and deny lists (vhw.dat, vhwb.dat in the game folder), checks the
// video memory and the texture formats, and renders five small blend and
// clipping tests into a render target of its own, reading the pixels back.
// The outcome is two texts: a failure reason (3D must not be used) and a
// warning (3D works but is not chosen automatically).
#include "framework/graphics/D3DTestImage.h"
#include "platform/d3d/Direct3D.h"
#include "platform/window/WindowSystem.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

namespace Zelk {

// The test found A8R8G8B8 textures and uploads its images in that format
// (else A4R4G4B4).
extern bool gTestUsesA8R8G8B8;

class D3DTester {
public:
    // Thrown by every failed call inside the test: "DXError - context: NAME".
    class TestException : public std::exception {
    public:
        explicit TestException(std::string message) : mMessage(std::move(message)) {}
        const char* what() const noexcept override { return mMessage.c_str(); }
        std::string mMessage;
    };

    D3DTester();
    virtual ~D3DTester();
    D3DTester(const D3DTester&) = delete;
    D3DTester& operator=(const D3DTester&) = delete;

    // The whole test and its recording; the display runs it once.
    void RunAndRecord(plat::WindowHandle window, plat::DirectDraw* directDraw);
    // Set-up and the checks before rendering; true when the rendered tests can follow.
    bool Test(plat::WindowHandle window, plat::DirectDraw* directDraw);
    // Alpha, additive, alpha-add, alpha-modulated and clipping, in this order;
    // stops at the first that fails.
    bool RunBlendTests();
    void Cleanup();
    bool IsAdapterSupported(const std::string& description);
    bool ReadCachedResult();
    void WriteCachedResult();

    // The render target into the read-back image; false (with the failure
    // reason set) for a depth other than 16 or 32 bits.
    bool CopyRenderTarget();
    // The check of a blend test on the top-left 10 x 10 read-back pixels: a
    // pixel further than the distance limit from the expected colour fails
    // the test with the failure text; an all-close block that is not uniform
    // gives the warning and passes.
    bool CheckBlendResult(uint32_t expected, const char* failure, const char* warning);

    plat::DirectDraw* mDD = nullptr;
    plat::DDSurface* mPrimarySurface = nullptr; // the 100 x 100 render target
    plat::DDSurface* mTextureSurface = nullptr;
    plat::DDSurface* mTextureSurface2 = nullptr;
    plat::Direct3D* mD3D = nullptr;
    plat::D3DDevice* mD3DDevice = nullptr;
    bool mRegKeyOpen = false; // the cache's settings key (never opened in this system)
    uint8_t mDisplayGUID[16] = {};
    std::string mDriver;
    std::string mDescription;
    D3DTestImage mTestImage;
    std::string mFailureReason;
    std::string mWarning;
    int mMinVidMemory = 0;
    int mRecommendedVidMemory = 0;
    bool mCheckRegistry = false; // the cache option
    bool mWriteToRegistry = false;
    bool mResultChanged = false; // the result is not the one the cache held
    int mDriverYear = 0;

private:
    struct BlendTest;
    bool RunBlendTest(const BlendTest& test);
    bool RunClipTest();
    void BeginTestScene(uint32_t srcBlend, const char* srcContext, uint32_t destBlend, const char* destContext,
                        bool alphaModulate);
    // One rendered test: a scene with the blend, the drawing into a 64 x 64
    // test image, then the copy of the render target. False, with the
    // failure reason, when a call failed or the copy could not be made.
    bool RenderTest(uint32_t srcBlend, const char* srcContext, uint32_t destBlend, const char* destContext,
                    bool alphaModulate, const std::function<void(D3DTestImage&)>& draw);
    // Draws the image tile by tile through texture 1.
    void DrawTestImage(const D3DTestImage& image, int x, int y, uint32_t vertexColor);
};

// For a failure code throws D3DTester::TestException.
void CheckDXResult(int32_t result, const std::string& context);

} // namespace Zelk
