#include "framework/app/DeveloperToolsConnection.h"
#include "framework/app/DebugToolHooks.h"
#include "framework/app/ImageDump.h"
#include "framework/app/ModValRegistry.h"
#include "framework/app/Profiler.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/TextureData.h"
#include "framework/resources/ImageLib.h"

#include <algorithm>
#include <cstring>

namespace Zelk {

namespace {

using ImageWriter = bool (*)(const std::string& path, const ImageLib::Image* image);

bool WritePixels(ImageWriter writer, const std::string& path, int width, int height, const uint32_t* pixels)
{
    ImageLib::Image image;
    if (!pixels || !image.Create(width, height))
        return false;
    std::memcpy(image.GetBits(), pixels, size_t(width) * size_t(height) * sizeof(uint32_t));
    return writer(path, &image);
}

// The frame being drawn, read back from the display's draw surface. The
// display forgets its surface meanwhile, so the reading image is not taken
// for the renderer's target and locks the surface itself. The caller holds
// the display lock.
bool CaptureDrawSurface(ZelkAppBase& app, int& width, int& height, std::vector<uint32_t>& pixels)
{
    DDInterface* display = app.mDDInterface.load();
    if (!display || !display->mDrawSurface)
        return false;
    CritSectGuard guard(display->mCritSect);
    plat::DDSurface* drawSurface = display->mDrawSurface;
    bool read = false;
    {
        DDImage capture(display);
        display->mDrawSurface = nullptr;
        capture.SetSurface(drawSurface);
        const uint32_t* bits = capture.GetBits();
        if (bits && capture.mWidth > 0 && capture.mHeight > 0) {
            width = capture.mWidth;
            height = capture.mHeight;
            pixels.assign(bits, bits + size_t(width) * size_t(height));
            read = true;
        }
        capture.ReleaseSurface();
        display->mDrawSurface = drawSurface;
    }
    return read;
}

// Every image in the application's set as the dump describes it. The
// pictures are taken later from a copy of the image, which leaves the
// image's own forms as they were.
void ListMemoryImages(ZelkAppBase& app, std::vector<ImageDumpEntry>& images)
{
    for (MemoryImage* image : app.mMemoryImageSet) {
        ImageDumpEntry e;
        e.width = image->mWidth;
        e.height = image->mHeight;
        e.hasBits = image->mBits != nullptr;
        const DDImage* surfaceImage = dynamic_cast<const DDImage*>(image);
        e.hasSurface = surfaceImage && surfaceImage->mSurface;
        e.hasPalette = image->mColorTable != nullptr && image->mColorIndices != nullptr;
        e.hasNativeData = image->mNativeBits != nullptr;
        e.hasRLAlpha = image->mAlphaRunLengths != nullptr;
        e.hasRLAdditive = image->mAdditiveRunLengths != nullptr;
        if (const auto* texture = static_cast<const TextureData*>(image->mTextureData)) {
            e.hasTexture = true;
            e.textureBytes = texture->mTexMemSize;
            e.textureFormat = texture->mPixelFormat;
        }
        e.isVolatile = image->mVolatile;
        e.forced = image->mAlphaKindForced;
        e.hasAlpha = image->mHasAlpha;
        e.hasTrans = image->mHasTransparency;
        e.filePath = image->mFilePath;
        e.pixels = [image] {
            std::vector<uint32_t> pixels;
            MemoryImage copy(*image);
            if (const uint32_t* bits = copy.GetBits())
                pixels.assign(bits, bits + copy.PixelCount());
            return pixels;
        };
        images.push_back(std::move(e));
    }
}

// A hook put in place before (by a test, or a program of its own) stays.
template <class Hook, class Piece> void Connect(Hook& hook, Piece piece)
{
    if (!hook)
        hook = piece;
}

} // namespace

void ConnectDeveloperTools(DebugToolHooks& hooks)
{
    Connect(hooks.reloadTunables, [] { return ModValRegistry::Get().ReloadAll(); });
    Connect(hooks.profilerRunning, [] { return Profiler::Get().IsRunning(); });
    Connect(hooks.profilerStart, [] { Profiler::Get().Start(false); });
    Connect(hooks.profilerStop, [] { Profiler::Get().Stop(); });
    Connect(hooks.profilerReport, [] { return Profiler::Get().GetReport(); });
    Connect(hooks.set3DMode, [](ZelkAppBase& app, bool want3D) { app.Set3DMode(want3D, true); });
    Connect(hooks.captureScreen, CaptureDrawSurface);
    Connect(hooks.writePng, [](const std::string& path, int width, int height, const uint32_t* pixels) {
        return WritePixels(ImageLib::WritePngImage, path, width, height, pixels);
    });
    Connect(hooks.writeJpeg, [](const std::string& path, int width, int height, const uint32_t* pixels) {
        return WritePixels(ImageLib::WriteJpegImage, path, width, height, pixels);
    });
    Connect(hooks.listImages, ListMemoryImages);
}

} // namespace Zelk
