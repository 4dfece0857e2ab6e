#pragma once
// How each drawing operation of an image reaches the renderer when the image
// is the display's 3D target: one function per operation of Image, with the
// operation's own arguments. The surface image calls these instead of its
// software and DirectDraw paths while it is the 3D target (plain copies from
// another surface excepted, which stay DirectDraw blits).
#include "framework/graphics/Color.h"
#include "framework/graphics/Matrix3.h"
#include "framework/graphics/Point.h"
#include "framework/graphics/Rect.h"

#include <cstdint>

namespace Zelk {

class D3DInterface;
class Image;

namespace D3DTargetDraw {

// Always true: the renderer drew (or skipped) the polygon.
bool FillPolygon(D3DInterface& renderer, const Point* vertices, int numVertices, const Rect* clip,
                 const Color& color, int drawMode, int tx, int ty);
void FillRect(D3DInterface& renderer, const Rect& rect, const Color& color, int drawMode);
void DrawLine(D3DInterface& renderer, double x1, double y1, double x2, double y2, const Color& color, int drawMode);
// The spans go into a temporary image of their bounding box, which the target
// then blits onto itself.
void FillCoverageSpans(Image* target, const Span* spans, int count, const Color& color, int drawMode,
                       const uint8_t* coverage, int coverX, int coverY, int coverWidth, int coverHeight);
void Blit(D3DInterface& renderer, Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode);
// Unclipped: at the fractional position with linear filtering; partly
// clipped: translated through the clip rectangle; wholly clipped: nothing.
void BlitFloat(D3DInterface& renderer, Image* src, float x, float y, const Rect& srcRect, const Rect& clip,
               const Color& color, int drawMode);
void BlitRotated(D3DInterface& renderer, Image* src, float x, float y, const Rect& srcRect, const Rect& clip,
                 const Color& color, int drawMode, double angle, float centerX, float centerY);
void BlitStretched(D3DInterface& renderer, Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip,
                   const Color& color, int drawMode, bool fastStretch, bool mirror);
void BlitMatrix(D3DInterface& renderer, Image* src, float x, float y, const Matrix3& matrix, const Rect& clip,
                const Color& color, int drawMode, const Rect& srcRect, bool smooth);
void BlitTriangles(D3DInterface& renderer, Image* src, const TriVertex (*vertices)[3], int numTriangles,
                   const Color& color, int drawMode, float tx, float ty, bool smooth);
void BlitMirrored(D3DInterface& renderer, Image* src, int x, int y, const Rect& srcRect, const Color& color,
                  int drawMode);

} // namespace D3DTargetDraw
} // namespace Zelk
