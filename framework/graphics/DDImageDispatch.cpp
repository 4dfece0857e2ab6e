// The drawing operations of surface images: each picks the renderer (when the
// image is the display's 3D drawing target), a DirectDraw blit, a software
// routine on the locked surface, or the memory image's own routine.
//
// After a software routine has drawn on the surface, the surface holds the
// only pixels and the memory copies are dropped. A routine that could not
// make or lock the surface has drawn nothing: the memory copies stay, and the
// drawing goes to the memory image's routine instead.
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/LineWalk.h"
#include "framework/graphics/RotateGeometry.h"
#include "framework/graphics/StretchMapping.h"
#include "framework/graphics/TriangleRasterizer.h"

#include <algorithm>
#include <vector>

namespace Zelk {

namespace {

bool IsOpaque(const MemoryImage* image) { return !image->mHasTransparency && !image->mHasAlpha; }

} // namespace

// ---- helpers of this file ----

namespace {

// The display's renderer; null without a display.
D3DInterface* Renderer(const DDImage* image)
{
    return image->mDDInterface ? image->mDDInterface->mD3DInterface : nullptr;
}

bool DisplayIn3D(const DDImage* image) { return image->mDDInterface && image->mDDInterface->mIs3D; }

// A DirectDraw blit of another surface image's surface onto this image's
// surface, around the nested lock; true when the Blt succeeded.
bool SurfaceBlt(DDImage* dest, DDImage* src, const plat::DDRect& to, const plat::DDRect& from)
{
    plat::DDSurface* surface = dest->mSurface;
    if (!surface || !src->mSurface)
        return false;
    if (dest->mLockCount > 0)
        surface->Unlock();
    const plat::DDBltFx fx;
    const int32_t result = surface->Blt(&to, src->mSurface, &from,
                                        plat::DDBLT_WAIT | (src->mHasTransparency ? uint32_t(plat::DDBLT_KEYSRC) : 0u), &fx);
    if (dest->mLockCount > 0)
        surface->Lock(nullptr, dest->mLockDesc, plat::DDLOCK_WAIT);
    return result >= 0;
}

// The source and the part of a stretched blit inside the clip and both
// images (mirrored: the source counts from its right side); false when
// nothing of it is visible.
bool ClipStretch(DDImage* dest, Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip, bool mirrored,
                 MemoryImage*& source, Rect& sr, Rect& to, DoubleRect& from)
{
    source = dynamic_cast<MemoryImage*>(src);
    if (!source)
        return false;
    source->mDrawn = true;
    sr = srcRect.Intersection(Rect(0, 0, source->mWidth, source->mHeight));
    return StretchSourceRect(destRect, sr, clip.Intersection(Rect(0, 0, dest->mWidth, dest->mHeight)), mirrored, to,
                             from);
}

} // namespace

bool DDImage::FillPolygon(const Point* vertices, int numVertices, const Rect* clip, const Color& color,
                          int drawMode, int tx, int ty)
{
    if (!Is3DTarget())
        return false;
    Renderer(this)->FillPolygon(vertices, numVertices, clip, color, drawMode, tx, ty);
    return true;
}

void DDImage::FillRect(const Rect& rect, const Color& color, int drawMode)
{
    if (Is3DTarget()) {
        Renderer(this)->FillRect(rect, color, drawMode);
        return;
    }
    AnalyzeBits();
    if (IsOpaque(this) && !DisplayIn3D(this)) {
        if (drawMode != DRAWMODE_NORMAL && drawMode != DRAWMODE_ADDITIVE)
            return;
        const bool drew = drawMode == DRAWMODE_NORMAL ? FillRectNormal(rect, color) : FillRectAdditive(rect, color);
        if (drew) {
            DropMemoryCopies();
            return;
        }
    }
    MemoryImage::FillRect(rect, color, drawMode);
}

bool DDImage::LineOnSurface(double x1, double y1, double x2, double y2, const Color& color, int drawMode,
                            bool antiAliased)
{
    if (Is3DTarget()) {
        Renderer(this)->DrawLine(x1, y1, x2, y2, color, drawMode);
        return true;
    }
    AnalyzeBits();
    if (!IsOpaque(this) || DisplayIn3D(this))
        return false;
    if (LineWalk::LineAsFill(this, x1, y1, x2, y2, color, drawMode))
        return true;
    // Other modes, and the additive anti-aliased line, draw nothing.
    if (drawMode != DRAWMODE_NORMAL && (antiAliased || drawMode != DRAWMODE_ADDITIVE))
        return true;
    bool drew;
    if (antiAliased)
        drew = DrawAntiAliasedLineNormal(x1, y1, x2, y2, color);
    else
        drew = drawMode == DRAWMODE_NORMAL ? DrawLineNormal(x1, y1, x2, y2, color)
                                           : DrawLineAdditive(x1, y1, x2, y2, color);
    if (drew)
        DropMemoryCopies();
    return drew;
}

void DDImage::DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (!LineOnSurface(x1, y1, x2, y2, color, drawMode, false))
        MemoryImage::DrawLine(x1, y1, x2, y2, color, drawMode);
}

