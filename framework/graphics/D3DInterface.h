#pragma once
// The Direct3D renderer, as far as the display and the surface images use it:
// the display owns one and starts and releases it with itself; a surface image
// that is the display's 3D drawing target hands its drawing to it.
//
// This build has no Direct3D device yet: Init reports that 3D cannot start
// (the display then stays in 2D) and the drawing operations draw nothing.
#include "framework/graphics/Color.h"
#include "framework/graphics/Matrix3.h"
#include "framework/graphics/Point.h"
#include "framework/graphics/Rect.h"

#include <string>

namespace Zelk {

class DDInterface;
class Image;
class MemoryImage;

// The text of the last failed Direct3D call; empty when none failed.
extern std::string gLast3DError;
// The draw surface could not be made the render target.
extern bool gDeviceLost;

class D3DInterface {
public:
    D3DInterface();
    virtual ~D3DInterface();

    // Starts the renderer on the display's draw surface; false (with the
    // reason in gLast3DError) when it cannot.
    bool Init(DDInterface* display);
    // Ends an open scene and releases the device and every texture.
    void Cleanup();
    // Closes an open scene.
    void EndScene();
    // Drops the textures the renderer keeps for the image.
    void RemoveImageTextures(MemoryImage* image);

    // The drawing operations of a surface image that is the 3D target.
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

    // BeginScene has run and EndScene has not.
    bool mSceneOpen = false;
};

} // namespace Zelk
