#pragma once
// The Direct3D renderer: draws the framework's images, fills, lines and
// polygons onto the display's draw surface with the 3D device, from textures
// cut out of memory images (see TextureData). The display owns it, initialises
// it at the end of its own initialisation and releases it at its cleanup.
#include "framework/app/CriticalSection.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Matrix3.h"
#include "framework/graphics/Point.h"
#include "framework/graphics/Rect.h"
#include "platform/d3d/Direct3D.h"
#include "platform/window/WindowSystem.h"

#include <cstdint>
#include <set>
#include <string>

namespace Zelk {

class DDInterface;
class Image;
class MemoryImage;
class TextureData;

// The text of the last failed 3D call ("context: NAME"); a non-empty text
// makes the display's next present switch it to 2D.
extern std::string gLast3DError;
// The texture formats the device offers (PixelFormatCode bits).
extern int& gSupportedTextureFormats;
// The device's texture limits; 64, 64, 64, 64 and 1 before any device.
extern int gMinTextureWidth, gMinTextureHeight, gMaxTextureWidth, gMaxTextureHeight, gMaxTextureAspectRatio;
// The piece size chosen for every image dimension 0..1023 (built on first use).
extern int gTexturePieceSizes[1024];
// The texture filter set on the device (false: point).
extern bool gLinearFilter;
// The draw surface could not be made the render target (cleared when it could).
extern bool gDeviceLost;

// For a failure code: gLast3DError = context + ": " + the code's name, the same
// text in the settings value "Test3D\RuntimeError", and true. False otherwise.
bool CheckD3DResult(int32_t result, const std::string& context);
// Stage 0 filtering, set only when it differs from gLinearFilter.
void SetLinearFilter(plat::D3DDevice* device, bool linear);
// The device's pixel format of a texture format code (PixelFormatCode).
plat::DDPixelFormat TexturePixelFormat(int code);
// Texture-format enumeration: ORs the code of each offered format into the
// int the context points at, or into gSupportedTextureFormats without one.
int EnumTextureFormatCodes(const plat::DDPixelFormat* format, void* context);

class D3DInterface {
public:
    D3DInterface();
    virtual ~D3DInterface();

    // ---- device and states ----
    bool Init(DDInterface* display);
    bool CreateDevice();
    void Cleanup();
    // Opens the scene when needed; false means: draw nothing.
    bool BeginDraw();
    void EndScene();
    void SetBlendMode(int drawMode);

    // ---- textures ----
    // Makes sure the image's textures exist and hold its pixels; false when
    // no usable textures could be made.
    bool PrepareTextures(MemoryImage* image);
    void RemoveImageTextures(MemoryImage* image);
    // Copies the textures back into the pixels (width x height words); false
    // when the image has no textures that match its change count.
    bool ReadBackTextures(MemoryImage* image, uint32_t* bits);

    // ---- drawing ----
    // Each opens the scene first and draws nothing when it cannot. The source
    // of a blit is a memory image (any other image draws nothing) and its
    // source rectangle must lie inside it. Virtual so that a display can be
    // tested with a renderer that records.
    virtual void Blt(Image* image, float x, float y, const Rect& srcRect, const Color& color, int drawMode,
                     bool linear);
    virtual void BltTranslated(Image* image, float x, float y, const Rect& srcRect, const Rect& clip,
                               const Color& color, int drawMode);
    virtual void BltMirrored(Image* image, float x, float y, const Rect& srcRect, const Color& color, int drawMode,
                             bool linear);
    virtual void BltStretched(Image* image, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                              const Color& color, int drawMode, bool nearest, bool mirror);
    virtual void BltRotated(Image* image, float x, float y, const Rect& clip, const Color& color, int drawMode,
                            double angle, float centerX, float centerY, const Rect& srcRect);
    virtual void BltTransformed(Image* image, const Rect* clip, const Color& color, int drawMode, const Rect& srcRect,
                                const Matrix3& matrix, bool linear, float x, float y, bool center);
    virtual void BltTriangles(const TriVertex (*vertices)[3], int numTriangles, const Color& color, int drawMode,
                              Image* image, float tx, float ty, bool linear);
    virtual void FillRect(const Rect& rect, const Color& color, int drawMode);
    virtual void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode);
    virtual void FillPolygon(const Point* vertices, int numVertices, const Rect* clip, const Color& color,
                             int drawMode, int tx, int ty);

    plat::WindowHandle mHWnd = 0;
    plat::DirectDraw* mDD = nullptr;           // the display's; not owned
    plat::DDSurface* mDDSDrawSurface = nullptr; // a reference of our own
    plat::Direct3D* mD3D = nullptr;
    plat::D3DDevice* mD3DDevice = nullptr;
    plat::D3DViewport mD3DViewport;
    bool mSceneOpen = false; // BeginScene has run and EndScene has not
    std::set<MemoryImage*> mImageSet; // every image holding a texture record

private:
    // The display lock, or a lock of our own before any display.
    CriticalSection& Lock();
    // Opens the scene, prepares the image's textures and sets the blending
    // and filter; the texture record, or null when nothing is to be drawn.
    TextureData* PrepareSource(Image* image, const Rect& srcRect, int drawMode, bool linear);
    DDInterface* mDDInterface = nullptr;
    CriticalSection mOwnLock;
};

} // namespace Zelk