void DDImage::DrawAntiAliasedLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    if (!LineOnSurface(x1, y1, x2, y2, color, drawMode, true))
        MemoryImage::DrawAntiAliasedLine(x1, y1, x2, y2, color, drawMode);
}

void DDImage::FillCoverageSpans(const Span* spans, int count, const Color& color, int drawMode,
                                const uint8_t* coverage, int coverX, int coverY, int coverWidth, int coverHeight)
{
    if (!Is3DTarget()) {
        if (FillCoverage(spans, count, color, coverage, coverX, coverY, coverWidth, coverHeight))
            DropMemoryCopies();
        else if (count > 0)
            MemoryImage::FillCoverageSpans(spans, count, color, drawMode, coverage, coverX, coverY, coverWidth,
                                           coverHeight);
        return;
    }
    if (count <= 0)
        return;
    // The renderer has no coverage fill: fill a temporary image the size of
    // the spans' box and blit it. The caller's spans stay as they are.
    int left = spans[0].mX, top = spans[0].mY, right = spans[0].mX + spans[0].mWidth - 1, bottom = spans[0].mY;
    for (int i = 1; i < count; ++i) {
        left = std::min(left, spans[i].mX);
        top = std::min(top, spans[i].mY);
        bottom = std::max(bottom, spans[i].mY);
        right = std::max(right, spans[i].mX + spans[i].mWidth - 1);
    }
    std::vector<Span> shifted(spans, spans + count);
    for (Span& s : shifted) {
        s.mX -= left;
        s.mY -= top;
    }
    const int width = right - left + 1, height = bottom - top + 1;
    MemoryImage temp(mApp);
    temp.Create(width, height);
    temp.MemoryImage::FillCoverageSpans(shifted.data(), count, color, drawMode, coverage, coverX - left,
                                        coverY - top, coverWidth, coverHeight);
    Blit(&temp, left, top, Rect(0, 0, width, height), Color::White, drawMode);
}

void DDImage::Blit(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    if (Is3DTarget()) {
        DDImage* surfaceSource = dynamic_cast<DDImage*>(src);
        if (surfaceSource && surfaceSource->mSurface && drawMode == DRAWMODE_NORMAL && color == Color::White &&
            !surfaceSource->mHasAlpha) {
            surfaceSource->mDrawn = true;
            SurfaceBlt(this, surfaceSource, plat::DDRect{x, y, x + srcRect.mWidth, y + srcRect.mHeight},
                       plat::DDRect{srcRect.mX, srcRect.mY, srcRect.mX + srcRect.mWidth, srcRect.mY + srcRect.mHeight});
        } else {
            BlitSource(src);
            Renderer(this)->Blt(src, float(x), float(y), srcRect, color, drawMode, false);
        }
        return;
    }
    AnalyzeBits();
    const bool cursorArea =
        mDDInterface && (this == mDDInterface->mOldCursorAreaImage || this == mDDInterface->mNewCursorAreaImage);
    if (IsOpaque(this) && (!DisplayIn3D(this) || cursorArea)) {
        if (drawMode != DRAWMODE_NORMAL && drawMode != DRAWMODE_ADDITIVE)
            return;
        const bool drew = drawMode == DRAWMODE_NORMAL ? BlitNormal(src, x, y, srcRect, color)
                                                      : BlitAdditive(src, x, y, srcRect, color);
        if (drew) {
            DropMemoryCopies();
            return;
        }
    }
    MemoryImage::Blit(src, x, y, srcRect, color, drawMode);
}

