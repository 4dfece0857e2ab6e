#pragma once
#include "framework/fonts/TextSurface.h"
#include "framework/graphics/MemoryImage.h"
#include "platform/ddraw/DirectDraw.h"

namespace Zelk {

class DDInterface;

// A memory image whose pixels may also live on a surface of the display, in
// the display's own pixel format.
//
// The surface is made from the memory copy on first use; after drawing on the
// surface the memory copies are dropped (the surface then holds the only
// pixels), and they are read back from the surface when someone needs them.
// Each drawing operation picks the renderer (when the image is the display's
// 3D drawing target), a DirectDraw blit, the software routines on the locked
// surface, or the memory image's own routine.
//
// Locks nest: the widget manager keeps the screen image locked for a whole
// frame while the drawing routines lock and unlock it again.
//
// An image with semi-transparent pixels never gets a surface. A lost surface
// is not restored here: it is remade only after it has been released.
class DDImage : public MemoryImage, public TextSurface {
public:
    explicit DDImage(DDInterface* display);
    ~DDImage() override;

    // ---- drawing (the choice of path: DDImageDispatch.cpp) ----
    bool FillPolygon(const Point* vertices, int numVertices, const Rect* clip, const Color& color, int drawMode,
                     int tx, int ty) override;
    void FillRect(const Rect& rect, const Color& color, int drawMode) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override;
    void DrawAntiAliasedLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override;
    void FillCoverageSpans(const Span* spans, int count, const Color& color, int drawMode, const uint8_t* coverage,
                           int coverX, int coverY, int coverWidth, int coverHeight) override;
    void Blit(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;
    void BlitFloat(Image* src, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                   int drawMode) override;
    void BlitRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                     int drawMode, double angle, float centerX, float centerY) override;
    void BlitStretched(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip, const Color& color,
                       int drawMode, bool fastStretch) override;
    void BlitMatrix(Image* src, float x, float y, const Matrix3& matrix, const Rect& clip, const Color& color,
                    int drawMode, const Rect& srcRect, bool smooth) override;
    void BlitTriangles(Image* src, const TriVertex (*vertices)[3], int numTriangles, const Rect& clip,
                       const Color& color, int drawMode, float tx, float ty, bool smooth) override;
    void BlitMirrored(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;
    void BlitStretchedMirrored(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                               const Color& color, int drawMode, bool fastStretch) override;

    // ---- the two copies of the pixels (DDImage.cpp) ----
    void DiscardBits() override;
    void FreeExtraBuffers() override;
    void ReapplyReductions() override;
    void MarkBitsChanged() override;
    void AnalyzeBits() override;
    void FreeNativeData() override;
    // Keeps the transparency flags as they were: a new surface image stays opaque.
    void Create(int width, int height) override;
    // The memory copy, read back from the surface when it is the only copy.
    // Pixels of the surface's colour key come back transparent.
    uint32_t* GetBits() override;
    bool Palettize() override;

    virtual void SetSurfaceInVideoMemory(bool inVideoMemory);
    virtual void ApplySurfaceColorKey();

    // ---- software drawing on the locked surface (DDImageDraw.cpp) ----
    // No clipping: the rectangles lie inside the image. Each returns false
    // when it drew nothing because the surface could not be made or locked,
    // or is in a format these routines do not draw on.
    virtual bool FillRectNormal(const Rect& rect, const Color& color);
    virtual bool FillRectAdditive(const Rect& rect, const Color& color);
    virtual bool BlitNormal(Image* src, int x, int y, const Rect& srcRect, const Color& color);
    virtual bool BlitAdditive(Image* src, int x, int y, const Rect& srcRect, const Color& color);
    // Lines stay inside the surface.
    virtual bool DrawLineNormal(double x1, double y1, double x2, double y2, const Color& color);
    virtual bool DrawLineAdditive(double x1, double y1, double x2, double y2, const Color& color);
    virtual bool DrawAntiAliasedLineNormal(double x1, double y1, double x2, double y2, const Color& color);
    virtual bool DrawAntiAliasedLineAdditive(double x1, double y1, double x2, double y2, const Color& color);
    virtual bool BlitMirroredNormal(Image* src, int x, int y, const Rect& srcRect, const Color& color);
    virtual bool BlitMirroredAdditive(Image* src, int x, int y, const Rect& srcRect, const Color& color);
    bool FillCoverage(const Span* spans, int count, const Color& color, const uint8_t* coverage, int coverX,
                      int coverY, int coverWidth, int coverHeight);
    // ---- transformed software blits (DDImageTransform.cpp) ----
    bool BlitRotatedOnSurface(MemoryImage* src, float x, float y, const Rect& srcRect, const Color& color,
                              int drawMode, double angle, float centerX, float centerY, const DoubleRect& bounds);
    bool BlitStretchedOnSurface(MemoryImage* src, const Rect& dest, const DoubleRect& srcRect, const Color& color,
                                int drawMode, bool mirrored);

    virtual bool LockSurface();
    virtual bool UnlockSurface();
    // Adopts a surface of the display (screen image, cursor areas); the
    // image takes its size from it.
    virtual void SetSurface(plat::DDSurface* surface);

    bool CreateSurfaceFromBits();
    plat::DDSurface* GetSurface();
    void ReleaseSurface();
    void DropMemoryCopies() override;

    // ---- system-font text drawn straight onto the surface (DDImageText.cpp) ----
    bool EnsureTextSurface() override;
    int TextSurfaceLockCount() override { return mLockCount; }
    void SuspendSurfaceLock() override;
    bool ResumeSurfaceLock() override;
    void ResetSurfaceLock() override;
    void EndRendererScene() override;
    bool GetTextDC(plat::TextTarget& target) override;
    void ReleaseTextDC() override;
    // The display goes away: keep the pixels in memory and forget it.
    void DetachFromDisplay();
    bool Is3DTarget() const;

    DDInterface* mDDInterface;
    plat::DDSurface* mSurface = nullptr;
    bool mExternalSurface = false; // handed in by SetSurface
    bool mSurfaceOnly = false;     // the CPU never reads or writes the surface
    bool mInVideoMemory = false;
    bool mSurfaceWanted = false;
    int mLockCount = 0;
    plat::DDSurfaceDesc mLockDesc;

private:
    // The common start of the stretched blits: the renderer draws for the 3D
    // target (false), else the clipped source and destination; false when
    // nothing is visible.
    bool BeginStretch(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip, const Color& color,
                      int drawMode, bool fastStretch, bool mirrored, MemoryImage*& source, Rect& sr, Rect& dest,
                      DoubleRect& from);
    // The line dispatchers' choice: true when the line was drawn (or draws
    // nothing), false when the memory image is to draw it.
    bool LineOnSurface(double x1, double y1, double x2, double y2, const Color& color, int drawMode, bool antiAliased);
    // Drops the surface reference without reading it back.
    void DropSurface();
    // Rebuilds mBits from the colour table or full-size native bits.
    void RebuildBitsFromDerivedForms();
};

} // namespace Zelk
