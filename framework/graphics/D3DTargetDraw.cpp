#include "framework/graphics/D3DTargetDraw.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/MemoryImage.h"

#include <algorithm>
#include <vector>

namespace Zelk {
namespace D3DTargetDraw {

namespace {

// The source of a blit as a memory image, marked as drawn; null otherwise.
MemoryImage* Source(Image* image)
{
    MemoryImage* source = dynamic_cast<MemoryImage*>(image);
    if (source)
        source->mDrawn = true;
    return source;
}

} // namespace

bool FillPolygon(D3DInterface& renderer, const Point* vertices, int numVertices, const Rect* clip,
                 const Color& color, int drawMode, int tx, int ty)
{
    renderer.FillPolygon(vertices, numVertices, clip, color, drawMode, tx, ty);
    return true;
}

void FillRect(D3DInterface& renderer, const Rect& rect, const Color& color, int drawMode)
{
    renderer.FillRect(rect, color, drawMode);
}

void DrawLine(D3DInterface& renderer, double x1, double y1, double x2, double y2, const Color& color, int drawMode)
{
    renderer.DrawLine(x1, y1, x2, y2, color, drawMode);
}

void FillCoverageSpans(Image* target, const Span* spans, int count, const Color& color, int drawMode,
                       const uint8_t* coverage, int coverX, int coverY, int coverWidth, int coverHeight)
{
    if (count <= 0 || !spans)
        return;
    int left = spans[0].mX, top = spans[0].mY, right = spans[0].mX + spans[0].mWidth - 1, bottom = spans[0].mY;
    for (int i = 1; i < count; ++i) {
        left = std::min(left, spans[i].mX);
        top = std::min(top, spans[i].mY);
        right = std::max(right, spans[i].mX + spans[i].mWidth - 1);
        bottom = std::max(bottom, spans[i].mY);
    }
    const int width = right - left + 1, height = bottom - top + 1;
    if (width <= 0 || height <= 0)
        return;
    std::vector<Span> shifted(spans, spans + count);
    for (Span& span : shifted) {
        span.mX -= left;
        span.mY -= top;
    }
    MemoryImage temp(gAppBase);
    temp.Create(width, height);
    temp.MemoryImage::FillCoverageSpans(shifted.data(), count, color, drawMode, coverage, coverX - left,
                                        coverY - top, coverWidth, coverHeight);
    target->Blit(&temp, left, top, Rect(0, 0, width, height), Color::White, drawMode);
}

void Blit(D3DInterface& renderer, Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode)
{
    if (MemoryImage* source = Source(src))
        renderer.Blt(source, float(x), float(y), srcRect, color, drawMode, false);
}

void BlitFloat(D3DInterface& renderer, Image* src, float x, float y, const Rect& srcRect, const Rect& clip,
               const Color& color, int drawMode)
{
    MemoryImage* source = Source(src);
    if (!source)
        return;
    const DoubleRect dest(x, y, srcRect.mWidth, srcRect.mHeight);
    const DoubleRect visible = dest.Intersection(DoubleRect(clip));
    if (visible.mWidth == dest.mWidth && visible.mHeight == dest.mHeight)
        renderer.Blt(source, x, y, srcRect, color, drawMode, true);
    else if (visible.mWidth != 0.0 && visible.mHeight != 0.0)
        renderer.BltTranslated(source, x, y, srcRect, clip, color, drawMode);
}

void BlitRotated(D3DInterface& renderer, Image* src, float x, float y, const Rect& srcRect, const Rect& clip,
                 const Color& color, int drawMode, double angle, float centerX, float centerY)
{
    if (MemoryImage* source = Source(src))
        renderer.BltRotated(source, x, y, clip, color, drawMode, angle, centerX, centerY, srcRect);
}

void BlitStretched(D3DInterface& renderer, Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                   const Color& color, int drawMode, bool fastStretch, bool mirror)
{
    if (MemoryImage* source = Source(src))
        renderer.BltStretched(source, destRect, srcRect, clip, color, drawMode, fastStretch, mirror);
}

void BlitMatrix(D3DInterface& renderer, Image* src, float x, float y, const Matrix3& matrix, const Rect& clip,
                const Color& color, int drawMode, const Rect& srcRect, bool smooth)
{
    if (MemoryImage* source = Source(src))
        renderer.BltTransformed(source, &clip, color, drawMode, srcRect, matrix, smooth, x, y, true);
}

void BlitTriangles(D3DInterface& renderer, Image* src, const TriVertex (*vertices)[3], int numTriangles,
                   const Color& color, int drawMode, float tx, float ty, bool smooth)
{
    if (MemoryImage* source = Source(src))
        renderer.BltTriangles(vertices, numTriangles, color, drawMode, source, tx, ty, smooth);
}

void BlitMirrored(D3DInterface& renderer, Image* src, int x, int y, const Rect& srcRect, const Color& color,
                  int drawMode)
{
    if (MemoryImage* source = Source(src))
        renderer.BltMirrored(source, float(x), float(y), srcRect, color, drawMode, false);
}

} // namespace D3DTargetDraw
} // namespace Zelk