void DDImage::BlitFloat(Image* src, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                        int drawMode)
{
    if (!Is3DTarget()) {
        BlitRotated(src, x, y, srcRect, clip, color, drawMode, 0.0, 0.0f, 0.0f);
        return;
    }
    BlitSource(src);
    const DoubleRect dest(x, y, srcRect.mWidth, srcRect.mHeight);
    const DoubleRect part = dest.Intersection(DoubleRect(clip));
    if (part.mWidth == dest.mWidth && part.mHeight == dest.mHeight)
        Renderer(this)->Blt(src, x, y, srcRect, color, drawMode, true);
    else if (part.mWidth != 0 && part.mHeight != 0)
        Renderer(this)->BltTranslated(src, x, y, srcRect, clip, color, drawMode);
}

void DDImage::BlitRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                          int drawMode, double angle, float centerX, float centerY)
{
    if (Is3DTarget()) {
        BlitSource(src);
        Renderer(this)->BltRotated(src, x, y, clip, color, drawMode, angle, centerX, centerY, srcRect);
        return;
    }
    AnalyzeBits();
    if (IsOpaque(this) && !DisplayIn3D(this)) {
        MemoryImage* source = BlitSource(src);
        if (!source)
            return;
        const Rect sr = srcRect.Intersection(Rect(0, 0, source->mWidth, source->mHeight));
        const DoubleRect bounds = RotateGeometry::RotatedBlitBounds(x, y, sr, clip.Intersection(Rect(0, 0, mWidth, mHeight)),
                                                                   angle, centerX, centerY);
        if (bounds.mWidth <= 0 || bounds.mHeight <= 0)
            return;
        if (BlitRotatedOnSurface(source, x, y, sr, color, drawMode, angle, centerX, centerY, bounds)) {
            DropMemoryCopies();
            return;
        }
    }
    MemoryImage::BlitRotated(src, x, y, srcRect, clip, color, drawMode, angle, centerX, centerY);
}

bool DDImage::BeginStretch(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip, const Color& color,
                           int drawMode, bool fastStretch, bool mirrored, MemoryImage*& source, Rect& sr, Rect& dest,
                           DoubleRect& from)
{
    if (Is3DTarget()) {
        BlitSource(src);
        Renderer(this)->BltStretched(src, destRect, srcRect, clip, color, drawMode, fastStretch, mirrored);
        return false;
    }
    AnalyzeBits();
    return ClipStretch(this, src, destRect, srcRect, clip, mirrored, source, sr, dest, from);
}

void DDImage::BlitStretched(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                            const Color& color, int drawMode, bool fastStretch)
{
    MemoryImage* source;
    Rect sr, dest;
    DoubleRect from;
    if (!BeginStretch(src, destRect, srcRect, clip, color, drawMode, fastStretch, false, source, sr, dest, from))
        return;

    if (fastStretch) {
        source->AnalyzeBits();
        DDImage* surfaceSource = dynamic_cast<DDImage*>(source);
        if (surfaceSource && color == Color::White && drawMode == DRAWMODE_NORMAL && !surfaceSource->mHasAlpha &&
            surfaceSource->GetSurface() && GetSurface()) {
            const plat::DDRect to{dest.mX, dest.mY, dest.mX + dest.mWidth, dest.mY + dest.mHeight};
            const plat::DDRect fromRect{int(from.mX), int(from.mY), int(from.mX + from.mWidth),
                                        int(from.mY + from.mHeight)};
            // The surface changed: the memory copies are stale, whatever the relock did.
            if (SurfaceBlt(this, surfaceSource, to, fromRect)) {
                DropMemoryCopies();
                return;
            }
        } else if (BlitStretchedOnSurface(source, dest, from, color, drawMode, false)) {
            DropMemoryCopies();
            return;
        }
        MemoryImage::BlitStretched(src, destRect, srcRect, clip, color, drawMode, true);
        return;
    }
    if (IsOpaque(this) && !DisplayIn3D(this)) {
        // Smoothing has no form on the surface: stretch into a temporary image
        // of the visible part and blit that.
        MemoryImage temp(mApp);
        temp.Create(dest.mWidth, dest.mHeight);
        temp.MemoryImage::BlitStretched(
            source, Rect(destRect.mX - dest.mX, destRect.mY - dest.mY, destRect.mWidth, destRect.mHeight), sr,
            Rect(0, 0, dest.mWidth, dest.mHeight), color, DRAWMODE_NORMAL, false);
        Blit(&temp, dest.mX, dest.mY, Rect(0, 0, dest.mWidth, dest.mHeight), Color::White, drawMode);
        return;
    }
    MemoryImage::BlitStretched(src, destRect, srcRect, clip, color, drawMode, false);
}

namespace {

// The rasteriser's code for the surface format; 0 when it has none.
int TriangleFormatCode(const plat::DDSurfaceDesc& desc)
{
    const plat::DDPixelFormat& f = desc.pixelFormat;
    if (f.rgbBitCount == 32)
        return TRIFORMAT_0888;
    if (f.rgbBitCount == 16 && f.rBitMask == 0xF800 && f.gBitMask == 0x07E0 && f.bBitMask == 0x001F)
        return TRIFORMAT_0565;
    if (f.rgbBitCount == 16 && f.rBitMask == 0x7C00 && f.gBitMask == 0x03E0 && f.bBitMask == 0x001F)
        return TRIFORMAT_0555;
    return 0;
}

} // namespace

void DDImage::BlitMatrix(Image* src, float x, float y, const Matrix3& matrix, const Rect& clip, const Color& color,
                         int drawMode, const Rect& srcRect, bool smooth)
{
    if (Is3DTarget()) {
        BlitSource(src);
        Renderer(this)->BltTransformed(src, &clip, color, drawMode, srcRect, matrix, smooth, x, y, true);
        return;
    }
    MemoryImage* source = BlitSource(src);
    if (!source || !LockSurface())
        return;
    if (const int format = TriangleFormatCode(mLockDesc))
        RasterizeMatrixBlit(source, x, y, matrix, clip.Intersection(Rect(0, 0, mWidth, mHeight)), color, srcRect,
                            smooth, mLockDesc.surface, mLockDesc.pitch, format);
    UnlockSurface();
    DropMemoryCopies();
}

void DDImage::BlitTriangles(Image* src, const TriVertex (*vertices)[3], int numTriangles, const Rect& clip,
                            const Color& color, int drawMode, float tx, float ty, bool smooth)
{
    if (Is3DTarget()) {
        BlitSource(src);
        Renderer(this)->BltTriangles(vertices, numTriangles, color, drawMode, src, tx, ty, smooth);
        return;
    }
    MemoryImage* source = BlitSource(src);
    if (!source || !LockSurface())
        return;
    if (const int format = TriangleFormatCode(mLockDesc))
        RasterizeTriangleBlit(source, vertices, numTriangles, clip.Intersection(Rect(0, 0, mWidth, mHeight)), color,
                              tx, ty, smooth, mLockDesc.surface, mLockDesc.pitch, format);
    UnlockSurface();
    DropMemoryCopies();
}

void DDImage::BlitMirrored(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    if (Is3DTarget()) {
        BlitSource(src);
        Renderer(this)->BltMirrored(src, float(x), float(y), srcRect, color, drawMode, false);
        return;
    }
    AnalyzeBits();
    bool drew = false;
    if (drawMode == DRAWMODE_NORMAL)
        drew = BlitMirroredNormal(src, x, y, srcRect, color);
    else if (drawMode == DRAWMODE_ADDITIVE)
        drew = BlitMirroredAdditive(src, x, y, srcRect, color);
    if (drew)
        DropMemoryCopies();
}

void DDImage::BlitStretchedMirrored(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                                    const Color& color, int drawMode, bool fastStretch)
{
    MemoryImage* source;
    Rect sr, dest;
    DoubleRect from;
    if (!BeginStretch(src, destRect, srcRect, clip, color, drawMode, fastStretch, true, source, sr, dest, from))
        return;
    if (BlitStretchedOnSurface(source, dest, from, color, drawMode, true))
        DropMemoryCopies();
}

} // namespace Zelk
